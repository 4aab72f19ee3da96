#pragma once
// The hover text of a parameter row (range, default and unit of a number; the codes and labels
// of a choice), the range of a choice read back from that text before an edit is checked, and
// the rules by which the two relay blocks show, hide, limit and reset their rows.

#include "shell/definitions_table.h"

#include <QString>

// The hover text of the row of `rec`; empty until a set is loaded. For a choice it also sets the
// record's min_text and max_text from its list.
QString get_param_tooltip(DefinitionRecord& rec);
// The same for record P, also set as the hover text of row P when `apply` is true.
QString get_param_tooltip(int P);
void refresh_param_tooltip(int P);

// The option list the hover text of record P shows now ("" when there is none).
QString tooltip_option_list(const DefinitionRecord& rec);

// min_text and max_text of a choice from the current hover text of its row.
void set_lookup_param_range(DefinitionRecord& rec);

// The relay rules for the block of P (P210..P214 and P220..P224; other numbers do nothing).
void update_relay_params(int P);

// The short hint beside a row: the label of the chosen code for a choice, the unit word for a
// number; taken from the row's hover text, empty when it has none.
QString row_hint(const QString& tooltip, const QString& box_text);
