#include "ui/main_window_state.h"

MainWindowState& main_window_state() {
    static MainWindowState state;
    return state;
}

void reset_main_window_state() {
    main_window_state() = MainWindowState{};
}
