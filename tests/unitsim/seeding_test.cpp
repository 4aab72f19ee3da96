// Where the unit's parameters come from: the program's definition files (so that catalogue and
// unit agree), the built-in catalogue, and a parameter file.
#include <unitsim/definitions.h>

#include "fields.h"
#include "test_files.h"
#include "unit_test_support.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using unitsim::UnitCore;
using unitsim::UnitKind;

namespace {

void write(const QString& path, const QString& text) {
    testfiles::write_bytes(path, text.toLatin1());
}

const char* access_vars = "// a comment line, then a blank line and a short one\n"
                          "\n"
                          "17,short,\n"
                          "20,{ Mode },RD_WR,C_LUK1,DEC_0,ENT_4,U_NONE,0,3,2,\n"
                          "21, Spaced,RD_ON,C_NUM,DEC_0,ENT_0,U_NONE,0,9,0,\n"
                          "99,{System},RD_ON,C_NUM,DEC_0,ENT_0,U_NONE,1,99,1,\n"
                          "104,{Units},RD_WR,C_NUM,DEC_0,ENT_0,U_NONE,1,5,1,\n"
                          "105,{Empty},RD_WR,C_NUM,DEC_3,ENT_0,U_MU,0,60,1500,\n"
                          "106,{Span},RD_WR,C_NUM,DEC_3,ENT_0,U_NONE,0,60,4000,\n"
                          "300,{Not in section},RD_WR,C_NUM,DEC_0,ENT_0,U_NONE,0,9,7,\n"
                          "1600,{Out of range},RD_WR,C_NUM,DEC_0,ENT_0,U_NONE,0,9,7,\n";

const char* def203 = "SoftVer=2.0,SysType=1\n"
                     "heading line\n"
                     "20,Mode,0,0,0,0,0,0,3,1\n"
                     "99,System,0,0,0,0,0,1,99,1\n"
                     "104,Units,0,0,0,0,0,1,5,1\n"
                     "105,Empty,0,0,0,0,1,0,60,2500\n"
                     "106,Span,0,0,0,0,27,0,60,3000 OK\n"
                     "300,After the end,0,0,0,0,0,0,9,7\n";

} // namespace

TEST(UnitSeeding, TheDefinitionFilesGiveTheUnitsParametersAndDefaults) {
    QTemporaryDir dir;
    write(dir.filePath("access_vars.def"), access_vars);
    // The unit is version 2.0.5: the reader goes down to the Def203.def that exists.
    write(dir.filePath("Def203.def"), def203);
    UnitCore unit;
    QString error;
    ASSERT_TRUE(unit.set_definitions_folder(dir.path(), &error)) << error;
    EXPECT_EQ(unit.definitions().version_used, 203);
    EXPECT_TRUE(unit.definitions().section_found);

    ask(unit, "/access:318406");
    // The section's default wins; 2500 thousandths read in metres; units number 27 makes P106 a
    // length; P300 is not in the section; a line without ten fields is skipped.
    EXPECT_EQ(QStringList({ask(unit, "/p20"), ask(unit, "/p105"), ask(unit, "/p106"),
                           ask(unit, "/p300"), ask(unit, "/p21"), ask(unit, "/p17")}),
              QStringList({"1", "2.500", "3.000", "NO", "NO", "NO"}));
    const auto catalogue = unitsim::parse_access_vars(access_vars);
    EXPECT_EQ(fields(catalogue.at(20).name, catalogue.at(21).name, catalogue.at(21).read_only,
                     catalogue.count(1600)),
              fields("Mode", " Spaced", true, 0)); // braces go; 1600 is out of range
    const QString sendall = ask(unit, "/sendall");
    EXPECT_TRUE(sendall.contains(",105:2500,") && sendall.contains(",106:3000,") &&
                !sendall.contains(",300:"))
        << sendall;
}

TEST(UnitSeeding, WithoutAMatchingSectionEveryCataloguedParameterStays) {
    QTemporaryDir dir;
    write(dir.filePath("access_vars.def"), access_vars);
    write(dir.filePath("Def205.def"),
          "SoftVer=2.0.5,SysType=9\nheading\n20,Mode,0,0,0,0,0,0,3,1 OK\n");
    UnitCore unit;
    ASSERT_TRUE(unit.set_definitions_folder(dir.path()));
    EXPECT_FALSE(unit.definitions().section_found);
    EXPECT_EQ(ask(unit, "/p300") + " " + ask(unit, "/p105"), "7 1.500");
}

TEST(UnitSeeding, TheBuiltInCatalogueReadsLikeAFolderOnDisk) {
    QTemporaryDir dir;
    write(dir.filePath("access_vars.def"), unitsim::builtin_access_vars_text());
    write(dir.filePath(QString("Def%1.def").arg(unitsim::builtin_version_def_number())),
          unitsim::builtin_version_def_text());
    for (UnitKind kind : {UnitKind::Level, UnitKind::Krestel, UnitKind::Quorvantix}) {
        UnitCore from_disk(kind), built_in(kind);
        ASSERT_TRUE(from_disk.set_definitions_folder(dir.path()));
        EXPECT_TRUE(from_disk.definitions().section_found) << unitsim::kind_name(kind);
        EXPECT_EQ(ask(from_disk, "/sendall"), ask(built_in, "/sendall"))
            << unitsim::kind_name(kind);
    }
}

TEST(UnitSeeding, ABrokenParameterFileChangesNothing) {
    QTemporaryDir dir;
    const QString path = dir.filePath("short.par");
    write(path, "1,2,3,");
    UnitCore unit;
    QString error;
    EXPECT_FALSE(unit.load_parameter_file(path, &error));
    EXPECT_TRUE(error.contains("980")) << error;
    EXPECT_EQ(ask(unit, "/p20"), "1");
    EXPECT_FALSE(unit.load_parameter_file(dir.filePath("missing.par"), &error));
}

TEST(UnitSeeding, VersionNumbersAreReadAsTheProgramReadsThem) {
    const struct {
        const char* text;
        int number;
    } table[] = {{"2.0.5", 205}, {"1.9", 19000}, {"Prot.1.0.2", 102}, {"2.05b", 999}};
    for (const auto& row : table)
        EXPECT_EQ(unitsim::version_to_number(row.text), row.number) << row.text;
}

// The one number rule behind the definitions' limits and the log's interval: a limit too large for
// a whole 64-bit number still reads back as a number.
TEST(UnitNumberText, WritesNumbersAsTheUnitDoes) {
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {-3, "-3"},
        {0.125, "0.125"},
        {1.0 / 3, "0.333333"},
        {1e20, "100000000000000000000"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(unitsim::number_text(c.value), QString::fromLatin1(c.text)) << c.value;
}

TEST(UnitSeeding, AParameterFileSetsValuesInItsOwnLengthUnit) {
    QStringList fields;
    for (int n = 20; n <= 999; ++n)
        fields << "-999999";
    fields[100 - 20] = "3";
    fields[104 - 20] = "2";   // centimetres
    fields[105 - 20] = "250"; // 2.5 m
    fields[106 - 20] = "NO";
    fields[930 - 20] = "";
    QTemporaryDir dir;
    const QString path = dir.filePath("unit.par");
    write(path, fields.join(',') + ',');

    UnitCore unit;
    QString error;
    ASSERT_TRUE(unit.load_parameter_file(path, &error)) << error;
    // P106: the file says the unit lacks it; P101: untouched by -999999.
    EXPECT_EQ(QStringList({ask(unit, "/p100"), ask(unit, "/p104"), ask(unit, "/p105"),
                           ask(unit, "/p106"), ask(unit, "/p101")}),
              QStringList({"3", "2", "250.000", "NO", "2"}));
    EXPECT_TRUE(ask(unit, "/sendall").contains(",105:2500,"));

    // The file stays the unit's seed when the kind changes.
    unit.set_kind(UnitKind::Flow);
    EXPECT_EQ(ask(unit, "/p100"), "3");
}
