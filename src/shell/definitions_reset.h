#pragma once
// Start-up reset of the definitions table, before the parameter definitions and the texts are
// read into it.

// Records 0..n get "no value" in every value field, name "UNKNOWN", read-only and present; their
// number, lookup code, decimals and attribute keep what they held. n is clamped to the table.
void clear_definitions_table(int n);
