#pragma once
// The parameter catalogue (data/catalogue/parameters.txt) and the definition files generated from
// it: access_vars.def, one Def<version>.def per software version and the row captions of
// lang-src/parameters.def. The catalogue's own header describes its format.

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>
#include <array>
#include <map>
#include <vector>

namespace catalogue {

inline const QString CATALOGUE_PATH = QStringLiteral("catalogue/parameters.txt"); // under data/

struct Parameter {
    int number = 0;
    QString name;
    QString access;
    QString lookup;
    int decimals = 0;
    int entries = 0;
    QString units;
    QString min, max, default_text;  // as written
    QString systems;                 // system type digits, "" for none
    QString versions;                // "*", "205+" or a list "180 205"
    std::array<QString, 5> captions; // English, German, French, Italian, Spanish
};

// Changes the Def file lines of a parameter for some systems and versions.
struct Override {
    int number = 0;
    QString systems;
    QString versions;
    QMap<QString, QString> values; // name, min, max, default
};

struct Catalogue {
    std::vector<int> versions; // version x 100, ascending
    std::vector<int> systems;  // system types, ascending
    std::map<int, Parameter> parameters;
    std::vector<Override> overrides;
};

struct ParseResult {
    Catalogue catalogue;
    QStringList errors; // "line N: what is wrong"; empty for a good catalogue
};

ParseResult parse_catalogue(const QString& text);

// True when the versions field ("*", "205+", "180 205") covers version v.
bool version_matches(const QString& versions, int v);

struct GeneratedFile {
    QString path; // relative to data/
    QByteArray bytes;
};

// The files the catalogue gives, in a fixed order. Requires a catalogue without errors.
std::vector<GeneratedFile> render_catalogue(const Catalogue& catalogue);

} // namespace catalogue
