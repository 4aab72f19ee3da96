// The log chart's CSV export: the header block, the columns of the active series, dates, the
// separator and decimal point of the user's language, quoting, and the export as the user runs it.
#include "logging_test.h"

namespace {

double at(int day, int h, int m) {
    return QDateTime(QDate(2026, 12, day), QTime(h, m), QTimeZone::utc()).toSecsSinceEpoch();
}

LogChartModel sample() {
    LogChartModel m;
    m.add_series("Level (m)");
    m.add_series("Hidden");
    m.add_series("Temp, \"inside\" (\xC2\xB0"
                 "C)");
    LogChartSeries& a = m.series(0);
    LogChartSeries& b = m.series(1);
    LogChartSeries& c = m.series(2);
    b.active = false;
    a.add_point(at(4, 0, 0), 1.25);
    a.add_point(at(4, 0, 15), 1.5);
    b.add_point(at(4, 0, 0), 9);
    b.add_point(at(4, 0, 15), 9);
    c.add_point(at(4, 0, 0), -3);
    return m;
}

ChartExportInfo info(int language, double serial) {
    ChartExportInfo i;
    i.path = "/home/u/site.csv";
    i.serial_number = serial;
    i.saved_on = QDateTime(QDate(2026, 12, 6), QTime(17, 5, 9), QTimeZone::utc());
    i.language_index = language;
    return i;
}

class ChartExportTest : public ::testing::Test {
protected:
    void SetUp() override {
        fresh_log_chart();
        platform::date_formats() = {};
    }
    void TearDown() override {
        platform::number_separators() = {};
        unload_legend_window();
        log_chart_model().remove_all_series();
    }
};

} // namespace

TEST_F(ChartExportTest, LayoutPerLanguageWithQuotingDatesAndEmptyCells) {
    const QString rule(70, '-');
    const QString english = rule +
                            "\r\nFile Name : /home/u/site.csv\r\nSerial Number :  12345 \r\n"
                            "Saved on 06/12/2026 17:05:09\r\n" +
                            rule +
                            "\r\nDate&Time,Level (m),\"Temp, \"\"inside\"\" (\xC2\xB0"
                            "C)\"\r\n"
                            "04/12/2026,\"1.25\",\"-3\"\r\n"
                            "04/12/2026 00:15:00,\"1.5\",\r\n";
    const auto en = chart_export_csv(sample(), info(0, 12345));
    ASSERT_TRUE(en);
    EXPECT_TRUE(en->startsWith("\xEF\xBB\xBF"));
    EXPECT_EQ(QString::fromUtf8(en->mid(3)), english);

    // French: ';' between cells and a decimal comma; no serial number line for serial 0.
    platform::number_separators().decimal = ",";
    const auto fr = chart_export_csv(sample(), info(2, 0));
    ASSERT_TRUE(fr);
    EXPECT_TRUE(QString::fromUtf8(*fr).endsWith(
        "site.csv\r\nSaved on 06/12/2026 17:05:09\r\n" + rule +
        "\r\nDate&Time;Level (m);\"Temp, \"\"inside\"\" (\xC2\xB0"
        "C)\"\r\n04/12/2026;\"1,25\";\"-3\"\r\n04/12/2026 00:15:00;\"1,5\";\r\n"));

    // No ticked series: the dates alone; no series at all: no file.
    LogChartModel m = sample();
    for (int k = 0; k < m.series_count(); ++k)
        m.series(k).active = false;
    const auto dates = chart_export_csv(m, info(0, 0));
    ASSERT_TRUE(dates) << "series were charted but the export wrote no file";
    EXPECT_TRUE(dates->endsWith(rule.toLatin1() +
                                "\r\nDate&Time\r\n04/12/2026\r\n04/12/2026 00:15:00\r\n"));
    EXPECT_FALSE(chart_export_csv(LogChartModel(), info(0, 1)));
}

TEST_F(ChartExportTest, TheUserExportsToAChosenFileAndIsToldWhere) {
    QTemporaryDir dir;
    shell().ini_path = dir.filePath("general.ini");
    shell().export_path = dir.filePath("ExportLog");
    definitions_table()[92].unit_value = 77;
    LogChartModel& chart = log_chart_model();
    chart.remove_all_series();
    LogChartSeries& s = chart.add_series("Level (mm)");
    s.add_point(at(1, 12, 0), 1500);

    platform::ScopedScriptedDialogs dialogs;
    dialogs.files.push_back(QString()); // cancelled
    export_chart_data();
    ASSERT_EQ(dialogs.prompts.size(), 1u) << "a cancelled export said something";
    EXPECT_EQ(dialogs.prompts[0].folder, dir.filePath("ExportLog"));

    const QString path = dir.filePath("out/site.csv");
    QDir().mkpath(dir.filePath("out"));
    dialogs.files.push_back(path);
    show_legend_window();
    export_chart_data();
    // Minimised, the legend window would take the main window with it under a window manager.
    EXPECT_TRUE(legend_window().isHidden() && !legend_window().isMinimized());
    ASSERT_EQ(dialogs.messages(), QStringList({"Data exported to " + path}));
    const QByteArray bytes = testfiles::read_bytes(path);
    EXPECT_TRUE(bytes.contains("Serial Number :  77 \r\n") &&
                bytes.endsWith("01/12/2026 12:00:00,\"1500\"\r\n"));
    EXPECT_EQ(read_ini(shell().ini_path, "General", "ExportPath", ""), dir.filePath("out"));
    EXPECT_FALSE(log_setup().legend_window_shown);
}
