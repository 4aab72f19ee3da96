#pragma once
// The program's catalogue and texts read from the shipped files into a fresh parameter state,
// with the edit check on the rows (the program folder must point at the shipped data).
#include "parameters/definition_files.h"
#include "parameters/edit_validation.h"
#include "parameters/parameter_hooks.h"
#include "parameters/parameter_rows.h"
#include "parameters/parameter_state.h"
#include "shell/definitions_table.h"
#include "shell/language_file.h"
#include "shell/option_lists.h"

inline void load_shipped_catalogue() {
    reset_parameter_state();
    reset_parameter_rows();
    reset_parameter_screen_hooks();
    definitions_table() = DefinitionsTable{};
    clear_definitions_table(DEFINITIONS_UPPER);
    read_access_vars_def();
    load_language_file();
    load_language_lists();
    parameter_rows().change_handler = [](int P) { scrpar_Change(P); };
}
