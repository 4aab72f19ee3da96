#pragma once
// The parameter pages of the CSO set-up tab set: the parameter set-up tabs (tab 1), the vessel
// (tab 2) and the flow element (tab 3). The parameter screen and the set-up tabs fill them with
// their rows and pictures; until then they hold their tab sets and frames, named as the rows
// will find them.

#include <QWidget>
#include <map>

// The room of a set-up tab's picture. Picture and notice take its whole width whatever they
// show, so that the rows beside them never move when a picture comes, goes or shrinks.
inline constexpr int SETUP_PICTURE_WIDTH = 360;
inline constexpr int SETUP_PICTURE_HEIGHT = 270;

class QGroupBox;
class QLabel;
class QTabWidget;
class QCustomPlot;

class ParameterPage : public QWidget {
    Q_OBJECT
public:
    explicit ParameterPage(QWidget* parent = nullptr);

    QTabWidget* parameter_tabs = nullptr; // element 2: the parameter set-up tabs
    QTabWidget* loss_tabs = nullptr;      // element 1: the loss curve, its points, the losses
    QCustomPlot* loss_curve = nullptr;    // loss against limit, P170..P185
    std::map<int, QGroupBox*> scrframe;   // by the number of the frame's first row
    std::map<QString, QGroupBox*> frames; // "Frame2", "Frame1(13)", ... by object name
};

// The vessel set-up tab: the picture of the shape with its name, the vessel rows, and for the
// universal shapes the breakpoint pages with the level-to-volume chart.
class VesselPage : public QWidget {
    Q_OBJECT
public:
    explicit VesselPage(QWidget* parent = nullptr);

    QGroupBox* picture_frame = nullptr; // the vessel picture's frame
    QGroupBox* Frame5_1 = nullptr;      // the vessel rows
    QLabel* vessel_picture = nullptr; // the vessel picture
    QLabel* scrlabel19 = nullptr;     // the shape's name
    QLabel* scrlabel1 = nullptr;      // "Image information not available"
    QWidget* rows = nullptr;          // where the rows P600..P607 go
    QTabWidget* breakpoint_tabs = nullptr; // the breakpoint pages, eight points each
    QCustomPlot* volume_chart = nullptr;   // level to volume
};

// The flow element set-up tab: the picture of the element with its name and note, the pages of
// rows ("Setup", "Dim.", "Calc.") and the flow breakpoint pages with the level-to-flow chart.
class FlowPage : public QWidget {
    Q_OBJECT
public:
    explicit FlowPage(QWidget* parent = nullptr);

    QGroupBox* picture_frame = nullptr; // the flow picture's frame
    QLabel* flow_picture = nullptr;   // the flow element picture
    QLabel* scrlabel18 = nullptr;     // type and model name
    QLabel* scrlabel0 = nullptr;      // "Image information not available"
    QLabel* Txt713 = nullptr;         // the note under some elements
    QTabWidget* row_tabs = nullptr;   // Setup, Dim., Calc.
    QTabWidget* breakpoint_tabs = nullptr; // the flow breakpoint pages
    QCustomPlot* flow_chart = nullptr;     // level to flow
};

// Texts of the set-up tabs' own labels, pages and charts in the current language.
void set_setup_tab_texts(VesselPage& vessel, FlowPage& flow);
// Axis texts of the system tab's loss curve in the current language.
void set_loss_curve_texts(QCustomPlot& chart);
