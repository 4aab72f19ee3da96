#pragma once
// Which text number each caption, tooltip and tab of the main window and its companion windows
// shows. Data, applied in one place (apply_caption_map); the few wordings that are built from
// pieces or follow the language are set beside it by set_main_window_texts.

#include <QString>
#include <functional>
#include <vector>

class QObject;
class QWidget;

enum class CaptionProperty {
    Caption, // the visible label: button text, frame title, menu title, window title
    ToolTip,
    Tab, // the caption of tab `tab` of a tab set
};

struct CaptionEntry {
    const char* window;  // "Form1", "Form3", "form5", "frmPrintHeader"
    const char* control; // empty for the window itself
    int index;           // element of a control array; -1 for a single control
    CaptionProperty property;
    int tab;                     // for CaptionProperty::Tab
    int text;                    // text number
    int only_software_mode = -1; // applies only to this identity; -1 for every identity
    const char* suffix = "";     // appended to the text
};

const std::vector<CaptionEntry>& caption_map();

// Finds a control of `window` by name: "Name(i)" for array elements, or "Name" carrying the
// array index in its "index" property; index -1 finds a single control.
QObject* find_control(QWidget& window, const QString& name, int index);

// Applies every entry for `window_name` to `window` for this identity. A text the language file
// lacks leaves the control's built-in caption. Returns the entries whose control is missing.
std::vector<const CaptionEntry*> apply_caption_map(QWidget& window, const QString& window_name,
                                                   int software_mode);

// Sets one property of a control, whatever kind of control it is. False when the control has no
// such property.
bool set_control_text(QObject& control, CaptionProperty property, int tab, const QString& text);
