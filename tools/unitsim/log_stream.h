#pragma once
// How the unit's log stream ("/getlog") reaches the line when a test or a user asks it to
// misbehave: cut into pieces at any byte, stalled for a while, stopped before its line end, or
// ended by a comma after the last record. Also seeds the log memory from a log file, so that a
// download can be tried with a real log.

#include "log_memory.h"
#include "responder.h"

#include <QByteArray>
#include <QString>
#include <vector>

namespace unitsim {

struct LogStreamOptions {
    std::vector<qsizetype> split_at; // byte offsets of the stream where a new write starts
    qsizetype split_every = 0;       // a new write every this many bytes (0: none)
    qsizetype stall_at = -1;         // byte offset where the stream pauses ...
    double stall_ms = 0;             // ... for this long (program time)
    qsizetype stop_at = -1;          // the unit stops after this many bytes, the line stays open
    bool trailing_comma = false;     // a comma after the last record, before the line end

    bool active() const {
        return !split_at.empty() || split_every > 0 || stall_at >= 0 || stop_at >= 0 ||
               trailing_comma;
    }
};

// The writes that carry `body` (the "/getlog" answer without its line end) and `line_end` from
// `start_ms`, paced at `baud`, with `gap_ms` of silence at each cut.
std::vector<PlannedWrite> plan_log_stream(const QByteArray& body, const QByteArray& line_end,
                                          const LogStreamOptions& options, double start_ms,
                                          int baud, double gap_ms);

// Makes the responder's "/getlog" stream behave as `options` say (inactive options: normally).
void set_log_stream(Responder& responder, const LogStreamOptions& options);

// Takes the set-up, start date and records of a log file (.vlg) into `log`. False (and `log`
// unchanged) when the file cannot be read or its header is not a log's; `error` says why.
bool seed_log_from_file(LogMemory& log, const QString& path, QString* error = nullptr);

} // namespace unitsim
