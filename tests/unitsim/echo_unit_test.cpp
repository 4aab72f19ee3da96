// The simulated unit's echo side, driven directly: trace lines of the width the program reads,
// an echo at the surface, the status reads and the trace mistakes a test can ask for.
#include <unitsim/unit_core.h>

#include <gtest/gtest.h>

using unitsim::UnitCore;
using unitsim::UnitKind;

namespace {

TEST(SimulatedEcho, EachTraceCommandAnswersAFixedWidthLineWithItsLetter) {
    UnitCore unit(UnitKind::Cso);
    unit.echo().set_level_mm(2000);
    unit.echo().set_sample_count(750);
    const struct {
        const char* command;
        char letter;
    } kinds[] = {{"/ECHORAW1", 'A'}, {"/echonorm1", 'B'}, {"/ECHOAVERAGE1", 'D'},
                 {"/ECHOKOVEX1", 'C'}};
    for (const auto& k : kinds) {
        const QByteArray line = unit.handle(k.command).body;
        ASSERT_EQ(line.size(), 19 + 3 * 750) << k.command;
        EXPECT_EQ(line[0], '$');
        EXPECT_EQ(line[1], k.letter);
        EXPECT_EQ(line.mid(2, 5), "100.0") << "6 m empty distance over 750 samples";
        EXPECT_EQ(line.mid(11, 4), " 400") << "the middle gate bar sits at the surface, 4 m out";
    }
}

TEST(SimulatedEcho, TheEchoFollowsTheLevel) {
    UnitCore unit(UnitKind::Level);
    unit.echo().set_sample_count(750);
    auto peak_sample = [&] {
        const QByteArray line = unit.handle("/ECHORAW1").body;
        int best = 0, at = 0;
        for (int i = 150; i < 700; ++i) { // past the ring-down, before the multiple echo
            const int v = line.mid(19 + 3 * i, 3).trimmed().toInt();
            if (v > best)
                best = v, at = i;
        }
        return at;
    };
    unit.echo().set_level_mm(1000);
    EXPECT_NEAR(peak_sample(), 500, 2);
    unit.echo().set_level_mm(3000);
    EXPECT_NEAR(peak_sample(), 300, 2);
    EXPECT_EQ(unit.handle("/LEVEL").body, "3.000");
    unit.set_value(104, 2); // centimetres
    EXPECT_EQ(unit.handle("/LEVEL").body, "300.000");
}

TEST(SimulatedEcho, StatusReadsAndTheSecondStatusCode) {
    UnitCore unit(UnitKind::Cso);
    const struct {
        int code;
        const char* p900;
        const char* m1032;
    } cases[] = {{0, "0", "3"}, {1, "1", "2"}, {2, "2", "1"}, {3, "3", "0"}};
    for (const auto& c : cases) {
        unit.echo().set_status_code(c.code);
        EXPECT_EQ(unit.handle("/p900").body, c.p900);
        EXPECT_EQ(unit.handle("/m1032").body, c.m1032);
    }
    EXPECT_EQ(unit.handle("/p902").body, "4.5");
    EXPECT_EQ(unit.handle("/TEMP").body, "21.4");
}

TEST(SimulatedEcho, TraceMistakesOnRequest) {
    UnitCore unit(UnitKind::Cso);
    unit.echo().set_sample_count(10);
    unit.echo().set_ok_for_trace(true);
    EXPECT_EQ(unit.handle("/ECHORAW1").body, "OK");
    unit.echo().reset_misbehaviour();
    unit.echo().set_trace_prefix("E12 ");
    EXPECT_TRUE(unit.handle("/ECHORAW1").body.startsWith("E12 $A"));
    unit.echo().reset_misbehaviour();
    unit.echo().set_sample_count(7000);
    EXPECT_EQ(unit.handle("/ECHOKOVEX1").body.size(), 19 + 3 * 7000);
}

} // namespace
