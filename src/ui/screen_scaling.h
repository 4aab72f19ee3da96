#pragma once
// The start-up scaling of the main window to the screen it runs on.

#include "ui/screen_geometry.h"

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <optional>

class QWidget;

// Controls whose "Tag" property holds "NOSCALE" are left as they are.
inline constexpr const char* NOSCALE_PROPERTY = "Tag";

// Scales `form` by the factors: the window's place and size, every control's font (by the font
// factor; every tab set takes the first tab set's size), the place and size of the controls no
// layout places, and the status bar panels' widths. Controls tagged "NOSCALE", controls inside a
// "Copy Options" frame and grids keep everything, their font included. Nothing happens under
// the "UNSCALE" switch or when both factors are 1.
void scale_form(QWidget& form, const ScreenFactors& factors, const QString& command_line);

// The screen the main window starts on: its whole area and the work area (without panels).
struct ScreenArea {
    QRect whole;
    QRect work;
};
// The screen of `window` (or the primary one), unless a screen is set for tests, which lay the
// window out for screens they do not have.
std::optional<ScreenArea> screen_area(const QWidget& window);
void set_screen_area_for_tests(std::optional<ScreenArea> area);

// The window's client size once the window system has put its frame (title bar, borders) round
// it: the start-up size is meant for the whole window, frame included, so a frame that pushes the
// window past the work area takes its room from the client area. The size is never made larger.
QSize client_size_within_work_area(const QRect& work, const QRect& frame, const QSize& client);
// Where the frame goes to lie whole in the work area: where it is, or moved the least way in (a
// place chosen before the window system put its frame round the window, the bottom left corner
// of the screen for instance, leaves the frame's bottom past the edge).
QPoint frame_position_within_work_area(const QRect& work, const QRect& frame);

// Keeps `window` whole in the work area of its screen, frame included, as the window system
// reports the frame: the client area gives up what does not fit and the frame moves in.
void keep_frame_in_work_area(QWidget& window);
// The same for a window other than the main window, from now on whenever it is shown, moved or
// activated (the frame is certainly known by then).
void keep_window_in_work_area(QWidget& window);
