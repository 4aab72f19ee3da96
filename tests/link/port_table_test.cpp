// Port numbers, discovery and the availability test on a fake device tree, and the mapping of
// any path to a port number from the command line.
#include "link_fixture.h"

#include "link/port_discovery.h"
#include "link/port_mapping.h"
#include "link/serial_texts.h"
#include "platform/profile.h"

#include <QDir>
#include <QFile>

namespace {

// A device tree under a temp folder: dev/ with device nodes (plain files here) and
// serial/by-id links, sys/class/tty with what the kernel says about them.
class DeviceTree {
public:
    explicit DeviceTree(const QString& root) : root_(root) {
        QDir(root).mkpath("dev/serial/by-id");
    }
    void node(const QString& name) { touch("dev/" + name); }
    void by_id(const QString& link, const QString& target) {
        const QString path = root_ + "/dev/serial/by-id/" + link;
        QFile::remove(path);
        QFile::link("../../" + target, path);
    }
    void sys(const QString& relative, const QString& content) {
        QDir(root_).mkpath(QFileInfo(root_ + "/sys/" + relative).path());
        QFile f(root_ + "/sys/" + relative);
        f.open(QIODevice::WriteOnly);
        f.write(content.toUtf8());
    }
    void sys_link(const QString& relative, const QString& target) {
        QDir(root_).mkpath(QFileInfo(root_ + "/sys/" + relative).path());
        QFile::link(target, root_ + "/sys/" + relative);
    }
    QString dev(const QString& name) const { return root_ + "/dev/" + name; }

private:
    void touch(const QString& relative) {
        QFile f(root_ + "/" + relative);
        f.open(QIODevice::WriteOnly);
    }
    QString root_;
};

class PortTableTest : public LinkTest {
protected:
    void SetUp() override {
        LinkTest::SetUp();
        QFile::remove(ini);
        tree = std::make_unique<DeviceTree>(dir.path());
        tree->node("ttyS0");
        tree->node("ttyS1");
        tree->node("ttyS2");
        tree->sys("class/tty/ttyS2/type", "0\n"); // no hardware behind it
        tree->sys("class/tty/ttyS0/type", "4\n");
        tree->node("ttyUSB0");
        tree->node("ttyUSB1");
        tree->node("ttyACM0");
        tree->node("tty0");
        tree->by_id("usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0", "ttyUSB1");
        tree->by_id("usb-Arduino_Uno_7543-if00", "ttyACM0");
        tree->sys("devices/usb1/1-1/product", "Uno\n");
        tree->sys("devices/usb1/1-1/manufacturer", "Arduino\n");
        QDir(dir.path()).mkpath("sys/devices/usb1/1-1/1-1:1.0");
        tree->sys_link("class/tty/ttyACM0/device", dir.path() + "/sys/devices/usb1/1-1/1-1:1.0");
    }

    std::map<int, std::pair<QString, QString>> discovered() {
        std::map<int, std::pair<QString, QString>> out;
        for (const auto& p : platform::discover_ports())
            out[p.number] = {p.device_path, p.description};
        return out;
    }

    std::unique_ptr<DeviceTree> tree;
};

TEST_F(PortTableTest, SerialPortsKeepTheirNumbersAndOtherDevicesAreNumberedFrom17) {
    const auto ports = discovered();
    const QString by_id = dir.path() + "/dev/serial/by-id/";
    const std::map<int, std::pair<QString, QString>> expected = {
        {1, {tree->dev("ttyS0"), "Serial (ttyS0)"}},
        {2, {tree->dev("ttyS1"), "Serial (ttyS1)"}},
        {17, {by_id + "usb-Arduino_Uno_7543-if00", "Arduino Uno (ttyACM0)"}},
        {18, {tree->dev("ttyUSB0"), "USB serial (ttyUSB0)"}},
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
    QFile::remove(tree->dev("ttyUSB1"));
    QFile::remove(tree->dev("ttyUSB0"));
    tree->node("ttyUSB0");
    tree->by_id("usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0", "ttyUSB0");
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
    platform::write_profile_string(ini, "ports", "com5", tree->dev("ttyUSB0"));
    const auto ports = discovered();
    EXPECT_EQ(ports.at(1), std::make_pair(elsewhere, elsewhere));
    EXPECT_EQ(ports.at(5).first, tree->dev("ttyUSB0"));
    EXPECT_EQ(ports.at(5).second, "USB serial (ttyUSB0)");
    EXPECT_EQ(ports.at(17).second, "Arduino Uno (ttyACM0)");
    EXPECT_EQ(ports.at(18).second, "FTDI FT232R USB UART A50285BI (ttyUSB1)");
    EXPECT_FALSE(ports.count(19)) << "a mapped device got a second number";
    EXPECT_EQ(platform::port_device_path(1), elsewhere);
    EXPECT_EQ(platform::port_device_path(2), tree->dev("ttyS1"));
    EXPECT_EQ(platform::port_device_path(3), tree->dev("ttyS2"));
    EXPECT_TRUE(platform::port_device_path(30).isEmpty());
}

TEST_F(PortTableTest, PortNamesGiveTheirNumbers) {
    struct Case {
        const char* name;
        int number;
    } cases[] = {{"COM12", 12}, {"COM1:", 1}, {"COM", 0}, {"LPT1", 0}, {"FILE:", 0}};
    for (const Case& c : cases)
        EXPECT_EQ(platform::port_number_from_name(c.name), c.number) << c.name;
}

TEST_F(PortTableTest, RowsAreSortedByNameWithStatusAndDescription) {
    platform::map_port(3, sim->slave_path());
    const QStringList rows = get_ports();
    const QString available = serial_text(11) + "   ";
    QStringList names;
    for (const QString& row : rows)
        names << row.section('\t', 0, 0);
    EXPECT_EQ(names, QStringList({"COM1", "COM17", "COM18", "COM19", "COM2", "COM3"}));
    EXPECT_EQ(rows.last(), "COM3\t" + available + "\t" + sim->slave_path());
    EXPECT_EQ(rows.first(), "COM1\t" + available + "\tSerial (ttyS0)");
}

TEST_F(PortTableTest, TheOpenTestSaysNotAvailableOnlyWhenThereIsNoDevice) {
    shell().baud_rate = 19200;
    platform::map_port(3, sim->slave_path());
    platform::map_port(4, dir.filePath("gone.tty"));
    const QString available = serial_text(11) + "   ";
    const QString not_available = serial_text(12) + "   ";
    EXPECT_EQ(test_port("COM3"), available);
    EXPECT_EQ(shell().comm_settings, "19200,N,8,1")
        << "the test sets the settings from the baud rate";
    EXPECT_EQ(test_port("COM4"), not_available) << "a mapped device that is missing";
    EXPECT_EQ(test_port("COM40"), not_available) << "an unmapped number";
    shell().com_port = 3;
    open_port();
    EXPECT_EQ(test_port("COM3"), available) << "the program's own open port";
    EXPECT_TRUE(MSComm1().port_open()) << "the test disturbed the open port";
}

TEST_F(PortTableTest, MapPortArgumentsWriteThePortsSectionAndChooseThePortForTheRun) {
    shell().com_port = 1;
    const QStringList problems = apply_map_port_arguments(
        {"quillarnpc", "--map-port", "3=relative.tty", "--map-port=4=/dev/ttyUSB7", "--map-port",
         "x=y", "--map-port", "0=/dev/null"});
    EXPECT_EQ(problems.size(), 2) << problems.join("\n").toStdString();
    EXPECT_EQ(platform::read_port_map(ini),
              (std::map<int, QString>{{3, QDir::current().absoluteFilePath("relative.tty")},
                                      {4, "/dev/ttyUSB7"}}));
    EXPECT_EQ(shell().com_port, 4);
    EXPECT_FALSE(platform::read_profile_string(ini, "General", "Port"))
        << "the run's port is not stored";
}

TEST_F(PortTableTest, TheProgramTalksToTheUnitThroughAMappedLink) {
    const QString symlink = dir.filePath("unitsim.tty");
    ASSERT_TRUE(sim->link(symlink));
    apply_map_port_arguments({"quillarnpc", "--map-port", "7=" + symlink});
    open_com_port();
    ASSERT_FALSE(link().port_open_failed);
    send_command("/WHO");
    EXPECT_EQ(link().reply_buffer, sim->unit().profile().who_reply);
}

TEST(SerialTexts, AreBuiltInPerLanguage) {
    struct Case {
        int language;
        int entry;
        const char* text;
    } cases[] = {
        {0, 11, "Available"},
        {0, 12, "Not Available"},
        {1, 12, "Not Available"},
        {3, 11, "Disponibile"},
        {3, 12, "Non Disponibile"},
        {4, 12, "No disponible"},
        {1, 100, "Mit Geraet verbunden"},
        {0, 100, "Logged on to unit"},
        {4, 15, "Buscando…"},
        {0, 49, " out of "},
    };
    for (const Case& c : cases) {
        reset_shell_state();
        shell().language_index = static_cast<int16_t>(c.language);
        EXPECT_EQ(serial_text(c.entry), QString::fromUtf8(c.text)) << c.language << "/" << c.entry;
        read_lang_inc();
        EXPECT_EQ(serial_texts()[static_cast<size_t>(c.entry)], QString::fromUtf8(c.text));
    }
    EXPECT_TRUE(serial_texts()[110].isEmpty());
}

} // namespace
