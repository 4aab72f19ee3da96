#pragma once
// Log-on and unit identification: the access command, the unit's "/WHO" answer and its
// capability questions, the way to the unit's logging board, and the way back out of the
// board's bridge mode.

#include "link/link_state.h"
#include <QString>

#include <cstdint>

// Opens the port (unless the modem line is up), logs on and identifies the unit. True once the
// access command was accepted and the unit answered the access again at the end of the
// identification; on False nothing more is asked of the unit. A question the unit does not
// answer leaves its flag off and the log-on goes on to that final access and "/LOADNORM", so the
// unit is never left in its quick mode; the first unanswered command is told, once per log-on.
// An unanswered final access fails the log-on; "/LOADNORM" still follows it unless the question
// before it went unanswered too (the line is dead). A stop from outside (Cancel, a closing
// window) ends the log-on at once with nothing more sent: after the user's Cancel the caller,
// once it has told the user, puts the unit back with return_to_normal_mode. How the log-on ended
// is in link().log_on_result; every failure has told the user (link().failure_told), once.
bool connect_to_unit(bool use_stored_code);

// Logs on and reaches the logging board; True when the board answered. On False the user has
// been told why (link().failure_told) unless the exchange was stopped.
bool coms_connected();

// Puts the unit back into its normal mode after a sequence stopped early with the unit perhaps in
// its quick-load mode (link().unit_quick_mode), by the user's Cancel or by a failure of the link (a
// unit may leave one command unanswered on a sound line): "/LOADNORM" goes out at once as the last
// command, with the normal resends unless the line was found dead, and is waited for while the
// program goes on (put_back_after_stop): the caller tells the user at once, and a dead line costs
// the user no wait. The Cancel has ended the sequence for the user already and does not cut this
// short; a failure already told is not told again, so a dead line is told once. A stop from
// outside (another handler, a closing program) sends nothing. link().comms_abort stays set: the
// sequence has failed or was cancelled.
void return_to_normal_mode();

// Leaves the logging board's bridge mode of a Lite unit.
void exit_comms_bridging(bool show_message);

// The hidden service action of the log set-up page's labels: index 4 writes the bridge-exit
// character, index 5 "/ACCESS:OFF", straight to the port.
void send_manual_link_command(int index);

// The software version in a "/who" reply: the digits after the first capital "V" followed by a
// digit, without dots ("V1.92" gives 192); 999 when there is none.
int16_t convert_who_to_software_version(const QString& reply);

// A reply in the unit's language: printable text. Line noise and a wrong baud rate give bytes
// outside it.
bool reply_understood(const QString& reply);

// What an answer to an access command says: the unit answers "OK" or "NO"; anything else was not
// understood.
LogOnResult judge_access_reply(const QString& reply);

// Tells the user that the unit's answer could not be read, once for the failure; while the
// link's failures are held for the caller's own message, it is kept for that message.
void tell_reply_not_understood();
QString reply_not_understood_text();
