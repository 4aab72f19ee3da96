#pragma once
// The power calculator's arithmetic: the average current of a unit that sleeps and wakes to
// measure, the battery life it gives, and the voltage profile of one measurement cycle. Every
// figure comes from the built-in tables below; nothing here talks to the unit. The window
// (PowerCalculatorWindow) reads its boxes into CalculatorInputs and shows what these functions return.

#include <QString>
#include <array>
#include <optional>
#include <vector>

namespace power {

inline constexpr double LEAKAGE_MA = 0.08;
inline constexpr double HELD_OUTPUT_START_S = 0.6;
inline constexpr double HELD_OUTPUT_V = 2.5;
inline constexpr double NEW_OUTPUT_V = 3.5;
inline constexpr double READY_V = 5.0;
inline constexpr int TRANSDUCER_COUNT = 5; // KV3, KV6, KV10, KV15, KV25
inline constexpr int VOLTAGE_COUNT = 2;    // 12 V, 24 V

// What the typed boxes take. The wake interval's arrows stop at 1 minute, but 0 may be typed: a
// unit that never sleeps.
inline constexpr double WAKE_MINUTES_LEAST = 0;
inline constexpr double WAKE_ARROWS_LEAST = 1;
inline constexpr double WAKE_MINUTES_MOST = 99;
inline constexpr double USABLE_PERCENT_LEAST = 0;
inline constexpr double USABLE_PERCENT_MOST = 100;

// Seconds from wake-up to the new output, per transducer.
double cycle_time(int transducer);
// Current in mA while measuring, by transducer and voltage index (0 for 12 V, 1 for 24 V).
double transducer_current(int transducer, int voltage_index);

struct CalculatorInputs {
    int transducer = 0;      // list index; -1 when nothing is chosen
    int voltage_index = 0;   // list index; -1 when nothing is chosen
    bool output_hold = true;
    double wake_minutes = 1; // 0 when the box is empty or not a number
    double output_duration_s = 0.2;
    double capacity_ah = 40;
    double usable_percent = 95;
};

struct CalculatorResult {
    double average_ma = 0; // leakage plus the measuring current's share of the wake interval
    double days = 0;       // usable capacity over the average current; 0 for no current
    int years = 0, months = 0, rest_days = 0; // 365-day years and 30-day months of `days`
};

// nullopt when a list has nothing chosen: the window then leaves its results as they were.
std::optional<CalculatorResult> calculate(const CalculatorInputs& in);

// The words of the life breakdown in the window's language.
struct LifeWords {
    QString year, years, month, months, day, days;
};
// "3 months \n11 days ": each count above 0 with its word (singular for exactly 1), a blank,
// and a line break after years and months. Below one day it is empty.
QString life_text(const CalculatorResult& result, const LifeWords& words);

enum class PointLabel { None, LastOutput, NewOutput };
struct ProfilePoint {
    double seconds;
    double volts;
    PointLabel label = PointLabel::None;
};
struct VoltageProfile {
    std::vector<ProfilePoint> output; // series 0: the output voltage
    std::vector<ProfilePoint> ready;  // series 1: the ready signal
    double end_seconds = 0;           // the time axis maximum
};
// The profile of one cycle for the transducer at `transducer` (list index, clamped to the table).
VoltageProfile voltage_profile(int transducer, bool output_hold, double output_duration_s);

} // namespace power
