#pragma once
// PowerCalculatorWindow, the power calculator: the user picks a transducer, the battery voltage and the output
// hold, types the wake interval, output duration, capacity and usable share, and reads the
// average current and battery life; the chart shows one measurement cycle's output voltage and
// ready signal, each on its own vertical axis in its own band. The arithmetic is in
// power_calculator.h; this window reads its boxes in the user's locale and shows the results.
// Every opening starts from the start values; nothing is stored.

#include "reports/power_calculator.h"
#include "shell/number_box.h"

#include <QDialog>
#include <array>

class QComboBox;
class QCPAxisRect;
class QCPGraph;
class QCPItemStraightLine;
class QCPItemText;
class QCustomPlot;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMouseEvent;
class QPushButton;
namespace logsetup {
class UpDown;
}

class PowerCalculatorWindow : public QDialog {
    Q_OBJECT
public:
    explicit PowerCalculatorWindow(QWidget* parent = nullptr);
    ~PowerCalculatorWindow() override;

    void Form_Load();
    // Reads the inputs, redraws the profile and shows the results; run by every input change.
    void update();
    void drawchart();
    void TChart2_MouseMove(QMouseEvent* event);
    void Command1_Click();

    // The inputs as the boxes hold them now (an empty box counts as 0 from the moment it is
    // emptied, as does a box that never held a number; one that holds a number in another
    // notation than the locale's, or beyond the box's limits, half typed or refused, counts as
    // what it held before). The wake interval takes 0 to 99 minutes, 0 below its arrows' least,
    // and the usable share 0 to 100 %.
    power::CalculatorInputs inputs() const;
    // The end of the user's edit of box i (leaving it, or Enter): a number in another notation
    // than the locale's, or beyond the box's limits, is refused with one message and the box
    // shows the last value it took again (emptied included), false then; an accepted number is
    // shown in the locale's form.
    bool finish_edit(size_t i);

    QCustomPlot* TChart2 = nullptr;
    std::array<QComboBox*, 3> Combo1{};  // 0 transducer, 1 voltage, 2 output hold
    std::array<QLineEdit*, 7> Text1{};   // 0 output dur, 1 capacity, 2 wake, 3 average, 4 days,
                                         // 5 leakage, 6 usable
    logsetup::UpDown* UpDown1 = nullptr; // wake interval
    logsetup::UpDown* UpDown2 = nullptr; // usable share
    QLabel* Label2 = nullptr;            // disclaimer
    QLabel* Label3 = nullptr;            // years, months, days
    std::array<QGroupBox*, 3> Frame{};   // application, battery, estimated power
    QPushButton* Command1 = nullptr;

    QCPGraph* output_series = nullptr; // series 0
    QCPGraph* ready_series = nullptr;  // series 1
    QCPItemText* annotation = nullptr; // the pointer read-out
    QCPItemStraightLine* cursor = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build();
    QCPAxisRect* output_band_ = nullptr;
    QCPAxisRect* ready_band_ = nullptr;
    double box_value(size_t i) const;
    NumberLimits limits(size_t i) const;
    bool loading_ = false;
    std::array<QString, 7> accepted_{}; // each box's last value taken: left, or emptied
    std::array<bool, 7> editing_{};     // typed into since the user last left it
};
