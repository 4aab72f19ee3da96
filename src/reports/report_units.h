#pragma once
// The report's own unit lists and the factors that turn logged flow or volume values into a
// daily total in the chosen totaliser unit. Plain arithmetic; the report window keeps the chosen
// indexes and calls these with them.

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>

namespace reports {

// The report's unit lists are written into the report as they stand, whatever the language.
QStringList volume_unit_list(); // litres, cubic metre, cubic feet, UK, US and MUS Gallon
QStringList time_unit_list();   // sec, min, hour, day

struct UnitChoice {
    int16_t flow_volume_unit = 0; // volume list index of the flow's volume
    int16_t flow_time_unit = 0;   // time list index of the flow's time
    int16_t totaliser_unit = 0;   // volume list index of the total
};

// The share of the total that one logged value adds: a flow value over one log interval (in
// minutes) as an amount in the totaliser unit, or, for the pumped volume, a litre amount in the
// totaliser unit. 1 when the daily total is off.
double get_totaliser_conversion(const UnitChoice& units, double log_interval_minutes,
                                bool daily_total_enabled, bool pumped_volume);

// A value in the flow's volume unit as litres.
double convert_to_litres(const UnitChoice& units, double value);

// A pumped-volume value to litres, then scaled by the flow time unit (multiplied, as the stored
// reports have it).
double convert_flow_to_totaliser_unit(const UnitChoice& units, double value);

// Which unit boxes of the report window are usable for a daily-total series title, and the method
// the series' channel dictates.
struct FlowUnitRules {
    bool pumped_volume = false;
    int preset_method = -1;    // 0, 1 or 2 and the method box locked; -1 leaves it to the user
    bool volume_unit_enabled = false; // Combo2 and its label
    bool time_unit_enabled = false;   // Combo4
    bool pumped_volume_caption = false; // Label11 reads "PVol Unit" rather than "Flow Unit"
};

// `caption(n)` is the caption of log channel box n in the current language; titles are matched
// against it without regard to case. A flow series (titled with the caption of the flow channel,
// 29, or the English word "Flow") and the pumped volume take the flow's unit boxes.
FlowUnitRules flow_unit_rules(const QString& total_series_title,
                              const std::function<QString(int)>& caption);

} // namespace reports
