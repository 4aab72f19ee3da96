#pragma once
// The definitions table: record N holds UI text N of the current language and the definition and
// values of parameter P N. It lives for the whole run.

#include <QString>
#include <array>
#include <cstdint>

inline constexpr double NO_VALUE = -999999.0; // a value the unit lacks or does not support

struct DefinitionRecord {
    QString text;
    int16_t number = 0;
    QString name;
    bool read_only = false;
    QString lookup_code;
    int16_t decimals = 0;
    int16_t attribute6 = 0;
    double unit_value = 0.0;    // value read from the unit
    QString value_text;
    double program_value = 0.0; // value loaded or edited in the program
    double default_value = 0.0;
    QString units_code;
    QString min_text;
    QString max_text;
    bool send_failed = false;
    bool present = false;
};

inline constexpr int DEFINITIONS_UPPER = 1500;
using DefinitionsTable = std::array<DefinitionRecord, DEFINITIONS_UPPER + 1>;

DefinitionsTable& definitions_table();

// UI text N in the current language; empty when N is outside 0..1500 or the language file lacks
// it. The second form shows `fallback` (the built-in English caption) when the text is empty.
const QString& ui_text(int n);
QString ui_text(int n, const QString& fallback);
