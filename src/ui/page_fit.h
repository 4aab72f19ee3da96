#pragma once
// Fitting a page to the room its tab set gives it. Start-up scaling grows every font with the
// screen's width; a page laid out by the toolkit then needs as much room as its texts do, which
// on a wide but low screen, or in a language with long words, is more than the screen has. The
// page's fonts then come down, in small steps and never below a readable floor, until the
// page's least size fits: no scroll bar, every text whole.

#include <QPointer>
#include <QSize>
#include <vector>

class QObject;
class QScrollArea;
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

// True when a page of `tabs` ought to be fitted again: it has grown since it was last fitted and
// no longer fits its room (rows that arrive with a parameter set, read-outs that the unit fills
// in), or its fonts came down for a view that has changed since (the universal shape's points
// gone again), so that they may grow back. A page that did not fit even at the floor is not
// reported again until it changes.
bool tab_pages_need_fitting(QTabWidget& tabs);

// A tab set inside a page counts with its page in view only: the page's fonts follow what the
// user sees, so a crowded page of the set (the system tab with its points) does not keep the
// others small once the user has left it. The tab set's own tabs keep their size whatever the
// fonts of the page, so that they never move under the mouse of a user going from tab to tab.
void fit_to_current_page(QTabWidget& tabs);

// Whether `w` is the content of a page that has been fitted (what tab_pages_need_fitting looks at).
bool is_fitted_content(const QObject& w);

// While the user types into the boxes of a page, nothing may move them: the changed list coming
// or going, a refit of the page's fonts, a scroll bar taking its width from the page. Such work
// waits until the user leaves the page's boxes or the page, and is then done at once; only the
// room a changed list that went leaves waits until the user leaves the page, for the click that
// took them from the boxes must not find the page moving under it.
class TypingHold {
public:
    void start() { typing_ = true; }
    bool typing() const { return typing_; }
    // True when work that would move the boxes must wait; it is then owed. The scroll areas
    // under `pages` keep the bars they show meanwhile, so a page that grows does not narrow.
    bool hold(QWidget& pages);
    // The user left: true when work is owed and is to be done now.
    bool end();

private:
    struct Frozen {
        QPointer<QScrollArea> area;
        Qt::ScrollBarPolicy vertical, horizontal; // the areas' own policies
    };
    bool typing_ = false;
    bool owed_ = false;
    std::vector<Frozen> frozen_;
};
