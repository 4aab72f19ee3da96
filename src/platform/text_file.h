#pragma once
// Reading text that may be UTF-8 or Windows-1252, and writing files so that a failure never
// leaves a truncated file in place of a good one.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

namespace platform {

// Decodes one line: UTF-8 when it is valid UTF-8, else Windows-1252. A leading UTF-8 byte order
// mark is dropped.
QString decode_line(const QByteArray &bytes);

// Decodes a whole text line by line (see decode_line), keeping the line ends as they were, so a
// file edited with two different editors still reads. A text that starts with a UTF-16 byte order
// mark is UTF-16 throughout.
QString decode_text(const QByteArray &bytes);

// `bytes` as Windows-1252, whatever they are.
QString decode_windows1252(const QByteArray &bytes);

// `text` in Windows-1252, or nullopt when a character has no Windows-1252 code.
std::optional<QByteArray> encode_windows1252(const QString &text);

// The whole file's bytes, or nullopt when it cannot be opened or read to its end.
std::optional<QByteArray> read_file_bytes(const QString &path);

// The whole file decoded with decode_text, or nullopt when it cannot be read.
std::optional<QString> read_text_file(const QString &path);

// Splits at LF, CRLF or a lone CR. A final line end does not make an extra empty line.
QStringList split_lines(const QString &text);

// Writes `bytes` to a temporary file in the target's folder and renames it over the target when
// complete. Returns false (and leaves the target as it was) when anything fails.
bool write_file_atomically(const QString &path, const QByteArray &bytes);

} // namespace platform
