#pragma once
// The kinds of unit the simulator can be, and what tells them apart on the wire: their identity
// replies, their capability answers, how their logging board is reached and the model numbers
// their logger reports.

#include <QString>
#include <QStringList>
#include <map>
#include <optional>

namespace unitsim {

enum class UnitKind {
    Level,      // plain level unit with a plug-in logging board behind "/p141:1"
    VeltoLite,  // the Lite unit: same board, left again with Chr(20)
    Quorvantix, // flow unit with its own logger and clock
    Hesvarin,   // reaches its logging board through "/comtalk"
    Krestel,    // radar unit with its own logger and clock
    Cso,        // CSO unit: its logging board answers "/who" itself
    Flow,       // level unit in flow mode
    Volume,     // level unit in volume mode
};

// How the unit's logging board is reached from the unit's own port.
enum class BoardRoute {
    None,    // no separate board: the unit itself serves the log commands
    P141,    // "/p141:1" switches the port through to the board
    Comtalk, // "/comtalk" bridges to the board
};

// Everything that differs between kinds. Tests may change any field after choosing a kind.
struct UnitProfile {
    UnitKind kind = UnitKind::Level;
    QString who_reply;       // answer to "/WHO" (and to "/who" unless lower_who_reply is set)
    QString lower_who_reply; // answer to "/who" when it differs from "/WHO"; empty = the same
    QString board_who_reply; // what the logging board answers to "/who" and "/WHO"
    BoardRoute board_route = BoardRoute::P141;
    QString software_version; // P926 text, "2.0.5"
    bool cso = false;         // "/ISCSO"
    bool flow = false;        // "/ISFLOW"
    bool volume = false;      // "/ISVOLUME"
    bool accepts_second_code = true;
    bool own_clock = false;     // CSO, radar and Quorvantix units keep a clock the program sets
    int model_index = 2;        // the logger's unit type ("/m99", "/LOGINFO" line 0, log header)
    int log_type = 0;           // field 1 of the "/getlog" header: 1 marks a CSO log
    double board_version = 192; // logging board firmware, decides the log memory size
    // Parameter values that belong to the kind (P61 variant, P99 system type, fieldbus...),
    // applied over the definition defaults.
    std::map<int, double> parameter_values;
};

UnitProfile profile_for(UnitKind kind);

// The identity replies name communication firmware `version` ("1.80") instead of the kind's
// own, and the unit's software version text follows it ("1.8.0"). Reseed the unit afterwards.
void apply_version_reply(UnitProfile& profile, const QString& version);
QString version_reply_text(const QString& reply, const QString& version);

QString kind_name(UnitKind kind);
std::optional<UnitKind> kind_from_name(const QString& name);
QStringList kind_names();

// Log memory in bytes: the rule the program's duration arithmetic assumes for a board of this
// version, and a fixed 262144 for units with their own logger.
double log_memory_bytes(const UnitProfile& profile);

} // namespace unitsim
