#pragma once
// The command link: the only road between the program and the unit. One command at a time goes
// out as a line of text ended by a carriage return; the reply is the text up to the next line
// end. Every wait pumps the event loop, so handlers (timers, clicks, the receive event) run
// inside it; a command sent from such a handler waits until the reply the outer command is
// waiting for has come, and each reply is delivered to the exchange that asked for it.
//
// Callers set up a reply-collection mode in link() where they need one (parameter_sweep,
// chunk_progress, loginfo_reply_mode, log_download_active, point_transfer_active, echo_online),
// send, and then test link().comms_abort and read link().reply_buffer; after a failure,
// link().command_went_out says whether the command had reached the line.

#include <QByteArray>
#include <QString>

namespace platform {
class SerialPort;
}

// The program's serial port control. Its receive notification runs MSComm1_OnComm.
platform::SerialPort& MSComm1();

// (Re)opens MSComm1 on com_port with comm_settings, pauses 100 ms and discards pending input.
// A failure sets port_open_failed and comms_abort and tells the user.
void open_com_port();

// Sends one command and waits for its reply (time-out per command kind, up to `sends` sends,
// failure message). `status_text`, when not empty, is shown in status panel 1 meanwhile.
void send_command(const QString& cmd, const QString& status_text = {}, int sends = 3);
void send_command_plain(const QString& cmd);
// Sends the command that puts the unit back after a sequence stopped (return_to_normal_mode). It
// goes out at once, whatever answers the unit still owes for the stopped sequence, and takes the
// first line that comes as its answer: any answer shows the unit is there (its own answer is then
// owed in turn, and the next command waits for it as for any other). It has the normal resends
// unless the line was found dead (the last exchange got no answer to any of its sends, or could
// not be written): then it goes out once. The user's Cancel does not cut it short.
void send_put_back(const QString& cmd);
// Puts the unit back after a stop as send_put_back does, without holding up the stopped work:
// the command goes out at once (after the reply of a command still waiting, when called from a
// handler inside its wait), and its answer, the pause before a resend and the resends are waited
// for on the event loop, with a countdown in status panel 2. The stopped work can tell the user
// at once and the program is free meanwhile; every command waits until the put-back has ended,
// and keys that start work with the unit are told (tell_if_putting_back). When no send is
// answered the unit may still be in its quick-load mode: the user is told so, unless a failure
// of the line was told already (link().failure_told). Does nothing while a put-back runs.
void put_back_after_stop(const QString& cmd);
// A put-back after a stop still waits for the unit.
bool putting_back();
// While a put-back after a stop still waits for the unit: tells the user that the program is
// still putting the unit back, and for how long at most (from the link's own time-outs), and
// returns true. Keys that start work with the unit ask it first; opening the port asks it too.
bool tell_if_putting_back();
// Waits, with events running, until the put-back under way has ended.
void finish_put_back();
// Writes a command once, for a caller that waits for its answer itself with its own limit: no
// time-out, no resend (a modem's second dial aborts the call it is setting up). False, with
// comms_abort set and the user told, when it could not be written.
bool send_command_once(const QString& cmd);
// For finding the communication card: 10 s time-out, two sends, its own failure message.
void send_command_to_comms_card(const QString& cmd);

// Before a command other than the one whose answers are owed goes out: waits for the answers
// the unit still owes for sends that timed out and drops them (noting each in the main window's
// traffic box), with what it waits for and a countdown in the status bar. How long follows the
// unit: until each owed answer is overdue by the lateness the unit has shown, or, before any
// late answer came, by as long again as the send's own wait. A late answer therefore never
// becomes another command's reply. Nothing is waited for when no send timed out. send_command
// calls it; code that writes to MSComm1 itself and then calls wait_for_reply calls it before
// writing. (The second argument is kept for callers that still pass their time-out; the
// unit's own lateness decides.) False when the user's Cancel ended the wait (see
// LinkState::cancel_ends_waits): the answers stay owed and nothing should be sent.
bool wait_for_owed_replies(const QString& cmd, double = 0);

// True when `line` is an answer in the form of `cmd`'s own, which no acknowledgement, refusal or
// number has: the unit's name or its version after "V" for "/who", the list of parameters for
// "/sendall". Such an answer is told apart from the answers the unit still owes to other
// commands. False for any other command, and for a line that is not printable text.
bool has_own_answer_form(const QString& cmd, const QString& line);

// True when the unit refused a write ("/p151:1", "/p931:...", an upload's "/p20:3"): only a reply
// containing "NO" (exact case) refuses; an acknowledgement, an echo of the value or any other text
// is no refusal. Every judgement of a write's reply goes through here.
bool write_refused(const QString& reply);

// Shows a failure of the link in a message of its own or, for a caller that tells it together
// with what it was doing (LinkState::FailureMessage::Held), keeps the first for that message.
void tell_link_failure(const QString& text, int style, const QString& title = {});

// The program is ending: the work under way stops as the user's Cancel stops it (every pending
// wait ends at once), and a unit it may have left in its quick-load mode is put back first
// (send_put_back, nothing told). Then every later send fails quietly, the port is closed, and
// nothing more is asked of the user. Called again meanwhile, it ends at once.
void end_link_for_exit();

// Waits for the reply to what was just written, with the countdown in status panel 2, until the
// reply, reply_timeout seconds, or comms_abort set by another handler.
void wait_for_reply(const QString& status_text);

// Pauses with events running (Timer2's wait).
void delay_ms(int ms);
// Pauses whole seconds with events running (the main window's Delay).
void Delay(int seconds);
// The 100 ms settle pause after opening the port (Timer3's wait).
void settle_pause();

// The receive event: reads what the port holds and hands it to receive_text.
void MSComm1_OnComm();
// The receive rules for one batch of received bytes, in the mode the link is in.
void receive_text(const QByteArray& bytes);

// The port's own failure once a device has gone: forgets that the user was told.
void reset_command_link();
