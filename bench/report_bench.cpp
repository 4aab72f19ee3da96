// A daily report over a year of 15-minute data: the computation over the log chart and the layout
// of its text into the preview's document. The bound is 300 ms for the two together.

#include "bench_support.h"
#include "logging/log_chart_model.h"
#include "reports/report_document.h"
#include "reports/report_engine.h"
#include "reports/report_time.h"

#include <QAbstractTextDocumentLayout>
#include <QTextDocument>
#include <cmath>

namespace {

constexpr int POINTS = 365 * 96;
constexpr int SERIES = 6;

LogChartModel year_chart() {
    LogChartModel chart;
    const double start = (46000.0 - reports::CHART_EPOCH_DAY) * 86400.0;
    for (int s = 0; s < SERIES; ++s) {
        chart.add_series(s == 1 ? QStringLiteral("Flow 1 (l/s)") : QStringLiteral("Level %1 (m)").arg(s));
        LogChartSeries& series = chart.series(s);
        series.x.reserve(POINTS);
        series.y.reserve(POINTS);
        for (int i = 0; i < POINTS; ++i)
            series.add_point(start + i * 900.0, 2.0 + std::sin(i * 0.01 + s) + s);
    }
    return chart;
}

reports::ReportRequest year_request() {
    reports::ReportRequest r;
    r.company_name = QStringLiteral("Water Board");
    r.from_day = 46000;
    r.to_day = 46364;
    r.trend_series = 0;
    r.trend_title = QStringLiteral("Level 0 (m)");
    r.trend_units = QStringLiteral("m");
    r.daily_total_enabled = true;
    r.total_series = 1;
    r.total_title = QStringLiteral("Flow 1 (l/s)");
    r.method = 2;
    r.units = {0, 0, 1};
    r.log_interval = 15;
    r.flow_unit_box_enabled = true;
    return r;
}

void BM_DailyReportOverAYear(benchmark::State& state) {
    const LogChartModel chart = year_chart();
    const reports::ReportRequest request = year_request();
    for (auto _ : state) {
        reports::ReportDocument doc;
        reports::generate_report(chart, request, doc);
        QTextDocument preview;
        reports::write_to_text_document(doc, preview, 96.0 / 72.0);
        benchmark::DoNotOptimize(preview.documentLayout()->documentSize());
    }
    state.counters["points"] = static_cast<double>(POINTS) * SERIES;
}
BENCHMARK(BM_DailyReportOverAYear)->Unit(benchmark::kMillisecond);

void BM_ComputationOnly(benchmark::State& state) {
    const LogChartModel chart = year_chart();
    const reports::ReportRequest request = year_request();
    for (auto _ : state) {
        reports::ReportDocument doc;
        benchmark::DoNotOptimize(reports::generate_report(chart, request, doc));
    }
}
BENCHMARK(BM_ComputationOnly)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return bench::run_benchmarks(argc, argv);
}
