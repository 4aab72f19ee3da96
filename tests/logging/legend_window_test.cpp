// The legend window and the series title dialog: the bands of "Multiple Axes", the paging
// read-outs and bounds, the boxes acting on the chart, and renaming a series.
#include "logging_test.h"

#include "platform/text_file.h"
#include "shell/language_file.h"

namespace {

class LegendWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        LogChartModel& model = fresh_log_chart();
        shell().ini_path = dir.filePath("general.ini");
        shell().graph_background = false;
        log_setup().log_records = 300;
        log_setup().log_interval = 15;
        for (int k = 0; k < 3; ++k) {
            LogChartSeries& s = model.add_series(QStringLiteral("Series %1").arg(k));
            s.active = k == 0;
            for (int i = 0; i < 300; ++i)
                s.add_point(1.78e9 + 900.0 * i, i + k);
        }
        page = std::make_unique<LogChartPage>();
        page->resize(800, 500);
        model.changed();
    }
    void TearDown() override {
        unload_legend_window();
        page.reset();
        log_chart_model().remove_all_series();
        series_title_dialog_runner() = [](QDialog& d) { return d.exec(); };
    }

    QTemporaryDir dir;
    std::unique_ptr<LogChartPage> page;
};

} // namespace

TEST(LegendRules, MultipleAxesShareTheHeightInWholePercentsAlternatingSides) {
    auto bands = [](int n) {
        QStringList t;
        for (const legend::Band& b : legend::axis_bands(n))
            t << QString("%1-%2%3").arg(b.start).arg(b.end).arg(b.right ? "R" : "L");
        return t.join(' ');
    };
    EXPECT_EQ(
        fields(bands(0), bands(1), bands(3), bands(6)),
        fields("", "0-100L", "0-33L 33-66R 66-99L", "0-16L 16-32R 32-48L 48-64R 64-80L 80-96R"));
}

TEST(LegendRules, PagingBoundsAndReadOuts) {
    for (auto [records, maximum] : {std::pair{12000, 5000}, {300, 300}, {0, 1}, {-5, 1}})
        EXPECT_EQ(legend::points_per_page_maximum(records), maximum) << records;
    EXPECT_EQ(
        std::tuple(legend::clamp_points_per_page(20, 1), legend::clamp_points_per_page(7000, 5000)),
        std::tuple(1, 5000));

    LogChartModel model;
    model.add_series("a").x.resize(0);
    EXPECT_EQ(model.page_count(), 1);
    for (int i = 0; i < 250; ++i)
        model.series(0).add_point(i, i);
    const std::pair<int, int> cases[] = {{0, 1}, {1, 250}, {20, 13}, {250, 1}};
    for (auto [per_page, pages] : cases) {
        model.display.points_per_page = per_page;
        EXPECT_EQ(model.page_count(), pages) << per_page;
    }
}

TEST_F(LegendWindowTest, LoadListsTheSeriesAndSetsThePagingReadOuts) {
    LegendWindow& w = legend_window();
    EXPECT_TRUE(log_setup().legend_window_shown);
    ASSERT_EQ(w.TeeListBox1->count(), 3);
    EXPECT_EQ(std::tuple(w.TeeListBox1->item(0)->checkState(), w.TeeListBox1->item(1)->checkState(),
                         w.HScroll1->maximum(), w.HScroll1->value()),
              std::tuple(Qt::Checked, Qt::Unchecked, 300, 20));
    EXPECT_EQ(w.Label1->text() + "|" + w.Label2->text(),
              "Time Per Page = 300 min|Number of Pages = 15");
    w.HScroll1->setValue(96);
    EXPECT_EQ(std::tuple(w.Label1->text(), log_chart_model().display.points_per_page),
              std::tuple(QString("Time Per Page = 1440 min"), 96));

    // In every language the help breaks its lines only where its sentences end; the label wraps
    // within them.
    const auto shipped = platform::read_text_file(
        QUILLARN_DATA_DIR "/" + QString(DEFINITIONS_FOLDER) + "/" + LANGUAGE_FILE);
    ASSERT_TRUE(shipped.has_value());
    for (int language = 0; language < 5; ++language) {
        load_language_text(*shipped, language);
        w.apply_legend_texts();
        for (const QString& line : w.Text1->text().split('\n'))
            EXPECT_TRUE(line.endsWith('.')) << "language " << language << ": a line of the help "
                                            << "breaks off at \"" << line << '"';
    }
    for (auto& record : definitions_table())
        record.text.clear();
}

TEST_F(LegendWindowTest, EachLogPagesAtTheChartsPointsPerPageWhenTheWindowCameFirst) {
    // The window made before any log was known (start-up, or before a download).
    log_setup().log_records = 0;
    LegendWindow& w = legend_window();
    struct Case {
        double records;
        int chosen; // the user's scroll bar choice before this log; 0 none
        int per_page;
        const char* pages;
    };
    const Case cases[] = {
        {300, 0, 20, "Number of Pages = 15"},
        {30, 50, 30, "Number of Pages = 10"}, // the choice as far as the log reaches
        {300, 0, 50, "Number of Pages = 6"},  // and whole again for a longer log
    };
    for (const Case& c : cases) {
        if (c.chosen)
            w.HScroll1->setValue(c.chosen);
        log_setup().log_records = c.records;
        show_legend_window();
        EXPECT_EQ(fields(w.HScroll1->value(), log_chart_model().display.points_per_page,
                         w.Label2->text()),
                  fields(c.per_page, c.per_page, c.pages))
            << c.records << ": the chart opened at one point a page";
    }
}

TEST_F(LegendWindowTest, BoxesActOnTheChartAndBackgroundIsKept) {
    LegendWindow& w = legend_window();
    w.TeeListBox1->item(2)->setCheckState(Qt::Checked);
    EXPECT_TRUE(log_chart_model().series(2).active);
    w.Check5->setChecked(true);
    EXPECT_EQ(std::tuple(page->chart_view->bands(), int(log_setup().active_series_count)),
              std::tuple(2, 2));
    w.Command1->click();
    EXPECT_EQ(page->chart_view->bands(), 3);
    // Every band shows the same time range from the moment it appears.
    const QCPRange time = page->log_chart->axisRect(0)->axis(QCPAxis::atBottom)->range();
    for (QCPAxisRect* band : page->log_chart->axisRects())
        EXPECT_EQ(band->axis(QCPAxis::atBottom)->range(), time);
    EXPECT_GT(time.lower, 1e9) << "a new band starts at 1970";
    w.Command2->click();
    EXPECT_EQ(page->chart_view->drawn_series(), 0);
    w.Check5->setChecked(false);
    EXPECT_EQ(page->chart_view->bands(), 1);

    w.Check1->setChecked(true);
    EXPECT_TRUE(w.Check2->isChecked() && log_chart_model().series(0).show_points)
        << "labels come with point markers";
    w.Check3->setChecked(true);
    EXPECT_EQ(read_ini(shell().ini_path, "Graph", "Background", "x"), "True");
    w.Check3->setChecked(false);
    EXPECT_TRUE(read_ini(shell().ini_path, "Graph", "Background", "x") == "False" &&
                !shell().graph_background);
    w.Check4->setChecked(true);
    EXPECT_TRUE(log_chart_model().display.legend);
}

TEST_F(LegendWindowTest, TheSeriesListFollowsEveryChangeOfTheChartsSeries) {
    LegendWindow& w = legend_window();
    series_title_dialog_runner() = [](QDialog& d) {
        d.findChild<QLineEdit*>("Text1")->setText("Sump");
        return QDialog::Accepted;
    };
    const std::pair<const char*, std::function<void()>> changes[] = {
        {"the series title dialog", [&] { w.TeeListBox1_DblClick(1); }},
        {"Setup's Update & Exit",
         [] {
             log_setup().log_channel_table.enabled.fill(false);
             log_setup().log_channel_table.enabled[0] = true;
             apply_chart_unit_changes(QString());
         }},
        {"a log opened anew", [] { log_chart_model().add_series("Flow (l/s)"); }},
    };
    const char* expected[] = {"Series 0|Sump|Series 2", "Level ()|Sump|Series 2",
                              "Level ()|Sump|Series 2|Flow (l/s)"};
    for (size_t i = 0; i < std::size(changes); ++i) {
        changes[i].second();
        QStringList listed;
        for (int k = 0; k < w.TeeListBox1->count(); ++k)
            listed << w.TeeListBox1->item(k)->text();
        EXPECT_EQ(listed.join('|'), expected[i])
            << changes[i].first << ": the legend list still shows the series as they were";
    }
}

TEST_F(LegendWindowTest, MultipleAxesWithoutActiveSeriesChangesNothing) {
    LegendWindow& w = legend_window();
    w.Command2->click();
    w.Check5->setChecked(true);
    EXPECT_TRUE(!log_chart_model().display.multiple_axes && page->chart_view->bands() == 1);
}

TEST_F(LegendWindowTest, TheTitleDialogRenamesTrimmedAndCancelChangesNothing) {
    // A series without a title opens with its name; the dialog stands in the middle of the screen.
    const struct {
        int series;
        const char* typed;
        bool ok;
        const char *shown, *title;
    } cases[] = {
        {1, "  Sump level  ", true, "Series 1", "Sump level"},
        {1, "Other", false, "Series 1", "Series 1"},
        {2, "", false, "Series2", ""},
    };
    legend_window().move(0, 0);
    for (const auto& c : cases) {
        log_chart_model().series(1).title = "Series 1";
        log_chart_model().series(2).title.clear();
        QString shown;
        QPoint off_centre;
        series_title_dialog_runner() = [&](QDialog& d) {
            auto* box = d.findChild<QLineEdit*>("Text1");
            shown = box->text();
            box->setText(c.typed);
            off_centre =
                d.geometry().center() - QGuiApplication::primaryScreen()->geometry().center();
            return c.ok ? QDialog::Accepted : QDialog::Rejected;
        };
        legend_window().TeeListBox1_DblClick(c.series);
        EXPECT_EQ(fields(shown, log_chart_model().series(c.series).title,
                         log_setup().selected_series_index, off_centre.manhattanLength() <= 2),
                  fields(c.shown, c.title, c.series, true))
            << c.typed;
    }

    // The axis goes on saying what the values are measured in, whatever the series is called.
    LogChartModel& model = log_chart_model();
    model.remove_all_series();
    model.add_series("Level (mm)").add_point(1.78e9, 1200);
    model.changed();
    series_title_dialog_runner() = [](QDialog& d) {
        d.findChild<QLineEdit*>("Text1")->setText("Sump");
        return QDialog::Accepted;
    };
    legend_window().TeeListBox1_DblClick(0);
    EXPECT_EQ(fields(model.series(0).title, page->log_chart->yAxis->label()), fields("Sump", "mm"))
        << "the renamed series' axis lost its unit";
}
