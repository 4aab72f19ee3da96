
#include "parameters_test_support.h"
#include "platform/dialogs.h"
#include "platform/program_folder.h"
#include "platform/vb.h"
#include "test_files.h"

#include <QTemporaryDir>

using namespace parameters;

namespace {

// A program folder of its own per test, with an empty definitions folder, a fresh table, scripted
// dialogs and a German locale: limits must keep their decimal point in any locale.
class DefinitionFiles : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        saved_folder_ = platform::program_folder();
        platform::set_program_folder(dir_.path());
        ASSERT_TRUE(QDir(dir_.path()).mkpath(DEFINITIONS_FOLDER));
        definitions_table() = DefinitionsTable{};
        platform::number_separators() = {",", "."};
    }
    void TearDown() override {
        platform::set_program_folder(saved_folder_);
        platform::number_separators() = {};
        definitions_table() = DefinitionsTable{};
    }
    void write(const QString& name, const QByteArray& bytes) {
        testfiles::write_bytes(QDir(definitions_folder()).filePath(name), bytes);
    }
    void write_access_vars(const QByteArray& bytes) { write(ACCESS_VARS_FILE_NAME, bytes); }

    QTemporaryDir dir_;
    QString saved_folder_;
    platform::ScopedScriptedDialogs dialogs;
};

QByteArray section(const QByteArray& key, const QByteArray& lines) {
    return key + "\r\nP,Name,Access,Lookup,Decimals,Entries,Units,Min,Max,Default\r\n" + lines;
}

} // namespace

TEST_F(DefinitionFiles, AccessVarsFieldsFillTheRecordTheyName) {
    // Any line end, a byte order mark, no line end at the end.
    write_access_vars(
        "\xEF\xBB\xBF// number,name,access,lookup,decimals,entries,units,min,max,default,\r\n"
        "104,Units,RD_WR,C_LUK16,DEC_0,ENT_5,U_NO,1,5,1,\n"
        "105,{ Level },RD_ON,C_NUM,DEC_3,_,U_MU,0,99.999,1500,\r"
        "106, Span,RD_ON ,C_NUM,3,AB_4,U_MU_M,-0.5,20,2500,\r\n"
        "107,{Near}Blank,RD_WR,C_NUM,X_1_2,ENT_,U_SE,0,abc,1500,");
    const auto report = read_access_vars_def();
    EXPECT_TRUE(dialogs.prompts.empty()) << "a good file must not bother the user";
    EXPECT_EQ(report.lines_applied, 4);

    // Braces strip the blanks inside them; without braces a blank stays part of the name, and
    // "RD_ON " is not the read-only marker. A length default is divided only for length units; an
    // unreadable limit reads as 0.
    // clang-format off
    const struct { int p; const char* name; bool read_only; const char* lookup; int decimals, entries;
                   const char *units, *min, *max; double default_value; } cases[] = {
        {104, "Units", false, "C_LUK16", 0, 5, "U_NO", "1", "5", 1},
        {105, "Level", true, "C_NUM", 3, 0, "U_MU", "0", "99.999", 1.5},
        {106, " Span", false, "C_NUM", 3, 4, "U_MU_M", "-0.5", "20", 2.5},
        {107, "Near", false, "C_NUM", 1, 0, "U_SE", "0", "0", 1500}};
    // clang-format on
    for (const auto& c : cases) {
        const DefinitionRecord& r = rec(c.p);
        EXPECT_EQ(fields(r.number, r.name, r.read_only, r.lookup_code, r.decimals, r.attribute6,
                         r.units_code, r.min_text, r.max_text, r.default_value),
                  fields(c.p, c.name, c.read_only, c.lookup, c.decimals, c.entries, c.units, c.min,
                         c.max, c.default_value))
            << "P" << c.p << " (limits would be misread as whole numbers later)";
    }
    EXPECT_EQ(rec(108).name, "UNKNOWN") << "a record no line names keeps its reset values";
    EXPECT_EQ(rec(108).min_text, "-999999");
}

TEST_F(DefinitionFiles, MissingOrDamagedAccessVarsIsReportedAndGoodLinesStillCount) {
    rec(104).name = "Units";
    EXPECT_FALSE(read_access_vars_def().file_read);
    EXPECT_EQ(rec(104).name, "Units");
    ASSERT_EQ(dialogs.prompts.size(), 1u);
    EXPECT_TRUE(dialogs.prompts[0].text.contains("access_vars.def"));

    write_access_vars("20,Mode,RD_WR,C_NUM,DEC_0,_,U_NO,0,3,0,\n21,Short,RD_WR,C_NUM,DEC_0\n"
                      "1501,Beyond,RD_WR,C_NUM,DEC_0,_,U_NO,0,3,0,\n"
                      "-1,Below,RD_WR,C_NUM,DEC_0,_,U_NO,0,3,0,\n"
                      "99999,Huge,RD_WR,C_NUM,DEC_0,_,U_NO,0,3,0,\n"
                      "Level,NoNumber,RD_WR,C_NUM,DEC_0,_,U_NO,0,3,0,\n\n   \n"
                      "1500,Last,RD_WR,C_NUM,DEC_0,_,U_NO,0,3,0,\n");
    const auto report = read_access_vars_def();
    ASSERT_EQ(report.skipped.size(), 5u) << "blank lines are not damage";
    // A short line must not half-fill a record, a line without a number not land in record 0.
    EXPECT_EQ(fields(report.lines_applied, report.skipped[0].line, report.skipped[1].line,
                     report.skipped[4].line, rec(20).name, rec(1500).name, rec(21).name,
                     rec(0).name),
              fields(2, 2, 3, 6, "Mode", "Last", "UNKNOWN", "UNKNOWN"));
    ASSERT_EQ(dialogs.prompts.size(), 2u);
    EXPECT_TRUE(dialogs.prompts[1].text.contains("line 3: parameter number 1501 is outside"))
        << dialogs.prompts[1].text;
}

TEST_F(DefinitionFiles, VersionFallsBackToTheNearestLowerFileAndTheShortKey) {
    write("Def205.def",
          section("SoftVer=2.0.5,SysType=2", "104,Units,,,,,0,1,5,1\r\n"
                                             "105,EmptyLevel,,,,,1,0,99,6000,OK\r\n"));
    const auto report = read_version_def(207, 2, false);
    // Parameters the section does not name are not present; records below P20 and above P999 are
    // not parameters of the screen.
    EXPECT_EQ(fields(report.version, report.section_found, rec(104).present, rec(106).present,
                     rec(19).present, rec(1000).present),
              fields(205, true, true, false, true, true));
    EXPECT_EQ(read_version_def(204, 2, false).version, 0)
        << "a lower version must never use a higher version's file";

    write("Def210.def",
          "// header\r\n" + section("SoftVer=2.1,SysType=3", "130,Device,,,,,0,0,2,1,OK\r\n"));
    EXPECT_TRUE(read_version_def(213, 3, false).section_found) << "2.1.3 did not find 2.1";
    EXPECT_TRUE(rec(130).present);
    EXPECT_EQ(rec(130).name, "Device");
    EXPECT_TRUE(dialogs.prompts.empty());
}

TEST_F(DefinitionFiles, NoDefFileChangesNothingAFileWithoutTheSectionHidesEverything) {
    rec(104).present = true;
    rec(105).present = false;
    rec(857).unit_value = 12.5;
    rec(857).default_value = 1;
    rec(858).unit_value = 7;
    EXPECT_FALSE(read_version_def(250, 1, true).file_read);
    // The fix-ups belong to a file that exists.
    EXPECT_EQ(fields(rec(104).present, rec(105).present, rec(857).default_value, rec(610).min_text),
              fields(true, false, 1, "-999999"));
    EXPECT_FALSE(read_version_def(99, 1, false).file_read) << "versions below 100 have no file";
    EXPECT_TRUE(dialogs.prompts.empty());

    write("Def205.def", section("SoftVer=2.0.5,SysType=1", "104,Units,,,,,0,1,5,1,OK\r\n"));
    const auto report = read_version_def(205, 4, false);
    for (int p = 20; p <= 999; ++p)
        ASSERT_FALSE(rec(p).present) << "P" << p;
    EXPECT_EQ(fields(report.file_read, report.section_found, rec(857).default_value,
                     rec(858).default_value),
              fields(true, false, 12.5, 7));
}

TEST_F(DefinitionFiles, SectionEndsAtItsOkLineOrAtTheNextSection) {
    const QByteArray system_2 =
        section("SoftVer=1.8.0,SysType=2", "107,NearBlank,,,,,1,0,9,300,OK\n");
    write("Def180.def", section("SoftVer=1.8.0,SysType=1", "104,Units,,,,,0,1,5,1\n"
                                                           "105,EmptyLevel,,,,,1,0,99,6000,OK\n"
                                                           "106,Span,,,,,1,0,99,5000\n") +
                            system_2);
    read_version_def(180, 1, false);
    // The closing line is a definition too; another system type's section stays out.
    EXPECT_EQ(fields(rec(105).present, rec(106).present, rec(107).present, dialogs.prompts.size()),
              fields(true, false, false, 0));

    write("Def180.def", section("SoftVer=1.8.0,SysType=1", "104,Units,,,,,0,1,5,1\n") + system_2);
    const auto report = read_version_def(180, 1, false);
    ASSERT_EQ(report.skipped.size(), 1u);
    // Another system type's section stays out, the missing closing line is reported.
    EXPECT_EQ(
        fields(rec(104).present, rec(107).present, report.skipped[0].line, dialogs.prompts.size()),
        fields(true, false, 4, 1));
}

TEST_F(DefinitionFiles, SectionLinesSetUnitsLimitsAndDefaults) {
    rec(300).units_code = "U_SE";
    rec(301).units_code = "U_MU";
    rec(12).present = false;
    write("Def205.def",
          section("SoftVer=2.0.5,SysType=1",
                  // units number 27: a length per minute, default in thousandths; another units
                  // number keeps the units of access_vars.def
                  "302,Rate,,,,,27,0,10,1500\n300,Delay,,,,,5,-0.25,12.75,1500\n"
                  "301,Offset,,,,,5,-9,9,250\n"
                  // breakpoints and flow dimensions always accept -1
                  "612,LevBkp2,,,,,1,0,100,2000\n715,Dim,,,,,0,0.5,9,1\n"
                  // outside the screen's parameters: fields are kept but it is not present
                  "12,Low,,,,,0,0,9,3\n1200,High,,,,,0,0,9,3\n"
                  // no record to write to, too few fields
                  "2000,Far,,,,,0,0,9,3\n-5,Neg,,,,,0,0,9,3\n303,Short,,,,0,9\n"
                  "999,Rate,,,,,0,1,3,2,OK\n"));
    const auto report = read_version_def(205, 1, false);
    // clang-format off
    const struct { int p; const char *name, *units, *min, *max; double default_value; bool present; }
    cases[] = {
        {302, "Rate", "U_MU_M", "0", "10", 1.5, true}, {300, "Delay", "U_SE", "-0.25", "12.75", 1500, true},
        {301, "Offset", "U_MU", "-9", "9", 0.25, true}, {612, "LevBkp2", "U_MU", "-1", "100", 2, true},
        {715, "Dim", "", "-1", "9", 1, true}, {12, "Low", "", "0", "9", 3, false},
        {1200, "High", "", "0", "9", 3, true}, {999, "Rate", "", "1", "3", 2, true}};
    // clang-format on
    for (const auto& c : cases) {
        const DefinitionRecord& r = rec(c.p);
        EXPECT_EQ(fields(r.name, r.units_code, r.min_text, r.max_text, r.default_value, r.present),
                  fields(c.name, c.units, c.min, c.max, c.default_value, c.present))
            << "P" << c.p << " (limits would be misread as whole numbers later)";
    }
    EXPECT_FALSE(rec(303).present);
    ASSERT_EQ(report.skipped.size(), 3u);
    EXPECT_EQ(report.skipped[0].line, 10);
    EXPECT_EQ(report.skipped[2].line, 12);
    EXPECT_EQ(dialogs.prompts.size(), 1u);
}

TEST_F(DefinitionFiles, FlowCapableUnitsGetOpenBreakpoints) {
    write("Def205.def", section("SoftVer=2.0.5,SysType=1", "610,LevBkp1,,,,,0,0,99,5000,OK\n"));
    read_version_def(205, 1, true);
    for (int p = 610; p <= 672; p += 2) {
        const DefinitionRecord &level = rec(p), &volume = rec(p + 1);
        EXPECT_EQ(fields(level.default_value, level.min_text, level.units_code),
                  fields(-0.001, "-1", "U_MU"))
            << "P" << p;
        EXPECT_EQ(fields(volume.default_value, volume.min_text, volume.units_code),
                  fields(-1.0, "-1", "U_VU"))
            << "P" << p + 1;
    }
}

TEST(DefinitionsTableReset, ClearsTheValuesOfTheLastUnitAndKeepsTheDefinitionKeys) {
    definitions_table() = DefinitionsTable{};
    DefinitionRecord& r = definitions_table()[104];
    r = {"Units", 104, "Units", false,  "C_LUK16", 2,   5,    3,
         "3",     4,   1,       "U_NO", "1",       "5", true, false};
    definitions_table()[105].name = "kept";
    clear_definitions_table(104);
    EXPECT_EQ(definitions_table()[105].name, "kept") << "a record past the last one was reset";
    EXPECT_EQ(fields(r.text, r.attribute6, r.unit_value, r.value_text, r.program_value,
                     r.default_value, r.units_code, r.send_failed, r.present, r.read_only),
              fields("", 5, NO_VALUE, "", NO_VALUE, NO_VALUE, "", false, true, true));
    EXPECT_EQ(fields(r.name, r.min_text, r.max_text), fields("UNKNOWN", "-999999", "-999999"));
    EXPECT_EQ(fields(r.number, r.lookup_code, r.decimals), fields(104, "C_LUK16", 2))
        << "the definition keys were lost";
    definitions_table() = DefinitionsTable{};
}
