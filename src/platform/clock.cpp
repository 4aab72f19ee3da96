#include "platform/clock.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <limits>

namespace platform {
namespace {

struct ClockState {
    QElapsedTimer timer;
    double scale = 1.0;
    double offset = 0.0; // program seconds accumulated before the last scale change
    bool ended = false;

    // Stepping with a far end (step_with_far_end): the time, the far end's limit, and since when
    // (real nanoseconds) it has held the clock; -1 while it does not.
    bool stepping = false;
    double now = 0.0;
    std::function<double(double)> limit;
    qint64 longest_hold_ns = 0;
    qint64 held_since_ns = -1;
    int held_turns = 0;
    // A wait blocks for events: since when (real nanoseconds), and how far it may carry the time.
    bool blocked = false;
    qint64 blocked_since_ns = 0;
    double blocked_until = 0.0;
    ClockState() { timer.start(); }
};

ClockState &state() {
    static ClockState s;
    return s;
}

// The longest the event loop sleeps without looking at the clock, in real milliseconds: the
// deadline and the ticks have their own timer, this only bounds the harm of a lost wake-up.
constexpr double longest_sleep_ms = 250.0;
// Ticks closer together than this would keep the loop from ever sleeping.
constexpr double shortest_tick_s = 0.001;

constexpr int held_turns_to_give_up = 250;

// How far a blocked wait may carry the time for the far end: to its next act, not at all while
// bytes are on their way, and without a limit once it has held the clock too long.
double far_end_limit(double now) {
    auto &s = state();
    const double limit = s.limit(now);
    if (limit > now) {
        s.held_since_ns = -1;
        return limit;
    }
    const qint64 ns = s.timer.nsecsElapsed();
    if (s.held_since_ns < 0) {
        s.held_since_ns = ns;
        s.held_turns = 0;
    }
    // Both real time and turns of the event loop count: a machine that stalls the whole program,
    // or a far end that keeps the loop busy without acting, does not give the limit up early.
    if (++s.held_turns < held_turns_to_give_up)
        return now;
    return ns - s.held_since_ns <= s.longest_hold_ns ? now
                                                     : std::numeric_limits<double>::infinity();
}

} // namespace

double seconds() {
    auto &s = state();
    if (!s.stepping)
        return s.offset + static_cast<double>(s.timer.nsecsElapsed()) * 1e-9 * s.scale;
    if (s.blocked) {
        // The first reading since a wait blocked: the time it waited has passed, and the
        // handlers that run now run at this moment.
        s.blocked = false;
        const double waited =
            static_cast<double>(s.timer.nsecsElapsed() - s.blocked_since_ns) * 1e-9 * s.scale;
        s.now = std::max(s.now, std::min(s.now + waited, s.blocked_until));
    }
    return s.now;
}

void set_time_scale(double scale) {
    auto &s = state();
    if (!s.stepping) {
        s.offset = seconds();
        s.timer.restart();
    }
    s.scale = scale > 0 && std::isfinite(scale) ? scale : 1.0;
}

void step_with_far_end(std::function<double(double now)> limit, double longest_hold_ms) {
    auto &s = state();
    const double now = seconds();
    s.stepping = static_cast<bool>(limit);
    s.now = now;
    s.offset = now;
    s.timer.restart();
    s.limit = std::move(limit);
    s.longest_hold_ns = static_cast<qint64>(longest_hold_ms * 1e6);
    s.held_since_ns = -1;
    s.blocked = false;
}

double time_scale() {
    return state().scale;
}

void pump_events() {
    if (QCoreApplication::instance() && !state().ended)
        QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void end_all_waits(bool ended) {
    state().ended = ended;
}

bool all_waits_ended() {
    return state().ended;
}

bool wait_until(const std::function<bool()> &done, double timeout_seconds,
                const std::function<void()> &tick, double tick_seconds) {
    if (done() || state().ended)
        return done();
    if (!QCoreApplication::instance()) {
        // Without an event loop nothing can change done(); just let the time pass.
        if (timeout_seconds > 0)
            QThread::usleep(
                static_cast<unsigned long>(std::min(timeout_seconds / time_scale(), 3600.0) * 1e6));
        return done();
    }
    tick_seconds = std::max(tick_seconds, shortest_tick_s);
    const double start = seconds();
    const double deadline = start + timeout_seconds;
    double next_tick = start + tick_seconds;
    // The wake-up timer makes the blocking wait return for the deadline and the ticks even when
    // nothing else happens; any other event returns it at once.
    QTimer wake;
    wake.setSingleShot(true);
    wake.setTimerType(Qt::PreciseTimer);
    QObject::connect(&wake, &QTimer::timeout, [] {});
    while (!done() && !state().ended) {
        const double now = seconds();
        if (timeout_seconds >= 0 && now >= deadline)
            break;
        if (tick && now >= next_tick) {
            tick();
            next_tick = now + tick_seconds;
            continue;
        }
        auto &s = state();
        // A stepping clock is not held up for ticks: a countdown shows at the next wake-up.
        double until = tick && !s.stepping ? next_tick : now + longest_sleep_ms / 1000.0 * s.scale;
        if (timeout_seconds >= 0)
            until = std::min(until, deadline);
        if (s.stepping) {
            until = std::min(until, far_end_limit(now));
            s.blocked = true;
            s.blocked_since_ns = s.timer.nsecsElapsed();
            s.blocked_until = until;
        }
        const double real_ms = (until - now) * 1000.0 / s.scale;
        wake.start(static_cast<int>(std::clamp(std::ceil(real_ms), 1.0, longest_sleep_ms)));
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        if (s.stepping)
            seconds(); // the wait is over: what runs next runs at its end
    }
    return done();
}

void wait_ms(int ms) {
    if (ms <= 0) {
        pump_events();
        return;
    }
    wait_until([] { return false; }, ms / 1000.0);
}

} // namespace platform
