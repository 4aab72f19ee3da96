#pragma once
// Event handlers end here: a failure inside one is reported in a message box and the program
// goes on with the next event, instead of ending with the failure.

#include <QString>
#include <exception>
#include <functional>

// Runs `handler`; an exception it throws is shown to the user as a critical message that names
// `what` (the action the user started). Returns false when the handler failed.
bool run_handler(const QString& what, const std::function<void()>& handler);
