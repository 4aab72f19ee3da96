#include "ui/screen_geometry.h"

#include <algorithm>

namespace {
// Controls hidden by being parked off the window sit about this far to the left.
constexpr double PARK_OFFSET = 75000;
constexpr double FONT_FACTOR_CAP = 1.5;
constexpr double PANEL_FACTOR = 0.6;
} // namespace

ScreenFactors screen_factors(double work_width, double work_height, double screen_width,
                             double screen_height, double window_width, double window_height) {
    ScreenFactors f;
    if (window_width > 0)
        f.x = std::min(work_width, screen_width) / window_width;
    if (window_height > 0)
        f.y = std::min(work_height, screen_height) / window_height;
    return f;
}

bool scaling_switched_off(const QString& command_line) {
    return command_line.toUpper().contains(QLatin1String("UNSCALE"));
}

bool scaling_applies(const QString& command_line, const ScreenFactors& f) {
    if (scaling_switched_off(command_line))
        return false;
    return !(f.x == 1.0 && f.y == 1.0);
}

Geometry scale_geometry(const Geometry& g, const ScreenFactors& f) {
    Geometry s = g;
    if (g.left < 0) {
        s.left = g.left + PARK_OFFSET;
        s.left = s.left * f.x;
        s.left = s.left - PARK_OFFSET;
    } else {
        s.left = g.left * f.x;
    }
    s.width = g.width * f.x;
    s.top = g.top * f.y;
    s.height = g.height * f.y;
    return s;
}

double font_factor(const ScreenFactors& f) {
    return f.x < FONT_FACTOR_CAP ? f.x : FONT_FACTOR_CAP;
}

double scaled_font_size(double size, const ScreenFactors& f) {
    return size * font_factor(f);
}

double scaled_panel_width(double width, const ScreenFactors& f) {
    return width * f.x * PANEL_FACTOR;
}

MainWindowLayout arrange_overlays(MainWindowLayout l) {
    const double w = l.window.width;
    const double h = l.window.height;
    l.recorder_frame.left = 0;
    l.recorder_frame.top = l.toolbar.top + l.toolbar.height;
    l.busy_frame.left = l.term.left + (l.term.width - l.busy_frame.width) / 2;
    l.busy_frame.top = l.term.top + (l.term.height - l.busy_frame.height) / 2;
    l.animation.width = l.busy_frame.width - 200;
    l.animation.left = (l.busy_frame.width - l.animation.width) / 2;
    l.progress_text.left = (w - l.progress_text.width) / 2;
    l.progress_text.top = (h - l.progress_text.height) * 0.45;
    l.progress_bar.left = (w - l.progress_bar.width) / 2;
    l.progress_bar.top = (h - l.progress_bar.height) * 0.45;
    l.cancel_button.left = (w - l.cancel_button.width) / 2;
    l.cancel_button.top = (h - l.cancel_button.height) * 0.45 + l.progress_text.height / 4;

    l.grid.width = l.grid.width + GRID_ALLOWANCE_TWIPS;
    l.grid.left = l.cso_tabs.width - l.grid.width;
    l.grid.top = l.toolbar.top + l.toolbar.height;
    l.grid.height = l.cso_tabs.top + l.cso_tabs.height - l.grid.top - 60;
    return l;
}

MainWindowLayout arrange_chart_column(MainWindowLayout l) {
    l.square_button.height = l.square_button.width;
    l.square_button.left = 150;
    l.report_button.top = l.square_button.top + l.square_button.height + 10;
    l.report_button.left = l.square_button.left;
    l.command_bar.width = l.square_button.width;
    l.command_bar.top = l.report_button.top + l.report_button.height + 50;
    l.command_bar.height = l.logging_tabs.height - l.command_bar.top - 140;
    l.command_bar.left = l.square_button.left;
    l.log_chart.left = l.square_button.left + l.square_button.width + 150;
    l.log_chart.width = l.logging_tabs.width - l.log_chart.left - 100;
    return l;
}

MainWindowLayout arrange_main_window(MainWindowLayout l) {
    l.window.height = l.window.height - 10;
    l = arrange_overlays(l);
    l = arrange_chart_column(l);
    l.spacer_width = l.toolbar.width - l.spacer_left - l.last_button_width - 100;
    return l;
}
