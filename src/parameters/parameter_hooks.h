#pragma once
// Work of the set-up tabs, the parameter lists and the main window that the parameter rules call
// at fixed points (the vessel and flow element tabs, the device and analogue output rows, the
// parameter grid, the menus' enabling). Each arrives with its own feature; a missing one is
// skipped, as the rules skip a step that fails.

#include <functional>

struct ParameterScreenHooks {
    std::function<void(int)> update_device_setup; // P130..P140 rows
    std::function<void()> update_analog_output;   // after P99 changed
    std::function<void(bool)> update_breakpoints; // true: volume points, false: flow points
    std::function<void()> check_flow_parms;
    std::function<void()> check_volume_parms;
    std::function<void()> update_flow_vessel_image;
    std::function<void()> update_volume_vessel_image;
    std::function<void(int, int)> update_flow_parm_visibility;
    std::function<void(bool, bool)> list_changed_parameters; // (show, keep_mode)
    // Hides the parameter grid; true when it was showing.
    std::function<bool()> hide_parameter_grid;
    std::function<void()> set_param_screen_captions;
    std::function<void()> enable_controls;
    std::function<void(int)> select_parameter_tab; // SSTab1(2)'s tab
};

ParameterScreenHooks& parameter_screen_hooks();
void reset_parameter_screen_hooks();

// Runs a hook when it is installed.
template <class F, class... A> void call_hook(const F& hook, A&&... args) {
    if (hook)
        hook(std::forward<A>(args)...);
}
