#include "responder.h"

#include <algorithm>
#include <cmath>

namespace unitsim {

Misbehaviour Misbehaviour::silence() {
    Misbehaviour m;
    m.silent = true;
    return m;
}

Misbehaviour Misbehaviour::late(double delay_ms) {
    Misbehaviour m;
    m.delay_ms = delay_ms;
    return m;
}

Misbehaviour Misbehaviour::third_send() {
    Misbehaviour m;
    m.answer_on_send = 3;
    return m;
}

Misbehaviour Misbehaviour::in_chunks(std::vector<int> sizes) {
    Misbehaviour m;
    m.chunks = std::move(sizes);
    return m;
}

Misbehaviour Misbehaviour::line_end_apart() {
    Misbehaviour m;
    m.split_line_end = true;
    return m;
}

Misbehaviour Misbehaviour::last_line_split() {
    Misbehaviour m;
    m.split_last_line = true;
    return m;
}

Misbehaviour Misbehaviour::garbage(QByteArray bytes) {
    Misbehaviour m;
    m.replace = std::move(bytes);
    return m;
}

Misbehaviour Misbehaviour::lone_line_end(QByteArray line_end) {
    Misbehaviour m;
    m.replace = std::move(line_end);
    return m;
}

Misbehaviour Misbehaviour::refusal() {
    Misbehaviour m;
    m.refuse = true;
    return m;
}

Misbehaviour Misbehaviour::line_drop() {
    Misbehaviour m;
    m.drop = true;
    return m;
}

std::vector<PlannedWrite> pace_segments(const std::vector<QByteArray>& segments, double start_ms,
                                        int baud, double gap_ms, double slice_ms) {
    std::vector<PlannedWrite> writes;
    double t = start_ms;
    bool first = true;
    for (const QByteArray& segment : segments) {
        if (segment.isEmpty())
            continue;
        if (!first)
            t += gap_ms;
        first = false;
        if (baud <= 0) {
            writes.push_back({t, segment});
            continue;
        }
        const double byte_ms = 10000.0 / baud;
        const qsizetype slice = std::max<qsizetype>(1, qsizetype(std::floor(slice_ms / byte_ms)));
        for (qsizetype at = 0; at < segment.size(); at += slice) {
            const QByteArray piece = segment.mid(at, slice);
            t += piece.size() * byte_ms;
            writes.push_back({t, piece});
        }
    }
    return writes;
}

std::vector<QByteArray> Responder::shape(const QByteArray& reply, const Misbehaviour& m) const {
    const QByteArray bytes = m.replace ? *m.replace : reply;
    std::vector<QByteArray> segments;
    if (m.drop) {
        segments.push_back(bytes.left(bytes.size() / 2));
        return segments;
    }
    if (!m.chunks.empty()) {
        qsizetype at = 0;
        for (int size : m.chunks) {
            if (at >= bytes.size())
                break;
            segments.push_back(bytes.mid(at, std::max(0, size)));
            at += std::max(0, size);
        }
        if (at < bytes.size())
            segments.push_back(bytes.mid(at));
        return segments;
    }
    if (m.split_last_line) {
        // Everything before the last line, then the last line cut in the middle of its text.
        QByteArray body = bytes;
        QByteArray tail;
        while (!body.isEmpty() && (body.endsWith('\r') || body.endsWith('\n'))) {
            tail.prepend(body.back());
            body.chop(1);
        }
        const qsizetype cr = body.lastIndexOf('\r'), lf = body.lastIndexOf('\n');
        const qsizetype last_start = std::max(cr, lf) + 1;
        const QByteArray last = body.mid(last_start) + tail;
        const qsizetype half = std::max<qsizetype>(1, (body.size() - last_start) / 2);
        segments.push_back(bytes.left(last_start));
        segments.push_back(last.left(half));
        segments.push_back(last.mid(half));
        return segments;
    }
    if (m.split_line_end) {
        qsizetype end = bytes.size();
        while (end > 0 && (bytes[end - 1] == '\r' || bytes[end - 1] == '\n'))
            --end;
        segments.push_back(bytes.left(end));
        for (qsizetype i = end; i < bytes.size(); ++i)
            segments.push_back(bytes.mid(i, 1));
        return segments;
    }
    segments.push_back(bytes);
    return segments;
}

bool Responder::matches(const Rule& rule, const QString& command) const {
    if (rule.pattern.isEmpty())
        return true;
    if (rule.pattern.endsWith('*'))
        return command.startsWith(rule.pattern.chopped(1), Qt::CaseInsensitive);
    return command.compare(rule.pattern, Qt::CaseInsensitive) == 0;
}

void Responder::misbehave_next(const Misbehaviour& m, int count) {
    if (count == 0)
        return;
    Rule rule;
    rule.behaviour = m;
    rule.remaining = count;
    // "The next commands" come before any standing rule for a particular command.
    rules_.insert(rules_.begin(), rule);
}

void Responder::misbehave_on(const QString& pattern, const Misbehaviour& m, int count) {
    if (count == 0)
        return;
    Rule rule;
    rule.pattern = pattern.isEmpty() ? QString("*") : pattern;
    rule.behaviour = m;
    rule.remaining = count;
    rules_.push_back(rule);
}

void Responder::clear_misbehaviour() {
    rules_.clear();
}

std::vector<PlannedWrite> Responder::receive(const QByteArray& bytes, double now_ms) {
    std::vector<PlannedWrite> writes;
    for (char c : bytes) {
        if (c == bridge_exit_byte) {
            // Sent alone, without CR: it acts at once.
            auto w = command(QString(QChar(bridge_exit_byte)), now_ms);
            writes.insert(writes.end(), w.begin(), w.end());
        } else if (c == '\r' || c == '\n') {
            if (pending_.isEmpty())
                continue;
            const QString cmd = QString::fromLatin1(pending_);
            pending_.clear();
            auto w = command(cmd, now_ms);
            writes.insert(writes.end(), w.begin(), w.end());
        } else {
            pending_.append(c);
        }
    }
    return writes;
}

std::vector<PlannedWrite> Responder::command(const QString& cmd, double now_ms) {
    received_ << cmd;
    if (line_dead_)
        return {};

    Misbehaviour m;
    const bool no_reply_byte = cmd == QString(QChar(bridge_exit_byte));
    if (!no_reply_byte) {
        for (auto it = rules_.begin(); it != rules_.end(); ++it) {
            if (!matches(*it, cmd))
                continue;
            m = it->behaviour;
            if (m.answer_on_send > 1) {
                if (it->counting.compare(cmd, Qt::CaseSensitive) != 0) {
                    it->counting = cmd;
                    it->seen = 0;
                }
                if (++it->seen < m.answer_on_send)
                    return {}; // not heard this time
                it->seen = 0;
                it->counting.clear();
            }
            if (it->remaining > 0 && --it->remaining == 0)
                rules_.erase(it);
            break;
        }
    }
    if (m.silent)
        return {};

    Reply reply;
    if (m.refuse)
        reply = {true, "NO"};
    else
        reply = unit_.handle(cmd);
    if (!reply.answered)
        return {};

    const auto segments = shape(reply.body + line_end_, m);
    // The pseudo-terminal hands the command over at once; on a real line its last byte would only
    // have arrived after its own wire time, so the reply starts from there.
    const double inbound_ms = baud_ > 0 ? (cmd.size() + 1) * 10000.0 / baud_ : 0.0;
    const double start = std::max(now_ms + inbound_ms + m.delay_ms, line_free_at_);
    const bool log_stream = log_stream_planner_ && !m.replace && !m.drop &&
                            cmd.compare(QLatin1String("/getlog"), Qt::CaseInsensitive) == 0;
    auto writes = log_stream ? log_stream_planner_(reply.body, line_end_, start)
                             : pace_segments(segments, start, baud_, chunk_gap_ms_);
    if (!writes.empty())
        line_free_at_ = writes.back().at_ms;
    if (m.drop)
        line_dead_ = true;
    return writes;
}

} // namespace unitsim
