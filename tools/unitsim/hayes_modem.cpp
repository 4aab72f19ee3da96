#include "hayes_modem.h"

#include <algorithm>

namespace unitsim {

std::vector<PlannedWrite> HayesModem::reply(const QByteArray& text, double at_ms) {
    const double start = std::max(at_ms, std::max(line_free_ms_, unit_.line_free_at()));
    auto writes = pace_segments({text + unit_.line_end()}, start, unit_.baud(), 0);
    if (!writes.empty())
        line_free_ms_ = writes.back().at_ms;
    return writes;
}

std::vector<PlannedWrite> HayesModem::to_unit(const QByteArray& bytes, double now_ms) {
    return unit_.receive(bytes, now_ms);
}

std::vector<PlannedWrite> HayesModem::receive(const QByteArray& bytes, double now_ms) {
    std::vector<PlannedWrite> writes;
    auto add = [&writes](std::vector<PlannedWrite> w) {
        writes.insert(writes.end(), w.begin(), w.end());
    };
    for (char c : bytes) {
        if (state_ == State::Online) {
            if (c == '+') {
                pluses_.append(c);
                if (pluses_.size() == 3) {
                    // The escape holds once the line stays quiet for the guard time after it;
                    // the simulated line takes that as given.
                    pluses_.clear();
                    state_ = State::OnlineCommand;
                    add(reply("OK", now_ms + GUARD_MS));
                }
                continue;
            }
            if (!pluses_.isEmpty()) {
                add(to_unit(pluses_, now_ms));
                pluses_.clear();
            }
            add(to_unit(QByteArray(1, c), now_ms));
            continue;
        }
        if (c == '\r' || c == '\n') {
            if (line_.isEmpty())
                continue;
            // A modem listens for "AT": whatever came before it on the line is noise.
            QString line = QString::fromLatin1(line_).trimmed();
            line_.clear();
            const qsizetype at = line.indexOf(QLatin1String("AT"), 0, Qt::CaseInsensitive);
            if (at > 0)
                line = line.mid(at);
            add(command(line, now_ms));
        } else {
            line_.append(c);
        }
    }
    std::sort(writes.begin(), writes.end(),
              [](const PlannedWrite& a, const PlannedWrite& b) { return a.at_ms < b.at_ms; });
    return writes;
}

std::vector<PlannedWrite> HayesModem::command(const QString& line, double now_ms) {
    const QString upper = line.toUpper();
    if (!upper.startsWith(QLatin1String("AT")))
        return reply("ERROR", now_ms);
    commands_ << line;
    const QString rest = upper.mid(2).trimmed();
    if (rest.startsWith(QLatin1String("D"))) {
        if (state_ == State::OnlineCommand)
            return reply("ERROR", now_ms);
        dialled_ = line.mid(3).trimmed();
        if (dialled_.startsWith(QLatin1Char('T'), Qt::CaseInsensitive) ||
            dialled_.startsWith(QLatin1Char('P'), Qt::CaseInsensitive))
            dialled_ = dialled_.mid(1).trimmed();
        const bool connects = dial_result_.startsWith(QLatin1String("CONNECT"));
        state_ = connects ? State::Online : State::Command;
        return reply(dial_result_.toLatin1(), now_ms + dial_ms_);
    }
    if (rest.startsWith(QLatin1String("H")) || rest == QLatin1String("Z")) {
        state_ = State::Command;
        return reply("OK", now_ms);
    }
    if (rest.startsWith(QLatin1String("O"))) {
        if (state_ != State::OnlineCommand)
            return reply("NO CARRIER", now_ms);
        state_ = State::Online;
        return reply("CONNECT", now_ms);
    }
    return reply("OK", now_ms);
}

} // namespace unitsim
