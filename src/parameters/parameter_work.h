#pragma once
// Installs the parameter road behind the main window's keys and menus: the rows' widgets on the
// parameter pages, the transfer display (progress text, progress bar, Cancel button) and the work
// of the "download" and "upload" keys and of the rows' hover texts.

#include <QObject>
#include <functional>

class FlowPage;
class ParameterPage;
class QLabel;
class QProgressBar;
class QPushButton;
class QTabWidget;
class QTableWidget;
class VesselPage;
struct MainWindowServices;

struct ParameterWindowControls {
    ParameterPage* page = nullptr;
    VesselPage* vessel = nullptr;
    FlowPage* flow = nullptr;
    QLabel* progress_text = nullptr;
    QProgressBar* transfer_progress = nullptr;
    QPushButton* cancel_button = nullptr;
    QTabWidget* cso_tabs = nullptr; // SSTab1(1)
    std::function<void()> enable_controls;
    QTableWidget* parameter_grid = nullptr; // the parameter list grid
};

// The work lives as long as `owner` (the main window).
void install_parameter_work(MainWindowServices& services, const ParameterWindowControls& controls,
                            QObject* owner);

// The grid's view of the parameter listing (installed by install_parameter_work; benchmarks
// make their own).
class ParameterGridView;
ParameterGridView* make_widget_grid_view(QTableWidget* grid, QObject* parent);

// The set-up tabs' and lists' rules at the points where the parameter screen calls them.
void install_set_up_rules();
