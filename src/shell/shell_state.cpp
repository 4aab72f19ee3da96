#include "shell/shell_state.h"

namespace {
ShellState& instance() {
    static ShellState s;
    return s;
}
} // namespace

ShellState& shell() { return instance(); }

void reset_shell_state() { instance() = ShellState{}; }
