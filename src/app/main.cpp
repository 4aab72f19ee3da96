#include "platform/program_folder.h"
#include "shell/command_options.h"
#include "shell/frm_about.h"
#include "shell/start_settings.h"
#include "ui/form1.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(BUILT_IN_TITLE);

    QStringList arguments = QCoreApplication::arguments();
    if (!arguments.isEmpty())
        arguments.removeFirst();
    const StartOptions options = parse_start_options(arguments);
    // Only the plain words reach the program's own switches: a device path such as
    // ".../unitsim.tty" must not read as "SIM".
    platform::set_command_line(options.command_line);
    // The main window's load applies the "--map-port N=PATH" mappings once the settings are read.
    set_start_arguments(arguments);
    install_main_window();
    frm_about().show();
    return app.exec();
}
