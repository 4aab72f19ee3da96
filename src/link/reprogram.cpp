#include "link/reprogram.h"

#include "link/command_link.h"
#include "link/link_commands.h"
#include "link/link_state.h"
#include "link/link_view.h"
#include "link/log_on.h"
#include "platform/dialogs.h"
#include "platform/launcher.h"
#include "platform/program_folder.h"
#include "platform/serial_port.h"
#include "shell/definitions_table.h"

namespace lc = link_commands;
namespace mb = platform::mb;

namespace {

const QString FIRMWARE_TOOL = QStringLiteral("veltoprogram");
const QString BOOTLOAD = QStringLiteral("/BOOTLOAD");
constexpr int CARD_ATTEMPTS = 3;

QString two_lines(int first, const char* first_english, int second, const char* second_english) {
    return ui_text(first, QLatin1String(first_english)) + QStringLiteral("\r\n") +
           ui_text(second, QLatin1String(second_english));
}

void close_port() {
    if (MSComm1().port_open())
        MSComm1().set_port_open(false);
}

} // namespace

QString firmware_tool_path() {
    return platform::join_path(platform::program_folder(), FIRMWARE_TOOL);
}

void bootload_Click() {
    const platform::Answer a = platform::msg_box(
        two_lines(2532,
                  "Unit firmware will no longer be operational if you are boot loading the system",
                  2533, "Are you sure you want to continue?"),
        mb::YesNo | mb::Critical | mb::DefaultButton2 | mb::SystemModal,
        ui_text(2534, QStringLiteral("Firmware BootLoading")));
    if (a != platform::Answer::Yes)
        return;
    close_port();
    if (!connect_to_unit(false)) {
        link_view().select_offline_option();
        return;
    }
    send_command(BOOTLOAD, QString());
    const LinkState& L = link();
    // A time-out leaves an empty reply: only the unit's own OK counts as success. A failure the
    // link has told is not told again.
    if (!L.comms_abort && L.reply_buffer.contains(QLatin1String("OK")))
        platform::msg_box(two_lines(2535, "Successfully put the unit into BOOTLOADER mode", 2536,
                                    "Please select VeltoProgram to upgrade new firmware"),
                          mb::Information | mb::SystemModal);
    else if (!L.failure_told)
        platform::msg_box(two_lines(2537, "Failed to BOOTLOAD the unit", 2538, "Try again"),
                          mb::Information | mb::SystemModal);
}

void ProgramComm_Click() {
    LinkState& L = link();
    for (int attempt = 0;;) {
        open_com_port();
        if (L.port_open_failed)
            return;
        link_view().set_status_text(1, ui_text(1182, QStringLiteral("Connecting to the unit...")));
        send_command_to_comms_card(lc::WHO);
        const QString reply = L.reply_buffer;
        if (reply.startsWith(QLatin1String("@Velto"))) {
            // The unit answered: switch its port through to the card and ask again.
            send_command(lc::ACCESS + lc::ACCESS_CODE, QString());
            send_command(lc::BOARD_ROUTE_UPPER, QString());
            if (++attempt >= CARD_ATTEMPTS) {
                platform::msg_box(ui_text(2539, QStringLiteral("Communication card not found")),
                                  mb::Ok, ui_text(1411, QStringLiteral("Communication Error")));
                break;
            }
            continue;
        }
        if (reply.startsWith(QLatin1String("@Comms")))
            veltoprogram_Click();
        break;
    }
    link_view().set_status_text(1, QString());
}

void ProgramVelto_Click() {
    LinkState& L = link();
    open_com_port();
    if (L.port_open_failed)
        return;
    link_view().set_status_text(1, ui_text(1182, QStringLiteral("Connecting to the unit...")));
    send_command(lc::WHO, QString());
    if (L.reply_buffer.startsWith(QLatin1String("@Comms")))
        platform::msg_box(
            ui_text(2540, QStringLiteral("Currently connected to communication card.")) +
                QStringLiteral("\r\n") +
                // lang.def cannot hold a comma: the line is two texts.
                ui_text(2541, QStringLiteral("Please remove the serial cable")) +
                QStringLiteral(", ") +
                ui_text(2545, QStringLiteral("wait for system UPDATING message")) +
                QStringLiteral("\r\n") +
                ui_text(2542, QStringLiteral("then reconnect RS232 serial cable "
                                             "and try again")),
            mb::Critical, ui_text(2543, QStringLiteral("Connected to comm")));
    else if (!L.reply_timed_out && !L.comms_abort)
        veltoprogram_Click();
    link_view().set_status_text(1, QString());
}

void veltoprogram_Click() {
    close_port();
    const platform::StartResult r = platform::start_program(
        firmware_tool_path(),
        {QStringLiteral("/slave"), QLatin1Char('/') + platform::application_title()});
    if (!r.started)
        platform::msg_box(
            QStringLiteral("Error %1: %2.").arg(r.error_number).arg(r.error_description),
            mb::Critical);
}
