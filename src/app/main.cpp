#include "platform/dialogs.h"
#include "platform/program_folder.h"
#include "shell/command_options.h"
#include "shell/start_window.h"
#include "shell/start_settings.h"
#include "ui/main_window.h"

#include <QApplication>
#include <cstdio>

namespace {

// What the command line asks for besides running: help, the version, or a mistake. Printed on
// the terminal; an empty result means the program runs.
std::optional<int> answer_on_console(const StartOptions& options) {
    switch (options.action) {
    case StartOptions::Action::Run:
        return std::nullopt;
    case StartOptions::Action::Help:
    case StartOptions::Action::Version:
        std::fprintf(stdout, "%s\n", qPrintable(options.message.trimmed()));
        return 0;
    case StartOptions::Action::Error:
        std::fprintf(stderr, "quillarnpc: %s\nquillarnpc --help lists the options.\n",
                     qPrintable(options.message));
        return 2;
    }
    return 2;
}

QStringList raw_arguments(int argc, char* argv[]) {
    QStringList list;
    for (int i = 1; i < argc; ++i)
        list << QString::fromLocal8Bit(argv[i]);
    return list;
}

} // namespace

int main(int argc, char* argv[]) {
    // Help and the version need no window system, and a missing display gets one line instead of
    // the toolkit's page of plug-in diagnostics.
    const QStringList raw = raw_arguments(argc, argv);
    if (asks_for_console_answer(raw))
        if (const auto code = answer_on_console(parse_start_options(raw)))
            return *code;
    const QString no_display =
        missing_display_message(raw, [](const char* name) { return qEnvironmentVariable(name); });
    if (!no_display.isEmpty()) {
        // A mistyped option is the first thing to tell about.
        if (const auto code = answer_on_console(parse_start_options(raw)))
            return *code;
        std::fprintf(stderr, "%s\n", qPrintable(no_display));
        return 1;
    }

    QApplication app(argc, argv);
    platform::set_application_title(QString(BUILT_IN_TITLE));

    QStringList arguments = QCoreApplication::arguments();
    if (!arguments.isEmpty())
        arguments.removeFirst();
    const StartOptions options = parse_start_options(arguments);
    if (const auto code = answer_on_console(options))
        return *code;
    // Only the plain words reach the program's own switches: a device path such as
    // ".../unitsim.tty" must not read as "SIM".
    platform::set_command_line(options.command_line);
    // The main window's load applies the "--map-port N=PATH" mappings once the settings are read.
    QStringList mappings;
    for (const QString& m : options.port_mappings)
        mappings << QStringLiteral("--map-port") << m;
    set_start_arguments(mappings);
    install_main_window();
    start_window().show();
    return app.exec();
}
