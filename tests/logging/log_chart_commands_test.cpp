// Bringing a log onto the chart, against the simulated unit: the download and its file, a
// stream cut, stalled, stopped or ended by a comma, the user's abort, a file that cannot be
// written, and log files opened from disk, good and bad.
#include "log_page_on_unit.h"

#include <unitsim/log_stream.h>

using logsetup::chart_settings_trailer;
using unitsim::LogStreamOptions;
using unitsim::UnitKind;

namespace {

class LogChartCommandsTest : public LogPageOnUnitTest {
protected:
    void SetUp() override {
        LogPageOnUnitTest::SetUp();
        shell().data_folder = dir.filePath("data");
        QDir().mkpath(shell().data_folder);
        definitions_table()[92].unit_value = 4711;
        log_chart_model().remove_all_series();
        chart_commands = std::make_unique<LogChartCommands>(*page);
        chart_commands->install();
    }
    void TearDown() override {
        unload_legend_window();
        chart_commands.reset();
        LogPageOnUnitTest::TearDown();
    }

    // The unit logs `channels` every 15 minutes and holds `records` of them; the page has read
    // the unit's log information, as the user does before a download.
    void unit_with_log(const QList<quint32>& masks, int records) {
        for (int w = 0; w < 3; ++w)
            unit().log().set_mask(w + 1, masks[w]);
        unit().log().set_interval(15);
        unit().set_simulated_records(records);
        unit().log().simulate(records, unit_now);
        page->Command6->click();
        ASSERT_EQ(page->unit_log_boxes[6]->text(), QString::number(records));
        dialogs.prompts.clear();
    }

    // What the unit streams for "/getlog", as the file holds it: the serial number before the
    // first "$" and the chart settings trailer on a line of its own.
    QByteArray expected_file(const QByteArray& line_end = "\r\n") const {
        QByteArray text = sim->unit().log().getlog_text(0, 2, false);
        text.insert(text.indexOf('$'), "," + serial());
        return text + line_end + chart_settings_trailer(log_setup().chart_units).toLatin1() +
               "\r\n";
    }

    // P92 as the log information read it from the unit.
    static QByteArray serial() {
        return QByteArray::number(qint64(definitions_table()[92].unit_value));
    }

    QString download(const QString& name = "site.vlg") {
        const QString path = name.isEmpty() ? QString() : dir.filePath(name);
        dialogs.files.push_back(path);
        page->get_log_data_button->click();
        return path.isEmpty() ? platform::join_path(shell().data_folder, "templog.vlg") : path;
    }

    int points() const {
        return log_chart_model().series_count() ? log_chart_model().series(0).point_count() : -1;
    }
    void stream(const LogStreamOptions& o) { unitsim::set_log_stream(sim->responder(), o); }

    std::unique_ptr<LogChartCommands> chart_commands;
};

} // namespace

TEST_F(LogChartCommandsTest, DownloadSavesTheLogWithItsTrailerAndChartsIt) {
    unit_with_log({3, 0x8000 | (1 << 3), 0}, 40); // level, distance, relays
    const QString path = download();
    EXPECT_EQ(testfiles::read_bytes(path), expected_file());
    EXPECT_EQ(dialogs.messages(), QStringList());
    EXPECT_EQ(page->get_log_data_button->text(), "&Get Log Data from Unit")
        << "the button keeps its abort caption after the download";
    const int relays = std::min<int>(6, log_setup().relay_count);
    ASSERT_GT(relays, 0);
    ASSERT_EQ(log_chart_model().series_count(), 3 + relays);
    EXPECT_EQ(std::tuple(points(), log_chart_model().series(3).title,
                         log_chart_model().series(0).active, log_chart_model().series(1).active,
                         log_view.selected_tab, log_setup().chart_log_file),
              std::tuple(40, QString("Relay 1"), true, false, 2, path));

    // Opened again from disk, the file draws the same points.
    const std::vector<double> y = log_chart_model().series(1).y;
    log_chart_model().remove_all_series();
    dialogs.files.push_back(path);
    page->Command3->click();
    ASSERT_EQ(log_chart_model().series_count(), 3 + relays);
    EXPECT_EQ(log_chart_model().series(1).y, y);
}

TEST_F(LogChartCommandsTest, CancelledSaveDialogDownloadsIntoTheTemporaryLog) {
    unit_with_log({1, 0x8000, 0}, 5);
    const QString path = download(QString());
    EXPECT_EQ(testfiles::read_bytes(path), expected_file());
    EXPECT_EQ(points(), 5);
}

TEST_F(LogChartCommandsTest, AStreamCutAtAnyByteGivesTheSameFile) {
    unit_with_log({1, 0x8000, 0}, 3);
    const QByteArray whole = expected_file();
    const int length = static_cast<int>(sim->unit().log().getlog_text(0, 2, false).size()) + 2;
    for (int cut = 1; cut < length; ++cut) {
        LogStreamOptions o;
        o.split_at = {cut, cut + 1};
        stream(o);
        const QString path = download();
        ASSERT_EQ(testfiles::read_bytes(path), whole) << "stream cut at byte " << cut;
        ASSERT_EQ(points(), 3) << "stream cut at byte " << cut;
    }
    EXPECT_EQ(dialogs.messages(), QStringList());
}

TEST_F(LogChartCommandsTest, TrailingCommaAndShortStallStillGiveTheWholeLog) {
    unit_with_log({1, 0x8000, 0}, 8);
    LogStreamOptions o;
    o.trailing_comma = true;
    o.stall_at = 40;
    o.stall_ms = 30000; // half the idle time-out
    stream(o);
    download();
    EXPECT_TRUE(dialogs.messages().isEmpty());
    EXPECT_EQ(points(), 8);
}

TEST_F(LogChartCommandsTest, AStreamThatStopsEndsAfterTheIdleTimeOutAndKeepsWhatArrived) {
    unit_with_log({1, 0x8000, 0}, 10);
    LogStreamOptions o;
    o.stop_at = 100; // header and a few records, no line end
    stream(o);
    const QString path = download();
    ASSERT_EQ(dialogs.messages().size(), 1);
    EXPECT_TRUE(dialogs.messages()[0].startsWith("No data came from the unit for 60 seconds"));
    EXPECT_TRUE(dialogs.messages()[0].contains(path));
    QByteArray partial = sim->unit().log().getlog_text(0, 2, false).left(100);
    partial.insert(partial.indexOf('$'), "," + serial());
    EXPECT_EQ(testfiles::read_bytes(path),
              partial + "\r\n" + chart_settings_trailer(log_setup().chart_units).toLatin1() +
                  "\r\n")
        << "the trailer must start a line of its own";
    EXPECT_TRUE(points() > 0 && points() < 10) << points();
}

// The user presses the button again, or the line is pulled, once part of the log has arrived.
// Pressed while the download still logs on (the board does not answer), it ends the download at
// once, with nothing told and nothing written.
TEST_F(LogChartCommandsTest, AnAbortOrAPulledLineKeepsALoadablePartialLog) {
    unit_with_log({1, 0x8000, 0}, 10);
    sim->misbehave_on("/p141*", unitsim::Misbehaviour::silence());
    QTimer::singleShot(20, [this] { page->get_log_data_button->click(); });
    const double start = platform::seconds();
    const QString never = download("never.vlg");
    EXPECT_EQ(fields(platform::seconds() - start < 5, dialogs.messages().join(" | "),
                     QFile::exists(never), page->get_log_data_button->text()),
              fields(true, "", false, "&Get Log Data from Unit"))
        << "an abort during the log-on held the user or blamed the line";
    sim->clear_misbehaviour();
    dialogs.files.clear();
    for (const bool pull : {false, true}) {
        SCOPED_TRACE(pull ? "line pulled" : "user's abort");
        if (pull) {
            make_unit(UnitKind::Level);
            fix_unit_clock();
        }
        unit_with_log({1, 0x8000, 0}, 10);
        LogStreamOptions o;
        o.stall_at = 120;
        o.stall_ms = 50000;
        stream(o);
        QTimer watch;
        bool done = false;
        QObject::connect(&watch, &QTimer::timeout, [&] {
            if (done || !sim || !link().log_download_active || link().download_received < 60)
                return;
            done = true;
            if (pull) {
                sim.reset();
                return;
            }
            EXPECT_EQ(page->get_log_data_button->text(), "&Abort Download");
            page->get_log_data_button->click();
        });
        watch.start(2);
        const QString path = download(pull ? "pulled.vlg" : "site.vlg");
        watch.stop();
        EXPECT_TRUE(done && page->get_log_data_button->text() == "&Get Log Data from Unit");
        const QStringList m = dialogs.messages();
        ASSERT_EQ(m.size(), pull ? 2 : 1) << m.join("\n").toStdString();
        EXPECT_TRUE(m.last().startsWith("The download stopped before the log was") &&
                    m.last().contains(path) &&
                    m.last().contains(QString("The log file holds %1 of the 10 records its header "
                                              "announces.")
                                          .arg(points())))
            << m.last().toStdString();
        EXPECT_TRUE(testfiles::read_bytes(path).endsWith(
            "\r\n" + chart_settings_trailer(log_setup().chart_units).toLatin1() + "\r\n"));
        EXPECT_TRUE(points() > 0 && points() < 10) << points();
    }
}

TEST_F(LogChartCommandsTest, ALogClearedBeforeItsDownloadIsToldAndKeepsNothing) {
    unit_with_log({1, 0x8000, 0}, 4);
    const QString charted = download();
    ASSERT_EQ(points(), 4);
    unit_with_log({1, 0x8000, 0}, 6);
    unit().log().clear(unit_now.date()); // cleared after the log information was read
    testfiles::write_bytes(dir.filePath("old.vlg"), "the user's old log");
    for (const QString& name : {QString("old.vlg"), QString()}) {
        dialogs.prompts.clear();
        QFile::remove(platform::join_path(shell().data_folder, "templog.vlg"));
        const QString path = download(name);
        EXPECT_EQ(dialogs.messages(), QStringList({"The log contains no records."}));
        if (name.isEmpty())
            EXPECT_FALSE(QFile::exists(path)) << "a half-made log was kept";
        else
            EXPECT_EQ(testfiles::read_bytes(path), "the user's old log");
        EXPECT_EQ(points(), 4);
        EXPECT_EQ(log_setup().chart_log_file, charted);
    }
}

TEST_F(LogChartCommandsTest, ALogThatCannotBeSavedWhereChosenIsKeptAndTheUserTold) {
    unit_with_log({1, 0x8000, 0}, 4);
    const QString locked = dir.filePath("locked");
    QDir().mkpath(locked);
    testfiles::write_bytes(locked + "/site.vlg", "the user's old log");
    {
        testfiles::ScopedPermissions guard(locked, testfiles::read_only_folder);
        download("locked/site.vlg");
    }
    EXPECT_EQ(testfiles::read_bytes(locked + "/site.vlg"), "the user's old log");
    ASSERT_EQ(dialogs.messages().size(), 1);
    const QString message = dialogs.messages()[0];
    EXPECT_TRUE(message.startsWith("The log could not be saved as")) << message.toStdString();
    const qsizetype at = message.indexOf(shell().data_folder);
    ASSERT_GE(at, 0) << message.toStdString();
    EXPECT_EQ(testfiles::read_bytes(message.mid(at)), expected_file());
    EXPECT_EQ(points(), 4);
}

TEST_F(LogChartCommandsTest, BadFilesGiveOneClearMessageAndLeaveTheChart) {
    unit_with_log({1, 0x8000, 0}, 4);
    const QString charted = download();
    ASSERT_EQ(points(), 4);
    // Every channel at four bytes: a record longer than any unit writes.
    log_setup().log_channel_table.width.fill(4);
    struct Case {
        QByteArray bytes;
        const char* message;
        bool refused; // the file changes nothing at all
    };
    const Case cases[] = {
        {"this is no log", "This file is not a log file", true},
        {QByteArray("\x00\xff\x01", 3), "This file is not a log file", true},
        {"0,2,0,1X126,7,32768,0,15,0,1,4711$000000\r\n", "The start date of the log cannot be",
         true},
        {"0,2,0,10126,-1,-1,-1,15,0,1,4711$00\r\n", "The channels of this log make records", true},
        {"0,2,0,10126,1,32768,0,15,0,3\r\n", "This file is not a log file", true}, // ten fields
        {"0,2,0,10126,1,32768,0,15,0,0,4711\r\n", "The log contains no records.", false},
    };
    for (const Case& c : cases) {
        dialogs.prompts.clear();
        const QString masks = page->unit_log_boxes[1]->text() + page->unit_log_boxes[2]->text();
        const QString path = dir.filePath("bad.vlg");
        testfiles::write_bytes(path, c.bytes);
        dialogs.files.push_back(path);
        page->Command3->click();
        // One message, the chart as it was; a refused file is neither the file the Setup dialog
        // writes into nor the header the page shows.
        const QString m = dialogs.messages().join("|");
        EXPECT_EQ(fields(m.left(qsizetype(strlen(c.message))), m.count("|"), points()),
                  fields(c.message, 0, 4));
        if (c.refused) {
            EXPECT_EQ(
                fields(log_setup().chart_log_file, page->unit_log_boxes[1]->text() + page->unit_log_boxes[2]->text()),
                fields(charted, masks));
        }
    }
    dialogs.prompts.clear();
    dialogs.files.push_back(dir.filePath("missing.vlg"));
    page->Command3->click();
    EXPECT_TRUE(dialogs.messages().join("|").startsWith("The log file cannot be read:"));
}

// What is there is charted; records the header counts that the file lacks and entries that do
// not read (a record with a digit that is not hex among them) are said once; a sound file says
// nothing.
TEST_F(LogChartCommandsTest, DamagedRecordsAreLeftOutAndToldOnce) {
    // Level only (5-byte records) every 15 minutes from 1 Dec 2026; record i holds the level i.
    auto records = [](int count, int from = 0) {
        QByteArray out;
        for (int i = from; i < from + count; ++i) {
            const int minutes = i * 15, hhmm = minutes % 1440 / 60 * 100 + minutes % 60;
            const QByteArray bytes = QByteArray() + char(minutes / 1440 >> 4) +
                                     char((minutes / 1440 & 0xF) << 4 | hhmm >> 8) + char(hhmm) +
                                     char(i >> 8) + char(i);
            out += (out.isEmpty() ? "$" : ",$") + bytes.toHex().toUpper();
        }
        return out;
    };
    auto head = [](int announced) {
        return "0,2,0,11226,1,32768,0,15,0," + QByteArray::number(announced) + ",88";
    };
    const QByteArray trailer = "\r\n~2|0|0|0|0|3|0\r\n";
    const struct Case {
        const char* what;
        QByteArray file;
        int points;
        QString message;
    } cases[] = {
        {"sound", head(4) + records(4) + trailer, 4, ""},
        {"cut short, no trailer", head(300) + records(134) + ",$00221B00", 134,
         "The log file holds 134 of the 300 records its header announces."},
        {"header only", head(300) + "\r\n", 0,
         "The log file holds 0 of the 300 records its header announces."},
        {"a record not hex throughout",
         head(4) + records(2) + ",$00001E00OK," + records(1, 3) + trailer, 3,
         "1 entries of the log could not be read and were left out."},
        {"cut short with a record not hex",
         head(300) + records(2) + ",$00001E00OK," + records(1, 3) + trailer, 3,
         "The log file holds 4 of the 300 records its header announces.\r\n"
         "1 entries of the log could not be read and were left out."},
        {"short and long entries",
         head(4) + "$0000000064,$00000F00,$00002D0066~,$0000300067" + trailer, 2,
         "2 entries of the log could not be read and were left out."},
    };
    const QString path = dir.filePath("noisy.vlg");
    for (const Case& c : cases) {
        dialogs.prompts.clear();
        testfiles::write_bytes(path, c.file);
        dialogs.files.push_back(path);
        page->Command3->click();
        EXPECT_EQ(fields(dialogs.messages().join("|"), points(), log_view.selected_tab),
                  fields(c.message, c.points, 2))
            << c.what << ": the message the user got, the points charted, the tab on show";
    }
    EXPECT_EQ(log_chart_model().series(0).y, (std::vector<double>{100, 103}));
    EXPECT_EQ(std::tuple(definitions_table()[92].unit_value, page->unit_log_boxes[8]->text()),
              std::tuple(88.0, QString("5")));
}

// A zero-time timer samples what the window shows whenever events run: during the record loop
// it sees the progress text, with Debug=True in the status bar with the valid count.
TEST_F(LogChartCommandsTest, LoadingALogShowsItsProgressWhileEventsRunAndDebugEchoesRecords) {
    constexpr int RECORDS = 600;
    unit_with_log({1, 0x8000, 0}, RECORDS);
    const QString path = download();
    QList<QByteArray> records = testfiles::read_bytes(path).split(',');
    records.erase(std::remove_if(records.begin(), records.end(),
                                 [](const QByteArray& f) { return !f.startsWith('$'); }),
                  records.end());
    ASSERT_EQ(records.size(), RECORDS - 1) << "the first record shares the serial number's field";
    for (const bool debug : {false, true}) {
        shell().debug_enabled = debug;
        traffic().term().clear();
        traffic().term().append("earlier traffic\r\n");
        view.status_history.clear();
        log_view.progress_max.clear();
        QStringList seen;
        QTimer sampler;
        sampler.setInterval(0);
        QObject::connect(&sampler, &QTimer::timeout,
                         [&] { seen << (debug ? view.status_text(1) : view.download_label); });
        sampler.start();
        log_chart_model().remove_all_series();
        dialogs.files.push_back(path);
        page->Command3->click();
        sampler.stop();
        ASSERT_EQ(points(), RECORDS) << debug;
        EXPECT_TRUE(
            std::any_of(seen.begin(), seen.end(),
                        [](const QString& t) { return t.startsWith("Loading log data: "); }))
            << "no events ran, or no progress showed, while the log loaded (debug " << debug << ")";
        EXPECT_EQ(log_view.progress_max[debug ? 1 : 4], RECORDS);
        const QString term = traffic().term().text();
        if (debug) {
            EXPECT_EQ(fields(std::count(view.status_history.begin(), view.status_history.end(),
                                        QString("Loading log data: 100.0% - Valid = 600")),
                             term.startsWith("earlier traffic")),
                      fields(1, true));
            for (const QByteArray& r : records)
                ASSERT_TRUE(term.contains(QString::fromLatin1(r.split('\r').first()) + "\r\n"))
                    << "record " << r.constData() << " was not echoed";
        } else {
            EXPECT_EQ(term, QString()) << "the traffic box is emptied for the load";
        }
    }
    shell().debug_enabled = false;
}

TEST_F(LogChartCommandsTest, SeededLogFromAFileIsWhatTheUnitStreams) {
    const QString path = dir.filePath("seed.vlg");
    testfiles::write_bytes(path, "0,2,0,11226,1,32768,0,15,0,2,88$0000000064,$00000F0065\r\n"
                                 "~2|0|0|0|0|3|0\r\n");
    ASSERT_TRUE(unitsim::seed_log_from_file(unit().log(), path));
    EXPECT_EQ(unit().log().getlog_text(0, 2, false),
              "0,2,0,11226,1,32768,0,15,0,2$0000000064,$00000F0065");
    QString error;
    EXPECT_FALSE(unitsim::seed_log_from_file(unit().log(), dir.filePath("none.vlg"), &error));
    EXPECT_FALSE(error.isEmpty());
}
