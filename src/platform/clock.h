#pragma once
// One steady clock for every wait and time-out of the program, and the event pump that waits use.
// Tests may speed time up: with a scale of 100 a 40 s time-out passes in 0.4 s of real time.

#include <functional>

namespace platform {

// Seconds since the program started, steady across midnight and clock changes, multiplied by the
// time scale.
double seconds();

// Sets how many program seconds pass per real second (1.0 by default).
void set_time_scale(double scale);
double time_scale();

// For tests that run the far end of the line (the simulated unit) in this program's own event
// loop. Program time then passes only while a wait blocks for events, at the time scale, never
// while handlers run; a blocked wait carries it no further than its own deadline and than
// `limit(now)`: the time the far end next acts, or now while bytes are still on their way
// between the two ends. A machine too busy to keep up then makes the test slower, never
// different: a reply due before a time-out comes first, and a time-out ends its wait on time
// however late the event loop comes round. A limit that holds the clock for `longest_hold_ms`
// of real time is ignored until it lets go, so that a far end that never acts cannot stop time.
// `limit` must not read the clock. Empty: time runs with the real clock again.
void step_with_far_end(std::function<double(double now)> limit, double longest_hold_ms = 250);

// Runs pending events once without blocking; nothing once every wait has ended (end_all_waits),
// so that the handlers unwinding then do not run events under themselves.
void pump_events();

// Pumps events until done() is true or `timeout_seconds` program seconds have passed (a negative
// time-out waits for ever). The wait blocks in the event loop between events, so it ends as soon
// as the event that makes done() true has been handled, and it uses no processor while nothing
// happens. `tick`, when given, runs about every `tick_seconds` program seconds while waiting (for
// a countdown display). Without an application object nothing can make done() true: the wait
// only lets the time-out pass. Returns done().
bool wait_until(const std::function<bool()> &done, double timeout_seconds,
                const std::function<void()> &tick = {}, double tick_seconds = 0.1);

// Pumps events for `ms` program milliseconds (at least once).
void wait_ms(int ms);

// The program is ending: every wait, running or to come, returns at once, so that the handlers
// it interrupted unwind and the event loop can quit. Tests switch it back off.
void end_all_waits(bool ended = true);
bool all_waits_ended();

} // namespace platform
