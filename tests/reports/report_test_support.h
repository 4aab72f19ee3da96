#pragma once
// Synthetic log charts for the report tests: points placed by calendar date and time of day.

#include "logging/log_chart_model.h"
#include "reports/report_time.h"

#include <QDate>
#include <QTime>

inline double day_serial(int y, int m, int d) {
    return static_cast<double>(QDate(1899, 12, 30).daysTo(QDate(y, m, d)));
}

// The chart's x of a wall-clock moment (seconds since 01/01/1970 on the logged clock).
inline double chart_x(int y, int m, int d, int hh, int mm, int ss = 0) {
    return (day_serial(y, m, d) - reports::CHART_EPOCH_DAY) * 86400.0 + hh * 3600 + mm * 60 + ss;
}
