#include "parameter_catalogue.h"

#include "parameters_test_support.h"
#include "platform/dialogs.h"
#include "platform/program_folder.h"
#include "platform/text_file.h"
#include "platform/vb.h"
#include "shell/shell_state.h"
#include "test_files.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <set>

using namespace parameters;

namespace {

const QString HEADER = "versions = 180 205\nsystems = 1 2\n";
const QString LEVEL =
    "20 | Level | RD_WR | C_NUM | 3 | 0 | U_MU | 0 | 99 | 1500 | 12 | * | Level | "
    "Pegel | Niveau | Livello | Nivel\n";

// Points the program folder at `folder` and empties the table for the test's lifetime.
class ProgramFolder {
public:
    explicit ProgramFolder(const QString& folder = QUILLARN_DATA_DIR)
        : saved_(platform::program_folder()) {
        platform::set_program_folder(folder);
        definitions_table() = DefinitionsTable{};
    }
    ~ProgramFolder() {
        platform::set_program_folder(saved_);
        definitions_table() = DefinitionsTable{};
        reset_shell_state();
    }

private:
    QString saved_;
};

std::vector<int> shipped_versions() {
    std::vector<int> versions;
    static const QRegularExpression name("^Def(\\d+)\\.def$");
    for (const QString& f :
         QDir(definitions_folder()).entryList({"Def*.def"}, QDir::Files, QDir::Name))
        if (const auto m = name.match(f); m.hasMatch())
            versions.push_back(m.captured(1).toInt());
    return versions;
}

// Record numbers that access_vars.def defines, read as the program reads it.
std::set<int> read_shipped_definitions() {
    platform::ScopedScriptedDialogs dialogs;
    EXPECT_TRUE(read_access_vars_def().file_read);
    EXPECT_EQ(dialogs.messages(), QStringList()) << "the user is warned at every start";
    std::set<int> defined;
    for (int p = 0; p <= DEFINITIONS_UPPER; ++p)
        if (rec(p).number == p && rec(p).name != "UNKNOWN")
            defined.insert(p);
    return defined;
}

} // namespace

TEST(ParameterCatalogue, BrokenRowsAreNamedWithTheirLine) {
    const auto level = [](const char* from, const char* to) {
        return QString(LEVEL).replace(from, to);
    };
    // clang-format off
    const std::pair<QString, const char*> cases[] = {
        {"20 | Mode | RD_WR | C_NUM | 0 | 0 | U_NO | 0 | 3\n", "line 3: 9 fields"},
        {LEVEL + LEVEL, "line 4: P20 is catalogued twice"},
        {level("20 |", "1000 |"), "P1000 is outside P20..P999"},
        {level("20 |", "20..10 |"), "neither a number nor a run"},
        {level("C_NUM", "C_LIST"), "lookup \"C_LIST\""}, {level("1500", "1.5.0"), "\"1.5.0\" is not a number"},
        {level("Pegel", "Pegel, roh"), "a comma would break"}, {level("| Nivel", "| "), "a caption is missing"},
        {level("Level |", "Level{k} |"), "{k} outside a run"},
        {LEVEL + "= 21 | 1 | * | max=5\n", "override of P21, which is not catalogued"},
        {LEVEL + "= 20 | 1 | * | max=five\n", "no usable value"},
        {level("| 12 |", "| 1 |"), "version 180 has no parameter for system type 2"}};
    // clang-format on
    for (const auto& [rows, error] : cases) {
        const QStringList errors = catalogue::parse_catalogue(HEADER + rows).errors;
        EXPECT_TRUE(errors.join('\n').contains(error)) << "expected \"" << error << "\" for\n"
                                                       << rows << "got\n"
                                                       << errors.join('\n');
    }
}

TEST(ParameterCatalogue, GeneratedFilesReadBackAsCatalogued) {
    const QString text =
        HEADER + LEVEL +
        "610..614/2 | LevBkp{k} | RD_WR | C_NUM | 3 | 0 | U_MU | -1 | 99 | -1 | 12 | 205+ | "
        "Point {k} | Punkt {k} | Point {k} | Punto {k} | Punto {k}\n"
        "730 | View | RD_WR | C_NUM | 0 | 0 | U_NO | 0 | 9 | 0 | - | * | View | Ansicht | Vue | "
        "Vista | Vista\n"
        "999 | Rate | RD_ON | C_LUK81 | 0 | 3 | U_NO | 1 | 3 | 2 | 2 | * | Rate | Rate | Taux | "
        "Tasso | Tasa\n"
        "= 20 | 2 | 180 | name=Lev2 max=50 default=2500\n";
    const auto parsed = catalogue::parse_catalogue(text);
    ASSERT_EQ(parsed.errors, QStringList());

    QTemporaryDir dir;
    for (const auto& f : catalogue::render_catalogue(parsed.catalogue))
        testfiles::write_bytes(dir.filePath(f.path), f.bytes);
    const QStringList captions = platform::split_lines(
        platform::read_text_file(dir.filePath("lang-src/parameters.def")).value_or(""));
    EXPECT_EQ(captions.value(2), "612,Point 2 (P612),Punkt 2 (P612),Point 2 (P612),Punto 2 (P612),"
                                 "Punto 2 (P612)");

    ProgramFolder folder(dir.path());
    read_access_vars_def();
    EXPECT_EQ(rec(612).name, "LevBkp2");
    EXPECT_DOUBLE_EQ(rec(20).default_value, 1.5);
    EXPECT_EQ(fields(rec(999).read_only, rec(999).lookup_code, rec(999).attribute6),
              fields(true, "C_LUK81", 3));

    read_version_def(205, 1, false);
    EXPECT_TRUE(rec(20).present);
    EXPECT_TRUE(rec(614).present);
    EXPECT_FALSE(rec(730).present) << "a parameter of no system type is never present";
    EXPECT_FALSE(rec(999).present) << "P999 belongs to system type 2 only";

    read_version_def(199, 2, false);
    EXPECT_EQ(fields(rec(20).name, rec(20).max_text, rec(20).default_value),
              fields("Lev2", "50", 2.5))
        << "the override of version 1.8.0 system type 2";
    EXPECT_FALSE(rec(610).present) << "the points came with 2.0.5";
    EXPECT_TRUE(rec(999).present) << "the section's closing line";

    read_version_def(180, 1, false);
    EXPECT_EQ(rec(20).name, "Level") << "overrides stay in their own section";
}

TEST(ShippedDefinitions, FilesFollowTheCatalogue) {
    const QDir data(QUILLARN_SOURCE_DIR "/data");
    const auto text = platform::read_text_file(data.filePath(catalogue::CATALOGUE_PATH));
    ASSERT_TRUE(text) << "the parameter catalogue is missing";
    const auto parsed = catalogue::parse_catalogue(*text);
    ASSERT_EQ(parsed.errors, QStringList());
    const char* fix = "\nrun: cmake --build build --target update_parameter_catalogue";
    std::set<QString> generated;
    for (const auto& f : catalogue::render_catalogue(parsed.catalogue)) {
        generated.insert(QFileInfo(f.path).fileName());
        EXPECT_TRUE(testfiles::read_bytes(data.filePath(f.path)) == f.bytes)
            << "data/" << f.path << " is missing or differs from the catalogue" << fix;
    }
    for (const QString& f : QDir(data.filePath(DEFINITIONS_FOLDER)).entryList({"Def*.def"}))
        EXPECT_TRUE(generated.count(f)) << f << " is not in the catalogue" << fix;
}

TEST(ShippedDefinitions, DefinitionsAreWholeAndCaptioned) {
    ProgramFolder folder;
    load_language_lists(); // English
    const auto defined = read_shipped_definitions();
    ASSERT_GT(defined.size(), 100u);
    std::set<int> captioned; // lang.def's checks see that every line has five texts
    for (const QString& line : platform::split_lines(
             platform::read_text_file(QDir(definitions_folder()).filePath("lang.def"))
                 .value_or("")))
        captioned.insert(line.section(',', 0, 0).toInt());
    // Lookup codes whose list the tooltip picks among variants by other parameters' values.
    const QStringList variant_codes{"C_LUK8", "C_LUK12", "C_LUK14", "C_LUK19", "C_LUK35"};
    // The units codes the tooltips have words or rules for.
    const QStringList units_codes{"U_MU",   "U_MU_M", "U_VU",  "U_FLO", "U_SE", "U_MS", "U_MN",
                                  "U_HR",   "U_PC",   "U_DB",  "U_TP",  "U_CY", "U_MA", "U_VOLT",
                                  "U_TIME", "U_VEL",  "U_MES", "U_M3",  "U_GA", "U_LI", "U_IN",
                                  "U_FT",   "U_DEG",  "U_RT",  "U_RF",  "U_ID", "U_NO"};
    for (int p : defined) {
        SCOPED_TRACE(testing::Message() << "P" << p);
        const DefinitionRecord& r = rec(p);
        EXPECT_TRUE(p >= 20 && p <= 999);
        EXPECT_TRUE(captioned.count(p)) << "the row would have no caption";
        const QString list = option_list(r.lookup_code);
        EXPECT_TRUE(r.lookup_code == "C_NUM" || variant_codes.contains(r.lookup_code) ||
                    !list.isEmpty())
            << "no option list " << r.lookup_code;
        // The list of P701 and of the relay function and identity follows other parameters.
        if (!list.isEmpty() && p != 701 && r.units_code != "U_RF" && r.units_code != "U_ID") {
            std::set<double> keys;
            for (const QString& entry : list.split(','))
                keys.insert(platform::val(entry.section('=', 0, 0)));
            EXPECT_TRUE(keys.count(r.default_value)) << "the default is no choice of " << list;
            EXPECT_LE(r.attribute6, static_cast<int>(keys.size()))
                << "the tooltip would offer empty choices";
        }
        EXPECT_TRUE(units_codes.contains(r.units_code)) << "no unit word for " << r.units_code;
        EXPECT_TRUE(r.decimals >= 0 && r.decimals <= 6) << r.decimals << " decimals";
        EXPECT_TRUE(!r.lookup_code.contains("LUK") || r.attribute6 > 0)
            << "a choice without entries";
        const double min = platform::val(r.min_text), max = platform::val(r.max_text);
        EXPECT_LE(min, max);
        EXPECT_TRUE(r.default_value >= min && r.default_value <= max)
            << "the factory default " << r.default_value << " would show as out of range";
    }
}

TEST(ShippedDefinitions, EverySectionExistsAndNamesDefinedParameters) {
    ProgramFolder folder;
    const auto defined = read_shipped_definitions();
    const auto versions = shipped_versions();
    ASSERT_GE(versions.size(), 2u);
    EXPECT_LT(versions.front(), 192) << "units below 1.9.2 read parameters one by one";
    EXPECT_GE(versions.back(), 192) << "units from 1.9.2 on send all parameters at once";
    for (int v : versions)
        for (int system = 1; system <= 4; ++system) {
            SCOPED_TRACE(testing::Message() << "Def" << v << ".def system type " << system);
            platform::ScopedScriptedDialogs dialogs;
            const auto report = read_version_def(v, system, false);
            EXPECT_EQ(report.version, v);
            EXPECT_TRUE(report.section_found);
            EXPECT_TRUE(report.skipped.empty());
            EXPECT_TRUE(dialogs.prompts.empty());
            int present = 0;
            for (int p = 20; p <= 999; ++p)
                if (rec(p).present) {
                    ++present;
                    EXPECT_TRUE(defined.count(p)) << "P" << p << " is not in access_vars.def";
                }
            EXPECT_GT(present, 50);
        }
    EXPECT_EQ(read_version_def(versions.back() + 50, 1, false).version, versions.back());
    EXPECT_EQ(read_version_def(versions.front() - 1, 1, false).version, 0);
}

TEST(ShippedDefinitions, ParametersPlayTheRolesTheProgramGivesThem) {
    ProgramFolder folder;
    read_shipped_definitions();
    // clang-format off
    const struct { int p; const char *lookup, *units; bool read_only; } roles[] = {
        {92, "C_NUM", "U_NO", true}, {100, "C_LUK12", "U_NO", false}, {101, "C_LUK14", "U_NO", false},
        {210, "C_LUK19", "U_RT", false}, {211, "C_LUK20", "U_RF", false}, {212, "C_LUK1", "U_ID", false},
        {607, "C_NUM", "U_VU", true}, {830, "C_LUK8", "U_NO", false}, {831, "C_LUK35", "U_NO", false},
        {836, "C_NUM", "U_MA", false}, {932, "C_NUM", "U_TIME", true}};
    // clang-format on
    for (const auto& r : roles)
        EXPECT_EQ(fields(rec(r.p).lookup_code, rec(r.p).units_code, rec(r.p).read_only),
                  fields(r.lookup, r.units, r.read_only))
            << "P" << r.p;
    EXPECT_EQ(rec(840).attribute6, 4) << "early units have four output fail-safe choices";

    // Relays belong to mains units, the device set-up to fieldbus units, power saving to
    // battery units (system type 4).
    // clang-format off
    const std::pair<int, std::array<bool, 4>> presence[] = {
        {210, {true, true, true, false}}, {228, {true, true, true, false}},
        {96, {false, false, true, false}}, {130, {false, false, true, false}},
        {160, {false, false, false, true}}, {165, {false, false, false, true}},
        {104, {true, true, true, true}}, {730, {false, false, false, false}}};
    // clang-format on
    for (int system = 1; system <= 4; ++system) {
        read_version_def(shipped_versions().back(), system, false);
        EXPECT_DOUBLE_EQ(rec(99).default_value, system) << "P99 of system type " << system;
        for (const auto& [p, in] : presence)
            EXPECT_EQ(rec(p).present, in[system - 1]) << "P" << p << " system " << system;
    }
}
