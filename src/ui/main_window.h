#pragma once
// The main window: the frame of menus, toolbar, status bar, tab sets, progress bars, terminal box
// and timers around the pages of the subsystems. Its load brings the program into its working
// state; enable_controls and enable_othermenus decide what the user may reach.

#include "link/link_view.h"
#include "shell/main_window_services.h"
#include "shell/settings.h"
#include "ui/page_fit.h"

#include <QMainWindow>
#include <QSet>
#include <array>
#include <map>

class BusyAnimation;
class EchoPage;
class FlowPage;
class LogChartPage;
class LogSetupPage;
class ParameterPage;
class QAction;
class QFrame;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QStatusBar;
class QTableWidget;
class QTabWidget;
class QTimer;
class TrafficBox;
class QToolBar;
class VesselPage;

class MainWindow : public QMainWindow, public SettingsView, public LinkView {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // Start-up. main_window_load runs the load up to the tab set of the operation mode; the rest
    // (the unit query of the logging mode and what follows it) runs once the window is on the
    // screen, so that nobody waits for a window while the unit is asked.
    void main_window_load();
    void complete_start_up();
    bool start_up_pending() const { return start_up_pending_; }

    void enable_controls();
    void enable_othermenus() override;
    void set_main_window_texts();
    // Brings the fonts of the pages in view down as far as each needs to fit the window whole.
    void fit_pages();
    void dispatch_toolbar_button(const QString& key);
    // A typed character with the window's key preview; true when it was a shortcut.
    bool handle_shortcut_key(QChar typed);

    // Menu and button handlers
    void about_Click();
    void calculator_Click();
    void Command12_Click();
    void Command13_Click();
    void loggingmenu_Click();
    void csomenu_Click();
    void mnuDebug_Click();
    void modem_Click();
    void openechofile_Click();
    void openlogfile_Click();
    void openparameterfile_Click();
    void setup_Click();
    void exit_Click();

    // SettingsView
    void set_printmenu_visible(bool visible) override;
    void set_loggingmenu_checked(bool checked) override;
    void set_csomenu_checked(bool checked) override;
    void set_playback_text(const QString& text) override;

    // LinkView
    void set_status_text(int panel, const QString& text) override;
    QString status_text(int panel) const override;
    int progress_value(int bar) const override;
    int progress_max(int bar) const override;
    void set_progress_value(int bar, int value) override;
    void set_download_label(const QString& text) override;
    void set_live_timer_enabled(bool enabled) override;
    void select_offline_option() override;
    void set_velto_lite_checked(bool checked) override;
    void set_capability_options(bool volume_option, bool flow_option,
                                bool flow_average_option) override;
    void set_param_screen_captions() override;

    // The work of other parts of the program; after installing some, call refresh_availability.
    MainWindowServices services;
    void refresh_availability();

    // Menus and entries by the design's names ("file", "openlogfile", ...).
    QAction* menu_entry(const QString& name) const;
    QMenu* menu(const QString& name) const;
    // Toolbar1's button of a key.
    QAction* toolbar_button(const QString& key) const;

    // The window sees key strokes first (switched by the log chart's tab events).
    bool KeyPreview = true;

    // Frame controls
    QToolBar* Toolbar1 = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    std::array<QLabel*, 3> status_panels{};     // panels 1 and 2 (0 unused)
    QTabWidget* logging_tabs = nullptr;         // log set-up, log info, charts
    QTabWidget* cso_tabs = nullptr;             // echo, parameters, volume, flow
    QTabWidget* parameter_tabs = nullptr;       // the parameter page's set-up tabs
    std::array<QProgressBar*, 6> ProgressBar{}; // ProgressBar1..ProgressBar5 (0 unused)
    TrafficBox* Term = nullptr;                 // the traffic with the unit
    QFrame* busy_frame = nullptr;               // busy frame over the terminal box
    BusyAnimation* busy_animation = nullptr;
    QLabel* Label11 = nullptr;              // download progress line
    QLabel* progress_text = nullptr;        // progress text of a transfer
    QPushButton* cancel_button = nullptr;   // Cancel of a transfer
    QTableWidget* parameter_grid = nullptr; // element 0: the parameter list grid
    QFrame* Frame4 = nullptr;               // element 0: the echo recorder frame
    QToolBar* Toolbar2 = nullptr;
    QTimer* Timer1 = nullptr;
    QTimer* Timer2 = nullptr;
    QTimer* Timer3 = nullptr;
    QTimer* Timer4 = nullptr;

    // Pages
    LogSetupPage* log_setup_page = nullptr;
    LogChartPage* log_chart_page = nullptr;
    EchoPage* echo_page = nullptr;
    ParameterPage* parameter_page = nullptr;
    VesselPage* vessel_page = nullptr;
    FlowPage* flow_page = nullptr;

    // Start-up steps
    void init_globals();
    void apply_software_mode_menus();
    void init_main_window();
    void setup_cso_screen();
    void mark_noscale_controls();
    void arrange_main_window();
    void store_image_geometry();
    void apply_operation_mode();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keep_pages_clear_of_grid();
    // Does the layout work that waited while the user typed into a page's boxes. The room the
    // changed list left waits until the user leaves the page as well (`page_left`).
    void end_typing_hold(bool page_left = false);
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void build_menus();
    void build_toolbar();
    void build_frame();
    QMenu* add_menu(QMenu* parent, const char* name, const char* caption);
    QAction* add_entry(QMenu* parent, const char* name, const char* caption,
                       void (MainWindow::*handler)());
    QAction* add_entry(QMenu* parent, const char* name, const char* caption,
                       std::function<void()>* service);
    QAction* add_key(const char* key, const char* icon, const char* tip);
    void set_rule_enabled(const QString& name, bool enabled);
    void set_key_rule_enabled(const QString& key, bool enabled);
    bool entry_available(const QString& name) const;
    bool key_available(const QString& key) const;
    void press_around(const QString& key, const std::function<void()>& work);
    void place_overlays();
    void keep_frame_on_screen();
    void size_busy_frame();
    void place_chart_column();
    void end_program();
    QString window_texts_fallback_title() const;

    std::map<QString, QAction*> entries_;
    std::map<QString, QMenu*> menus_;
    std::map<QString, QAction*> keys_;
    std::map<QString, bool> entry_rules_; // what the rules last said; missing work overrides it
    std::map<QString, bool> key_rules_;
    QSet<QString> running_keys_;
    QAction* toolbar_spacer_ = nullptr;
    QTimer* fit_timer_ = nullptr;
    TypingHold typing_hold_;
    bool start_up_pending_ = false;
    bool loaded_ = false;
    bool ending_ = false;
};

// The main window, created hidden and loaded on first use.
MainWindow& main_window();
bool form1_loaded();

// How a new main window ends the program (quitting the application); tests install their own.
std::function<void()> program_ender();
void set_program_ender(std::function<void()> end);

// The program's arguments, for the port mappings the main window's load applies once the
// settings are loaded.
void set_start_arguments(const QStringList& arguments);

// Lets the start window open the main window after log-in.
void install_main_window();
