#pragma once
// Program-wide variables the main window reads and writes. Those of the parameters
// (parameters_loaded, system_type, the list mode, the file name) live here until the parameter
// state holds them; the window then reads them from there.

#include <QString>
#include <array>
#include <cstdint>

struct MainWindowState {
    // Parameters
    bool parameters_loaded = false;
    int system_type = 0;             // P99 rounded
    int16_t parameter_list_mode = 0; // 0 and 2 grid hidden, 1 changed, 3 all
    QString parameter_file_name;
    QString saved_reply;

    // Logging and echo (the charted log file, the Setup dialog's start values and the legend
    // window's flags live in log_setup())
    QString echo_file_name;

    // Picture places after start-up scaling, in twips: three placement values of the picture
    // (left, top, width) and the height of its frame.
    std::array<int16_t, 4> volume_image_geometry{};
    std::array<int16_t, 4> flow_image_geometry{};
};

MainWindowState& main_window_state();
void reset_main_window_state();
