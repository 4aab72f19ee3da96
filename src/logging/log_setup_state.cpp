#include "logging/log_setup_state.h"

LogSetupState& log_setup() {
    static LogSetupState state;
    return state;
}

void reset_log_setup_state() {
    log_setup() = LogSetupState{};
}
