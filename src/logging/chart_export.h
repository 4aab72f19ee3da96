#pragma once
// The log chart as a CSV file ("Export" in the legend window): a header block naming the file,
// the unit's serial number and when it was saved, a column line of the active series' titles,
// and one line per point with its date and time and every active series' value in quotes. The
// separator is ";" in French and "," otherwise; the file is UTF-8 with a byte order mark, so
// that spreadsheets read the degree sign of the temperature units.

#include "logging/log_chart_model.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <optional>

struct ChartExportInfo {
    QString path;             // shown in the header block
    double serial_number = 0; // P92; no line when 0 or less
    QDateTime saved_on;
    int language_index = 0;
};

// The file's bytes, or nullopt when the chart has no series (there is nothing to export). With
// series but none active the file holds the header block and the date-time column alone.
std::optional<QByteArray> chart_export_csv(const LogChartModel& chart, const ChartExportInfo& info);

// A point's date and time as the export writes it: the short date and the time in the user's
// formats; the date alone at midnight.
QString export_date_time(double x);

// export_chart_data: asks for the file, writes it and says where. A cancelled dialog does
// nothing.
void export_chart_data();
