#pragma once
// The language text table: lang.def holds every UI text in five languages, one line per text
// number ("N,English,German,French,Italian,Spanish"); the loader puts the current language's
// column into the text field of the definitions table.

#include <QLatin1String>
#include <QString>
#include <functional>
#include <optional>

class QObject;
class QProgressBar;
class QWidget;

// The folder of the definition files, directly in the program folder, and the language file.
inline constexpr QLatin1String DEFINITIONS_FOLDER{"Quillarn Version Definitions"};
inline constexpr QLatin1String LANGUAGE_FILE{"lang.def"};

// The full path of lang.def.
QString language_file_path();

// Reads lang.def into the text fields of the definitions table for shell().language_index, then
// installs the option lists and unit words of that language. Records the file does not name keep
// their text. A line whose number is no text number (0..1500, or an added text), or that lacks the current language's
// column, changes nothing. A missing or unreadable file is reported once per run; the texts then
// stay as they are.
// The text lines of a lang.def (already decoded) into the text slots of `language` (0..4).
void load_language_text(const QString& text, int language);
void load_language_file();

// Windows keep control arrays as widgets that share the array's objectName and carry their index
// in this property.
inline constexpr const char* CONTROL_INDEX_PROPERTY = "index";
std::optional<int> control_index(const QObject& control);

// Sets the text of every label named "scrlabel" in `form` to the text of its index's record
// (indexes that are no text number are left alone). With `tick_progress`, advances the label progress bar
// once per control of the form, wrapping to 0 at its maximum.
void apply_label_texts(QWidget& form, bool tick_progress);

// The bar apply_label_texts advances (the Setup dialog's ProgressBar1). The Setup dialog installs
// its accessor; without one nothing is ticked.
void set_label_progress_bar(std::function<QProgressBar*()> bar);

// One step of a progress bar that starts over when full.
void tick_progress(QProgressBar& bar);
