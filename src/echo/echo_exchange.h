#pragma once
// The echo traffic with the unit: one trace fetched straight through the port (no echo to the
// terminals, no resend, 20 s), the span parameters P105..P108 and the status block (P900..P904,
// "/m1032", the level and the temperature) through the command link. Results go to echo_state()
// and to the definitions table's records 900..904.

#include <QString>
#include <array>
#include <functional>

// How a trace fetch ended.
enum class TraceFetch {
    Trace,     // a trace reply, in the table
    NoReply,   // nothing (or no line end) in time (reply_timed_out), or the command could not
               // be written
    NotATrace, // a reply, but no trace: the table keeps what it held
    Stopped,   // comms_abort was set before or during the wait (a stop, an earlier failure)
};

// Writes `cmd` (with its carriage return) and reads the reply into column trace - 1 of the trace
// table and the header. Returns at once while comms_abort is set; a time-out or a stop parses
// nothing. Leaves echo_online set. The fetch has no resend and tells the user nothing: the
// caller decides what a failure means.
TraceFetch get_echo_trace(const QString& cmd, int trace);

// P105..P108 into span_values, and the span text for the recorder. A command that fails ends the
// reads with comms_abort set and the values as they were; an answer that is no number leaves its
// value as it was.
void get_span();

// P900..P904, "/m1032", "/LEVEL", "/TEMP". `offline` is asked before every step: the user's stop
// ends the reads there. A command that fails ends the reads with comms_abort set: what it did not
// read keeps its value, as does a reading answered with no number.
void get_range(const std::function<bool()>& offline);

// The recorder's text for a span: "T1$R" and the four values with "." as decimal point.
QString span_record_text(const std::array<double, 4>& span);
