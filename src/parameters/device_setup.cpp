#include "parameters/device_setup.h"

#include "link/link_state.h"
#include "parameters/parameter_rows.h"
#include "parameters/parameter_state.h"
#include "parameters/parameter_tooltips.h"
#include "parameters/parameter_values.h"
#include "platform/vb.h"
#include "shell/definitions_table.h"

#include <QScopeGuard>

namespace {
DefinitionRecord& record(int P) {
    return definitions_table()[static_cast<size_t>(P)];
}
} // namespace

void update_device_setup(int P) {
    // Writing a row's text runs the edit check, which comes back here for that row: one pass is
    // enough.
    static bool running = false;
    if (running || P < 130 || P > 140)
        return;
    running = true;
    const auto done = qScopeGuard([] { running = false; });
    ParameterRows& rows = parameter_rows();
    if (link().profibus_mode) {
        record(P).present = P == 132;
        rows.set_visible(P, record(P).present);
        rows.set_label_visible(P, record(P).present);
        rows.set_text(P, stored_box_text(P));
        return;
    }
    const double mode = platform::locale_val(rows.text(130).trimmed());
    for (int Q : {131, 132, 133, 134, 135, 136, 139, 140})
        record(Q).present = (mode == 1 && Q <= 136) || mode == 2;
    for (int Q = 130; Q <= 140; ++Q) {
        if (Q == 137 || Q == 138)
            continue;
        DefinitionRecord& r = record(Q);
        if (r.present && !r.read_only)
            rows.set_tooltip(Q, get_param_tooltip(r));
        rows.set_visible(Q, r.present);
        rows.set_label_visible(Q, r.present);
        rows.set_text(Q, stored_box_text(Q));
        if (r.read_only) {
            rows.set_back_colour(Q, row_colour::LOCKED);
            rows.set_locked(Q, true);
        }
    }
}

void update_analog_output() {
    parameter_state().system_type = static_cast<int>(
        platform::round_half_even(platform::val(parameter_rows().text(99).trimmed())));
}
