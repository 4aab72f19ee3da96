#pragma once
// The two definition files that fill the parameter fields of the definitions table:
//  - access_vars.def, read once at start-up: the static definition of every parameter;
//  - Def<version>.def, read after every loaded parameter set: which parameters the unit's software
//    version and system type have, with their names, limits and defaults for that unit.
// Both lie in the definitions folder of the program folder (DEFINITIONS_FOLDER, beside lang.def).

#include <QString>
#include <vector>

namespace parameters {

inline const QString ACCESS_VARS_FILE_NAME = QStringLiteral("access_vars.def");

// The lowest software version whose Def file the version fallback still tries.
inline constexpr int LOWEST_DEF_VERSION = 100;

// The definitions folder under the program folder.
QString definitions_folder();
// "Def" & version & ".def" in the definitions folder.
QString version_def_path(int version);

// The two section keys of a Def file for version v (e.g. 205) and a system type: the full form
// "SoftVer=2.0.5,SysType=1" and the short form "SoftVer=2.0,SysType=1".
QString version_section_key(int version, int system_type);
QString version_section_short_key(int version, int system_type);

struct SkippedLine {
    int line = 0; // 1-based line number in the file
    QString reason;
};

// What a reader found, so that a caller or a test can tell a good file from a damaged one.
struct DefinitionFileReport {
    QString path;               // the file read; for Def files the one the fallback settled on
    bool file_read = false;     // the file existed and could be read
    int version = 0;            // Def files: the version of the file used
    bool section_found = false; // Def files: a section for the version and system type exists
    int lines_applied = 0;      // data lines that went into the table
    std::vector<SkippedLine> skipped;
};

// The message that tells the user about a damaged or missing file; empty when there is nothing
// to tell.
QString definition_file_message(const DefinitionFileReport& report);

} // namespace parameters

// Reads access_vars.def into the definition fields of the records it names. A missing file or
// lines that are not definitions are reported to the user in a message box; nothing else changes.
parameters::DefinitionFileReport read_access_vars_def();

// Reads the section of Def<version>.def for the unit at hand. When no Def file exists at or
// below `software_version`, nothing changes at all. Lines of the section that can't be read are
// skipped and reported to the user.
parameters::DefinitionFileReport read_version_def(int software_version, int system_type,
                                                  bool p61_is_1);
