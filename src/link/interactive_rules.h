#pragma once
// The one-parameter window's rules without the window: which numbers may be read and written,
// how a typed value goes to the unit, and how a reply reads.

#include <QString>
#include <optional>

namespace interactive {

inline constexpr int FIRST_PARAMETER = 20;
inline constexpr int LAST_PARAMETER = 999;

// The parameter number typed, read as every typed number (platform::typed_whole_number): blank
// gives 0, a number beyond any parameter -1; nullopt for a text that is no whole number of the
// locale.
std::optional<int> typed_parameter(const QString& text);
// typed_parameter, with -1 for a text that is no whole number of the locale.
int typed_number(const QString& text);

// A number the window may read or write at all.
bool in_range(int n);

// Numbers written even when the unit does not report them, and never read back.
bool written_blind(int n);

// A write is refused for a parameter the unit lacks, unless it is written blind.
bool write_refused(int n, bool present);

// The typed value as the unit takes it: the number the user wrote in the locale's notation
// (platform::typed_number) at the parameter's decimals (kept_value), written with "." and no
// grouping; the clock and access code parameters (932, 996, 997) padded to four digits ("7"
// gives "0007"). nullopt when the text is no number of the locale: sending it with its separators
// swapped would send another number; and for a fraction where the unit takes a whole number
// (takes_whole_number) or a code (takes_codes): it would go rounded, or as no code at all.
std::optional<QString> value_for_unit(int n, const QString& typed);

// The access level word after "logged on": " GOLDCARD" for level 1, the words of levels 2 and 3.
QString level_word(int access_level, const QString& level2_word, const QString& level3_word);

} // namespace interactive
