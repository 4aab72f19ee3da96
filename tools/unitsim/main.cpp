// unitsim: the simulated unit as a program of its own, for running the program against it by
// hand. It links a path to its pseudo-terminal, says in one line what it serves and on which
// terminal, and serves until it is stopped.
#include "log_stream.h"
#include "fault_options.h"
#include "simulator.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QRegularExpression>
#include <QSocketNotifier>
#include <csignal>
#include <vector>
#include <cstdio>
#include <unistd.h>

namespace {

int signal_pipe[2] = {-1, -1};

void on_signal(int) {
    const char c = 1;
    [[maybe_unused]] auto n = ::write(signal_pipe[1], &c, 1);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("unitsim");

    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Simulated unit on a pseudo-terminal.\n\nMisbehaviour, one --fault each, "
        "KIND[=VALUE][@PATTERN][#N] (PATTERN: the commands it applies to, case ignored, a "
        "trailing * matches the front; without it every command; #N: only the first N of them), "
        "for example --fault late=6000@/p20, --fault late=25000@/ECHORAW1#1 or "
        "--fault drop-after=200:\n  " +
        unitsim::fault_help().join("\n  "));
    parser.addHelpOption();
    parser.addOption({"link", "Make PATH a link to the unit's terminal.", "PATH"});
    parser.addOption({"defs", "Seed the parameters from the definition files in DIR.", "DIR"});
    parser.addOption(
        {"baud", "Pace replies at N baud (0: no pacing; default 19200).", "N", "19200"});
    parser.addOption({"kind",
                      "The kind of unit: " + unitsim::kind_names().join(", ") + " (default cso).",
                      "KIND", "cso"});
    parser.addOption({"seed", "Take parameter values from the parameter file FILE.", "FILE"});
    parser.addOption({"modem",
                      "Put a Hayes modem in front of the unit; a dial ends in RESULT "
                      "(CONNECT 19200, BUSY, NO CARRIER, NO ANSWER, NO DIALTONE).",
                      "RESULT"});
    parser.addOption({"log-file", "Seed the unit's data log from the log file FILE (.vlg).", "FILE"});
    parser.addOption({"log-split", "Send the log stream in writes of N bytes.", "N"});
    parser.addOption(
        {"log-stall", "Pause the log stream for MS milliseconds after BYTES bytes.", "BYTES:MS"});
    parser.addOption(
        {"log-stop", "Stop the log stream after BYTES bytes, without its line end.", "BYTES"});
    parser.addOption({"log-trailing-comma", "End the log stream with a comma after the last "
                                            "record."});
    parser.addOption({"version-reply",
                      "Report communication firmware VERSION (for example 1.80: parameters are "
                      "then read one by one instead of in one block).",
                      "VERSION"});
    parser.addOption({"fault", "Misbehave as SPEC says (see above); may be given more than once.",
                      "SPEC"});
    parser.process(app);

    // The CSO unit by default: the program starts as the CSO logger's companion, and this kind
    // answers every step of its log-on and log commands.
    const auto kind = unitsim::kind_from_name(parser.value("kind"));
    if (!kind) {
        std::fprintf(stderr, "unitsim: unknown kind \"%s\"; one of %s\n",
                     qPrintable(parser.value("kind")),
                     qPrintable(unitsim::kind_names().join(", ")));
        return 2;
    }
    bool baud_ok = false;
    const int baud = parser.value("baud").toInt(&baud_ok);
    if (!baud_ok || baud < 0) {
        std::fprintf(stderr, "unitsim: --baud wants a whole number, 0 or more\n");
        return 2;
    }

    std::vector<unitsim::ParsedFault> faults;
    for (const QString& spec : parser.values("fault")) {
        faults.push_back(unitsim::parse_fault(spec));
        if (!faults.back().error.isEmpty()) {
            std::fprintf(stderr, "unitsim: --fault %s\n", qPrintable(faults.back().error));
            return 2;
        }
    }

    unitsim::Simulator sim(*kind);
    for (const auto& fault : faults)
        unitsim::apply_fault(sim.responder(), fault);
    if (!sim.is_open()) {
        std::fprintf(stderr, "unitsim: %s\n", qPrintable(sim.error()));
        return 1;
    }
    if (parser.isSet("version-reply")) {
        const QString version = parser.value("version-reply").trimmed();
        static const QRegularExpression form("^\\d\\.\\d{1,2}$");
        if (!form.match(version).hasMatch()) {
            std::fprintf(stderr, "unitsim: --version-reply wants a version such as 1.80\n");
            return 2;
        }
        unitsim::apply_version_reply(sim.unit().profile(), version);
        sim.unit().reseed();
    }
    QString error;
    if (parser.isSet("defs") && !sim.unit().set_definitions_folder(parser.value("defs"), &error))
        std::fprintf(stderr, "unitsim: %s; using the built-in parameters\n", qPrintable(error));
    if (parser.isSet("seed") && !sim.unit().load_parameter_file(parser.value("seed"), &error))
        std::fprintf(stderr, "unitsim: %s; parameter file not used\n", qPrintable(error));
    sim.set_baud(baud);
    if (parser.isSet("modem")) {
        sim.set_modem(true);
        sim.modem().set_dial_result(parser.value("modem").toUpper());
    }
    if (parser.isSet("log-file") &&
        !unitsim::seed_log_from_file(sim.unit().log(), parser.value("log-file"), &error))
        std::fprintf(stderr, "unitsim: %s; the log is left empty\n", qPrintable(error));
    unitsim::LogStreamOptions stream;
    stream.split_every = parser.value("log-split").toLongLong();
    if (parser.isSet("log-stall")) {
        const QStringList parts = parser.value("log-stall").split(':');
        stream.stall_at = parts.value(0).toLongLong();
        stream.stall_ms = parts.value(1).toDouble();
    }
    if (parser.isSet("log-stop"))
        stream.stop_at = parser.value("log-stop").toLongLong();
    stream.trailing_comma = parser.isSet("log-trailing-comma");
    unitsim::set_log_stream(sim.responder(), stream);
    if (parser.isSet("link") && !sim.link(parser.value("link"), &error)) {
        std::fprintf(stderr, "unitsim: %s\n", qPrintable(error));
        return 1;
    }

    if (::pipe(signal_pipe) == 0) {
        auto* notifier = new QSocketNotifier(signal_pipe[0], QSocketNotifier::Read, &app);
        QObject::connect(notifier, &QSocketNotifier::activated, &app, &QCoreApplication::quit);
        std::signal(SIGINT, on_signal);
        std::signal(SIGTERM, on_signal);
        std::signal(SIGHUP, on_signal);
    }
    QObject::connect(&sim, &unitsim::Simulator::command_received, [](const QString& command) {
        std::fprintf(stderr, "unitsim: < %s\n", qPrintable(command));
    });

    // One line that says what is served and where; the terminal's path follows " on ".
    const QString who = sim.unit().profile().who_reply.trimmed();
    QString where = sim.slave_path();
    if (parser.isSet("link"))
        where += " (linked as " + parser.value("link") + ")";
    std::printf("unitsim: serving a simulated %s unit (\"%s\") at %s baud on %s; Ctrl+C stops it\n",
                qPrintable(unitsim::kind_name(*kind)), qPrintable(who),
                baud == 0 ? "unpaced" : qPrintable(QString::number(baud)), qPrintable(where));
    std::fflush(stdout);
    return app.exec();
}
