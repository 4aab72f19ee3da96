#pragma once
// The misbehaviours a user can ask of the unitsim program on its command line, one --fault each:
//
//   KIND[=VALUE][@PATTERN][#N]
//
// PATTERN picks the commands that misbehave (case ignored, a trailing "*" matches the front);
// without it every command does. "#N" limits the misbehaviour to the first N of them. Kinds:
// silent, late=MS, third-send, chunks=N[,N...], line-end-apart, last-line-split,
// garbage[=TEXT], lone-line-end[=cr|lf|crlf], refuse, drop (the next matching command) and
// drop-after=N (N commands are served, then the line dies).

#include "responder.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace unitsim {

struct FaultRule {
    QString pattern = QStringLiteral("*");
    Misbehaviour behaviour;
    int count = -1; // how many matching commands misbehave; -1 every one
};

struct ParsedFault {
    std::vector<FaultRule> rules; // applied in this order
    QString error;                // why the text is no fault; empty when it is one
};

// The rules one --fault text stands for.
ParsedFault parse_fault(const QString& text);

// Every kind with its value, one line each, for --help.
QStringList fault_help();

// Applies the rules to the responder, in order.
void apply_fault(Responder& responder, const ParsedFault& fault);

} // namespace unitsim
