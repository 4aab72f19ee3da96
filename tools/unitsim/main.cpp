// unitsim: the simulated unit as a program of its own, for running the program against it by
// hand. It links a path to its pseudo-terminal, prints the terminal's path and serves until it is
// stopped.
#include "fault_options.h"
#include "simulator.h"

#include <QCommandLineParser>
#include <QCoreApplication>
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
        "KIND[=VALUE][@PATTERN] (PATTERN: the commands it applies to, case ignored, a trailing * "
        "matches the front; without it every command), for example --fault late=6000@/p20 or "
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
    QString error;
    if (parser.isSet("defs") && !sim.unit().set_definitions_folder(parser.value("defs"), &error))
        std::fprintf(stderr, "unitsim: %s; using the built-in parameters\n", qPrintable(error));
    if (parser.isSet("seed") && !sim.unit().load_parameter_file(parser.value("seed"), &error))
        std::fprintf(stderr, "unitsim: %s; parameter file not used\n", qPrintable(error));
    sim.set_baud(baud);
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

    std::printf("%s\n", qPrintable(sim.slave_path()));
    std::fflush(stdout);
    return app.exec();
}
