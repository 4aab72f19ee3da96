#include "parameter_catalogue.h"

#include "parameters/definition_files.h"
#include "platform/dialogs.h"
#include "platform/program_folder.h"
#include "platform/text_file.h"
#include "platform/vb.h"
#include "shell/definitions_table.h"
#include "shell/language_file.h"
#include "shell/option_lists.h"
#include "shell/shell_state.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <set>

using namespace parameters;

namespace {

DefinitionRecord& rec(int p) {
    return definitions_table()[static_cast<size_t>(p)];
}

const QString HEADER = QStringLiteral("versions = 180 205\nsystems = 1 2\n");

QString row(const QString& number, const QString& rest) {
    return number + QStringLiteral(" | ") + rest + QLatin1Char('\n');
}

const QString LEVEL = QStringLiteral(
    "Level | RD_WR | C_NUM | 3 | 0 | U_MU | 0 | 99 | 1500 | 12 | * | Level | Pegel | Niveau | "
    "Livello | Nivel");

// Points the program folder at a folder and empties the table for the test's lifetime.
class ProgramFolder {
public:
    explicit ProgramFolder(const QString& folder) : saved_(platform::program_folder()) {
        platform::set_program_folder(folder);
        definitions_table() = DefinitionsTable{};
    }
    ~ProgramFolder() {
        platform::set_program_folder(saved_);
        definitions_table() = DefinitionsTable{};
    }

private:
    QString saved_;
};

// Lookup codes whose list the tooltip picks among variants by other parameters' values; every
// other code must have its one list among the option lists the program carries.
const std::set<QString> VARIANT_CODES{"C_LUK8", "C_LUK12", "C_LUK14", "C_LUK19", "C_LUK35"};

// The keys of an option list ("0=Off,1=Alarm" -> 0, 1).
std::set<double> list_keys(const QString& list) {
    std::set<double> keys;
    for (const QString& entry : list.split(','))
        keys.insert(platform::val(entry.section('=', 0, 0)));
    return keys;
}

// The units codes the tooltips have words or rules for.
const std::set<QString> UNITS_CODES{"U_MU",   "U_MU_M", "U_VU",  "U_FLO", "U_SE", "U_MS", "U_MN",
                                    "U_HR",   "U_PC",   "U_DB",  "U_TP",  "U_CY", "U_MA", "U_VOLT",
                                    "U_TIME", "U_VEL",  "U_MES", "U_M3",  "U_GA", "U_LI", "U_IN",
                                    "U_FT",   "U_DEG",  "U_RT",  "U_RF",  "U_ID", "U_NO"};

std::vector<int> shipped_versions() {
    std::vector<int> versions;
    static const QRegularExpression name(QStringLiteral("^Def(\\d+)\\.def$"));
    for (const QString& f : QDir(definitions_folder()).entryList({QStringLiteral("Def*.def")})) {
        const auto m = name.match(f);
        if (m.hasMatch())
            versions.push_back(m.captured(1).toInt());
    }
    std::sort(versions.begin(), versions.end());
    return versions;
}

// Record numbers that access_vars.def defines, read as the program reads it.
std::set<int> read_shipped_definitions() {
    platform::ScopedScriptedDialogs dialogs;
    const auto report = read_access_vars_def();
    EXPECT_TRUE(report.file_read) << report.path.toStdString();
    EXPECT_TRUE(dialogs.prompts.empty())
        << "the user is warned at every start: "
        << (dialogs.prompts.empty() ? "" : dialogs.prompts[0].text.toStdString());
    std::set<int> defined;
    for (int p = 0; p <= DEFINITIONS_UPPER; ++p)
        if (rec(p).number == p && rec(p).name != QLatin1String("UNKNOWN"))
            defined.insert(p);
    return defined;
}

} // namespace

TEST(ParameterCatalogue, BrokenRowsAreNamedWithTheirLine) {
    const struct {
        QString text;
        const char* error;
    } cases[] = {
        {row("20", "Mode | RD_WR | C_NUM | 0 | 0 | U_NO | 0 | 3"), "line 3: 9 fields"},
        {row("20", LEVEL) + row("20", LEVEL), "line 4: P20 is catalogued twice"},
        {row("19", LEVEL), "P19 is outside P20..P999"},
        {row("1000", LEVEL), "P1000 is outside"},
        {row("20", QString(LEVEL).replace("RD_WR", "RW")), "access \"RW\""},
        {row("20", QString(LEVEL).replace("C_NUM", "C_LIST")), "lookup \"C_LIST\""},
        {row("20", QString(LEVEL).replace("| 3 |", "| 7 |")), "decimals \"7\""},
        {row("20", QString(LEVEL).replace("1500", "1.5.0")), "\"1.5.0\" is not a number"},
        {row("20", QString(LEVEL).replace("| 12 |", "| 13 |")), "systems \"13\""},
        {row("20", QString(LEVEL).replace("| * |", "| 190 |")), "versions \"190\""},
        {row("20", QString(LEVEL).replace("Pegel", "Pegel, roh")), "a comma would break"},
        {row("20", QString(LEVEL).replace("| Nivel", "| ")), "a caption is missing"},
        {row("20", QString(LEVEL).replace("Level |", "Level{k} |")), "{k} outside a run"},
        {row("20..10", LEVEL), "neither a number nor a run"},
        {row("20", LEVEL) + "= 21 | 1 | * | max=5\n", "override of P21, which is not catalogued"},
        {row("20", LEVEL) + "= 20 | 1 | * | colour=5\n", "unknown override \"colour\""},
        {row("20", LEVEL) + "= 20 | 1 | * | max=five\n", "no usable value"},
        {row("20", QString(LEVEL).replace("| 12 |", "| 1 |")), "version 180 has no parameter "
                                                               "for system type 2"},
    };
    for (const auto& c : cases) {
        const auto result = catalogue::parse_catalogue(HEADER + c.text);
        EXPECT_TRUE(result.errors.join('\n').contains(c.error))
            << "expected \"" << c.error << "\" for\n"
            << c.text.toStdString() << "got\n"
            << result.errors.join('\n').toStdString();
    }
}

TEST(ParameterCatalogue, GeneratedFilesReadBackAsCatalogued) {
    const QString text =
        HEADER + row("20", LEVEL) +
        row("610..614/2", "LevBkp{k} | RD_WR | C_NUM | 3 | 0 | U_MU | -1 | 99 | -1 "
                          "| 12 | 205+ | Point {k} | Punkt {k} | Point {k} | "
                          "Punto {k} | Punto {k}") +
        row("730", "View | RD_WR | C_NUM | 0 | 0 | U_NO | 0 | 9 | 0 | - | * | "
                   "View | Ansicht | Vue | Vista | Vista") +
        row("999", "Rate | RD_ON | C_LUK81 | 0 | 3 | U_NO | 1 | 3 | 2 | 2 | * | "
                   "Rate | Rate | Taux | Tasso | Tasa") +
        "= 20 | 2 | 180 | name=Lev2 max=50 default=2500\n";
    const auto parsed = catalogue::parse_catalogue(text);
    ASSERT_TRUE(parsed.errors.isEmpty()) << parsed.errors.join('\n').toStdString();

    QTemporaryDir dir;
    for (const auto& f : catalogue::render_catalogue(parsed.catalogue)) {
        const QString path = QDir(dir.path()).filePath(f.path);
        QDir().mkpath(QFileInfo(path).path());
        QFile out(path);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(f.bytes);
    }
    const auto captions =
        platform::read_text_file(QDir(dir.path()).filePath("lang-src/parameters.def"));
    ASSERT_TRUE(captions);
    EXPECT_EQ(*captions, "20,Level (P20),Pegel (P20),Niveau (P20),Livello (P20),Nivel (P20)\n"
                         "610,Point 1 (P610),Punkt 1 (P610),Point 1 (P610),Punto 1 (P610),Punto 1 "
                         "(P610)\n"
                         "612,Point 2 (P612),Punkt 2 (P612),Point 2 (P612),Punto 2 (P612),Punto 2 "
                         "(P612)\n"
                         "614,Point 3 (P614),Punkt 3 (P614),Point 3 (P614),Punto 3 (P614),Punto 3 "
                         "(P614)\n"
                         "730,View (P730),Ansicht (P730),Vue (P730),Vista (P730),Vista (P730)\n"
                         "999,Rate (P999),Rate (P999),Taux (P999),Tasso (P999),Tasa (P999)\n");

    ProgramFolder folder(dir.path());
    read_access_vars_def();
    EXPECT_EQ(rec(612).name, "LevBkp2");
    EXPECT_DOUBLE_EQ(rec(20).default_value, 1.5);
    EXPECT_TRUE(rec(999).read_only);
    EXPECT_EQ(rec(999).lookup_code, "C_LUK81");
    EXPECT_EQ(rec(999).attribute6, 3);

    read_version_def(205, 1, false);
    EXPECT_TRUE(rec(20).present);
    EXPECT_TRUE(rec(614).present);
    EXPECT_FALSE(rec(730).present) << "a parameter of no system type is never present";
    EXPECT_FALSE(rec(999).present) << "P999 belongs to system type 2 only";

    read_version_def(199, 2, false);
    EXPECT_EQ(rec(20).name, "Lev2") << "the override of version 1.8.0 system type 2";
    EXPECT_EQ(rec(20).max_text, "50");
    EXPECT_DOUBLE_EQ(rec(20).default_value, 2.5);
    EXPECT_FALSE(rec(610).present) << "the points came with 2.0.5";
    EXPECT_TRUE(rec(999).present) << "the section's closing line";

    read_version_def(180, 1, false);
    EXPECT_EQ(rec(20).name, "Level") << "overrides stay in their own section";
}

TEST(ShippedDefinitions, FilesFollowTheCatalogue) {
    const QDir data(QStringLiteral(QUILLARN_SOURCE_DIR "/data"));
    const auto text = platform::read_text_file(data.filePath(catalogue::CATALOGUE_PATH));
    ASSERT_TRUE(text) << "the parameter catalogue is missing";
    const auto parsed = catalogue::parse_catalogue(*text);
    ASSERT_TRUE(parsed.errors.isEmpty()) << parsed.errors.join('\n').toStdString();
    const char* fix = "\nrun: cmake --build build --target update_parameter_catalogue";
    std::set<QString> generated;
    for (const auto& f : catalogue::render_catalogue(parsed.catalogue)) {
        generated.insert(QFileInfo(data.filePath(f.path)).fileName());
        QFile shipped(data.filePath(f.path));
        ASSERT_TRUE(shipped.open(QIODevice::ReadOnly))
            << f.path.toStdString() << " is missing" << fix;
        EXPECT_TRUE(shipped.readAll() == f.bytes)
            << "data/" << f.path.toStdString() << " differs from the catalogue" << fix;
    }
    const QDir definitions(data.filePath(DEFINITIONS_FOLDER));
    for (const QString& f : definitions.entryList({QStringLiteral("Def*.def")}))
        EXPECT_TRUE(generated.count(f)) << f.toStdString() << " is not in the catalogue" << fix;
}

TEST(ShippedDefinitions, DefinitionsAreWhole) {
    ProgramFolder folder(QStringLiteral(QUILLARN_DATA_DIR));
    reset_shell_state();
    load_language_lists(); // English
    const auto defined = read_shipped_definitions();
    ASSERT_GT(defined.size(), 100u);
    for (int p : defined) {
        SCOPED_TRACE(testing::Message() << "P" << p);
        const DefinitionRecord& r = rec(p);
        EXPECT_GE(p, 20);
        EXPECT_LE(p, 999);
        const QString list = option_list(r.lookup_code);
        EXPECT_TRUE(r.lookup_code == "C_NUM" || VARIANT_CODES.count(r.lookup_code) ||
                    !list.isEmpty())
            << "no option list " << r.lookup_code.toStdString();
        // The list of P701 and of the relay function and identity follows other parameters.
        const bool own_list =
            !list.isEmpty() && p != 701 && r.units_code != "U_RF" && r.units_code != "U_ID";
        if (own_list) {
            EXPECT_TRUE(list_keys(list).count(r.default_value))
                << "the default is no choice of " << list.toStdString();
            EXPECT_LE(r.attribute6, static_cast<int>(list_keys(list).size()))
                << "the tooltip would offer empty choices";
        }
        EXPECT_TRUE(UNITS_CODES.count(r.units_code))
            << "no unit word for " << r.units_code.toStdString();
        EXPECT_GE(r.decimals, 0);
        EXPECT_LE(r.decimals, 6);
        if (r.lookup_code.contains("LUK")) {
            EXPECT_GT(r.attribute6, 0) << "a choice without entries";
        }
        const double min = platform::val(r.min_text), max = platform::val(r.max_text);
        EXPECT_LE(min, max);
        EXPECT_GE(r.default_value, min) << "the factory default would show as out of range";
        EXPECT_LE(r.default_value, max) << "the factory default would show as out of range";
    }
    reset_shell_state();
}

TEST(ShippedDefinitions, EverySectionExistsAndNamesDefinedParameters) {
    ProgramFolder folder(QStringLiteral(QUILLARN_DATA_DIR));
    const auto defined = read_shipped_definitions();
    const auto versions = shipped_versions();
    ASSERT_GE(versions.size(), 2u);
    EXPECT_LT(versions.front(), 192) << "units below 1.9.2 read parameters one by one";
    EXPECT_GE(versions.back(), 192) << "units from 1.9.2 on send all parameters at once";
    for (int v : versions) {
        for (int system = 1; system <= 4; ++system) {
            SCOPED_TRACE(testing::Message() << "Def" << v << ".def system type " << system);
            platform::ScopedScriptedDialogs dialogs;
            const auto report = read_version_def(v, system, false);
            EXPECT_EQ(report.version, v);
            EXPECT_TRUE(report.section_found);
            EXPECT_TRUE(report.skipped.empty());
            EXPECT_TRUE(dialogs.prompts.empty());
            int present = 0;
            for (int p = 20; p <= 999; ++p) {
                if (!rec(p).present)
                    continue;
                ++present;
                EXPECT_TRUE(defined.count(p)) << "P" << p << " is not in access_vars.def";
            }
            EXPECT_GT(present, 50);
        }
    }
    EXPECT_EQ(read_version_def(versions.back() + 50, 1, false).version, versions.back());
    EXPECT_EQ(read_version_def(versions.front() - 1, 1, false).version, 0);
}

TEST(ShippedDefinitions, EveryParameterHasACaptionInFiveLanguages) {
    ProgramFolder folder(QStringLiteral(QUILLARN_DATA_DIR));
    const auto defined = read_shipped_definitions();
    const auto lang =
        platform::read_text_file(QDir(definitions_folder()).filePath(QStringLiteral("lang.def")));
    ASSERT_TRUE(lang) << "lang.def is missing from the program folder";
    std::map<int, QStringList> captions;
    for (const QString& line : platform::split_lines(*lang)) {
        const QStringList fields = line.split(',');
        const int n = static_cast<int>(platform::val(fields[0]));
        if (n < 1000)
            captions[n] = fields;
    }
    for (int p : defined) {
        SCOPED_TRACE(testing::Message() << "P" << p);
        ASSERT_TRUE(captions.count(p)) << "the row would have no caption";
        const QStringList& fields = captions[p];
        ASSERT_EQ(fields.size(), 6);
        for (int language = 1; language <= 5; ++language)
            EXPECT_FALSE(fields[language].trimmed().isEmpty()) << "language column " << language;
    }
}

TEST(ShippedDefinitions, ParametersPlayTheRolesTheProgramGivesThem) {
    ProgramFolder folder(QStringLiteral(QUILLARN_DATA_DIR));
    read_shipped_definitions();
    const struct {
        int p;
        const char* lookup;
        const char* units;
        bool read_only;
    } roles[] = {
        {92, "C_NUM", "U_NO", true},     {96, "C_LUK78", "U_NO", false},
        {99, "C_NUM", "U_NO", false},    {100, "C_LUK12", "U_NO", false},
        {101, "C_LUK14", "U_NO", false}, {104, "C_LUK16", "U_NO", false},
        {105, "C_NUM", "U_MU", false},   {130, "C_LUK73", "U_NO", false},
        {155, "C_LUK0", "U_NO", false},  {210, "C_LUK19", "U_RT", false},
        {211, "C_LUK20", "U_RF", false}, {212, "C_LUK1", "U_ID", false},
        {213, "C_NUM", "U_MU", false},   {218, "C_LUK40", "U_NO", false},
        {220, "C_LUK19", "U_RT", false}, {224, "C_NUM", "U_MU", false},
        {600, "C_LUK27", "U_NO", false}, {604, "C_NUM", "U_VU", true},
        {605, "C_LUK53", "U_NO", false}, {607, "C_NUM", "U_VU", true},
        {610, "C_NUM", "U_MU", false},   {673, "C_NUM", "U_VU", false},
        {700, "C_LUK28", "U_NO", false}, {702, "C_LUK58", "U_NO", false},
        {705, "C_NUM", "U_FLO", false},  {706, "C_LUK59", "U_NO", false},
        {707, "C_LUK29", "U_NO", false}, {830, "C_LUK8", "U_NO", false},
        {831, "C_LUK35", "U_NO", false}, {836, "C_NUM", "U_MA", false},
        {840, "C_LUK37", "U_NO", false}, {926, "C_NUM", "U_NO", true},
        {930, "C_LUK0", "U_NO", false},  {931, "C_NUM", "U_NO", true},
        {932, "C_NUM", "U_TIME", true},  {933, "C_LUK32", "U_NO", false},
    };
    for (const auto& r : roles) {
        SCOPED_TRACE(testing::Message() << "P" << r.p);
        EXPECT_EQ(rec(r.p).lookup_code, r.lookup);
        EXPECT_EQ(rec(r.p).units_code, r.units);
        EXPECT_EQ(rec(r.p).read_only, r.read_only);
    }
    EXPECT_EQ(rec(840).attribute6, 4) << "early units have four output fail-safe choices";

    // Relays belong to mains units, the device set-up to fieldbus units, power saving to
    // battery units (system type 4).
    const int latest = shipped_versions().back();
    const struct {
        int p;
        bool in[4];
    } presence[] = {
        {210, {true, true, true, false}},   {228, {true, true, true, false}},
        {96, {false, false, true, false}},  {130, {false, false, true, false}},
        {160, {false, false, false, true}}, {165, {false, false, false, true}},
        {104, {true, true, true, true}},    {730, {false, false, false, false}},
    };
    for (int system = 1; system <= 4; ++system) {
        read_version_def(latest, system, false);
        EXPECT_DOUBLE_EQ(rec(99).default_value, system) << "P99 of system type " << system;
        for (const auto& e : presence)
            EXPECT_EQ(rec(e.p).present, e.in[system - 1]) << "P" << e.p << " system " << system;
    }
}
