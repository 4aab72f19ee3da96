#include "platform/profile.h"

#include "platform/text_file.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <algorithm>
#include <functional>
#include <memory>
#include <sys/stat.h>
#include <vector>

namespace platform {
namespace {

struct Line {
    QByteArray bytes; // without its line end
    QByteArray eol;   // "\r\n", "\n", "\r" or empty for a last line without one
    QString text;     // decoded, for matching
    // What the line is, found once when it is read or written, so that a read of one key does
    // not look at every character of every line again.
    std::optional<QString> section; // the name of a "[name]" line
    std::optional<QString> key;     // the key of a "key=value" line
};

std::optional<QString> section_of(const QString &line);
std::optional<QString> key_of(const QString &line);

void classify(Line &line) {
    line.section = section_of(line.text);
    line.key = key_of(line.text);
}

enum class Utf16 { No, LittleEndian, BigEndian };

struct Profile {
    std::vector<Line> lines;
    bool windows1252 = false; // some line is not valid UTF-8
    Utf16 utf16 = Utf16::No;  // the file is UTF-16 with its byte order mark
    QByteArray eol = "\n";    // for lines we add: the file's first line end
};

// A file changed this recently may be changed again within the same tick of the file times.
constexpr qint64 RACY_NS = 2'000'000'000;

// What identifies one state of a file on disk: a changed file differs in one of them.
struct FileStamp {
    qint64 size = -1;
    qint64 mtime_ns = 0;
    qint64 ctime_ns = 0;
    quint64 inode = 0;
    quint64 device = 0;
    bool operator==(const FileStamp &) const = default;
};

std::optional<FileStamp> stamp_of(const QString &path) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return std::nullopt;
    return FileStamp{static_cast<qint64>(st.st_size),
                     static_cast<qint64>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec,
                     static_cast<qint64>(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec,
                     static_cast<quint64>(st.st_ino), static_cast<quint64>(st.st_dev)};
}

// The last file parsed: a settings file is read key by key, and parsing a huge one for every key
// froze the program. Any change on disk (size, times to the nanosecond, a new inode after a
// rename) parses it again, so every read still sees the file as it is.
struct ParsedFile {
    QString path;
    FileStamp stamp;
    std::shared_ptr<const Profile> profile;
};

ParsedFile &parsed_file() {
    static ParsedFile cache;
    return cache;
}

int &parse_count() {
    static int n = 0;
    return n;
}

std::function<void(const QString &, bool)> &failure_handler() {
    static std::function<void(const QString &, bool)> handler;
    return handler;
}

void report_failure(const QString &path, bool writing) {
    if (failure_handler())
        failure_handler()(path, writing);
}

QByteArray utf16_bytes(const QString &text, Utf16 order) {
    QByteArray out;
    out.reserve(text.size() * 2);
    for (QChar c : text) {
        const char16_t u = c.unicode();
        const char hi = static_cast<char>(u >> 8), lo = static_cast<char>(u & 0xFF);
        if (order == Utf16::LittleEndian)
            out.append(lo).append(hi);
        else
            out.append(hi).append(lo);
    }
    return out;
}

// Splits UTF-16 text into lines as the byte reader does, each line's bytes in the file's order.
void load_utf16(Profile &p, const QByteArray &bytes) {
    p.utf16 = static_cast<unsigned char>(bytes[0]) == 0xFF ? Utf16::LittleEndian : Utf16::BigEndian;
    QStringDecoder decoder(p.utf16 == Utf16::LittleEndian ? QStringDecoder::Utf16LE
                                                          : QStringDecoder::Utf16BE,
                           QStringDecoder::Flag::Stateless |
                               QStringDecoder::Flag::ConvertInitialBom);
    const QString text = decoder.decode(bytes.mid(2));
    bool first_eol = true;
    qsizetype i = 0;
    while (i < text.size()) {
        qsizetype end = i;
        while (end < text.size() && text[end] != QLatin1Char('\n') && text[end] != QLatin1Char('\r'))
            ++end;
        Line line;
        line.text = text.mid(i, end - i);
        qsizetype next = end;
        if (end < text.size()) {
            next = (text[end] == QLatin1Char('\r') && end + 1 < text.size() &&
                    text[end + 1] == QLatin1Char('\n'))
                       ? end + 2
                       : end + 1;
            line.eol = text.mid(end, next - end).toLatin1();
            if (first_eol) {
                p.eol = line.eol;
                first_eol = false;
            }
        }
        classify(line);
        p.lines.push_back(std::move(line));
        i = next;
    }
}

bool is_utf8(const QByteArray &bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = utf8.decode(bytes); // the decoding runs only when converted
    return !utf8.hasError();
}

// nullopt when the file exists but cannot be read: writing then would replace it with a stub.
std::optional<Profile> parse(const QString &path) {
    Profile p;
    QFile f(path);
    if (!f.exists())
        return p;
    if (QFileInfo(path).isDir() || !f.open(QIODevice::ReadOnly)) {
        report_failure(path, false);
        return std::nullopt;
    }
    const QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError) {
        report_failure(path, false);
        return std::nullopt;
    }
    ++parse_count();
    if (bytes.size() >= 2 && ((static_cast<unsigned char>(bytes[0]) == 0xFF &&
                               static_cast<unsigned char>(bytes[1]) == 0xFE) ||
                              (static_cast<unsigned char>(bytes[0]) == 0xFE &&
                               static_cast<unsigned char>(bytes[1]) == 0xFF))) {
        load_utf16(p, bytes);
        return p;
    }
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
        if (p.lines.empty() && line.text.startsWith(QChar(0xFEFF)))
            line.text.remove(0, 1);
        p.lines.push_back(std::move(line));
        i = next;
    }
    // One encoding for the whole file: text that is not UTF-8 anywhere is Windows-1252
    // everywhere, so that a value written in Windows-1252 cannot read back as UTF-8.
    p.windows1252 = !is_utf8(bytes);
    for (Line &line : p.lines) {
        if (p.windows1252)
            line.text = decode_windows1252(line.bytes);
        classify(line);
    }
    return p;
}

// nullptr when the file exists but cannot be read.
std::shared_ptr<const Profile> load(const QString &path) {
    ParsedFile &cache = parsed_file();
    const auto stamp = stamp_of(path);
    if (stamp && cache.path == path && cache.stamp == *stamp)
        return cache.profile;
    auto p = parse(path);
    if (!p)
        return nullptr;
    auto shared = std::make_shared<const Profile>(std::move(*p));
    // A file stamped again while it was read may have changed under the reader, and one changed
    // within the last seconds may change again without its times moving (they advance in coarse
    // steps): neither is kept.
    const qint64 now_ns = QDateTime::currentMSecsSinceEpoch() * 1000000;
    if (stamp && stamp_of(path) == stamp && now_ns - stamp->mtime_ns > RACY_NS) {
        cache.path = path;
        cache.stamp = *stamp;
        cache.profile = shared;
    } else {
        cache = {};
    }
    return shared;
}

// A line's bytes in the file's encoding; nullopt when a Windows-1252 file cannot hold the text.
std::optional<QByteArray> encode(const Profile &p, const QString &text) {
    if (p.utf16 != Utf16::No)
        return utf16_bytes(text, p.utf16);
    if (p.windows1252)
        return encode_windows1252(text);
    return text.toUtf8();
}

// The file's bytes. A Windows-1252 file stays so while it can hold every line and still reads
// as Windows-1252 (some byte that is not UTF-8 remains); otherwise the whole file becomes UTF-8,
// so that every line reads back as it was meant.
QByteArray file_bytes(Profile &p) {
    QByteArray out;
    if (p.utf16 != Utf16::No) {
        out = p.utf16 == Utf16::LittleEndian ? QByteArray("\xFF\xFE", 2) : QByteArray("\xFE\xFF", 2);
        for (const Line &line : p.lines)
            out += utf16_bytes(line.text + QString::fromLatin1(line.eol), p.utf16);
        return out;
    }
    for (const Line &line : p.lines)
        out += line.bytes + line.eol;
    const bool non_ascii = std::any_of(out.begin(), out.end(), [](char c) { return c & 0x80; });
    if (p.windows1252 && non_ascii && is_utf8(out)) {
        p.windows1252 = false;
        out.clear();
        for (Line &line : p.lines) {
            line.bytes = line.text.toUtf8();
            out += line.bytes + line.eol;
        }
    }
    return out;
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
        const auto &s = p.lines[i].section;
        if (!s || !same_name(*s, section))
            continue;
        size_t end = i + 1;
        while (end < p.lines.size() && !p.lines[end].section)
            ++end;
        return std::make_pair(i + 1, end);
    }
    return std::nullopt;
}

std::optional<size_t> find_key(const Profile &p, std::pair<size_t, size_t> range,
                               const QString &key) {
    for (size_t i = range.first; i < range.second; ++i) {
        const auto &k = p.lines[i].key;
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
    const auto loaded = load(path);
    if (!loaded)
        return false;
    Profile p = *loaded;
    const QString clean_key = one_line(key).trimmed();
    const QString clean_value = one_line(value);
    // Text a Windows-1252 file cannot hold makes the whole file UTF-8.
    auto bytes_of = [&](const QString &text) {
        if (auto b = encode(p, text))
            return *b;
        p.windows1252 = false;
        for (Line &line : p.lines)
            line.bytes = line.text.toUtf8();
        return text.toUtf8();
    };
    auto new_line = [&](const QString &text) {
        Line line{bytes_of(text), p.eol, text, {}, {}};
        classify(line);
        return line;
    };
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
        const QString file_key = *line.key;
        const QString text = file_key + QLatin1Char('=') + clean_value;
        line.bytes = bytes_of(text);
        line.text = text;
        classify(line);
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

    const QByteArray out = file_bytes(p);
    if (write_file_atomically(path, out))
        return true;
    report_failure(path, true);
    return false;
}

void set_profile_failure_handler(std::function<void(const QString &path, bool writing)> handler) {
    failure_handler() = std::move(handler);
}

int profile_parse_count() {
    return parse_count();
}

} // namespace platform
