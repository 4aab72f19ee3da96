#pragma once
// The CSO logger's reduced log set-up page: the frames a CSO logger keeps packed into one compact
// block, and its help page beside them. The geometry rule is plain arithmetic in design twips;
// pack_cso_screen arranges the page's frames that way and opens the help page.

#include <QString>
#include <map>

class LogSetupPage;
class QTextBrowser;

namespace cso {

struct FrameRect {
    int left = 0, top = 0, width = 0, height = 0;
    int right() const { return left + width; }
    int bottom() const { return top + height; }
    bool operator==(const FrameRect&) const = default;
};

// What the packing starts from: where frame 0 and frame 3 stand, the left edge of frame 11, and
// for frames 3, 2, 6 and 7 the bottom of the lowest box each shows, measured from the frame's top.
struct PackInput {
    int frame11_left = 0;
    FrameRect frame0;
    int frame3_top = 0;
    std::map<int, int> lowest_box_bottom;
};

inline constexpr int FRAME_GAP = 50;   // between packed frames
inline constexpr int FRAME_SPARE = 60; // below a frame's lowest box

// The packed frames 0, 3, 2, 6 and 7, in twips.
std::map<int, FrameRect> packed_frames(const PackInput& in);

// The language anchor of the help page for a language index ("en", "de", "fr", "it", "es").
QString help_anchor(int language_index);

// The part of the help page in one language: from the heading that holds the language's anchor
// (<a name="de">) to the next heading with an anchor; the whole page when it has no such part.
QString help_section(const QString& html, int language_index);

} // namespace cso

// Packs the kept frames of the page, narrows their boxes, and shows the help page "help.htm" of
// the program folder in a browser beside them (its own message when the page is missing).
// Returns the browser.
QTextBrowser* pack_cso_screen(LogSetupPage& page);
