// The parameter road's own cost against the simulated unit at 115200 baud:
//  - a full download by "/sendall" and by the one-by-one sweep, and a full upload, each measured
//    through the program (program_ms) and as the same commands made by a bare serial client
//    (write, wait for the line end) on the same line (line_ms); vs_line = program / line stays
//    within 1.05 when the program adds nothing of its own; vs_wire compares with the bytes' time
//    on the line;
//  - filling the parameter screen's rows after a download (fill_ms, bound 50 ms), and switching
//    the grid between the changed and the full list (switch_ms, bound 30 ms).
// The simulated unit runs on a thread of its own, as a real unit runs beside the PC.

#include "bench_support.h"
#include "link/link_state.h"
#include "parameters/definition_files.h"
#include "parameters/edit_validation.h"
#include "parameters/parameter_listing.h"
#include "parameters/parameter_lists.h"
#include "parameters/parameter_pages.h"
#include "parameters/parameter_rows.h"
#include "parameters/parameter_rows_view.h"
#include "parameters/parameter_screen.h"
#include "parameters/parameter_state.h"
#include "parameters/parameter_transfer.h"
#include "parameters/parameter_work.h"
#include "platform/dialogs.h"
#include "platform/program_folder.h"
#include "platform/vb.h"
#include "shell/definitions_table.h"
#include "shell/language_file.h"
#include "shell/option_lists.h"

#include <QTableWidget>

namespace {

using bench::BAUD;
using bench::since;

// A level unit with the program's definitions, answering "/who" with `version` when given.
struct SimulatorThread : bench::SimulatorThread {
    explicit SimulatorThread(const QString& version) {
        prepare = [version](unitsim::Simulator& s) {
            if (!version.isEmpty())
                unitsim::apply_version_reply(s.unit().profile(), version);
            s.unit().set_definitions_folder(QString(QUILLARN_DATA_DIR) + "/" +
                                            QString(DEFINITIONS_FOLDER));
        };
    }
};

// Runs `f` on the simulator's thread and waits for it.
template <class F> void on_unit(SimulatorThread& t, F f) {
    QMetaObject::invokeMethod(
        t.sim, [&] { f(*t.sim); }, Qt::BlockingQueuedConnection);
}

struct Road {
    QTemporaryDir dir;
    SimulatorThread thread;
    RecordingLinkView view;
    platform::ScriptedDialogs dialogs;
    RecordingTransferView transfer;

    explicit Road(const QString& version) : thread(version) {
        thread.start_unit();
        platform::set_program_folder(QUILLARN_DATA_DIR);
        shell().ini_path = dir.filePath("general.ini");
        shell().data_folder = dir.path();
        shell().login_passcode = "318406";
        shell().access_level = 1;
        set_transfer_view(&transfer);
        platform::set_dialogs(&dialogs);
        clear_definitions_table(DEFINITIONS_UPPER);
        read_access_vars_def();
        load_language_file();
        load_language_lists();
        parameter_rows().change_handler = [](int P) { run_edit_check(P); };
        bench::open_program_port(dir, thread.sim->slave_path(), view);
    }
    ~Road() {
        MSComm1().set_port_open(false);
        platform::set_dialogs(nullptr);
        set_transfer_view(nullptr);
        set_link_view(nullptr);
    }

    QStringList take_received() {
        QStringList r;
        on_unit(thread, [&](unitsim::Simulator& s) {
            r = s.received();
            s.clear_received();
        });
        return r;
    }
    // A full download with its save dialog cancelled.
    void download() {
        dialogs.files.push_back(QString());
        getparameters_all(false);
    }
    QByteArray line_end() {
        QByteArray e;
        on_unit(thread, [&](unitsim::Simulator& s) { e = s.responder().line_end(); });
        return e;
    }
};

// The table's set onto the parameter screen's rows, as after a download.
void show_set() {
    parameter_state().parameter_set_loading = true;
    update_parameter_screen(true);
    parameter_state().parameter_set_loading = false;
}

// The commands the program sent, made again by a bare serial client. Returns the seconds taken
// and adds the bytes exchanged.
double bare_line_seconds(Road& road, const QStringList& commands, double& bytes) {
    const double seconds =
        bench::bare_line_seconds(road.thread.sim->slave_path(), commands, road.line_end(), &bytes);
    road.take_received();
    return seconds;
}

// The log-on's own pauses (the port's settle pauses and the two seconds it gives the unit after
// logging on), which the one-by-one read starts with and a bare client does not make.
constexpr double LOG_ON_PAUSES = 0.1 + 0.1 + 2.0;

void report(benchmark::State& state, double bytes, double program, double line, double pauses = 0) {
    const double n = static_cast<double>(state.iterations());
    if (pauses > 0) {
        state.counters["pauses_ms"] = pauses * 1000.0;
        state.counters["vs_line_less_pauses"] = line > 0 ? (program - pauses * n) / line : 0;
    }
    const double wire = bytes * 10.0 / BAUD;
    state.counters["program_ms"] = program / n * 1000.0;
    state.counters["line_ms"] = line / n * 1000.0;
    state.counters["wire_ms"] = wire / n * 1000.0;
    state.counters["vs_line"] = line > 0 ? program / line : 0;
    state.counters["vs_wire"] = wire > 0 ? program / wire : 0;
}

void download_bench(benchmark::State& state, const QString& version, double pauses) {
    Road road(version);
    double program = 0, line = 0, bytes = 0;
    for (auto _ : state) {
        road.take_received();
        road.dialogs.files.push_back(QString()); // the save dialog cancelled
        const auto start = std::chrono::steady_clock::now();
        getparameters_all(false);
        program += since(start);
        if (link().comms_abort) {
            state.SkipWithError("the download failed");
            return;
        }
        state.PauseTiming();
        const QStringList commands = road.take_received();
        line += bare_line_seconds(road, commands, bytes);
        state.ResumeTiming();
    }
    report(state, bytes, program, line, pauses);
}

void BM_DownloadBySendall(benchmark::State& state) {
    download_bench(state, QString(), 0);
}
BENCHMARK(BM_DownloadBySendall)->Iterations(10)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_DownloadBySweep(benchmark::State& state) {
    download_bench(state, QStringLiteral("1.80"), LOG_ON_PAUSES);
}
BENCHMARK(BM_DownloadBySweep)->Iterations(2)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Upload(benchmark::State& state) {
    Road road{QString()};
    road.download();
    show_set();
    double program = 0, line = 0, bytes = 0;
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        ++round;
        // Forty rows changed each time, so that every upload has writes to make.
        int changed = 0;
        for (int P : parameter_rows().numbers()) {
            const DefinitionRecord& r = definitions_table()[static_cast<size_t>(P)];
            if (changed == 40 || r.read_only || !r.present || !scrpar(P).visible ||
                r.lookup_code != QLatin1String("C_NUM") || r.decimals != 0 || P >= 130)
                continue;
            const double lo = platform::val(r.min_text), hi = platform::val(r.max_text);
            if (hi - lo < 4)
                continue;
            parameter_rows().set_text(P, QString::number(lo + 1 + round % 2));
            ++changed;
        }
        road.take_received();
        road.dialogs.answers = {platform::Answer::Ok, platform::Answer::Yes, platform::Answer::Ok};
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        upload_parameters();
        program += since(start);
        if (link().comms_abort) {
            state.SkipWithError("the upload failed");
            return;
        }
        state.PauseTiming();
        const QStringList commands = road.take_received();
        line += bare_line_seconds(road, commands, bytes);
        state.ResumeTiming();
    }
    report(state, bytes, program, line);
}
BENCHMARK(BM_Upload)->Iterations(5)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ScreenFill(benchmark::State& state) {
    Road road{QString()};
    road.download();
    QWidget window;
    auto* page = new ParameterPage(&window);
    auto* vessel = new VesselPage(&window);
    auto* flow = new FlowPage(&window);
    std::vector<int> all;
    for (int P = 20; P <= 999; ++P)
        all.push_back(P);
    parameter_rows().create_rows(all); // a row for every parameter number
    ParameterRowsView view(*page, *vessel, *flow);
    install_set_up_rules();
    window.resize(1366, 768);
    window.show();
    QCoreApplication::processEvents();
    double seconds = 0;
    const std::vector<DefinitionRecord> downloaded(definitions_table().begin(),
                                                   definitions_table().end());
    for (auto _ : state) {
        state.PauseTiming();
        std::copy(downloaded.begin(), downloaded.end(), definitions_table().begin());
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        show_set();
        QCoreApplication::processEvents(); // the repaint the fill asked for
        seconds += since(start);
    }
    state.counters["rows"] = static_cast<double>(parameter_rows().numbers().size());
    state.counters["fill_ms"] = seconds / static_cast<double>(state.iterations()) * 1000.0;
}
BENCHMARK(BM_ScreenFill)->Iterations(20)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ListSwitch(benchmark::State& state) {
    Road road{QString()};
    road.download();
    show_set();
    QTableWidget grid(1, 4);
    grid.resize(420, 560);
    make_widget_grid_view(&grid, &grid);
    grid.show();
    QCoreApplication::processEvents();
    double seconds = 0;
    bool all = false;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        all = !all;
        all ? list_all_parameters(true) : list_changed_parameters(true, true);
        QCoreApplication::processEvents();
        seconds += since(start);
    }
    state.counters["rows"] = static_cast<double>(parameter_listing().count());
    state.counters["switch_ms"] = seconds / static_cast<double>(state.iterations()) * 1000.0;
}
BENCHMARK(BM_ListSwitch)->Iterations(20)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    return bench::run_benchmarks(argc, argv, [] { MSComm1().set_port_open(false); });
}
