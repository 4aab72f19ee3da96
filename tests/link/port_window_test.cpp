// The port window on a fake device tree: the rows, the choice of a port through the combo and
// the list, the delay box, and a device plugged in or pulled out while the window is open.
#include "simulated_unit.h"
#include "test_files.h"

#include "link/port_window.h"
#include "link/port_window_rules.h"
#include "link/serial_texts.h"
#include "platform/vb.h"
#include "shell/settings.h"
#include "shell/settings_keys.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

namespace {

namespace pw = portwindow;

class PortWindowTest : public SimulatedUnitTest {
protected:
    void SetUp() override {
        SimulatedUnitTest::SetUp();
        QFile::remove(ini);
        for (const char* node : {"ttyS0", "ttyS2", "ttyS3", "tty0", "console"})
            add_device(node);
    }
    void TearDown() override {
        if (PortWindow* w = port_window_if_open())
            w->done(0);
        platform::pump_events();
        SimulatedUnitTest::TearDown();
    }

    void add_device(const QString& name) {
        testfiles::write_bytes(dir.filePath("dev/" + name), {});
    }
    QString setting(QLatin1String key) {
        return read_ini(ini, ini::SECTION_GENERAL, key, QStringLiteral("(none)"));
    }
    static QString port_names(const QStringList& rows) {
        QStringList names;
        for (const QString& r : rows)
            names << r.section('\t', 0, 0);
        return names.join(' ');
    }
    static bool red(const QLabel* l) { return l->styleSheet().contains("#FF0000"); }
    static bool blue(const QLabel* l) { return l->styleSheet().contains("#0000FF"); }
};

TEST(PortWindowRules, RowsAreFoundByTheirNameAndATab) {
    const QStringList rows = {"COM1\tAvailable   \tSerial (ttyS0)", "COM10\tAvailable   \tX",
                              "COM2:\tAvailable   \tY"};
    // COM1 must not match COM10; a name with a colon matches no combo key, but a click still
    // finds its number.
    EXPECT_EQ(fields(pw::row_of_key(rows, pw::combo_key(10)).value_or(-1),
                     pw::row_of_key(rows, pw::combo_key(2)).value_or(-1),
                     pw::row_port_number(rows[2]),
                     pw::shown_description("USB serial (ttyUSB0)", 3)),
              fields(1, -1, 2, "USB serial (ttyUSB0)"));
}

TEST(PortWindowRules, ADeviceThatCameCountsAsArrivalEvenWhenAnotherWent) {
    const std::set<QString> before = {"ttyS0", "ttyUSB0"};
    EXPECT_EQ(pw::device_change(before, {"ttyS0"}), pw::DeviceChange::Removal);
    EXPECT_EQ(pw::device_change(before, {"ttyS0", "ttyACM0"}), pw::DeviceChange::Arrival);
    EXPECT_EQ(pw::device_change(before, before), pw::DeviceChange::None);
    EXPECT_EQ(pw::serial_device_names({"ttyS0", "tty0", "ttyUSB12", "console", "rfcomm1", "ttyS"}),
              (std::set<QString>{"rfcomm1", "ttyS0", "ttyUSB12"}));
}

TEST_F(PortWindowTest, OpeningSelectsTheCurrentPortsRowAndShowsItsDescriptionInBlue) {
    shell().com_port = 3;
    PortWindow& w = port_window();
    EXPECT_EQ(port_names(w.rows()), "COM1 COM3 COM4");
    ASSERT_NE(w.List1->currentItem(), nullptr);
    EXPECT_EQ(fields(w.List1->currentRow(), w.Label2->text(), blue(w.Label2), shell().com_port,
                     w.Combo1->count(), w.Text2->text(), w.Command1->isHidden()),
              fields(1, "Serial (ttyS2)", true, 3, 99, "2000", true));
    EXPECT_EQ(shell().comm_settings, "115200,N,8,1") << "the search changed the link's settings";
}

TEST_F(PortWindowTest, AComboChoiceWithoutARowIsStoredAndSaysInvalidPort) {
    PortWindow& w = port_window();
    w.Combo1->setCurrentIndex(8);
    EXPECT_EQ(fields(shell().com_port, setting(ini::KEY_SELECTED_PORT), setting(ini::KEY_PORT),
                     w.Label2->text(), red(w.Label2), w.List1->selectedItems().size()),
              fields(9, 9, 9, serial_text(16), true, 0));
}

TEST_F(PortWindowTest, ClickingARowChoosesItsPortAndMovesTheCombo) {
    platform::map_port(12, sim->slave_path());
    shell().language_index = 3;
    PortWindow& w = port_window();
    const int row = static_cast<int>(w.rows().indexOf(QRegularExpression("^COM12\t.*")));
    ASSERT_GE(row, 0) << w.rows().join('|').toStdString();
    const QRect r = w.List1->visualItemRect(w.List1->item(row));
    w.show();
    QTest::mouseClick(w.List1->viewport(), Qt::LeftButton, {}, r.center());
    EXPECT_EQ(fields(shell().com_port, w.Combo1->currentIndex(), setting(ini::KEY_SELECTED_PORT)),
              fields(12, 11, "12"));
    EXPECT_TRUE(blue(w.Label2)) << "the combo's own handling ran and said invalid port";
    w.Combo1->setCurrentIndex(0);
    EXPECT_EQ(w.Label2->text(), "Seriale") << "Italian reads the serial port's description so";
    EXPECT_TRUE(w.List1->item(0)->text().contains("Serial (ttyS0)")) << "the row itself stays";
}

TEST_F(PortWindowTest, TheDelayBoxStoresNumbersOnlyAndTheDefaultButtonStores2000) {
    PortWindow& w = port_window();
    // What the box holds, and what is stored after it: text that is no number keeps the last.
    // clang-format off
    const char* typed[][2] = {
        {"350", "350"}, {"35x", "350"}, {" 150 ", "150"}, {"", "150"}, {"abc", "150"},
        {"-500", "150"}}; // below the least delay its arrows reach
    // clang-format on
    for (const auto& [text, stored] : typed) {
        w.Text2->setText(text);
        EXPECT_EQ(setting(ini::KEY_COMMS_DELAY), stored)
            << "after typing \"" << text << "\": a letter was stored";
    }
    w.Command4->click();
    EXPECT_EQ(w.Text2->text(), "2000");
    EXPECT_EQ(setting(ini::KEY_COMMS_DELAY), "2000");
    // Read as every typed number: "1.5" where the locale writes 1,5 is no delay, not 15.
    platform::number_separators() = {",", ".", "de_DE"};
    for (const auto& [text, stored] : {std::pair{"1.5", "2000"}, {"1,5", "1.5"}}) {
        w.Text2->setText(text);
        EXPECT_EQ(setting(ini::KEY_COMMS_DELAY), stored) << "after typing \"" << text << '"';
    }
    // Typed and left: the other notation, or a delay below the least its arrows reach, is refused
    // in the box, which shows the delay again, and is never stored.
    for (const char* refused : {"2.5", "-500"}) {
        w.Text2->selectAll();
        w.Text2->insert(refused);
        dialogs.prompts.clear();
        emit w.Text2->editingFinished();
        QApplication::processEvents(); // the message comes once the leaving event has finished
        EXPECT_EQ(fields(w.Text2->text(), dialogs.messages().size(), setting(ini::KEY_COMMS_DELAY)),
                  fields("1,5", 1, "1.5"))
            << refused;
        // Quoted apart from the message, as every refusal quotes what was typed.
        EXPECT_TRUE(dialogs.messages().value(0).contains(QChar(0x2068) + QLatin1String(refused) +
                                                         QChar(0x2069)))
            << dialogs.messages().join(' ').toStdString();
    }
    // Opened again, the box shows the stored delay as the locale writes it, and steps from it.
    w.done(0);
    PortWindow& again = port_window();
    const QString shown = again.Text2->text();
    again.UpDown1_up->click();
    EXPECT_EQ(fields(shown, again.Text2->text(), setting(ini::KEY_COMMS_DELAY)),
              fields("1,5", "101,5", "101.5"));
    platform::number_separators() = {};
}

TEST_F(PortWindowTest, APluggedAndAPulledDeviceShowWhileTheWindowIsOpen) {
    platform::set_time_scale(1);
    PortWindow& w = port_window();
    w.show();
    ASSERT_EQ(port_names(w.rows()), "COM1 COM3 COM4");
    add_device("ttyUSB0");
    EXPECT_TRUE(platform::wait_until([&] { return w.rows().size() == 4; }, 10))
        << "the new adapter did not show";
    EXPECT_EQ(port_names(w.rows()), "COM1 COM17 COM3 COM4");
    EXPECT_EQ(w.Label2->text(), "Serial (ttyS0)") << "the current port is not selected again";
    QFile::remove(dir.filePath("dev/ttyS3"));
    EXPECT_TRUE(platform::wait_until([&] { return w.rows().size() == 3; }, 10))
        << "the pulled device stayed";
    EXPECT_EQ(port_names(w.rows()), "COM1 COM17 COM3");
}

TEST_F(PortWindowTest, EveryKindOfSerialDeviceShowsWhenPluggedIn) {
    platform::set_time_scale(1);
    PortWindow& w = port_window();
    w.show();
    for (const QString node : {"ttyUSB0", "ttyACM0", "ttyAMA0", "rfcomm0"}) {
        add_device(node);
        EXPECT_TRUE(
            platform::wait_until([&] { return w.rows().filter("(" + node + ")").size() == 1; }, 10))
            << node.toStdString() << " was plugged in and never showed in the port list";
    }
}

TEST_F(PortWindowTest, SearchButtonRefreshesAndSelectsTheCurrentPortAgain) {
    shell().com_port = 1;
    PortWindow& w = port_window();
    add_device("ttyS7");
    w.Command3->click();
    EXPECT_EQ(fields(port_names(w.rows()), w.List1->currentRow(), w.Command3->isEnabled(),
                     w.Animation1->isHidden()),
              fields("COM1 COM3 COM4 COM8", 0, true, true));
}

} // namespace
