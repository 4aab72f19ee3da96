#pragma once
// Command texts and file names of the data logging (its settings keys are in
// shell/settings_keys.h).

#include <QString>

namespace logging_commands {

inline const QString LOGINFO = QStringLiteral("/LOGINFO");
inline const QString CLEARLOG = QStringLiteral("/clearlog");
inline const QString SIMLOG = QStringLiteral("/simlog:1");
inline const QString LOADQUICK = QStringLiteral("/LOADQUICK");
inline const QString LOADNORM = QStringLiteral("/LOADNORM");
inline const QString LOADNORM_LOWER = QStringLiteral("/loadnorm");
inline const QString ACCESS = QStringLiteral("/access:");
inline const QString ACCESS_OFF = QStringLiteral("/access:off");

// Single reads of the unit's logger: model, mA input, serial number, and "/p" 150..156 for
// the start date, mask words, interval, wrapping and records.
inline const QString UNIT_TYPE = QStringLiteral("/m99");
inline const QString MA_INPUT = QStringLiteral("/m94");
inline const QString SERIAL_NUMBER = QStringLiteral("/m92");
inline const QString UNIT_TYPE_OWN_LOGGER = QStringLiteral("/p99");
inline const QString SERIAL_NUMBER_OWN_LOGGER = QStringLiteral("/p92");
inline const QString LOG_PARAMETER = QStringLiteral("/p"); // followed by 150..156

// The unit's clock: date digits, time HHMM and date order; "/p931:" and "/p932:" set them.
inline const QString UNIT_DATE = QStringLiteral("/p931");
inline const QString UNIT_TIME = QStringLiteral("/p932");
inline const QString DATE_ORDER = QStringLiteral("/p933");

// Log set-up writes: mask words 1..3, interval, wrapping.
inline const QString MASK_1 = QStringLiteral("/p151:");
inline const QString MASK_2 = QStringLiteral("/p152:");
inline const QString MASK_3 = QStringLiteral("/p153:");
inline const QString INTERVAL = QStringLiteral("/p154:");
inline const QString WRAPPING = QStringLiteral("/p155:");

// The unit's own units, for the log chart.
inline const QString LENGTH_UNIT = QStringLiteral("/P104");
inline const QString VOLUME_UNIT = QStringLiteral("/M605");
inline const QString FLOW_VOLUME_UNIT = QStringLiteral("/M706");
inline const QString FLOW_TIME_UNIT = QStringLiteral("/M707");
inline const QString TOTALISER_MULTIPLIER = QStringLiteral("/M823");

} // namespace logging_commands

namespace logging_files {

// The download's file when the user names none, in the data folder.
inline const QString TEMP_LOG = QStringLiteral("templog.vlg");

} // namespace logging_files
