#include "link/modem_rules.h"

#include "platform/vb.h"
#include "shell/definitions_table.h"

#include <QDateTime>
#include <cmath>

namespace modem {

namespace {
struct Word {
    DialResult result;
    const char* text;
};
constexpr Word WORDS[] = {
    {DialResult::Connect, "CONNECT"},      {DialResult::Busy, "BUSY"},
    {DialResult::NoCarrier, "NO CARRIER"}, {DialResult::NoDialtone, "NO DIALTONE"},
    {DialResult::NoAnswer, "NO ANSWER"},   {DialResult::Error, "ERROR"},
};
} // namespace

DialResult dial_result(const QString& traffic) {
    for (const Word& w : WORDS)
        if (traffic.contains(QLatin1String(w.text), Qt::CaseInsensitive))
            return w.result;
    return DialResult::None;
}

QString result_word(DialResult result) {
    for (const Word& w : WORDS)
        if (w.result == result)
            return QLatin1String(w.text);
    return {};
}

QString connect_line(const QString& traffic) {
    const qsizetype at = traffic.indexOf(QLatin1String("CONNECT"), 0, Qt::CaseInsensitive);
    if (at < 0)
        return {};
    QString s = traffic.mid(at).trimmed();
    s.remove(QLatin1Char('\r'));
    s = s.trimmed();
    s.remove(QLatin1Char('\n'));
    return s;
}

QString countdown_text(double seconds_left) {
    return ui_text(1362, QStringLiteral("Waiting for reply")) + QLatin1Char(' ') +
           platform::format_number(std::max(0.0, seconds_left), QStringLiteral("#0.0")) +
           QLatin1Char('s');
}

QString elapsed_text(double seconds) {
    const qint64 s = static_cast<qint64>(std::floor(std::max(0.0, seconds)));
    const QDateTime when(QDate(1899, 12, 30), QTime(0, 0).addSecs(static_cast<int>(s % 86400)));
    return platform::format_date(when, QStringLiteral("hh:nn:ss")).trimmed();
}

} // namespace modem
