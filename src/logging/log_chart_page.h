#pragma once
// The log chart page, tab 2 of the logging tab set: the log chart with its command bar and the
// buttons beside it. The log chart loading, its window events and the report fill it; until then
// its controls are in place and offer no work. The main window places the controls (see the main
// window's layout), so the page itself has no layout.

#include <QWidget>

class QCustomPlot;
class QFrame;
class QPushButton;

class LogChartPage : public QWidget {
    Q_OBJECT
public:
    explicit LogChartPage(QWidget* parent = nullptr);

    QPushButton* Command4 = nullptr; // square button at the top of the column
    QPushButton* Command9 = nullptr;
    QPushButton* Command13 = nullptr; // report
    QFrame* TeeCommander1 = nullptr;  // chart command bar
    QCustomPlot* TChart1 = nullptr;   // log chart
};
