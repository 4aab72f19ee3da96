// The command link end to end: the program's serial port, a pseudo-terminal and the simulated
// unit, with the program's clock running fast so that time-outs pass in moments.
#include "link_fixture.h"

#include "link/serial_texts.h"
#include "platform/vb.h"
#include "shell/definitions_table.h"

#include <QBuffer>
#include <QFile>
#include <QTimer>

using unitsim::Misbehaviour;

namespace {

QString retry_status(int n) {
    return ui_text(1416, "No reply - retry") + " " + QString::number(n);
}

TEST_F(LinkTest, EachCommandKindWaitsItsOwnTime) {
    struct Case {
        const char* cmd;
        bool echo_online;
        bool sweep;
        double timeout;
    } cases[] = {
        {"/who", false, false, 10},        {"/WHO", false, false, 40},
        {"/WHO", false, true, 5},          {"/p20", false, false, 40},
        {"/p20", false, true, 5},          {"/access:318406", false, false, 10},
        {"/ACCESS:OFF", false, false, 40}, {"/ACCESS:OFF", false, true, 5},
        {"/p20", true, false, 20},         {"/who", true, true, 20},
    };
    open_port();
    for (const Case& c : cases) {
        link().echo_online = c.echo_online;
        link().parameter_sweep = c.sweep;
        send_command(c.cmd);
        EXPECT_FALSE(link().comms_abort) << c.cmd;
        EXPECT_EQ(link().reply_timeout, c.timeout)
            << c.cmd << (c.echo_online ? " with live echo" : "") << (c.sweep ? " in a sweep" : "");
    }
}

TEST_F(LinkTest, ASilentUnitIsWaitedForThreeTimesItsTimeOutAndTwoPauses) {
    struct Case {
        const char* cmd;
        bool sweep;
        double seconds;
    } cases[] = {
        {"/who", false, 3 * 10 + 1}, {"/p20", true, 3 * 5 + 1}, {"/p20", false, 3 * 40 + 1}};
    open_port();
    for (const Case& c : cases) {
        sim->misbehave_on(c.cmd, Misbehaviour::silence());
        link().parameter_sweep = c.sweep;
        const double start = platform::seconds();
        send_command(c.cmd);
        const double took = platform::seconds() - start;
        EXPECT_GE(took, c.seconds) << c.cmd;
        EXPECT_LT(took, c.seconds * 1.25 + 2) << c.cmd;
        EXPECT_TRUE(link().comms_abort);
        sim->clear_misbehaviour();
    }
}

TEST_F(LinkTest, AUnitThatAnswersOnlyTheThirdSendIsHeardWithoutAMessage) {
    open_port();
    sim->misbehave_next(Misbehaviour::third_send());
    send_command("/p104");
    EXPECT_FALSE(link().comms_abort);
    EXPECT_EQ(link().reply_buffer, sim->unit().read_text(104));
    EXPECT_EQ(received(), QStringList({"/p104", "/p104", "/p104"}));
    EXPECT_TRUE(dialogs.prompts.empty())
        << "the user saw a failure message for a command that succeeded";
    EXPECT_EQ(view.status_history, std::vector<QString>({retry_status(1), retry_status(2)}));
}

TEST_F(LinkTest, ASilentUnitGetsThreeSendsAndOneMessageAndTheExchangeFails) {
    open_port();
    sim->misbehave_on("/p20", Misbehaviour::silence());
    link().parameter_sweep = true; // where time-outs count as tries too
    send_command("/p20", "Reading P20");
    EXPECT_FALSE(link().parameter_sweep) << "a failed sweep command ends the sweep";
    EXPECT_EQ(received(), QStringList({"/p20", "/p20", "/p20"}));
    ASSERT_EQ(dialogs.prompts.size(), 1u);
    EXPECT_EQ(dialogs.prompts[0].text,
              ui_text(1299, "No reply from the unit. Check the cable and the port settings."));
    EXPECT_EQ(dialogs.prompts[0].title, ui_text(1411, "Communication Error"));
    EXPECT_EQ(dialogs.prompts[0].style, platform::mb::Critical);
    EXPECT_TRUE(link().comms_abort);
    EXPECT_TRUE(link().reply_timed_out);
    EXPECT_TRUE(link().reply_buffer.isEmpty());
    EXPECT_EQ(view.status_history,
              std::vector<QString>({"Reading P20", retry_status(1), "Reading P20", retry_status(2),
                                    "Reading P20", ""}));
    EXPECT_TRUE(view.calls.empty()) << "live monitoring was not on";
}

TEST_F(LinkTest, AFailureDuringLiveMonitoringTakesTheDisplayOffline) {
    open_port();
    sim->misbehave_on("/LEVEL", Misbehaviour::silence());
    link().echo_online = true;
    send_command("/LEVEL");
    EXPECT_TRUE(link().comms_abort);
    EXPECT_FALSE(link().echo_online);
    EXPECT_EQ(view.calls, std::vector<QString>({"Timer1 off", "Option3"}));
}

TEST_F(LinkTest, EachTrafficBoxMasksAccessCodesItsOwnWay) {
    struct Case {
        const char* cmd;
        const char* modem;
        const char* debug;
        const char* term;
    } cases[] = {
        {"/access:off", "/access:******", "/ACCESS:****", "/access:*****"},
        {"/ACCESS:OFF", "/ACCESS:OFF", "/ACCESS:OFF", "/access:*****"},
        {"/access:318406", "/access:******", "/ACCESS:****", "/access:*****"},
        {"/p20", "/p20", "/p20", "/p20"},
    };
    open_port();
    link().debug_window_open = true;
    for (const Case& c : cases) {
        traffic().clear_all();
        send_command(c.cmd);
        const QString reply = link().reply_buffer;
        EXPECT_EQ(traffic().modem().text(), QString(c.modem) + "\r\n" + reply + "\r\n") << c.cmd;
        EXPECT_EQ(traffic().debug().text(), QString(c.debug) + "\r\n" + reply + "\r\n") << c.cmd;
        EXPECT_EQ(traffic().term().text(), QString(c.term) + "\r\n") << c.cmd;
        EXPECT_FALSE(traffic().modem().text().contains("318406"));
    }
}

TEST_F(LinkTest, TermShowsCommandsTwiceWithTheDebugDisplayAndNotAtAllWhenQuiet) {
    open_port();
    shell().debug_enabled = true;
    send_command("/p20");
    EXPECT_EQ(traffic().term().text(), "/p20\r\n/p20\r\n");
    traffic().clear_all();
    shell().debug_enabled = false;
    link().quiet_commands = true;
    send_command("/p20");
    EXPECT_TRUE(traffic().term().text().isEmpty());
    EXPECT_FALSE(traffic().modem().text().isEmpty()) << "the modem box records all traffic";
}

TEST_F(LinkTest, ATrafficBoxPastItsLimitStartsAgain) {
    open_port();
    link().debug_window_open = true;
    traffic().debug().append(QString(TrafficView::LIMIT + 1, 'x'));
    send_command("/p20");
    EXPECT_EQ(traffic().debug().text(), "/p20\r\n" + link().reply_buffer + "\r\n");
}

TEST_F(LinkTest, RepliesCutIntoPiecesArriveWhole) {
    const std::vector<Misbehaviour> shapes = {
        Misbehaviour::in_chunks({1}),    Misbehaviour::in_chunks({1, 1, 1}),
        Misbehaviour::in_chunks({2, 3}), Misbehaviour::line_end_apart(),
        Misbehaviour::last_line_split(),
    };
    open_port();
    for (const Misbehaviour& m : shapes) {
        sim->misbehave_next(m);
        send_command("/WHO");
        EXPECT_FALSE(link().comms_abort);
        EXPECT_EQ(link().reply_buffer, sim->unit().profile().who_reply);
        send_command("/p104");
        EXPECT_EQ(link().reply_buffer, sim->unit().read_text(104))
            << "the previous reply's line end leaked into the next exchange";
    }
}

TEST_F(LinkTest, ALineEndAloneIsNoReplyAndALateLineFeedIsDropped) {
    open_port();
    sim->misbehave_next(Misbehaviour::lone_line_end("\r"), 3);
    link().parameter_sweep = true;
    send_command("/p20");
    EXPECT_TRUE(link().comms_abort) << "a lone CR was taken for a reply";
    sim->clear_misbehaviour();
    link().parameter_sweep = false;
    sim->responder().set_chunk_gap_ms(200);
    sim->misbehave_next(Misbehaviour::line_end_apart());
    send_command("/p20");
    EXPECT_EQ(link().reply_buffer, sim->unit().read_text(20));
    send_command("/p104"); // sent before the first reply's LF arrives
    EXPECT_EQ(link().reply_buffer, sim->unit().read_text(104));
    EXPECT_FALSE(link().comms_abort);
}

TEST_F(LinkTest, StaleInputWaitingOnThePortIsNotTakenForAReply) {
    sim->write_unsolicited("99999\r\n");
    platform::wait_ms(50);
    open_port();
    send_command("/p104");
    EXPECT_EQ(link().reply_buffer, sim->unit().read_text(104));
}

TEST_F(LinkTest, ASweepResendsAnAcknowledgementAtMostThreeTimes) {
    open_port();
    sim->misbehave_on("/p20", Misbehaviour::garbage("OK\r\n"));
    link().parameter_sweep = true;
    send_command("/p20");
    EXPECT_EQ(received().size(), 4) << "one send and three resends, not for ever";
    EXPECT_EQ(link().reply_buffer, "OK");
    EXPECT_FALSE(link().comms_abort);
    EXPECT_TRUE(dialogs.prompts.empty());
}

TEST_F(LinkTest, CancelOrAnAbortFromAnotherHandlerEndsTheWaitAtOnceWithoutAMessage) {
    struct Case {
        bool cancel;
        bool sweep;
    } cases[] = {{true, true}, {false, true}, {false, false}};
    for (const auto [cancel, sweep] : cases) {
        open_port();
        sim->clear_received();
        sim->misbehave_on("/p20", Misbehaviour::silence());
        link().parameter_sweep = sweep;
        link().cancel_requested = false;
        QTimer::singleShot(20, [cancel] {
            if (cancel)
                link().cancel_requested = true;
            else
                link().comms_abort = true;
        });
        const double start = platform::seconds();
        send_command("/p20");
        EXPECT_LT(platform::seconds() - start, 10.0)
            << (cancel ? "Cancel" : "abort") << " did not end the wait";
        EXPECT_EQ(received().size(), 1) << "a stopped command was sent again";
        EXPECT_TRUE(link().comms_abort);
        EXPECT_FALSE(link().reply_timed_out);
        EXPECT_TRUE(link().reply_buffer.isEmpty());
        EXPECT_TRUE(dialogs.prompts.empty());
    }
}

TEST_F(LinkTest, AnAbortDuringThePauseBeforeTheNextSendEndsTheExchange) {
    // The abort comes from a handler that runs while the retry is announced.
    struct AbortingView : RecordingLinkView {
        void set_status_text(int panel, const QString& text) override {
            RecordingLinkView::set_status_text(panel, text);
            if (panel == 1 && text.endsWith(" 1"))
                link().comms_abort = true;
        }
    } aborting;
    set_link_view(&aborting);
    open_port();
    sim->misbehave_on("/p20", Misbehaviour::silence());
    send_command("/p20");
    set_link_view(&view);
    EXPECT_EQ(received().size(), 1) << "the stopped exchange was sent again";
    EXPECT_TRUE(link().comms_abort);
    EXPECT_TRUE(dialogs.prompts.empty());
}

TEST_F(LinkTest, SendingOnAClosedPortFailsAndIsNeverASuccess) {
    send_command("/p20");
    EXPECT_TRUE(link().comms_abort) << "a command that never left was reported as answered";
    EXPECT_EQ(dialogs.messages(),
              QStringList({ui_text(
                  1299, "No reply from the unit. Check the cable and the port settings.")}));
    EXPECT_TRUE(received().isEmpty());
}

TEST_F(LinkTest, AReplyGoesToTheExchangeThatAskedForIt) {
    open_port();
    sim->misbehave_on("/p20", Misbehaviour::late(20000));
    QString inner_reply;
    bool inner_sent = false;
    QTimer::singleShot(0, [&] {
        // A handler that runs inside the outer command's wait, as a timer tick or a click does.
        inner_sent = true;
        send_command("/p104");
        inner_reply = link().reply_buffer;
    });
    send_command("/p20");
    ASSERT_TRUE(inner_sent);
    EXPECT_EQ(link().reply_buffer, sim->unit().read_text(20))
        << "the outer command got another reply";
    EXPECT_EQ(inner_reply, sim->unit().read_text(104)) << "the inner command got another reply";
    EXPECT_EQ(received(), QStringList({"/p20", "/p104"}));
    EXPECT_FALSE(link().comms_abort);
}

TEST_F(LinkTest, AnUnmappedPortNumberFailsToOpenWithTheInvalidPortMessage) {
    shell().com_port = 42;
    open_com_port();
    EXPECT_TRUE(link().port_open_failed);
    EXPECT_TRUE(link().comms_abort);
    EXPECT_FALSE(MSComm1().port_open());
    EXPECT_EQ(dialogs.messages(),
              QStringList({ui_text(
                  1206, "The serial port cannot be opened. Check the port in the Setup dialog.")}));
    EXPECT_EQ(MSComm1().last_error(), platform::CommError::InvalidPortNumber);
}

TEST_F(LinkTest, AnUnpluggedDeviceClosesThePortAndTheUserIsToldOnce) {
    open_port();
    sim->misbehave_on("/p20", Misbehaviour::silence());
    QTimer::singleShot(20, [this] { sim.reset(); });
    send_command("/p20");
    EXPECT_TRUE(link().comms_abort);
    platform::wait_ms(200);
    EXPECT_FALSE(MSComm1().port_open());
    send_command("/p21");
    EXPECT_TRUE(link().comms_abort);
    ASSERT_EQ(dialogs.prompts.size(), 1u) << dialogs.messages().join(" / ").toStdString();
    EXPECT_EQ(dialogs.prompts[0].text, serial_text(95) + " COM1 " + serial_text(96));
}

TEST_F(LinkTest, AnUnpluggedDeviceEndsARunningDownloadWithWhatArrived) {
    open_port();
    QByteArray data;
    auto file = std::make_unique<QBuffer>(&data);
    file->open(QIODevice::WriteOnly);
    link().download_file = std::move(file);
    link().log_download_active = true;
    sim->misbehave_next(Misbehaviour::garbage("0,2,0,10124,1,0,0,5,0,1"));
    send_command_plain("/getlog");
    ASSERT_TRUE(platform::wait_until([&] { return !data.isEmpty(); }, 20));
    sim.reset();
    EXPECT_TRUE(platform::wait_until([] { return !link().log_download_active; }, 20))
        << "the downloader would wait for ever";
    EXPECT_EQ(data, "0,2,0,10124,1,0,0,5,0,1");
    EXPECT_FALSE(link().download_file);
}

TEST_F(LinkTest, TheCommunicationCardGetsTwoSendsAndItsOwnMessage) {
    open_port();
    sim->misbehave_on("/who", Misbehaviour::silence());
    send_command_to_comms_card("/who");
    EXPECT_EQ(received(), QStringList({"/who", "/who"}));
    ASSERT_EQ(dialogs.prompts.size(), 1u);
    EXPECT_TRUE(dialogs.prompts[0].text.startsWith("Communication card not found."));
    EXPECT_TRUE(link().comms_abort);
}

TEST_F(LinkTest, AWaitAfterAWriteOfItsOwnGetsTheReplyToThatWrite) {
    open_port();
    send_command("/p20");
    ASSERT_TRUE(link().reply_received) << "the earlier exchange left its flag set";
    MSComm1().output("/p104\r");
    link().reply_timeout = 20;
    wait_for_reply("");
    EXPECT_EQ(link().reply_buffer, sim->unit().read_text(104))
        << "the wait ended on the earlier reply";
}

TEST_F(LinkTest, TheLogInformationArrivesWholeWithItsLines) {
    open_port();
    const QString expected = QString::fromLatin1(sim->unit().log().loginfo_text(2, false)) + "\r";
    for (const Misbehaviour& m : {Misbehaviour::in_chunks({7, 30}), Misbehaviour::last_line_split(),
                                  Misbehaviour::line_end_apart()}) {
        sim->misbehave_next(m);
        link().loginfo_reply_mode = true;
        send_command("/LOGINFO");
        link().loginfo_reply_mode = false;
        EXPECT_FALSE(link().comms_abort);
        EXPECT_EQ(link().reply_buffer, expected);
    }
}

TEST_F(LinkTest, ADownloadedLogGoesIntoTheFileWithTheSerialNumberBeforeItsFirstRecord) {
    open_port();
    send_command("/simlog:1");
    const QByteArray stream = sim->unit().log().getlog_text(0, 2, false);
    ASSERT_TRUE(stream.contains('$'));
    const QString path = dir.filePath("templog.vlg");
    auto file = std::make_unique<QFile>(path);
    ASSERT_TRUE(file->open(QIODevice::WriteOnly | QIODevice::Truncate));
    definitions_table()[92].unit_value = 40312;
    link().download_file = std::move(file);
    link().download_expected = stream.size();
    link().download_received = 0;
    link().download_marker_seen = false;
    link().download_start_time = platform::seconds();
    link().log_download_active = true;
    sim->misbehave_next(Misbehaviour::in_chunks({100, 1, 333}));
    send_command_plain("/getlog");
    ASSERT_TRUE(platform::wait_until([] { return !link().log_download_active; }, 60));
    QFile written(path);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    QByteArray expected = stream;
    expected.insert(expected.indexOf('$'), ",40312");
    EXPECT_EQ(written.readAll(), expected + "\r\n");
    EXPECT_EQ(link().download_received, stream.size() + 2);
}

} // namespace
