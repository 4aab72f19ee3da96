#include "link/log_on.h"

#include "link/command_link.h"
#include "link/link_commands.h"
#include "link/link_state.h"
#include "link/link_view.h"
#include "link/port_failure_text.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/serial_port.h"
#include "platform/vb.h"
#include "shell/definitions_table.h"
#include "shell/shell_state.h"

#include <algorithm>

namespace lc = link_commands;

namespace {

void clear_reply() {
    link().reply_buffer.clear();
    link().reply_received = false;
}

bool reply_has(const char* text) {
    return link().reply_buffer.contains(QLatin1String(text));
}

// Keeps the reply as parameter P's value when the unit answered with a number.
void keep_value_received(int P) {
    if (platform::read_number_c(link().reply_buffer))
        link().log_on_values[P] = link().reply_buffer.trimmed();
}

// Opens the port with its current settings when it is closed; False (with the port message)
// when that fails.
bool open_port_if_closed() {
    platform::SerialPort& port = MSComm1();
    if (port.port_open())
        return true;
    if (port.set_port_open(true) == platform::CommError::None)
        return true;
    link().port_open_failed = true;
    link().comms_abort = true;
    platform::msg_box(port_failure_text(port.comm_port()), platform::mb::Critical);
    return false;
}

void set_identity_of_plain_unit() {
    LinkState& L = link();
    const QString& reply = L.reply_buffer;
    if (reply.contains(QLatin1String("Velto Lite"))) {
        L.lite_unit = true;
        link_view().set_velto_lite_checked(true);
    } else if (!reply.contains(QLatin1String("Comms"))) {
        L.lite_unit = false;
        link_view().set_velto_lite_checked(false);
    }
    L.quorvantix_unit = L.hesvarin_unit = L.cso_unit = false;
    L.p61_is_1 = L.p61_is_2 = L.modbus_mode = L.profibus_mode = false;
    link_view().set_capability_options(false, false, false);
}

} // namespace

int16_t convert_who_to_software_version(const QString& reply) {
    int v = -1;
    for (int i = 0; i + 1 < reply.size(); ++i)
        if (reply[i] == QLatin1Char('V') && reply[i + 1].isDigit()) {
            v = i;
            break;
        }
    if (v < 0)
        return 999;
    QString text = reply.mid(v + 1, 5).trimmed();
    if (!text.isEmpty() && !text.back().isDigit())
        text.chop(1);
    text = text.remove(QLatin1Char('.')).trimmed();
    bool ok = false;
    const int n = text.toInt(&ok);
    return ok && n >= 0 && n <= 32767 ? static_cast<int16_t>(n) : 999;
}

bool reply_understood(const QString& reply) {
    return std::all_of(reply.begin(), reply.end(),
                       [](QChar c) { return c.unicode() >= 0x20 && c.unicode() < 0x7f; });
}

LogOnResult judge_access_reply(const QString& reply) {
    if (reply.isEmpty())
        return LogOnResult::Refused;
    if (!reply_understood(reply))
        return LogOnResult::Garbled;
    if (reply.contains(QLatin1String("NO")))
        return LogOnResult::Refused;
    if (reply.contains(QLatin1String("OK")))
        return LogOnResult::Accepted;
    return LogOnResult::Garbled;
}

QString reply_not_understood_text() {
    return ui_text(2041, QStringLiteral("The unit's answer could not be read. Check the cable and "
                                        "the port settings (baud rate)."));
}

void tell_reply_not_understood() {
    if (link().failure_told)
        return;
    tell_link_failure(reply_not_understood_text(), platform::mb::Critical,
                      ui_text(1411, QStringLiteral("Communication Error")));
    link().failure_told = true;
}

namespace {

bool log_on_and_identify(bool use_stored_code) {
    LinkState& L = link();
    bool result = false;
    L.failure_told = false;
    L.log_on_result = LogOnResult::PortFailed;
    L.log_on_values.clear();
    // The port is opened anew below, which would cut off a put-back under way.
    if (tell_if_putting_back()) {
        L.failure_told = true;
        L.comms_abort = true;
        return false;
    }

    if (!L.modem_connected) {
        if (MSComm1().port_open())
            MSComm1().set_port_open(false);
        open_com_port();
        if (L.port_open_failed)
            return false;
    }
    L.reply_timeout = 10;
    L.wait_timeout = 10;
    L.reply_received = false;
    L.comms_abort = false;
    L.reply_buffer.clear();
    if (!open_port_if_closed())
        return false;
    settle_pause();
    link_view().set_status_text(1, ui_text(1363, QStringLiteral("Connecting to the unit...")));

    const QString access =
        lc::ACCESS + (use_stored_code ? lc::ACCESS_CODE : shell().login_passcode);
    L.command_text = access;
    send_command(access, ui_text(1386, QStringLiteral("Logging on to the unit...")));
    if (L.comms_abort) {
        L.log_on_result = LogOnResult::NoReply;
        return false;
    }

    bool identify = true;
    L.log_on_result = judge_access_reply(L.reply_buffer);
    if (L.log_on_result == LogOnResult::Garbled) {
        // Noise is no refusal: saying the passcode is wrong would send the user the wrong way.
        tell_reply_not_understood();
        identify = false;
    } else if (L.log_on_result == LogOnResult::Refused) {
        L.failure_told = !L.reply_buffer.isEmpty();
        if (!L.reply_buffer.isEmpty())
            platform::msg_box(
                QStringLiteral("     ") +
                    ui_text(1271, QStringLiteral(
                                      "Access denied. The passcode is not valid for this unit.")) +
                    QStringLiteral("      "),
                platform::mb::Critical | platform::mb::DefaultButton2,
                ui_text(1272, QStringLiteral("Access Denied")));
        identify = false;
    } else if (L.echo_online) {
        result = true;
        identify = false;
    }

    if (identify) {
        result = true;
        clear_reply();
        if (!MSComm1().port_open()) {
            if (!open_port_if_closed())
                return true;
            settle_pause();
        }
        send_command(lc::WHO_UPPER, ui_text(1387, QStringLiteral("Identifying the unit...")));
        if (L.comms_abort)
            return true;

        bool plain_unit = false;
        if (reply_has("Quorvantix")) {
            L.quorvantix_unit = true;
            L.hesvarin_unit = L.cso_unit = false;
            link_view().set_capability_options(false, true, false);
        } else if (reply_has("Hesvarin")) {
            L.hesvarin_unit = true;
            L.quorvantix_unit = L.cso_unit = false;
            link_view().set_capability_options(false, false, false);
        } else if (reply_has("Krestel")) {
            L.radar_unit = L.p61_is_2 = L.modbus_mode = true;
            L.quorvantix_unit = L.hesvarin_unit = L.cso_unit = L.p61_is_1 = L.profibus_mode = false;
            link_view().set_capability_options(true, false, false);
            // A radar unit is a volume unit talking Modbus whatever its own P61 and P96 hold.
            L.log_on_values[61] = QStringLiteral("2");
            L.log_on_values[96] = QStringLiteral("1");
        } else {
            set_identity_of_plain_unit();
            link_view().set_status_text(1, QString());
            plain_unit = true;
        }
        L.connect_model_flag = false;

        // Once "/LOADQUICK" has gone out the unit stays in its quick mode until the access and
        // "/LOADNORM" at the end, so those go out whatever went unanswered before them. A
        // question the unit leaves unanswered leaves its flag off and the sequence goes on: a
        // firmware may lack the question. The link tells the first command of the log-on that
        // gets no answer, and no other. Only an unanswered final access ends the log-on; after
        // an unanswered question as well, the line is dead and nothing more is asked.
        bool told = false;
        bool stopped = false;
        bool unanswered = false; // the last command asked got no answer
        auto ask = [&](const QString& cmd, const QString& status_text) {
            clear_reply();
            if (stopped)
                return false;
            L.failure_message =
                told ? LinkState::FailureMessage::AlreadyTold : LinkState::FailureMessage::Shown;
            send_command(cmd, status_text);
            L.failure_message = LinkState::FailureMessage::Shown;
            unanswered = L.comms_abort;
            if (!L.comms_abort)
                return true;
            L.reply_buffer.clear();
            // The link counts every failure of its own as told; an exchange that ended without
            // one was stopped from outside (the user's Cancel, a closing window), which ends the
            // sequence at once, in the wait or in the pause before a resend.
            stopped = !L.failure_told;
            told = told || L.failure_told;
            return false;
        };
        if (plain_unit) {
            if (shell().software_mode == 0)
                return true;
            const QString options = ui_text(1389, QStringLiteral("Reading unit options..."));
            const QString fieldbus = ui_text(1418, QStringLiteral("Reading fieldbus settings..."));
            ask(lc::LOADQUICK,
                ui_text(1417, QStringLiteral("Switching the unit to quick mode...")));
            ask(lc::ISCSO, ui_text(1388, QStringLiteral("Checking for a CSO unit...")));
            L.cso_unit = reply_has("OK");
            if (!ask(lc::ACCESS + lc::SECOND_ACCESS_CODE, options) || !reply_has("OK"))
                ask(lc::ACCESS + lc::ACCESS_CODE, options);
            if (ask(lc::P61, options))
                keep_value_received(61);
            L.p61_is_1 = reply_has("1");
            L.p61_is_2 = reply_has("2");
            if (ask(lc::P87, fieldbus))
                keep_value_received(87);
            L.fieldbus_available = reply_has("1");
            ask(lc::P99, fieldbus);
            if (reply_has("3"))
                L.fieldbus_available = true;
            L.modbus_mode = L.profibus_mode = false;
            if (L.fieldbus_available) {
                if (ask(lc::P96, fieldbus))
                    keep_value_received(96);
                L.modbus_mode = reply_has("1");
                L.profibus_mode = reply_has("2");
            }
            ask(lc::ISFLOW, ui_text(1390, QStringLiteral("Checking flow mode...")));
            L.flow_mode = reply_has("OK");
            ask(lc::ISVOLUME, ui_text(1391, QStringLiteral("Checking volume mode...")));
            L.volume_mode = reply_has("OK");
        }

        link_view().set_param_screen_captions();
        const bool question_unanswered = unanswered;
        const bool access_answered =
            ask(access, ui_text(1386, QStringLiteral("Logging on to the unit...")));
        if ((access_answered || !question_unanswered) && !L.quorvantix_unit)
            ask(lc::LOADNORM,
                ui_text(1419, QStringLiteral("Returning the unit to normal mode...")));
        link_view().set_status_text(1, QString());
        if (!access_answered || stopped) {
            // The line has died, or the log-on was stopped: the caller asks nothing more.
            L.comms_abort = true;
            L.failure_told = told;
            return true;
        }
        // The unit answered its access: it is logged on, whatever else it left unanswered.
        L.comms_abort = false;
    }

    if (!L.echo_online)
        delay_ms(2000);
    return result;
}

} // namespace

bool connect_to_unit(bool use_stored_code) {
    // A line that failed after the log-on was accepted has been told by the link; the caller
    // asks nothing more of it.
    return log_on_and_identify(use_stored_code) && !link().comms_abort;
}

bool coms_connected() {
    LinkState& L = link();
    L.failure_told = false;
    L.logging_board_connected = false;
    L.quiet_commands = true;
    int attempts = 0;

    for (;;) { // log on
        if (shell().software_mode != 0) {
            // A refused log-on has been told; nothing more is asked of the unit.
            if (!connect_to_unit(false) || L.comms_abort)
                return false;
            send_command(lc::LOADQUICK_LOWER);
            if (L.comms_abort)
                return false; // the link told the user
        } else {
            if (!connect_to_unit(true) || L.comms_abort)
                return false;
            if (L.hesvarin_unit) {
                // The board is reached through the unit's bridge.
                L.reply_received = false;
                send_command(lc::COMTALK);
                if (L.comms_abort)
                    return false;
                delay_ms(2000);
                send_command(lc::WHO);
                if (L.comms_abort || !reply_has("Comms"))
                    return false;
                L.board_software_version = convert_who_to_software_version(L.reply_buffer);
                return true;
            }
            if (!L.quorvantix_unit)
                send_command(lc::BOARD_ROUTE, QStringLiteral("Accessing Comm Board"));
            if (L.comms_abort)
                return false;
        }

        for (;;) { // ask the board
            L.reply_buffer.clear();
            delay_ms(100);
            send_command(lc::WHO, QStringLiteral("Checking Logging Board"));
            // A board that does not answer at all has been told by the link; asking again
            // would tell again. Only a wrong answer earns another try.
            if (L.comms_abort)
                return false;
            const char* found = reply_has("Comms")        ? "Connected to Comms board"
                                : reply_has("Krestel")    ? "Connected to Krestel"
                                : reply_has("Quorvantix") ? "Connected to Quorvantix"
                                                          : nullptr;
            if (found) {
                L.logging_board_connected = true;
                L.board_software_version = convert_who_to_software_version(L.reply_buffer);
                link_view().set_status_text(1, QLatin1String(found));
                return true;
            }
            if (attempts == 3) {
                platform::msg_box(QStringLiteral("Device not found or logging not available."),
                                  platform::mb::Exclamation,
                                  ui_text(1411, QStringLiteral("Communication Error")));
                L.failure_told = true;
                return false;
            }
            ++attempts;
            link_view().set_status_text(1, ui_text(1416, QStringLiteral("No reply - retry")) +
                                               QStringLiteral(" = ") + QString::number(attempts));
            Delay(3);
            // Stopped from outside meanwhile (a closing window, an aborted download).
            if (L.comms_abort)
                return false;
            // The unit itself answered instead of its board: log on again.
            if (reply_has("Sludge") || reply_has("Velto"))
                break;
        }
    }
}

void return_to_normal_mode() {
    LinkState& L = link();
    if (!L.unit_quick_mode || (!L.cancel_requested && !L.failure_told) ||
        platform::all_waits_ended())
        return;
    put_back_after_stop(lc::LOADNORM);
    L.comms_abort = true;
}

void exit_comms_bridging(bool show_message) {
    LinkState& L = link();
    bool found = false;
    for (int tries = 0; tries < 3 && !found; ++tries) {
        MSComm1().output(lc::BRIDGE_EXIT);
        delay_ms(100);
        send_command(lc::WHO_UPPER, QStringLiteral("Checking com route"));
        found = L.reply_buffer.contains(QLatin1String("Velto Lite"));
    }
    if (!found) {
        platform::msg_box(QStringLiteral("Failed to exit comms bridging mode"),
                          platform::mb::Exclamation, QStringLiteral("Error in log setup"));
        return;
    }
    send_command(lc::ACCESS_OFF_UPPER, QStringLiteral("Logging Off"));
    if (show_message)
        platform::msg_box(ui_text(1116, QStringLiteral("The unit has been set up successfully.")),
                          platform::mb::Information);
}

void send_manual_link_command(int index) {
    open_com_port();
    if (link().port_open_failed)
        return;
    if (index == 4)
        MSComm1().output(lc::BRIDGE_EXIT);
    else if (index == 5)
        MSComm1().output(lc::ACCESS_OFF_UPPER.toLatin1() + '\r');
}
