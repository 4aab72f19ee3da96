#pragma once
// What the exchanges with the unit's logger show on the main window around the log set-up page,
// beyond what the link's view already offers (status bar, progress values, Label11): the busy
// message over the page (progress_text), the busy panel with its animation (busy_frame,
// busy_animation), the tab on show and a progress bar's range. The main window implements it; until
// it is installed (and in tests) a stand-in records what was shown.

#include <QObject>
#include <QString>
#include <array>
#include <map>
#include <vector>

class QLabel;
class QProgressBar;
class QTabWidget;
class QWidget;

class LogUnitView {
public:
    virtual ~LogUnitView() = default;

    // The progress text over the log set-up page: shown with `text`, or hidden.
    virtual void show_busy_message(const QString& text) = 0;
    virtual void hide_busy_message() = 0;

    // The logging tab set shows the logging tab (tab 1).
    virtual bool logging_tab_showing() const = 0;
    // The busy frame with its animation playing, in front; hidden with the animation stopped.
    virtual void show_busy_panel(bool shown) = 0;

    // The maximum of ProgressBar1 .. ProgressBar5.
    virtual void set_progress_max(int bar, int maximum) = 0;

    // Tabs of the logging tab set (0 set-up, 2 log chart): available or not, and the one shown.
    virtual void set_tab_enabled(int tab, bool enabled) = 0;
    virtual bool tab_enabled(int tab) const = 0;
    virtual void select_tab(int tab) = 0;
};

// The stand-in: keeps what is shown and a history of the calls.
class RecordingLogUnitView : public LogUnitView {
public:
    QString busy_message;
    bool busy_message_shown = false;
    std::vector<QString> busy_messages; // every message shown, in order
    bool tab_showing = true;
    bool busy_panel_shown = false;
    std::map<int, int> progress_max;
    std::map<int, bool> tabs_enabled;
    int selected_tab = 0;
    std::vector<QString> calls;

    void show_busy_message(const QString& text) override;
    void hide_busy_message() override;
    bool logging_tab_showing() const override { return tab_showing; }
    void show_busy_panel(bool shown) override;
    void set_progress_max(int bar, int maximum) override;
    void set_tab_enabled(int tab, bool enabled) override { tabs_enabled[tab] = enabled; }
    bool tab_enabled(int tab) const override {
        const auto it = tabs_enabled.find(tab);
        return it == tabs_enabled.end() || it->second;
    }
    void select_tab(int tab) override { selected_tab = tab; }
};

// The view on the main window's own controls. It installs itself and goes with its parent.
class WidgetLogUnitView : public QObject, public LogUnitView {
public:
    struct Controls {
        QLabel* progress_text = nullptr;
        QWidget* busy_frame = nullptr;
        QWidget* busy_animation = nullptr;
        // the logging tab set: the log set-up page and its read-outs
        QTabWidget* logging_tabs = nullptr;
        std::array<QProgressBar*, 6> ProgressBar{}; // 1..5
    };
    WidgetLogUnitView(const Controls& controls, QObject* parent);
    ~WidgetLogUnitView() override;

    void show_busy_message(const QString& text) override;
    void hide_busy_message() override;
    bool logging_tab_showing() const override;
    void show_busy_panel(bool shown) override;
    void set_progress_max(int bar, int maximum) override;
    void set_tab_enabled(int tab, bool enabled) override;
    bool tab_enabled(int tab) const override;
    void select_tab(int tab) override;

private:
    Controls c_;
};

// The installed view, or a recording stand-in.
LogUnitView& log_unit_view();
// Installs `view` (not owned); nullptr goes back to the stand-in.
void set_log_unit_view(LogUnitView* view);
