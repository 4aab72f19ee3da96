#include "parameters/definition_files.h"

#include "parameters/parameter_values.h"
#include "platform/dialogs.h"
#include "platform/program_folder.h"
#include "platform/text_file.h"
#include "platform/vb.h"
#include "shell/definitions_table.h"
#include "shell/language_file.h"

#include <QFileInfo>
#include <optional>

namespace parameters {

namespace {

const QString U_MU = QStringLiteral("U_MU");
const QString U_MU_M = QStringLiteral("U_MU_M");

bool is_length_code(const QString& units) {
    return units == U_MU || units == U_MU_M;
}

// Defaults of length parameters are written in thousandths (millimetres) and kept in metres.
double stored_default(double written, const QString& units) {
    return is_length_code(units) ? written / 1000.0 : written;
}

QString trim_spaces(const QString& s) {
    qsizetype a = 0, b = s.size();
    while (a < b && s[a] == QLatin1Char(' '))
        ++a;
    while (b > a && s[b - 1] == QLatin1Char(' '))
        --b;
    return s.mid(a, b - a);
}

// A field may be wrapped in braces, which also strip the blanks around the text inside them.
QString unbrace(QString field) {
    const qsizetype open = field.indexOf(QLatin1Char('{'));
    if (open >= 0)
        field = trim_spaces(field.mid(open + 1));
    const qsizetype close = field.indexOf(QLatin1Char('}'));
    if (close >= 0)
        field = trim_spaces(field.left(close));
    return field;
}

// "DEC_2" -> 2: only the number after the first "_" counts; without "_" the field is read whole.
int16_t underscore_number(const QString& field) {
    const qsizetype u = field.indexOf(QLatin1Char('_'));
    const double v = platform::val(u >= 0 ? field.mid(u + 1) : field);
    return platform::to_int16(platform::round_half_even(v)).value_or(0);
}

// Limits are kept as texts with "." as decimal point whatever the user's locale: they are read
// back with the leading-number rule, which knows no other separator.
QString limit_text(const QString& field) {
    return platform::number_text_c(platform::val(field));
}

// The record number of a data line, or nullopt (with the reason) when the line names none.
std::optional<int> record_number(const QString& field, QString& reason) {
    if (!starts_with_number(field)) {
        reason = QStringLiteral("no parameter number");
        return std::nullopt;
    }
    const double n = platform::round_half_even(platform::val(field));
    if (n < 0 || n > DEFINITIONS_UPPER) {
        reason = QStringLiteral("parameter number %1 is outside 0..%2")
                     .arg(platform::number_text_c(n))
                     .arg(DEFINITIONS_UPPER);
        return std::nullopt;
    }
    return static_cast<int>(n);
}

std::optional<QStringList> read_lines(const QString& path) {
    auto text = platform::read_text_file(path);
    if (!text)
        return std::nullopt;
    if (text->startsWith(QChar(0xFEFF)))
        text->remove(0, 1);
    return platform::split_lines(*text);
}

bool is_blank(const QString& line) {
    return line.trimmed().isEmpty();
}

// access_vars.def: ten fields, each closed by a comma.
constexpr int ACCESS_VARS_FIELDS = 10;

void apply_access_vars_line(const QString& line, int line_no, DefinitionFileReport& report) {
    QStringList fields;
    qsizetype from = 0;
    for (int k = 0; k < ACCESS_VARS_FIELDS; ++k) {
        const qsizetype comma = line.indexOf(QLatin1Char(','), from);
        if (comma < 0) {
            report.skipped.push_back(
                {line_no, QStringLiteral("%1 of %2 fields").arg(k).arg(ACCESS_VARS_FIELDS)});
            return;
        }
        fields << unbrace(line.mid(from, comma - from));
        from = comma + 1;
    }
    QString reason;
    const auto r = record_number(fields[0], reason);
    if (!r) {
        report.skipped.push_back({line_no, reason});
        return;
    }
    DefinitionRecord& rec = definitions_table()[static_cast<size_t>(*r)];
    rec.number = static_cast<int16_t>(*r);
    rec.name = fields[1];
    rec.read_only = fields[2] == QLatin1String("RD_ON");
    rec.lookup_code = fields[3];
    rec.decimals = underscore_number(fields[4]);
    rec.attribute6 = underscore_number(fields[5]);
    rec.units_code = fields[6];
    rec.min_text = limit_text(fields[7]);
    rec.max_text = limit_text(fields[8]);
    rec.default_value = stored_default(platform::val(fields[9]), fields[6]);
    ++report.lines_applied;
}

// Def<version>.def section lines: nine fields and the rest of the line (the default).
constexpr int VERSION_DEF_FIELDS = 9;
const QString SECTION_START = QStringLiteral("SoftVer=");
const QString SECTION_END = QStringLiteral("OK");

bool breakpoint_minimum_is_fixed(int p) {
    return (p >= 610 && p <= 673) || (p >= 710 && p <= 725);
}

// Applies one section line; false when the line ends the section.
bool apply_version_def_line(const QString& line, int line_no, DefinitionFileReport& report) {
    QStringList fields;
    qsizetype from = 0;
    for (int k = 0; k < VERSION_DEF_FIELDS; ++k) {
        const qsizetype comma = line.indexOf(QLatin1Char(','), from);
        if (comma < 0) {
            report.skipped.push_back(
                {line_no, QStringLiteral("%1 of %2 fields").arg(k).arg(VERSION_DEF_FIELDS + 1)});
            return true;
        }
        fields << line.mid(from, comma - from);
        from = comma + 1;
    }
    const QString rest = line.mid(from);
    QString reason;
    const auto r = record_number(fields[0], reason);
    if (!r) {
        report.skipped.push_back({line_no, reason});
        return !rest.contains(SECTION_END);
    }
    const int p = *r;
    DefinitionRecord& rec = definitions_table()[static_cast<size_t>(p)];
    if (p >= 20 && p <= 999)
        rec.present = true;
    rec.name = fields[1];
    const double units_number = platform::val(fields[6]);
    if (units_number == 1)
        rec.units_code = U_MU;
    else if (units_number == 27)
        rec.units_code = U_MU_M;
    rec.min_text = breakpoint_minimum_is_fixed(p) ? QStringLiteral("-1") : limit_text(fields[7]);
    rec.max_text = limit_text(fields[8]);
    rec.default_value = stored_default(platform::val(rest), rec.units_code);
    ++report.lines_applied;
    return !rest.contains(SECTION_END);
}

void show_problems(const DefinitionFileReport& report) {
    const QString message = definition_file_message(report);
    if (!message.isEmpty())
        platform::msg_box(message, platform::mb::Exclamation);
}

} // namespace

QString definitions_folder() {
    return platform::join_path(platform::program_folder(), DEFINITIONS_FOLDER);
}

QString version_def_path(int version) {
    return platform::join_path(definitions_folder(), QStringLiteral("Def%1.def").arg(version));
}

QString version_section_key(int version, int system_type) {
    const int h = version / 100;
    const int t = (version - 100 * h) / 10;
    const int u = version - 100 * h - 10 * t;
    return QStringLiteral("SoftVer=%1.%2.%3,SysType=%4").arg(h).arg(t).arg(u).arg(system_type);
}

QString version_section_short_key(int version, int system_type) {
    const int h = version / 100;
    const int t = (version - 100 * h) / 10;
    return QStringLiteral("SoftVer=%1.%2,SysType=%3").arg(h).arg(t).arg(system_type);
}

QString definition_file_message(const DefinitionFileReport& report) {
    if (!report.file_read)
        return QStringLiteral("The parameter definitions could not be read from\n%1\n\nParameters "
                              "are shown without their names, limits and defaults.")
            .arg(report.path);
    if (report.skipped.empty())
        return {};
    constexpr size_t shown = 10;
    QStringList lines;
    for (size_t i = 0; i < report.skipped.size() && i < shown; ++i)
        lines << QStringLiteral("line %1: %2")
                     .arg(report.skipped[i].line)
                     .arg(report.skipped[i].reason);
    if (report.skipped.size() > shown)
        lines << QStringLiteral("and %1 more").arg(report.skipped.size() - shown);
    return QStringLiteral("Some lines of the parameter definitions in\n%1\nare damaged and were "
                          "skipped; those parameters keep their previous definitions.\n\n%2")
        .arg(report.path, lines.join(QLatin1Char('\n')));
}

} // namespace parameters

using namespace parameters;

DefinitionFileReport read_access_vars_def() {
    DefinitionFileReport report;
    report.path = platform::join_path(definitions_folder(), ACCESS_VARS_FILE_NAME);
    const auto lines = read_lines(report.path);
    if (lines) {
        report.file_read = true;
        for (qsizetype i = 0; i < lines->size(); ++i) {
            const QString& line = (*lines)[i];
            if (line.startsWith(QLatin1String("//")) || is_blank(line))
                continue;
            apply_access_vars_line(line, static_cast<int>(i + 1), report);
        }
    }
    show_problems(report);
    return report;
}

DefinitionFileReport read_version_def(int software_version, int system_type, bool p61_is_1) {
    DefinitionFileReport report;
    int v = software_version;
    while (v >= LOWEST_DEF_VERSION && !QFileInfo::exists(version_def_path(v)))
        --v;
    if (v < LOWEST_DEF_VERSION)
        return report;
    report.version = v;
    report.path = version_def_path(v);
    const auto lines = read_lines(report.path);
    if (!lines) {
        // It exists but can't be read: the table stays as it was, as for a missing file.
        show_problems(report);
        return report;
    }
    report.file_read = true;

    auto& table = definitions_table();
    for (int p = 20; p <= 999; ++p)
        table[static_cast<size_t>(p)].present = false;

    const QString keys[] = {version_section_key(v, system_type),
                            version_section_short_key(v, system_type)};
    qsizetype key_line = -1;
    for (const QString& key : keys) {
        for (qsizetype i = 0; i < lines->size() && key_line < 0; ++i)
            if ((*lines)[i].contains(key))
                key_line = i;
        if (key_line >= 0)
            break;
    }
    if (key_line >= 0) {
        report.section_found = true;
        // The key's line is followed by a heading line; the definitions start after it.
        for (qsizetype i = key_line + 2; i < lines->size(); ++i) {
            const QString& line = (*lines)[i];
            const int line_no = static_cast<int>(i + 1);
            if (line.trimmed().startsWith(SECTION_START)) {
                // Without its closing line a section would run on into the next system type's.
                report.skipped.push_back({line_no, QStringLiteral("the section before this line "
                                                                  "has no closing OK line")});
                break;
            }
            if (is_blank(line))
                continue;
            if (!apply_version_def_line(line, line_no, report))
                break;
        }
    }

    table[857].default_value = table[857].unit_value;
    table[858].default_value = table[858].unit_value;
    if (p61_is_1) {
        for (int p = 610; p <= 672; p += 2) {
            DefinitionRecord& level = table[static_cast<size_t>(p)];
            level.default_value = -0.001;
            level.min_text = QStringLiteral("-1");
            level.units_code = QStringLiteral("U_MU");
            DefinitionRecord& volume = table[static_cast<size_t>(p + 1)];
            volume.default_value = -1;
            volume.min_text = QStringLiteral("-1");
            volume.units_code = QStringLiteral("U_VU");
        }
    }
    show_problems(report);
    return report;
}
