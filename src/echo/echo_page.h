#pragma once
// The echo page, tab 0 of the CSO set-up tab set: the echo chart with its gate, span bands and
// cursor, the three read-outs laid over it (status box, level and temperature charts), the
// regular echo choice, the trace boxes with their intervals, the Gate, Range and Gradient boxes,
// the light and colour buttons, and the KOVEX chart and tab sets. The page only holds and lays
// out the controls; the echo display (echo_display.h) draws on them and the live monitor
// (live_monitor.h) handles them.

#include <QWidget>
#include <array>
#include <functional>

class QCheckBox;
class QCustomPlot;
class QCPItemRect;
class QCPItemStraightLine;
class QCPItemText;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;
class QToolButton;

class EchoPage : public QWidget {
    Q_OBJECT
public:
    explicit EchoPage(QWidget* parent = nullptr);

    // The echo chart: graphs 0..3 the traces RAW, NORMAL, AVERAGE, KOVEX; the gate
    // bars, the three span bands (tools 1..3) and the cursor lines (tool 0) are items on it.
    QCustomPlot* echo_chart = nullptr;
    QCustomPlot* temperature_readout = nullptr; // "Measured Temperature" read-out
    QCustomPlot* level_readout = nullptr;       // "Measured Level" read-out
    std::array<QCPItemRect*, 3> gate_bars{};
    std::array<QCPItemRect*, 4> span_band{}; // tools 1..3 (0 unused)
    QCPItemStraightLine* cursor_x = nullptr;  // tool 0, the cursor that follows the mouse
    QCPItemStraightLine* cursor_y = nullptr;

    QCustomPlot* volume_flow_chart = nullptr;
    QCustomPlot* kovex_chart = nullptr;      // KOVEX chart
    QCPItemText* kovex_readout = nullptr;    // the KOVEX chart's point read-out (its tool 1)
    QGroupBox* regular_echo_frame = nullptr; // scrframe(1026)
    QRadioButton* live_option = nullptr;     // regular echo on: live monitoring
    QRadioButton* offline_option = nullptr;  // regular echo off
    std::array<QCheckBox*, 4> trace_boxes{}; // raw, normal, average, KOVEX trace
    std::array<QSpinBox*, 4> trace_intervals{}; // their intervals (seconds), with up-down arrows
    QLabel* interval_label = nullptr;
    QCheckBox* gate_box = nullptr;              // Gate
    QCheckBox* gradient_box = nullptr;          // Gradient
    QCheckBox* range_box = nullptr;             // Range
    QToolButton* light_button = nullptr;        // the chart light
    QToolButton* colour_button = nullptr;       // the chart colour
    std::array<QLineEdit*, 2> cursor_readout{}; // cursor distance and amplitude
    QLineEdit* playback_interval_box = nullptr; // playback interval (seconds)
    QToolButton* playback_interval_arrows = nullptr;
    QLabel* playback_interval_label = nullptr;
    QLabel* status_box = nullptr; // element 0: the status box over the echo chart
    QTabWidget* SSTab2 = nullptr; // element 0
    QTabWidget* SSTab3 = nullptr; // element 0
    QTabWidget* SSTab5 = nullptr; // element 0
    QTabWidget* kovex_chart_tabs = nullptr;
    QPushButton* send_points_button = nullptr;
    QPushButton* default_kovex_button = nullptr;
    QPushButton* set_kovex_button = nullptr;
    QPushButton* get_traces_button = nullptr;
    QCheckBox* view_points_box = nullptr;

    // Texts of the charts and of the controls the caption table does not cover.
    void set_page_texts();
    // Texts of the pages that borrow this page's controls (the KOVEX tab).
    std::function<void()> more_texts;
    // The bottom axis title for the unit of P104 ("m", "cm", ...).
    void set_distance_unit(const QString& unit);

    // The offline choice's handler. It runs only when the choice changes to offline, so that
    // enable_controls, which selects it, and this handler, which calls enable_controls, cannot
    // call each other without end.
    void Option3_Click();
    // What the offline choice does on the main window (enable_controls), and the live
    // monitor's stop, which runs first.
    std::function<void()> offline_chosen;
    std::function<void()> offline_handler;

    // The live choice's handler; installing it offers the live choice. Until the live monitor
    // is there the choice is disabled, so it can never claim a monitoring that does not run.
    void set_live_handler(std::function<void()> handler);
    void Option2_Click();

    // The trace boxes' handler (with the box index); installing it offers the boxes.
    void set_trace_box_handler(std::function<void(int)> handler);

signals:
    // The chart area changed size: the read-outs follow its right edge.
    void echo_chart_resized();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void()> live_handler_;
    std::function<void(int)> trace_box_handler_;
};
