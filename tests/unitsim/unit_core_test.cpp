// The simulated unit's command language, driven directly: what each kind of unit answers to the
// log-on, how parameters read and write, and what the unit refuses.
#include "unit_test_support.h"

#include <QRegularExpression>

using unitsim::UnitCore;
using unitsim::UnitKind;

TEST(UnitCommandLanguage, AccessAcceptsTheStoredCodesAndTheUnitsOwnPasscodeOnly) {
    UnitCore unit;
    const struct {
        const char *code, *reply;
    } table[] = {
        {"1998", "OK"}, {"", "NO"}, {"31840", "NO"}, {"OFF", "OK"}, // 1998: P922
    };
    for (const auto& row : table)
        EXPECT_EQ(ask(unit, QString("/access:") + row.code), row.reply) << row.code;

    unit.profile().accepts_second_code = false;
    EXPECT_EQ(ask(unit, "/access:460927"), "NO") << "a unit that predates the second code";
    unit.set_value(922, 4711);
    EXPECT_EQ(ask(unit, "/access:4711"), "OK");
    EXPECT_EQ(ask(unit, "/access:1998"), "NO");
}

TEST(UnitCommandLanguage, WritesAndBootloadNeedAnAcceptedAccess) {
    UnitCore unit;
    // Before the log-on, after it, after the log-off and after a refused code.
    QStringList replies;
    for (const char* command : {"/p100:2", "/BOOTLOAD", "/access:318406", "/p100:2", "/access:off",
                                "/p100:3", "/access:999999", "/p100:3", "/p100"})
        replies << ask(unit, command);
    EXPECT_EQ(replies, QStringList({"NO", "NO", "OK", "OK", "OK", "NO", "NO", "NO", "2"}));
    EXPECT_FALSE(unit.in_bootloader());
    ask(unit, "/access:318406");
    EXPECT_EQ(ask(unit, "/BOOTLOAD"), "OK");
    EXPECT_TRUE(unit.in_bootloader());
}

TEST(UnitCommandLanguage, SingleReadsAreInTheUnitOfP104AndTheBlockReadInMillimetres) {
    UnitCore unit;
    ask(unit, "/access:318406");
    ASSERT_EQ(ask(unit, "/p105:1.5"), "OK"); // metres: P104 is 1
    const struct {
        const char *p104, *p105;
    } table[] = {{"2", "150.000"}, {"4", "4.921"}, {"5", "59.055"}};
    for (const auto& row : table) {
        ASSERT_EQ(ask(unit, QString("/p104:") + row.p104), "OK");
        EXPECT_EQ(ask(unit, "/p105"), row.p105) << "P104 " << row.p104;
        EXPECT_TRUE(ask(unit, "/sendall").contains(",105:1500,")) << "P104 " << row.p104;
    }
    // A length written in feet is kept as the same distance.
    ask(unit, "/p104:4");
    ASSERT_EQ(ask(unit, "/p106:10"), "OK");
    ask(unit, "/p104:3");
    EXPECT_EQ(ask(unit, "/p106"), "3048.000");
}

TEST(UnitCommandLanguage, WritesAreTakenOrRefusedAsTheUnitWould) {
    // Refused: P104 outside 1..5, values that are no number, read-only parameters, parameters the
    // unit lacks, wrapping other than 0 or 1, a mask past 16 bits or below 0 or with a fraction, a
    // log interval that is no whole number of minutes up to 1440 (0 stops the logging), day
    // 32, hour 24. Taken: the level unit's way to its board and the interactive window's
    // four-digit time and codes.
    UnitCore unit;
    ask(unit, "/access:318406");
    const struct {
        const char *command, *reply;
    } table[] = {
        {"/p104:6", "NO"},     {"/p104:0", "NO"},     {"/p100:abc", "NO"},    {"/p100:", "NO"},
        {"/p92:5", "NO"},      {"/p555:1", "NO"},     {"/p10", "NO"},         {"/p141:1", "OK"},
        {"/p155:2", "NO"},     {"/p151:65536", "NO"}, {"/p931:321326", "NO"}, {"/p932:2460", "NO"},
        {"/p932:123", "NO"},   {"/nonsense", "NO"},   {"/p104:2.0", "OK"},    {"/p104", "2"},
        {"/p932:0007", "OK"},  {"/p932", "0007"},     {"/p151:-1", "NO"},     {"/p152:1.5", "NO"},
        {"/p153:65535", "OK"}, {"/p154:0", "OK"},     {"/p154:-1", "NO"},     {"/p154:2.5", "NO"},
        {"/p154:1441", "NO"},  {"/p154:1", "OK"},     {"/p154:1440", "OK"},   {"/p154", "1440"},
    };
    for (const auto& row : table)
        EXPECT_EQ(ask(unit, row.command), row.reply) << row.command;
}

TEST(UnitCommandLanguage, HardAndFactoryDefaultsRestoreTheCatalogueValues) {
    for (const char* reset : {"/p88:1", "/p930:1"}) {
        UnitCore unit;
        for (const char* command : {"/access:318406", "/p100:3", "/p105:2.5"})
            ask(unit, command);
        // The serial number is kept.
        EXPECT_EQ(QStringList({ask(unit, reset), ask(unit, "/p100"), ask(unit, "/p105"),
                               ask(unit, "/p92")}),
                  QStringList({"OK", "1", "6.000", "10234"}))
            << reset;
        EXPECT_EQ(std::tuple(unit.hard_defaults(), unit.factory_defaults()),
                  std::tuple(QString(reset) == "/p88:1", QString(reset) == "/p930:1"))
            << reset;
    }
}

TEST(UnitCommandLanguage, TheLogBoardIsReachedAndLeftAsEachKindExpects) {
    // The ways that exist are driven through the program's log-on to the logging board.
    for (UnitKind kind : {UnitKind::Krestel, UnitKind::Quorvantix, UnitKind::Cso}) {
        UnitCore unit(kind);
        ask(unit, "/access:318406");
        EXPECT_EQ(ask(unit, "/p141:1") + ask(unit, "/comtalk"), "NONO") << "no separate board";
    }
    UnitCore level;
    EXPECT_EQ(ask(level, "/comtalk") + ask(level, "/p141:1"), "NONO") << "not logged on";
}
