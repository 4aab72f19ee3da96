#include "shell/command_options.h"

#include "shell/definitions_table.h"
#include "shell/start_settings.h"

#include <QCommandLineParser>

namespace {
const QString MAP_PORT = QStringLiteral("map-port");
const QString PROGRAM = QStringLiteral("quillarnpc");
} // namespace

StartOptions parse_start_options(const QStringList& arguments) {
    StartOptions options;
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QString(BUILT_IN_TITLE) + QLatin1Char(' ') + PROGRAM_VERSION + QStringLiteral(" - ") +
        ui_text(2101, QStringLiteral("sets up level and flow instruments and their data "
                                     "loggers over a serial port.")));
    const QCommandLineOption help(
        {QStringLiteral("?"), QStringLiteral("h"), QStringLiteral("help")},
        ui_text(2102, QStringLiteral("Shows this help and ends.")));
    const QCommandLineOption version(
        {QStringLiteral("v"), QStringLiteral("version")},
        ui_text(2103, QStringLiteral("Shows the program's version and ends.")));
    const QCommandLineOption map_port(
        MAP_PORT,
        ui_text(2104, QStringLiteral("Port number N is the device at PATH (for example "
                                     "1=/dev/ttyUSB0); kept in general.ini. May be repeated.")),
        QStringLiteral("N=PATH"));
    parser.addOption(help);
    parser.addOption(version);
    parser.addOption(map_port);
    parser.addPositionalArgument(
        QStringLiteral("words"),
        ui_text(2105, QStringLiteral("SIM shows the simulation button of the log set-up page; "
                                     "UNSCALE keeps the window at its design size.")),
        QStringLiteral("[SIM] [UNSCALE]"));

    if (!parser.parse(QStringList{PROGRAM} + arguments)) {
        options.action = StartOptions::Action::Error;
        options.message = parser.errorText();
        return options;
    }
    if (parser.isSet(help)) {
        options.action = StartOptions::Action::Help;
        // Without an application object the toolkit cannot know the program's name.
        options.message = parser.helpText().replace(QLatin1String("<executable_name>"), PROGRAM);
        return options;
    }
    if (parser.isSet(version)) {
        options.action = StartOptions::Action::Version;
        options.message = QString(BUILT_IN_TITLE) + QLatin1Char(' ') + PROGRAM_VERSION;
        return options;
    }
    options.port_mappings = parser.values(map_port);
    options.command_line = parser.positionalArguments().join(QLatin1Char(' '));
    return options;
}

bool asks_for_console_answer(const QStringList& arguments) {
    for (const QString& a : arguments) {
        if (a == QLatin1String("--"))
            break;
        if (a == QLatin1String("-h") || a == QLatin1String("--help") || a == QLatin1String("-v") ||
            a == QLatin1String("--version") || a == QLatin1String("-?"))
            return true;
    }
    return false;
}

QString missing_display_message(const QStringList& arguments,
                                const std::function<QString(const char*)>& env) {
    if (arguments.contains(QLatin1String("-platform")) ||
        arguments.contains(QLatin1String("--platform")))
        return {};
    const QString platform = env("QT_QPA_PLATFORM");
    // Platforms that draw without a window system (offscreen, vnc, eglfs, linuxfb) need none.
    if (!platform.isEmpty() && !platform.startsWith(QLatin1String("xcb")) &&
        !platform.startsWith(QLatin1String("wayland")))
        return {};
    if (!env("DISPLAY").isEmpty() || !env("WAYLAND_DISPLAY").isEmpty())
        return {};
    return PROGRAM + QStringLiteral(": ") +
           ui_text(2106, QStringLiteral("no display to open the window on (DISPLAY is not set); "
                                        "start it from a desktop session."));
}
