// Port numbers, discovery and the availability test on a fake device tree, and the mapping of
// any path to a port number from the command line.
#include "simulated_unit.h"
#include "test_files.h"

#include "link/port_discovery.h"
#include "link/port_mapping.h"
#include "link/serial_texts.h"
#include "platform/profile.h"

#include <QDir>
#include <QFile>

namespace {

// A device tree under the test's folder: dev/ with device nodes (plain files here) and
// serial/by-id links, sys/ with what the kernel says about them.
class PortTableTest : public SimulatedUnitTest {
protected:
    void SetUp() override {
        SimulatedUnitTest::SetUp();
        QFile::remove(ini);
        for (const char* node :
             {"ttyS0", "ttyS1", "ttyS2", "ttyUSB0", "ttyUSB1", "ttyACM0", "tty0"})
            write("dev/" + QString(node));
        write("sys/class/tty/ttyS2/type", "0\n"); // no hardware behind it
        write("sys/class/tty/ttyS0/type", "4\n");
        by_id("usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0", "ttyUSB1");
        by_id("usb-Arduino_Uno_7543-if00", "ttyACM0");
        write("sys/devices/usb1/1-1/product", "Uno\n");
        write("sys/devices/usb1/1-1/manufacturer", "Arduino\n");
        QDir(dir.path()).mkpath("sys/devices/usb1/1-1/1-1:1.0");
        QDir(dir.path()).mkpath("sys/class/tty/ttyACM0");
        QFile::link(dir.filePath("sys/devices/usb1/1-1/1-1:1.0"),
                    dir.filePath("sys/class/tty/ttyACM0/device"));
    }

    void write(const QString& relative, const QByteArray& content = {}) {
        testfiles::write_bytes(dir.filePath(relative), content);
    }
    void by_id(const QString& link, const QString& target) {
        QDir(dir.path()).mkpath("dev/serial/by-id");
        QFile::remove(dir.filePath("dev/serial/by-id/" + link));
        QFile::link("../../" + target, dir.filePath("dev/serial/by-id/" + link));
    }
    QString dev(const QString& name) const { return dir.filePath("dev/" + name); }

    std::map<int, std::pair<QString, QString>> discovered() {
        std::map<int, std::pair<QString, QString>> out;
        for (const auto& p : platform::discover_ports())
            out[p.number] = {p.device_path, p.description};
        return out;
    }
};

TEST_F(PortTableTest, SerialPortsKeepTheirNumbersAndOtherDevicesAreNumberedFrom17) {
    const auto ports = discovered();
    const QString by_id = dir.path() + "/dev/serial/by-id/";
    const std::map<int, std::pair<QString, QString>> expected = {
        {1, {dev("ttyS0"), "Serial (ttyS0)"}},
        {2, {dev("ttyS1"), "Serial (ttyS1)"}},
        {17, {by_id + "usb-Arduino_Uno_7543-if00", "Arduino Uno (ttyACM0)"}},
        {18, {dev("ttyUSB0"), "USB serial (ttyUSB0)"}},
        {19,
         {by_id + "usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0",
          "FTDI FT232R USB UART A50285BI (ttyUSB1)"}},
    };
    EXPECT_EQ(ports, expected);
    EXPECT_EQ(platform::read_port_map(ini), (std::map<int, QString>{{17, expected.at(17).first},
                                                                    {18, expected.at(18).first},
                                                                    {19, expected.at(19).first}}))
        << "the numbers given are remembered in [Ports]";
}

TEST_F(PortTableTest, ADeviceKeepsItsNumberWhenItComesBackOnAnotherNode) {
    discovered();
    // Unplugged and plugged in again: the adapter is now ttyUSB0, the other device is gone.
    QFile::remove(dev("ttyUSB1"));
    by_id("usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0", "ttyUSB0");
    const auto ports = discovered();
    ASSERT_TRUE(ports.count(19));
    EXPECT_TRUE(ports.at(19).second.endsWith("(ttyUSB0)"));
    EXPECT_FALSE(ports.count(18)) << "ttyUSB0 was numbered again under its old plain name";
    EXPECT_FALSE(ports.count(20));
}

TEST_F(PortTableTest, AHandMadeLineWinsOverDiscovery) {
    const QString elsewhere = dir.filePath("unit.tty");
    QFile(elsewhere).open(QIODevice::WriteOnly);
    platform::write_profile_string(ini, "Ports", "COM1", elsewhere);
    platform::write_profile_string(ini, "ports", "com5", dev("ttyUSB0"));
    platform::write_profile_string(ini, "Ports", "COM6", dev("ttyUSB1")); // known by its link
    const auto ports = discovered();
    // A mapped device gets no second number.
    EXPECT_EQ(fields(ports.at(1).first, ports.at(1).second, ports.at(5).first, ports.at(5).second,
                     ports.at(6).second, ports.at(17).second, ports.count(18) + ports.count(19)),
              fields(elsewhere, elsewhere, dev("ttyUSB0"), "USB serial (ttyUSB0)",
                     "FTDI FT232R USB UART A50285BI (ttyUSB1)", "Arduino Uno (ttyACM0)", 0));
    EXPECT_EQ(fields(platform::port_device_path(1), platform::port_device_path(2),
                     platform::port_device_path(3), platform::port_device_path(30)),
              fields(elsewhere, dev("ttyS1"), dev("ttyS2"), ""));
}

TEST_F(PortTableTest, ThePortListIsSortedByNameAndSaysNotAvailableOnlyWhenThereIsNoDevice) {
    shell().baud_rate = 19200;
    platform::map_port(3, sim->slave_path());
    platform::map_port(4, dir.filePath("gone.tty"));
    const QString available = serial_text(11) + "   ", not_available = serial_text(12) + "   ";
    const QStringList rows = get_ports();
    QStringList names;
    for (const QString& row : rows)
        names << row.section('\t', 0, 0);
    EXPECT_EQ(names, QStringList({"COM1", "COM17", "COM18", "COM19", "COM2", "COM3"}));
    EXPECT_EQ(rows.first(), "COM1\t" + available + "\tSerial (ttyS0)");
    EXPECT_EQ(rows.last(), "COM3\t" + available + "\t" + sim->slave_path());
    EXPECT_EQ(shell().comm_settings, "115200,N,8,1")
        << "a port search changed the rate the link talks to the unit at";
    EXPECT_EQ(test_port("COM4"), not_available) << "a mapped device that is missing";
    for (const char* name : {"COM40", "COM", "LPT1", "FILE:"})
        EXPECT_EQ(test_port(name), not_available) << name << ": no such port number";
    EXPECT_EQ(test_port("COM1:"), available);
    shell().com_port = 3;
    open_port();
    EXPECT_EQ(test_port("COM3"), available) << "the program's own open port";
    EXPECT_TRUE(MSComm1().port_open()) << "the test disturbed the open port";
}

TEST_F(PortTableTest, MapPortArgumentsWriteThePortsSectionAndChooseThePortForTheRun) {
    const QString symlink = dir.filePath("unitsim.tty");
    ASSERT_TRUE(sim->link(symlink));
    const QStringList problems =
        apply_map_port_arguments({"quillarnpc", "--map-port", "3=relative.tty", "--map-port", "x=y",
                                  "--map-port", "0=/dev/null", "--map-port=7=" + symlink});
    EXPECT_EQ(problems.size(), 2) << problems.join("\n");
    EXPECT_EQ(platform::read_port_map(ini),
              (std::map<int, QString>{{3, QDir::current().absoluteFilePath("relative.tty")},
                                      {7, symlink}}));
    EXPECT_EQ(shell().com_port, 7);
    EXPECT_FALSE(platform::read_profile_string(ini, "General", "Port"))
        << "the run's port is not stored";
    open_port();
    send_command("/WHO");
    EXPECT_EQ(link().reply_buffer, sim->unit().profile().who_reply)
        << "the program does not reach the unit through the mapped link";
}

TEST(SerialTexts, ComeInTheUsersLanguage) {
    shell().language_index = 1;
    read_lang_inc();
    EXPECT_EQ(serial_texts()[100], "Mit Geraet verbunden");
    shell().language_index = 4;
    EXPECT_EQ(serial_text(15), QString::fromUtf8("Buscando…")) << "before the texts are read";
    reset_shell_state();
}

} // namespace
