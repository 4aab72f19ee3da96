#include "link/link_state.h"

namespace {
LinkState& state_instance() {
    static LinkState s;
    return s;
}
ModelCapabilityFlags& flags_instance() {
    static ModelCapabilityFlags f;
    return f;
}
} // namespace

LinkState& link() {
    return state_instance();
}

void reset_link_state() {
    state_instance() = LinkState{};
}

ModelCapabilityFlags& model_capability_flags() {
    return flags_instance();
}

void reset_model_capability_flags() {
    flags_instance() = ModelCapabilityFlags{};
}
