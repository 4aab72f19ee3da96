#pragma once
// Program-wide variables the main window reads and writes. Those of the parameters
// (parameters_loaded, system_type, the list mode, the file name, saved_reply) live in the
// parameter state (parameters/parameter_state.h).

#include <QString>
#include <array>
#include <cstdint>

struct MainWindowState {
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
