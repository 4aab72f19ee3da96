#pragma once
// The log chart page, tab 2 of the logging tab set: the log chart with its command bar and the
// buttons beside it. The chart draws the log chart model (log_chart_model()); the square button
// shows or hides the chart's legend. The main window places the controls (see the main window's
// layout), so the page itself has no layout.

#include <QWidget>
#include <functional>

class LogChartView;
class QCustomPlot;
class QFrame;
class QPushButton;

class LogChartPage : public QWidget {
    Q_OBJECT
public:
    explicit LogChartPage(QWidget* parent = nullptr);

    QPushButton* legend_button = nullptr; // square button at the top of the column: the legend
    QPushButton* reset_zoom_button = nullptr; // whole log in view, legend window put away
    QPushButton* report_button = nullptr; // report
    QFrame* TeeCommander1 = nullptr;  // chart command bar
    QCustomPlot* log_chart = nullptr; // log chart
    LogChartView* chart_view = nullptr;

    // The legend button: shows or hides the legend window (legend_button_action), or the chart's
    // own legend while there is none.
    void Command4_Click();
    std::function<void()> legend_button_action;
    // Texts in the current language.
    void set_page_texts();
};
