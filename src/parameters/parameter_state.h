#pragma once
// Program-wide variables of the parameter road: what is loaded, the guards that keep the edit
// checks from running while the program itself writes rows, and what the last transfer learned of
// the unit. One instance for the run; tests reset it.

#include <QString>
#include <bitset>
#include <cstdint>

struct ParameterState {
    bool parameters_loaded = false;  // a parameter set is in the table
    int system_type = 0;             // P99 rounded, halves to even
    int16_t parameter_list_mode = 0; // 0 and 2 grid hidden, 1 changed, 3 all
    QString parameter_file_name;     // the parameter file last opened or saved
    QString saved_reply;             // reply_buffer kept across a transfer

    // Guards against re-entry through the rows' change handler.
    bool screen_fill_active = false;    // the screen writes every row
    bool parameter_set_loading = false; // a whole set is being put on the screen
    bool edit_check_running = false;    // the edit check rewrites the length rows

    int link_software_version = 0; // the unit's communication firmware, from "/who"
    int software_version = 0;      // P926 of the loaded set as a number (205)
    double program_p99 = 0;        // P99 of the set to be sent
    double unit_p99 = 0;           // P99 of the unit
    bool same_system_type = false;
    int fieldbus_protocol_value = 0; // P96 rounded, kept between sets
    double pmd_type_copy = 0;        // P700 as the P701 hover text last saw it

    // What the last transfer did, for the user and for tests.
    int upload_refusals = 0;     // values the unit refused in the running upload
    int compare_differences = 0; // differences counted by the last compare read
    int skipped_items = 0;       // "/sendall" items that named no parameter

    // Parameters the set on the screen holds no value for (the unit's or the file's "NO"), by
    // number. The rules that bring rows back with the mode or the relay type fill such a row
    // with its default; only a value the user types gives the set one, so the default is never
    // sent to the unit as the set's.
    std::bitset<1000> lacked_by_set;
};

ParameterState& parameter_state();
void reset_parameter_state();
