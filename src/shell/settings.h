#pragma once
// general.ini access and the start-up loader of every setting. Keys and defaults: settings_keys.h.

#include <QString>
#include <cstdint>

// The value of `key` in `section` of `file`, without surrounding blanks and cut at 3071
// characters. A missing, empty or blank value writes `default_value` back and returns it. Never
// fails: a missing file or section reads as empty.
QString read_ini(const QString& file, const QString& section, const QString& key,
                 const QString& default_value);

// Stores `value`, creating the file and the section when missing. Non-zero on success, 0 when the
// file cannot be written. A settings file that cannot be read, or written, is told to the user
// once a run (each of the two), whichever setting met it; ports mapped by discovery included.
int16_t write_ini(const QString& file, const QString& section, const QString& key,
                  const QString& value);

// Tests: the next failure is told again.
void reset_settings_failure_reports();

// What load_settings sets on the main window besides the globals: four menu states and the
// playback box. The main window implements it; tests record the calls. load_settings calls, in
// this order: enable_othermenus, set_printmenu_visible, set_loggingmenu_checked,
// set_csomenu_checked (after "Mode Operation"), then set_playback_text (after "Playback").
class SettingsView {
public:
    virtual ~SettingsView() = default;
    virtual void enable_othermenus() = 0;
    virtual void set_printmenu_visible(bool visible) = 0;      // only in the CSO set-up mode
    virtual void set_loggingmenu_checked(bool checked) = 0;    // logging set-up mode
    virtual void set_csomenu_checked(bool checked) = 0;        // CSO set-up mode
    virtual void set_playback_text(const QString& text) = 0;   // the box Text15
};

// Reads every start-up setting of general.ini (at shell().ini_path) into shell(), writing the
// default of a missing key back. A value that does not convert, or overflows its global, leaves
// that global as it was and loading goes on with the next key. Folders named by the four folder
// keys are created when missing (one level). `view` may be null (no window yet).
void load_settings(SettingsView* view);
