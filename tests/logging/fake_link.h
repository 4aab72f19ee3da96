#pragma once
// A stand-in for the command link that hands every command straight to a simulated unit's core.

#include <QString>
#include <QStringList>
#include <unitsim/unit_core.h>

namespace fake_link {

// Starts afresh with `unit` answering; the link state is reset.
void attach(unitsim::UnitCore* unit);
// Every command sent, in order.
QStringList received();
// Commands matching `pattern` (case ignored; a trailing "*" matches the front) get `reply`.
void reply_on(const QString& pattern, const QString& reply);
// The link gives up on commands matching `pattern`, with its failure message.
void dead_on(const QString& pattern);

} // namespace fake_link
