#pragma once
// Profile (INI) files with the classic profile-string rules:
//  - section and key names match without regard to case; the first match wins;
//  - a changed key is replaced in place, every other line and comment is kept;
//  - a new key goes at the end of its section, a new section at the end of the file;
//  - CRLF and LF line ends are both read, and the file's own line end is kept on writing;
//  - nothing is cached, so a second copy of the program sees every write at once.
// A missing file or section reads as an empty value.

#include <QString>
#include <optional>

namespace platform {

// The value of `key` in `section`, with blanks around it removed, or nullopt when the file, the
// section or the key is missing.
std::optional<QString> read_profile_string(const QString& path, const QString& section,
                                           const QString& key);

// Stores `value` under `section` and `key`, creating the file and the section when missing.
// The file is replaced through a temporary file beside it. Returns false when it cannot be written.
bool write_profile_string(const QString& path, const QString& section, const QString& key,
                          const QString& value);

} // namespace platform
