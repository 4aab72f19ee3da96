#include "link/link_state.h"

namespace {
LinkState& state_instance() {
    static LinkState s;
    return s;
}
} // namespace

LinkState& link() {
    return state_instance();
}

void reset_link_state() {
    state_instance() = LinkState{};
}
