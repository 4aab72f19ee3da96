// The unitsim program on a real pseudo-terminal, talked to through the serial port class the
// program uses, on the test's own event loop. The simulator inside it serves every link test.
#include "platform/clock.h"
#include "qt_print.h"

#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSerialPort>
#include <QTemporaryDir>
#include <gtest/gtest.h>

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
