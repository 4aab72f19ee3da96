#pragma once
// The rules of the parameter rows without a window or a unit: the shipped catalogue and texts,
// every defined parameter with a row, and a set "loaded" with every parameter at its default.
#include "parameters_test_support.h"

#include "link/link_state.h"
#include "parameters/parameter_screen.h"
#include "platform/dialogs.h"
#include "platform/program_folder.h"
#include "platform/vb.h"
#include "shell/shell_state.h"

// The shipped catalogue and English texts, every defined parameter with a row, a set "loaded"
// with every parameter at its default.
class ParameterRules : public ::testing::Test {
protected:
    void SetUp() override {
        saved_folder_ = platform::program_folder();
        platform::set_program_folder(QUILLARN_DATA_DIR);
        reset_shell_state();
        reset_link_state();
        load_shipped_catalogue();
        ensure_parameter_rows();
        for (int P = 20; P <= 999; ++P) {
            DefinitionRecord& r = rec(P);
            if (r.lookup_code.isEmpty())
                continue;
            r.unit_value = r.default_value;
            r.value_text = platform::number_text_c(r.default_value);
        }
        rec(926).value_text = "2.0.5";
    }
    void TearDown() override {
        reset_parameter_rows();
        reset_parameter_screen_hooks();
        reset_parameter_state();
        reset_link_state();
        platform::number_separators() = {};
        platform::set_program_folder(saved_folder_);
    }

    // The set on the screen as after a download.
    void show_set() {
        parameter_state().parameter_set_loading = true;
        update_parameter_screen(true);
        parameter_state().parameter_set_loading = false;
    }
    void type(int P, const QString& text) { parameter_rows().set_text(P, text); }
    QString box(int P) const { return parameter_rows().text(P); }

    QString saved_folder_;
    platform::ScopedScriptedDialogs dialogs;
};
