#include "platform/text_file.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

namespace platform {
namespace {

// Windows-1252 differs from Latin-1 only in 0x80..0x9F; the five codes it leaves undefined are
// carried through as the C1 controls of the same number, as the system's own conversion does.
constexpr char16_t cp1252_high[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

std::optional<QString> strict_utf8(const QByteArray &bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString s = utf8.decode(bytes);
    if (utf8.hasError())
        return std::nullopt;
    return s;
}

QString windows1252(const QByteArray &bytes) {
    QString out;
    out.reserve(bytes.size());
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        out += (b >= 0x80 && b < 0xA0) ? QChar(cp1252_high[b - 0x80]) : QChar(b);
    }
    return out;
}

} // namespace

QString decode_windows1252(const QByteArray &bytes) {
    return windows1252(bytes);
}

QString decode_line(const QByteArray &bytes) {
    if (auto s = strict_utf8(bytes))
        return *s;
    return windows1252(bytes);
}

QString decode_text(const QByteArray &bytes) {
    // A byte order mark of UTF-16 (as a Windows editor saves "Unicode") says what the file is.
    if (bytes.size() >= 2) {
        const auto b0 = static_cast<unsigned char>(bytes[0]);
        const auto b1 = static_cast<unsigned char>(bytes[1]);
        if ((b0 == 0xFF && b1 == 0xFE) || (b0 == 0xFE && b1 == 0xFF)) {
            QStringDecoder utf16(b0 == 0xFF ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE,
                                 QStringDecoder::Flag::Stateless |
                                     QStringDecoder::Flag::ConvertInitialBom);
            return utf16.decode(bytes.mid(2));
        }
    }
    // Nearly every file is one encoding throughout; only a mixed file pays for line-by-line work.
    if (auto s = strict_utf8(bytes))
        return *s;
    QString out;
    out.reserve(bytes.size());
    // Each line on its own, whichever line end closes it: a lone CR ends a line as LF does, so
    // the text does not depend on the file's line-end style.
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = start;
        while (end < bytes.size() && bytes[end] != '\n' && bytes[end] != '\r')
            ++end;
        if (end < bytes.size())
            end += (bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n') ? 2 : 1;
        out += decode_line(bytes.mid(start, end - start));
        start = end;
    }
    return out;
}

std::optional<QByteArray> encode_windows1252(const QString &text) {
    QByteArray out;
    out.reserve(text.size());
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            out += static_cast<char>(u);
            continue;
        }
        int code = -1;
        for (int i = 0; i < 32; ++i)
            if (cp1252_high[i] == u)
                code = 0x80 + i;
        if (code < 0)
            return std::nullopt;
        out += static_cast<char>(code);
    }
    return out;
}

std::optional<QByteArray> read_file_bytes(const QString &path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

std::optional<QString> read_text_file(const QString &path) {
    const auto bytes = read_file_bytes(path);
    return bytes ? std::optional<QString>(decode_text(*bytes)) : std::nullopt;
}

QStringList split_lines(const QString &text) {
    QString t = text;
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QStringList lines = t.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

bool write_file_atomically(const QString &path, const QByteArray &bytes) {
    if (path.isEmpty())
        return false;
    QSaveFile f(path);
    // Writing in place when no temporary file can be made is exactly what must not happen.
    f.setDirectWriteFallback(false);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    if (f.write(bytes) != bytes.size()) {
        f.cancelWriting();
        return false;
    }
    return f.commit();
}

} // namespace platform
