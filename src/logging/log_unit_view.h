#pragma once
// What the exchanges with the unit's logger show and switch on the main window around the log
// set-up page: the busy message over the page (Text68), the terminal box (Term), the busy panel
// with its animation and caption (Frame25, Animation1, Label11), the progress bars and the status
// bar. The main window implements it; until it is installed (and in tests) a stand-in records
// what was shown.

#include <QString>
#include <map>
#include <vector>

class LogUnitView {
public:
    virtual ~LogUnitView() = default;

    // Text68 over the log set-up page: shown with `text`, or hidden.
    virtual void show_busy_message(const QString& text) = 0;
    virtual void hide_busy_message() = 0;

    // Term, the main window's terminal box.
    virtual void clear_terminal() = 0;

    // SSTab1 shows the logging tab (tab 1).
    virtual bool logging_tab_showing() const = 0;
    // Frame25 with Animation1 playing, in front; hidden with the animation stopped.
    virtual void show_busy_panel(bool shown) = 0;
    // Label11's caption, repainted at once.
    virtual void set_busy_caption(const QString& text) = 0;

    // ProgressBar1 .. ProgressBar5: value 0 with `maximum` (unchanged when negative).
    virtual void reset_progress(int bar, int maximum = -1) = 0;
    // StatusBar1 panel `panel`.
    virtual void set_status_text(int panel, const QString& text) = 0;
};

// The stand-in: keeps what is shown and a history of the calls.
class RecordingLogUnitView : public LogUnitView {
public:
    QString busy_message;
    bool busy_message_shown = false;
    std::vector<QString> busy_messages; // every message shown, in order
    int terminal_clears = 0;
    bool tab_showing = true;
    bool busy_panel_shown = false;
    QString busy_caption;
    std::map<int, int> progress_max;
    std::map<int, QString> status;
    std::vector<QString> calls;

    void show_busy_message(const QString& text) override;
    void hide_busy_message() override;
    void clear_terminal() override;
    bool logging_tab_showing() const override { return tab_showing; }
    void show_busy_panel(bool shown) override;
    void set_busy_caption(const QString& text) override;
    void reset_progress(int bar, int maximum) override;
    void set_status_text(int panel, const QString& text) override;
};

// The installed view, or a recording stand-in.
LogUnitView& log_unit_view();
// Installs `view` (not owned); nullptr goes back to the stand-in.
void set_log_unit_view(LogUnitView* view);
