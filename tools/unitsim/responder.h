#pragma once
// Between the line and the command language: cuts the received bytes into commands, logs every
// one, applies the misbehaviour the test asked for, and plans the reply's bytes on a time line
// paced at the baud rate. Plain logic: it says what to write when; the Simulator does the writing.

#include "unit_core.h"

#include <functional>

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace unitsim {

// One write to the line, `at_ms` program milliseconds after the responder's time zero.
struct PlannedWrite {
    double at_ms = 0;
    QByteArray bytes;
};

// How the unit misbehaves on a command. Fields combine (late and in chunks, say).
struct Misbehaviour {
    bool silent = false;               // ignore the command altogether
    int answer_on_send = 0;            // n > 1: ignore the same command until its n-th arrival
    double delay_ms = 0;               // answer this much later (program time)
    std::vector<int> chunks;           // write the reply in pieces of these sizes, rest last
    bool split_line_end = false;       // the text, its CR and its LF as three separate writes
    bool split_last_line = false;      // one write up to the last line, the last line in two
    std::optional<QByteArray> replace; // send these bytes instead of the reply
    bool refuse = false;               // answer "NO" and change nothing
    bool drop = false;                 // send half the reply, then the line goes dead

    static Misbehaviour silence();
    static Misbehaviour late(double delay_ms);
    static Misbehaviour third_send();
    static Misbehaviour in_chunks(std::vector<int> sizes);
    static Misbehaviour line_end_apart();
    static Misbehaviour last_line_split();
    static Misbehaviour garbage(QByteArray bytes = QByteArray("\x7f\xfe#%@\x01\xff?\r\n", 10));
    // A line end alone in place of the reply ("\r" unless told otherwise).
    static Misbehaviour lone_line_end(QByteArray line_end = "\r");
    static Misbehaviour refusal();
    static Misbehaviour line_drop();
};

// Writes that carry `segments` onto the line from `start_ms`: each segment paced at `baud`
// (ten bits a byte; 0 = no pacing) in writes of at most `slice_ms` of line time, each write
// timed when its last byte has gone out; `gap_ms` of silence between segments, so that the far
// end sees them as separate arrivals.
std::vector<PlannedWrite> pace_segments(const std::vector<QByteArray>& segments, double start_ms,
                                        int baud, double gap_ms, double slice_ms = 4);

class Responder {
public:
    explicit Responder(UnitCore& unit) : unit_(unit) {}

    // Takes bytes that arrived at `now_ms` and returns the writes they cause, in time order and
    // never before the line is free of earlier replies.
    std::vector<PlannedWrite> receive(const QByteArray& bytes, double now_ms);

    // Every command received, in order, without its CR; the bridge-exit byte as a one-character
    // string. Commands that arrive while the line is dead are logged too.
    const QStringList& received() const { return received_; }
    void clear_received() { received_.clear(); }

    void set_baud(int baud) { baud_ = baud; }
    int baud() const { return baud_; }
    void set_line_end(const QByteArray& line_end) { line_end_ = line_end; }
    QByteArray line_end() const { return line_end_; }
    // Silence between the pieces of a split reply (program milliseconds).
    void set_chunk_gap_ms(double ms) { chunk_gap_ms_ = ms; }
    double chunk_gap_ms() const { return chunk_gap_ms_; }

    // The next `count` commands misbehave (count -1: every command from now on).
    void misbehave_next(const Misbehaviour& m, int count = 1);
    // Commands matching `pattern` misbehave, `count` times (-1: always). The pattern matches
    // without regard to case, the whole command, or its front when it ends in "*".
    void misbehave_on(const QString& pattern, const Misbehaviour& m, int count = -1);
    void clear_misbehaviour();

    bool line_dead() const { return line_dead_; }
    void restore_line() { line_dead_ = false; }
    // Program time when the last planned write goes out.
    double line_free_at() const { return line_free_at_; }

    // How the "/getlog" stream misbehaves (see log_stream.h); set by whoever owns the responder.
    // Given the stream body, its line end and the start time, it plans the writes; empty: the
    // stream goes as any reply does.
    using StreamPlanner = std::function<std::vector<PlannedWrite>(
        const QByteArray& body, const QByteArray& line_end, double start_ms)>;
    void set_log_stream_planner(StreamPlanner planner) { log_stream_planner_ = std::move(planner); }

    // The reply segments for a command as the misbehaviour shapes them (no timing).
    std::vector<QByteArray> shape(const QByteArray& reply, const Misbehaviour& m) const;

private:
    struct Rule {
        QString pattern; // empty: any command
        Misbehaviour behaviour;
        int remaining = 1;
        QString counting; // the command whose arrivals answer_on_send counts
        int seen = 0;
    };
    bool matches(const Rule& rule, const QString& command) const;
    std::vector<PlannedWrite> command(const QString& command, double now_ms);

    UnitCore& unit_;
    QByteArray pending_;
    QStringList received_;
    std::vector<Rule> rules_;
    int baud_ = 19200;
    QByteArray line_end_ = "\r\n";
    double chunk_gap_ms_ = 30;
    double line_free_at_ = 0;
    bool line_dead_ = false;
    StreamPlanner log_stream_planner_;
};

} // namespace unitsim
