#pragma once
// The vessel and flow element set-up tabs: which of their rows apply to the chosen vessel shape
// (P600) or flow element (P700, P701), the limits of dimension A (P710), the maximum-flow row,
// the breakpoint profiles and the picture with its name. The rules work on the records and the
// row model; the pages draw what setup_tabs() holds.

#include <QString>
#include <array>
#include <functional>

struct SetupPicture {
    QString path;         // the picture file; empty when there is none
    QString name;         // shown under the picture
    bool reduced = false; // smaller, beside the breakpoint chart
    QString note;         // the note under some flow elements; empty when none
};

struct SetupTabs {
    SetupPicture vessel;
    SetupPicture flow;
    std::array<double, 32> volume_breakpoint_levels{};
    std::array<double, 32> volume_breakpoint_volumes{};
    std::array<double, 32> flow_breakpoint_levels{};
    std::array<double, 32> flow_breakpoint_flows{};
    double prim_pmd_copy = 0;
    // The pages redraw pictures and charts when this runs.
    std::function<void()> changed;
};

SetupTabs& setup_tabs();
void reset_setup_tabs();

// ---- Vessel
// The shape's name in the current language ("" for a value that is no shape).
QString vessel_shape_name(double p600);
// Images/vessel_<P600>.svg in the program folder.
QString vessel_image_path(double p600);
void check_volume_parms();
void update_breakpoints(bool volume);
void update_volume_vessel_image();

// ---- Flow element
// The device as one number 0..25 for the row rules, from P700 and P701.
int get_unit_variant();
bool parameter_applies(int P);
bool update_flow_parm_visibility(int first, int last);
void check_flow_parms();
// The picture number of P700 and P701 (51..53 for "Special", 61 and 62 for "Universal").
int flow_image_code(double p700, double p701);
QString flow_image_path(int code);
void update_flow_vessel_image();

// The label of the entry "<box text>=" in an option list hover text, up to the next entry, the
// end of the list or the current language's default marker.
QString name_from_tooltip(const QString& tooltip, const QString& box_text);
