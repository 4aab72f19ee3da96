#pragma once
// The start-up scaling of the main window to the screen it runs on.

#include "ui/screen_geometry.h"

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
