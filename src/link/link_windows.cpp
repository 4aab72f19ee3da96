#include "link/link_windows.h"

#include "link/parameter_window.h"
#include "link/modem_window.h"
#include "link/reprogram.h"
#include "shell/main_window_services.h"

#include <QDialog>

void install_link_windows(MainWindowServices& services) {
    services.parameter_window = [] { return static_cast<QWidget*>(&parameter_window()); };
    services.show_interactive_window = [&services] {
        ParameterWindow& w = parameter_window();
        if (services.run_modal)
            services.run_modal(w);
        else
            w.exec();
        // However the window ended, it is unloaded: the next opening starts logged off.
        w.Form_Unload();
    };
    services.show_modem_window = [] { show_modem_window(); };
    services.bootload = [] { bootload_Click(); };
    services.program_comm = [] { ProgramComm_Click(); };
    services.program_velto = [] { ProgramVelto_Click(); };
    services.veltoprogram = [] { veltoprogram_Click(); };
}
