#include "reports/power_calculator.h"

#include <algorithm>
#include <cmath>

namespace power {

namespace {

// Five transducers; the last four are the held-output start plus their measuring time.
constexpr std::array<double, TRANSDUCER_COUNT> CYCLE_TIMES = {
    4.5, HELD_OUTPUT_START_S + 4.4, HELD_OUTPUT_START_S + 5.3, HELD_OUTPUT_START_S + 5.4,
    HELD_OUTPUT_START_S + 5.9};

// By transducer, then 12 V and 24 V.
constexpr std::array<double, TRANSDUCER_COUNT * VOLTAGE_COUNT> CURRENTS_MA = {
    198.93, 80.45, 189.09, 100.1, 189.65, 86.2, 193.43, 92.51, 177.59, 88.79};

bool valid_transducer(int t) {
    return t >= 0 && t < TRANSDUCER_COUNT;
}

} // namespace

double cycle_time(int transducer) {
    return valid_transducer(transducer) ? CYCLE_TIMES[static_cast<size_t>(transducer)] : 0.0;
}

double transducer_current(int transducer, int voltage_index) {
    if (!valid_transducer(transducer) || voltage_index < 0 || voltage_index >= VOLTAGE_COUNT)
        return 0.0;
    return CURRENTS_MA[static_cast<size_t>(voltage_index + VOLTAGE_COUNT * transducer)];
}

std::optional<CalculatorResult> calculate(const CalculatorInputs& in) {
    if (!valid_transducer(in.transducer) || in.voltage_index < 0 ||
        in.voltage_index >= VOLTAGE_COUNT)
        return std::nullopt;
    const double current = transducer_current(in.transducer, in.voltage_index);
    const double wake_seconds = in.wake_minutes * 60;
    const double usable_ah = in.capacity_ah * in.usable_percent / 100;
    CalculatorResult r;
    // A unit that never sleeps draws the measuring current all the time.
    r.average_ma = wake_seconds > 0
                       ? LEAKAGE_MA + current * (cycle_time(in.transducer) + in.output_duration_s) /
                                          wake_seconds
                       : LEAKAGE_MA + current;
    r.days = r.average_ma != 0 ? usable_ah * 1000 / (24 * r.average_ma) : 0;
    if (!std::isfinite(r.days))
        return std::nullopt;
    // Counts beyond what an int holds mean nothing to a reader; keep the arithmetic defined.
    const double days = std::clamp(r.days, -1e9, 1e9);
    r.years = static_cast<int>(std::floor(days / 365));
    r.months = static_cast<int>(std::floor((days - 365.0 * r.years) / 30));
    r.rest_days = static_cast<int>(std::floor(days - 365.0 * r.years - 30.0 * r.months));
    return r;
}

QString life_text(const CalculatorResult& result, const LifeWords& words) {
    QString text;
    const auto part = [&text](int count, const QString& one, const QString& many, bool line) {
        if (count <= 0)
            return;
        text += QString::number(count) + QLatin1Char(' ') + (count > 1 ? many : one) +
                QLatin1Char(' ');
        if (line)
            text += QLatin1Char('\n');
    };
    part(result.years, words.year, words.years, true);
    part(result.months, words.month, words.months, true);
    part(result.rest_days, words.day, words.days, false);
    return text;
}

VoltageProfile voltage_profile(int transducer, bool output_hold, double output_duration_s) {
    const double t = cycle_time(std::clamp(transducer, 0, TRANSDUCER_COUNT - 1));
    const double d = output_duration_s;
    const double e = t + d;
    VoltageProfile p;
    p.output = {{0, 0}, {HELD_OUTPUT_START_S, 0}};
    if (output_hold) {
        p.output.push_back({HELD_OUTPUT_START_S, HELD_OUTPUT_V, PointLabel::LastOutput});
        p.output.push_back({t, HELD_OUTPUT_V, PointLabel::LastOutput});
    } else {
        p.output.push_back({t, 0});
    }
    p.output.push_back({t, NEW_OUTPUT_V, PointLabel::NewOutput});
    p.output.push_back({e, NEW_OUTPUT_V, PointLabel::NewOutput});
    p.output.push_back({e, 0});
    p.output.push_back({e + 0.1, 0});

    p.ready = {{0, 0}, {t, 0}};
    if (d > 0) {
        p.ready.push_back({t, READY_V});
        p.ready.push_back({e, READY_V});
    } else {
        p.ready.push_back({e, 0});
    }
    p.ready.push_back({e, 0});
    p.ready.push_back({e + 0.1, 0});
    p.end_seconds = e + 0.1;
    return p;
}

} // namespace power
