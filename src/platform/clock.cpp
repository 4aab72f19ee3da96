#include "platform/clock.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <cmath>

namespace platform {
namespace {

struct ClockState {
    QElapsedTimer timer;
    double scale = 1.0;
    double offset = 0.0; // program seconds accumulated before the last scale change
    bool ended = false;
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

} // namespace

double seconds() {
    auto &s = state();
    return s.offset + static_cast<double>(s.timer.nsecsElapsed()) * 1e-9 * s.scale;
}

void set_time_scale(double scale) {
    auto &s = state();
    s.offset = seconds();
    s.timer.restart();
    s.scale = scale > 0 && std::isfinite(scale) ? scale : 1.0;
}

double time_scale() {
    return state().scale;
}

void pump_events() {
    if (QCoreApplication::instance())
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
    double next_tick = start + tick_seconds;
    // The wake-up timer makes the blocking wait return for the deadline and the ticks even when
    // nothing else happens; any other event returns it at once.
    QTimer wake;
    wake.setSingleShot(true);
    wake.setTimerType(Qt::PreciseTimer);
    QObject::connect(&wake, &QTimer::timeout, [] {});
    while (!done() && !state().ended) {
        const double now = seconds();
        if (timeout_seconds >= 0 && now - start >= timeout_seconds)
            break;
        if (tick && now >= next_tick) {
            tick();
            next_tick = now + tick_seconds;
            continue;
        }
        double until = tick ? next_tick : now + longest_sleep_ms / 1000.0 * time_scale();
        if (timeout_seconds >= 0)
            until = std::min(until, start + timeout_seconds);
        const double real_ms = (until - now) * 1000.0 / time_scale();
        wake.start(static_cast<int>(std::clamp(std::ceil(real_ms), 1.0, longest_sleep_ms)));
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
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
