// The modem window end to end against the simulated unit behind its Hayes modem: the dial and
// its results, the unit reached through the modem line, and the hang-up with the "+++" escape.
#include "simulated_unit.h"

#include "link/log_on.h"
#include "link/modem_rules.h"
#include "link/modem_window.h"
#include "link/traffic_box.h"
#include "shell/definitions_table.h"

#include <QAction>
#include <QLabel>
#include <QTimer>

namespace {

class ModemWindowTest : public SimulatedUnitTest {
protected:
    void SetUp() override {
        SimulatedUnitTest::SetUp();
        sim->set_modem(true);
        shell().telephone_number = "0123 456789";
        shell().login_passcode = "318406";
    }
    void TearDown() override {
        modem_window().Form_Unload();
        SimulatedUnitTest::TearDown();
    }
    QStringList modem_commands() const { return sim->modem().commands(); }
};

TEST(ModemRules, TheDialEndsOnAnyResultAndTheConnectLineLosesItsLineEnds) {
    using modem::DialResult;
    // clang-format off
    const std::pair<const char*, DialResult> cases[] = {
        {"ATZ\r\nOK\r\n", DialResult::None},       {"OK\r\nCONNECT 19200\r\n", DialResult::Connect},
        {"OK\r\nbusy\r\n", DialResult::Busy},      {"NO CARRIER\r\n", DialResult::NoCarrier},
        {"NO DIALTONE\r\n", DialResult::NoDialtone}, {"No Answer", DialResult::NoAnswer},
        {"ERROR", DialResult::Error}};
    // clang-format on
    for (const auto& [traffic, result] : cases)
        EXPECT_EQ(modem::dial_result(traffic), result) << traffic;
    EXPECT_EQ(modem::connect_line("ATDT1\r\nCONNECT 9600/ARQ\r\n"), "CONNECT 9600/ARQ");
    EXPECT_EQ(modem::elapsed_text(3723.9), "01:02:03");
}

TEST_F(ModemWindowTest, DiallingConnectsAndTheUnitAnswersThroughTheModemLine) {
    ModemWindow& w = modem_window();
    EXPECT_TRUE(link().modem_window_open && !w.key_logoff->isEnabled());
    w.key_connect->trigger();
    EXPECT_EQ(modem_commands(), QStringList({"ATZ", "ATE0", "ATDT0123 456789"}));
    EXPECT_EQ(fields(sim->modem().dialled(), link().modem_connected, w.panel1->text(),
                     w.key_logoff->isEnabled(), w.Timer1->isActive()),
              fields("0123 456789", true, "CONNECT 19200", true, true));

    EXPECT_TRUE(connect_to_unit(false) && received().contains("/access:318406"))
        << "the unit was not reached through the modem line";
    w.key_logoff->trigger();
    EXPECT_EQ(received().last(), "/access:off");
    EXPECT_TRUE(link().modem_connected) << "logging off hung up";

    w.key_disconnect->trigger();
    EXPECT_EQ(modem_commands().mid(3), QStringList({"ATH", "ATZ"}));
    EXPECT_EQ(fields(sim->modem().state() == unitsim::HayesModem::State::Command,
                     link().modem_connected, MSComm1().port_open(), w.key_logoff->isEnabled(),
                     w.panel1->text(), w.Text1->toPlainText().contains("+++")),
              fields(true, false, false, false, ui_text(1351, "Offline"), true));
    EXPECT_TRUE(dialogs.prompts.empty()) << dialogs.messages().join('|').toStdString();
}

TEST_F(ModemWindowTest, EveryOtherResultHangsUpAndSaysWhy) {
    // Each result's own reading is ModemRules' table.
    for (const char* result : {"BUSY", "NO ANSWER"}) {
        sim->modem().set_dial_result(result);
        ModemWindow& w = modem_window();
        w.key_connect->trigger();
        EXPECT_FALSE(link().modem_connected) << result;
        EXPECT_EQ(modem_commands().mid(modem_commands().size() - 2), QStringList({"ATH", "ATZ"}))
            << result << ": not hung up";
        EXPECT_TRUE(w.panel1->text().endsWith(result)) << w.panel1->text().toStdString();
    }
    EXPECT_TRUE(dialogs.prompts.empty());
}

TEST_F(ModemWindowTest, NoTelephoneNumberIsToldAndNothingIsSent) {
    shell().telephone_number.clear();
    ModemWindow& w = modem_window();
    w.key_connect->trigger();
    ASSERT_EQ(dialogs.prompts.size(), 1u);
    // The window goes.
    EXPECT_EQ(
        fields(dialogs.prompts[0].style, received().size(), w.loaded(), link().modem_window_open),
        fields(platform::mb::Critical, 0, false, false));
    link().cancel_requested = false;
    modem_window().disconnect_modem();
    EXPECT_TRUE(link().cancel_requested && modem_commands().isEmpty())
        << "hung up without a number";
}

TEST_F(ModemWindowTest, CloseEndsTheDialWaitAndLeavesTheFlagsDown) {
    sim->modem().set_dial_ms(60000);
    ModemWindow& w = modem_window();
    bool dialling_seen = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (w.dialling()) {
            dialling_seen = true;
            w.key_stop->trigger();
        }
    });
    poll.start(5);
    w.key_connect->trigger();
    EXPECT_EQ(fields(dialling_seen, link().modem_connected, link().modem_window_open, w.loaded()),
              fields(true, false, false, false));
}

TEST_F(ModemWindowTest, ASlowDialIsSentOnceAndItsConnectLineStandsAlone) {
    // Longer than the link's 40 s time-out: a second dial would abort the call being set up.
    sim->modem().set_dial_ms(60000);
    ModemWindow& w = modem_window();
    bool held = true;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (w.dialling())
            held = held && !w.key_connect->isEnabled() && !w.panel2->text().isEmpty();
    });
    poll.start(2);
    w.key_connect->trigger();
    poll.stop();
    EXPECT_TRUE(held) << "the connect key could dial again, or the wait showed no countdown";
    EXPECT_EQ(fields(modem_commands().join(' '), link().modem_connected, w.panel1->text()),
              fields("ATZ ATE0 ATDT0123 456789", true, "CONNECT 19200"));
    EXPECT_FALSE(w.Text1->toPlainText().contains(ui_text(2000, "(late reply dropped)")));
    EXPECT_TRUE(dialogs.prompts.empty()) << dialogs.messages().join('|').toStdString();
}

TEST_F(ModemWindowTest, AModemThatDoesNotAnswerGetsNoDial) {
    sim->misbehave_next(unitsim::Misbehaviour::silence(), -1);
    sim->set_modem(false);
    modem_window().key_connect->trigger();
    // One failure message, and the window can dial again.
    EXPECT_EQ(fields(received().join(' '), dialogs.prompts.size(), link().modem_connected,
                     modem_window().key_connect->isEnabled()),
              fields("ATZ ATZ ATZ", 1, false, true));
}

} // namespace
