#pragma once
// The live echo monitor and the echo view settings. While the regular echo choice is "Yes" a
// single-shot timer runs one tick a second, re-armed at the end of each tick so that the period
// includes the exchange: each ticked trace kind is fetched when its own countdown runs out, the
// span once after each start (and after an undo-zoom), and the status block when a read-out or
// the recorder wants it. The view settings put the saved choices on the page at start-up and
// save each change at once.

#include <QObject>
#include <QString>
#include <functional>

class EchoDisplay;
class EchoPage;
class QTimer;

// What the monitor needs of the main window around it.
struct EchoFrameHooks {
    QTimer* timer = nullptr;                     // Timer1 (made single-shot here)
    std::function<void()> enable_controls; // after a start; the stop's runs via offline_option
    std::function<void(bool)> set_recorder_enabled; // the recorder toolbar's first button
    std::function<void(bool)> set_exit_enabled;     // Toolbar1's "exit"
    std::function<void()> stop_playback;            // a playback that runs, when there is one
    std::function<void()> record_traces;            // the recorder's line, when there is one
};

class LiveEchoMonitor : public QObject {
    Q_OBJECT
public:
    LiveEchoMonitor(EchoPage& page, EchoDisplay& display, EchoFrameHooks hooks,
                    QObject* parent = nullptr);

    // ---- Live monitoring
    void start_monitoring();
    void stop_monitoring();
    void Timer1_Timer();  // one tick
    // A trace interval box changed (k 1..4).
    void UpDown_Change(int k);
    // Arms the next tick one program second from now.
    void arm_timer();
    // The hooks, for the recorder that arrives after the monitor.
    EchoFrameHooks& hooks() { return hooks_; }

    // ---- View settings
    void apply_saved_view_settings();
    void trace_box_changed(int index);
    void gate_box_changed();
    void gradient_box_changed();
    void range_box_changed();

signals:
    // A tick ran to its end (not left early by a stop).
    void tick_finished();

private:
    bool live_selected() const;
    bool offline_selected() const;
    // The tick's work; false when the tick was left early and must not re-arm.
    bool run_tick();
    enum class TraceOutcome { Answered, Missed, Left };
    TraceOutcome fetch_trace(int k);
    // One read between "/LOADQUICK" and "/LOADNORM", named in the status bar; `show` runs once
    // it has been answered. False when the line failed or the user went offline.
    bool quick_read(const QString& what, const std::function<void()>& read,
                    const std::function<void()>& show);
    bool read_span();
    bool read_status();
    bool exchange_ok();
    bool line_dead(bool untold);
    void stop_after_error(const QString& description);
    void record();

    EchoPage& page_;
    EchoDisplay& display_;
    EchoFrameHooks hooks_;
    bool unanswered_trace_ = false; // the last trace fetch got no answer, nor anything since
};
