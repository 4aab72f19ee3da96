#pragma once
// Fitting a page to the room its tab set gives it. Start-up scaling grows every font with the
// screen's width; a page laid out by the toolkit then needs as much room as its texts do, which
// on a wide but low screen, or in a language with long words, is more than the screen has. The
// page's fonts then come down, in small steps and never below a readable floor, until the
// page's least size fits: no scroll bar, every text whole.

#include <QSize>

class QObject;
class QTabWidget;
class QWidget;

inline constexpr double PAGE_FONT_FLOOR_POINTS = 7.0;
inline constexpr double PAGE_FONT_STEP = 0.04;

// Sets every font in `content` (itself included) to `factor` times the size it had when first
// fitted (the scaled design size); 1 restores them.
void set_page_font_factor(QWidget& content, double factor);

// The largest factor (1 at most, in PAGE_FONT_STEP steps) at which `content`'s least size fits
// `room`, with the smallest font no smaller than the floor; the fonts are left at it. When even
// the floor does not fit, the floor's factor.
double fit_page_fonts(QWidget& content, QSize room);

// Fits every page of `tabs` into the room the tab set gives a page. A page that scrolls (a
// scroll area, or a page that a scroll area fills) is fitted by its scrolled widget.
void fit_tab_pages(QTabWidget& tabs);

// True when a page of `tabs` has grown since it was last fitted and no longer fits its room:
// rows that arrive with a parameter set, read-outs that the unit fills in. A page that did not
// fit even at the floor is not reported again until it changes.
bool tab_pages_outgrown(QTabWidget& tabs);

// Whether `w` is the content of a page that has been fitted (what tab_pages_outgrown looks at).
bool is_fitted_content(const QObject& w);
