#pragma once
// Checks of the language file and of the code's use of it. Each check returns the problems it
// found as readable lines, so a failing test shows what a user would meet: a caption that stays
// empty, a text that the loader puts into the wrong record, a menu key that answers twice.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <map>

namespace textcheck {

inline constexpr int LANGUAGE_COUNT = 5;
inline constexpr int HIGHEST_RECORD = 1500;

// Column names in file order (field 1 to 5).
const QStringList &language_names();

// Texts of one record number, one per language, as the file holds them.
using TextTable = std::map<int, QStringList>;

// Where each record number was first defined ("file:line"), to find a number defined twice.
using SeenNumbers = std::map<int, QString>;

struct LineRules {
    bool require_crlf = false;    // every line must end with CR LF (the shipped file)
    bool six_fields_only = false; // a seventh field can only be a text cut at a comma
};

// Checks one language file: valid UTF-8, a whole number 0..1500 in field 0, at least six fields,
// no empty text, no CR inside a line, no number defined twice (also across the files that share
// `seen`). Good lines go into `table` when it is given.
QStringList check_lang_file(const QString &name, const QByteArray &bytes, SeenNumbers &seen,
                            const LineRules &rules = {}, TextTable *table = nullptr);

// One use of a literal text number in the code.
struct TextUse {
    int number = 0;
    QString where; // path relative to the scanned root's parent, with ":line"
};

// Every `ui_text(<number>)` and `ui_text(<number>, ...)` in the text of one source file.
QList<TextUse> find_text_uses(const QString &where, const QString &source);

// The same over every file below `root`; `where` of a use starts with the root's folder name.
QList<TextUse> find_text_uses_below(const QString &root);

// Empty when every used number has a text in every language; otherwise one line per missing
// number naming the languages that lack it and the places that use it.
QStringList missing_texts(const QList<TextUse> &uses, const TextTable &table);

// Accelerator letter of a caption ('&' followed by a letter; "&&" is a literal ampersand), lower
// case, or a null QChar when the caption has none.
QChar accelerator(const QString &caption);

// How many accelerator marks a caption holds.
int accelerator_count(const QString &caption);

} // namespace textcheck
