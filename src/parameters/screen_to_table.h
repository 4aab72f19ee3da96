#pragma once
// Takes the parameter screen back into the definitions table before a save or an upload: every
// writable row's text becomes its record's value with "." as decimal point whatever the locale,
// a hidden row's parameter is no longer present, and in flow mode the flow view of the
// breakpoints (P730..P793) goes back to P610..P673, where the unit keeps them.

void update_parameters_from_screen();
void get_screen_parameters();
