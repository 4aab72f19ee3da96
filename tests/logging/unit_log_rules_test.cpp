#include "logging_test.h"

using namespace logsetup;

namespace {

using UnitLogRulesTest = LoggingTest;

} // namespace

TEST_F(UnitLogRulesTest, SetupCheckListsEveryBadBoxAndOnlyThenTheEmptySelection) {
    const QString heading = "The unit cannot be set up.\r\rPlease check these entries:\r";
    auto line = [](const char* caption) {
        return QString(7, ' ') + caption + QString(12, ' ') + "\r";
    };
    const struct {
        const char *m1, *m2, *m3, *interval;
        bool valid;
        QString lines;
    } table[] = {
        {"1", "32768", "0", "0", true, ""}, // a zero interval is warned about later
        {"0", "0", "0", "15", false, line("No channel selected")},
        {"0", "32768", "0", "15", true, ""}, // channels of the second or third word alone
        {"0", "0", "256", "15", true, ""},
        {"x", "0", "0", "15", false, line("Channel Mask 1")}, // no sum without all numbers
        {"", " ", "", "abc", false,
         line("Channel Mask 1") + line("Channel Mask 2") + line("Channel Mask 3") +
             line("Log Interval (mins)")},
        // Only what the unit keeps: it refuses the rest after its log has been cleared.
        {"1", "0", "0", "1440", true, ""},
        {"1", "0", "0", "1441", false, line("Log Interval (mins)")},
        {"1", "0", "0", "-1", false, line("Log Interval (mins)")},
        {"1", "0", "0", "7.5", false, line("Log Interval (mins)")},
        {"65535", "65535", "65535", "15", true, ""},
        {"65536", "0", "-1", "15", false, line("Channel Mask 1") + line("Channel Mask 3")},
        {"1", "0.5", "0", "15", false, line("Channel Mask 2")},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(testing::Message()
                     << row.m1 << "/" << row.m2 << "/" << row.m3 << " " << row.interval);
        const SetupCheck check = check_setup_entries(row.m1, row.m2, row.m3, row.interval);
        EXPECT_EQ(check.valid, row.valid);
        EXPECT_EQ(check.message, heading + row.lines);
    }
    // The interval and the masks are read as every typed number: the other notation is listed,
    // never sent as another number (0.5 as 5 in German, 1,5 as 15 in English). A fraction is
    // listed in any notation: the unit keeps whole minutes. What is sent is written as the unit
    // takes it, whatever the user's locale.
    // clang-format off
    const struct { const char *locale, *interval, *mask, *sent; bool valid; } cases[] = {
        {"de_DE", "7,5", "3", nullptr, false}, {"de_DE", "0.5", "3", nullptr, false},
        {"en_GB", "1,5", "3", nullptr, false}, {"en_GB", "1.5", "3", nullptr, false},
        {"de_DE", "15", "3.5", "15", false},   {"de_DE", " 15 ", "3", "15", true},
        {"de_DE", "1.440", "3", "1440", true}, {"en_GB", "1,440", "3", "1440", true},
        {"de_DE", "-0", "3", "0", true}};
    // clang-format on
    for (const auto& c : cases) {
        platform::number_separators() = {",", ".", c.locale};
        const QString interval = QString::fromUtf8(c.interval);
        const SetupCheck check = check_setup_entries(c.mask, "0", "0", interval);
        EXPECT_EQ(fields(check.valid, typed_log_interval(interval).has_value()),
                  fields(c.valid, c.sent != nullptr))
            << c.locale << " " << c.interval << " / " << c.mask;
        if (c.valid) {
            EXPECT_EQ(fields(check.interval, check.masks[0], check.masks[1], check.masks[2]),
                      fields(c.sent, "3", "0", "0"));
        }
    }
    platform::number_separators() = {};
}

TEST_F(UnitLogRulesTest, StartDateTextsArePlausibleDates) {
    for (const char* text : {"10203", "000000", "311299"})
        EXPECT_TRUE(valid_date(text)) << "'" << text << "'";
    for (const char* text : {"320101", "011301", "0102034", "1234", "ab0203", " 10203"})
        EXPECT_FALSE(valid_date(text)) << "'" << text << "'";
}

TEST_F(UnitLogRulesTest, TheClockFollowsADateOrderTakenFromAnExactReplyOnly) {
    EXPECT_EQ(QStringList({date_format_from_reply("1").value_or(""),
                           date_format_from_reply("2").value_or(""),
                           date_format_from_reply("3").value_or("")}),
              QStringList({"DDMMYY", "MMDDYY", "YYMMDD"}));
    for (const char* reply : {"2 ", " 2", "4", "0", "", "NO", "12"})
        EXPECT_FALSE(date_format_from_reply(reply).has_value()) << "'" << reply << "'";

    const QDateTime december_5(QDate(2026, 12, 5), QTime(14, 7, 30));
    const struct {
        QDateTime when;
        const char *format, *date, *time;
    } table[] = {
        {december_5, "MMDDYY", "120526", "1407"},
        {QDateTime(QDate(2030, 1, 9), QTime(0, 5)), "DDMMYY", "090130", "0005"},
        {QDateTime(QDate(2030, 1, 9), QTime(23, 59)), "YYMMDD", "300109", "2359"},
    };
    for (const auto& row : table)
        EXPECT_EQ(unit_date_digits(row.when, row.format) + unit_time_digits(row.when),
                  QString(row.date) + row.time)
            << row.format;
}

TEST_F(UnitLogRulesTest, LogInfoReplyGivesNineValuesByPositionOrNothing) {
    // The unit's own reply is read on the log set-up page against the simulated unit.
    // CR alone, a line without "=", a value holding "=", a blank line between lines.
    EXPECT_EQ(parse_loginfo_reply("UnitType=2\r1\r\rSD=05=12\r1\r2\r3\r10\r0\rLogRecords=7"),
              (LogInfoValues{"2", "1", "05=12", "1", "2", "3", "10", "0", "7"}));
    // A short reply clearing the page is the log set-up page's test against the unit.
    EXPECT_FALSE(parse_loginfo_reply("").has_value());
}

TEST_F(UnitLogRulesTest, ReadOutsShowTheRepliesAndGiveTheLogFigures) {
    const struct {
        int index;
        const char* v;
        bool from_loginfo;
        const char* text;
    } table[] = {
        {0, "051226", true, "51226"}, {0, "051226", false, "051226"},
        {4, "2.50", true, "2.5"},     {4, "NO", true, "NO"},
        {5, "1", true, "On"},         {5, "2", true, "Off"},
        {6, "0", false, ""},          {6, "1234567", false, "1234567"},
    };
    for (const auto& row : table)
        EXPECT_EQ(text4_value(row.index, row.v, row.from_loginfo), row.text)
            << "Text4(" << row.index << ") from " << row.v;

    auto figures = [](const std::array<QString, 7>& text4) {
        const LogInfoFigures f = log_info_figures(text4);
        return std::tuple(f.log_start_date, f.channel_mask_1, f.channel_mask_2, f.channel_mask_3,
                          f.log_interval, f.log_records);
    };
    // Figures read from good boxes are the log set-up page's test against the simulated unit.
    EXPECT_EQ(figures({"", "NO", "", "1e12", "x", "Off", ""}),
              std::tuple("000000", 0, 0, 0, 0.0, 0.0))
        << "a box without a number must give no figure";
}

TEST_F(UnitLogRulesTest, RemainingDaysOfLogging) {
    EXPECT_NEAR(remaining_log_days(196608, 3, 0, 1), 45.5111, 1e-4);
    EXPECT_EQ(
        std::tuple(remaining_log_days(262144, 8, 40000, 10), remaining_log_days(262144, 0, 0, 10)),
        std::tuple(0.0, 0.0))
        << "a full memory or no record size shows days left";
}
