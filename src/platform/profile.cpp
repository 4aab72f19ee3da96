#include "platform/profile.h"

#include "platform/text_file.h"

#include <QStringList>

namespace platform {
namespace {

struct ProfileText {
    QStringList lines;
    QString eol = QStringLiteral("\n");
};

ProfileText load(const QString& path) {
    ProfileText t;
    auto text = read_text_file(path);
    if (!text)
        return t;
    if (text->contains(QLatin1String("\r\n")))
        t.eol = QStringLiteral("\r\n");
    t.lines = split_lines(*text);
    return t;
}

// The section name of a "[name]" line, or nullopt for any other line.
std::optional<QString> section_of(const QString& line) {
    const QString s = line.trimmed();
    if (s.startsWith(QLatin1Char('[')) && s.contains(QLatin1Char(']')))
        return s.mid(1, s.indexOf(QLatin1Char(']')) - 1).trimmed();
    return std::nullopt;
}

// The key of a "key=value" line, or nullopt when the line holds none.
std::optional<QString> key_of(const QString& line) {
    const int eq = line.indexOf(QLatin1Char('='));
    if (eq < 0 || line.trimmed().startsWith(QLatin1Char(';')))
        return std::nullopt;
    return line.left(eq).trimmed();
}

bool same_name(const QString& a, const QString& b) {
    return a.compare(b.trimmed(), Qt::CaseInsensitive) == 0;
}

// Index range [first, end) of the lines inside the first section called `section`.
std::optional<std::pair<int, int>> find_section(const QStringList& lines, const QString& section) {
    for (int i = 0; i < lines.size(); ++i) {
        auto s = section_of(lines[i]);
        if (!s || !same_name(*s, section))
            continue;
        int end = i + 1;
        while (end < lines.size() && !section_of(lines[end]))
            ++end;
        return std::make_pair(i + 1, end);
    }
    return std::nullopt;
}

QString unquote(QString v) {
    v = v.trimmed();
    if (v.size() >= 2 && ((v.startsWith('"') && v.endsWith('"')) ||
                          (v.startsWith('\'') && v.endsWith('\''))))
        v = v.mid(1, v.size() - 2);
    return v;
}

} // namespace

std::optional<QString> read_profile_string(const QString& path, const QString& section,
                                           const QString& key) {
    const ProfileText t = load(path);
    auto range = find_section(t.lines, section);
    if (!range)
        return std::nullopt;
    for (int i = range->first; i < range->second; ++i) {
        auto k = key_of(t.lines[i]);
        if (k && same_name(*k, key))
            return unquote(t.lines[i].mid(t.lines[i].indexOf(QLatin1Char('=')) + 1));
    }
    return std::nullopt;
}

bool write_profile_string(const QString& path, const QString& section, const QString& key,
                          const QString& value) {
    ProfileText t = load(path);
    const QString entry = key.trimmed() + QLatin1Char('=') + value;
    auto range = find_section(t.lines, section);
    if (!range) {
        if (!t.lines.isEmpty() && !t.lines.last().trimmed().isEmpty())
            t.lines << QString();
        t.lines << QLatin1Char('[') + section + QLatin1Char(']') << entry;
    } else {
        bool replaced = false;
        for (int i = range->first; i < range->second && !replaced; ++i) {
            auto k = key_of(t.lines[i]);
            if (k && same_name(*k, key)) {
                t.lines[i] = entry;
                replaced = true;
            }
        }
        if (!replaced) {
            // After the section's last non-blank line, so blank separators stay between sections.
            int at = range->second;
            while (at > range->first && t.lines[at - 1].trimmed().isEmpty())
                --at;
            t.lines.insert(at, entry);
        }
    }
    QString out = t.lines.join(t.eol);
    out += t.eol;
    return write_file_atomically(path, out.toUtf8());
}

} // namespace platform
