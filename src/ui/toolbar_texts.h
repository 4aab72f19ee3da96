#pragma once
// The toolbar's tooltips. The toolbar carries its own wording in the five languages, as it did
// before the texts moved to the language file.

#include <QString>

// The tooltip of a toolbar key in a language (0 English .. 4 Spanish; English for any other);
// empty for an unknown key.
QString toolbar_tooltip(const QString& key, int language_index);
