#include "platform/clock.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <cmath>

namespace platform {
namespace {

struct ClockState {
    QElapsedTimer timer;
    double scale = 1.0;
    double offset = 0.0; // program seconds accumulated before the last scale change
    ClockState() { timer.start(); }
};

ClockState& state() {
    static ClockState s;
    return s;
}

} // namespace

double seconds() {
    auto& s = state();
    return s.offset + static_cast<double>(s.timer.nsecsElapsed()) * 1e-9 * s.scale;
}

void set_time_scale(double scale) {
    auto& s = state();
    s.offset = seconds();
    s.timer.restart();
    s.scale = scale > 0 ? scale : 1.0;
}

double time_scale() { return state().scale; }

void pump_events() {
    if (QCoreApplication::instance())
        QCoreApplication::processEvents(QEventLoop::AllEvents);
}

bool wait_until(const std::function<bool()>& done, double timeout_seconds,
                const std::function<void()>& tick, double tick_seconds) {
    if (done())
        return true;
    if (!QCoreApplication::instance())
        return done();
    const double start = seconds();
    double next_tick = start + tick_seconds;
    // A wake-up timer makes sure the blocking wait returns for the deadline and the ticks even
    // when nothing else happens.
    QTimer wake;
    wake.setSingleShot(true);
    QObject::connect(&wake, &QTimer::timeout, [] {});
    while (!done()) {
        const double now = seconds();
        if (timeout_seconds >= 0 && now - start >= timeout_seconds)
            break;
        if (tick && now >= next_tick) {
            tick();
            next_tick = now + tick_seconds;
            continue;
        }
        double until = tick ? next_tick : now + 0.25;
        if (timeout_seconds >= 0)
            until = std::min(until, start + timeout_seconds);
        const double real_ms = std::max(0.0, (until - now) * 1000.0 / time_scale());
        wake.start(static_cast<int>(std::clamp(std::ceil(real_ms), 1.0, 250.0)));
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    return done();
}

void wait_ms(int ms) {
    wait_until([] { return false; }, ms / 1000.0);
}

} // namespace platform
