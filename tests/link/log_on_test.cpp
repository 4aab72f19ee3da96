// Log-on and identification against each kind of simulated unit: the commands it sends, in
// order, and the identity it concludes.
#include "simulated_unit.h"

#include "link/link_commands.h"
#include "link/log_on.h"
#include "shell/definitions_table.h"

#include <unitsim/fault_options.h>

using unitsim::Misbehaviour;
using unitsim::UnitKind;

namespace {

const QString ACCESS = "/access:318406";
const QString NO_REPLY =
    ui_text(1299, "No reply from the unit. Check the cable and the port settings.");
// What a plain unit is asked, in order; a fieldbus adds "/p96" after "/p99".
const QStringList PLAIN = {ACCESS,           "/WHO",      "/LOADQUICK", "/ISCSO",
                           "/access:460927", "/p61",      "/p87",       "/p99",
                           "/ISFLOW",        "/ISVOLUME", ACCESS,       "/LOADNORM"};

class LogOnTest : public SimulatedUnitTest {
protected:
    // What the log-on concluded: the flags it left set and the options it chose, by name.
    std::string identity() const {
        const LinkState& L = link();
        // clang-format off
        const std::pair<bool, const char*> flags[] = {
            {L.quorvantix_unit, "quorvantix"}, {L.hesvarin_unit, "hesvarin"}, {L.radar_unit, "radar"},
            {L.lite_unit, "lite"}, {L.cso_unit, "cso"}, {L.flow_mode, "flow"},
            {L.volume_mode, "volume"}, {L.p61_is_1, "p61=1"}, {L.p61_is_2, "p61=2"},
            {L.fieldbus_available, "fieldbus"}, {L.modbus_mode, "modbus"},
            {L.profibus_mode, "profibus"}, {view.flow_option, "flow-option"},
            {view.volume_option, "volume-option"}, {view.flow_average_option, "flow-average-option"}};
        // clang-format on
        std::string s;
        for (const auto& [on, name] : flags)
            if (on)
                s += (s.empty() ? "" : " ") + std::string(name);
        return s.empty() ? "plain" : s;
    }
};

std::string name(UnitKind kind) {
    return unitsim::kind_name(kind).toStdString();
}

TEST_F(LogOnTest, EachKindOfUnitIsAskedItsOwnQuestionsAndIdentified) {
    // The system type (P99): 3 has a fieldbus, whose kind P96 says.
    // clang-format off
    const struct { UnitKind kind; int system_type; QStringList commands; std::string identity; } cases[] = {
        {UnitKind::Level, 1, PLAIN, "plain"},
        {UnitKind::Level, 3, PLAIN.mid(0, 8) + QStringList{"/p96"} + PLAIN.mid(8), "fieldbus profibus"},
        {UnitKind::VeltoLite, 1, PLAIN, "lite"}, {UnitKind::Cso, 1, PLAIN, "cso"},
        {UnitKind::Flow, 1, PLAIN, "flow p61=1"}, {UnitKind::Volume, 1, PLAIN, "volume p61=2"},
        {UnitKind::Krestel, 40, {ACCESS, "/WHO", ACCESS, "/LOADNORM"}, "radar p61=2 modbus volume-option"},
        {UnitKind::Quorvantix, 43, {ACCESS, "/WHO", ACCESS}, "quorvantix flow-option"},
        {UnitKind::Hesvarin, 1, {ACCESS, "/WHO", ACCESS, "/LOADNORM"}, "hesvarin"}};
    // clang-format on
    for (const auto& c : cases) {
        reset_link_state();
        make_unit(c.kind);
        sim->unit().set_value(99, c.system_type);
        sim->unit().set_value(96, 2);
        view = RecordingLinkView{};
        EXPECT_TRUE(connect_to_unit(true)) << name(c.kind);
        EXPECT_EQ(fields(received().join(' '), identity().c_str()),
                  fields(c.commands.join(' '), c.identity.c_str()))
            << name(c.kind);
        EXPECT_NE(std::find(view.calls.begin(), view.calls.end(), "set_param_screen_captions"),
                  view.calls.end());
        EXPECT_TRUE(dialogs.prompts.empty());
    }
}

TEST_F(LogOnTest, WithLiveEchoTheLogOnEndsAfterTheAccessWithoutAPause) {
    platform::set_time_scale(1); // real time, to tell a skipped 2 s pause from an exchange
    sim->set_time_scale(1);
    link().echo_online = true;
    const double start = platform::seconds();
    EXPECT_TRUE(connect_to_unit(true));
    EXPECT_LT(platform::seconds() - start, 1.5) << "the 2 s pause ran";
    EXPECT_EQ(received(), QStringList({ACCESS}));
}

TEST_F(LogOnTest, TheLoginPasscodeLogsOnAndAWrongOneIsReportedWithoutIdentifying) {
    shell().login_passcode = "905173";
    EXPECT_TRUE(connect_to_unit(false));
    EXPECT_EQ(received().value(0), "/access:905173");
    sim->clear_received();
    shell().login_passcode = "111111";
    const double start = platform::seconds();
    EXPECT_FALSE(connect_to_unit(false));
    EXPECT_EQ(received(), QStringList({"/access:111111"}));
    ASSERT_EQ(dialogs.prompts.size(), 1u);
    EXPECT_EQ(
        box_line(dialogs.prompts[0]),
        box_line(
            "     " + ui_text(1271, "Access denied. The passcode is not valid for this unit.") +
                "      ",
            ui_text(1272, "Access Denied"), platform::mb::Critical | platform::mb::DefaultButton2));
    EXPECT_GE(platform::seconds() - start, 2.0);
}

TEST_F(LogOnTest, NoReplyToTheAccessCommandFailsTheLogOn) {
    sim->misbehave_on("/access:*", Misbehaviour::silence());
    EXPECT_FALSE(connect_to_unit(true));
    EXPECT_EQ(fields(link().comms_abort, received().size()), fields(true, 3));
}

TEST_F(LogOnTest, EachFailedLogOnSaysWhyOnceAndAsksNothingMore) {
    const QString garbled = ui_text(
        2041, "The unit's answer could not be read. Check the cable and the port settings (baud "
              "rate).");
    const QString denied =
        "     " + ui_text(1271, "Access denied. The passcode is not valid for this unit.") +
        "      ";
    const struct {
        const char* fault;
        Misbehaviour behaviour;
        LogOnResult result;
        QString message;
    } cases[] = {
        {"garbage", Misbehaviour::garbage(), LogOnResult::Garbled, garbled},
        {"text that is no answer", Misbehaviour::garbage("HELLO\r\n"), LogOnResult::Garbled,
         garbled},
        {"refuse", Misbehaviour::refusal(), LogOnResult::Refused, denied},
    };
    for (const auto& c : cases)
        for (const int mode : {1, 0}) { // the log-on, and the logging board's log-on
            sim->clear_received();
            sim->misbehave_on("/access:*", c.behaviour);
            dialogs.prompts.clear();
            shell().software_mode = static_cast<int16_t>(mode);
            EXPECT_FALSE(mode == 1 ? connect_to_unit(false) : coms_connected()) << c.fault;
            // The unit is asked nothing more.
            EXPECT_EQ(fields(link().log_on_result, dialogs.messages().join('|'),
                             link().failure_told, received().size()),
                      fields(c.result, c.message, true, 1))
                << c.fault << " mode " << mode;
            sim->clear_misbehaviour();
        }
}

TEST_F(LogOnTest, LineNoiseHoldingNoIsToldAsUnreadableNotAsAWrongPasscode) {
    sim->misbehave_on("/access:*", Misbehaviour::garbage("\xfe"
                                                         "NO\x01\r\n"));
    EXPECT_FALSE(connect_to_unit(false));
    EXPECT_EQ(fields(link().log_on_result, dialogs.messages().join('|')),
              fields(LogOnResult::Garbled,
                     ui_text(2041, "The unit's answer could not be read. Check the cable and the "
                                   "port settings (baud rate).")))
        << "noise on the line was told as a refused passcode";
}

TEST_F(LogOnTest, QuestionsTheUnitLeavesUnansweredLeaveTheirFlagsOffAndTheLogOnGoesOn) {
    // A firmware without a question: it is asked three times, told once, and the log-on ends
    // with the access and "/LOADNORM" as on any unit.
    // clang-format off
    const struct { UnitKind kind; QStringList silent; std::string identity; } cases[] = {
        {UnitKind::Volume, {"/ISVOLUME"}, "p61=2"},
        {UnitKind::Cso, {"/ISCSO"}, "plain"},
        {UnitKind::Flow, {"/ISCSO", "/ISFLOW"}, "p61=1"},
        {UnitKind::Flow, {"/ISFLOW", "/ISVOLUME"}, "p61=1"},
        {UnitKind::Volume, {"/ISCSO", "/p61", "/ISFLOW", "/ISVOLUME"}, "plain"},
    };
    // clang-format on
    keep_unit_on_program_time();
    for (const auto& c : cases) {
        reset_link_state();
        make_unit(c.kind);
        platform::set_time_scale(1000);
        sim->set_time_scale(1000);
        for (const QString& cmd : c.silent)
            sim->misbehave_on(cmd, Misbehaviour::silence());
        dialogs.prompts.clear();
        QStringList asked;
        for (const QString& cmd : PLAIN)
            asked << (c.silent.contains(cmd) ? QStringList{cmd, cmd, cmd} : QStringList{cmd});
        const bool logged_on = connect_to_unit(true);
        EXPECT_EQ(fields(logged_on, link().comms_abort, received().join(' '), identity().c_str(),
                         dialogs.messages().join('|')),
                  fields(true, false, asked.join(' '), c.identity.c_str(), NO_REPLY))
            << name(c.kind) << " silent to " << c.silent.join(',').toStdString();
    }
}

TEST_F(LogOnTest, ALineThatDiesAmongTheQuestionsIsAskedUpToTheFinalAccessAndToldOnce) {
    // The line dies at command `served` of the log-on: every command after it up to the final
    // access goes unanswered (three sends each; the second access code is followed by the first),
    // and nothing more is asked. A final access alone unanswered may be the unit's miss on a
    // sound line: "/LOADNORM" still follows, unanswered here and not told again. A line that dies
    // at "/LOADNORM" has answered the final access: the unit is logged on. Three sends of 40 s and
    // two pauses take 121 s, of an access 31 s.
    // clang-format off
    const struct { int served; bool logged_on; } cases[] = {
        {2, false},  // "/LOADQUICK"
        {6, false},  // "/p87"
        {9, false},  // "/ISVOLUME"
        {10, false}, // the final access
        {11, true},  // "/LOADNORM"
    };
    // clang-format on
    keep_unit_on_program_time();
    for (const auto& c : cases) {
        reset_link_state();
        make_unit(UnitKind::Level);
        platform::set_time_scale(1000);
        sim->set_time_scale(1000);
        unitsim::apply_fault(sim->responder(),
                             unitsim::parse_fault(QString("drop-after=%1").arg(c.served)));
        dialogs.prompts.clear();
        QStringList unanswered;
        double seconds = 0;
        const qsizetype asked = c.logged_on ? 1 : c.served == 10 ? 2 : 11 - c.served;
        for (const QString& cmd : PLAIN.mid(c.served, asked)) {
            const QStringList sends = cmd.startsWith("/access:") && cmd != ACCESS
                                          ? QStringList{cmd, cmd, cmd, ACCESS, ACCESS, ACCESS}
                                          : QStringList{cmd, cmd, cmd};
            unanswered += sends;
            seconds += (cmd.startsWith("/access:") ? 31 : 121) * (sends.size() / 3);
        }
        if (c.logged_on)
            seconds += 2; // the pause that ends a log-on
        const double start = platform::seconds();
        const bool logged_on = connect_to_unit(true);
        const double took = platform::seconds() - start;
        EXPECT_EQ(fields(logged_on, link().failure_told, dialogs.messages().join('|'),
                         received().mid(c.served).join(' ')),
                  fields(c.logged_on, true, NO_REPLY, unanswered.join(' ')))
            << "the line died at " << PLAIN[c.served].toStdString();
        EXPECT_LT(took, seconds + 1)
            << "the dead line was waited for too long at " << PLAIN[c.served].toStdString();
    }
}

TEST_F(LogOnTest, AFinalAccessAloneUnansweredStillPutsTheUnitBackInItsNormalMode) {
    // The unit answers every question and misses only the final access: the log-on fails, told
    // once, and the unit still gets "/LOADNORM" last.
    keep_unit_on_program_time();
    platform::set_time_scale(1000);
    sim->set_time_scale(1000);
    QObject::connect(sim.get(), &unitsim::Simulator::command_received, [this](const QString& c) {
        if (c == "/ISVOLUME")
            sim->misbehave_on(ACCESS, Misbehaviour::silence(), 3);
    });
    const bool logged_on = connect_to_unit(true);
    EXPECT_EQ(fields(logged_on, received().mid(PLAIN.size() - 2).join(' '),
                     dialogs.messages().join('|'), sim->unit().quick_mode()),
              fields(false, QStringList({ACCESS, ACCESS, ACCESS, "/LOADNORM"}).join(' '), NO_REPLY,
                     false))
        << "the unit was left in quick mode";
}

TEST_F(LogOnTest, AStopFromOutsideDuringAQuestionSendsNothingMore) {
    // The unit is silent to "/ISFLOW" and the log-on is stopped while it asks, in the wait or in
    // the pause before a resend: nothing more goes out. After a stop by another handler (a closing
    // window) that stays so; after the user's Cancel the caller puts the unit back into its normal
    // mode at once, told nothing, without waiting for the answer still owed.
    struct StoppingView : RecordingLinkView {
        QString when;
        bool cancel = false;
        void set_status_text(int panel, const QString& text) override {
            RecordingLinkView::set_status_text(panel, text);
            if (panel == 1 && text == when)
                (cancel ? link().cancel_requested : link().comms_abort) = true;
        }
    } stopping;
    const QString asking = ui_text(1390, "Checking flow mode...");
    const QString pause = ui_text(1416, "No reply - retry") + " 1";
    const struct {
        const char* how;
        QString when;
        bool cancel;
        QString sent; // from "/ISFLOW" on
    } cases[] = {{"Cancel in the wait", asking, true, "/ISFLOW /LOADNORM"},
                 {"Cancel in the pause before a resend", pause, true, "/ISFLOW /LOADNORM"},
                 {"a stop in the wait", asking, false, "/ISFLOW"},
                 {"a stop in the pause before a resend", pause, false, "/ISFLOW"}};
    sim->misbehave_on("/ISFLOW", Misbehaviour::silence());
    set_link_view(&stopping);
    link().cancel_ends_waits = true;
    for (const auto& c : cases) {
        sim->clear_received();
        dialogs.prompts.clear();
        link().cancel_requested = false;
        stopping.when = c.when;
        stopping.cancel = c.cancel;
        const bool logged_on = connect_to_unit(true);
        platform::wait_ms(100); // what was written reaches the unit
        EXPECT_EQ(received().last(), "/ISFLOW") << c.how << " did not stop the log-on";
        const double start = platform::seconds();
        return_to_normal_mode();
        EXPECT_LT(platform::seconds() - start, 5)
            << c.how << ": the put-back waited for the answer still owed";
        finish_put_back();
        const QStringList sent = received();
        EXPECT_EQ(fields(logged_on, sent.mid(sent.indexOf("/ISFLOW")).join(' '),
                         dialogs.messages().join('|'), sim->unit().quick_mode()),
                  fields(false, c.sent, "", !c.cancel))
            << c.how << " did not stop the log-on, or left the unit in quick mode";
    }
    stopping.when.clear();
    set_link_view(&view);
}

TEST_F(LogOnTest, AfterAStopOnlyAUnitLeftInQuickModeIsPutBack) {
    // What went before a command the unit leaves unanswered (told once), and whether the unit is
    // put back: only once "/LOADQUICK" (in either spelling) has gone out, since the port was last
    // opened, and no "/LOADNORM" has been answered since. On a line dead to "/LOADNORM" as well it
    // goes out once: the user waits one time-out more, not three.
    const struct {
        QStringList before; // "open": the port opened anew, onto another unit
        bool put_back;
        bool dead = false;
    } cases[] = {{{"/LOADQUICK"}, true},
                 {{"/loadquick"}, true},
                 {{"/LOADQUICK", "/LOADNORM"}, false},
                 {{}, false},
                 {{"/LOADQUICK", "open"}, false},
                 {{"/LOADQUICK"}, true, true}};
    keep_unit_on_program_time();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.before.join(' ').toStdString() + (c.dead ? " dead" : ""));
        reset_link_state();
        make_unit(UnitKind::Level);
        platform::set_time_scale(1000);
        sim->set_time_scale(1000);
        open_port();
        dialogs.prompts.clear();
        for (const QString& cmd : c.before) {
            if (cmd == "open") {
                make_unit(UnitKind::Level);
                sim->set_time_scale(1000);
                open_port();
            } else {
                send_command(cmd);
            }
        }
        sim->misbehave_on("/p20", Misbehaviour::silence());
        if (c.dead)
            sim->misbehave_on("/LOADNORM", Misbehaviour::silence());
        sim->clear_received();
        send_command("/p20");
        return_to_normal_mode();
        finish_put_back();
        EXPECT_EQ(
            fields(received().join(' '), dialogs.messages().join('|'), sim->unit().quick_mode()),
            fields(c.put_back ? "/p20 /p20 /p20 /LOADNORM" : "/p20 /p20 /p20", NO_REPLY, c.dead));
    }
}

TEST_F(LogOnTest, ThePutBackRunsOnWhileTheProgramIsFreeAndAKeyMeanwhileIsToldHowLongItMayTake) {
    // After the user's Cancel, or a failure the link told, "/LOADNORM" goes out at once and the
    // stopped work gets on: the put-back's wait and resends run on. A key pressed 5 s later is
    // told the most they may still take (40 s waits, 0.5 s pauses); a command sent meanwhile
    // waits for the put-back and gets its own answer. A put-back with no answer is told after
    // its last send, unless the line's failure was told already. A program closed meanwhile
    // waits for it, with the window up, and then ends without a word.
    const QString left = ui_text(2920, "The program is still putting the unit back into its normal "
                                       "mode. Try again when that is done: in at most %1 s.");
    const QString unanswered =
        ui_text(2921, "The unit did not answer when it was put back into its normal mode and may "
                      "still be in its quick mode. Check the cable and the port settings.");
    const struct {
        const char* what;
        Misbehaviour loadnorm;
        bool failed_first; // the stop was the link's failure of "/p20", told
        int sends;
        QStringList told;
        bool quick;
        bool quit = false;
    } cases[] = {
        {"answered late", Misbehaviour::late(20000), false, 1, {left.arg(116)}, false},
        {"never answered", Misbehaviour::silence(), false, 3, {left.arg(116), unanswered}, true},
        {"after a failure told", Misbehaviour::silence(), true, 1, {NO_REPLY, left.arg(35)}, true},
        {"the program closed meanwhile",
         Misbehaviour::late(20000),
         false,
         1,
         {left.arg(116)},
         false,
         true},
    };
    keep_unit_on_program_time();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        reset_link_state();
        make_unit(UnitKind::Level);
        open_port();
        dialogs.prompts.clear();
        send_command("/LOADQUICK");
        sim->unit().set_value(21, 7);
        sim->misbehave_on("/LOADNORM", c.loadnorm);
        if (c.failed_first) {
            sim->misbehave_on("/p20", Misbehaviour::silence());
            send_command("/p20");
        } else {
            link().cancel_requested = true;
        }
        sim->clear_received();
        const double start = platform::seconds();
        return_to_normal_mode();
        EXPECT_LT(platform::seconds() - start, 0.01) << "the put-back held the stopped work";
        link().cancel_requested = false;
        platform::wait_ms(5000);
        EXPECT_TRUE(tell_if_putting_back() && putting_back());
        if (c.quit) {
            end_link_for_exit();
            EXPECT_EQ(fields(putting_back(), MSComm1().port_open()), fields(false, false));
            platform::end_all_waits(false);
        } else if (!c.failed_first) {
            send_command("/p21");
            EXPECT_EQ(fields(link().reply_buffer, putting_back()),
                      fields(sim->unit().read_text(21), false));
        }
        finish_put_back();
        EXPECT_EQ(fields(received().count("/LOADNORM"), dialogs.messages().join(" | "),
                         sim->unit().quick_mode(), view.status_text(2)),
                  fields(c.sends, c.told.join(" | "), c.quick, ""));
    }
}

TEST_F(LogOnTest, IdentityWordsAreTestedInOrderAndCommsLeavesLiteAlone) {
    // clang-format off
    const struct { QString who; bool lite_before; std::string identity; } cases[] = {
        {"@Quorvantix Krestel V2.0", false, "quorvantix flow-option"},
        {"@Comms Logging Board V1.92", true, "lite"},
        {"@Comms Logging Board V1.92", false, "plain"},
        {"@Velto Level V2.05", true, "plain"},
    };
    // clang-format on
    shell().software_mode = 0;
    for (const auto& c : cases) {
        reset_link_state();
        link().lite_unit = c.lite_before;
        sim->unit().profile().who_reply = c.who;
        connect_to_unit(true);
        EXPECT_EQ(identity(), c.identity) << c.who;
    }
}

TEST_F(LogOnTest, TheLoggingBoardIsReachedPerKindAndItsVersionRead) {
    // clang-format off
    const struct { UnitKind kind; int16_t software_mode; QStringList commands; int version; }
    cases[] = {
        {UnitKind::Level, 0, {ACCESS, "/WHO", "/p141:1", "/who"}, 192},
        {UnitKind::VeltoLite, 0, {ACCESS, "/WHO", "/p141:1", "/who"}, 192},
        {UnitKind::Quorvantix, 0, {ACCESS, "/WHO", ACCESS, "/who"}, 205},
        {UnitKind::Hesvarin, 0, {ACCESS, "/WHO", ACCESS, "/LOADNORM", "/comtalk", "/who"}, 192},
        {UnitKind::Cso, 2, PLAIN + QStringList{"/loadquick", "/who"}, 192},
    };
    // clang-format on
    shell().login_passcode = "318406";
    for (const auto& c : cases) {
        reset_link_state();
        shell().software_mode = c.software_mode;
        make_unit(c.kind);
        EXPECT_TRUE(coms_connected()) << name(c.kind);
        EXPECT_EQ(fields(received().join(' '), link().board_software_version,
                         link().logging_board_connected, link().quiet_commands),
                  fields(c.commands.join(' '), c.version, c.kind != UnitKind::Hesvarin, true))
            << name(c.kind);
    }
}

TEST_F(LogOnTest, ABoardThatNeverAnswersGetsFourAsksAndOneMessage) {
    shell().software_mode = 1;
    shell().login_passcode = "318406";
    EXPECT_FALSE(coms_connected());
    EXPECT_EQ(received().count("/who"), 4);
    EXPECT_EQ(dialogs.messages().value(dialogs.messages().size() - 1),
              "Device not found or logging not available.");
    EXPECT_GE(received().count(ACCESS), 2) << "the unit answered itself: log on again";
}

TEST_F(LogOnTest, TheBridgeIsLeftWithTheExitByteAndOnlyThenLoggedOff) {
    make_unit(UnitKind::VeltoLite);
    shell().software_mode = 0;
    ASSERT_TRUE(coms_connected());
    sim->clear_received();
    exit_comms_bridging(true);
    EXPECT_EQ(fields(received().join(' '), dialogs.messages().join('|')),
              fields(QString(QChar(20)) + " /WHO /ACCESS:OFF",
                     ui_text(1116, "The unit has been set up successfully.")));
    sim->clear_received();
    dialogs.prompts.clear();
    sim->unit().profile().who_reply = "@Velto Level V2.05"; // never seen to leave the bridge
    exit_comms_bridging(false);
    EXPECT_EQ(fields(received().count("/WHO"), received().contains("/ACCESS:OFF")),
              fields(3, false));
    ASSERT_EQ(dialogs.prompts.size(), 1u);
    EXPECT_EQ(dialogs.prompts[0].text + " | " + dialogs.prompts[0].title,
              "Failed to exit comms bridging mode | Error in log setup");
}

TEST_F(LogOnTest, TheServiceLabelsWriteStraightToThePort) {
    send_manual_link_command(4);
    send_manual_link_command(5);
    platform::wait_ms(100);
    EXPECT_EQ(received(), QStringList({QString(QChar(20)), "/ACCESS:OFF"}));
    EXPECT_TRUE(traffic().modem().text().isEmpty()) << "nothing is echoed";
}

TEST(SoftwareVersion, ComesFromTheFirstCapitalVFollowedByADigitOr999) {
    // Five characters after the V count: "V2.05ab" is 2.05, "V12.345" is 12.34.
    const std::pair<const char*, int> cases[] = {
        {"@Velto Level V2.01a", 201}, {"ABC V1.9", 19},      {"level v2.05", 999}, {"Vx V", 999},
        {"Unit V2.05ab", 205},        {"Unit V12.345", 1234}};
    for (const auto& [reply, version] : cases)
        EXPECT_EQ(convert_who_to_software_version(reply), version) << reply;
}

} // namespace
