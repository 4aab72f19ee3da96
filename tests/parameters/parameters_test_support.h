#pragma once
// Shared by the parameter tests: records by number and the shipped catalogue.
#include "fields.h"
#include "parameters/definition_files.h"
#include "parameters/edit_validation.h"
#include "parameters/parameter_hooks.h"
#include "parameters/parameter_rows.h"
#include "parameters/parameter_state.h"
#include "shell/definitions_table.h"
#include "shell/language_file.h"
#include "shell/option_lists.h"

#include <QStringList>
#include <gtest/gtest.h>

inline DefinitionRecord& rec(int p) {
    return definitions_table()[static_cast<size_t>(p)];
}

// The shipped catalogue and texts in a fresh table, with the rows' edit check installed.
inline void load_shipped_catalogue() {
    reset_parameter_state();
    reset_parameter_rows();
    reset_parameter_screen_hooks();
    definitions_table() = DefinitionsTable{};
    clear_definitions_table(DEFINITIONS_UPPER);
    read_access_vars_def();
    load_language_file();
    load_language_lists();
    parameter_rows().change_handler = [](int P) { run_edit_check(P); };
    parameter_rows().commit_handler = [](int P) { return run_typed_edit_check(P); };
}
