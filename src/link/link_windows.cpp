#include "link/link_windows.h"

#include "link/form5.h"
#include "link/form7.h"
#include "link/reprogram.h"
#include "ui/main_window_services.h"

#include <QDialog>

void install_link_windows(MainWindowServices& services) {
    services.interactive_window = [] { return static_cast<QWidget*>(&interactive_window()); };
    services.show_interactive_window = [&services] {
        form5& w = interactive_window();
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
