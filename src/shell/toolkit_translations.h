#pragma once
// The toolkit's own texts (the buttons of message boxes and standard dialogs: Yes, No, Cancel,
// OK, the file dialog) in the program's language. They come from the toolkit's translation files
// (Debian package qt6-translations-l10n), not from lang.def.

#include <QString>

// Loads the toolkit's translation for language `language_index` (0 English, 1 German, 2 French,
// 3 Italian, 4 Spanish) in place of the one loaded before. English needs none. False when the
// translation file cannot be found, so the toolkit's texts stay English.
bool use_toolkit_translations(int language_index);

// The language code of the program's language index ("de"), or an empty text for English and
// numbers that name no language.
QString toolkit_language_code(int language_index);
