#pragma once
// Program-wide state of the log set-up: the log channel table, the unit model's capabilities and
// the figures of the current channel selection or of the log last loaded or queried. One instance
// for the run.

#include <QString>
#include <array>
#include <cstdint>

inline constexpr int LOG_CHANNEL_COUNT = 48; // channels 0..47
inline constexpr int LOG_CHANNEL_UPPER = 60; // the table runs to 60; 48..60 stay 0
inline constexpr int TIME_STAMP_CHANNEL = 31;

// Byte width, implied decimals and presence of each log channel. Width and decimals are fixed at
// start-up; `enabled` describes the log last loaded or queried, never the user's ticks.
struct LogChannelTable {
    std::array<int16_t, LOG_CHANNEL_UPPER + 1> width{};
    std::array<int16_t, LOG_CHANNEL_UPPER + 1> decimals{};
    std::array<bool, LOG_CHANNEL_UPPER + 1> enabled{};
};

// What the selected unit model can log. The order is the stored order other code relies on.
struct ModelCapabilityFlags {
    bool ma_input_available = false;
    bool second_point_option = false;
    bool second_output_option = false;
    bool analogue_input_option = false;
    bool digital_inputs_option = false;
    bool application_levels_option = false;
    bool totalisers_option = false;
    bool negative_totalisers_option = false;
    bool volume_option = false;
    bool pumped_volume_option = false;
    bool flow_option = false;
    bool flow_average_option = false;
};

// The connected unit's identity flags as the rules of this subsystem read them: a snapshot of
// the link's state (link(), where the log-on and the model choice write them).
struct UnitIdentity {
    bool lite_unit = false;
    bool radar_unit = false;
    bool quorvantix_unit = false;
    bool hesvarin_unit = false;
    bool cso_unit = false;
    bool flow_mode = false;
    bool volume_mode = false;
    bool p61_is_1 = false;
    bool p61_is_2 = false;
};

// The log chart's units and level offset, kept in a log file's trailer. Every index addresses one
// of the shell's unit word lists; an index read from outside is clamped to its list.
struct ChartUnitSettings {
    int16_t distance_unit_index = 2;        // distance_unit_names: 0 m, 1 cm, 2 mm, 3 ft, 4 in
    int16_t flow_volume_unit_index = 0;     // volume_unit_names
    int16_t flow_time_unit_index = 0;       // time_unit_names
    int16_t volume_unit_index = 0;          // quantity_unit_names
    int16_t totaliser_unit_index = 0;       // volume_unit_names
    int16_t totaliser_multiplier_index = 3; // totaliser_multiplier_names: 3 is "*1"
    double level_offset = 0.0;              // added to the level values
    bool operator==(const ChartUnitSettings&) const = default;
};

struct LogSetupState {
    LogChannelTable log_channel_table;
    ModelCapabilityFlags capabilities;

    int16_t unit_type = 0;   // index of the selected model option; also a log header's unit type
    int16_t relay_count = 0; // relays of the model: 0, 2, 3, 5, 6 or 10
    bool dual_point_option = false;
    bool hesvarin_model = false;

    // Figures of the current selection (or of the loaded log after getlogbytes)
    int16_t record_bytes = 0;
    double log_interval = 0;        // minutes
    double duration_multiplier = 0; // log memory bytes / 1440
    double log_memory_bytes = 0;
    double log_duration = 0;    // days
    double latest_log_days = 0; // days kept when the log wraps

    // Read from a loaded log or the unit's log information
    int32_t channel_mask_1 = 0;
    int32_t channel_mask_2 = 0;
    int32_t channel_mask_3 = 0;
    double log_wrapping = 0; // 1 = wrapping
    double log_records = 0;
    QString log_start_date;
    QString log_start_date_text;
    QString chart_log_file; // the log file on the log chart; empty when none

    // The unit's clock as last read: its date order ("DDMMYY", "MMDDYY", "YYMMDD"; empty while
    // unknown), and its "/p931" and "/p932" answers.
    QString unit_date_format;
    QString unit_date_text;
    QString unit_time_text;

    // The chart's units start at the defaults a log without a trailer gets, so that a chart drawn
    // before any log or unit has said otherwise shows millimetres and a multiplier of one.
    ChartUnitSettings chart_units;
    // The Setup dialog keeps the length unit and level offset it opened with (the offset in the
    // dialog's current length unit); apply_level_offset rescales the chart by the difference.
    int16_t setup_start_distance_unit = 2;
    double setup_start_level_offset = 0.0;

    // The legend window beside the log chart
    bool legend_window_shown = false;    // up with the chart
    bool legend_tuck_pending = false;    // the next chart toolbar use keeps it up
    bool legend_refresh_pending = false; // it re-applies its settings when next shown
    int16_t active_series_count = 0;
    int16_t selected_series_index = 0; // the series the title dialog renames
};

LogSetupState& log_setup();
// The identity flags the link holds now.
UnitIdentity unit_identity();
void reset_log_setup_state();
