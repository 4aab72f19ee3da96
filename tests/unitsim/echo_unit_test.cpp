// The simulated unit's echo side, driven directly: the echo's place and the status reads.
#include <unitsim/unit_core.h>

#include <gtest/gtest.h>

using unitsim::UnitCore;
using unitsim::UnitKind;

namespace {

// The trace kinds, their width and the echo at the surface are read through the program by the
// echo tests; here the echo's move with the level and the level's unit.
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

// Status 0 and the fourth status read are seen through the live monitor's tests.
TEST(SimulatedEcho, StatusReadsAndTheSecondStatusCode) {
    UnitCore unit(UnitKind::Cso);
    unit.echo().set_status_code(2);
    EXPECT_EQ(QList<QByteArray>({unit.handle("/p900").body, unit.handle("/m1032").body,
                                 unit.handle("/TEMP").body}),
              QList<QByteArray>({"2", "1", "21.4"}));
}

} // namespace
