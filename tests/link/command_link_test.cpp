// The command link end to end: the program's serial port, a pseudo-terminal and the simulated
// unit, with the program's clock running fast so that time-outs pass in moments.
#include "simulated_unit.h"

#include "link/port_failure_text.h"
#include "link/serial_texts.h"
#include "shell/definitions_table.h"

#include <QBuffer>
#include <QTimer>

using unitsim::Misbehaviour;

namespace {

using LinkTest = SimulatedUnitTest;

const QString NO_REPLY =
    ui_text(1299, "No reply from the unit. Check the cable and the port settings.");

QString retry_status(int n) {
    return ui_text(1416, "No reply - retry") + " " + QString::number(n);
}

TEST_F(LinkTest, EachCommandKindWaitsItsOwnTime) {
    // clang-format off
    struct Case { const char* cmd; bool echo_online, sweep; double timeout; } cases[] = {
        {"/who", false, false, 10},        {"/WHO", false, false, 40}, {"/p20", false, true, 5},
        {"/access:318406", false, false, 10}, {"/ACCESS:OFF", false, false, 40},
        {"/p20", true, false, 20},         {"/who", true, true, 20},
    };
    // clang-format on
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

TEST_F(LinkTest, ASilentUnitGetsThreeSendsAndOneMessageAndTheExchangeFails) {
    // Three time-outs and two pauses; a failure ends a sweep and takes live monitoring offline.
    // clang-format off
    struct Case { const char* cmd; bool sweep, echo_online; double seconds; }
    cases[] = {{"/who", false, false, 3 * 10 + 1},
               {"/p20", true, false, 3 * 5 + 1},
               {"/LEVEL", false, true, 3 * 20 + 1}};
    // clang-format on
    open_port();
    for (const Case& c : cases) {
        sim->clear_received();
        sim->misbehave_on(c.cmd, Misbehaviour::silence());
        dialogs.prompts.clear();
        view = RecordingLinkView{};
        link().parameter_sweep = c.sweep;
        link().echo_online = c.echo_online;
        const double start = platform::seconds();
        send_command(c.cmd, "Asking");
        const double took = platform::seconds() - start;
        EXPECT_GE(took, c.seconds) << c.cmd;
        EXPECT_LT(took, c.seconds * 1.25 + 2) << c.cmd;
        EXPECT_EQ(received(), QStringList({c.cmd, c.cmd, c.cmd}));
        ASSERT_EQ(dialogs.prompts.size(), 1u) << c.cmd;
        EXPECT_EQ(box_line(dialogs.prompts[0]),
                  box_line(NO_REPLY, ui_text(1411, "Communication Error"), platform::mb::Critical));
        // A failed sweep command ends the sweep, and live monitoring goes offline.
        EXPECT_EQ(fields(link().comms_abort, link().reply_timed_out, link().reply_buffer,
                         link().parameter_sweep, link().echo_online),
                  fields(true, true, "", false, false))
            << c.cmd;
        EXPECT_EQ(view.status_history, std::vector<QString>({"Asking", retry_status(1), "Asking",
                                                             retry_status(2), "Asking", ""}));
        EXPECT_EQ(view.calls, c.echo_online ? std::vector<QString>({"Timer1 off", "Option3"})
                                            : std::vector<QString>());
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
    EXPECT_EQ(view.status_history,
              std::vector<QString>({retry_status(1), retry_status(2), QString()}))
        << "the retry text stayed after the exchange had ended";
    EXPECT_EQ(view.status_text(2), "") << "the countdown reads as a wait still going on";
    // The link cannot tell whether the first sends will still be answered: the next command
    // waits, visibly, until they are overdue, and then gets its own answer.
    send_command("/p21");
    EXPECT_EQ(link().reply_buffer, sim->unit().read_text(21));
    ASSERT_GE(view.status_history.size(), 4u);
    EXPECT_EQ(view.status_history[3], ui_text(2040, "Waiting for the late reply to") + " /p104");
    send_command("/p20", "Reading P20");
    EXPECT_EQ(view.status_text(1), "") << "panel 1 still says what the link did";
    view.set_status_text(1, "Connected to Comms board");
    send_command("/p21");
    EXPECT_EQ(view.status_text(1), "Connected to Comms board")
        << "a text of the caller's own was taken away";
}

TEST_F(LinkTest, EachTrafficBoxShowsTheExchangeAndMasksAccessCodesItsOwnWay) {
    // clang-format off
    struct Case { const char *cmd, *mode, *modem, *debug, *term; } cases[] = {
        {"/access:off", "", "/access:******", "/ACCESS:****", "/access:*****\r\n"},
        {"/ACCESS:OFF", "", "/ACCESS:OFF", "/ACCESS:OFF", "/access:*****\r\n"},
        {"/access:318406", "", "/access:******", "/ACCESS:****", "/access:*****\r\n"},
        {"/p20", "debug display", "/p20", "/p20", "/p20\r\n/p20\r\n"},
        {"/p20", "quiet", "/p20", "/p20", ""},
        {"/p20", "live", "/p20", "/p20", "/p20\r\n"}, // live replies stay out of the boxes
    };
    // clang-format on
    open_port();
    link().debug_window_open = true;
    traffic().debug().append(QString(TrafficView::LIMIT + 1, 'x')); // past its limit: starts again
    for (const Case& c : cases) {
        const QString mode = c.mode;
        shell().debug_enabled = mode == "debug display";
        link().quiet_commands = mode == "quiet";
        link().echo_online = mode == "live";
        send_command(c.cmd);
        EXPECT_FALSE(link().comms_abort) << c.cmd;
        const QString reply = link().echo_online ? "" : link().reply_buffer + "\r\n";
        EXPECT_EQ(traffic().modem().text(), c.modem + QString("\r\n") + reply) << c.cmd << mode;
        EXPECT_EQ(traffic().debug().text(), c.debug + QString("\r\n") + reply) << c.cmd << mode;
        EXPECT_EQ(traffic().term().text(), c.term) << c.cmd << mode;
        traffic().clear_all();
    }
}

TEST_F(LinkTest, RepliesCutIntoPiecesArriveWholeAndLeaveNothingForTheNextExchange) {
    const QString who = sim->unit().profile().who_reply;
    const QString loginfo = QString::fromLatin1(sim->unit().log().loginfo_text(2, false)) + "\r";
    // clang-format off
    const struct { const char* cmd; Misbehaviour shape; QString reply; }
    cases[] = {{"/WHO", Misbehaviour::in_chunks({1, 1, 1}), who},
               {"/WHO", Misbehaviour::line_end_apart(), who},
               {"/LOGINFO", Misbehaviour::last_line_split(), loginfo}};
    // clang-format on
    open_port();
    sim->responder().set_chunk_gap_ms(200); // a line feed may come after the next command went
    for (const auto& c : cases) {
        sim->misbehave_next(c.shape);
        link().loginfo_reply_mode = QString(c.cmd) == "/LOGINFO";
        send_command(c.cmd);
        link().loginfo_reply_mode = false;
        EXPECT_FALSE(link().comms_abort) << c.cmd;
        EXPECT_EQ(link().reply_buffer, c.reply) << c.cmd;
        send_command("/p104");
        EXPECT_EQ(link().reply_buffer, sim->unit().read_text(104))
            << c.cmd << ": the previous reply's line end leaked into the next exchange";
    }
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
    EXPECT_EQ(
        fields(received().size(), link().reply_buffer, link().comms_abort, dialogs.prompts.size()),
        fields(4, "OK", false, 0))
        << "one send and three resends, not for ever";
}

TEST_F(LinkTest, CancelOrAnAbortFromAnotherHandlerEndsTheExchangeWithoutAResendOrAMessage) {
    // A timer stops the wait, or a handler stops the pause while the retry is announced. The
    // user's Cancel of a transfer ends the first wait of a write as it ends a sweep's.
    struct AbortingView : RecordingLinkView {
        void set_status_text(int panel, const QString& text) override {
            RecordingLinkView::set_status_text(panel, text);
            if (panel == 1 && text.endsWith(" 1"))
                link().comms_abort = true;
        }
    } aborting;
    enum How { Cancel, Abort, AbortInPause };
    // clang-format off
    const struct { How how; bool sweep; }
    cases[] = {{Cancel, true}, {Cancel, false}, {Abort, true}, {Abort, false},
               {AbortInPause, false}};
    // clang-format on
    set_link_view(&aborting);
    open_port();
    link().cancel_ends_waits = true;
    sim->misbehave_on("/p20", Misbehaviour::silence());
    for (const auto [how, sweep] : cases) {
        sim->clear_received();
        link().parameter_sweep = sweep;
        link().cancel_requested = false;
        if (how != AbortInPause)
            QTimer::singleShot(20, [how] {
                (how == Cancel ? link().cancel_requested : link().comms_abort) = true;
            });
        const double start = platform::seconds();
        send_command("/p20");
        EXPECT_LT(platform::seconds() - start, how == AbortInPause ? 45 : 10.0)
            << how << ": the stop did not end the wait";
        // A stopped command is not sent again.
        EXPECT_EQ(fields(received().size(), link().comms_abort, link().reply_timed_out,
                         link().reply_buffer, dialogs.prompts.size()),
                  fields(1, true, how == AbortInPause, "", 0))
            << how;
    }
    set_link_view(&view);
}

// While a transfer may be cancelled, Cancel ends the link's waits that hold no command in flight
// at once: the pause before a resend, the wait for an answer still owed, a delay. Nothing more goes
// out and nobody is told.
TEST_F(LinkTest, CancelOfATransferEndsThePausesAndTheWaitsForOwedAnswersAtOnce) {
    struct CancellingView : RecordingLinkView {
        QString when; // the status text at which the user presses Cancel
        void set_status_text(int panel, const QString& text) override {
            RecordingLinkView::set_status_text(panel, text);
            if (panel == 1 && !when.isEmpty() && text.startsWith(when))
                link().cancel_requested = true;
        }
    } cancelling;
    set_link_view(&cancelling);
    open_port();
    link().cancel_ends_waits = true;
    // The first send of P20 is never answered: its answer stays owed for the next command.
    sim->misbehave_on("/p20", Misbehaviour::silence(), 1);
    const struct {
        const char* wait;
        QString when;
        const char* cmd;
        QStringList sent;
    } cases[] = {
        {"the pause before a resend", retry_status(1), "/p20", {"/p20"}},
        {"the wait for an owed answer", ui_text(2040, "Waiting for the late reply to"), "/p21", {}},
    };
    for (const auto& c : cases) {
        sim->clear_received();
        link().cancel_requested = false;
        cancelling.when = c.when;
        send_command(c.cmd);
        platform::wait_until([] { return false; }, 2); // what was written reaches the unit
        EXPECT_EQ(fields(received().join(' '), link().comms_abort, dialogs.prompts.size()),
                  fields(c.sent.join(' '), true, 0))
            << c.wait << " went on after Cancel";
        EXPECT_EQ(link().command_went_out, !c.sent.isEmpty())
            << c.wait << ": whether the unit may have taken the command";
    }
    cancelling.when.clear();
    link().cancel_requested = false;
    QTimer::singleShot(20, [] { link().cancel_requested = true; });
    double start = platform::seconds();
    delay_ms(60000);
    EXPECT_LT(platform::seconds() - start, 30) << "the delay went on after Cancel";
    // A command a handler sends while P20 waits goes out only after P20's reply; a Cancel
    // meanwhile ends both waits, and it never goes out.
    link().cancel_requested = false;
    sim->misbehave_on("/p20", Misbehaviour::silence());
    sim->clear_received();
    QObject::connect(sim.get(), &unitsim::Simulator::command_received, [](const QString& cmd) {
        if (cmd == "/p20")
            QTimer::singleShot(0, [] {
                QTimer::singleShot(0, [] { link().cancel_requested = true; });
                send_command("/p21");
            });
    });
    start = platform::seconds();
    send_command("/p20");
    EXPECT_LT(platform::seconds() - start, 30)
        << "a wait for an earlier reply went on after Cancel";
    platform::wait_until([] { return false; }, 2);
    EXPECT_EQ(received(), QStringList{"/p20"});
    set_link_view(&view);
}

TEST_F(LinkTest, AnAnswerStillOwedWhenTheUserCancelsIsNeverTheNextCommandsReply) {
    // The user cancels `owed` in its wait, in the pause before its resend, or while the command
    // after it waits for its answer; that answer stays owed, and the unit answers in order. The
    // next command gets its own answer. "/who" is answered with the unit's name and "/sendall"
    // with the list of parameters, which no acknowledgement or number is: they go out at once.
    // Anything else waits for the owed answer first, as "/who" does when a unit's name may be
    // owed ("/WHO", or a text the unit holds: a site named after the unit).
    enum When { InWait, InPause, InOwedWait };
    const Misbehaviour late8 = Misbehaviour::late(8000);
    Misbehaviour late_refusal = Misbehaviour::refusal();
    late_refusal.delay_ms = 8000;
    const struct {
        const char* owed;
        Misbehaviour fault;
        When when;
        const char* next;
        bool waits;
        bool sweep = false;
        unitsim::UnitKind kind = unitsim::UnitKind::Level;
        const char* who = nullptr; // the unit's own name, when not its kind's
    } cases[] = {
        {"/p20", Misbehaviour::late(42000), InPause, "/p21", true},
        {"/p20", Misbehaviour::late(42000), InOwedWait, "/p21", true},
        {"/sendall", Misbehaviour::silence(), InWait, "/who", false},
        {"/sendall", late8, InWait, "/who", false},
        {"/sendall", late_refusal, InWait, "/who", false},
        {"/sendall", Misbehaviour::silence(), InWait, "/who", false, false,
         unitsim::UnitKind::Level, "@Zephyr V2.10"},
        {"/p300", late8, InWait, "/who", false, true},
        {"/WHO", late8, InWait, "/who", true, false, unitsim::UnitKind::Cso},
        {"/p928", late8, InWait, "/who", true},
        {"/p20", late8, InWait, "/sendall", false},
        {"/sendall", Misbehaviour::silence(), InWait, "/access:318406", true},
    };
    double pressed_at = 0; // when the user pressed Cancel
    const std::function<void()> press_cancel = [&pressed_at] {
        link().cancel_requested = true;
        pressed_at = platform::seconds();
    };
    struct CancellingView : RecordingLinkView {
        QString when; // the status text at which the user presses Cancel
        std::function<void()> press;
        void set_status_text(int panel, const QString& text) override {
            RecordingLinkView::set_status_text(panel, text);
            if (panel == 1 && !when.isEmpty() && text.startsWith(when))
                press();
        }
    } cancelling;
    cancelling.press = press_cancel;
    keep_unit_on_program_time();
    for (const auto& c : cases) {
        SCOPED_TRACE(
            QString("%1 cancelled %2, then %3").arg(c.owed).arg(c.when).arg(c.next).toStdString());
        make_unit(c.kind);
        if (c.who)
            sim->unit().profile().who_reply = c.who;
        reset_command_link();
        open_port();
        set_link_view(&cancelling);
        link().cancel_ends_waits = true;
        link().cancel_requested = false;
        sim->unit().set_value(21, 7);
        sim->unit().set_text(928, "Velto Tank V1");
        sim->misbehave_on(c.owed, c.fault, 1);
        // An answer owed first: P20's first send is cancelled in the pause before its resend.
        cancelling.when = c.when == InWait ? QString() : retry_status(1);
        QMetaObject::Connection heard;
        if (c.when == InWait)
            heard = QObject::connect(sim.get(), &unitsim::Simulator::command_received,
                                     [&](const QString& cmd) {
                                         if (cmd == c.owed)
                                             press_cancel();
                                     });
        link().parameter_sweep = c.sweep;
        send_command(c.owed);
        QObject::disconnect(heard);
        platform::wait_ms(100); // what was written reaches the unit
        // Cancel ends the wait or the pause at once, and nothing more goes out.
        EXPECT_EQ(fields(link().comms_abort, received().count(c.owed)), fields(true, 1));
        EXPECT_LT(platform::seconds() - pressed_at, 0.25) << "the Cancel held the user";
        link().parameter_sweep = false;
        if (c.when == InOwedWait) {
            link().cancel_requested = false;
            cancelling.when = ui_text(2040, "Waiting for the late reply to");
            send_command(c.next);
        }
        cancelling.when.clear();
        link().cancel_requested = false;
        const double cancelled_at = platform::seconds();
        double sent_at = -1;
        const QMetaObject::Connection sent = QObject::connect(
            &traffic().modem(), &TrafficView::appended, [&](const QString&, bool out) {
                if (out && sent_at < 0)
                    sent_at = platform::seconds();
            });
        send_command(c.next);
        QObject::disconnect(sent);
        const QString own = QString(c.next) == "/p21" ? sim->unit().read_text(21)
                            : QString(c.next).startsWith("/access")
                                ? QString("OK")
                                : QString::fromLatin1(sim->unit().handle(c.next).body);
        EXPECT_EQ(fields(link().reply_buffer, link().comms_abort, sent_at - cancelled_at > 1,
                         received().count(c.next)),
                  fields(own.trimmed(), false, c.waits, 1))
            << "the next command took another's answer, waited or not, or was sent again";
        set_link_view(&view);
    }
}

TEST_F(LinkTest, AnAnswerWhoseWaitTheUserCancelledIsNeverTheNextCommandsReply) {
    // The user's Cancel ends a sweep's wait for P20 at once; its answer comes 3 s later all the
    // same, and the command after it must wait for it too.
    open_port();
    link().cancel_ends_waits = link().parameter_sweep = true;
    sim->unit().set_value(21, 7);
    sim->misbehave_on("/p20", Misbehaviour::late(3000), 1);
    QTimer::singleShot(20, [] { link().cancel_requested = true; });
    send_command("/p20");
    ASSERT_TRUE(link().comms_abort && !link().reply_timed_out) << "the Cancel did not end the wait";
    link().cancel_requested = false;
    send_command("/p21");
    EXPECT_EQ(link().reply_buffer, sim->unit().read_text(21))
        << "P21 showed the answer to P20 whose wait the user cancelled";
}

// A line found dead that answers again is no dead line: the put-back after a stop has its resends.
TEST_F(LinkTest, APutBackHasItsResendsOnceTheLineAnswersAgain) {
    keep_unit_on_program_time();
    platform::set_time_scale(1000);
    sim->set_time_scale(1000);
    open_port();
    sim->misbehave_on("/p20", Misbehaviour::silence());
    send_command("/p20");
    send_command("/p21");
    sim->misbehave_on("/LOADNORM", Misbehaviour::third_send());
    sim->clear_received();
    send_put_back("/LOADNORM");
    EXPECT_EQ(fields(received().join(' '), link().comms_abort),
              fields("/LOADNORM /LOADNORM /LOADNORM", false));
}

TEST_F(LinkTest, SendingOnAClosedOrUnopenablePortFailsAndIsNeverASuccess) {
    send_command("/p20");
    EXPECT_TRUE(link().comms_abort) << "a command that never left was reported as answered";
    shell().com_port = 42; // mapped to nothing
    open_com_port();
    EXPECT_EQ(fields(link().port_open_failed, MSComm1().port_open(),
                     MSComm1().last_error() == platform::CommError::InvalidPortNumber),
              fields(true, false, true));
    send_command("/p20");
    EXPECT_TRUE(link().comms_abort) << "a command that never left was reported as answered";
    const QString open_failed =
        ui_text(1206, "The serial port cannot be opened. Check the port in the Setup dialog.") +
        "\r\n\r\nCOM42 - not mapped";
    EXPECT_EQ(dialogs.messages(), QStringList({NO_REPLY, open_failed, NO_REPLY}));
    EXPECT_TRUE(received().isEmpty());
}

TEST_F(LinkTest, ThePortIsOpenedWithTheParityDataAndStopBitsOfItsSettings) {
    for (const char* settings :
         {"9600,N,8,1", "19200,E,7,1", "9600,O,7,2", "4800,M,8,1", "115200,S,8,2"}) {
        shell().comm_settings = settings;
        open_port();
        const auto s = MSComm1().applied_settings();
        ASSERT_TRUE(s) << settings;
        EXPECT_EQ(
            QString("%1,%2,%3,%4").arg(s->baud).arg(s->parity).arg(s->data_bits).arg(s->stop_bits),
            settings)
            << "the port was opened with other settings than the stored ones";
        MSComm1().set_port_open(false);
    }
}

TEST_F(LinkTest, TheFailureMessageNamesThePortAndItsDevice) {
    ASSERT_TRUE(platform::map_port(5, "/dev/ttyQuillarnMissing0"));
    // An unmapped number is named by SendingOnAClosedOrUnopenablePortFailsAndIsNeverASuccess.
    const std::pair<int, QString> cases[] = {{1, "COM1 - " + sim->slave_path()},
                                             {5, "COM5 - /dev/ttyQuillarnMissing0"}};
    for (const auto& [number, line] : cases) {
        EXPECT_EQ(port_failure_port_line(number), line);
        EXPECT_TRUE(port_failure_text(number).endsWith("\r\n\r\n" + line));
    }
    shell().com_port = 5; // a mapped device that is gone
    open_com_port();
    EXPECT_TRUE(link().port_open_failed);
    EXPECT_EQ(box_line(dialogs.prompts.at(0)),
              box_line(port_failure_text(5), dialogs.prompts.at(0).title, platform::mb::Critical));
}

TEST_F(LinkTest, AReplyGoesToTheExchangeThatAskedForItAndWaitingBehindAnotherIsNoSilence) {
    // The outer answer takes longer than the inner command's whole time-out (10 s for "/who").
    open_port();
    sim->misbehave_on("/p20", Misbehaviour::late(25000), 1);
    QString inner_reply;
    bool inner_failed = true;
    QTimer::singleShot(0, [&] {
        // A handler that runs inside the outer command's wait, as a timer tick or a click does.
        send_command("/who");
        inner_reply = link().reply_buffer;
        inner_failed = link().comms_abort;
    });
    send_command("/p20");
    const auto& unit = sim->unit().profile();
    const QString p20 = sim->unit().read_text(20),
                  who = unit.lower_who_reply.isEmpty() ? unit.who_reply : unit.lower_who_reply;
    EXPECT_EQ(link().reply_buffer, p20) << "the outer command got another reply";
    EXPECT_FALSE(link().comms_abort);
    EXPECT_FALSE(inner_failed) << "the inner command timed out while it had not gone out yet";
    EXPECT_EQ(inner_reply, who) << "the inner command got another reply";
    EXPECT_EQ(received(), QStringList({"/p20", "/who"})) << "the inner command was sent again";
    EXPECT_EQ(traffic().modem().text(), "/p20\r\n" + p20 + "\r\n/who\r\n" + who + "\r\n")
        << "the inner command went out before the outer reply came";
    EXPECT_TRUE(dialogs.prompts.empty()) << "a false \"No reply\" message";
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
    EXPECT_EQ(dialogs.messages(), QStringList({serial_text(95) + " COM1 " + serial_text(96)}));
}

TEST_F(LinkTest, AnUnpluggedDeviceEndsARunningDownloadWithWhatArrived) {
    open_port();
    QByteArray data;
    link().download_file = std::make_unique<QBuffer>(&data);
    link().download_file->open(QIODevice::WriteOnly);
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

TEST_F(LinkTest, ALateAnswerNeverBecomesTheReplyOfTheNextCommand) {
    // The first send of P20 is answered late, its resend after `resend_ms` (both from when the
    // unit heard them): the answers must stay with P20, in a sweep and in plain commands.
    // `noted`: the late answer surely comes after its time-out (by far more than the clocks'
    // jitter), so the traffic log must say it was dropped.
    // clang-format off
    const struct Case { const char* what; bool sweep; double first_ms, resend_ms; bool noted; }
    cases[] = {
        {"sweep, late answer before the resend", true, 5300, 0, false},
        {"sweep, late answer during the resend's wait", true, 7000, 1500, true},
        {"sweep, late answer long after the resend", true, 9000, 0, true},
        {"plain, late answer before the resend", false, 40200, 0, false},
        {"plain, late answer during the resend's wait", false, 45000, 2000, true},
    };
    // clang-format on
    open_port();
    sim->unit().set_value(20, 2);
    sim->unit().set_value(21, 7);
    const QString p20 = sim->unit().read_text(20), p21 = sim->unit().read_text(21);
    ASSERT_NE(p20, p21);
    for (const Case& c : cases) {
        sim->clear_misbehaviour();
        sim->misbehave_on("/p20", Misbehaviour::late(c.first_ms), 1);
        if (c.resend_ms > 0)
            sim->misbehave_on("/p20", Misbehaviour::late(c.resend_ms), 1);
        traffic().clear_all();
        link().parameter_sweep = c.sweep;
        send_command("/p20");
        EXPECT_EQ(link().reply_buffer, p20) << c.what;
        send_command("/p21");
        EXPECT_EQ(link().reply_buffer, p21) << c.what << ": P21 was given P20's late answer";
        send_command("/p20");
        EXPECT_EQ(link().reply_buffer, p20) << c.what << ": the next P20 got a stale answer";
        EXPECT_TRUE(dialogs.prompts.empty()) << c.what;
        if (c.noted) {
            EXPECT_TRUE(traffic().term().text().contains(ui_text(2000, "(late reply dropped)")))
                << c.what << ": the dropped answer is not in the traffic log";
        }
        ASSERT_TRUE(platform::wait_until([&] { return sim->idle(); }, 60));
        platform::wait_ms(100);
    }
}

TEST_F(LinkTest, AResendAnsweredLaterThanTheFirstSendWouldHaveBeenIsStillWaitedFor) {
    // The first send of P20 is answered `first_ms` late, the resend `resend_ms` late: 2.5 seconds
    // past what the first answer's lateness lets expect, within the three seconds the link
    // allows. Giving up on it sooner would hand the resend's answer to P21.
    // clang-format off
    const struct Case { const char* what; bool sweep; double first_ms, resend_ms; } cases[] = {
        {"sweep", true, 6000, 6000 * 1.1 + 2500},
        {"plain", false, 45000, 45000 * 1.1 + 2500},
    };
    // clang-format on
    keep_unit_on_program_time();
    open_port();
    sim->unit().set_value(20, 2);
    sim->unit().set_value(21, 7);
    const QString p20 = sim->unit().read_text(20), p21 = sim->unit().read_text(21);
    for (const Case& c : cases) {
        sim->clear_misbehaviour();
        sim->misbehave_on("/p20", Misbehaviour::late(c.first_ms), 1);
        sim->misbehave_on("/p20", Misbehaviour::late(c.resend_ms), 1);
        link().parameter_sweep = c.sweep;
        send_command("/p20");
        EXPECT_EQ(link().reply_buffer, p20) << c.what;
        send_command("/p21");
        EXPECT_EQ(link().reply_buffer, p21)
            << c.what << ": P21 was given the answer to P20's resend";
        ASSERT_TRUE(platform::wait_until([&] { return sim->idle(); }, 120));
    }
}

TEST_F(LinkTest, AnAnswerThatNeverComesIsForgivenAfterOneTimeOut) {
    // The first send is never answered, the resend is: the next command waits once for the
    // missing answer, no longer, and then goes out as usual.
    open_port();
    sim->misbehave_on("/p20", Misbehaviour::silence(), 1);
    link().parameter_sweep = true;
    send_command("/p20");
    EXPECT_EQ(link().reply_buffer, sim->unit().read_text(20));
    const double start = platform::seconds();
    send_command("/p21");
    EXPECT_EQ(link().reply_buffer, sim->unit().read_text(21));
    EXPECT_LT(platform::seconds() - start, 5 + 6) << "the owed answer was waited for too long";
    const double second = platform::seconds();
    send_command("/p22");
    EXPECT_LT(platform::seconds() - second, 4) << "a forgiven answer was waited for again";
    EXPECT_TRUE(traffic().term().text().contains(ui_text(2001, "(no late reply came; going on)")));
}

TEST_F(LinkTest, ACommandLateOnEverySendNeverHandsItsAnswersToTheNextCommand) {
    // Every send of P20 is late, so each resend's own answer is still to come when the next
    // command goes out: the link waits for it, saying so with a countdown, and drops it.
    const struct Case {
        const char* what;
        bool sweep;
        double late_ms;
    } cases[] = {
        {"sweep, late answer during the resend's wait", true, 6000},
        {"sweep, late answers after the resend's wait", true, 12000},
        {"plain, late answer during the resend's wait", false, 45000},
    };
    // The lateness is judged to a second: a slower clock keeps that well above a busy
    // machine's scheduling delays.
    platform::set_time_scale(40);
    sim->set_time_scale(40);
    open_port();
    sim->unit().set_value(20, 2);
    sim->unit().set_value(21, 7);
    const QString p20 = sim->unit().read_text(20), p21 = sim->unit().read_text(21);
    const QString waiting = ui_text(2040, "Waiting for the late reply to") + " /p20";
    for (const Case& c : cases) {
        sim->clear_misbehaviour();
        sim->misbehave_on("/p20", Misbehaviour::late(c.late_ms));
        view = RecordingLinkView{};
        link().parameter_sweep = c.sweep;
        for (const char* cmd : {"/p20", "/p21", "/p20", "/p21"}) {
            send_command(cmd);
            EXPECT_EQ(link().reply_buffer, QString(cmd) == "/p20" ? p20 : p21)
                << c.what << ": " << cmd << " was given another command's answer";
        }
        EXPECT_TRUE(dialogs.prompts.empty()) << c.what;
        EXPECT_NE(std::find(view.status_history.begin(), view.status_history.end(), waiting),
                  view.status_history.end())
            << c.what << ": the wait for the owed answer was not shown";
        EXPECT_EQ(view.status_text(2), "") << c.what << ": a countdown was left standing";
        ASSERT_TRUE(platform::wait_until([&] { return sim->idle(); }, 300));
        platform::wait_ms(100);
    }
}

TEST_F(LinkTest, ClosingTheProgramEndsAPendingWaitAtOnceWithThePortClosedAndNoMessage) {
    // The program ends during P20's wait (the unit never answers it). Work that may have left the
    // unit in its quick-load mode is stopped and the unit put back first, nothing told; not while
    // its log streams, nor when the program ends idle. A second way out meanwhile ends it at once.
    // clang-format off
    const struct {
        const char* what;
        bool quick, during_wait, streaming, dead_to_loadnorm;
        QString sent;
        bool left_quick;
    } cases[] = {
        {"in its normal mode", false, true, false, false, "/p20", false},
        {"in its quick-load mode", true, true, false, false, "/LOADQUICK /p20 /LOADNORM", false},
        {"streaming its log", true, true, true, false, "/LOADQUICK /p20", true},
        {"idle", true, false, false, false, "/LOADQUICK", true},
        {"ended twice", true, true, false, true, "/LOADQUICK /p20 /LOADNORM", true},
    };
    // clang-format on
    keep_unit_on_program_time();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        make_unit(unitsim::UnitKind::Level);
        reset_command_link();
        traffic().clear_all();
        open_port();
        dialogs.prompts.clear();
        if (c.quick)
            send_command("/LOADQUICK");
        sim->misbehave_on("/p20", Misbehaviour::silence());
        if (c.dead_to_loadnorm)
            sim->misbehave_on("/LOADNORM", Misbehaviour::silence());
        auto end = [&c] {
            link().log_download_active = c.streaming;
            end_link_for_exit();
        };
        // The program ends once P20 (or, a second time, "/LOADNORM") is on its way.
        QObject::connect(sim.get(), &unitsim::Simulator::command_received, [&](const QString& cmd) {
            if (cmd == "/p20" || (cmd == "/LOADNORM" && c.dead_to_loadnorm))
                QTimer::singleShot(0, end);
        });
        const double start = platform::seconds();
        if (c.during_wait) {
            send_command("/p20");
            send_command("/p21");
            EXPECT_LT(platform::seconds() - start, 30) << "the wait held the ending program";
        } else {
            end();
        }
        platform::wait_until([] { return false; }, 2); // what was written reaches the unit
        // What went out, also what a closing port may have cut off on its way.
        const bool put_back = traffic().modem().text().contains("/LOADNORM");
        EXPECT_EQ(fields(received().join(' '), put_back, sim->unit().quick_mode(),
                         link().comms_abort, MSComm1().port_open(), dialogs.prompts.size()),
                  fields(c.sent, c.sent.endsWith("/LOADNORM"), c.left_quick, true, false, 0))
            << "the unit was put back or not as it should, or the port stays held, or the user "
               "was asked something while the program ended";
        platform::end_all_waits(false);
        link().log_download_active = false;
    }
}

TEST_F(LinkTest, WritesAreRefusedOnlyByAReplyHoldingNo) {
    for (const char* reply : {"NO", "P151 NO", "NOK"})
        EXPECT_TRUE(write_refused(reply)) << '"' << reply << '"';
    for (const char* reply : {"OK", "3", "", "no"})
        EXPECT_FALSE(write_refused(reply)) << '"' << reply << '"';
}

} // namespace
