#include "reports/report_window.h"

#include "fields.h"
#include "logging/chart_units.h"
#include "logging/log_chart_model.h"
#include "logging/log_setup_state.h"
#include "platform/dialogs.h"
#include "platform/print_dialog.h"
#include "platform/sysinfo.h"
#include "platform/text_file.h"
#include "platform/vb.h"
#include "qt_print.h"
#include "report_test_support.h"
#include "reports/print_preview.h"
#include "shell/definitions_table.h"
#include "shell/language_file.h"
#include "shell/option_lists.h"
#include "shell/shell_state.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace reports;

namespace {

class ReportWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        reset_shell_state();
        reset_log_setup_state();
        shell().ini_path = dir.filePath(QStringLiteral("general.ini"));
        shell().computer_name = QStringLiteral("pc1");
        LogChartModel& chart = log_chart_model();
        chart.remove_all_series();
        chart.add_series(QStringLiteral("Level (m)"));
        chart.add_series(QStringLiteral("Flow 1 (l/min)"));
        const double xs[] = {chart_x(2026, 12, 5, 6, 0), chart_x(2026, 12, 5, 18, 0),
                             chart_x(2026, 12, 6, 0, 0)};
        for (int i = 0; i < 3; ++i) {
            chart.series(0).add_point(xs[i], 1.0 + i);
            chart.series(1).add_point(xs[i], 10.0 * (i + 1));
        }
        log_setup().log_interval = 15;
        report_modal_runner() = [this](QDialog& d) {
            if (auto* preview = qobject_cast<PrintPreview*>(&d))
                previews.push_back(preview->report().plain_text());
            if (auto* calendar = qobject_cast<CalendarDialog*>(&d)) {
                for (const QDate& date : picks) {
                    calendar->TChart1->setSelectedDate(date);
                    calendar->select_calendar_date();
                }
                shown_dates.push_back(calendar->TChart1->selectedDate());
            }
        };
    }
    void TearDown() override {
        log_chart_model().remove_all_series();
        report_modal_runner() = [](QDialog& d) { d.exec(); };
    }

    QTemporaryDir dir;
    std::vector<QString> previews;
    std::vector<QDate> picks;
    std::vector<QDate> shown_dates;
};

} // namespace

TEST_F(ReportWindowTest, LoadReadsTheChartTickingDailyTotalPresetsItsBoxesAndGenerateShows) {
    log_setup().chart_units.flow_volume_unit_index = 2; // cubic metre in the chart's list
    ReportWindow w;
    w.Form_Load();
    EXPECT_TRUE(w.Combo3->count() == 2 &&
                w.Combo7->itemText(1) == QStringLiteral("Flow 1 (l/min)"));
    EXPECT_EQ(w.from_date_box->text(), QStringLiteral("05/12/2026"));
    EXPECT_EQ(w.to_date_box->text(), QStringLiteral("06/12/2026")) << "a last point at midnight is all date";
    EXPECT_EQ(w.Text7->toPlainText(),
              QStringLiteral("Log starts @ 05/12/2026 06:00:00\nLog stops @ 06/12/2026 00:00:00"));
    EXPECT_EQ(w.Combo2->currentText(), QStringLiteral("cubic metre")) << "the chart's unit is not preset";
    EXPECT_FALSE(w.Frame4->isEnabled());
    w.Combo3->setCurrentIndex(1);
    w.Check1->setChecked(true);
    EXPECT_EQ(w.Combo7->currentIndex(), 1) << "the trend series was not copied";
    EXPECT_TRUE(w.Frame4->isEnabled() && w.Combo2->isEnabled() && w.Combo4->isEnabled())
        << "a flow series needs its flow unit";
    w.Text1->setText(QStringLiteral("17"));
    w.Command1->click();
    ASSERT_EQ(previews.size(), 1u);
    for (const char* line : {"Site Number : 17\r\n", "Machine Name  : pc1\r\n"})
        EXPECT_TRUE(previews[0].contains(QLatin1String(line))) << line;
}

// A flow series titled in the user's language takes the flow units the user chooses, as in
// English: its daily totals and the summary come out the same in every language.
TEST_F(ReportWindowTest, DailyTotalOfAFlowSeriesIsTheSameInEveryLanguage) {
    const auto shipped = platform::read_text_file(
        QUILLARN_DATA_DIR "/" + QString(DEFINITIONS_FOLDER) + "/" + LANGUAGE_FILE);
    ASSERT_TRUE(shipped.has_value());
    struct BuiltInCaptions { // for the tests that follow, whatever happens here
        ~BuiltInCaptions() {
            for (auto& record : definitions_table())
                record.text.clear();
            added_texts().fill(QString());
        }
    } built_in_captions;
    ChartUnitSettings& chart_units = log_setup().chart_units;
    chart_units.flow_volume_unit_index = 2; // the log's flow in cubic metres per hour
    chart_units.flow_time_unit_index = 3;
    QStringList english;
    for (int language : {0, 1, 3, 2, 4}) {
        SCOPED_TRACE(language);
        shell().language_index = static_cast<int16_t>(language);
        load_language_text(*shipped, language);
        load_language_lists();
        LogChartModel& chart = log_chart_model();
        chart.series(0).title = get_trace_title(0);
        chart.series(1).title = get_trace_title(29);
        previews.clear();
        ReportWindow w;
        w.Form_Load();
        w.Combo3->setCurrentIndex(1);
        w.Check1->setChecked(true);
        ASSERT_EQ(w.Combo7->currentText(), chart.series(1).title);
        EXPECT_TRUE(w.Combo2->isEnabled() && w.Combo4->isEnabled() && w.Label11->isEnabled())
            << w.Combo7->currentText() << ": the flow's unit boxes are not usable";
        // The user's choice, where the window lets them make it: litres per minute, totals in
        // cubic metres.
        for (auto [box, index] : {std::pair(w.Combo2, 0), std::pair(w.Combo4, 1),
                                  std::pair(w.Combo5, 1)})
            if (box->isEnabled())
                box->setCurrentIndex(index);
        w.Command1->click();
        ASSERT_EQ(previews.size(), 1u);
        QStringList figures; // the flow unit, the day lines' totals and the summary's totals
        for (const QString& line : previews[0].split(QStringLiteral("\r\n"))) {
            if (line.startsWith(QLatin1String("Flow Unit")) ||
                line.contains(QRegularExpression(QStringLiteral("^\\d\\d/12/2026\t"))))
                figures << line.section(QLatin1Char('\t'), -1);
            else if (line.contains(
                         QRegularExpression(QStringLiteral("^(Average|Period|M..) (Daily|Total)"))))
                figures << line;
        }
        if (language == 0) { // (10 + 20) / 2 and (20 + 30) / 2 litres a minute for 15 minutes
            english = figures;
            EXPECT_TRUE(figures.contains(QStringLiteral("Period Total     \t=  0.6 cubic metre")))
                << figures.join('|');
        }
        EXPECT_EQ(figures, english);
    }
}

// Without a language file the pumped volume is titled with its built-in caption, and its trend
// still counts only the values above 0.
TEST_F(ReportWindowTest, PumpedTrendTitledWithTheBuiltInCaptionCountsOnlyValuesAboveZero) {
    LogChartSeries& trend = log_chart_model().series(0);
    trend.title = get_trace_title(28);
    trend.y = {0, 4, 6}; // 05/12/2026 06:00 and 18:00, then midnight
    ReportWindow w;
    w.Form_Load();
    w.Command1->click();
    ASSERT_EQ(previews.size(), 1u);
    EXPECT_TRUE(previews[0].contains(QStringLiteral("\r\n05/12/2026\t4.0\t4.0\t18:00\t4.0\t")))
        << trend.title << ": the 0 was counted\n" << previews[0];
}

TEST_F(ReportWindowTest, UnreadableDatesOrNoSeriesGiveAMessageAndNoReport) {
    struct Case {
        const char* what;
        const char* from;
        const char* to;
        bool empty_chart;
        const char* message;
    } cases[] = {
        {"unreadable From", "5th of May", "06/12/2026", false, "The From date cannot be read as a date."},
        {"unreadable To", "05/12/2026", "", false, "The To date cannot be read as a date."},
        {"another script's digit between the numbers", "05/12/2026", "12\u06635/2026", false,
         "The To date cannot be read as a date."},
        {"no series on the chart", "05/12/2026", "06/12/2026", true,
         "Choose a trend series of the log chart."},
    };
    for (const auto& c : cases) {
        if (c.empty_chart)
            log_chart_model().remove_all_series();
        platform::ScopedScriptedDialogs dialogs;
        ReportWindow w;
        w.Form_Load();
        w.from_date_box->setText(QString::fromUtf8(c.from));
        w.to_date_box->setText(QString::fromUtf8(c.to));
        w.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
        w.Command1->setFocus();
        w.Command1->click();
        QApplication::processEvents();
        EXPECT_EQ(dialogs.messages(), QStringList{QString::fromUtf8(c.message)}) << c.what;
        EXPECT_TRUE(previews.empty()) << c.what;
        // The user is back in the date that was refused, its text selected for the correction.
        const QString message = QString::fromUtf8(c.message);
        QLineEdit* refused = message.contains("From") ? w.from_date_box
                             : message.contains("To") ? w.to_date_box
                                                      : nullptr;
        if (refused) {
            EXPECT_EQ(fields(QApplication::focusWidget() == refused, refused->selectedText()),
                      fields(true, refused->text()))
                << c.what << ": the user is not back in the refused date with its text selected";
        }
    }
}

TEST_F(ReportWindowTest, CalendarPicksIntoTheBoxItWasOpenedFor) {
    ReportWindow w;
    w.Form_Load();
    picks = {QDate(2026, 12, 1), QDate(2026, 12, 2)};
    w.Command4->click();
    EXPECT_TRUE(w.from_date_box->text() == QStringLiteral("02/12/2026") && w.from_text == w.from_date_box->text())
        << "the last pick counts";
    picks.clear();
    w.Command5->click();
    ASSERT_EQ(shown_dates.size(), 2u);
    EXPECT_EQ(shown_dates[1], QDate(2026, 12, 6)) << "the To button shows the To box's date";
    EXPECT_EQ(w.to_date_box->text(), QStringLiteral("06/12/2026"));
}

TEST_F(ReportWindowTest, CalendarHasItsOwnColoursAndMonthTitle) {
    namespace look = calendar_look;
    const QDate today(2026, 12, 7), december(2026, 12, 1);
    const struct {
        QDate day;
        QRgb background, text;
    } cells[] = {
        {QDate(2026, 12, 8), look::DAY, 0x000000},
        {QDate(2026, 12, 6), look::SUNDAY, 0xFFFFFF},
        {today, look::TODAY, 0xFFFFFF},
        {QDate(2026, 11, 30), look::DAY, look::OTHER_MONTH_TEXT},
        {QDate(2027, 1, 3), look::SUNDAY, look::OTHER_MONTH_TEXT},
    };
    for (const auto& c : cells) {
        const CalendarCellLook l = calendar_cell_look(c.day, december, today);
        EXPECT_EQ(fields(l.background.rgb() & 0xFFFFFF, l.text.rgb() & 0xFFFFFF),
                  fields(c.background, c.text))
            << c.day.toString().toStdString();
    }

    ReportWindow w;
    w.Form_Load();
    QString month;
    QColor header;
    report_modal_runner() = [&](QDialog& d) {
        auto& calendar = dynamic_cast<CalendarDialog&>(d);
        month = calendar.month_title->text();
        header = calendar.TChart1->headerTextFormat().background().color();
    };
    w.Command4->click();
    EXPECT_EQ(month, QStringLiteral("December, 2026"));
    EXPECT_EQ(header.rgb() & 0xFFFFFF, look::WEEKDAY_HEADER);
}

// Locales whose short dates hold blanks, and two without: the window fills its boxes with
// dates it reads back itself, the calendar writes one that reads, and a report is made.
TEST_F(ReportWindowTest, ItsOwnDatesReadBackInEveryLocale) {
    const struct Case {
        const char* locale;
        const char* from; // 05/12/2026, the chart's first day, as the box shows it
    } cases[] = {{"sk_SK.UTF-8", "5. 12. 2026"},
                 {"hu_HU.UTF-8", "2026. 12. 05."},
                 {"de_DE.UTF-8", "05.12.2026"},
                 {"en_US.UTF-8", "12/5/2026"},
                 {"ar_EG.UTF-8", "5\u200F/12\u200F/2026"}};
    const QByteArray saved_env = qgetenv("LC_ALL");
    const platform::DateFormats saved = platform::date_formats();
    const platform::NumberSeparators saved_numbers = platform::number_separators();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.locale);
        qputenv("LC_ALL", c.locale);
        platform::use_system_formats(platform::query_system_info());
        previews.clear();
        platform::ScopedScriptedDialogs dialogs;
        ReportWindow w;
        w.Form_Load();
        EXPECT_EQ(w.from_date_box->text(), QString::fromUtf8(c.from));
        picks = {QDate(2026, 12, 6)};
        w.Command5->click();
        w.Command1->click();
        EXPECT_EQ(dialogs.messages(), QStringList{}) << "the window refused its own dates";
        ASSERT_EQ(previews.size(), 1u);
        // The report writes its days as dd/mm/yyyy with the locale's own date separator.
        const QString sep = platform::date_formats().date_separator;
        for (const char* day : {"05", "06"})
            EXPECT_TRUE(
                previews[0].contains("\r\n" + QLatin1String(day) + sep + "12" + sep + "2026\t"))
                << day << " is missing from\n"
                << previews[0];
        picks.clear();
    }

    // Every locale Qt knows, as the user's environment names it: the window's own From and To
    // dates and a calendar pick read back as their days, and the date separator is one the user
    // can see. One window serves them all, and the settings it writes go to memory where the
    // system has it, so that the walk stays quick.
    const QTemporaryDir memory(QDir("/dev/shm").exists() ? "/dev/shm/report-walk-XXXXXX"
                                                         : dir.filePath("walk-XXXXXX"));
    shell().ini_path = QDir(memory.path()).filePath("general.ini");
    QStringList names;
    for (const QLocale& l :
         QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory))
        if (!names.contains(l.name()))
            names << l.name();
    ASSERT_GT(names.size(), 500);
    const auto day = [](int d) { return parse_date_text(QStringLiteral("2026-12-%1").arg(d)); };
    ReportWindow w;
    calendar_sets_from_date() = true;
    CalendarDialog calendar(w);
    calendar.TChart1->setSelectedDate(QDate(2026, 12, 7));
    QStringList refused;
    for (const QString& name : names) {
        qputenv("LC_ALL", (name + ".UTF-8").toUtf8());
        platform::use_system_formats(platform::query_system_info());
        w.Form_Load();
        const auto from = parse_date_text(w.from_date_box->text());
        const auto to = parse_date_text(w.to_date_box->text());
        calendar.select_calendar_date();
        const auto picked = parse_date_text(w.from_date_box->text());
        const QChar sep = platform::date_formats().date_separator.front();
        if (from != day(5) || to != day(6) || picked != day(7) ||
            sep.category() == QChar::Other_Format)
            refused << name + ": " + w.to_date_box->text();
    }
    EXPECT_EQ(refused, QStringList{}) << "these locales' own dates do not read back";
    saved_env.isNull() ? qunsetenv("LC_ALL") : qputenv("LC_ALL", saved_env);
    platform::date_formats() = saved;
    platform::number_separators() = saved_numbers;
}

TEST_F(ReportWindowTest, PreviewSavesRichTextAndPlainText) {
    ReportDocument doc;
    doc.set_bold(true);
    doc.write(QStringLiteral("Date\tMean\r\n"));
    PrintPreview preview;
    preview.set_report(doc);
    platform::ScopedScriptedDialogs dialogs;
    dialogs.files = {dir.filePath(QStringLiteral("r.rtf")), dir.filePath(QStringLiteral("r.txt"))};
    preview.Command1->click();
    preview.Command1->click();
    EXPECT_TRUE(testfiles::read_bytes(dir.filePath("r.rtf")).startsWith("{\\rtf1"));
    EXPECT_EQ(testfiles::read_bytes(dir.filePath("r.txt")), QByteArray("Date\tMean\r\n"));
    EXPECT_EQ(dialogs.messages(),
              QStringList(2, QStringLiteral("File has been saved successfully")));
    EXPECT_TRUE(testfiles::read_bytes(shell().ini_path)
                    .contains(("SaveReportPath=" + dir.path()).toUtf8()));
}

// In every program identity the preview prints what it shows: the report here, the listing below.
TEST_F(ReportWindowTest, PreviewPrintsTheReportItShowsEveryCopyThenSaysSoOnce) {
    shell().software_mode = 1;
    ReportDocument doc;
    doc.write(QStringLiteral("Report\r\n"));
    PrintPreview preview;
    preview.set_report(doc);
    platform::ScopedScriptedDialogs dialogs;
    platform::ScopedScriptedPrintDialogs printers;
    printers.answers = {3, std::nullopt};
    printers.pdf_paths = {dir.filePath(QStringLiteral("r.pdf"))};
    preview.Command2->click();
    preview.Command2->click(); // cancelled: nothing more
    const QByteArray bytes = testfiles::read_bytes(dir.filePath("r.pdf"));
    EXPECT_EQ(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r"), 3);
    EXPECT_EQ(dialogs.messages(),
              QStringList{QStringLiteral("Report has been printed successfully")});
}

TEST_F(ReportWindowTest, PreviewOfTheListingPrintsTheListingUnderTheHeader) {
    *text_slot(1228) = QStringLiteral("The parameter list has been printed or saved.");
    ParameterListing listing;
    listing.rows.push_back(
        {QStringLiteral("P1"), QStringLiteral("Units"), QStringLiteral("1"), {}});
    PrintHeaderFields header;
    header.use_header = true;
    PrintPreview preview;
    preview.set_listing_page(PrintedPage{{{20, 15, QStringLiteral("P1")}}}, header, listing);
    EXPECT_TRUE(preview.Command1->isHidden()) << "a listing page is not saved as a report";
    platform::ScopedScriptedDialogs dialogs;
    platform::ScopedScriptedPrintDialogs printers;
    printers.answers = {1};
    printers.pdf_paths = {dir.filePath(QStringLiteral("list.pdf"))};
    preview.Command2->click();
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("list.pdf"))));
    EXPECT_EQ(dialogs.messages(), QStringList{*text_slot(1228)});
    text_slot(1228)->clear();
}
