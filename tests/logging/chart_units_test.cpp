#include "logging_test.h"

using logsetup::chart_settings_trailer;
using logsetup::parse_chart_settings_trailer;

namespace {

class ChartUnitsTest : public LoggingTest {
protected:
    void SetUp() override {
        reset_shell_state();
        LoggingTest::SetUp();
        log_chart_model().remove_all_series();
        load_language_lists();
    }

    QString file(const QString& name, const QByteArray& content) {
        testfiles::write_bytes(dir.filePath(name), content);
        return dir.filePath(name);
    }
    static QString trailer() { return chart_settings_trailer(log_setup().chart_units); }

    // Channels enabled in the log channel table, the time stamp always among them.
    static void enable(std::initializer_list<int> channels) {
        auto& enabled = log_setup().log_channel_table.enabled;
        enabled.fill(false);
        enabled[TIME_STAMP_CHANNEL] = true;
        for (int c : channels)
            enabled[static_cast<size_t>(c)] = true;
    }

    QTemporaryDir dir;
};

} // namespace

TEST_F(ChartUnitsTest, ChartUnitsStartAtTheTrailerDefaultsAndKeepTheOffsetsDecimalPoint) {
    EXPECT_EQ(trailer(), "~2|0|0|0|0|3|0")
        << "a chart drawn before any log or unit set the units would show metres and /1000";
    log_setup().chart_units = {0, 0, 0, 0, 0, 3, -0.25};
    platform::number_separators() = {QStringLiteral(","), QStringLiteral(".")};
    EXPECT_EQ(trailer(), "~0|0|0|0|0|3|-0.25")
        << "a decimal comma would split the trailer into two fields of the log's data";
    reset_chart_settings();
    EXPECT_EQ(trailer(), "~2|0|0|0|0|3|0");
}

TEST_F(ChartUnitsTest, TrailerLineIsTakenWholeOrNotAtAll) {
    const struct {
        const char* line;
        bool taken;
        ChartUnitSettings expected;
    } table[] = {
        {"~1|2|3|4|5|6|0.5", true, {1, 2, 3, 4, 5, 6, 0.5}},
        {"~1|2|3|4|5|6|0,5", true, {1, 2, 3, 4, 5, 6, 0.5}}, // written under a decimal comma
        {"~2|0|0|0|0|3|0|extra|fields", true, {2, 0, 0, 0, 0, 3, 0}},
        {"junk~0|1|1|1|1|3|-12.5", true, {0, 1, 1, 1, 1, 3, -12.5}},
        {"~2.5|0|0|0|0|3.5|0", true, {2, 0, 0, 0, 0, 4, 0}}, // halves go to the even neighbour
        {"~9|9|9|12|9|15|0", true, {4, 6, 4, 9, 6, 9, 0}},   // clamped to the word lists
        {"~-1|-3|-1|-1|-1|-1|0", true, {0, 0, 0, 0, 0, 0, 0}},
        {"~1|2|3|4|5|6", false, {}},         // six fields
        {"~1|2|x|4|5|6|0", false, {}},       // a field that is no number
        {"~1|2|3|4|5|6|", false, {}},        // an empty offset
        {"~1|2|3|4|5|6|1,234.5", false, {}}, // both separators: which one is meant?
        {"1|2|3|4|5|6|0", false, {}},        // no tilde
    };
    for (const auto& row : table) {
        const auto got = parse_chart_settings_trailer(QString::fromLatin1(row.line));
        EXPECT_EQ(got.has_value(), row.taken) << row.line;
        if (got && row.taken) {
            EXPECT_EQ(chart_settings_trailer(*got), chart_settings_trailer(row.expected))
                << row.line;
        }
    }
}

TEST_F(ChartUnitsTest, ReadingTakesTheLastCompleteTrailerOfTheFile) {
    const struct {
        QByteArray content;
        const char* expected;
    } table[] = {
        {"0,2,0,51226,1,32768,0,15,0,1,1234$00000101\r\n", "~2|0|0|0|0|3|0"},
        {"data\r\n~1|1|1|1|1|1|1\r\n~0|2|2|2|2|2|2\r\n", "~0|2|2|2|2|2|2"},
        {"data\n~1|1|1|1|1|1|1\n~0|2\n", "~1|1|1|1|1|1|1"}, // short last
        {"data\r~3|0|0|0|0|3|1,5\r", "~3|0|0|0|0|3|1.5"},
    };
    for (const auto& row : table) {
        reset_chart_settings();
        EXPECT_TRUE(read_chart_settings(file("log.vlg", row.content))) << row.content.data();
        EXPECT_EQ(trailer(), row.expected) << row.content.data();
    }
    log_setup().chart_units.distance_unit_index = 4;
    EXPECT_FALSE(read_chart_settings(dir.filePath("missing.vlg")));
    EXPECT_EQ(log_setup().chart_units.distance_unit_index, 4) << "a missing file changed the units";
}

TEST_F(ChartUnitsTest, SavingReplacesTheTrailerAndKeepsTheData) {
    const QByteArray data = "0,2,0,51226,1,32768,0,15,0,2,1234$00000101,$00000202\r\n";
    const QByteArray saved = "~1|2|3|4|5|6|0.5\r\n";
    const struct {
        const char* name;
        QByteArray before, after;
    } table[] = {
        {"with trailer", data + "~2|0|0|0|0|3|0\r\n", data + saved},
        {"lines after the trailer", data + "~2|0|0|0|0|3|0\r\nstray\r\n~9\r\n", data + saved},
        {"no trailer", data, data + saved},
        {"unit's lone CR kept", "head,$01\r", "head,$01\r" + saved},
        {"aborted download without a line end", "head,$0102", "head,$0102\r\n" + saved},
        // A noise "~" in the records is data: cutting there deleted the whole log.
        {"tilde in the data line", "0,2,0,10124$0A~0B0C,\r\n", "0,2,0,10124$0A~0B0C,\r\n" + saved},
        {"tilde in the data and a trailer", "0,2,0,10124$0A~0B0C,\r\n~2|0|0|0|0|3|0\r\n",
         "0,2,0,10124$0A~0B0C,\r\n" + saved},
        {"data that looks like a trailer", "0,2,$01~1|2|3|4|5|6|7\r\n",
         "0,2,$01~1|2|3|4|5|6|7\r\n" + saved},
        {"a broken trailer before the real one", data + "~2|0\r\n~2|0|0|0|0|3|0\r\n",
         data + "~2|0\r\n" + saved},
    };
    for (const auto& row : table) {
        const QString path = file("save.vlg", row.before);
        EXPECT_TRUE(save_chart_settings(path, "~1|2|3|4|5|6|0.5")) << row.name;
        EXPECT_EQ(testfiles::read_bytes(path), row.after) << row.name;
    }
}

TEST_F(ChartUnitsTest, EveryLevelOffsetIsWrittenSoThatItReadsBackTheSame) {
    const double offsets[] = {0.1, 1.0 / 3, 5e-324, -std::numeric_limits<double>::max()};
    for (double offset : offsets) {
        ChartUnitSettings units{1, 2, 3, 4, 5, 6, offset};
        const QString line = chart_settings_trailer(units);
        EXPECT_EQ(parse_chart_settings_trailer(line), units) << line.toStdString();
    }
}

TEST_F(ChartUnitsTest, AFailedSaveLeavesTheLogAsItWas) {
    EXPECT_FALSE(save_chart_settings(dir.filePath("missing.vlg"), "~1|1|1|1|1|1|1"));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("missing.vlg")));

    // A name at the longest a folder allows can be read, but no temporary file can be made
    // beside it, so the rewrite fails half way.
    const QByteArray original = "head,$01\r\n~2|0|0|0|0|3|0\r\n";
    const QString name = QString(251, QLatin1Char('k')) + ".vlg";
    const QString path = file(name, original);
    ASSERT_EQ(testfiles::read_bytes(path), original);
    EXPECT_FALSE(save_chart_settings(path, "~1|1|1|1|1|1|1"));
    EXPECT_EQ(testfiles::read_bytes(path), original) << "a failed rewrite lost or changed the log";
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({name}))
        << "a temporary file was left behind";
}

TEST_F(ChartUnitsTest, UnitRepliesMapToChartUnitsWithDefaultsOutsideTheirRanges) {
    using namespace logsetup;
    const struct {
        int16_t (*map)(const QString&);
        const char* reply;
        int expected;
    } table[] = {
        {distance_unit_from_reply, "1", 0},         {distance_unit_from_reply, "5", 4},
        {distance_unit_from_reply, "0", 2},         {distance_unit_from_reply, "6", 2},
        {distance_unit_from_reply, "NO", 2},        {distance_unit_from_reply, " 4 ", 3},
        {volume_unit_from_reply, "9", 9},           {volume_unit_from_reply, "12", 0},
        {flow_volume_unit_from_reply, "6", 6},      {flow_volume_unit_from_reply, "7", 0},
        {flow_time_unit_from_reply, "4", 4},        {flow_time_unit_from_reply, "4.4", 0},
        {flow_time_unit_from_reply, "-1", 0},       {totaliser_multiplier_from_reply, "1", 0},
        {totaliser_multiplier_from_reply, "10", 9}, {totaliser_multiplier_from_reply, "0", 3},
        {totaliser_multiplier_from_reply, "11", 3}, {pumped_totaliser_unit_from_reply, "6", 6},
        {pumped_totaliser_unit_from_reply, "8", 0},
    };
    for (const auto& row : table)
        EXPECT_EQ(row.map(QString::fromLatin1(row.reply)), row.expected) << "reply " << row.reply;

    // The unit's "." is a decimal point even where the user's locale writes a comma.
    platform::number_separators() = {QStringLiteral(","), QStringLiteral(".")};
    EXPECT_EQ(flow_time_unit_from_reply("2.0"), 2);
}

TEST_F(ChartUnitsTest, ChannelUnitsAndTitlesFollowTheChartUnits) {
    const ShellState& sh = shell();
    ChartUnitSettings& u = log_setup().chart_units;
    u = {1, 2, 1, 3, 4, 5, 0};
    const struct {
        int channel;
        QString units;
    } table[] = {
        {0, sh.distance_unit_names[1]},
        {28, sh.quantity_unit_names[3]},
        {29, sh.volume_unit_names[2] + "/" + sh.time_unit_names[1]},
        {47, sh.volume_unit_names[4] + sh.totaliser_multiplier_names[5]},
        {19, ""},
        {32, ""},
    };
    for (const auto& row : table)
        EXPECT_EQ(get_trace_units(row.channel), row.units) << "channel " << row.channel;

    // Indexes set from outside the program's own paths never read beyond a word list.
    u = {7, 12, -1, 40, 9, 99, 0};
    for (int c = 0; c < LOG_CHANNEL_COUNT; ++c)
        (void)get_trace_units(c);

    u = {};
    EXPECT_EQ(get_trace_title(0) + "|" + get_trace_title(24), "Level (mm)|System ()")
        << "the no-unit word is left out of a title";
    u.totaliser_unit_index = 1;
    EXPECT_EQ(get_trace_title(24), "System (L*1)");
    log_setup().unit_type = 13; // the two-point model names the point
    EXPECT_EQ(get_trace_title(8) + "|" + get_trace_title(24) + "|" + get_trace_title(42),
              "Level 2 (mm)|System 1 (L*1)|Average 1&2 ()");
}

TEST_F(ChartUnitsTest, TheChartedChannelsAreTitledInChannelOrder) {
    enable({});
    EXPECT_EQ(get_enabled_trace_units(0), "no units");
    enable({0, 2, 19, 29});
    LogChartModel& chart = log_chart_model();
    for (int i = 0; i < 4; ++i)
        chart.add_series(QStringLiteral("old"));
    chart.add_series(QStringLiteral("Relay 1")); // relay series follow the channels
    log_setup().chart_units = {0, 0, 2, 0, 0, 3, 0};
    update_series_titles();
    const QStringList titles = {"Level (metres)", "Confidence (%)", "Relays ()", "Flow ()",
                                "Relay 1"};
    const QStringList units = {"metres", "%", "no units", "None/min", "no units"};
    for (int k = 0; k < 5; ++k) {
        EXPECT_EQ(chart.series(k).title, titles[k]);
        EXPECT_EQ(get_enabled_trace_units(k), units[k]) << "charted channel " << k;
    }

    // A chart with fewer series than the table names (an imported chart) is not overrun.
    chart.remove_all_series();
    chart.add_series(QStringLiteral("only"));
    update_series_titles();
    EXPECT_EQ(chart.series(0).title, "Level (metres)");
}
TEST_F(ChartUnitsTest, LevelOffsetAndLengthUnitRescaleOnlyLengthSeries) {
    enable({0, 1, 2, 22}); // level, distance, a percentage and a length of point 2
    using Ys = std::vector<double>;
    const struct {
        int16_t from_unit, to_unit;
        double from_offset, to_offset;
        Ys level, lengths;
    } cases[] = {
        {2, 0, 0, 0, {1.5, 2.5}, {1.5, 2.5}},               // millimetres to metres
        {0, 0, 0.25, 0.75, {1500.5, 2500.5}, {1500, 2500}}, // only the level takes the offset
    };
    LogChartModel& chart = log_chart_model();
    LogSetupState& s = log_setup();
    for (const auto& c : cases) {
        chart.remove_all_series();
        for (int i = 0; i < 4; ++i) {
            LogChartSeries& series = chart.add_series(QString::number(i));
            series.add_point(100, 1500);
            series.add_point(200, 2500);
        }
        s.setup_start_distance_unit = c.from_unit;
        s.chart_units.distance_unit_index = c.to_unit;
        s.setup_start_level_offset = c.from_offset;
        s.chart_units.level_offset = c.to_offset;
        apply_level_offset();
        EXPECT_EQ(std::tuple(chart.series(0).y, chart.series(1).y, chart.series(3).y),
                  std::tuple(c.level, c.lengths, c.lengths));
        EXPECT_EQ(chart.series(2).y, Ys({1500, 2500})) << "a percentage was rescaled";
        EXPECT_EQ(chart.series(0).x, Ys({100, 200})) << "the time axis moved";
    }
    // Nothing changed: nothing redrawn.
    const uint64_t before = chart.revision();
    s.setup_start_level_offset = 0.75;
    apply_level_offset();
    EXPECT_EQ(chart.revision(), before);
}

TEST_F(ChartUnitsTest, ANonZeroOffsetIsConfirmedBeforeADownloadUsesIt) {
    platform::ScopedScriptedDialogs dialogs;
    log_setup().chart_units.level_offset = 0;
    confirm_level_offset();
    EXPECT_TRUE(dialogs.prompts.empty()) << "a zero offset was questioned";

    log_setup().chart_units.level_offset = 0.5;
    dialogs.answers = {platform::Answer::Yes, platform::Answer::No};
    confirm_level_offset();
    ASSERT_EQ(dialogs.prompts.size(), 1u);
    EXPECT_EQ(fields(log_setup().chart_units.level_offset, dialogs.prompts[0].text,
                     dialogs.prompts[0].title, dialogs.prompts[0].style),
              fields(0.5,
                     "The chart uses a level offset of 0.5\r\nIt is added to the downloaded "
                     "level values.\r\nKeep this offset?",
                     "Level Offset", platform::mb::YesNo | platform::mb::Question));
    confirm_level_offset();
    EXPECT_EQ(log_setup().chart_units.level_offset, 0) << "No kept the offset";
}

// Which files the Setup dialog rewrites is its own test (unchanged units, the download's temporary
// file); here the chart follows the change, and a file that cannot be rewritten is reported.
TEST_F(ChartUnitsTest, SetupChangesReachTheChartAndAFailedRewriteIsTold) {
    platform::ScopedScriptedDialogs dialogs;
    enable({0});
    LogChartModel& chart = log_chart_model();
    chart.add_series(QStringLiteral("Level (mm)")).add_point(1, 2000);
    LogSetupState& s = log_setup();
    const QByteArray log = "0,2,0,51226,1,32768,0,15,0,1,1234$000001\r\n~2|0|0|0|0|3|0\r\n";
    const QString opened = trailer(); // the dialog opened on the defaults and the user chose metres
    s.chart_log_file = file("site.vlg", log);
    s.setup_start_distance_unit = 2;
    s.chart_units.distance_unit_index = 0;
    apply_chart_unit_changes(opened);
    EXPECT_EQ(testfiles::read_bytes(s.chart_log_file),
              "0,2,0,51226,1,32768,0,15,0,1,1234$000001\r\n~0|0|0|0|0|3|0\r\n");
    EXPECT_EQ(fields(chart.series(0).title, chart.series(0).y[0]), fields("Level (metres)", 2.0));
    EXPECT_TRUE(dialogs.prompts.empty());

    s.chart_log_file = file(QString(251, QLatin1Char('k')) + ".vlg", log);
    s.setup_start_distance_unit = 0;
    s.chart_units.distance_unit_index = 2;
    apply_chart_unit_changes(opened + "x");
    EXPECT_EQ(testfiles::read_bytes(s.chart_log_file), log);
    ASSERT_EQ(dialogs.prompts.size(), 1u);
    EXPECT_TRUE(dialogs.prompts[0].text.startsWith("The chart settings could not be saved"));
    EXPECT_EQ(chart.series(0).y, std::vector<double>({2000}));
}
