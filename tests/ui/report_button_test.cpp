// The log chart's report button opens the report generator.
#include "logging/log_chart_page.h"
#include "ui_test_support.h"

#include <QPushButton>
#include <QTest>

namespace {

class ReportButtonTest : public UiTest {};

} // namespace

TEST_F(ReportButtonTest, ClickingTheReportButtonOpensTheReportWindow) {
    MainWindow& w = open_main_window(0, 0);
    int shown = 0;
    w.services.show_report = [&] { ++shown; };
    // The chart tab itself opens with a log; the button on it must not stay shut on its own.
    QPushButton* report = w.log_chart_page->report_button;
    ASSERT_TRUE(report->isEnabledTo(w.log_chart_page)) << "the report generator cannot be reached";
    emit report->clicked();
    EXPECT_EQ(shown, 1);
}
