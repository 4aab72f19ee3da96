#pragma once
// A clean log chart for the chart window tests: no legend window, fresh shell and log set-up
// state, no captions from a language file, and an empty chart with its default display.
#include "logging/legend_window.h"
#include "logging/log_chart_model.h"
#include "logging/log_setup_state.h"
#include "shell/definitions_table.h"
#include "shell/shell_state.h"

inline LogChartModel& fresh_log_chart() {
    unload_legend_window();
    reset_shell_state();
    reset_log_setup_state();
    for (auto& r : definitions_table())
        r.text.clear();
    LogChartModel& model = log_chart_model();
    model.remove_all_series();
    model.display = {};
    return model;
}
