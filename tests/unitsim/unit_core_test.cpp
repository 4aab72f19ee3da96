// The simulated unit's command language, driven directly: what each kind of unit answers to the
// log-on, how parameters read and write, and what the unit refuses.
#include "unit_test_support.h"

#include <QRegularExpression>

using unitsim::UnitCore;
using unitsim::UnitKind;

TEST(UnitCommandLanguage, EachKindAnswersTheLogOnQuestionsAsTheProgramTellsKindsApart) {
    const struct {
        UnitKind kind;
        const char *upper_who, *lower_who; // must contain
        const char *iscso, *isflow, *isvolume, *p61, *p99;
    } table[] = {
        {UnitKind::Level, "Velto", "Velto", "NO", "NO", "NO", "0", "1"},
        {UnitKind::VeltoLite, "Velto Lite", "Velto Lite", "NO", "NO", "NO", "0", "1"},
        {UnitKind::Flow, "Velto", "Velto", "NO", "OK", "NO", "1", "1"},
        {UnitKind::Volume, "Velto", "Velto", "NO", "NO", "OK", "2", "1"},
        {UnitKind::Cso, "Velto", "Comms", "OK", "NO", "NO", "0", "1"},
        {UnitKind::Quorvantix, "Quorvantix", "Quorvantix", "NO", "NO", "NO", "0", "2"},
        {UnitKind::Hesvarin, "Hesvarin", "Hesvarin", "NO", "NO", "NO", "0", "1"},
        {UnitKind::Krestel, "Krestel", "Krestel", "NO", "NO", "NO", "2", "3"},
    };
    for (const auto& row : table) {
        UnitCore unit(row.kind);
        const QString name = unitsim::kind_name(row.kind);
        EXPECT_EQ(ask(unit, "/access:318406"), "OK") << name;
        const QString who = ask(unit, "/WHO"), lower_who = ask(unit, "/who");
        EXPECT_TRUE(who.contains(row.upper_who)) << name << ": " << who;
        EXPECT_TRUE(lower_who.contains(row.lower_who)) << name << ": " << lower_who;
        for (const QString& reply : {who, lower_who})
            EXPECT_TRUE(reply.contains(QRegularExpression("^@.*V\\d\\.\\d\\d")))
                << reply << ": no version the program can read";
        // Only the identity words the program tests for, and no other kind's.
        for (const char* word : {"Quorvantix", "Hesvarin", "Krestel", "Velto Lite"})
            EXPECT_EQ(who.contains(word), QString(row.upper_who).contains(word)) << who;
        EXPECT_EQ(QStringList({ask(unit, "/ISCSO"), ask(unit, "/ISFLOW"), ask(unit, "/ISVOLUME"),
                               ask(unit, "/p61"), ask(unit, "/p99"), ask(unit, "/LOADQUICK"),
                               ask(unit, "/LOADNORM")}),
                  QStringList({row.iscso, row.isflow, row.isvolume, row.p61, row.p99, "OK", "OK"}))
            << name;
    }
}

TEST(UnitCommandLanguage, CommandsMatchWithoutRegardToCase) {
    UnitCore unit(UnitKind::Flow);
    const char* pairs[][2] = {
        {"/access:318406", "/ACCESS:318406"},
        {"/loadquick", "/LoadQuick"},
        {"/isflow", "/IsFlow"},
        {"/p104", "/P104"},
        {"/loginfo", "/LogInfo"},
        {"/m99", "/M99"},
        {"/sendall", "/SENDALL"},
        {"/access:off", "/ACCESS:OFF"},
    };
    for (const auto& pair : pairs)
        EXPECT_EQ(ask(unit, pair[0]), ask(unit, pair[1])) << pair[0] << " vs " << pair[1];
    EXPECT_EQ(ask(unit, "/IsFlow"), "OK");
}

TEST(UnitCommandLanguage, AccessAcceptsTheStoredCodesAndTheUnitsOwnPasscodeOnly) {
    UnitCore unit;
    const struct {
        const char *code, *reply;
    } table[] = {
        {"318406", "OK"}, {"460927", "OK"}, {"905173", "OK"}, {"1998", "OK"}, // P922
        {"123456", "NO"}, {"", "NO"},       {"31840", "NO"},  {"off", "OK"},  {"OFF", "OK"},
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
    } table[] = {
        {"1", "1.500"}, {"2", "150.000"}, {"3", "1500.000"}, {"4", "4.921"}, {"5", "59.055"}};
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

TEST(UnitCommandLanguage, SendallIsOneLineOfNumberValuePairsBetweenTwoNonParameterItems) {
    UnitCore unit;
    const QStringList items = ask(unit, "/sendall").split(',');
    ASSERT_GE(items.size(), 3);
    EXPECT_FALSE(items.front().contains(':'));
    EXPECT_FALSE(items.back().contains(':'));
    int previous = 0;
    for (int i = 1; i < items.size() - 1; ++i) {
        const QStringList pv = items[i].split(':');
        ASSERT_EQ(pv.size(), 2) << items[i];
        const int n = pv[0].toInt();
        EXPECT_GT(n, previous) << "ascending";
        EXPECT_TRUE(unit.has_parameter(n) || (n >= 150 && n <= 156) || (n >= 931 && n <= 933)) << n;
        previous = n;
    }
    EXPECT_GE(items[1].section(':', 0, 0).toInt(), 20);
    EXPECT_LE(previous, 999);
    EXPECT_TRUE(items.contains("926:2.0.5")) << "the software version as text";
}

TEST(UnitCommandLanguage, WritesAreTakenOrRefusedAsTheUnitWould) {
    // Refused: P104 outside 1..5, values that are no number, read-only parameters, parameters the
    // unit lacks, wrapping other than 0 or 1, a mask past 16 bits, day 32, hour 24. Taken: the
    // level unit's way to its board and the interactive window's four-digit time and codes.
    UnitCore unit;
    ask(unit, "/access:318406");
    const struct {
        const char *command, *reply;
    } table[] = {
        {"/p104:9", "NO"},      {"/p104:0", "NO"},     {"/p100:abc", "NO"}, {"/p100:", "NO"},
        {"/p92:5", "NO"},       {"/p926:3.0.0", "NO"}, {"/p555:1", "NO"},   {"/p555", "NO"},
        {"/p10", "NO"},         {"/p141:1", "OK"},     {"/p155:2", "NO"},   {"/p151:70000", "NO"},
        {"/p931:321326", "NO"}, {"/p932:2460", "NO"},  {"/p932:123", "NO"}, {"/nonsense", "NO"},
        {"/m1", "NO"},          {"/p104:2.0", "OK"},   {"/p104", "2"},      {"/p996:0005", "OK"},
        {"/p996", "5"},         {"/p932:0007", "OK"},  {"/p932", "0007"},
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
    // The Lite's way through "/p141:1" and the exit byte is driven over a pseudo-terminal.
    UnitCore hesvarin(UnitKind::Hesvarin);
    EXPECT_TRUE(ask(hesvarin, "/comtalk") == "OK" && ask(hesvarin, "/who").contains("Comms"));
    hesvarin.handle(QString(QChar(20)));
    EXPECT_TRUE(ask(hesvarin, "/who").contains("Hesvarin"));

    for (UnitKind kind : {UnitKind::Krestel, UnitKind::Quorvantix, UnitKind::Cso}) {
        UnitCore unit(kind);
        ask(unit, "/access:318406");
        EXPECT_EQ(ask(unit, "/p141:1") + ask(unit, "/comtalk"), "NONO") << "no separate board";
    }
    UnitCore level;
    EXPECT_EQ(ask(level, "/comtalk") + ask(level, "/p141:1"), "NONO") << "not logged on";
}
