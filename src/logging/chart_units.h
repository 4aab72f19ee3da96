#pragma once
// The log chart's units (length, flow, volume, totaliser and multiplier) and level offset: their
// defaults, the trailer line that keeps them in a log file, the unit words of each channel and
// series title, and the rescaling of the charted points when the length unit or offset changes.
// The settings themselves are log_setup().chart_units.

#include "logging/log_setup_state.h"

#include <QByteArray>
#include <QString>
#include <optional>

// Sets the chart units to the defaults of a log without a trailer.
void reset_chart_settings();

// Asks whether a non-zero level offset stays; No sets it to 0.
void confirm_level_offset();

// Takes the chart units from the file's last complete trailer line; a file without one leaves
// them as they are. False when the file cannot be read.
bool read_chart_settings(const QString& path);

// Replaces the file's trailer (the first whole trailer line after the data line and everything
// after it) by `trailer`, or appends it when the file has none; a "~" inside the data is kept. The file is rewritten through a temporary file in its
// own folder, so a failure leaves it as it was; false then.
bool save_chart_settings(const QString& path, const QString& trailer);

// Unit words of a log channel in the current language; empty for channels without a unit.
QString get_trace_units(int channel);
// A series title: the channel box's caption, the point on the two-point model, and the units in
// parentheses.
QString get_trace_title(int channel);
// Unit words of the n-th charted channel (from 0), or "no units".
QString get_enabled_trace_units(int n);

// Retitle and rescale the series of the log chart (log_chart_model()), which holds one series per
// channel enabled in the log channel table, time stamp excepted, in channel order.
void update_series_titles();
void apply_level_offset();

// The Setup dialog's "Update & Exit" for the chart (software modes 0 and 2): retitles the
// series, keeps changed units in the charted log file's trailer (not in the download's temporary
// file) and rescales the points. `trailer_when_opened` is the trailer line the settings gave when
// the dialog opened. A trailer that cannot be saved is reported; the chart is updated anyway.
void apply_chart_unit_changes(const QString& trailer_when_opened);

namespace logsetup {

// Sizes of the unit word lists the indexes address.
inline constexpr int DISTANCE_UNIT_COUNT = 5;
inline constexpr int VOLUME_UNIT_COUNT = 7;
inline constexpr int TIME_UNIT_COUNT = 5;
inline constexpr int QUANTITY_UNIT_COUNT = 10;
inline constexpr int MULTIPLIER_COUNT = 10;

// Every index moved into its word list.
ChartUnitSettings clamp_chart_units(ChartUnitSettings settings);

// "~" and the six indexes and the level offset, separated by "|". The offset is written with "."
// whatever the locale (a comma would split the trailer into two fields of the log's data), in the
// shortest form that reads back as the same number.
QString chart_settings_trailer(const ChartUnitSettings& settings);

// The settings a trailer line gives: the text after its first "~", split at "|", seven fields or
// more, every one a number (the offset with "." or ","). nullopt when the line does not qualify;
// then nothing of it is used.
std::optional<ChartUnitSettings> parse_chart_settings_trailer(const QString& line);

// The chart settings of a log file's bytes: its last whole trailer line after the data line, or
// nullopt when it has none.
std::optional<ChartUnitSettings> chart_settings_in_log(const QByteArray& bytes);
// The log's bytes with `trailer` in place of its trailer: everything before the first line that
// chart_settings_in_log would take is kept (a "~" in the data is not a trailer), the rest goes.
// nullopt when `trailer` is no trailer the reader takes back.
std::optional<QByteArray> log_with_trailer(const QByteArray& bytes, const QString& trailer);

// The chart units the unit's own settings give, from the replies to "/P104" (length unit 1..5),
// "/M605" (volume unit), "/M706" (flow volume unit, also the totaliser's), "/M707" (flow time
// unit) and "/M823" (totaliser multiplier 1..10). A reply outside its range gives the default.
int16_t distance_unit_from_reply(const QString& reply);
int16_t volume_unit_from_reply(const QString& reply);
int16_t flow_volume_unit_from_reply(const QString& reply);
int16_t flow_time_unit_from_reply(const QString& reply);
int16_t totaliser_multiplier_from_reply(const QString& reply);
// The totaliser unit of a pumped-volume model, which follows "/M605"; a volume unit beyond the
// totaliser's list gives no unit.
int16_t pumped_totaliser_unit_from_reply(const QString& reply);

} // namespace logsetup
