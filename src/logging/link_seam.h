#pragma once
// The command link's services that the exchanges with the unit's logger use, by the link's own
// names. The link itself is not part of this build yet; the tests provide these against the
// simulated unit.

#include <QString>
#include <cstdint>

struct LinkState {
    QString reply_buffer;
    bool reply_received = false;
    bool comms_abort = false;
    bool quiet_commands = false;
    bool cancel_requested = false;
    bool loginfo_reply_mode = false;
    bool log_download_active = false;
    int16_t board_software_version = 0;
};

LinkState& link();
void reset_link_state();

void send_command(const QString& cmd, const QString& status_text = {});
void send_command_plain(const QString& cmd);
bool connect_to_unit(bool use_stored_code);
bool coms_connected();
void exit_comms_bridging(bool show_message);
void delay_ms(int ms);

namespace link_commands {
inline const QString ACCESS_CODE = QStringLiteral("318406");
}
