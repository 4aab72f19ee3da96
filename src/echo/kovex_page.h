#pragma once
// The KOVEX tab: the chart of the RAW echo and the unit's KOVEX curve, the Get Traces, Send
// Points, Set KOVEX and Default KOVEX buttons, View Points, the eight point choices and the boxes
// of the KOVEX parameter set (P41, P81..P84, P109..P112, the Limit and Loss pairs P170..P185,
// P905, and P906 beside them). The chart, the buttons and View Points come from the echo page,
// where the design keeps them.

#include <QWidget>
#include <array>
#include <map>

class EchoPage;
class QCheckBox;
class QCustomPlot;
class QCPItemStraightLine;
class QCPItemText;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;

class KovexPage : public QWidget {
    Q_OBJECT
public:
    explicit KovexPage(EchoPage& echo, QWidget* parent = nullptr);

    QCustomPlot* kovex_chart = nullptr;
    QCPItemText* kovex_readout = nullptr; // tool 1
    std::array<QCPItemStraightLine*, 2> cursor{}; // tool 0
    QPushButton* send_points_button = nullptr;    // Send Points
    QPushButton* default_kovex_button = nullptr;  // Default KOVEX
    QPushButton* set_kovex_button = nullptr;      // Set KOVEX
    QPushButton* get_traces_button = nullptr;     // Get Traces
    QCheckBox* view_points_box = nullptr;         // View Points
    std::array<QRadioButton*, 8> point_options{};
    std::map<int, QLineEdit*> parameter_boxes; // the KOVEX set's boxes by parameter number

    void set_page_texts();
    // The parameter numbers of the tab's boxes.
    static std::vector<int> parameters();

private:
    QTabWidget* boxes_ = nullptr; // Setup, Points 1-8
};
