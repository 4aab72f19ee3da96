// The simulated unit on a real pseudo-terminal, talked to through the serial port class the
// program uses, on the test's own event loop.
#include <unitsim/simulator.h>

#include "platform/clock.h"
#include "qt_print.h"

#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSerialPort>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using unitsim::Misbehaviour;
using unitsim::Simulator;
using unitsim::UnitKind;

namespace {

class Port {
public:
    explicit Port(const QString& path) {
        port.setPortName(path);
        port.setBaudRate(19200);
        ok = port.open(QIODevice::ReadWrite);
    }
    // Sends a command and collects what arrives until a line end, as separate arrivals.
    QStringList exchange(const QByteArray& command, double timeout_s = 3) {
        QStringList arrivals;
        auto conn = QObject::connect(&port, &QSerialPort::readyRead,
                                     [&] { arrivals << QString::fromLatin1(port.readAll()); });
        port.write(command + "\r");
        platform::wait_until(
            [&] { return arrivals.join("").contains(QRegularExpression("[\r\n]$")); }, timeout_s);
        platform::wait_ms(100); // a line feed that comes apart
        QObject::disconnect(conn);
        return arrivals;
    }
    QString ask(const QByteArray& command) { return exchange(command).join("").trimmed(); }
    QSerialPort port;
    bool ok = false;
};

} // namespace

TEST(SimulatorOnPseudoTerminal, AnswersThroughASerialPortThatMayBeReopenedAndLogsWhatItReceived) {
    Simulator sim(UnitKind::VeltoLite);
    ASSERT_TRUE(sim.is_open()) << sim.error();
    {
        Port port(sim.slave_path());
        ASSERT_TRUE(port.ok) << port.port.errorString();
        EXPECT_EQ(port.ask("/access:318406"), "OK");
    }
    Port port(sim.slave_path());
    ASSERT_TRUE(port.ok) << "the program may close and reopen the port";
    EXPECT_TRUE(port.ask("/WHO").contains("Velto Lite"));
    EXPECT_EQ(port.ask("/p141:1"), "OK");
    EXPECT_TRUE(port.ask("/WHO").contains("Comms")) << "the board answers while bridged";
    port.port.write("\x14");
    EXPECT_TRUE(port.ask("/WHO").contains("Velto Lite")) << "the exit byte left the bridge";
    EXPECT_EQ(sim.received(), QStringList({"/access:318406", "/WHO", "/p141:1", "/WHO",
                                           QString(QChar(20)), "/WHO"}));
}

TEST(SimulatorOnPseudoTerminal, MisbehaviourReachesTheLine) {
    Simulator sim;
    sim.set_baud(0);
    Port port(sim.slave_path());
    ASSERT_TRUE(port.ok);
    sim.misbehave_next(Misbehaviour::line_end_apart());
    EXPECT_EQ(port.exchange("/ISCSO"), QStringList({"NO", "\r", "\n"}))
        << "the pieces of a reply arrive separately";
    sim.misbehave_next(Misbehaviour::silence());
    EXPECT_TRUE(port.exchange("/WHO", 0.3).isEmpty()) << "a silent unit sent something";
    sim.set_time_scale(1000); // 10 program seconds pass in 10 ms
    sim.misbehave_next(Misbehaviour::late(10000));
    const double sent = sim.now_ms();
    EXPECT_EQ(port.ask("/ISCSO"), "NO");
    EXPECT_GE(sim.now_ms() - sent, 10000) << "a late reply came early";
    EXPECT_TRUE(sim.idle());
}

// The program as a user starts it, with misbehaviour asked for on its command line.
TEST(SimulatorOnPseudoTerminal, TheUnitsimProgramServesOnItsLinkUntilStopped) {
    QTemporaryDir dir;
    const QString link = dir.filePath("unitsim.tty");
    QProcess process;
    process.start(QUILLARN_DATA_DIR "/unitsim",
                  {"--link", link, "--kind", "lite", "--baud", "0", "--defs", dir.path(), "--fault",
                   "refuse@/p20", "--fault", "silent@/p21"});
    ASSERT_TRUE(process.waitForStarted());
    ASSERT_TRUE(platform::wait_until([&] { return process.canReadLine(); }, 5))
        << process.readAllStandardError().toStdString();
    const QString first = QString::fromLocal8Bit(process.readLine()).trimmed();
    EXPECT_TRUE(first.startsWith("unitsim: serving a simulated lite unit")) << first;
    const QString slave = first.section(" on ", 1).section(' ', 0, 0);
    EXPECT_TRUE(slave.startsWith("/dev/")) << first;
    EXPECT_TRUE(first.contains(link)) << "the first line does not say where the unit is linked";
    EXPECT_EQ(QFileInfo(link).symLinkTarget(), slave);
    {
        Port port(link);
        ASSERT_TRUE(port.ok);
        EXPECT_TRUE(port.ask("/WHO").contains("Velto Lite")) << "other commands go unanswered";
        EXPECT_EQ(port.ask("/p20"), "NO");
        EXPECT_TRUE(port.exchange("/p21", 0.3).isEmpty()) << "a silent command was answered";
    }
    EXPECT_TRUE(process.readAllStandardError().contains("built-in"))
        << "a folder without definition files is reported";
    process.terminate();
    ASSERT_TRUE(process.waitForFinished(5000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_FALSE(QFileInfo(link).isSymLink()) << "the link goes with the program";

    QProcess bad;
    bad.start(QUILLARN_DATA_DIR "/unitsim",
              {"--link", dir.filePath("bad.tty"), "--fault", "late=soon"});
    ASSERT_TRUE(bad.waitForFinished(5000));
    EXPECT_EQ(bad.exitCode(), 2);
    EXPECT_TRUE(bad.readAllStandardError().contains("late wants milliseconds"));
}
