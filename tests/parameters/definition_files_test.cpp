#include "parameters/definition_files.h"

#include "platform/dialogs.h"
#include "platform/program_folder.h"
#include "platform/vb.h"
#include "shell/definitions_table.h"
#include "shell/language_file.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace parameters;

namespace {

DefinitionRecord& rec(int p) {
    return definitions_table()[static_cast<size_t>(p)];
}

// A program folder of its own per test, with an empty definitions folder and a fresh table.
class DefinitionFiles : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        saved_folder_ = platform::program_folder();
        platform::set_program_folder(dir_.path());
        ASSERT_TRUE(QDir(dir_.path()).mkpath(DEFINITIONS_FOLDER));
        definitions_table() = DefinitionsTable{};
    }
    void TearDown() override {
        platform::set_program_folder(saved_folder_);
        platform::number_separators() = {};
        definitions_table() = DefinitionsTable{};
    }
    void write(const QString& name, const QByteArray& bytes) {
        QFile f(QDir(definitions_folder()).filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    void write_access_vars(const QByteArray& bytes) { write(ACCESS_VARS_FILE_NAME, bytes); }

    QTemporaryDir dir_;
    QString saved_folder_;
};

QByteArray section(const QByteArray& key, const QByteArray& lines) {
    return key + "\r\nP,Name,Access,Lookup,Decimals,Entries,Units,Min,Max,Default\r\n" + lines;
}

} // namespace

TEST_F(DefinitionFiles, AccessVarsFieldsFillTheRecordTheyName) {
    write_access_vars("// number,name,access,lookup,decimals,entries,units,min,max,default,\r\n"
                      "104,Units,RD_WR,C_LUK16,DEC_0,ENT_5,U_NO,1,5,1,\r\n"
                      "105,{ Level },RD_ON,C_NUM,DEC_3,_,U_MU,0,99.999,1500,\r\n"
                      "106, Span,RD_ON ,C_NUM,3,AB_4,U_MU_M,-0.5,20,2500,\r\n"
                      "107,{Near}Blank,RD_WR,C_NUM,X_1_2,ENT_,U_SE,0,abc,1500,\r\n");
    platform::ScopedScriptedDialogs dialogs;
    const auto report = read_access_vars_def();
    EXPECT_TRUE(dialogs.prompts.empty()) << "a good file must not bother the user";
    EXPECT_EQ(report.lines_applied, 4);

    struct Expected {
        int p;
        const char* name;
        bool read_only;
        const char* lookup;
        int decimals, entries;
        const char* units;
        const char* min;
        const char* max;
        double default_value;
    };
    const Expected cases[] = {
        {104, "Units", false, "C_LUK16", 0, 5, "U_NO", "1", "5", 1},
        // Braces strip the blanks inside them; without braces a blank stays part of the name,
        // and "RD_ON " is not the read-only marker.
        {105, "Level", true, "C_NUM", 3, 0, "U_MU", "0", "99.999", 1.5},
        {106, " Span", false, "C_NUM", 3, 4, "U_MU_M", "-0.5", "20", 2.5},
        // A length default is divided only for length units; an unreadable limit reads as 0.
        {107, "Near", false, "C_NUM", 1, 0, "U_SE", "0", "0", 1500},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.p);
        EXPECT_EQ(rec(c.p).number, c.p);
        EXPECT_EQ(rec(c.p).name, c.name);
        EXPECT_EQ(rec(c.p).read_only, c.read_only);
        EXPECT_EQ(rec(c.p).lookup_code, c.lookup);
        EXPECT_EQ(rec(c.p).decimals, c.decimals);
        EXPECT_EQ(rec(c.p).attribute6, c.entries);
        EXPECT_EQ(rec(c.p).units_code, c.units);
        EXPECT_EQ(rec(c.p).min_text, c.min);
        EXPECT_EQ(rec(c.p).max_text, c.max);
        EXPECT_DOUBLE_EQ(rec(c.p).default_value, c.default_value);
    }
    EXPECT_EQ(rec(108).name, "UNKNOWN") << "a record no line names keeps its reset values";
    EXPECT_EQ(rec(108).min_text, "-999999");
}

TEST_F(DefinitionFiles, LimitsKeepTheDecimalPointInAGermanLocale) {
    platform::number_separators() = {QStringLiteral(","), QStringLiteral(".")};
    write_access_vars("213,SetPoint1,RD_WR,C_NUM,DEC_3,_,U_MU,-999.9,9999.5,4500,\n");
    write("Def205.def", section("SoftVer=2.0.5,SysType=1", "214,SetPoint2,,,,,1,-0.25,12.75,OK\n"));
    read_access_vars_def();
    read_version_def(205, 1, false);
    EXPECT_EQ(rec(213).min_text, "-999.9") << "limits would be misread as whole numbers later";
    EXPECT_EQ(rec(213).max_text, "9999.5");
    EXPECT_EQ(rec(214).min_text, "-0.25");
    EXPECT_EQ(rec(214).max_text, "12.75");
}

TEST_F(DefinitionFiles, DamagedAccessVarsLinesAreSkippedAndReported) {
    write_access_vars("20,Mode,RD_WR,C_NUM,DEC_0,_,U_NO,0,3,0,\n"
                      "21,Short,RD_WR,C_NUM,DEC_0\n"
                      "1501,Beyond,RD_WR,C_NUM,DEC_0,_,U_NO,0,3,0,\n"
                      "-1,Below,RD_WR,C_NUM,DEC_0,_,U_NO,0,3,0,\n"
                      "99999,Huge,RD_WR,C_NUM,DEC_0,_,U_NO,0,3,0,\n"
                      "Level,NoNumber,RD_WR,C_NUM,DEC_0,_,U_NO,0,3,0,\n"
                      "\n"
                      "   \n"
                      "1500,Last,RD_WR,C_NUM,DEC_0,_,U_NO,0,3,0,\n");
    platform::ScopedScriptedDialogs dialogs;
    const auto report = read_access_vars_def();
    EXPECT_EQ(report.lines_applied, 2);
    ASSERT_EQ(report.skipped.size(), 5u) << "blank lines are not damage";
    EXPECT_EQ(report.skipped[0].line, 2);
    EXPECT_EQ(report.skipped[1].line, 3);
    EXPECT_EQ(report.skipped[4].line, 6);
    EXPECT_EQ(rec(20).name, "Mode");
    EXPECT_EQ(rec(1500).name, "Last");
    EXPECT_EQ(rec(21).name, "UNKNOWN") << "a short line must not half-fill a record";
    EXPECT_EQ(rec(0).name, "UNKNOWN") << "a line without a number must not land in record 0";
    ASSERT_EQ(dialogs.prompts.size(), 1u);
    EXPECT_TRUE(dialogs.prompts[0].text.contains("line 3: parameter number 1501 is outside"))
        << dialogs.prompts[0].text.toStdString();
}

TEST_F(DefinitionFiles, MissingAccessVarsTellsTheUserAndChangesNothing) {
    rec(104).name = "Units";
    platform::ScopedScriptedDialogs dialogs;
    const auto report = read_access_vars_def();
    EXPECT_FALSE(report.file_read);
    EXPECT_EQ(rec(104).name, "Units");
    ASSERT_EQ(dialogs.prompts.size(), 1u);
    EXPECT_TRUE(dialogs.prompts[0].text.contains("access_vars.def"));
}

TEST_F(DefinitionFiles, LineEndsAndByteOrderMarkDoNotMatter) {
    const QByteArray lines[] = {
        "// c\n104,Units,RD_WR,C_LUK16,DEC_0,ENT_5,U_NO,1,5,1,\n",
        "// c\r\n104,Units,RD_WR,C_LUK16,DEC_0,ENT_5,U_NO,1,5,1,\r\n",
        "\xEF\xBB\xBF// c\r104,Units,RD_WR,C_LUK16,DEC_0,ENT_5,U_NO,1,5,1,"};
    for (const auto& bytes : lines) {
        SCOPED_TRACE(bytes.toStdString());
        definitions_table() = DefinitionsTable{};
        write_access_vars(bytes);
        platform::ScopedScriptedDialogs dialogs;
        read_access_vars_def();
        EXPECT_TRUE(dialogs.prompts.empty());
        EXPECT_EQ(rec(104).name, "Units");
        EXPECT_EQ(rec(104).max_text, "5");
    }
}

TEST_F(DefinitionFiles, VersionFallsBackToTheNearestLowerFile) {
    write("Def205.def",
          section("SoftVer=2.0.5,SysType=2", "104,Units,,,,,0,1,5,1\r\n"
                                             "105,EmptyLevel,,,,,1,0,99,6000,OK\r\n"));
    const auto report = read_version_def(207, 2, false);
    EXPECT_EQ(report.version, 205);
    EXPECT_TRUE(report.section_found);
    EXPECT_EQ(version_section_key(205, 2), "SoftVer=2.0.5,SysType=2");
    EXPECT_EQ(version_section_short_key(205, 2), "SoftVer=2.0,SysType=2");
    EXPECT_TRUE(rec(104).present);
    EXPECT_EQ(rec(105).units_code, "U_MU");
    EXPECT_DOUBLE_EQ(rec(105).default_value, 6.0);
    EXPECT_FALSE(rec(106).present) << "parameters the section does not name are not present";
    EXPECT_TRUE(rec(19).present) << "records below P20 are not parameters of the screen";
    EXPECT_TRUE(rec(1000).present);

    EXPECT_EQ(read_version_def(204, 2, false).version, 0)
        << "a lower version must never use a higher version's file";
}

TEST_F(DefinitionFiles, ShortKeyServesEveryRevisionOfAVersion) {
    write("Def210.def",
          "// header\r\n" + section("SoftVer=2.1,SysType=3", "130,Device,,,,,0,0,2,1,OK\r\n"));
    EXPECT_TRUE(read_version_def(213, 3, false).section_found);
    EXPECT_TRUE(rec(130).present);
    EXPECT_EQ(rec(130).name, "Device");
}

TEST_F(DefinitionFiles, NoDefFileChangesNothingAtAll) {
    rec(104).present = true;
    rec(105).present = false;
    rec(857).unit_value = 3;
    rec(857).default_value = 1;
    platform::ScopedScriptedDialogs dialogs;
    const auto report = read_version_def(250, 1, true);
    EXPECT_FALSE(report.file_read);
    EXPECT_TRUE(rec(104).present);
    EXPECT_FALSE(rec(105).present);
    EXPECT_DOUBLE_EQ(rec(857).default_value, 1) << "the fix-ups belong to a file that exists";
    EXPECT_EQ(rec(610).min_text, "-999999");
    EXPECT_TRUE(dialogs.prompts.empty());
    EXPECT_FALSE(read_version_def(99, 1, false).file_read) << "versions below 100 have no file";
}

TEST_F(DefinitionFiles, FileWithoutTheSectionHidesEveryParameterButStillFixesUp) {
    write("Def205.def", section("SoftVer=2.0.5,SysType=1", "104,Units,,,,,0,1,5,1,OK\r\n"));
    rec(857).unit_value = 12.5;
    rec(858).unit_value = 7;
    const auto report = read_version_def(205, 4, false);
    EXPECT_TRUE(report.file_read);
    EXPECT_FALSE(report.section_found);
    for (int p = 20; p <= 999; ++p)
        ASSERT_FALSE(rec(p).present) << "P" << p;
    EXPECT_DOUBLE_EQ(rec(857).default_value, 12.5);
    EXPECT_DOUBLE_EQ(rec(858).default_value, 7);
}

TEST_F(DefinitionFiles, SectionEndsAtItsOkLine) {
    write("Def180.def", section("SoftVer=1.8.0,SysType=1", "104,Units,,,,,0,1,5,1\n"
                                                           "105,EmptyLevel,,,,,1,0,99,6000,OK\n"
                                                           "106,Span,,,,,1,0,99,5000\n") +
                            section("SoftVer=1.8.0,SysType=2", "107,NearBlank,,,,,1,0,9,300,OK\n"));
    read_version_def(180, 1, false);
    EXPECT_TRUE(rec(105).present) << "the closing line is a definition too";
    EXPECT_FALSE(rec(106).present);
    EXPECT_FALSE(rec(107).present) << "another system type's section leaked in";
}

TEST_F(DefinitionFiles, SectionWithoutOkStopsAtTheNextSection) {
    write("Def180.def", section("SoftVer=1.8.0,SysType=1", "104,Units,,,,,0,1,5,1\n") +
                            section("SoftVer=1.8.0,SysType=2", "107,NearBlank,,,,,1,0,9,300,OK\n"));
    platform::ScopedScriptedDialogs dialogs;
    const auto report = read_version_def(180, 1, false);
    EXPECT_TRUE(rec(104).present);
    EXPECT_FALSE(rec(107).present) << "another system type's section leaked in";
    ASSERT_EQ(report.skipped.size(), 1u);
    EXPECT_EQ(report.skipped[0].line, 4);
    EXPECT_EQ(dialogs.prompts.size(), 1u);
}

TEST_F(DefinitionFiles, SectionLinesSetUnitsLimitsAndDefaults) {
    rec(300).units_code = "U_SE";
    rec(301).units_code = "U_MU";
    write("Def205.def",
          section("SoftVer=2.0.5,SysType=1",
                  // units number 27: a length per minute, default in thousandths
                  "302,Rate,,,,,27,0,10,1500\n"
                  // another units number keeps the units of access_vars.def
                  "300,Delay,,,,,5,0,60,1500\n"
                  "301,Offset,,,,,5,-9,9,250\n"
                  // breakpoints and flow dimensions always accept -1
                  "612,LevBkp2,,,,,1,0,100,2000\n"
                  "715,Dim,,,,,0,0.5,9,1\n"
                  // outside the screen's parameters: fields are kept but it is not present
                  "12,Low,,,,,0,0,9,3\n"
                  "1200,High,,,,,0,0,9,3\n"
                  // no record to write to
                  "2000,Far,,,,,0,0,9,3\n"
                  "-5,Neg,,,,,0,0,9,3\n"
                  // too few fields
                  "303,Short,,,,0,9\n"
                  "999,Rate,,,,,0,1,3,2,OK\n"));
    rec(12).present = false;
    platform::ScopedScriptedDialogs dialogs;
    const auto report = read_version_def(205, 1, false);

    EXPECT_EQ(rec(302).units_code, "U_MU_M");
    EXPECT_DOUBLE_EQ(rec(302).default_value, 1.5);
    EXPECT_EQ(rec(300).units_code, "U_SE");
    EXPECT_DOUBLE_EQ(rec(300).default_value, 1500);
    EXPECT_EQ(rec(301).units_code, "U_MU");
    EXPECT_DOUBLE_EQ(rec(301).default_value, 0.25);
    EXPECT_EQ(rec(612).min_text, "-1");
    EXPECT_EQ(rec(612).max_text, "100");
    EXPECT_EQ(rec(612).units_code, "U_MU");
    EXPECT_DOUBLE_EQ(rec(612).default_value, 2);
    EXPECT_EQ(rec(715).min_text, "-1");
    EXPECT_EQ(rec(12).name, "Low");
    EXPECT_FALSE(rec(12).present);
    EXPECT_EQ(rec(1200).name, "High");
    EXPECT_FALSE(rec(303).present);
    EXPECT_TRUE(rec(999).present);
    EXPECT_DOUBLE_EQ(rec(999).default_value, 2);
    ASSERT_EQ(report.skipped.size(), 3u);
    EXPECT_EQ(report.skipped[0].line, 10);
    EXPECT_EQ(report.skipped[2].line, 12);
    EXPECT_EQ(dialogs.prompts.size(), 1u);
}

TEST_F(DefinitionFiles, FlowCapableUnitsGetOpenBreakpoints) {
    write("Def205.def", section("SoftVer=2.0.5,SysType=1", "610,LevBkp1,,,,,0,0,99,5000,OK\n"));
    read_version_def(205, 1, true);
    for (int p = 610; p <= 672; p += 2) {
        SCOPED_TRACE(p);
        EXPECT_DOUBLE_EQ(rec(p).default_value, -0.001);
        EXPECT_EQ(rec(p).min_text, "-1");
        EXPECT_EQ(rec(p).units_code, "U_MU");
        EXPECT_DOUBLE_EQ(rec(p + 1).default_value, -1);
        EXPECT_EQ(rec(p + 1).min_text, "-1");
        EXPECT_EQ(rec(p + 1).units_code, "U_VU");
    }
}

TEST(DefinitionsTableReset, KeepsStaticDefinitionsAndResetsTheRest) {
    definitions_table() = DefinitionsTable{};
    DefinitionRecord& r = definitions_table()[104];
    r = {"Units", 104, "Units", false,  "C_LUK16", 2,   5,    3,
         "3",     4,   1,       "U_NO", "1",       "5", true, false};
    definitions_table()[1500].text = "Last";
    definitions_table()[1500].lookup_code = "C_LUK0";
    clear_definitions_table(1500);
    EXPECT_EQ(r.text, "");
    EXPECT_EQ(r.number, 104);
    EXPECT_EQ(r.name, "UNKNOWN");
    EXPECT_TRUE(r.read_only);
    EXPECT_EQ(r.lookup_code, "C_LUK16");
    EXPECT_EQ(r.decimals, 2);
    EXPECT_EQ(r.attribute6, 5);
    EXPECT_EQ(r.unit_value, NO_VALUE);
    EXPECT_EQ(r.value_text, "");
    EXPECT_EQ(r.program_value, NO_VALUE);
    EXPECT_EQ(r.default_value, NO_VALUE);
    EXPECT_EQ(r.units_code, "");
    EXPECT_EQ(r.min_text, "-999999");
    EXPECT_EQ(r.max_text, "-999999");
    EXPECT_FALSE(r.send_failed);
    EXPECT_TRUE(r.present);
    EXPECT_EQ(definitions_table()[1500].text, "");
    EXPECT_EQ(definitions_table()[1500].lookup_code, "C_LUK0");

    r.name = "Units";
    definitions_table()[105].name = "Level";
    clear_definitions_table(104);
    EXPECT_EQ(r.name, "UNKNOWN");
    EXPECT_EQ(definitions_table()[105].name, "Level") << "records above n must stay as they are";
    clear_definitions_table(32767);
    EXPECT_EQ(definitions_table()[105].name, "UNKNOWN");
    definitions_table() = DefinitionsTable{};
}
