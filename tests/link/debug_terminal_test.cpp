// The debug terminal driven through its controls, talking to the simulated unit.
#include "link_fixture.h"

#include "link/debug_terminal.h"
#include "link/traffic_box.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>

namespace {

class DebugTerminalTest : public LinkTest {
protected:
    void TearDown() override {
        if (frmDebug* w = debug_terminal_if_open())
            w->close();
        platform::pump_events();
        LinkTest::TearDown();
    }

    void type(const QString& text) {
        frmDebug& w = debug_terminal();
        for (QChar c : text) {
            const int key = c == '\r' ? int(Qt::Key_Return) : int(c.toUpper().unicode());
            QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(c));
            QApplication::sendEvent(w.txtTerminal, &press);
        }
    }

    // What the terminal box shows, with its line breaks as CR LF would be written.
    QString box() { return debug_terminal().txtTerminal->toPlainText(); }

    bool wait_for(const std::function<bool()>& done) { return platform::wait_until(done, 100); }
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
    wait_for([this] { return box().contains("LogRecords"); });
    const QString text = box();
    EXPECT_TRUE(text.startsWith("/ACCESS:****\nOK\n/who\n")) << text.toStdString();
    EXPECT_FALSE(text.contains("318406")) << "the access code was shown";
    EXPECT_TRUE(text.contains("LogRecords")) << "the multi-line answer is shown as it came";
}

TEST_F(DebugTerminalTest, TypedKeysOpenThePortAndGoOutOneByOne) {
    ASSERT_FALSE(MSComm1().port_open());
    shell().comm_settings = "19200,N,8,1";
    show_debug_terminal();
    type("/p104\r");
    EXPECT_TRUE(MSComm1().port_open()) << "the first key opened the port";
    ASSERT_TRUE(wait_for([this] { return box().contains(sim->unit().read_text(104) + "\n"); }))
        << box().toStdString();
    EXPECT_EQ(received(), QStringList({"/p104"}));
    EXPECT_TRUE(box().startsWith("/p104\n")) << "typed characters show as typed";
}

TEST_F(DebugTerminalTest, ClosingTheWindowStopsTheEcho) {
    show_debug_terminal();
    debug_terminal().cmdClose->click();
    EXPECT_FALSE(link().debug_window_open);
    open_port();
    send_command("/p20");
    EXPECT_TRUE(traffic().debug().text().isEmpty());
    show_debug_terminal();
    EXPECT_TRUE(box().isEmpty()) << "a reopened terminal starts empty";
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
