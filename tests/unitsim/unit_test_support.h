#pragma once
// Helpers shared by the simulated unit's tests: a command and its answer, and the unit behind its
// responder with the baud-rate pacing off.
#include <unitsim/responder.h>
#include <unitsim/unit_core.h>

#include "qt_print.h"

#include <gtest/gtest.h>

// The body of the unit's answer to `command`.
inline QString ask(unitsim::UnitCore& unit, const QString& command) {
    return QString::fromLatin1(unit.handle(command).body);
}

// Everything the planned writes put on the line, in order.
inline QByteArray joined(const std::vector<unitsim::PlannedWrite>& writes) {
    QByteArray all;
    for (const auto& w : writes)
        all += w.bytes;
    return all;
}

struct Line {
    unitsim::UnitCore unit;
    unitsim::Responder responder{unit};
    Line() { responder.set_baud(0); }
    std::vector<unitsim::PlannedWrite> send(const QByteArray& command, double now_ms = 0) {
        return responder.receive(command + "\r", now_ms);
    }
};
