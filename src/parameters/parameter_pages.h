#pragma once
// The parameter pages of the CSO set-up tab set: the parameter set-up tabs (tab 1), the vessel
// (tab 2) and the flow element (tab 3). The parameter screen and the set-up tabs fill them with
// their rows and pictures; until then they hold their tab sets and frames, named as the rows
// will find them.

#include <QWidget>
#include <map>

class QGroupBox;
class QLabel;
class QTabWidget;

class ParameterPage : public QWidget {
    Q_OBJECT
public:
    explicit ParameterPage(QWidget* parent = nullptr);

    QTabWidget* SSTab1 = nullptr;         // element 2: the parameter set-up tabs
    QTabWidget* SSTab2 = nullptr;         // element 1
    std::map<int, QGroupBox*> scrframe;   // by the number of the frame's first row
    std::map<QString, QGroupBox*> frames; // "Frame2", "Frame1(13)", ... by object name
};

class VesselPage : public QWidget {
    Q_OBJECT
public:
    explicit VesselPage(QWidget* parent = nullptr);

    QGroupBox* Frame5_0 = nullptr; // Frame5(0): the vessel picture's frame
    QGroupBox* Frame5_1 = nullptr; // Frame5(1)
    QLabel* Image2 = nullptr;      // the vessel picture
};

class FlowPage : public QWidget {
    Q_OBJECT
public:
    explicit FlowPage(QWidget* parent = nullptr);

    QGroupBox* Frame6_0 = nullptr; // Frame6(0): the flow picture's frame
    QLabel* Image3 = nullptr;      // the flow element picture
};
