#include "parameters/parameter_hooks.h"

ParameterScreenHooks& parameter_screen_hooks() {
    static ParameterScreenHooks hooks;
    return hooks;
}

void reset_parameter_screen_hooks() {
    parameter_screen_hooks() = ParameterScreenHooks{};
}
