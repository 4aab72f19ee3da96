#include "reports/report_units.h"

#include <gtest/gtest.h>

#include <QString>

using namespace reports;

namespace {

struct FactorCase {
    const char* what;
    UnitChoice units;
    double interval;
    bool enabled;
    bool pumped;
    double expected;
};

} // namespace

TEST(ReportUnits, TotaliserFactorTurnsOneValueIntoItsShareOfTheTotal) {
    const FactorCase cases[] = {
        {"cubic metre per hour, 15 min, litres: 1/60 x 15 x 1000", {1, 2, 0}, 15, true, false, 250},
        {"daily total off is always 1", {1, 2, 3}, 15, false, false, 1},
        {"litres per second, 1 min, litres", {0, 0, 0}, 1, true, false, 60},
        {"litres per day, 1440 min, cubic metre", {0, 3, 1}, 1440, true, false, 1.0 / 1000},
        {"pumped volume keeps only the totaliser step", {4, 2, 1}, 15, true, true, 1.0 / 1000},
        {"pumped volume in litres is 1", {1, 2, 0}, 15, true, true, 1},
        {"MUS to MUS cancels, leaving interval x time factor", {5, 1, 5}, 15, true, false, 15},
        {"time index outside the list leaves the time factor 1", {0, 9, 0}, 5, true, false, 5},
        {"cubic feet per minute to UK gallons", {2, 1, 3}, 10, true, false,
         10 / (35.3146001 / 1000) * 219.9736032 / 1000},
    };
    for (const auto& c : cases)
        EXPECT_NEAR(get_totaliser_conversion(c.units, c.interval, c.enabled, c.pumped), c.expected,
                    std::abs(c.expected) * 1e-12)
            << c.what;
}

TEST(ReportUnits, ValueConversionsToLitresAndForPumpedVolume) {
    struct Case {
        UnitChoice units;
        double value, litres, pumped;
    } cases[] = {
        {{0, 0, 0}, 7, 7, 7},
        {{1, 1, 0}, 2, 2000, 2000 * 60.0},
        {{2, 2, 0}, 35.3146001, 1000, 1000 * 3600.0},
        {{3, 3, 0}, 219.9736032, 1000, 1000 * 86400.0},
        {{5, 0, 0}, 264.2007926, 1e9, 1e9},
        {{8, 8, 0}, 3, 3, 3}, // unknown indexes leave the value alone
    };
    for (const auto& c : cases) {
        EXPECT_NEAR(convert_to_litres(c.units, c.value), c.litres, c.litres * 1e-12);
        EXPECT_NEAR(convert_flow_to_totaliser_unit(c.units, c.value), c.pumped, c.pumped * 1e-12);
    }
}

TEST(ReportUnits, DailyTotalSeriesTitleDecidesMethodAndUsableUnitBoxes) {
    QString flow; // the flow channel's caption in the language in use
    auto caption = [&flow](int n) -> QString {
        switch (n) {
        case 24: return QStringLiteral("Totaliser 1");
        case 26: return QStringLiteral("Totaliser 3");
        case 28: return QStringLiteral("Pumped Volume");
        case 29: return flow;
        case 30: return QStringLiteral("Flow 2");
        default: return QStringLiteral("Channel %1").arg(n + 100);
        }
    };
    struct Case {
        const char* title;
        int method;
        bool pumped, volume, time;
        const char* flow_caption = "Flow 1";
    } cases[] = {
        {"Pumped Volume (m3)", 0, true, true, false},
        {"totaliser 1 (m3)", 1, false, false, false},
        {"Totaliser 3 Flow", 0, false, true, true}, // first group wins, "Flow" enables the boxes
        {"Flow 1 (l/s)", 2, false, true, true},
        {"Level (m)", -1, false, false, false},
        // The flow's caption in the language in use, whatever its letter case; the English word
        // still finds a title made while the program spoke English.
        {"Portata (m³/ora)", 2, false, true, true, "Portata"},
        {"DÉBIT 2 (L/sec)", 2, false, true, true, "Débit"},
        {"Durchfluss (L/sek)", 2, false, true, true, "Durchfluss"},
        {"Flow (l/s)", -1, false, true, true, "Caudal"},
        {"Livello (m)", -1, false, false, false, "Portata"},
    };
    for (const auto& c : cases) {
        flow = QString::fromUtf8(c.flow_caption);
        const FlowUnitRules r = flow_unit_rules(QString::fromUtf8(c.title), caption);
        EXPECT_EQ(std::tuple(r.preset_method, r.pumped_volume, r.volume_unit_enabled,
                             r.time_unit_enabled, r.pumped_volume_caption),
                  std::tuple(c.method, c.pumped, c.volume, c.time, c.pumped))
            << c.title;
    }
}
