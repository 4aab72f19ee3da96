#include "logging/log_setup_state.h"

#include "link/link_state.h"

LogSetupState& log_setup() {
    static LogSetupState state;
    return state;
}

void reset_log_setup_state() {
    log_setup() = LogSetupState{};
}

UnitIdentity unit_identity() {
    const LinkState& L = link();
    UnitIdentity u;
    u.lite_unit = L.lite_unit;
    u.radar_unit = L.radar_unit;
    u.quorvantix_unit = L.quorvantix_unit;
    u.hesvarin_unit = L.hesvarin_unit;
    u.cso_unit = L.cso_unit;
    u.flow_mode = L.flow_mode;
    u.volume_mode = L.volume_mode;
    u.p61_is_1 = L.p61_is_1;
    u.p61_is_2 = L.p61_is_2;
    return u;
}
