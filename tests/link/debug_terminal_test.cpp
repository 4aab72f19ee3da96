// The debug terminal driven through its controls, talking to the simulated unit.
#include "simulated_unit.h"

#include "link/debug_terminal.h"
#include "link/terminal_keys.h"
#include "link/traffic_box.h"

#include <QKeyEvent>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

class DebugTerminalTest : public SimulatedUnitTest {
protected:
    void TearDown() override {
        if (DebugTerminalWindow* w = debug_terminal_if_open())
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
    DebugTerminalWindow& w = debug_terminal();
    EXPECT_TRUE(link().debug_window_open && (w.windowFlags() & Qt::WindowStaysOnTopHint));
    w.Command1->click();
    w.Command2->click();
    w.Command3->click();
    w.Command4->click();
    EXPECT_EQ(received(), QStringList({"/access:318406", "/who", "/P141:1", "/loginfo"}));
    EXPECT_TRUE(platform::wait_until([this] { return box().contains("LogRecords"); }, 100))
        << "the multi-line answer is shown as it came";
    EXPECT_TRUE(box().startsWith("/ACCESS:****\nOK\n/who\n") && !box().contains("318406"))
        << "the access code was shown: " << box();
    w.cmdClose->click();
    EXPECT_FALSE(link().debug_window_open) << "a closed terminal goes on collecting traffic";
    show_debug_terminal();
    EXPECT_TRUE(box().isEmpty()) << "a reopened terminal shows old traffic";
}

TEST_F(DebugTerminalTest, ButtonsAreHeldWhileACommandWaitsAndComeBackAfterItFails) {
    show_debug_terminal();
    DebugTerminalWindow& w = debug_terminal();
    sim->misbehave_on("/who", unitsim::Misbehaviour::silence());
    bool held = true, waited = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (!view.status_text(2).isEmpty()) {
            waited = true;
            held = held && !w.Command1->isEnabled() && !w.Command4->isEnabled();
        }
    });
    poll.start(2);
    w.Command2->click();
    poll.stop();
    EXPECT_TRUE(waited && held) << "a button could start a command inside another's wait";
    EXPECT_EQ(dialogs.prompts.size(), 1u);
    EXPECT_TRUE(w.Command1->isEnabled() && w.Command2->isEnabled()) << "the buttons stayed dead";
}

TEST_F(DebugTerminalTest, TypedKeysOpenThePortAndGoOutOneByOne) {
    ASSERT_FALSE(MSComm1().port_open());
    shell().comm_settings = "19200,N,8,1";
    show_debug_terminal();
    type("/p104\r");
    EXPECT_TRUE(MSComm1().port_open()) << "the first key opened the port";
    const QString reply = sim->unit().read_text(104) + "\n";
    ASSERT_TRUE(platform::wait_until([&] { return box().contains(reply); }, 100)) << box();
    EXPECT_TRUE(received() == QStringList({"/p104"}) && box().startsWith("/p104\n"))
        << "typed characters show as typed";
}

TEST_F(DebugTerminalTest, APortThatCannotBeOpenedIsReportedAndNothingIsSent) {
    shell().com_port = 55;
    show_debug_terminal();
    debug_terminal().Command2->click();
    type("x");
    ASSERT_EQ(dialogs.prompts.size(), 2u);
    EXPECT_EQ(fields(dialogs.prompts[0].title, dialogs.prompts[0].style, received().size()),
              fields("Error 8002", platform::mb::Critical, 0));
}

TEST_F(DebugTerminalTest, KeysTypedFasterThanTheSettlePauseGoOutOnceAndInOrder) {
    show_debug_terminal();
    TrafficBox* box_widget = debug_terminal().txtTerminal;
    // Every key is queued before the first one is handled, so all but the first arrive while an
    // earlier key waits out its settle pause: faster than any typist.
    for (QChar c : QStringLiteral("/who\r/p104\r")) {
        const int key = c == '\r' ? int(Qt::Key_Return) : c.toUpper().unicode();
        QCoreApplication::postEvent(box_widget,
                                    new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier, c));
    }
    QCoreApplication::postEvent(
        box_widget, new QKeyEvent(QEvent::KeyPress, Qt::Key_T, Qt::ControlModifier, "\x14"));
    ASSERT_TRUE(platform::wait_until([this] { return received().size() >= 3; }, 30))
        << "the unit got " << received().join('|').toStdString();
    platform::wait_ms(200);
    EXPECT_EQ(received(), QStringList({"/who", "/p104", QString(QChar(20))}))
        << "the typed keys reached the unit scrambled or twice";
    EXPECT_TRUE(box().startsWith("/who\n") && box().contains("^T") && dialogs.prompts.empty())
        << "the control key is not shown as typed: " << box();
}

TEST_F(DebugTerminalTest, CharactersOfTheWindowsCodePageGoAsTheirByte) {
    show_debug_terminal();
    type("/x");
    for (const QString& text : {QStringLiteral("\u20ac"), QStringLiteral("\u00e9")}) {
        QKeyEvent key(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text);
        QCoreApplication::sendEvent(debug_terminal().txtTerminal, &key);
    }
    type("\r");
    ASSERT_TRUE(platform::wait_until([this] { return !received().isEmpty(); }, 30));
    // The unit reads each byte as Latin-1: the euro sign's byte 0x80 and the e acute's 0xE9.
    EXPECT_EQ(received().first(), QString("/x") + QChar(0x80) + QChar(0xE9));
    EXPECT_TRUE(box().startsWith(QStringLiteral("/x\u20ac\u00e9"))) << box();
}

TEST(TerminalKeys, EachKeySendsTheByteATerminalSends) {
    const auto none = Qt::NoModifier, ctrl = Qt::ControlModifier;
    const std::nullopt_t no = std::nullopt;
    // clang-format off
    const struct { const char* what; int key; Qt::KeyboardModifiers modifiers; QString text;
                   std::optional<char> byte; } cases[] = {
        {"shifted letter", Qt::Key_A, Qt::ShiftModifier, "A", 'A'},
        {"keypad Enter", Qt::Key_Enter, Qt::KeypadModifier, "\r", '\r'},
        {"Backspace", Qt::Key_Backspace, none, "\b", '\b'}, {"Ctrl+T without text", Qt::Key_T, ctrl, "", '\x14'},
        {"Ctrl+Shift+A", Qt::Key_A, ctrl | Qt::ShiftModifier, "", '\x01'},
        {"Ctrl+[", Qt::Key_BracketLeft, ctrl, "", '\x1b'}, {"Ctrl+@", Qt::Key_At, ctrl, "", '\0'},
        {"euro sign", Qt::Key_unknown, none, "\u20ac", '\x80'}, {"e acute", Qt::Key_Eacute, none, "\u00e9", '\xe9'},
        {"no Windows-1252 byte", Qt::Key_unknown, none, "\u03a9", no}, {"arrow", Qt::Key_Left, none, "", no},
        {"Alt combination", Qt::Key_X, Qt::AltModifier, "x", no}, {"Ctrl+arrow", Qt::Key_Left, ctrl, "", no}};
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(terminal_key_byte(c.key, static_cast<int>(c.modifiers), c.text), c.byte)
            << c.what;
}

TEST(TerminalKeys, SentKeysShowReadably) {
    const std::pair<char, QString> cases[] = {
        {'\r', "\r\n"},
        {'\0', "^@"},
        {'\x7f', "^?"},
        {'\x80', QStringLiteral("\u20ac")},
    };
    for (const auto& [byte, shown] : cases)
        EXPECT_EQ(terminal_key_echo(byte), shown) << int(static_cast<unsigned char>(byte));
}

} // namespace
