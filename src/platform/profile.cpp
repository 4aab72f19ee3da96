#include "platform/profile.h"

#include "platform/text_file.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <vector>

namespace platform {
namespace {

struct Line {
    QByteArray bytes; // without its line end
    QByteArray eol;   // "\r\n", "\n", "\r" or empty for a last line without one
    QString text;     // decoded, for matching
};

struct Profile {
    std::vector<Line> lines;
    bool windows1252 = false; // some line is not valid UTF-8
    QByteArray eol = "\n";    // for lines we add: the file's first line end
};

bool is_utf8(const QByteArray &bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = utf8.decode(bytes); // the decoding runs only when converted
    return !utf8.hasError();
}

// nullopt when the file exists but cannot be read: writing then would replace it with a stub.
std::optional<Profile> load(const QString &path) {
    Profile p;
    QFile f(path);
    if (!f.exists())
        return p;
    if (QFileInfo(path).isDir() || !f.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError)
        return std::nullopt;
    bool first_eol = true;
    qsizetype i = 0;
    while (i < bytes.size()) {
        qsizetype end = i;
        while (end < bytes.size() && bytes[end] != '\n' && bytes[end] != '\r')
            ++end;
        Line line;
        line.bytes = bytes.mid(i, end - i);
        qsizetype next = end;
        if (end < bytes.size()) {
            next = (bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n')
                       ? end + 2
                       : end + 1;
            line.eol = bytes.mid(end, next - end);
            if (first_eol) {
                p.eol = line.eol;
                first_eol = false;
            }
        }
        line.text = decode_line(line.bytes);
        if (!is_utf8(line.bytes))
            p.windows1252 = true;
        if (p.lines.empty() && line.text.startsWith(QChar(0xFEFF)))
            line.text.remove(0, 1);
        p.lines.push_back(std::move(line));
        i = next;
    }
    return p;
}

QByteArray encode(const Profile &p, const QString &text) {
    if (p.windows1252)
        if (auto b = encode_windows1252(text))
            return *b;
    return text.toUtf8();
}

// The section name of a "[name]" line, or nullopt for any other line.
std::optional<QString> section_of(const QString &line) {
    const QString s = line.trimmed();
    const qsizetype close = s.indexOf(QLatin1Char(']'));
    if (!s.startsWith(QLatin1Char('[')) || close < 0)
        return std::nullopt;
    return s.mid(1, close - 1).trimmed();
}

// The key of a "key=value" line, or nullopt when the line holds none.
std::optional<QString> key_of(const QString &line) {
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    if (eq < 0 || line.trimmed().startsWith(QLatin1Char(';')) || section_of(line))
        return std::nullopt;
    return line.left(eq).trimmed();
}

bool same_name(const QString &a, const QString &b) {
    return a.compare(b.trimmed(), Qt::CaseInsensitive) == 0;
}

// Index range [first, end) of the lines inside the first section called `section`.
std::optional<std::pair<size_t, size_t>> find_section(const Profile &p, const QString &section) {
    for (size_t i = 0; i < p.lines.size(); ++i) {
        auto s = section_of(p.lines[i].text);
        if (!s || !same_name(*s, section))
            continue;
        size_t end = i + 1;
        while (end < p.lines.size() && !section_of(p.lines[end].text))
            ++end;
        return std::make_pair(i + 1, end);
    }
    return std::nullopt;
}

std::optional<size_t> find_key(const Profile &p, std::pair<size_t, size_t> range,
                               const QString &key) {
    for (size_t i = range.first; i < range.second; ++i) {
        auto k = key_of(p.lines[i].text);
        if (k && same_name(*k, key))
            return i;
    }
    return std::nullopt;
}

QString unquote(QString v) {
    v = v.trimmed();
    if (v.size() >= 2 &&
        ((v.startsWith('"') && v.endsWith('"')) || (v.startsWith('\'') && v.endsWith('\''))))
        v = v.mid(1, v.size() - 2);
    return v;
}

QString one_line(const QString &text) {
    QString s = text;
    s.replace(QLatin1String("\r\n"), QLatin1String(" "));
    s.replace(QLatin1Char('\r'), QLatin1Char(' '));
    s.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return s;
}

} // namespace

std::optional<QString> read_profile_string(const QString &path, const QString &section,
                                           const QString &key) {
    const auto p = load(path);
    if (!p)
        return std::nullopt;
    const auto range = find_section(*p, section);
    if (!range)
        return std::nullopt;
    const auto at = find_key(*p, *range, key);
    if (!at)
        return std::nullopt;
    const QString &line = p->lines[*at].text;
    return unquote(line.mid(line.indexOf(QLatin1Char('=')) + 1));
}

bool write_profile_string(const QString &path, const QString &section, const QString &key,
                          const QString &value) {
    auto loaded = load(path);
    if (!loaded)
        return false;
    Profile &p = *loaded;
    const QString clean_key = one_line(key).trimmed();
    const QString clean_value = one_line(value);
    auto new_line = [&](const QString &text) { return Line{encode(p, text), p.eol, text}; };
    // A last line without a line end must get one before anything follows it.
    auto close_last_line = [&] {
        if (!p.lines.empty() && p.lines.back().eol.isEmpty())
            p.lines.back().eol = p.eol;
    };

    const auto range = find_section(p, section);
    if (!range) {
        close_last_line();
        if (!p.lines.empty() && !p.lines.back().text.trimmed().isEmpty())
            p.lines.push_back(new_line(QString()));
        p.lines.push_back(
            new_line(QLatin1Char('[') + one_line(section).trimmed() + QLatin1Char(']')));
        p.lines.push_back(new_line(clean_key + QLatin1Char('=') + clean_value));
    } else if (const auto at = find_key(p, *range, key)) {
        // Keep the key as the file spells it; only the value changes.
        Line &line = p.lines[*at];
        const QString file_key = *key_of(line.text);
        const QString text = file_key + QLatin1Char('=') + clean_value;
        line.bytes = encode(p, text);
        line.text = text;
    } else {
        // After the section's last non-blank line, so blank separators stay between sections.
        size_t end = range->second;
        while (end > range->first && p.lines[end - 1].text.trimmed().isEmpty())
            --end;
        if (end == p.lines.size())
            close_last_line();
        p.lines.insert(p.lines.begin() + static_cast<std::ptrdiff_t>(end),
                       new_line(clean_key + QLatin1Char('=') + clean_value));
    }

    QByteArray out;
    for (const Line &line : p.lines)
        out += line.bytes + line.eol;
    return write_file_atomically(path, out);
}

} // namespace platform
