#pragma once
// What the link shows and switches on the main window: status bar panels, progress bars, the
// download label, the live-monitoring controls and the log set-up's Lite box. The main window
// implements this; until it is installed (and in tests) a stand-in records what the link did.

#include <QString>
#include <map>
#include <vector>

class LinkView {
public:
    virtual ~LinkView() = default;

    // StatusBar1: panel 1 status text, panel 2 the reply countdown.
    virtual void set_status_text(int panel, const QString& text) = 0;
    virtual QString status_text(int panel) const = 0;

    // ProgressBar1 to ProgressBar5 (1 transfer with debug display, 3 chunks, 4 transfer,
    // 5 point transfer).
    virtual int progress_value(int bar) const = 0;
    virtual int progress_max(int bar) const = 0;
    virtual void set_progress_value(int bar, int value) = 0;

    // Label11: the download progress text when the debug display is off.
    virtual void set_download_label(const QString& text) = 0;

    // Timer1: the live polling tick.
    virtual void set_live_timer_enabled(bool enabled) = 0;
    // Selects Option3, the offline choice of the live echo display; this runs its click
    // handler, which takes the display offline.
    virtual void select_offline_option() = 0;

    // The log set-up page's "Velto Lite" box (lite_unit_box).
    virtual void set_velto_lite_checked(bool checked) = 0;
    // The three elements of the log set-up's ModelCapabilityFlags that the unit's identity
    // decides; every identification sets all three.
    virtual void set_capability_options(bool volume_option, bool flow_option,
                                        bool flow_average_option) = 0;
    // The parameter screen's captions for the unit's identity.
    virtual void set_param_screen_captions() = 0;
};

// The stand-in: keeps every value and the history of status texts and calls.
class RecordingLinkView : public LinkView {
public:
    std::map<int, QString> status;       // panel -> text
    std::vector<QString> status_history; // panel 1 texts in order
    std::map<int, int> value;            // bar -> value
    std::map<int, int> maximum;          // bar -> max (100 unless set)
    QString download_label;
    std::vector<QString> calls; // "Timer1 off", "Option3", ...
    bool velto_lite_checked = false;
    bool volume_option = false, flow_option = false, flow_average_option = false;

    void set_status_text(int panel, const QString& text) override;
    QString status_text(int panel) const override;
    int progress_value(int bar) const override;
    int progress_max(int bar) const override;
    void set_progress_value(int bar, int v) override;
    void set_download_label(const QString& text) override;
    void set_live_timer_enabled(bool enabled) override;
    void select_offline_option() override;
    void set_velto_lite_checked(bool checked) override;
    void set_capability_options(bool volume, bool flow, bool flow_average) override;
    void set_param_screen_captions() override;
};

// The view the link talks to: the installed one, or a recording stand-in.
LinkView& link_view();
// Installs `view` (not owned); nullptr goes back to the stand-in.
void set_link_view(LinkView* view);
