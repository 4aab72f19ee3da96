// The unit's record of parameter writes, its limits for lengths, and the firmware version it can
// be told to report: what the parameter upload's tests and a user trying the one-by-one read by
// hand rely on.
#include "unit_test_support.h"

using namespace unitsim;

TEST(UnitParameterWrites, EveryWriteIsLoggedWithItsAnswerAndMode) {
    UnitCore unit;
    // The first before the access, the third past the catalogue's limit: both refused.
    for (const char* command : {"/p41:5", "/access:318406", "/LOADQUICK", "/p41:30", "/p41:99999",
                                "/LOADNORM", "/p104:3"})
        ask(unit, command);
    ASSERT_EQ(unit.writes().size(), 4u);
    const struct {
        int number;
        const char* text;
        bool accepted, quick;
    } expected[] = {{41, "5", false, false},
                    {41, "30", true, true},
                    {41, "99999", false, true},
                    {104, "3", true, false}};
    for (size_t i = 0; i < 4; ++i) {
        const WriteRecord& w = unit.writes()[i];
        EXPECT_EQ(std::tuple(w.number, w.value_text, w.accepted, w.quick_mode),
                  std::tuple(expected[i].number, QString(expected[i].text), expected[i].accepted,
                             expected[i].quick))
            << i;
    }
    EXPECT_EQ(unit.accepted_write_numbers(), (std::vector<int>{41, 104}));
    unit.clear_writes();
    EXPECT_TRUE(unit.writes().empty());
}

TEST(UnitParameterWrites, LengthsAreLimitedInTheUnitOfP104) {
    UnitCore unit;
    ask(unit, "/access:318406");
    // The built-in Empty Distance allows 0..60 in the display unit.
    EXPECT_EQ(QStringList({ask(unit, "/p105:61"), ask(unit, "/p105:-1"), ask(unit, "/p105:6.5")}),
              QStringList({"NO", "NO", "OK"}));
    EXPECT_EQ(unit.value(105), 6500.0) << "kept in millimetres";
}

TEST(UnitParameterWrites, TheReportedFirmwareVersionCanBeChosen) {
    const struct {
        const char* before;
        const char* version;
        const char* after;
    } cases[] = {
        {"@Comms CSO Logger V1.92", "1.9", "@Comms CSO Logger V1.9"},
        {"@Unit", "1.80", "@Unit V1.80"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(version_reply_text(c.before, c.version), c.after) << c.before;

    UnitCore unit(UnitKind::Level);
    apply_version_reply(unit.profile(), "1.80");
    unit.reseed();
    EXPECT_EQ(ask(unit, "/who"), "@Velto Level V1.80");
    EXPECT_EQ(ask(unit, "/p926"), "1.8.0") << "the unit's software follows";
}
