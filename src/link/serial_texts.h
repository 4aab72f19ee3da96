#pragma once
// The port window's own texts, built into the program in five languages rather than taken from
// the language file: 102 records "N,English,German,French,Italian,Spanish".

#include <QString>
#include <array>

inline constexpr int SERIAL_TEXT_COUNT = 121;
using SerialTexts = std::array<QString, SERIAL_TEXT_COUNT>;

// Entries 0..101 in the language of the last read_lang_inc; the rest stay empty.
SerialTexts& serial_texts();

// Fills serial_texts() in the current language (shell().language_index).
void read_lang_inc();

// Entry `n` in the current language, whether or not read_lang_inc has run.
QString serial_text(int n);
