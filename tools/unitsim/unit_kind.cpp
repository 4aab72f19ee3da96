#include "unit_kind.h"

namespace unitsim {

namespace {

struct KindName {
    UnitKind kind;
    const char* name;
};

constexpr KindName kind_table[] = {
    {UnitKind::Level, "level"},
    {UnitKind::VeltoLite, "lite"},
    {UnitKind::Quorvantix, "quorvantix"},
    {UnitKind::Hesvarin, "hesvarin"},
    {UnitKind::Krestel, "krestel"},
    {UnitKind::Cso, "cso"},
    {UnitKind::Flow, "flow"},
    {UnitKind::Volume, "volume"},
};

} // namespace

UnitProfile profile_for(UnitKind kind) {
    UnitProfile p;
    p.kind = kind;
    p.software_version = "2.0.5";
    p.board_who_reply = "@Comms Logging Board V1.92";
    p.board_version = 192;
    // P61 variant, P87 fieldbus fitted, P96 fieldbus kind, P99 system type.
    p.parameter_values = {{61, 0}, {87, 0}, {96, 0}, {99, 1}};
    switch (kind) {
    case UnitKind::Level:
        p.who_reply = "@Velto Level V2.05";
        p.model_index = 2;
        break;
    case UnitKind::VeltoLite:
        p.who_reply = "@Velto Lite V2.05";
        p.model_index = 3;
        break;
    case UnitKind::Flow:
        p.who_reply = "@Velto Flow V2.05";
        p.flow = true;
        p.model_index = 5;
        p.parameter_values[61] = 1;
        break;
    case UnitKind::Volume:
        p.who_reply = "@Velto Volume V2.05";
        p.volume = true;
        p.model_index = 7;
        p.parameter_values[61] = 2;
        break;
    case UnitKind::Cso:
        // The CSO unit's logging firmware sits on the port itself and answers "/who".
        p.who_reply = "@Velto CSO V2.05";
        p.lower_who_reply = "@Comms CSO Logger V1.92";
        p.cso = true;
        p.own_clock = true;
        p.model_index = 14;
        p.log_type = 1;
        p.board_route = BoardRoute::None;
        break;
    case UnitKind::Hesvarin:
        p.who_reply = "@Hesvarin V2.05";
        p.board_route = BoardRoute::Comtalk;
        p.model_index = 15;
        break;
    case UnitKind::Krestel:
        p.who_reply = "@Krestel Radar V2.05";
        p.board_route = BoardRoute::None;
        p.own_clock = true;
        p.model_index = 40;
        p.parameter_values[61] = 2;
        p.parameter_values[87] = 1;
        p.parameter_values[96] = 1;
        // P99 is the system type (1..4) that the definition files describe; 40 is the logger's
        // model number above, a different thing. The radar unit talks Modbus: system type 3.
        p.parameter_values[99] = 3;
        break;
    case UnitKind::Quorvantix:
        p.who_reply = "@Quorvantix V2.05";
        p.board_route = BoardRoute::None;
        p.own_clock = true;
        p.model_index = 43;
        p.log_type = 1;
        p.parameter_values[99] = 2; // current output; 43 is its logger model
        break;
    }
    return p;
}

QString kind_name(UnitKind kind) {
    for (const auto& k : kind_table)
        if (k.kind == kind)
            return k.name;
    return {};
}

std::optional<UnitKind> kind_from_name(const QString& name) {
    for (const auto& k : kind_table)
        if (name.compare(QLatin1String(k.name), Qt::CaseInsensitive) == 0)
            return k.kind;
    return std::nullopt;
}

QStringList kind_names() {
    QStringList names;
    for (const auto& k : kind_table)
        names << k.name;
    return names;
}

double log_memory_bytes(const UnitProfile& profile) {
    if (profile.kind == UnitKind::Krestel || profile.kind == UnitKind::Quorvantix)
        return 262144;
    return profile.board_version > 0 && profile.board_version < 193 ? 262144 : 196608;
}

} // namespace unitsim
