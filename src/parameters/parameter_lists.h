#pragma once
// The parameter lists: the changed parameters (their value differs from the factory default) or
// every listable one, as the rows of parameter_listing() that the grid shows and the print
// commands print.

// P is listed: from P100 at access level 3 (else P20), not the passcode P922, writable, present,
// and its row not marked as a view of other parameters ("NOT_IN").
bool parameter_listable(int P);
// P's value differs from its default in display units.
bool parameter_changed(int P);

void list_changed_parameters(bool show, bool keep_mode);
void list_all_parameters(bool show);

// The grid that shows the listing; the main window installs it.
class ParameterGridView {
public:
    virtual ~ParameterGridView() = default;
    // Shows the listing (the changed list's colours or the full list's), visible when `show`.
    virtual void show_listing(bool changed_list, bool show) = 0;
    // Hides the grid; true when it was showing.
    virtual bool hide_grid() = 0;
};
void set_parameter_grid_view(ParameterGridView* view);
