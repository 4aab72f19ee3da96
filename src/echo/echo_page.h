#pragma once
// The echo page, tab 0 of the CSO set-up tab set: the echo chart, the regular echo choice, the
// trace boxes and the playback interval, with the KOVEX chart and the read-out tab sets. The
// trace exchange, the live monitor and the player fill it; until they arrive their controls are
// in place but offer no work.

#include <QWidget>
#include <array>
#include <functional>

class QCheckBox;
class QCustomPlot;
class QCPItemText;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QToolButton;

class EchoPage : public QWidget {
    Q_OBJECT
public:
    explicit EchoPage(QWidget* parent = nullptr);

    QCustomPlot* TChart2 = nullptr; // the echo chart, element 0 of its array
    QCustomPlot* TChart3 = nullptr;
    QCustomPlot* TChart4 = nullptr;          // KOVEX chart
    QCPItemText* kovex_readout = nullptr;    // the KOVEX chart's point read-out (its tool 1)
    QGroupBox* regular_echo_frame = nullptr; // scrframe(1026)
    QRadioButton* Option2 = nullptr;         // regular echo on: live monitoring
    QRadioButton* Option3 = nullptr;         // regular echo off
    std::array<QCheckBox*, 4> Check6{};      // raw, normal, average, KOVEX trace
    QLineEdit* Text15 = nullptr;             // playback interval (seconds)
    QToolButton* UpDown6 = nullptr;
    QLabel* Label9 = nullptr;
    QLineEdit* Text67 = nullptr;  // element 0: the trace read-out
    QTabWidget* SSTab2 = nullptr; // element 0
    QTabWidget* SSTab3 = nullptr; // element 0
    QTabWidget* SSTab5 = nullptr; // element 0
    QTabWidget* SSTab7 = nullptr;
    QPushButton* Command14 = nullptr;
    QPushButton* Command15 = nullptr;
    QPushButton* Command16 = nullptr;
    QPushButton* Command17 = nullptr;
    QCheckBox* Check7 = nullptr;
    QCheckBox* Check8 = nullptr;
    QCheckBox* Check9 = nullptr;
    QCheckBox* Check10 = nullptr;

    // The offline choice's handler. It runs only when the choice changes to offline, so that
    // enable_controls, which selects it, and this handler, which calls enable_controls, cannot
    // call each other without end.
    void Option3_Click();
    // What the offline choice does on the main window (enable_controls).
    std::function<void()> offline_chosen;

    // The live choice's handler; installing it offers the live choice. Until the live monitor
    // is there the choice is disabled, so it can never claim a monitoring that does not run.
    void set_live_handler(std::function<void()> handler);
    void Option2_Click();

    // The trace boxes' handler (with the box index); installing it offers the boxes.
    void set_trace_box_handler(std::function<void(int)> handler);

private:
    std::function<void()> live_handler_;
    std::function<void(int)> trace_box_handler_;
};
