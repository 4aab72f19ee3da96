// The echo page in the main window: the saved view choices come back at the next start, the
// toolbar's read-out keys show the read-outs and keep their choice, and File > Print > Print Echo
// Traces puts the chart on paper as the screen shows it.
#include "printed_chart.h"
#include "ui_test_support.h"

#include "echo/echo_page.h"
#include "echo/echo_state.h"
#include "platform/profile.h"
#include "reports/print_menus.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QPrinter>
#include <QSpinBox>
#include <QToolButton>
#include <qcustomplot.h>

namespace {

class EchoViewTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        reset_echo_state();
    }
    QString saved(const QString& section, const QString& key) {
        return platform::read_profile_string(ini(), section, key).value_or("?");
    }
    void restart() {
        const ShellState kept = shell();
        main_window().close();
        flush();
        reset_shell_state();
        // What the start window settles before the main window opens.
        shell().ini_path = kept.ini_path;
        shell().software_mode = kept.software_mode;
        shell().access_level = 1;
    }
};

TEST_F(EchoViewTest, TheViewAsLeftComesBackAtTheNextStart) {
    MainWindow& w = open_main_window(1, 1);
    EchoPage* p = w.echo_page;
    EXPECT_TRUE(p->trace_boxes[0]->isChecked()) << "RAW is ticked by default";
    EXPECT_EQ(p->trace_intervals[0]->value(), 5);
    p->trace_boxes[0]->setChecked(false);
    p->trace_boxes[3]->setChecked(true);
    p->trace_intervals[3]->setValue(7);
    p->gate_box->setChecked(false);
    p->light_button->click();
    w.dispatch_toolbar_button("level_display");
    EXPECT_TRUE(w.toolbar_button("level_display")->isChecked());
    EXPECT_FALSE(p->level_readout->isHidden()) << "the level key did not show the level chart";
    EXPECT_EQ(saved("Echo Control", "Level"), "True");

    restart();
    MainWindow& again = main_window();
    p = again.echo_page;
    // The gradient box stays hidden with the light off.
    EXPECT_EQ(fields(p->trace_boxes[0]->isChecked(), p->trace_boxes[3]->isChecked(), p->trace_intervals[3]->value(),
                     p->gate_box->isChecked(), shell().echo_light_on, p->gradient_box->isHidden(),
                     again.toolbar_button("level_display")->isChecked(), p->level_readout->isHidden(),
                     p->status_box->isHidden()),
              fields(false, true, 7, false, false, true, true, false, true));
}

TEST_F(EchoViewTest, PrintedEchoTracesShowEveryTextOfTheChartWholeAndApartOnTheSheet) {
    for (const int language : {0, 2}) {
        SCOPED_TRACE(language);
        MainWindow& w = open_main_window(1, 1, language);
        w.resize(1366, 740);
        w.show();
        QCustomPlot* chart = w.echo_page->echo_chart;
        const QString pdf = tmp.filePath(QStringLiteral("echo%1.pdf").arg(language));
        set_choose_printer([&](QPrinter& printer, QWidget*) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            return true;
        });
        w.menu_entry("printecho")->trigger();
        set_choose_printer({});
        const auto pages = printed_pages(pdf);
        ASSERT_EQ(pages.size(), 1u);
        const QSizeF sheet = pages[0].size;
        EXPECT_GT(sheet.width(), sheet.height()) << "not landscape";
        const QRectF area(sheet.width() * 0.05, sheet.height() * 0.05, sheet.width() * 0.9,
                          sheet.height() * 0.9);
        const QStringList words = chart_words(*chart);
        EXPECT_GE(words.size(), 15) << words.join(' ').toStdString();
        EXPECT_EQ(unreadable_words(pages[0], words, area), QStringList());
        EXPECT_TRUE(dialogs.messages().isEmpty()) << dialogs.messages().join('\n').toStdString();
        restart();
    }
}

} // namespace
