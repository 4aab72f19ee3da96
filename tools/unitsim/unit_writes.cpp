// The unit's record of parameter writes and its limit check, kept apart from the command
// dispatch so that tests can check the order of an upload and what the unit refused.
#include "unit_core.h"

#include <QRegularExpression>
#include <QStringList>

namespace unitsim {

Reply UnitCore::handle_write(int number, const QString& value_text) {
    const Reply reply = store_write(number, value_text);
    writes_.push_back({number, value_text, reply.body != "NO", quick_mode_});
    return reply;
}

bool UnitCore::within_limits(const Parameter& p, double value) const {
    const QString& min = p.definition.min_text;
    const QString& max = p.definition.max_text;
    if (min == "-999999" && max == "-999999")
        return true;
    // The catalogue's limits are in the unit's display unit: lengths in the unit of P104, as
    // the written value is.
    bool min_ok = false, max_ok = false;
    const double lo = min.toDouble(&min_ok);
    const double hi = max.toDouble(&max_ok);
    if (min_ok && value < lo)
        return false;
    if (max_ok && value > hi)
        return false;
    return true;
}

std::vector<int> UnitCore::accepted_write_numbers() const {
    std::vector<int> out;
    for (const WriteRecord& w : writes_)
        if (w.accepted)
            out.push_back(w.number);
    return out;
}

QString version_reply_text(const QString& reply, const QString& version) {
    static const QRegularExpression v("V\\d[\\d.]*");
    QString out = reply;
    if (out.contains(v))
        out.replace(v, "V" + version);
    else
        out += " V" + version;
    return out;
}

void apply_version_reply(UnitProfile& profile, const QString& version) {
    profile.who_reply = version_reply_text(profile.who_reply, version);
    if (!profile.lower_who_reply.isEmpty())
        profile.lower_who_reply = version_reply_text(profile.lower_who_reply, version);
    // The unit's own software text follows: 1.80 is software 1.8.0.
    QString digits = version;
    digits.remove('.');
    QStringList parts;
    for (QChar c : digits)
        parts << QString(c);
    profile.software_version = parts.join('.');
}

} // namespace unitsim
