// The simulated unit's command language, driven directly: what each kind of unit answers to the
// log-on, how parameters read and write, and what the unit refuses.
#include <unitsim/unit_core.h>

#include "qt_print.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

using unitsim::UnitCore;
using unitsim::UnitKind;

namespace {

QString ask(UnitCore& unit, const QString& command) {
    return QString::fromLatin1(unit.handle(command).body);
}

struct LogOnAnswers {
    UnitKind kind;
    const char* upper_who; // must contain
    const char* lower_who; // must contain
    const char* iscso;
    const char* isflow;
    const char* isvolume;
    const char* p61;
    const char* p99;
};

} // namespace

TEST(UnitCommandLanguage, EachKindAnswersTheLogOnQuestionsAsTheProgramTellsKindsApart) {
    const LogOnAnswers table[] = {
        {UnitKind::Level, "Velto", "Velto", "NO", "NO", "NO", "0", "1"},
        {UnitKind::VeltoLite, "Velto Lite", "Velto Lite", "NO", "NO", "NO", "0", "1"},
        {UnitKind::Flow, "Velto", "Velto", "NO", "OK", "NO", "1", "1"},
        {UnitKind::Volume, "Velto", "Velto", "NO", "NO", "OK", "2", "1"},
        {UnitKind::Cso, "Velto", "Comms", "OK", "NO", "NO", "0", "1"},
        {UnitKind::Quorvantix, "Quorvantix", "Quorvantix", "NO", "NO", "NO", "0", "43"},
        {UnitKind::Hesvarin, "Hesvarin", "Hesvarin", "NO", "NO", "NO", "0", "1"},
        {UnitKind::Krestel, "Krestel", "Krestel", "NO", "NO", "NO", "2", "40"},
    };
    for (const auto& row : table) {
        UnitCore unit(row.kind);
        const QString name = unitsim::kind_name(row.kind);
        EXPECT_EQ(ask(unit, "/access:318406"), "OK") << name;
        EXPECT_TRUE(ask(unit, "/WHO").contains(row.upper_who)) << name << ": " << ask(unit, "/WHO");
        EXPECT_TRUE(ask(unit, "/who").contains(row.lower_who)) << name;
        EXPECT_EQ(ask(unit, "/ISCSO"), row.iscso) << name;
        EXPECT_EQ(ask(unit, "/ISFLOW"), row.isflow) << name;
        EXPECT_EQ(ask(unit, "/ISVOLUME"), row.isvolume) << name;
        EXPECT_EQ(ask(unit, "/p61"), row.p61) << name;
        EXPECT_EQ(ask(unit, "/p99"), row.p99) << name;
        EXPECT_EQ(ask(unit, "/LOADQUICK"), "OK") << name;
        EXPECT_EQ(ask(unit, "/LOADNORM"), "OK") << name;
        // Only the identity words the program tests for, and no other kind's.
        const QString who = ask(unit, "/WHO");
        for (const char* other : {"Quorvantix", "Hesvarin", "Krestel"}) {
            if (!QString(row.upper_who).contains(other)) {
                EXPECT_FALSE(who.contains(other)) << name;
            }
        }
        EXPECT_EQ(who.contains("Velto Lite"), row.kind == UnitKind::VeltoLite) << name;
    }
}

TEST(UnitCommandLanguage, WhoRepliesCarryAVersionTheProgramCanRead) {
    for (UnitKind kind :
         {UnitKind::Level, UnitKind::Cso, UnitKind::Quorvantix, UnitKind::Krestel}) {
        UnitCore unit(kind);
        for (const QString& cmd : {QString("/WHO"), QString("/who")}) {
            const QString reply = ask(unit, cmd);
            EXPECT_TRUE(reply.startsWith('@')) << reply.toStdString();
            EXPECT_TRUE(reply.contains(QRegularExpression("V\\d\\.\\d\\d"))) << reply.toStdString();
        }
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
        const char* code;
        const char* reply;
    } table[] = {
        {"318406", "OK"},
        {"460927", "OK"},
        {"905173", "OK"},
        {"1998", "OK"}, // P922 of the
                        // catalogue
        {"123456", "NO"},
        {"", "NO"},
        {"31840", "NO"},
        {"off", "OK"},
        {"OFF", "OK"},
    };
    for (const auto& row : table)
        EXPECT_EQ(ask(unit, QString("/access:") + row.code), row.reply) << row.code;

    unit.profile().accepts_second_code = false;
    EXPECT_EQ(ask(unit, "/access:460927"), "NO") << "a unit that predates the second code";
    unit.set_value(922, 4711);
    EXPECT_EQ(ask(unit, "/access:4711"), "OK");
    EXPECT_EQ(ask(unit, "/access:1998"), "NO");
}

TEST(UnitCommandLanguage, WritesNeedAnAcceptedAccess) {
    UnitCore unit;
    EXPECT_EQ(ask(unit, "/p100:2"), "NO") << "write before log-on";
    ask(unit, "/access:318406");
    EXPECT_EQ(ask(unit, "/p100:2"), "OK");
    ask(unit, "/access:off");
    EXPECT_EQ(ask(unit, "/p100:3"), "NO") << "write after log-off";
    ask(unit, "/access:999999");
    EXPECT_EQ(ask(unit, "/p100:3"), "NO") << "write after a refused code";
    EXPECT_EQ(ask(unit, "/p100"), "2");
}

TEST(UnitCommandLanguage, SingleReadsAreInTheUnitOfP104AndTheBlockReadInMillimetres) {
    UnitCore unit;
    ask(unit, "/access:318406");
    ASSERT_EQ(ask(unit, "/p105:1.5"), "OK"); // metres: P104 is 1
    const struct {
        const char* p104;
        const char* p105;
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
        ASSERT_EQ(pv.size(), 2) << items[i].toStdString();
        const int n = pv[0].toInt();
        EXPECT_GT(n, previous) << "ascending";
        EXPECT_GE(n, 20);
        EXPECT_LE(n, 999);
        previous = n;
        EXPECT_EQ(unit.has_parameter(n) || (n >= 150 && n <= 156) || (n >= 931 && n <= 933), true);
    }
    EXPECT_TRUE(items.contains("926:2.0.5")) << "the software version as text";
}

TEST(UnitCommandLanguage, RefusesWhatTheUnitCannotTake) {
    UnitCore unit;
    ask(unit, "/access:318406");
    const struct {
        const char* command;
        const char* reply;
    } table[] = {
        {"/p104:9", "NO"}, // outside 1..5
        {"/p104:0", "NO"},
        {"/p100:abc", "NO"}, // not a number
        {"/p100:", "NO"},
        {"/p92:5", "NO"},      // read-only serial number
        {"/p926:3.0.0", "NO"}, // read-only text
        {"/p555:1", "NO"},     // no such parameter
        {"/p555", "NO"},
        {"/p10", "NO"},
        {"/p141:1", "OK"},      // level unit: switch to the
                                // board
        {"/p155:2", "NO"},      // wrapping is 0 or 1
        {"/p151:70000", "NO"},  // a mask is 16 bits
        {"/p931:321326", "NO"}, // day 32
        {"/p932:2460", "NO"},
        {"/p932:123", "NO"},
        {"/nonsense", "NO"},
        {"/m1", "NO"},
        {"/p104:2", "OK"},
        {"/p104:2.0", "OK"},
    };
    for (const auto& row : table)
        EXPECT_EQ(ask(unit, row.command), row.reply) << row.command;
    EXPECT_EQ(ask(unit, "/p104"), "2") << "refused writes changed nothing";
}

TEST(UnitCommandLanguage, HardAndFactoryDefaultsRestoreTheCatalogueValues) {
    for (const char* reset : {"/p88:1", "/p930:1"}) {
        UnitCore unit;
        ask(unit, "/access:318406");
        ask(unit, "/p100:3");
        ask(unit, "/p105:2.5");
        EXPECT_EQ(ask(unit, reset), "OK") << reset;
        EXPECT_EQ(ask(unit, "/p100"), "1") << reset;
        EXPECT_EQ(ask(unit, "/p105"), "6.000") << reset;
        EXPECT_EQ(ask(unit, "/p92"), "10234") << reset << " keeps the serial number";
    }
    UnitCore unit;
    ask(unit, "/access:318406");
    ask(unit, "/p88:1");
    ask(unit, "/p930:1");
    EXPECT_EQ(unit.hard_defaults(), 1);
    EXPECT_EQ(unit.factory_defaults(), 1);
}

TEST(UnitCommandLanguage, TheLogBoardIsReachedAndLeftAsEachKindExpects) {
    {
        UnitCore lite(UnitKind::VeltoLite);
        ask(lite, "/access:318406");
        EXPECT_EQ(ask(lite, "/p141:1"), "OK");
        EXPECT_TRUE(ask(lite, "/who").contains("Comms"));
        EXPECT_TRUE(ask(lite, "/WHO").contains("Comms")) << "the board answers while bridged";
        EXPECT_FALSE(lite.handle(QString(QChar(20))).answered) << "the exit byte has no reply";
        EXPECT_TRUE(ask(lite, "/WHO").contains("Velto Lite"));
    }
    {
        UnitCore hesvarin(UnitKind::Hesvarin);
        EXPECT_EQ(ask(hesvarin, "/comtalk"), "OK");
        EXPECT_TRUE(ask(hesvarin, "/who").contains("Comms"));
        hesvarin.handle(QString(QChar(20)));
        EXPECT_TRUE(ask(hesvarin, "/who").contains("Hesvarin"));
    }
    for (UnitKind kind : {UnitKind::Krestel, UnitKind::Quorvantix, UnitKind::Cso}) {
        UnitCore unit(kind);
        ask(unit, "/access:318406");
        EXPECT_EQ(ask(unit, "/p141:1"), "NO") << "no separate board";
        EXPECT_EQ(ask(unit, "/comtalk"), "NO");
    }
    UnitCore level;
    EXPECT_EQ(ask(level, "/comtalk"), "NO");
    EXPECT_EQ(ask(level, "/p141:1"), "NO") << "not logged on";
}

TEST(UnitCommandLanguage, BootloadIsAcceptedAfterLogOn) {
    UnitCore unit;
    EXPECT_EQ(ask(unit, "/BOOTLOAD"), "NO");
    ask(unit, "/access:318406");
    EXPECT_EQ(ask(unit, "/BOOTLOAD"), "OK");
    EXPECT_TRUE(unit.in_bootloader());
}

TEST(UnitCommandLanguage, TheInteractiveWindowsFourDigitTimeAndCodesAreTaken) {
    UnitCore unit;
    ask(unit, "/access:318406");
    EXPECT_EQ(ask(unit, "/p996:0005"), "OK");
    EXPECT_EQ(ask(unit, "/p996"), "5");
    EXPECT_EQ(ask(unit, "/p932:0007"), "OK");
    EXPECT_EQ(ask(unit, "/p932"), "0007");
}
