#pragma once
// The trace recorder panel: "record" writes a line per interval of what the live monitor
// fetches to a temporary file of its own and "stop" saves it as a .dat file; "play" plays such a
// file (or a file of bare replies) into the trace table, the echo chart and the read-outs, one
// line per interval, "pause" holds it. The player is a state machine on a timer: each pass
// looks at the stop flag first, reads a line only when the interval has passed and the player is
// not paused, and gives the event loop back in between.

#include <QFile>
#include <QObject>
#include <QString>

class EchoDisplay;
class EchoPage;
class QAction;
class QLabel;
class QProgressBar;
class QTabWidget;
class QTimer;
class QToolBar;
class QWidget;

// The main window's parts of the recorder panel.
struct RecorderFrame {
    QWidget* panel = nullptr;    // the recorder frame on the main window
    QToolBar* toolbar = nullptr; // gets the record, play, pause and stop buttons
    QProgressBar* progress = nullptr;
    QTabWidget* cso_tabs = nullptr;  // the CSO tab set (element 1)
    QLabel* progress_text = nullptr; // the wait message over the pages
};

class EchoRecorder : public QObject {
    Q_OBJECT
public:
    EchoRecorder(EchoPage& page, EchoDisplay& display, RecorderFrame frame,
                 QObject* parent = nullptr);
    ~EchoRecorder() override;

    void playbutton_pressed();
    void record_click();
    void pause_click();
    void play_button();
    void stop_button();
    void record_traces();
    void UpDown6_Change();

    // The recording file (a temporary file of the recorder's own in the data folder).
    static QString recording_path();

    QAction* record_action() const { return buttons_[0]; }
    QAction* play_action() const { return buttons_[1]; }
    QAction* pause_action() const { return buttons_[2]; }
    QAction* stop_action() const { return buttons_[3]; }

signals:
    // The player handled a line (tests follow the playback with it).
    void line_played();
    // A playback ended (end of file, stop or failure).
    void playback_ended();

private:
    void pass();
    void handle_played_line(const QString& line);
    void finish_playback();
    void fail_playback(const QString& description);
    void reset_buttons();
    void arm_pass();
    void step_progress_wrapping();

    EchoPage& page_;
    EchoDisplay& display_;
    RecorderFrame frame_;
    QAction* buttons_[4] = {};
    QFile record_file_;
    QFile play_file_;
    QTimer* pass_timer_ = nullptr;
    QString file_title_;
    bool resumed_ = false; // this playback was paused and resumed
};
