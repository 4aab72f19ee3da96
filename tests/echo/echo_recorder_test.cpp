// The recorder panel against the simulated unit and on the program's clock: a minute recorded
// and saved, the save's failure and cancel, a recording whose file cannot be made, and playback
// at its interval with pause, resume, stop, bare replies and a bad file.
#include "fields.h"
#include "simulated_unit.h"

#include "echo/echo_display.h"
#include "echo/echo_exchange.h"
#include "echo/echo_page.h"
#include "echo/echo_recorder.h"
#include "echo/echo_recording.h"
#include "echo/echo_rules.h"
#include "echo/echo_state.h"
#include "echo/live_monitor.h"
#include "platform/profile.h"
#include "platform/text_file.h"
#include "platform/vb.h"
#include "shell/definitions_table.h"
#include "shell/settings.h"
#include "test_files.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QProgressBar>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <qcustomplot.h>

namespace {

class EchoRecorderTest : public SimulatedUnitTest {
protected:
    void SetUp() override {
        SimulatedUnitTest::SetUp();
        reset_echo_state();
        platform::number_separators() = {};
        set_time_of_day_origin(12 * 3600);
        shell().login_passcode = "318406";
        shell().data_folder = dir.filePath("data");
        shell().playback_interval = 1;
        QDir().mkpath(shell().data_folder);
        sim->unit().echo().set_level_mm(2000);
        sim->unit().echo().set_sample_count(60);
        page = std::make_unique<EchoPage>();
        page->offline_option->setChecked(true);
        display = std::make_unique<EchoDisplay>(*page);
        EchoFrameHooks hooks;
        hooks.timer = &timer;
        monitor = std::make_unique<LiveEchoMonitor>(*page, *display, hooks);
        frame = std::make_unique<QFrame>();
        toolbar = new QToolBar(frame.get());
        bar = new QProgressBar(frame.get());
        recorder = std::make_unique<EchoRecorder>(*page, *display,
                                                  RecorderFrame{frame.get(), toolbar, bar, nullptr});
        monitor->hooks().record_traces = [this] { recorder->record_traces(); };
        monitor->hooks().set_recorder_enabled = [this](bool on) {
            recorder->record_action()->setEnabled(on);
        };
        page->set_live_handler([this] { monitor->start_monitoring(); });
        page->offline_handler = [this] { monitor->stop_monitoring(); };
        page->set_trace_box_handler([this](int i) { monitor->trace_box_changed(i); });
        page->trace_boxes[0]->setChecked(true);
        QObject::connect(recorder.get(), &EchoRecorder::line_played,
                         [this] {
                             played_at.push_back(echo_state().play_last_time);
                             played_clock.push_back(platform::seconds());
                         });
        QObject::connect(recorder.get(), &EchoRecorder::playback_ended, [this] { ++ended; });
    }
    void TearDown() override {
        timer.stop();
        recorder.reset();
        frame.reset();
        monitor.reset();
        display.reset();
        page.reset();
        set_time_of_day_origin(12 * 3600);
        SimulatedUnitTest::TearDown();
    }

    QString write_echo_file(const QString& name, const QStringList& lines) {
        const QString path = dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(lines.join("\r\n").toLatin1() + "\r\n");
        return path;
    }
    static QString trace_line(const QString& time, int level_cm, char kind = 'A') {
        return QStringLiteral("06/12/2026,%1,0,6,%2,78,45,1.2,3.4,21.4,T1$%3 10.0  10  20  30")
                   .arg(time)
                   .arg(level_cm / 100.0)
                   .arg(QLatin1Char(kind)) +
               QStringLiteral("100200300400");
    }
    void play(const QString& path) {
        echo_state().echo_file_name = path;
        recorder->play_button();
    }
    void wait_end() { platform::wait_until([&] { return ended > 0; }, 120); }

    QTimer timer;
    std::unique_ptr<EchoPage> page;
    std::unique_ptr<EchoDisplay> display;
    std::unique_ptr<LiveEchoMonitor> monitor;
    std::unique_ptr<QFrame> frame;
    QToolBar* toolbar = nullptr;
    QProgressBar* bar = nullptr;
    std::unique_ptr<EchoRecorder> recorder;
    std::vector<double> played_at;    // the time of day each played line fell due
    std::vector<double> played_clock; // the program clock when it had been played
    int ended = 0;
};

// A second Record press while recording is refused and keeps the lines so far.
TEST_F(EchoRecorderTest, AMinuteRecordedLiveIsSavedCompleteAndTheRecordingFileGoes) {
    recorder->playbutton_pressed();
    EXPECT_FALSE(recorder->record_action()->isEnabled()) << "record offered while offline";
    recorder->record_click();
    ASSERT_TRUE(link().echo_online) << "record did not start live monitoring";
    platform::wait_until([] { return QFileInfo(EchoRecorder::recording_path()).size() > 0; }, 60);
    const qint64 before = QFileInfo(EchoRecorder::recording_path()).size();
    ASSERT_GT(before, 0);
    EXPECT_TRUE(recorder->record_action()->isEnabled());
    recorder->record_click();
    ASSERT_EQ(dialogs.messages().size(), 1) << "a second record press was not refused";
    EXPECT_TRUE(dialogs.messages()[0].contains("55  : File already open"));
    EXPECT_TRUE(echo_state().echo_recording);
    dialogs.prompts.clear();
    platform::wait_ms(60000);
    const QString saved = dir.filePath("minute.dat");
    dialogs.files.push_back(saved);
    recorder->stop_button();
    EXPECT_FALSE(link().echo_online || QFile::exists(EchoRecorder::recording_path()));
    const auto text = platform::read_text_file(saved);
    ASSERT_TRUE(text.has_value());
    EXPECT_GE(text->size(), before) << "the saved file lost the lines before the second press";
    const QStringList lines = platform::split_lines(*text);
    // RAW every 5 s and the span once: a line after a fetch, never two in one interval. How many
    // fetches a busy machine fits into a scaled minute varies, so only "some" is pinned here.
    EXPECT_GE(lines.size(), 2);
    EXPECT_LE(lines.size(), 61) << "more than one line per interval";
    for (const QString& line : lines) {
        const PlayedLine p = read_played_line(line);
        EXPECT_NE(p.kind, PlayedLine::Kind::Ignored) << line.toStdString();
    }
    EXPECT_EQ(fields(echo_state().echo_file_name,
                     platform::read_profile_string(ini, "General", "EchoDir").value_or("")),
              fields(saved, QFileInfo(saved).absolutePath()));

    // "play" right after the save plays the saved file without asking.
    ended = 0;
    recorder->play_button();
    EXPECT_TRUE(dialogs.prompts.size() == 1) << "play asked for a file again";
    wait_end();
    EXPECT_EQ(static_cast<qsizetype>(played_at.size()), lines.size());
}

// Only RAW is ticked and only the level shows, yet each tick's four traces and its status reach
// the file; every line, from the first, holds what the page showed and received when it was
// written, never a value the unit did not give.
TEST_F(EchoRecorderTest, EveryLineHoldsEachTicksTracesAndReadoutsAsTheyWereShown) {
    for (int n = 900; n <= 904; ++n)
        definitions_table()[static_cast<size_t>(n)].unit_value = NO_VALUE; // nothing read yet
    definitions_table()[1374].text = "Running";
    shell().status_label_texts = {};
    write_ini(ini, "Echo Control", "Level", "True");
    shell().trace_interval = {1, 1, 1, 1};
    shell().playback_interval = 0; // a line at every chance
    int lines = 0;
    QMap<QChar, int> kinds;
    monitor->hooks().record_traces = [&] {
        const QString path = EchoRecorder::recording_path();
        const qint64 before = QFileInfo(path).size();
        recorder->record_traces();
        if (QFileInfo(path).size() == before)
            return;
        ++lines;
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QString line = platform::split_lines(QString::fromLatin1(file.readAll())).last();
        EXPECT_FALSE(line.contains("-999999"))
            << "a line holds the no-value marker: " << line.left(60);
        const QStringList v = line.left(line.indexOf('T') - 1).split(',');
        const QString trace = line.mid(line.indexOf('T'));
        const QStringList box = page->status_box->text().split("\r\n");
        ASSERT_EQ(box.size(), 8) << "a line was written before any status was shown: "
                                 << line.left(60);
        auto last = [](QCustomPlot* c) { return (c->graph(0)->data()->constEnd() - 1)->value; };
        using platform::val;
        EXPECT_EQ(fields(status_word(val(v[2]), v[2]), val(v[3]), val(v[4]), v[5], v[6],
                         10 * val(v[7]), 10 * val(v[8]), val(v[9])),
                  fields(box[0], page->level_readout->yAxis->range().upper,
                         last(page->level_readout), box[3], box[4], val(box[5]), val(box[6]),
                         last(page->temperature_readout)))
            << "a field of the line is not what the page showed: " << line.left(60);
        const EchoState& e = echo_state();
        if (trace.startsWith("T1$R")) {
            EXPECT_EQ(trace, span_record_text(e.span_values));
            return;
        }
        const QChar letter = trace_letter(trace);
        const int k = static_cast<int>(QStringLiteral("ABDC").indexOf(letter)) + 1;
        EchoTraceHeader header;
        std::array<int16_t, TRACE_SAMPLES> column{};
        parse_trace_reply(QStringView(trace).mid(2), header, column);
        EXPECT_TRUE(k > 0 && column == e.traces.column[static_cast<size_t>(k - 1)])
            << "the line's trace is not the one received: " << trace.left(20);
        ++kinds[letter];
    };
    int ticks = 0;
    QObject::connect(monitor.get(), &LiveEchoMonitor::tick_finished, [&] { ++ticks; });
    recorder->record_click();
    platform::wait_until([&] { return ticks >= 3; }, 120);
    dialogs.files.push_back(QString());
    recorder->stop_button();
    EXPECT_EQ(fields(lines, kinds.value('A'), kinds.value('B'), kinds.value('D'), kinds.value('C')),
              fields(13, 3, 3, 3, 3))
        << "three ticks: their span line and each one's four traces";
    definitions_table()[1374].text.clear();
}

TEST_F(EchoRecorderTest, ACancelledOrFailedSaveKeepsTheRecordingUntilTheNextRecord) {
    for (const QString& answer : {QString(), dir.filePath("no such folder/x.dat")}) {
        dialogs.prompts.clear();
        recorder->record_click();
        platform::wait_ms(5000);
        dialogs.files.push_back(answer);
        recorder->stop_button();
        EXPECT_FALSE(echo_state().echo_recording);
        ASSERT_FALSE(dialogs.prompts.empty());
        EXPECT_EQ(dialogs.prompts.front().text, "Save the echo recording")
            << "no title on the dialog";
        EXPECT_GT(QFileInfo(EchoRecorder::recording_path()).size(), 0) << answer.toStdString();
        if (answer.isEmpty()) {
            EXPECT_TRUE(dialogs.messages().isEmpty());
        } else {
            ASSERT_EQ(dialogs.messages().size(), 1) << "a failed save was not told";
            EXPECT_TRUE(dialogs.messages()[0].contains("x.dat"));
        }
    }
}

TEST_F(EchoRecorderTest, ARecordingWhoseFileCannotBeMadeDoesNotStart) {
    shell().data_folder = dir.filePath("a file, not a folder");
    QFile blocker(shell().data_folder);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    recorder->record_click();
    EXPECT_EQ(dialogs.messages().size(), 1);
    EXPECT_FALSE(echo_state().echo_recording || link().echo_online || !received().isEmpty())
        << "monitoring started for a recording that cannot be kept";
}

TEST_F(EchoRecorderTest, LinesPlayAtTheIntervalOnTheProgramClock) {
    for (double interval : {1.0, 5.0}) {
        SCOPED_TRACE(interval);
        shell().playback_interval = interval;
        played_at.clear();
        ended = 0;
        play(write_echo_file("four.dat", {trace_line("10:00:00", 200), trace_line("10:00:01", 210),
                                          trace_line("10:00:02", 220), trace_line("10:00:03", 230)}));
        wait_end();
        ASSERT_EQ(played_at.size(), 4u);
        for (size_t i = 1; i < played_at.size(); ++i) {
            EXPECT_GT(played_at[i] - played_at[i - 1], interval - 0.1);
            EXPECT_LT(played_at[i] - played_at[i - 1], interval + 3.0);
        }
        EXPECT_FALSE(echo_state().playback_file_open);
        EXPECT_TRUE(recorder->play_action()->isEnabled() && !recorder->play_action()->isChecked());
    }
    EXPECT_EQ(fields(echo_state().header.sample_count, echo_state().traces.at(3, 0),
                     echo_state().span_values[0]),
              fields(4, 400, 0.0))
        << "a trace line is not a span line";
    EXPECT_EQ(page->level_readout->graph(0)->dataCount(), 4) << "a new playback starts a clean display";
    EXPECT_DOUBLE_EQ(page->level_readout->graph(0)->data()->at(3)->value, 2.3);
    EXPECT_TRUE(view.status_history.back().contains("four.dat") &&
                view.status_history.back().endsWith("06/12/2026 @ 10:00:03"));
}

TEST_F(EchoRecorderTest, PlaybackKeepsItsPaceAcrossMidnight) {
    QStringList lines;
    for (int i = 0; i < 8; ++i)
        lines << trace_line("23:59:5" + QString::number(i), 200 + i);
    // Once the first line has played, the clock stands a moment before midnight.
    QObject::connect(recorder.get(), &EchoRecorder::line_played, [this] {
        if (played_at.size() == 1)
            set_time_of_day_origin(86400 - 1.5);
    });
    play(write_echo_file("midnight.dat", lines));
    wait_end();
    ASSERT_EQ(played_at.size(), 8u) << "the player stalled at midnight";
    bool crossed = false;
    for (size_t i = 2; i < played_at.size(); ++i)
        crossed = crossed || played_at[i] < played_at[i - 1];
    EXPECT_TRUE(crossed) << "the playback did not cross midnight";
}

TEST_F(EchoRecorderTest, PauseHoldsTheFileAndPlayResumesAtTheNextLine) {
    frame->show();
    QStringList lines;
    for (int i = 0; i < 5; ++i)
        lines << trace_line("10:00:0" + QString::number(i), 200 + 10 * i);
    play(write_echo_file("pause.dat", lines));
    platform::wait_until([&] { return played_at.size() >= 2; }, 30);
    recorder->pause_click();
    EXPECT_TRUE(recorder->play_action()->isEnabled() && !recorder->pause_action()->isEnabled());
    const size_t at_pause = played_at.size();
    platform::wait_ms(4000);
    EXPECT_EQ(played_at.size(), at_pause) << "a line played while paused";
    const size_t prompts = dialogs.prompts.size();
    recorder->play_button();
    EXPECT_EQ(dialogs.prompts.size(), prompts) << "resuming asked for a file";
    wait_end();
    EXPECT_EQ(played_at.size(), 5u) << "resuming skipped or repeated lines";
    EXPECT_TRUE(frame->isHidden()) << "a resumed playback left its panel at the end";
}

TEST_F(EchoRecorderTest, StopEndsThePlaybackWithItsFileClosedAndThePanelHidden) {
    frame->show();
    QStringList lines;
    for (int i = 0; i < 20; ++i)
        lines << trace_line("10:00:00", 200);
    play(write_echo_file("long.dat", lines));
    platform::wait_until([&] { return played_at.size() >= 2; }, 30);
    recorder->stop_button();
    wait_end();
    EXPECT_LT(played_at.size(), 5u);
    EXPECT_FALSE(echo_state().playback_file_open || echo_state().playback_running ||
                 !frame->isHidden());
    for (QAction* a : {recorder->record_action(), recorder->play_action(),
                       recorder->pause_action(), recorder->stop_action()})
        EXPECT_FALSE(a->isChecked());
}

TEST_F(EchoRecorderTest, BareRepliesAndSpanLinesPlayWhateverTheirLineEnds) {
    const QStringList lines = {"$D10.00  10  20  30 11 22 33",
                               "d,t,0,6,2,78,45,1.2,3.4,21.4,T1$R6,5,0.3,20",
                               "$E 5.00   1   2   3  9"};
    for (const char* end : {"\r\n", "\n", "\r"}) {
        SCOPED_TRACE(QByteArray(end).toHex().toStdString());
        reset_echo_state();
        played_at.clear();
        ended = 0;
        const QString path = dir.filePath("bare.txt");
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(lines.join(QLatin1String(end)).toLatin1());
        f.close();
        play(path);
        wait_end();
        EXPECT_EQ(fields(played_at.size(), echo_state().header.sample_count,
                         echo_state().traces.at(2, 2), echo_state().traces.at(0, 3)),
                  fields(3, 1, 33, 9))
            << "lines ran together";
        EXPECT_EQ(echo_state().span_values, (std::array<double, 4>{6, 5, 0.3, 20}));
    }
}

TEST_F(EchoRecorderTest, ACancelledOrFailedPlaybackReturnsToIdleWithItsFileClosed) {
    dialogs.files.push_back(QString());
    echo_state().echo_file_name.clear();
    recorder->play_button();
    platform::wait_ms(2000);
    ASSERT_FALSE(dialogs.prompts.empty());
    EXPECT_EQ(dialogs.prompts.back().text, "Open Echo File");
    EXPECT_TRUE(played_at.empty() && dialogs.messages().isEmpty()) << "a cancelled open dialog";
    EXPECT_FALSE(echo_state().playback_file_open);

    play(dir.filePath("missing.dat"));
    EXPECT_EQ(dialogs.messages().size(), 1);
    EXPECT_FALSE(echo_state().playback_file_open || echo_state().playback_running ||
                 !recorder->play_action()->isEnabled());

    ended = 0;
    play(write_echo_file("bad.dat", {trace_line("10:00:00", 200), "T1$A10.00 10 20 30",
                                      trace_line("10:00:02", 200)}));
    wait_end();
    EXPECT_EQ(fields(dialogs.messages().size(), played_at.size()), fields(2, 1));
    EXPECT_TRUE(!echo_state().playback_file_open && recorder->play_action()->isEnabled());
}

} // namespace
