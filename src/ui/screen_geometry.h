#pragma once
// The geometry of the main window's start-up scaling and layout, in twips as the window was
// designed (9600 x 7200 twips). Plain arithmetic; the window converts to pixels and applies it.

#include <QString>

inline constexpr double DESIGN_WIDTH_TWIPS = 9600;
inline constexpr double DESIGN_HEIGHT_TWIPS = 7200;
inline constexpr double TWIPS_PER_PIXEL = 15; // at 96 dots per inch

inline int twips_to_pixels(double twips) {
    return static_cast<int>(twips / TWIPS_PER_PIXEL + (twips < 0 ? -0.5 : 0.5));
}
inline double pixels_to_twips(int pixels) {
    return pixels * TWIPS_PER_PIXEL;
}

// The parameter grid is as wide as its columns and this much more (frame and scroll bar).
inline constexpr double GRID_ALLOWANCE_TWIPS = 350;

struct Geometry {
    double left = 0, top = 0, width = 0, height = 0;
    bool operator==(const Geometry&) const = default;
};

struct ScreenFactors {
    double x = 1.0;
    double y = 1.0;
};

// The smaller of the work area and the screen, divided by the window's size.
ScreenFactors screen_factors(double work_width, double work_height, double screen_width,
                             double screen_height, double window_width, double window_height);

// True when the command line turns scaling off ("UNSCALE" in any case, anywhere).
bool scaling_switched_off(const QString& command_line);

// True when scale_form has nothing to do.
bool scaling_applies(const QString& command_line, const ScreenFactors& f);

// A control's place and size after scaling. Controls parked far to the left (hidden by being
// off the window) stay parked the same distance from -75000.
Geometry scale_geometry(const Geometry& g, const ScreenFactors& f);

// Fonts grow with the horizontal factor, by half at most.
double font_factor(const ScreenFactors& f);
double scaled_font_size(double size, const ScreenFactors& f);

// A status bar panel's width (or minimum width) after scaling.
double scaled_panel_width(double width, const ScreenFactors& f);

// The controls the layout places after scaling, and the window they are in. All in the window's
// coordinates except `animation`, which is inside `busy_frame`.
struct MainWindowLayout {
    Geometry window;
    Geometry toolbar;
    Geometry recorder_frame; // the echo recorder panel
    Geometry term;
    Geometry busy_frame;    // busy_frame
    Geometry animation;     // busy_animation
    Geometry progress_text; // progress_text
    Geometry progress_bar;  // ProgressBar[3]
    Geometry cancel_button; // cancel_button
    Geometry square_button; // legend_button
    Geometry report_button; // report_button
    Geometry command_bar;   // TeeCommander1
    Geometry log_chart;     // the log chart page's log_chart
    Geometry logging_tabs;  // SSTab1(0)
    Geometry cso_tabs;      // SSTab1(1)
    Geometry grid;          // parameter_grid
    double spacer_left = 0; // toolbar button 20
    double spacer_width = 0;
    double last_button_width = 0; // toolbar button 21
};

// The layout rules in their order; each rule sees what the rules before it changed.
MainWindowLayout arrange_main_window(MainWindowLayout l);

// The rules by the part of the window they place, for a window whose size changes after
// start-up: the controls laid over the pages (the recorder frame under the toolbar, the busy
// frame over the terminal box, the progress text, bar and Cancel, the parameter grid), and the
// column beside the log chart with the chart itself.
MainWindowLayout arrange_overlays(MainWindowLayout l);
MainWindowLayout arrange_chart_column(MainWindowLayout l);
