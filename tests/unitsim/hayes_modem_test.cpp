// The simulated Hayes modem as logic: what each command line answers, when the line reaches the
// unit, and the way back with "+++" and ATH.
#include <unitsim/hayes_modem.h>

#include "unit_test_support.h"

namespace {

using unitsim::HayesModem;

class HayesModemTest : public ::testing::Test {
protected:
    unitsim::UnitCore unit{unitsim::UnitKind::Level};
    unitsim::Responder responder{unit};
    HayesModem modem{responder};
    double now = 0;

    void SetUp() override { responder.set_baud(0); }

    // What the line carries back for `bytes`, all writes joined.
    QByteArray send(const QByteArray& bytes) {
        now += 5000;
        return joined(modem.receive(bytes, now));
    }
};

TEST_F(HayesModemTest, CommandLinesAnswerAsAModemDoes) {
    const struct {
        const char* line;
        const char* reply;
        HayesModem::State state;
    } steps[] = {{"ATZ\r", "OK\r\n", HayesModem::State::Command},
                 {"/who\r", "ERROR\r\n", HayesModem::State::Command},
                 {"ATO\r", "NO CARRIER\r\n", HayesModem::State::Command},
                 {"ATDT 0123\r", "CONNECT 19200\r\n", HayesModem::State::Online},
                 {"/who\r", "@Velto Level V2.05\r\n", HayesModem::State::Online},
                 {"+", "", HayesModem::State::Online},
                 {"++", "OK\r\n", HayesModem::State::OnlineCommand},
                 {"ATO\r", "CONNECT\r\n", HayesModem::State::Online},
                 {"+++", "OK\r\n", HayesModem::State::OnlineCommand},
                 {"+++ATH\r", "OK\r\n", HayesModem::State::Command}};
    for (const auto& s : steps) {
        EXPECT_EQ(send(s.line), s.reply) << s.line;
        EXPECT_EQ(modem.state(), s.state) << s.line;
    }
    EXPECT_EQ(modem.dialled(), "0123");
}

TEST_F(HayesModemTest, ADialThatFailsLeavesTheModemOfflineAndTheUnitUnheard) {
    for (const char* result : {"BUSY", "NO DIALTONE"}) {
        modem.set_dial_result(result);
        EXPECT_EQ(send("ATDT1\r"), QByteArray(result) + "\r\n");
        EXPECT_FALSE(modem.connected()) << result;
        EXPECT_EQ(send("/who\r"), "ERROR\r\n") << result << ": the unit answered offline";
    }
    EXPECT_TRUE(responder.received().isEmpty());
}

TEST_F(HayesModemTest, PlusSignsInsideDataReachTheUnit) {
    send("ATD1\r");
    send("/p1+2\r");
    EXPECT_EQ(responder.received(), QStringList({"/p1+2"}));
}

} // namespace
