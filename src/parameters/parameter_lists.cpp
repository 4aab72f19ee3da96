#include "parameters/parameter_lists.h"

#include "parameters/parameter_listing.h"
#include "parameters/parameter_record.h"
#include "parameters/parameter_rows.h"
#include "parameters/parameter_state.h"
#include "platform/vb.h"
#include "shell/definitions_table.h"
#include "shell/option_lists.h"
#include "shell/shell_state.h"

namespace {

ParameterGridView*& grid_view() {
    static ParameterGridView* view = nullptr;
    return view;
}

const DefinitionRecord& record(int P) {
    return definitions_table()[static_cast<size_t>(P)];
}

double display_scale() {
    const double p104 = record(104).unit_value;
    return p104 == 1 ? 1 : length_unit_factor(1, static_cast<int>(p104));
}

void fill(bool changed_only) {
    ParameterListing& L = parameter_listing();
    L.headings = {QStringLiteral("Par."), ui_text(1368, QStringLiteral("Description")),
                  ui_text(1369, QStringLiteral("Value")), ui_text(1188, QStringLiteral("Default"))};
    L.rows.clear();
    const int level = shell().access_level;
    const double scale = display_scale();
    for (int P = level == 3 ? 100 : 20; P <= DEFINITIONS_UPPER; ++P) {
        if (!parameter_listable(P) || (changed_only && !parameter_changed(P)))
            continue;
        const DefinitionRecord& r = record(P);
        ParameterListingRow row;
        const bool hidden_number =
            changed_only && (level == 2 || level == 3) && (P == 90 || P == 96 || P == 99);
        row.number = hidden_number ? QString() : QStringLiteral("P") + QString::number(P);
        row.description = r.text;
        row.value = platform::number_text(platform::val(r.value_text));
        row.default_value = platform::number_text(get_param_default_value(scale, P));
        L.rows.push_back(row);
    }
}

} // namespace

void set_parameter_grid_view(ParameterGridView* view) {
    grid_view() = view;
}

bool parameter_listable(int P) {
    if (P < (shell().access_level == 3 ? 100 : 20) || P > DEFINITIONS_UPPER || P == 922)
        return false;
    const DefinitionRecord& r = record(P);
    return !r.read_only && r.present && scrpar(P).tag != NOT_IN_TAG;
}

bool parameter_changed(int P) {
    return platform::val(record(P).value_text) != get_param_default_value(display_scale(), P);
}

void list_changed_parameters(bool show, bool keep_mode) {
    fill(true);
    if (!keep_mode)
        parameter_state().parameter_list_mode = 1;
    if (grid_view())
        grid_view()->show_listing(true, show || keep_mode);
}

void list_all_parameters(bool show) {
    fill(false);
    if (grid_view())
        grid_view()->show_listing(false, show);
}
