#include "echo/echo_recorder.h"

#include "echo/echo_display.h"
#include "echo/echo_page.h"
#include "echo/echo_recording.h"
#include "echo/echo_state.h"
#include "link/link_state.h"
#include "link/link_view.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/text_file.h"
#include "platform/vb.h"
#include "shell/definitions_table.h"
#include "shell/settings.h"
#include "shell/settings_keys.h"
#include "shell/shell_state.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPainter>
#include <QProgressBar>
#include <QRadioButton>
#include <QStyle>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <cmath>

namespace {

constexpr double PASS_SECONDS = 0.05; // how often the player looks at the clock
const char* const ECHO_FILTER = "Echo File (*.dat)|*.dat";
const char* const PLAY_FILTER = "Echo File (*.dat)|*.dat|Text File (*.txt)|*.txt|All Files (*.*)|*.*";

QIcon record_icon() {
    QPixmap p(24, 24);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    g.setBrush(QColor(210, 30, 30));
    g.setPen(QPen(QColor(120, 0, 0), 1));
    g.drawEllipse(QRectF(5, 5, 14, 14));
    return QIcon(p);
}

QString folder_of(const QString& file) {
    return QFileInfo(file).absolutePath();
}

} // namespace

EchoRecorder::EchoRecorder(EchoPage& page, EchoDisplay& display, RecorderFrame frame,
                           QObject* parent)
    : QObject(parent), page_(page), display_(display), frame_(frame) {
    pass_timer_ = new QTimer(this);
    pass_timer_->setSingleShot(true);
    connect(pass_timer_, &QTimer::timeout, this, [this] { pass(); });
    QStyle* style = QApplication::style();
    const QIcon icons[4] = {record_icon(), style->standardIcon(QStyle::SP_MediaPlay),
                            style->standardIcon(QStyle::SP_MediaPause),
                            style->standardIcon(QStyle::SP_MediaStop)};
    const char* keys[4] = {"record", "play", "pause", "stop"};
    const int tips[4] = {2411, 2412, 2413, 2414};
    const char* fallback[4] = {"Record the live traces", "Play an echo file", "Pause",
                               "Stop (and save the recording)"};
    for (int i = 0; i < 4; ++i) {
        auto* a = new QAction(icons[i], ui_text(tips[i], QLatin1String(fallback[i])), this);
        a->setObjectName(QStringLiteral("Toolbar2_%1").arg(QLatin1String(keys[i])));
        a->setCheckable(true);
        buttons_[i] = a;
        if (frame_.toolbar)
            frame_.toolbar->addAction(a);
    }
    record_action()->setEnabled(false);
    connect(record_action(), &QAction::triggered, this, [this] { record_click(); });
    connect(play_action(), &QAction::triggered, this, [this] { play_button(); });
    connect(pause_action(), &QAction::triggered, this, [this] { pause_click(); });
    connect(stop_action(), &QAction::triggered, this, [this] { stop_button(); });

    page_.playback_interval_arrows->setEnabled(true);
    connect(page_.playback_interval_arrows, &QToolButton::clicked, this, [this] {
        const double next = std::min(3600.0, std::floor(shell().playback_interval) + 1);
        page_.playback_interval_box->setText(platform::number_text(next));
    });
    connect(page_.playback_interval_box, &QLineEdit::textChanged, this,
            [this] { UpDown6_Change(); });
}

EchoRecorder::~EchoRecorder() = default;

QString EchoRecorder::recording_path() {
    return QDir(shell().data_folder).filePath(QStringLiteral("echorecording.tmp"));
}

void EchoRecorder::UpDown6_Change() {
    ShellState& s = shell();
    const QString text = page_.playback_interval_box->text().trimmed();
    // A text that is no number yet ("0." on the way to "0.5", or "0.5" where the locale writes
    // 0,5 and the box refuses it once left) changes nothing.
    const auto interval = platform::typed_number(text);
    if (!interval)
        return;
    write_ini(s.ini_path, ini::SECTION_GENERAL, ini::KEY_PLAYBACK,
              platform::number_text_c(*interval));
    s.playback_interval = *interval;
}

void EchoRecorder::playbutton_pressed() {
    if (frame_.cso_tabs && frame_.cso_tabs->currentIndex() != 0)
        frame_.cso_tabs->setCurrentIndex(0);
    if (frame_.panel && frame_.panel->isHidden()) {
        frame_.panel->show();
        frame_.panel->raise();
    }
    record_action()->setEnabled(page_.live_option->isChecked());
}

void EchoRecorder::reset_buttons() {
    for (QAction* a : buttons_) {
        a->setEnabled(true);
        a->setChecked(false);
    }
    if (frame_.progress)
        frame_.progress->setValue(0);
}

// ---- Recording

void EchoRecorder::record_click() {
    EchoState& e = echo_state();
    if (e.echo_recording && record_file_.isOpen()) {
        // Reopening the file would empty it: the running recording would be lost unsaved.
        platform::msg_box(ui_text(1290, QStringLiteral("Error")) + QStringLiteral(" 55  : ") +
                              ui_text(2423, QStringLiteral("File already open")),
                          platform::mb::Critical);
        record_action()->setChecked(true);
        return;
    }
    if (record_file_.isOpen())
        record_file_.close();
    record_action()->setChecked(true);
    play_action()->setEnabled(false);
    pause_action()->setEnabled(false);
    stop_action()->setEnabled(true);
    record_file_.setFileName(recording_path());
    QDir().mkpath(folder_of(recording_path()));
    if (!record_file_.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        // Without its file a recording would only fail line after line: it does not start.
        platform::msg_box(ui_text(1290, QStringLiteral("Error")) + QStringLiteral(" 75  : ") +
                              ui_text(2410, QStringLiteral("The recording file cannot be written")) +
                              QStringLiteral(" (") + QDir::toNativeSeparators(recording_path()) +
                              QLatin1Char(')'),
                          platform::mb::Critical);
        reset_buttons();
        if (!page_.offline_option->isChecked())
            page_.offline_option->setChecked(true);
        record_action()->setEnabled(false);
        if (frame_.panel)
            frame_.panel->hide();
        return;
    }
    if (frame_.progress)
        frame_.progress->setValue(0);
    e.echo_recording = true;
    e.span_read_done = false;
    e.record_last_time = echo_time_of_day();
    if (!page_.live_option->isChecked())
        page_.live_option->setChecked(true);
}

void EchoRecorder::step_progress_wrapping() {
    QProgressBar* bar = frame_.progress;
    if (!bar)
        return;
    if (bar->value() == bar->maximum())
        bar->setValue(0);
    if (bar->maximum() > bar->value())
        bar->setValue(bar->value() + 1);
}

void EchoRecorder::record_traces() {
    EchoState& e = echo_state();
    if (interval_due(e.record_last_time, echo_time_of_day(), shell().playback_interval))
        e.record_line_due = true;
    if (!e.echo_recording || !e.record_line_due)
        return;
    e.record_line_due = false;
    const auto& table = definitions_table();
    RecordLineValues v;
    v.when = echo_now();
    v.status = table[900].unit_value;
    v.empty_distance = e.span_values[0];
    v.level = e.level_value;
    v.confidence = table[901].unit_value;
    v.strength = table[902].unit_value;
    v.average_noise = table[903].unit_value;
    v.peak_noise = table[904].unit_value;
    v.temperature = e.temperature_value;
    v.trace_text = e.recorded_trace_text;
    const QByteArray line = record_line(v).toLatin1() + "\r\n";
    if (!record_file_.isOpen() || record_file_.write(line) != line.size() ||
        !record_file_.flush()) {
        const LinkState& L = link();
        platform::msg_box(ui_text(1409, QStringLiteral("The trace could not be recorded. Command: ")) +
                              L.command_text +
                              ui_text(1410, QStringLiteral(" Reply: ")) + L.reply_buffer,
                          platform::mb::Critical,
                          ui_text(1411, QStringLiteral("Communication Error")));
        return;
    }
    step_progress_wrapping();
}

void EchoRecorder::stop_button() {
    EchoState& e = echo_state();
    const bool was_recording = e.echo_recording;
    if (was_recording && !page_.offline_option->isChecked())
        page_.offline_option->setChecked(true);
    if (frame_.panel)
        frame_.panel->hide();
    e.playback_running = false;
    e.playback_paused = false;
    e.playback_stopped = true;
    reset_buttons();
    if (!was_recording)
        return;
    e.echo_recording = false;
    record_file_.close();
    ShellState& s = shell();
    platform::FileDialogRequest request;
    request.title = ui_text(2850, QStringLiteral("Save the echo recording"));
    request.folder = read_ini(s.ini_path, ini::SECTION_GENERAL, ini::KEY_ECHO_DIR, s.data_folder);
    request.filter = QLatin1String(ECHO_FILTER);
    const QString chosen = platform::dialogs().save_file(request);
    if (chosen.isEmpty())
        return; // the recording stays in its file until the next "record"
    e.echo_file_name = chosen;
    write_ini(s.ini_path, ini::SECTION_GENERAL, ini::KEY_ECHO_DIR, folder_of(chosen));
    // The copy is complete or it is not made: the recording is deleted only once it is saved.
    QFile recording(recording_path());
    const bool read = recording.open(QIODevice::ReadOnly);
    const QByteArray bytes = read ? saved_recording(recording.readAll()) : QByteArray();
    const bool complete = read && recording.error() == QFileDevice::NoError;
    recording.close();
    if (!complete || !platform::write_file_atomically(chosen, bytes)) {
        platform::msg_box(ui_text(2409, QStringLiteral("The recording could not be saved to")) +
                              QLatin1Char(' ') + QDir::toNativeSeparators(chosen),
                          platform::mb::Critical);
        return;
    }
    QFile::remove(recording_path());
}

// ---- Playback

void EchoRecorder::pause_click() {
    EchoState& e = echo_state();
    if (!e.playback_running)
        return;
    pause_action()->setChecked(true);
    play_action()->setEnabled(true);
    pause_action()->setEnabled(false);
    e.playback_paused = true;
    play_action()->setChecked(false);
}

void EchoRecorder::play_button() {
    EchoState& e = echo_state();
    ShellState& s = shell();
    if (!e.playback_file_open) {
        display_.clear_all_accessories();
        if (!page_.offline_option->isChecked())
            page_.offline_option->setChecked(true);
    }
    e.playback_running = true;
    pause_action()->setChecked(false);
    play_action()->setChecked(true);
    play_action()->setEnabled(false);
    pause_action()->setEnabled(true);
    record_action()->setEnabled(false);
    if (e.echo_file_name.isEmpty() && !e.playback_paused) {
        platform::FileDialogRequest request;
        request.title = ui_text(1002, QStringLiteral("&Open Echo File")).remove(QLatin1Char('&'));
        request.folder = read_ini(s.ini_path, ini::SECTION_GENERAL, ini::KEY_ECHO_PATH, s.echo_path);
        request.filter = QLatin1String(PLAY_FILTER);
        const QString chosen = platform::dialogs().open_file(request);
        if (chosen.isEmpty()) {
            play_action()->setChecked(false);
            if (frame_.panel)
                frame_.panel->hide();
            return;
        }
        e.echo_file_name = chosen;
        write_ini(s.ini_path, ini::SECTION_GENERAL, ini::KEY_ECHO_PATH, folder_of(chosen));
    }
    if (e.playback_paused && e.playback_file_open)
        resumed_ = true;
    if (!e.playback_paused) {
        resumed_ = false;
        if (play_file_.isOpen())
            play_file_.close();
        play_file_.setFileName(e.echo_file_name);
        if (!play_file_.open(QIODevice::ReadOnly)) {
            fail_playback(QStringLiteral("53  : ") +
                          ui_text(2415, QStringLiteral("File not found")) + QStringLiteral(" (") +
                          QDir::toNativeSeparators(e.echo_file_name) + QLatin1Char(')'));
            return;
        }
        if (frame_.progress) {
            frame_.progress->setValue(0);
            frame_.progress->setMaximum(playback_progress_maximum(play_file_.size()));
        }
        e.play_last_time = echo_time_of_day();
        e.play_line_due = true;
        e.playback_file_open = true;
    }
    e.playback_stopped = false;
    e.playback_paused = false;
    file_title_ = QFileInfo(e.echo_file_name).fileName();
    arm_pass();
}

void EchoRecorder::arm_pass() {
    const double real_ms = PASS_SECONDS * 1000.0 / platform::time_scale();
    pass_timer_->start(static_cast<int>(std::max(1.0, std::round(real_ms))));
}

void EchoRecorder::pass() {
    EchoState& e = echo_state();
    if (!e.playback_file_open)
        return;
    if (e.playback_stopped || play_file_.atEnd()) {
        finish_playback();
        return;
    }
    if (interval_due(e.play_last_time, echo_time_of_day(), shell().playback_interval))
        e.play_line_due = true;
    if (e.play_line_due && !e.playback_paused) {
        e.play_line_due = false;
        const QByteArray raw = next_played_line(play_file_);
        const QString line = platform::decode_line(raw);
        link().reply_buffer = line;
        handle_played_line(line);
        if (!e.playback_file_open)
            return; // the line failed and ended the playback
    }
    arm_pass();
}

void EchoRecorder::handle_played_line(const QString& line) {
    EchoState& e = echo_state();
    QProgressBar* bar = frame_.progress;
    if (bar)
        bar->setValue(bar->maximum() > bar->value() ? bar->value() + 1 : 0);
    const PlayedLine p = read_played_line(line);
    if (p.unreadable) {
        fail_playback(QStringLiteral("5  : ") +
                      ui_text(2416, QStringLiteral("The line cannot be read")) +
                      QStringLiteral(": ") + line.left(40));
        return;
    }
    apply_played_line(p, e);
    if (p.kind == PlayedLine::Kind::Span) {
        if (p.span)
            display_.drawspan();
    } else if (p.kind == PlayedLine::Kind::Trace) {
        const int k = p.trace;
        if (page_.trace_boxes[static_cast<size_t>(k - 1)]->isChecked())
            display_.update_trace(k, 1);
        if (shell().show_gate)
            display_.drawwindow();
        const auto& f = e.playback_fields;
        e.status_from_playback = true;
        display_.update_status(platform::val(f[2]), f[2]);
        e.status_from_playback = false;
        display_.update_level(platform::val(f[3]), platform::val(f[4]));
        display_.update_temperature(platform::val(f[9]));
        link_view().set_status_text(
            1, ui_text(1360, QStringLiteral("Playing")) + QLatin1Char(' ') + file_title_.toLower() +
                   QLatin1Char(' ') + ui_text(1361, QStringLiteral("recorded on")) +
                   QLatin1Char(' ') + f[0] + QStringLiteral(" @ ") + f[1]);
    }
    emit line_played();
}

void EchoRecorder::finish_playback() {
    EchoState& e = echo_state();
    pass_timer_->stop();
    play_file_.close();
    e.playback_file_open = false;
    e.playback_paused = false;
    e.playback_running = false;
    e.playback_stopped = true;
    if (frame_.progress)
        frame_.progress->setValue(0);
    play_action()->setChecked(false);
    play_action()->setEnabled(true);
    // A playback the user paused and resumed also puts the panel away when it ends.
    if (resumed_ && frame_.panel)
        frame_.panel->hide();
    resumed_ = false;
    emit playback_ended();
}

// A playback that fails says so once and returns to idle with its file closed.
void EchoRecorder::fail_playback(const QString& description) {
    platform::msg_box(ui_text(1289, QStringLiteral("Error playing the echo file - code ")) +
                          description,
                      platform::mb::Critical);
    finish_playback();
    reset_buttons();
    if (frame_.panel)
        frame_.panel->hide();
}
