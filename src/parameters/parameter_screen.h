#pragma once
// The parameter screen: puts a loaded set on the rows (which are present, shown, locked, how
// each value is written and which are marked as changed), with the frame and tab rules that
// follow from the set. Called after a download and after a parameter file is opened; parts of it
// also run after single edits.

#include <QString>

// The whole screen for a freshly loaded set; `refresh_flag` goes to the changed list.
void update_parameter_screen(bool refresh_flag);
// Every row: shown, text, locked, colours and hover text, in one pass with updates suspended.
void show_parameters_on_form();
// Marks row P bold white on red when its value differs from its default in display units.
void highlight_param_box(int P);
// Re-displays one writable row.
void refresh_param_box(int P);
// Read-only and present rules of the vessel and flow parameters, and their rows.
void apply_param_access_rules();
// The fieldbus and power-save frames.
void update_param_enables();
// After the texts of another language were loaded: every row's caption, hover text and the
// meaning beside its box, the set-up tabs' picture names and the list in view take the new
// language; values, colours and what is shown stay as they are.
void refresh_parameter_texts();

// The text a read-only row P shows for `value` (brand names, padded dates and times).
QString read_only_display_text(int P);

// Gives every defined parameter P20..P999 its row, once (the rows follow the catalogue).
void ensure_parameter_rows();
