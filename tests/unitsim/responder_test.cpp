// How the unit's replies go onto the line: misbehaviour on request, pacing at the baud rate, and
// the log of what was received. The planned writes are checked, not the wall clock.
#include "unit_test_support.h"

using unitsim::Misbehaviour;
using unitsim::PlannedWrite;
using unitsim::Responder;
using unitsim::UnitCore;

namespace {

QStringList pieces(const std::vector<PlannedWrite>& writes) {
    QStringList list;
    for (const auto& w : writes)
        list << QString::fromLatin1(w.bytes);
    return list;
}

} // namespace

TEST(UnitReplies, CommandsAreCutAtTheLineEndAndLoggedInOrder) {
    Line line;
    // A command may arrive in pieces, several may arrive at once, a stray LF after the CR is no
    // command, and the bridge-exit byte acts alone.
    EXPECT_TRUE(line.responder.receive("/acc", 0).empty());
    EXPECT_EQ(joined(line.responder.receive("ess:318406\r\n/WHO\r", 0)),
              "OK\r\n@Velto Level V2.05\r\n");
    line.responder.receive(QByteArray(1, 20), 0);
    line.responder.receive("/p1\x14"
                           "04\r",
                           0);
    EXPECT_EQ(line.responder.received(), QStringList({"/access:318406", "/WHO", QString(QChar(20)),
                                                      QString(QChar(20)), "/p104"}));
    line.responder.clear_received();
    EXPECT_TRUE(line.responder.received().isEmpty());
}

TEST(UnitReplies, MisbehaviourShapesWhatGoesOnTheLine) {
    const struct {
        const char* name;
        Misbehaviour behaviour;
        QStringList writes;
    } table[] = {
        {"silent", Misbehaviour::silence(), {}},
        {"chunks past the end", Misbehaviour::in_chunks({3, 9}), {"OK\r", "\n"}},
        {"CR and LF apart", Misbehaviour::line_end_apart(), {"OK", "\r", "\n"}},
        {"garbage", Misbehaviour::garbage("#~\x01\r\n"), {"#~\x01\r\n"}},
        {"lone line feed", Misbehaviour::lone_line_end("\n"), {"\n"}},
        {"refused", Misbehaviour::refusal(), {"NO\r\n"}},
        {"dropped", Misbehaviour::line_drop(), {"OK"}},
    };
    for (const auto& row : table) {
        Line line;
        line.responder.misbehave_next(row.behaviour);
        EXPECT_EQ(pieces(line.send("/access:318406")), row.writes) << row.name;
        EXPECT_EQ(line.unit.logged_on(), !row.behaviour.silent && !row.behaviour.refuse)
            << row.name << ": a silent or refusing unit changes nothing";
        EXPECT_EQ(line.responder.line_dead(), row.behaviour.drop) << row.name;
    }
}

TEST(UnitReplies, TheLastLineOfTheLogInformationCanComeInTwoWrites) {
    Line line;
    line.responder.misbehave_next(Misbehaviour::last_line_split());
    const QStringList writes = pieces(line.send("/LOGINFO"));
    ASSERT_EQ(writes.size(), 3);
    EXPECT_TRUE(writes[0].endsWith("LogWrap=0\r\n")) << writes[0];
    EXPECT_FALSE(writes[0].contains("LogRecords"));
    EXPECT_EQ(writes[1] + writes[2], "LogRecords=0\r\n");
    EXPECT_FALSE(writes[1].contains("LogRecords")) << "the key itself is cut";
}

TEST(UnitReplies, AThirdSendUnitIgnoresTheSameCommandTwiceThenAnswers) {
    Line line;
    line.responder.misbehave_next(Misbehaviour::third_send());
    // Counting starts again for a different command.
    EXPECT_TRUE(line.send("/ISCSO").empty());
    EXPECT_TRUE(line.send("/ISFLOW").empty());
    EXPECT_TRUE(line.send("/ISFLOW").empty());
    EXPECT_EQ(joined(line.send("/ISFLOW")), "NO\r\n");
}

TEST(UnitReplies, ALateReplyStartsAfterItsDelayWithItsPiecesAGapApartAndHoldsUpTheNext) {
    Line line;
    line.responder.set_chunk_gap_ms(30);
    Misbehaviour late_and_split = Misbehaviour::line_end_apart();
    late_and_split.delay_ms = 12000;
    line.responder.misbehave_next(late_and_split);
    const auto late = line.send("/who", 500);
    ASSERT_EQ(late.size(), 3u);
    EXPECT_DOUBLE_EQ(late[0].at_ms, 12500);
    EXPECT_DOUBLE_EQ(late[1].at_ms, 12530);
    EXPECT_DOUBLE_EQ(late[2].at_ms, 12560);
    const auto next = line.send("/who", 10500);
    ASSERT_EQ(next.size(), 1u);
    EXPECT_GE(next[0].at_ms, 12560) << "the line is busy until the late reply is out";
}

TEST(UnitReplies, RulesForACommandMatchWithoutCaseAndByFront) {
    Line line;
    line.unit.handle("/access:318406");
    line.responder.misbehave_on("/P104:*", Misbehaviour::refusal());
    line.responder.misbehave_on("/isflow", Misbehaviour::silence(), 2);
    EXPECT_EQ(joined(line.send("/p104:3")), "NO\r\n");
    EXPECT_EQ(joined(line.send("/p104")), "1\r\n") << "refusal left P104 alone";
    EXPECT_EQ(joined(line.send("/p100:2")), "OK\r\n");
    EXPECT_TRUE(line.send("/ISFLOW").empty());
    EXPECT_TRUE(line.send("/IsFlow").empty());
    EXPECT_EQ(joined(line.send("/ISFLOW")), "NO\r\n") << "two times only";

    // "The next" comes first; then the standing rule again.
    line.responder.misbehave_next(Misbehaviour::garbage("?\r\n"));
    EXPECT_EQ(joined(line.send("/p104:2")), "?\r\n");
    EXPECT_EQ(joined(line.send("/p104:2")), "NO\r\n");
    line.responder.clear_misbehaviour();
    EXPECT_EQ(joined(line.send("/p104:2")), "OK\r\n");
}

TEST(UnitReplies, PacingFollowsTheBaudRateAtTenBitsAByte) {
    const QByteArray reply(1920, 'x');
    for (int baud : {1200, 115200}) {
        const auto writes = unitsim::pace_segments({reply}, 100, baud, 30);
        ASSERT_FALSE(writes.empty());
        EXPECT_EQ(joined(writes), reply) << baud;
        // 1920 bytes take 19200 bits: one second at 19200 baud.
        EXPECT_NEAR(writes.back().at_ms, 100 + 19200.0 * 1000 / baud, 0.001) << baud;
        double previous = 100;
        for (const auto& w : writes) {
            EXPECT_GT(w.at_ms, previous) << baud;
            // No write carries the line ahead of its time: its bytes have gone out by at_ms.
            EXPECT_LE(w.bytes.size() * 10000.0 / baud, w.at_ms - previous + 1e-9) << baud;
            previous = w.at_ms;
        }
    }
}

TEST(UnitReplies, RepliesArePacedBackToBack) {
    Line line;
    line.responder.set_baud(19200);
    const auto first = line.send("/sendall", 0);
    // The reply follows the command's own wire time ("/sendall" and its CR).
    const double sendall_ms = (9 + line.unit.sendall_text().size() + 2) * 10000.0 / 19200;
    EXPECT_NEAR(first.back().at_ms, sendall_ms, 0.001);
    const auto second = line.send("/WHO", 1);
    EXPECT_NEAR(second.back().at_ms, sendall_ms + 20 * 10000.0 / 19200, 0.001);
}
