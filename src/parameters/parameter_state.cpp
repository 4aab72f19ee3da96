#include "parameters/parameter_state.h"

ParameterState& parameter_state() {
    static ParameterState state;
    return state;
}

void reset_parameter_state() {
    parameter_state() = ParameterState{};
}
