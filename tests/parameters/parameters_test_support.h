#pragma once
// Shared by the parameter tests: records by number, and record fields compared as one readable
// list, so that a failure shows every field of the record at once.
#include "qt_print.h"
#include "parameters/definition_files.h"
#include "parameters/edit_validation.h"
#include "parameters/parameter_hooks.h"
#include "parameters/parameter_rows.h"
#include "parameters/parameter_state.h"
#include "shell/definitions_table.h"
#include "shell/language_file.h"
#include "shell/option_lists.h"

#include <QStringList>
#include <concepts>
#include <gtest/gtest.h>

inline DefinitionRecord& rec(int p) {
    return definitions_table()[static_cast<size_t>(p)];
}

inline QString field_text(const QString& s) {
    return s;
}
inline QString field_text(const char* s) {
    return QString::fromUtf8(s);
}
inline QString field_text(bool b) {
    return b ? "true" : "false";
}
inline QString field_text(std::integral auto v) {
    return QString::number(v);
}
inline QString field_text(double v) {
    return QString::number(v, 'g', 15);
}

template <class... T> QStringList fields(const T&... values) {
    return {field_text(values)...};
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
    parameter_rows().change_handler = [](int P) { scrpar_Change(P); };
}
