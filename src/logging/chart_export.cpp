#include "logging/chart_export.h"

#include "link/link_view.h"
#include "logging/legend_window.h"
#include "logging/log_setup_state.h"
#include "platform/dialogs.h"
#include "platform/text_file.h"
#include "platform/vb.h"
#include "shell/definitions_table.h"
#include "shell/settings.h"
#include "shell/settings_keys.h"
#include "shell/shell_state.h"

#include <QFileInfo>
#include <QTimeZone>

namespace {

const QString CRLF = QStringLiteral("\r\n");

// A title as a cell: quoted (quotes doubled) when it holds the separator or a quote.
QString cell(const QString& text, QChar separator) {
    if (!text.contains(separator) && !text.contains(QLatin1Char('"')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

} // namespace

QString export_date_time(double x) {
    const QDateTime t =
        QDateTime::fromSecsSinceEpoch(static_cast<qint64>(std::llround(x)), QTimeZone::utc());
    const platform::DateFormats& f = platform::date_formats();
    const QString date = platform::format_date(t, f.short_date);
    if (t.time() == QTime(0, 0))
        return date;
    return date + QLatin1Char(' ') + platform::format_date(t, f.long_time);
}

std::optional<QByteArray> chart_export_csv(const LogChartModel& chart, const ChartExportInfo& info) {
    std::vector<const LogChartSeries*> active;
    size_t rows = 0;
    for (int k = 0; k < chart.series_count(); ++k) {
        const LogChartSeries& s = chart.series(k);
        rows = std::max(rows, std::min(s.x.size(), s.y.size()));
        if (s.active)
            active.push_back(&s);
    }
    // With no series ticked the file still lists when each record was taken.
    if (chart.series_count() == 0)
        return std::nullopt;
    const QChar separator = info.language_index == 2 ? QLatin1Char(';') : QLatin1Char(',');
    const QString rule(70, QLatin1Char('-'));
    QString out;
    out.reserve(static_cast<qsizetype>(rows * (20 + active.size() * 12)) + 512);
    out += rule + CRLF;
    out += QStringLiteral("File Name : ") + info.path + CRLF;
    if (info.serial_number > 0)
        out += QStringLiteral("Serial Number : ") + QLatin1Char(' ') +
               platform::number_text(info.serial_number).trimmed() + QLatin1Char(' ') + CRLF;
    out += QStringLiteral("Saved on ") +
           export_date_time(double(info.saved_on.toSecsSinceEpoch()) +
                            info.saved_on.offsetFromUtc()) +
           CRLF;
    out += rule + CRLF;
    out += QStringLiteral("Date&Time");
    for (const LogChartSeries* s : active)
        out += separator + cell(s->title, separator);
    out += CRLF;
    for (size_t j = 0; j < rows; ++j) {
        // The record's time from the first series that has this point.
        for (int k = 0; k < chart.series_count(); ++k) {
            const LogChartSeries& s = chart.series(k);
            if (j < s.x.size()) {
                out += export_date_time(s.x[j]);
                break;
            }
        }
        for (const LogChartSeries* s : active) {
            out += separator;
            if (j < s->y.size() && j < s->x.size())
                out += QLatin1Char('"') + platform::number_text(s->y[j]).trimmed() +
                       QLatin1Char('"');
        }
        out += CRLF;
    }
    return QByteArray("\xEF\xBB\xBF") + out.toUtf8();
}

void export_chart_data() {
    LogSetupState& s = log_setup();
    ShellState& sh = shell();
    tuck_away_legend_window();
    s.legend_window_shown = false;

    platform::FileDialogRequest request;
    request.title = ui_text(1142, QStringLiteral("E&xport")).remove(QLatin1Char('&'));
    request.filter = ui_text(1141, QStringLiteral("CSV File")) + QStringLiteral(" (*.csv)|*.csv");
    request.folder = read_ini(sh.ini_path, ini::SECTION_GENERAL, ini::KEY_EXPORT_PATH,
                              sh.export_path.isEmpty() ? sh.data_folder : sh.export_path);
    const QString path = platform::dialogs().save_file(request);
    if (path.isEmpty())
        return;
    write_ini(sh.ini_path, ini::SECTION_GENERAL, ini::KEY_EXPORT_PATH,
              QFileInfo(path).absolutePath());
    link_view().set_status_text(1, ui_text(1143, QStringLiteral("Exporting data...")));

    ChartExportInfo info;
    info.path = QFileInfo(path).absoluteFilePath();
    info.serial_number = definitions_table()[92].unit_value;
    info.saved_on = QDateTime::currentDateTime();
    info.language_index = sh.language_index;
    const auto bytes = chart_export_csv(log_chart_model(), info);
    link_view().set_status_text(1, QString());
    if (!bytes) {
        platform::msg_box(ui_text(2317, QStringLiteral("No series is shown on the chart: there is "
                                                       "nothing to export.")),
                          platform::mb::Information);
        return;
    }
    if (!platform::write_file_atomically(path, *bytes)) {
        link_view().set_progress_value(1, 0);
        platform::msg_box(ui_text(2318, QStringLiteral("Error in exporting data file")) +
                              QStringLiteral("\r\n") + path,
                          platform::mb::Ok, ui_text(2319, QStringLiteral("Export Error")));
        return;
    }
    platform::msg_box(ui_text(1140, QStringLiteral("Data exported to")) + QLatin1Char(' ') +
                          info.path,
                      platform::mb::Information);
}
