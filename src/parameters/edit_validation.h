#pragma once
// The check that runs on every change of a parameter row's text, typed by the user or set by the
// program: it normalises the text, checks it against the parameter's limits, stores an accepted
// value in the parameter's record and applies the rules by which one parameter governs others
// (operating mode, length units with the conversion of every length row, relays, device set-up,
// analogue output, vessel and flow set-up). A rejected value is never stored: the row goes back
// to the stored text.

#include <QString>
#include <QStringList>
#include <vector>

// False when the check refused the row's text (outside its limits, a length unit or operating
// mode the unit lacks, a flow element's model beyond its list): the message has been shown and
// the row shows the stored text again.
bool run_edit_check(int Index);

// The edit check of a text the user typed, when the user leaves the box. The text must be one
// number as the locale writes it (platform::typed_number), and is checked as exactly that number;
// anything else ("0.35" where the decimal separator is ",", "1'234.5" where the grouping is "’",
// a fraction for a clock time that the unit takes as whole digits, takes_whole_number) is refused
// with one message, the box shows again what it showed before, and the result is false; so is a
// number the edit check refuses, a fraction for a choice among them. A number is taken at the
// parameter's decimals, as the unit keeps it (kept_value), and shown as it was stored, in the
// locale's form. An emptied box stores nothing and shows what it showed before typing.
bool run_typed_edit_check(int Index);

// The text of the out-of-range message for row P (text_number 1371, or 1186 for P104).
QString range_message(int P, int text_number);

// While a set opened from a file is put on the screen, the checks that its rows run do not tell
// their refusals one by one: they are kept for the file's own message, which tells them once.
struct RefusalsWhileOpening {
    std::vector<int> out_of_range; // rows refused on their limits
    QStringList other;             // any other refusal, "P100: " and its message
};
// Keeps the refusals of the checks in `into` from now on; nullptr tells them again.
void keep_refusals(RefusalsWhileOpening* into);
