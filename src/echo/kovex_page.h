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

    QCustomPlot* TChart4 = nullptr;
    QCPItemText* kovex_readout = nullptr; // tool 1
    std::array<QCPItemStraightLine*, 2> cursor{}; // tool 0
    QPushButton* Command14 = nullptr; // Send Points
    QPushButton* Command15 = nullptr; // Default KOVEX
    QPushButton* Command16 = nullptr; // Set KOVEX
    QPushButton* Command17 = nullptr; // Get Traces
    QCheckBox* Check7 = nullptr;      // View Points
    std::array<QRadioButton*, 8> Option4{};
    std::map<int, QLineEdit*> scrpar; // the KOVEX set's boxes by parameter number

    void set_page_texts();
    // The parameter numbers of the tab's boxes.
    static std::vector<int> parameters();

private:
    QTabWidget* boxes_ = nullptr; // Setup, Points 1-8
};
