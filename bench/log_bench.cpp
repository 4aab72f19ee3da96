// A full log on the chart and through the line. Benchmarks report:
//  - LoadFullLog/<set>/<debug>: from a 262144-byte log file on disk to a drawn chart (read,
//    decode, series, replot); bound 250 ms. points: the points charted; rss_ratio: the process'
//    memory growth for the load over the points' own size (16 bytes each: x and y); bound 2.
//    With debug 1 (Debug=True) every record is echoed into a shown traffic box as well; bound 1 s.
//  - Replot/<set>: one replot after a zoom and a pan with every series shown; bound 20 ms.
//  - Download: "/getlog" of a full log from the simulated unit (its own thread) at 115200 baud,
//    program and unit clocks scaled by 10; vs_wire = time taken / the stream's wire time, bound
//    1.02.
// Sets: "level" logs the level only (52k records), "wide" every one-byte channel with the relays
// (12k records, 26 series).

#include "bench_support.h"
#include "link/link_state.h"
#include "link/traffic_box.h"
#include "link/traffic_log.h"
#include "logging/chart_export.h"
#include "logging/log_channels.h"
#include "logging/log_chart_commands.h"
#include "logging/log_chart_model.h"
#include "logging/log_chart_page.h"
#include "logging/log_setup_page.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/vb.h"
#include "shell/definitions_table.h"
#include "shell/option_lists.h"

#include <QFile>
#include <malloc.h>
#include <qcustomplot.h>
#include <unistd.h>

namespace {

constexpr int LOG_BYTES = 262144;
using bench::BAUD;
using bench::since;
constexpr double SCALE = 10;

double rss_bytes() {
    malloc_trim(0);
    QFile f(QStringLiteral("/proc/self/statm"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = f.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toDouble() * double(sysconf(_SC_PAGESIZE)) : 0;
}

struct LogSet {
    std::vector<int> channels;
};

// A log file of LOG_BYTES bytes of records of `channels`, one every 15 minutes.
QByteArray make_log(const std::vector<int>& channels) {
    logsetup::ChannelSet set;
    set.set(TIME_STAMP_CHANNEL);
    for (int c : channels)
        set.set(static_cast<size_t>(c));
    const auto m = logsetup::mask_words(set);
    const int bytes = logsetup::record_size(set, log_setup().log_channel_table);
    const int records = LOG_BYTES / bytes;
    QByteArray out = "0,2,0,10126," + QByteArray::number(m.word1) + "," +
                     QByteArray::number(m.word2) + "," + QByteArray::number(m.word3) + ",15,0," +
                     QByteArray::number(records) + ",4711";
    out.reserve(records * (2 * bytes + 2) + 100);
    for (int i = 0; i < records; ++i) {
        const int minutes = i * 15;
        const int day = minutes / 1440, hhmm = (minutes % 1440) / 60 * 100 + minutes % 60;
        QByteArray r;
        r.append(char((day >> 4) & 0xFF));
        r.append(char(((day & 0xF) << 4) | ((hhmm >> 8) & 0xF)));
        r.append(char(hhmm & 0xFF));
        for (int k = 3; k < bytes; ++k)
            r.append(char((i * 7 + k * 13) & 0xFF));
        if (i > 0)
            out += ',';
        out += '$' + r.toHex().toUpper();
    }
    return out + "\r\n~2|0|0|0|0|3|0\r\n";
}

const LogSet& log_set(int index) {
    static const LogSet level{{0}};
    static const LogSet wide{{2, 3, 4, 5, 6, 7, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21,
                              32, 33}};
    return index == 0 ? level : wide;
}

struct Pages {
    QTemporaryDir dir;
    platform::ScriptedDialogs dialogs;
    LogSetupPage setup;
    LogChartPage chart;
    TrafficBox term;
    Pages() {
        platform::set_dialogs(&dialogs);
        init_log_channel_bytes();
        init_log_channel_decimals();
        load_language_lists();
        shell().software_mode = 0;
        chart.resize(1100, 560);
        term.bind(&traffic().term());
        term.resize(400, 300);
        term.show();
    }
};

Pages& pages() {
    static Pages p;
    return p;
}

QString log_file(int index) {
    const QString path = pages().dir.filePath(QStringLiteral("log%1.vlg").arg(index));
    if (!QFile::exists(path)) {
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(make_log(log_set(index).channels));
    }
    return path;
}

double charted_points() {
    double n = 0;
    for (int k = 0; k < log_chart_model().series_count(); ++k)
        n += log_chart_model().series(k).point_count();
    return n;
}

// Log `index` on the chart with every series shown; false (and the benchmark skipped) when it
// does not load.
bool load_every_series(benchmark::State& state, int index) {
    if (!load_log_file(pages().setup, log_file(index), true)) {
        state.SkipWithError("the log did not load");
        return false;
    }
    LogChartModel& model = log_chart_model();
    for (int k = 0; k < model.series_count(); ++k)
        model.series(k).active = true;
    return true;
}

void BM_LoadFullLog(benchmark::State& state) {
    Pages& p = pages();
    const QString path = log_file(static_cast<int>(state.range(0)));
    shell().debug_enabled = state.range(1) != 0;
    double ratio = 0;
    for (auto _ : state) {
        state.PauseTiming();
        log_chart_model().remove_all_series();
        p.chart.log_chart->replot();
        const double before = rss_bytes();
        state.ResumeTiming();
        if (!load_log_file(p.setup, path, true)) {
            state.SkipWithError("the log did not load");
            return;
        }
        p.chart.log_chart->replot();
        state.PauseTiming();
        ratio = (rss_bytes() - before) / (charted_points() * 16);
        state.ResumeTiming();
    }
    shell().debug_enabled = false;
    state.counters["points"] = charted_points();
    state.counters["rss_ratio"] = ratio;
}
BENCHMARK(BM_LoadFullLog)
    ->Args({0, 0})
    ->Args({1, 0})
    ->Args({0, 1})
    ->Args({1, 1})
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);

void BM_Replot(benchmark::State& state) {
    Pages& p = pages();
    if (!load_every_series(state, static_cast<int>(state.range(0))))
        return;
    log_chart_model().display.points_per_page = 0; // every point on one page
    log_chart_model().changed();
    QCustomPlot* plot = p.chart.log_chart;
    plot->replot();
    int i = 0;
    for (auto _ : state) {
        // Zoom in and out by a quarter and pan a little, as the wheel and a drag do.
        plot->xAxis->scaleRange(i % 2 ? 1.25 : 0.8);
        plot->xAxis->moveRange(plot->xAxis->range().size() * (i % 3 - 1) * 0.05);
        plot->replot();
        ++i;
    }
    state.counters["points"] = charted_points();
}
BENCHMARK(BM_Replot)->Arg(0)->Arg(1)->Iterations(20)->Unit(benchmark::kMillisecond);

// A series switched on and off, a page step, with the full wide log and every series shown.
void BM_ChartChange(benchmark::State& state) {
    Pages& p = pages();
    if (!load_every_series(state, 1))
        return;
    LogChartModel& model = log_chart_model();
    model.display.points_per_page = 0;
    model.changed();
    QCustomPlot* plot = p.chart.log_chart;
    plot->replot();
    int i = 0;
    for (auto _ : state) {
        switch (state.range(0)) {
        case 0: // a series off or on
            model.series(1).active = !model.series(1).active;
            break;
        case 1: // a retitle
            model.series(1).title = QStringLiteral("Title %1").arg(i);
            break;
        default: // a page step of 1000 points
            model.display.points_per_page = 1000;
            model.display.page = i % model.page_count();
            break;
        }
        model.changed();
        plot->replot();
        ++i;
    }
    state.counters["points"] = charted_points();
}
BENCHMARK(BM_ChartChange)->Arg(0)->Arg(1)->Arg(2)->Iterations(20)->Unit(benchmark::kMillisecond);

void BM_ExportCsv(benchmark::State& state) {
    if (!load_every_series(state, 1))
        return;
    LogChartModel& model = log_chart_model();
    ChartExportInfo info;
    info.path = QStringLiteral("/tmp/x.csv");
    info.saved_on = QDateTime::currentDateTime();
    double size = 0;
    for (auto _ : state) {
        const auto bytes = chart_export_csv(model, info);
        size = bytes ? double(bytes->size()) : 0;
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["points"] = charted_points();
    state.counters["bytes"] = size;
}
BENCHMARK(BM_ExportCsv)->Iterations(3)->Unit(benchmark::kMillisecond);

void BM_Download(benchmark::State& state) {
    QTemporaryDir dir;
    // A unit whose log is full, on a clock scaled as the program's.
    bench::SimulatorThread thread;
    thread.prepare = [](unitsim::Simulator& s) {
        s.set_time_scale(SCALE);
        s.unit().log().set_mask(1, 1);
        const int records = s.unit().log().capacity();
        s.unit().log().simulate(records, QDateTime(QDate(2026, 12, 1), QTime(12, 0)));
    };
    RecordingLinkView view;
    platform::set_time_scale(SCALE);
    bench::open_program_port(dir, thread.start_unit().slave_path(), view);
    double seconds = 0, bytes = 0;
    for (auto _ : state) {
        QByteArray data;
        bool idle = false;
        const auto start = std::chrono::steady_clock::now();
        receive_log_stream(data, idle);
        seconds += since(start) * SCALE;
        if (idle || !data.endsWith('\n')) {
            state.SkipWithError("the download did not complete");
            break;
        }
        // The command and the unit's stream, less the serial number the program inserts.
        bytes += 8 + double(data.size()) - 1 -
                 double(platform::number_text_c(definitions_table()[92].unit_value).size());
    }
    const double wire = bytes * 10.0 / BAUD;
    state.counters["program_s"] = seconds / double(state.iterations());
    state.counters["wire_s"] = wire / double(state.iterations());
    state.counters["vs_wire"] = seconds / wire;
    MSComm1().set_port_open(false);
    set_link_view(nullptr);
    platform::set_time_scale(1);
}
BENCHMARK(BM_Download)->Iterations(2)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    return bench::run_benchmarks(argc, argv);
}
