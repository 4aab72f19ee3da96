#include "reports/report_engine.h"

#include "platform/vb.h"
#include "report_test_support.h"
#include "qt_print.h"

#include <gtest/gtest.h>

using namespace reports;

namespace {

const QString RULE129 = QString(129, QLatin1Char('-'));
const QString RULE106 = QString(106, QLatin1Char('-'));

// Level and flow over two days: 06:00, 12:00 and 18:00 on 05/12/2026, then midnight (which opens
// the next day) and noon of 06/12/2026.
LogChartModel two_day_chart(const QString& trend_title = QStringLiteral("Level (m)")) {
    LogChartModel chart;
    chart.add_series(trend_title);
    chart.add_series(QStringLiteral("Flow 1 (l/min)"));
    LogChartSeries& level = chart.series(0);
    LogChartSeries& flow = chart.series(1);
    const double xs[] = {chart_x(2026, 12, 5, 6, 0), chart_x(2026, 12, 5, 12, 0),
                         chart_x(2026, 12, 5, 18, 0), chart_x(2026, 12, 6, 0, 0),
                         chart_x(2026, 12, 6, 12, 0)};
    const double levels[] = {1.0, 3.0, 2.0, 5.0, 0.5};
    const double flows[] = {10, 20, 30, 40, 50};
    for (int i = 0; i < 5; ++i) {
        level.add_point(xs[i], levels[i]);
        flow.add_point(xs[i], flows[i]);
    }
    return chart;
}

ReportRequest base_request() {
    ReportRequest r;
    r.company_name = QStringLiteral("ACME Water");
    r.company_address = QStringLiteral("1 Main Street");
    r.report_author = QStringLiteral("Jo");
    r.computer_name = QStringLiteral("pc1");
    r.log_file_name = QStringLiteral("/logs/site.vlg");
    r.site_number = QStringLiteral("17");
    r.site_description = QStringLiteral("Weir");
    r.from_day = static_cast<int64_t>(day_serial(2026, 12, 4));
    r.to_day = static_cast<int64_t>(day_serial(2026, 12, 6));
    r.now = day_serial(2026, 12, 5) + 0.5;
    r.trend_series = 0;
    r.trend_title = QStringLiteral("Level (m)");
    r.trend_units = QStringLiteral("m");
    r.none_unit_word = QStringLiteral("none");
    r.pumped_word = QStringLiteral("Pumped");
    r.total_series = 1;
    r.total_title = QStringLiteral("Flow 1 (l/min)");
    r.log_interval = 15;
    r.units = {0, 1, 0}; // litres per minute, totals in litres
    r.flow_unit_box_enabled = true;
    return r;
}

QStringList report_lines(const LogChartModel& chart, const ReportRequest& r,
                         ReportState* state = nullptr) {
    ReportDocument doc;
    const ReportState s = generate_report(chart, r, doc);
    if (state)
        *state = s;
    QString text = doc.plain_text();
    EXPECT_TRUE(text.endsWith(QLatin1String("\r\n")));
    text.chop(2);
    return text.split(QStringLiteral("\r\n"));
}

} // namespace

TEST(ReportEngine, IntegrationReportMatchesTheHandWorkedReportLineByLine) {
    ReportRequest r = base_request();
    r.daily_total_enabled = true;
    r.method = 2;
    const QStringList expected = {
        QStringLiteral("ACME Water"),
        QStringLiteral("1 Main Street"),
        RULE129,
        QStringLiteral("Compiled By      : Jo on 05/12/2026 @ 12:00"),
        QStringLiteral("Log File Name   : /logs/site.vlg"),
        QStringLiteral("Machine Name  : pc1"),
        RULE129,
        QStringLiteral("Reporting  Level (m)  for period from 04/12/2026 to 06/12/2026"),
        QStringLiteral("Site Number : 17"),
        QStringLiteral("Site Description : Weir"),
        QStringLiteral("Remarks : "),
        QStringLiteral("Daily Report Method : Integration by Trapezoidal Approximation of "
                       "Flow 1 (l/min)"),
        QStringLiteral("Flow Unit : litres/min"),
        QStringLiteral("Totaliser Unit : litres"),
        RULE129,
        QStringLiteral("Date\tMean\tMin\tTime\tMax\tTime\tDaily Total"),
        QStringLiteral("(dd/mm/yyyy)\t(m)\t(m)\t(24hr)\t(m)\t(24hr)\t(litres)"),
        RULE129,
        // The From date has no points: its line carries the header's sentinels.
        QStringLiteral("04/12/2026\t0.0\t999999999.0\t@ 00:00\t-999999999.0\t@ 00:00\t0.0"),
        // 15 min x ((10+20)/2 + (20+30)/2 + (30+40)/2): the evening's interval counts for the day
        QStringLiteral("05/12/2026\t2.0\t1.0\t@ 06:00\t3.0\t@ 12:00\t1125.0"),
        // the mean 2.75 rounds half away from zero; the last point adds no area
        QStringLiteral("06/12/2026\t2.8\t0.5\t@ 12:00\t5.0\t@ 00:00\t675.0"),
        RULE129,
        QStringLiteral("Report Summary"),
        QStringLiteral("Average Daily    \t=  600.0 litres"),
        QStringLiteral("Period Total     \t=  1800.0 litres"),
        QStringLiteral("Max Daily Total \t=  1125.0 litres\t on 05/12/2026"),
        QStringLiteral("Min Daily Total \t=  0.0 litres\t on 04/12/2026"),
        QStringLiteral("Period Max. Level (m)\t=  5.0\t @ 00:00, 06/12/2026"),
        QStringLiteral("Period Min. Level (m)\t=  0.5\t @ 12:00, 06/12/2026"),
    };
    ReportState s;
    EXPECT_EQ(report_lines(two_day_chart(), r, &s), expected);
    EXPECT_TRUE(s.totaliser_factor == 15 && s.day_lines == 3);
}

// Each method gives its day totals, period total and header lines; a pumped volume names the
// sum and its volume unit only, a series that is no flow leaves out the flow unit.
TEST(ReportEngine, DailyTotalAndHeaderLinesByEachMethod) {
    struct Case {
        const char* what;
        int16_t method;
        bool pumped, flow_box;
        UnitChoice units;
        const char* day1;
        const char* day2;
        const char* total;
        const char* header; // the lines after the method's, split at '|'
    } cases[] = {
        {"maximum of a running totaliser", 0, false, false, {0, 1, 0}, "30.0", "50.0", "80.0",
         "Daily Report Method : Use Maximum Value of Flow 1 (l/min)|Totaliser Unit : litres"},
        {"highest minus lowest reading", 1, false, true, {0, 1, 0}, "20.0", "10.0", "30.0",
         "Daily Report Method : Use Max-Min Value of Flow 1 (l/min)|Flow Unit : litres/min|"
         "Totaliser Unit : litres"},
        {"pumped volume in cubic metres summed as litres", 0, true, true, {1, 1, 0}, "60000.0",
         "90000.0", "150000.0",
         "Daily Report Method : Sum of Pumped|Pumped Volume Unit : cubic metre|"
         "Totaliser Unit : litres"},
    };
    for (const auto& c : cases) {
        ReportRequest r = base_request();
        r.from_day = static_cast<int64_t>(day_serial(2026, 12, 5));
        r.daily_total_enabled = true;
        r.method = c.method;
        r.pumped_volume = c.pumped;
        r.flow_unit_box_enabled = c.flow_box;
        r.units = c.units;
        const QStringList lines = report_lines(two_day_chart(), r);
        const QStringList header = QString::fromLatin1(c.header).split('|');
        EXPECT_EQ(lines.mid(11, header.size() + 1), header + QStringList{RULE129}) << c.what;
        const auto at = lines.indexOf(QStringLiteral("(dd/mm/yyyy)\t(m)\t(m)\t(24hr)\t(m)\t(24hr)"
                                                     "\t(litres)"));
        ASSERT_GE(at, 0) << c.what;
        EXPECT_EQ(QStringList({lines[at + 2].section('\t', -1), lines[at + 3].section('\t', -1)}),
                  QStringList({c.day1, c.day2}))
            << c.what;
        EXPECT_TRUE(lines.contains(QStringLiteral("Period Total     \t=  %1 litres").arg(c.total)))
            << c.what;
    }
}

// Without the daily total, month first and a trend without units: every date follows the
// format and the unit cells stay empty.
TEST(ReportEngine, LayoutWithoutDailyTotalMonthFirstAndNoTrendUnit) {
    ReportRequest r = base_request();
    r.from_day = static_cast<int64_t>(day_serial(2026, 12, 5));
    r.date_format_text = QStringLiteral("mm/dd/yyyy");
    r.trend_units = QStringLiteral("None");
    const QStringList lines = report_lines(two_day_chart(), r);
    EXPECT_EQ(lines[2], RULE106);
    EXPECT_EQ(lines[7],
              QStringLiteral("Reporting  Level (m)  for period from 12/05/2026 to 12/06/2026"));
    EXPECT_FALSE(lines.join('\n').contains("Daily Report Method") ||
                 lines.join('\n').contains("Totaliser Unit"));
    const QStringList tail = lines.mid(lines.size() - 9);
    const QStringList expected = {
        QStringLiteral("Date\tMean\tMin\tTime\tMax\tTime"),
        QStringLiteral("(mm/dd/yyyy)\t\t\t(24hr)\t\t(24hr)"),
        RULE106,
        QStringLiteral("12/05/2026\t2.0\t1.0\t06:00\t3.0\t12:00"),
        QStringLiteral("12/06/2026\t2.8\t0.5\t12:00\t5.0\t00:00"),
        RULE106,
        QStringLiteral("Report Summary"),
        QStringLiteral("Period Max. Level (m)\t=  5.0\t @ 00:00, 12/06/2026"),
        QStringLiteral("Period Min. Level (m)\t=  0.5\t @ 12:00, 12/06/2026"),
    };
    EXPECT_EQ(tail, expected);
}

TEST(ReportEngine, PumpedTrendCountsOnlyValuesAboveZero) {
    LogChartModel chart;
    LogChartSeries& pumped = chart.add_series(QStringLiteral("Pumped Volume (m3)"));
    pumped.add_point(chart_x(2026, 12, 5, 8, 0), 4);
    pumped.add_point(chart_x(2026, 12, 6, 8, 0), 0);
    pumped.add_point(chart_x(2026, 12, 6, 9, 0), -1);
    ReportRequest r = base_request();
    r.from_day = static_cast<int64_t>(day_serial(2026, 12, 5));
    r.trend_title = pumped.title;
    ReportState s;
    const QStringList lines = report_lines(chart, r, &s);
    EXPECT_TRUE(lines.contains(QStringLiteral("06/12/2026\t0.0\t99999999.0\t00:00\t-9999999.0\t00:00")));
    EXPECT_TRUE(s.period_max == 4 && s.period_min == 4);
}

TEST(ReportEngine, UntouchedPeriodFiguresShowTheirSentinelsAtTheZeroDate) {
    ReportRequest r = base_request();
    r.from_day = static_cast<int64_t>(day_serial(2027, 1, 2));
    r.to_day = static_cast<int64_t>(day_serial(2027, 1, 1)); // To before From: no point counts
    const QStringList lines = report_lines(two_day_chart(), r);
    EXPECT_EQ(lines[lines.size() - 2],
              QStringLiteral("Period Max. Level (m)\t=  -99999999.0\t @ 00:00, 30/12/1899"));
    EXPECT_EQ(lines.last(),
              QStringLiteral("Period Min. Level (m)\t=  99999999.0\t @ 00:00, 30/12/1899"));
}

TEST(ReportEngine, RequestsWithoutSeriesAreRefused) {
    const LogChartModel chart = two_day_chart();
    ReportRequest r = base_request();
    EXPECT_EQ(check_request(chart, r), ReportRefusal::None);
    r.trend_series = -1;
    EXPECT_EQ(check_request(chart, r), ReportRefusal::NoTrendSeries);
    r.trend_series = 0;
    r.daily_total_enabled = true;
    r.total_series = 2;
    EXPECT_EQ(check_request(chart, r), ReportRefusal::NoTotalSeries);
    EXPECT_EQ(check_request(LogChartModel(), base_request()), ReportRefusal::NoTrendSeries);
}

TEST(ReportEngine, ATimeThatRoundsToMidnightIsTheNextDaysMidnight) {
    ReportRequest r = base_request();
    r.now = day_serial(2026, 12, 5) + 86399.7 / 86400; // 23:59:59.7
    EXPECT_EQ(report_lines(two_day_chart(), r)[3],
              QStringLiteral("Compiled By      : Jo on 06/12/2026 @ 00:00"));
}

TEST(ReportTime, DateBoxTextsReadInTheUsersOrder) {
    struct Case {
        const char* short_date;
        const char* text;
        int y, m, d; // 0: not a date
    } cases[] = {
        {"dd/mm/yyyy", "05/12/2026", 2026, 12, 5},
        {"dd/mm/yyyy", "5.12.26", 2026, 12, 5},
        {"dd/mm/yyyy", "05/12/2026 14:30:00", 2026, 12, 5},
        {"mm/dd/yyyy", "12/05/2026", 2026, 12, 5},
        {"dd.mm.yy", "31.01.1999", 1999, 1, 31},
        {"dd/mm/yyyy", "2026-12-05", 2026, 12, 5},
        {"dd/mm/yyyy", "31/02/2026", 0, 0, 0},
        {"dd/mm/yyyy", "", 0, 0, 0},
        {"dd/mm/yyyy", "05/12/202", 0, 0, 0},
        {"dd/mm/yyyy", "0654-1-5", 0, 0, 0},
        {"d. m. yyyy", "5. 12. 2026", 2026, 12, 5},
        {"d. m. yyyy", "5. 12. 2026 14:30:00", 2026, 12, 5},
        {"yyyy. mm. dd.", "2026. 12. 05.", 2026, 12, 5},
        {"d. m. yyyy", "5. 12.", 0, 0, 0},
        {"d. m. yyyy", "5. 12. 2026x", 0, 0, 0},
    };
    const QString saved = platform::date_formats().short_date;
    for (const auto& c : cases) {
        platform::date_formats().short_date = QString::fromLatin1(c.short_date);
        const auto day = parse_date_text(QString::fromLatin1(c.text));
        if (c.y == 0) {
            EXPECT_FALSE(day.has_value()) << c.text;
        } else {
            ASSERT_TRUE(day.has_value()) << c.text;
            EXPECT_EQ(*day, static_cast<int64_t>(day_serial(c.y, c.m, c.d))) << c.text;
        }
    }
    platform::date_formats().short_date = QStringLiteral("dd.mm.yy");
    EXPECT_EQ(date_box_text(day_serial(2026, 12, 5) + 0.75), QStringLiteral("05.12.2026"))
        << "date boxes show four-digit years";
    platform::date_formats().short_date = saved;
}

TEST(ReportEngine, ClockChangeDaysKeepEveryLoggedPointInItsDay) {
    struct Case {
        const char* what;
        int from_minute; // the wall-clock hour from here is logged `times` times
        int times;
        double points;
    } cases[] = {
        {"autumn: the hour after 02:00 comes twice", 120, 2, 100},
        {"spring: the hour after 01:00 never comes", 60, 0, 92},
    };
    for (const auto& c : cases) {
        LogChartModel chart;
        chart.add_series(QStringLiteral("Level (m)"));
        for (int minute = 0; minute < 24 * 60; minute += 15) {
            const bool odd_hour = minute >= c.from_minute && minute < c.from_minute + 60;
            for (int k = 0; k < (odd_hour ? c.times : 1); ++k)
                chart.series(0).add_point(chart_x(2026, 10, 25, minute / 60, minute % 60), 1.0);
        }
        chart.series(0).add_point(chart_x(2026, 10, 26, 0, 0), 1.0);
        ReportRequest r = base_request();
        r.from_day = static_cast<int64_t>(day_serial(2026, 10, 25));
        r.to_day = r.from_day;
        ReportDocument doc;
        const ReportState s = generate_report(chart, r, doc);
        EXPECT_EQ(std::tuple(s.day_lines, s.day_count), std::tuple(1, c.points)) << c.what;
    }
}
