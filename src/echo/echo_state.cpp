#include "echo/echo_state.h"

#include <memory>

namespace {
std::unique_ptr<EchoState>& holder() {
    static std::unique_ptr<EchoState> s = std::make_unique<EchoState>();
    return s;
}
} // namespace

EchoState& echo_state() {
    return *holder();
}

void reset_echo_state() {
    holder() = std::make_unique<EchoState>();
}
