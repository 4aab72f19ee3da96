#pragma once
// Profile (INI) files with the classic profile-string rules:
//  - section and key names match without regard to case; the first match wins;
//  - a changed key is replaced in place, every other line and comment is kept byte for byte;
//  - a new key goes at the end of its section, a new section at the end of the file;
//  - CRLF and LF line ends are both read, and the file's own line end is used for new lines;
//  - the last file parsed is kept only while it is unchanged on disk (size, times to the
//    nanosecond, inode), so a second copy of the program sees every write at once.
// A missing file or section reads as an empty value. Files may be UTF-8, Windows-1252 or UTF-16
// with its byte order mark; a file that is already Windows-1252 or UTF-16 stays so where the
// new text allows, and every value written reads back as written.

#include <QString>
#include <functional>
#include <optional>

namespace platform {

// The value of `key` in `section`, with blanks around it and one pair of enclosing quotes
// removed, or nullopt when the file, the section or the key is missing. A key with a blank value
// gives an empty text.
std::optional<QString> read_profile_string(const QString &path, const QString &section,
                                           const QString &key);

// Stores `value` under `section` and `key`, creating the file and the section when missing.
// Line breaks in the value become blanks, so a value can never start a new key or section.
// The file is replaced through a temporary file beside it. Returns false, leaving the file as it
// was, when it cannot be read or written.
bool write_profile_string(const QString &path, const QString &section, const QString &key,
                          const QString &value);

// Called when a file that exists cannot be read (`writing` false) or a write fails (true); the
// program tells the user. No handler: failures show only in the results.
void set_profile_failure_handler(std::function<void(const QString &path, bool writing)> handler);

// How often a file has been parsed since the start (tests see the cache work).
int profile_parse_count();

} // namespace platform
