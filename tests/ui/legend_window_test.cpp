// Switching modes tucks away a legend window that is up, and never brings up one that is not.
#include "logging/legend_window.h"
#include "ui_test_support.h"

#include <QTest>

namespace {

class LegendWindowModeTest : public UiTest {};

} // namespace

TEST_F(LegendWindowModeTest, ChoosingTheCsoModeLeavesAHiddenLegendWindowHidden) {
    MainWindow& w = open_main_window(2, 1);
    w.show();
    legend_window().hide(); // loaded, as after a chart was looked at, but not up
    w.menu_entry("csomenu")->trigger();
    QTest::qWait(10);
    EXPECT_FALSE(legend_window().isVisible()) << "an empty legend window came up";

    legend_window().showNormal();
    w.menu_entry("csomenu")->trigger();
    EXPECT_TRUE(legend_window().tucked_away()) << "a legend window that was up stayed up";
    unload_legend_window();
}
