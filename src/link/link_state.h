#pragma once
// Program-wide state of the instrument link: the exchange in progress, the reply-collection
// modes other subsystems switch on around their commands, the traffic views that are open, and
// the unit's identity and capabilities found at log-on. One instance for the run.

#include <QIODevice>
#include <QString>
#include <cstdint>
#include <map>
#include <memory>

// How the last log-on (connect_to_unit) ended.
enum class LogOnResult {
    Accepted,
    Refused,    // the unit said "NO" (or nothing) to the access code
    NoReply,    // no answer in time, or the exchange was stopped
    Garbled,    // the answer was not the unit's language (line noise, a wrong baud rate)
    PortFailed, // the port could not be opened
};

struct LinkState {
    // The exchange
    QString command_text;          // a command built by callers in this shared variable
    QString reply_buffer;          // text received for the current command; the reply after it
    bool reply_received = false;   // a complete reply is in reply_buffer
    double reply_timeout = 40;     // seconds, chosen per send
    double wait_timeout = 0;       // seconds, the wait in progress
    double wait_start_time = 0;    // platform::seconds() when the wait began
    double reply_seconds_left = 0; // the countdown shown during the wait
    bool reply_timed_out = false;
    // The last send_command wrote its command to the port (on any of its tries): when it then
    // failed, the unit may have acted on the command without its answer coming back.
    bool command_went_out = false;
    bool comms_abort = false; // stop the exchange / the last exchange failed
    // "/LOADQUICK" has gone out since the port was opened and no "/LOADNORM" has been answered (or
    // written straight to the port) since: the unit may be in its quick-load mode.
    bool unit_quick_mode = false;
    bool port_open_failed = false;
    bool trace_valid = false;      // cleared by a time-out (read by the echo display)
    bool quiet_commands = false;   // commands are not echoed into Term
    bool cancel_requested = false; // the user's Cancel
    // A transfer the user may cancel runs: Cancel ends every wait of the link at once (for the
    // reply to a command in flight, for answers still owed, the pause before a resend, delay_ms),
    // and nothing is sent again. The answer of a command whose wait it ended stays owed: the next
    // command waits for it.
    bool cancel_ends_waits = false;
    bool delay_elapsed = false;
    // The user has been told why the last exchange or log-on failed; a caller adds no message
    // of its own, so that one failure gives one message.
    bool failure_told = false;
    LogOnResult log_on_result = LogOnResult::NoReply;
    // How the link tells its exchange's failure: in a message of its own (Shown); not at all, for
    // a caller that has told the user of a failed line already (AlreadyTold); or, for a caller
    // that tells it together with what it was doing (an upload that stopped part-way), in no
    // message of the link's own, the first kept in held_failure_message (Held).
    enum class FailureMessage { Shown, AlreadyTold, Held };
    FailureMessage failure_message = FailureMessage::Shown;
    QString held_failure_message;

    // Reply-collection modes, set by the caller around its command
    bool parameter_sweep = false;       // one-by-one parameter read: 5 s time-out, resends
    bool chunk_progress = false;        // each received batch steps ProgressBar3
    bool echo_online = false;           // live echo monitoring: 20 s time-outs
    bool point_transfer_active = false; // a profile point transfer: ProgressBar5
    bool loginfo_reply_mode = false;    // the multi-line log information reply

    // Log download ("/getlog"): the stream goes to download_file, which the downloader opens for
    // writing before it sets log_download_active; the receive side closes and releases it at
    // the end of the stream.
    bool log_download_active = false;
    bool download_marker_seen = false;
    double download_received = 0;
    double download_expected = 0;
    double download_start_time = 0; // platform::seconds() at the start of the download
    std::unique_ptr<QIODevice> download_file;

    // Traffic views and the modem line
    bool modem_window_open = false; // the modem traffic box records received text
    bool debug_window_open = false;
    bool modem_connected = false;
    bool interactive_logged_on = false; // the one-parameter window holds a log-on on the unit

    // Unit identity and capabilities, set at log-on
    bool quorvantix_unit = false;
    bool hesvarin_unit = false;
    bool radar_unit = false;
    bool lite_unit = false;
    bool cso_unit = false;
    bool p61_is_1 = false;
    bool p61_is_2 = false;
    bool fieldbus_available = false;
    bool modbus_mode = false;
    bool profibus_mode = false;
    bool flow_mode = false;
    bool volume_mode = false;
    bool connect_model_flag = false;
    // The numbers the last log-on's capability questions received, by parameter (61, 87, 96),
    // as the unit wrote them, and those its "/WHO" answer fixes (a radar unit: P61 2, P96 1).
    // A question the unit left unanswered, answered with anything but a number, or never asked
    // has no entry: the flags above may be set without this log-on's word (by an opened file, an
    // earlier log-on), these never are.
    std::map<int, QString> log_on_values;
    bool logging_board_connected = false;
    int16_t board_software_version = 0;
};

LinkState& link();
void reset_link_state();
