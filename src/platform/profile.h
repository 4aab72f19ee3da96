#pragma once
// Profile (INI) files with the classic profile-string rules:
//  - section and key names match without regard to case; the first match wins;
//  - a changed key is replaced in place, every other line and comment is kept byte for byte;
//  - a new key goes at the end of its section, a new section at the end of the file;
//  - CRLF and LF line ends are both read, and the file's own line end is used for new lines;
//  - nothing is cached, so a second copy of the program sees every write at once.
// A missing file or section reads as an empty value. Files may be UTF-8 or Windows-1252; a file
// that is already Windows-1252 stays so where the new text allows.

#include <QString>
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

} // namespace platform
