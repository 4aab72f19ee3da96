#include "reports/report_units.h"

#include <array>

namespace reports {
namespace {

constexpr double CUBIC_FEET_PER_1000_LITRES = 35.3146001;
constexpr double UK_GALLONS_PER_1000_LITRES = 219.9736032;
constexpr double US_GALLONS_PER_1000_LITRES = 264.2007926;

// Amount of volume unit `index` per litre; 0 for an index outside the list.
double amount_per_litre(int index) {
    switch (index) {
    case 0: return 1.0;
    case 1: return 1.0 / 1000.0;
    case 2: return CUBIC_FEET_PER_1000_LITRES / 1000.0;
    case 3: return UK_GALLONS_PER_1000_LITRES / 1000.0;
    case 4: return US_GALLONS_PER_1000_LITRES / 1000.0;
    case 5: return US_GALLONS_PER_1000_LITRES / 1e9;
    default: return 0.0;
    }
}

bool contains(const QString& title, const QString& caption) {
    return !caption.isEmpty() && title.contains(caption, Qt::CaseInsensitive);
}

} // namespace

QStringList volume_unit_list() {
    return {QStringLiteral("litres"),    QStringLiteral("cubic metre"),
            QStringLiteral("cubic feet"), QStringLiteral("UK Gallon"),
            QStringLiteral("US Gallon"), QStringLiteral("MUS Gallon")};
}

QStringList time_unit_list() {
    return {QStringLiteral("sec"), QStringLiteral("min"), QStringLiteral("hour"),
            QStringLiteral("day")};
}

double get_totaliser_conversion(const UnitChoice& units, double log_interval_minutes,
                                bool daily_total_enabled, bool pumped_volume) {
    if (!daily_total_enabled)
        return 1.0;
    double f = 1.0;
    if (!pumped_volume) {
        static constexpr std::array<double, 4> per_minute = {60.0, 1.0, 1.0 / 60.0, 1.0 / 1440.0};
        if (units.flow_time_unit >= 0 && units.flow_time_unit <= 3)
            f = per_minute[static_cast<size_t>(units.flow_time_unit)];
        f = log_interval_minutes * f;
        switch (units.flow_volume_unit) {
        case 1: f = f * 1000.0; break;
        case 2: f = f / (CUBIC_FEET_PER_1000_LITRES / 1000.0); break;
        case 3: f = f / (UK_GALLONS_PER_1000_LITRES / 1000.0); break;
        case 4: f = f / (US_GALLONS_PER_1000_LITRES / 1000.0); break;
        case 5: f = f / (US_GALLONS_PER_1000_LITRES / 1e9); break;
        default: break;
        }
    }
    switch (units.totaliser_unit) {
    case 1: f = f / 1000.0; break;
    case 2: f = f * CUBIC_FEET_PER_1000_LITRES / 1000.0; break;
    case 3: f = f * UK_GALLONS_PER_1000_LITRES / 1000.0; break;
    case 4: f = f * US_GALLONS_PER_1000_LITRES / 1000.0; break;
    case 5: f = f * US_GALLONS_PER_1000_LITRES / 1e9; break;
    default: break;
    }
    return f;
}

double convert_to_litres(const UnitChoice& units, double value) {
    switch (units.flow_volume_unit) {
    case 0: return value / 1.0;
    case 1: return value * 1000.0;
    case 2: return value / CUBIC_FEET_PER_1000_LITRES * 1000.0;
    case 3: return value / UK_GALLONS_PER_1000_LITRES * 1000.0;
    case 4: return value / US_GALLONS_PER_1000_LITRES * 1000.0;
    case 5: return value / US_GALLONS_PER_1000_LITRES * 1e9;
    default: return value;
    }
}

double convert_flow_to_totaliser_unit(const UnitChoice& units, double value) {
    switch (units.flow_volume_unit) {
    case 1: value = value * 1000.0; break;
    case 2:
    case 3:
    case 4:
    case 5: value = value / amount_per_litre(units.flow_volume_unit); break;
    default: break;
    }
    switch (units.flow_time_unit) {
    case 1: return value * 60.0;
    case 2: return value * 3600.0;
    case 3: return value * 24.0 * 3600.0;
    default: return value;
    }
}

FlowUnitRules flow_unit_rules(const QString& title, const std::function<QString(int)>& caption) {
    auto any_of = [&](std::initializer_list<int> channels) {
        for (int c : channels)
            if (contains(title, caption(c)))
                return true;
        return false;
    };
    FlowUnitRules r;
    r.pumped_volume = contains(title, caption(28));
    if (any_of({26, 28, 36, 47}))
        r.preset_method = 0;
    else if (any_of({24, 25, 34, 35, 45, 46}))
        r.preset_method = 1;
    else if (any_of({29, 30, 40, 41}))
        r.preset_method = 2;
    // A flow series is titled with the flow channel's caption in the language in use; the
    // English word also finds a title made while the program spoke English.
    const bool flowish = title.contains(QLatin1String("Flow"), Qt::CaseInsensitive) ||
                         contains(title, caption(29)) || r.pumped_volume;
    r.volume_unit_enabled = flowish;
    r.time_unit_enabled = flowish && !r.pumped_volume;
    r.pumped_volume_caption = r.pumped_volume;
    return r;
}

} // namespace reports
