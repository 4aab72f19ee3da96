#pragma once
// A Hayes modem in front of the unit, for reaching it "by telephone": in command mode it takes
// AT commands (ATZ, ATE0/ATE1, ATDT<number>, ATH, ATO and any other AT command with OK); a dial
// ends in CONNECT and the line then carries everything to the unit and back, or in BUSY, NO
// CARRIER, NO ANSWER or NO DIALTONE. Online, "+++" goes back to command mode (OK after the
// guard time), where ATH hangs up and ATO goes online again. In command mode whatever precedes
// "AT" on a line is ignored. The modem never echoes (its stored profile has echo off). Plain
// logic with the responder's time line.

#include "responder.h"

#include <QByteArray>
#include <QString>
#include <vector>

namespace unitsim {

class HayesModem {
public:
    enum class State { Command, Online, OnlineCommand };

    explicit HayesModem(Responder& unit) : unit_(unit) {}

    // What a dial ends in: "CONNECT 19200" (the default), "BUSY", "NO CARRIER", ...
    void set_dial_result(const QString& result) { dial_result_ = result; }
    QString dial_result() const { return dial_result_; }
    // Program milliseconds from the dial command to its result.
    void set_dial_ms(double ms) { dial_ms_ = ms; }
    // The silence after "+++" before the modem answers OK.
    static constexpr double GUARD_MS = 1000;

    State state() const { return state_; }
    bool connected() const { return state_ == State::Online || state_ == State::OnlineCommand; }
    // The number last dialled, and every AT command in order.
    QString dialled() const { return dialled_; }
    const QStringList& commands() const { return commands_; }

    // Bytes from the program at `now_ms`; the writes they cause (the unit's replies included).
    std::vector<PlannedWrite> receive(const QByteArray& bytes, double now_ms);

private:
    std::vector<PlannedWrite> command(const QString& line, double now_ms);
    std::vector<PlannedWrite> reply(const QByteArray& text, double at_ms);
    std::vector<PlannedWrite> to_unit(const QByteArray& bytes, double now_ms);

    Responder& unit_;
    State state_ = State::Command;
    QString dial_result_ = QStringLiteral("CONNECT 19200");
    double dial_ms_ = 3000;
    QString dialled_;
    QStringList commands_;
    QByteArray line_;
    QByteArray pluses_; // "+" held back online: an escape, or data for the unit
    double line_free_ms_ = 0;
};

} // namespace unitsim
