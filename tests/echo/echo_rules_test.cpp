// The echo display's arithmetic: the live tick's countdowns, the axes, gate and bands, the
// status box, the temperature range and where the read-outs sit.
#include "echo/echo_rules.h"

#include "platform/vb.h"
#include "shell/definitions_table.h"
#include "shell/shell_state.h"

#include <gtest/gtest.h>

namespace {

// The ticks (from 1) on which each kind is due over `ticks` ticks, starting with every
// countdown at 0 as a live start leaves them.
std::array<std::vector<int>, 4> schedule(std::array<int16_t, 4> interval, int ticks) {
    std::array<int16_t, 4> countdown{};
    std::array<std::vector<int>, 4> due_at;
    for (int t = 1; t <= ticks; ++t) {
        const auto due = count_down(countdown);
        for (size_t k = 0; k < 4; ++k)
            if (due[k]) {
                due_at[k].push_back(t);
                countdown[k] = interval[k];
            }
    }
    return due_at;
}

// Longer intervals run end to end in
// LiveMonitorTest.TicksFollowEachKindsIntervalOnTheProgramClock.
TEST(EchoTickSchedule, IntervalsOfOneAndZeroAreEveryTickAndAnyDueSeesOneKind) {
    const auto s = schedule({20, 20, 1, 0}, 4);
    EXPECT_EQ(s[2], (std::vector<int>{1, 2, 3, 4})) << "interval 1 is every tick";
    EXPECT_EQ(s[3], (std::vector<int>{1, 2, 3, 4})) << "interval 0 is every tick";
    std::array<int16_t, 4> countdown{2, 3, 5, 9};
    EXPECT_FALSE(any_due(count_down(countdown))) << "a kind fell due between reloads";
    EXPECT_TRUE(any_due(count_down(countdown)));
    // Half ticks go to the even neighbour; an interval that does not fit keeps the old one.
    EXPECT_EQ(std::tuple(interval_ticks(7.5, 3), interval_ticks(6.5, 3), interval_ticks(1e9, 3)),
              std::tuple(8, 6, 3));
}

// The bottom axis end and the gate bars' distances are drawn in EchoDisplayTest.ATraceResets...
// and EchoDisplayTest.GateBarsAndTheRangeBoxesBands.

TEST(EchoSpanBands, BandsFollowTheEmptyLevelBlankingAndAxisEnd) {
    const struct {
        std::array<double, 4> span;
        bool drawn;
        std::optional<Band> near;
        Band far, beyond;
    } cases[] = {
        {{2.5, 2, 0.3, 20}, true, Band{0, 0.3}, {2.5, 3.0}, {3.0, 8}},
        {{2.5, 2, 0, 20}, true, std::nullopt, {2.5, 3.0}, {3.0, 8}},
        {{6, 5, -1, 0}, true, std::nullopt, {6, 6}, {6, 8}},
        {{-2, 1, 0.5, 0}, true, Band{0, 0.5}, {-2, -2}, {-2, 8}},
        {{0, 5, 0.3, 0}, false, {}, {}, {}},
        {{6, 0, 0.3, 0}, false, {}, {}, {}},
    };
    for (const auto& c : cases) {
        const auto b = span_bands(c.span, 8);
        ASSERT_EQ(b.has_value(), c.drawn) << c.span[0] << "," << c.span[1];
        if (!b)
            continue;
        EXPECT_EQ(std::tuple(b->near_blank, b->far_blank.start, b->far_blank.end, b->beyond.start,
                             b->beyond.end),
                  std::tuple(c.near, c.far.start, c.far.end, c.beyond.start, c.beyond.end))
            << c.span[0] << "," << c.span[1];
    }
}

class EchoStatusBox : public ::testing::Test {
protected:
    void SetUp() override {
        reset_shell_state();
        platform::number_separators() = {};
        const char* words[4] = {"Running", "Lost Echo", "Fail-Safe", "Fault"};
        for (int i = 0; i < 4; ++i)
            definitions_table()[static_cast<size_t>(1374 + i)].text = words[i];
        const char* labels[8] = {"Status", "Distance", "Level", "Confidence", "Strength",
                                 "Avg Noise", "Peak Noise", "Temperature"};
        for (int i = 0; i < 8; ++i)
            shell().status_label_texts[static_cast<size_t>(i)] =
                QStringLiteral(" %1 = ").arg(labels[i]);
    }
    void TearDown() override {
        for (int i = 0; i < 4; ++i)
            definitions_table()[static_cast<size_t>(1374 + i)].text.clear();
    }
};

TEST_F(EchoStatusBox, WordsFollowTheExactCodeAndAMissingParameterIsNotFound) {
    const struct {
        double code;
        const char* text;
        const char* word;
    } cases[] = {{0, "0", "Running"},
                 {3, "3", "Fault"},
                 {1.5, "1.5", ""},
                 {4, "4", ""},
                 {2, "NO", "Not Found"}};
    for (const auto& c : cases)
        EXPECT_EQ(status_word(c.code, c.text), QLatin1String(c.word)) << c.code << c.text;
}

TEST_F(EchoStatusBox, RunningShowsEightLinesOtherWordsOne) {
    StatusValues v;
    v.distance = 1.5;
    v.level = 4.25;
    v.confidence = "78";
    v.strength = "45";
    v.average_noise = "12";
    v.peak_noise = "34";
    v.temperature = "21.4";
    EXPECT_EQ(status_box_text("Running", v),
              " Status = Running\r\n Distance = 1.500\r\n Level = 4.250\r\n Confidence = 78\r\n"
              " Strength = 45\r\n Avg Noise = 12\r\n Peak Noise = 34\r\n Temperature = 21.4");
    EXPECT_EQ(status_box_text("Fail-Safe", v), " Status = Fail-Safe\r\n");
}

TEST(EchoTemperature, TheRangeGrowsByTensFromTheLiveStartValues) {
    const struct {
        std::vector<double> readings;
        double axis_min, axis_max;
    } cases[] = {
        {{23.4, 27.9, 31.0}, 10, 40}, {{50}, 30, 60}, {{-20}, -30, 0}, {{-3}, -20, 0}, {{0}, 30, 0},
    };
    for (const auto& c : cases) {
        TemperatureRange r{40, -10};
        for (double t : c.readings)
            r = *next_temperature_range(r, t);
        EXPECT_EQ(temperature_axis(r), std::pair(c.axis_min, c.axis_max)) << c.readings[0];
    }
    EXPECT_FALSE(next_temperature_range({40, -10}, 1e6).has_value())
        << "a reading beyond 16 bits must be dropped, not wrap";
}

TEST(EchoReadouts, SmallChartsScrollOverTheLastTwentyFiveReadings) {
    for (auto [last, from] : {std::pair{0, 0.0}, {25, 0.0}, {99, 74.0}})
        EXPECT_EQ(readout_x_range(last), std::make_pair(from, from + 25)) << last;
}

TEST(EchoReadouts, StatusCodeFromTheSecondStatusRead) {
    const struct {
        const char* reply;
        std::optional<int> code;
    } cases[] = {{"0", 3}, {"1", 2}, {"2", 1}, {"3", 0}, {"4", std::nullopt},
                 {"NO", std::nullopt}, {"", std::nullopt}, {"1.5", std::nullopt}};
    for (const auto& c : cases)
        EXPECT_EQ(status_code_from_m1032(c.reply), c.code) << c.reply;
}

TEST(EchoReadouts, ReadoutsLineUpLeftwardsLeavingRoomForThoseThatAreOn) {
    // Every read-out on, and the status alone off, are placed in EchoDisplayTest.ReadoutKeys...
    const struct {
        bool status_on, level_on;
        ReadoutLefts lefts;
    } cases[] = {
        {true, false, {800, 630, 640}},
        {false, false, {800, 830, 840}},
    };
    for (const auto& c : cases) {
        const ReadoutLefts l = readout_lefts(1000, 200, 170, 160, c.status_on, c.level_on);
        EXPECT_EQ(std::tuple(l.status, l.level, l.temperature),
                  std::tuple(c.lefts.status, c.lefts.level, c.lefts.temperature))
            << c.status_on << c.level_on;
    }
}

} // namespace
