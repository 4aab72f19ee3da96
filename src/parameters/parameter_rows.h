#pragma once
// The rows of the parameter screen without their widgets: per parameter number P the box
// (scrpar(P): text, shown, locked, colours, bold, hover text, tag) and its caption
// (scrlabel(P)), and the few frames and tabs the parameter rules switch. The rules of the
// parameter road read and write this model; the page's widgets only mirror it, so the rules are
// tested without a window and the page stays thin.
//
// set_text is the one road for a change of a box's text made by the program: when the text
// differs it runs the change handler (the edit check, scrpar_Change) at once, so that nothing
// depends on which widget signal fires. The user's typing goes through set_typed_text and is
// checked when the user leaves the box (commit).

#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <vector>

// Colours as the rows store them (red in the low byte).
namespace row_colour {
inline constexpr uint32_t WHITE = 0xFFFFFF;
inline constexpr uint32_t BLACK = 0x000000;
inline constexpr uint32_t RED = 0x0000FF;
inline constexpr uint32_t LOCKED = 0x80000000; // the system's scroll-bar colour
} // namespace row_colour

inline const QString NOT_IN_TAG = QStringLiteral("NOT_IN"); // rows the lists leave out

struct ParameterRow {
    bool exists = false;
    QString text;
    bool visible = false;
    bool locked = false;
    uint32_t back_colour = row_colour::WHITE;
    uint32_t fore_colour = row_colour::BLACK;
    bool bold = false;
    QString tooltip;
    QString tag;
    bool label_visible = false;
    QString caption;
    bool operator==(const ParameterRow&) const = default;
};

class ParameterRows {
public:
    static constexpr int FIRST = 20;
    static constexpr int LAST = 1000;

    // Which numbers have a row (the form's design). Rows start empty and hidden.
    void create_row(int P);
    void create_rows(const std::vector<int>& numbers);
    void remove_all_rows();
    bool has_row(int P) const;
    std::vector<int> numbers() const;

    // A missing row reads as an empty hidden one; writes to it are ignored.
    const ParameterRow& row(int P) const;
    const QString& text(int P) const { return row(P).text; }

    void set_text(int P, const QString& text);
    void set_typed_text(int P, const QString& text);
    // False when the check refused what the user typed: the box shows its old text again, and
    // the page puts the user back into it.
    bool commit(int P);
    // What row P showed before the user started typing into it.
    const QString& text_before_typing(int P) const;
    // Checks every row the user typed into and has not left yet (a click on a toolbar key does
    // not take the focus from the box). Each row it refuses is told to the refusal followers.
    // False when it refused one: the user is back in that box, and the work the key started (a
    // save, an upload, Set KOVEX) stops there, before it asks or sends anything.
    bool commit_pending();

    void set_visible(int P, bool visible);
    void set_locked(int P, bool locked);
    void set_back_colour(int P, uint32_t colour);
    void set_fore_colour(int P, uint32_t colour);
    void set_bold(int P, bool bold);
    void set_tooltip(int P, const QString& tooltip);
    void set_tag(int P, const QString& tag);
    void set_label_visible(int P, bool visible);
    void set_caption(int P, const QString& caption);

    // Frames and tab pages the rules show or hide, by their design names ("Frame16",
    // "SSTab1(1):2" for tab 2 of SSTab1(1)). Unknown names read as shown.
    void set_switch(const QString& name, bool on);
    bool switch_on(const QString& name) const;

    // The edit check; runs for set_text changes and, without a commit handler, for commits.
    std::function<void(int)> change_handler;
    // The check of a text the user typed, run when the user leaves the box; false when it
    // refused the text.
    std::function<bool(int)> commit_handler;
    // Called for each row (or switch) that changed, so a page can mirror it; while updates are
    // suspended the changes are gathered and reported once when they resume.
    std::function<void(int)> row_changed;
    // Further pages that show some rows' boxes a second time (the KOVEX tab) follow each row
    // change as row_changed does (a follower adds or removes none while it is told). The key
    // returned removes the follower again.
    int add_row_follower(std::function<void(int)> follower);
    void remove_row_follower(int key);
    // Told of each row whose typed text commit_pending refused: the user is still in its box, and
    // the page whose box has the focus puts them back into it with its text selected.
    int add_refusal_follower(std::function<void(int)> follower);
    void remove_refusal_follower(int key);
    std::function<void(const QString&, bool)> switch_changed;
    // Called after create_rows, so a page can build the widgets of the new rows.
    std::function<void()> rows_created;
    // Called around the report of the gathered changes (true before, false after).
    std::function<void(bool)> batch;
    void suspend_updates();
    void resume_updates();

    // The rows and switches as they stand, for work that changes them on its way and must put
    // them back when it does not finish. restore reports each row and switch it changes and runs
    // no edit check.
    struct Snapshot {
        std::vector<ParameterRow> rows;
        std::map<QString, bool> switches;
    };
    // Copies them into `into`, whose room is used again.
    void snapshot(Snapshot& into) const;
    void restore(const Snapshot& s);

private:
    ParameterRow* writable(int P);
    void changed(int P);
    void report(int P);

    std::array<ParameterRow, LAST + 1> rows_{};
    std::map<QString, bool> switches_;
    std::vector<int> pending_;
    std::array<bool, LAST + 1> pending_flag_{};
    std::array<bool, LAST + 1> typed_{};
    std::array<QString, LAST + 1> before_typing_{};
    int suspended_ = 0;
    int committing_ = -1; // the row whose typed text is being checked
    using Followers = std::map<int, std::function<void(int)>>;
    int add_follower(Followers& to, std::function<void(int)> follower);
    Followers followers_;
    Followers refusal_followers_;
    int next_follower_ = 0;

    friend void reset_parameter_rows();
};

ParameterRows& parameter_rows();
// Removes every row and switch and forgets the handlers and followers (tests).
void reset_parameter_rows();

// Row P's text box, as the design's code names it.
inline const ParameterRow& scrpar(int P) {
    return parameter_rows().row(P);
}
