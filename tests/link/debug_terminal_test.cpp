// The debug terminal driven through its controls, talking to the simulated unit.
#include "simulated_unit.h"

#include "link/debug_terminal.h"
#include "link/traffic_box.h"

#include <QPushButton>
#include <QTest>

namespace {

class DebugTerminalTest : public SimulatedUnitTest {
protected:
    void TearDown() override {
        if (frmDebug* w = debug_terminal_if_open())
            w->close();
        platform::pump_events();
        SimulatedUnitTest::TearDown();
    }

    void type(const char* keys) { QTest::keyClicks(debug_terminal().txtTerminal, keys); }

    // What the terminal box shows.
    QString box() { return debug_terminal().txtTerminal->toPlainText(); }
};

TEST_F(DebugTerminalTest, ButtonsSendTheirCommandsAndTheBoxShowsTheTrafficMasked) {
    show_debug_terminal();
    frmDebug& w = debug_terminal();
    EXPECT_TRUE(link().debug_window_open);
    EXPECT_TRUE(w.windowFlags() & Qt::WindowStaysOnTopHint);
    w.Command1->click();
    w.Command2->click();
    w.Command3->click();
    w.Command4->click();
    EXPECT_EQ(received(), QStringList({"/access:318406", "/who", "/P141:1", "/loginfo"}));
    EXPECT_TRUE(platform::wait_until([this] { return box().contains("LogRecords"); }, 100))
        << "the multi-line answer is shown as it came";
    EXPECT_TRUE(box().startsWith("/ACCESS:****\nOK\n/who\n")) << box();
    EXPECT_FALSE(box().contains("318406")) << "the access code was shown";
    w.cmdClose->click();
    EXPECT_FALSE(link().debug_window_open) << "a closed terminal goes on collecting traffic";
    show_debug_terminal();
    EXPECT_TRUE(box().isEmpty()) << "a reopened terminal shows old traffic";
}

TEST_F(DebugTerminalTest, TypedKeysOpenThePortAndGoOutOneByOne) {
    ASSERT_FALSE(MSComm1().port_open());
    shell().comm_settings = "19200,N,8,1";
    show_debug_terminal();
    type("/p104\r");
    EXPECT_TRUE(MSComm1().port_open()) << "the first key opened the port";
    const QString reply = sim->unit().read_text(104) + "\n";
    ASSERT_TRUE(platform::wait_until([&] { return box().contains(reply); }, 100)) << box();
    EXPECT_EQ(received(), QStringList({"/p104"}));
    EXPECT_TRUE(box().startsWith("/p104\n")) << "typed characters show as typed";
}

TEST_F(DebugTerminalTest, APortThatCannotBeOpenedIsReportedAndNothingIsSent) {
    shell().com_port = 55;
    show_debug_terminal();
    debug_terminal().Command2->click();
    type("x");
    ASSERT_EQ(dialogs.prompts.size(), 2u);
    EXPECT_EQ(dialogs.prompts[0].title, "Error 8002");
    EXPECT_EQ(dialogs.prompts[0].style, platform::mb::Critical);
    EXPECT_TRUE(received().isEmpty());
}

} // namespace
