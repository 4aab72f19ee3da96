#pragma once
// Keeps the log chart, its command bar and the legend window in step with the logging tab set:
// the chart tab brings the legend window up, any other tab tucks it away (and Timer4 keeps it
// tucked), the command bar's first use after choosing the chart tab keeps the window up and later
// uses tuck it away. The command bar zooms, resets the zoom, pages through the chart, copies it,
// saves it as PNG or PDF and prints it with a preview. A dotted cursor line follows the mouse
// inside the data.

#include <QObject>

class LogChartPage;
class QCPItemStraightLine;
class QLabel;
class QPrinter;
class QTabWidget;
class QTimer;
class QToolButton;

namespace legend {
// Whether the chart's bands must be laid out again after a redraw: only with "Multiple Axes",
// some series shown, and a band count that no longer matches.
bool needs_relayout(bool multiple_axes, int active_series, int bands);
} // namespace legend

class LogChartEvents : public QObject {
public:
    // `tabs` is the logging tab set (tab 2 the chart), `timer` the main window's Timer4.
    LogChartEvents(QTabWidget* tabs, LogChartPage* page, QTimer* timer, QObject* parent = nullptr);

    void SSTab1_Click(int previous_tab);
    void Timer4_Timer();
    void TChart1_AfterDraw();
    void TChart1_MouseMove(double x, double y);
    void TeeCommander1_Click();
    void TeeCommander1_Changed();
    void Command9_Click();

    // Page navigator
    void show_page(int page);
    void update_navigator();

    QToolButton* zoom_in = nullptr;
    QToolButton* zoom_out = nullptr;
    QToolButton* copy = nullptr;
    QToolButton* save = nullptr;
    QToolButton* print = nullptr;
    QToolButton* first_page = nullptr;
    QToolButton* previous_page = nullptr;
    QToolButton* next_page = nullptr;
    QToolButton* last_page = nullptr;
    QLabel* page_counter = nullptr;

    // The print key's page, on paper and in its preview: the chart laid out on the printer's page
    // area. A printer that cannot be started is told in a message, and false returned.
    bool print_page(QPrinter& printer);

private:
    void build_command_bar();
    void zoom(double factor);
    void save_chart();
    void print_chart();

    QTabWidget* tabs_;
    LogChartPage* page_;
    QTimer* timer_;
    QCPItemStraightLine* cursor_ = nullptr;
    int current_tab_ = 0;
};

// Installs the chart's events on the main window's logging tab set and Timer4 (started here).
LogChartEvents* install_log_chart_events(QTabWidget* tabs, LogChartPage* page, QTimer* timer,
                                         QWidget* owner);
