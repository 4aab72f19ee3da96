#include "parameters/screen_to_table.h"

#include "link/link_state.h"
#include "parameters/parameter_hooks.h"
#include "parameters/parameter_rows.h"
#include "parameters/parameter_state.h"
#include "parameters/parameter_values.h"
#include "platform/vb.h"
#include "shell/definitions_table.h"

namespace {
DefinitionRecord& record(int p) {
    return definitions_table()[static_cast<size_t>(p)];
}
} // namespace

void get_screen_parameters() {
    ParameterRows& rows = parameter_rows();
    for (int P : rows.numbers()) {
        if (P > 999)
            continue;
        DefinitionRecord& r = record(P);
        if (!r.read_only) {
            const ParameterRow& box = rows.row(P);
            r.present = box.visible;
            // A hidden box may still hold the text of a set shown before: the record keeps
            // what the current set holds ("NO" for a parameter it lacks). An empty box is no
            // value either, never a 0: the record keeps what it holds, a value or none.
            if (box.visible && !box.text.trimmed().isEmpty()) {
                const QString v = platform::locale_text_to_c(box.text.trimmed());
                r.value_text = v;
                r.unit_value = platform::val(v);
            }
        }
        if (P == 96) {
            const QString code = fieldbus_code_text(r.value_text.trimmed());
            if (code != r.value_text.trimmed()) {
                r.value_text = code;
                // The protocol's number goes with its name, or an upload would send 0 (Off).
                if (!r.read_only)
                    r.unit_value = platform::val(code);
            }
        }
    }
}

void update_parameters_from_screen() {
    LinkState& L = link();
    // What the user typed last is checked before it goes into a file or to the unit.
    parameter_rows().commit_pending();
    get_screen_parameters();
    L.volume_mode = record(100).unit_value == 5;
    L.flow_mode = record(100).unit_value == 4;
    if (L.flow_mode) {
        for (int i = 0; i < 64; ++i) {
            DefinitionRecord& to = record(610 + i);
            DefinitionRecord& from = record(730 + i);
            to.unit_value = from.unit_value;
            to.value_text = from.value_text;
            to.read_only = from.read_only;
            to.present = from.present;
            to.text = from.text;
            to.max_text = from.min_text;
            to.min_text = from.max_text;
            from.program_value = NO_VALUE;
            from.unit_value = NO_VALUE;
        }
    }
    parameter_state().parameters_loaded = true;
    call_hook(parameter_screen_hooks().list_changed_parameters, false, false);
}
