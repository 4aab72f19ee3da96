// The Setup dialog driven through its controls: each choice stored at once, the level offset
// following the length unit, the port taken from the port window only when one was chosen
// there, and "Update & Exit" keeping changed chart units in the charted log.
#include "ui_test_support.h"

#include "link/port_window.h"
#include "logging/chart_units.h"
#include "shell/language_file.h"
#include "shell/settings.h"
#include "ui/setup_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QtTest/qtestspontaneevent.h>

namespace {

class SetupDialogTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        shell().ini_path = ini();
        shell().data_folder = tmp.filePath("data");
        shell().software_mode = 0;
        shell().operation_mode = 0;
        load_language_file();
    }
    void TearDown() override {
        setup_dialog().hide();
        UiTest::TearDown();
    }
    // The dialog as the set-up menu opens it, with the port window answered by `in_port_window`.
    SetupDialog& open(std::function<void(PortWindow&)> in_port_window = {}) {
        SetupDialog& d = setup_dialog();
        d.run_modal = [in_port_window](QDialog& w) {
            if (auto* p = qobject_cast<PortWindow*>(&w); p && in_port_window)
                in_port_window(*p);
        };
        d.reload_main_window_texts = [this] { ++text_reloads; };
        d.Form_Activate();
        return d;
    }
    QString setting(const char* section, const char* key) {
        return read_ini(ini(), section, key, "(none)");
    }
    int text_reloads = 0;
};

TEST_F(SetupDialogTest, TheLevelOffsetFollowsTheLengthUnit) {
    ChartUnitSettings& u = log_setup().chart_units;
    u.distance_unit_index = 2; // mm
    u.level_offset = 1500;
    SetupDialog& d = open();
    EXPECT_EQ(d.txtLevelOffset->text(), "1500");
    // clang-format off
    const struct { int unit; const char* shown; double global; }
    steps[] = {{0, "1.5", 1.5}, {0, "1.5", 1.5}, {1, "150", 150}, {2, "1500", 1500}};
    // clang-format on
    for (const auto& s : steps) {
        d.CboMeasure->setCurrentIndex(s.unit);
        EXPECT_EQ(d.txtLevelOffset->text(), s.shown) << "unit " << s.unit;
        EXPECT_DOUBLE_EQ(u.level_offset, s.global) << "unit " << s.unit;
        EXPECT_DOUBLE_EQ(log_setup().setup_start_level_offset, s.global);
        EXPECT_EQ(d.lblOffsetUnits->text(), shell().distance_unit_names[s.unit]);
    }
}

TEST_F(SetupDialogTest, TheOffsetReadsBackInTheLocaleAndTakesNoLetters) {
    platform::number_separators() = {",", "."};
    shell().decimal_separator = ",";
    SetupDialog& d = open();
    d.txtLevelOffset->clear();
    QTest::keyClicks(d.txtLevelOffset, "-1,5x");
    EXPECT_EQ(d.txtLevelOffset->text(), "-1,5") << "a letter got into the offset";
    EXPECT_DOUBLE_EQ(log_setup().chart_units.level_offset, -1.5);
    // What is no number of the locale is never read as one; leaving the box with it puts the
    // offset back.
    d.txtLevelOffset->setText("abc");
    EXPECT_DOUBLE_EQ(log_setup().chart_units.level_offset, -1.5);
    dialogs.prompts.clear();
    emit d.txtLevelOffset->editingFinished();
    QApplication::processEvents(); // the message comes once the leaving event has finished
    EXPECT_EQ(fields(dialogs.messages().size(), d.txtLevelOffset->text()),
              fields(size_t(1), "-1,5"));
    d.txtLevelOffset->clear();
    EXPECT_DOUBLE_EQ(log_setup().chart_units.level_offset, 0) << "a cleared box kept an offset";
}

// Leaving a refused offset by Escape, Enter, a click on a key or closing the dialog closes nothing:
// the dialog stays open with the offset put back, the refusal told once and the user in the box.
// Under a window manager Alt+F4 is Alt, held here for the window manager's key, then the close it
// asks for; the window manager may also take the activation from the dialog before it closes it.
// Alt alone leaves nothing in a window without a menu bar: nothing is told, the text stays.
TEST_F(SetupDialogTest, ARefusedOffsetKeepsTheDialogOpenHoweverTheUserLeavesIt) {
    platform::number_separators() = {",", ".", "de_DE"};
    SetupDialog& d = open();
    d.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&d));
    QWidget elsewhere; // another program's window
    const auto close_box = [&] {
        QCloseEvent close;
        QSpontaneKeyEvent::setSpontaneous(&close); // as the window system sends it
        QApplication::instance()->notify(d.windowHandle(), &close);
    };
    const struct {
        const char* how;
        std::function<void()> leave;
        size_t told;
    } leavings[] = {
        {"Escape", [&] { QTest::keyClick(d.txtLevelOffset, Qt::Key_Escape); }, 1},
        {"Enter", [&] { QTest::keyClick(d.txtLevelOffset, Qt::Key_Return); }, 1},
        {"Update & Exit", [&] { QTest::mouseClick(d.Command3, Qt::LeftButton); }, 1},
        {"its close box", close_box, 1},
        {"Alt+F4 under a window manager",
         [&] {
             key_alone(d.txtLevelOffset, Qt::Key_Alt, true, false);
             close_box();
             key_alone(d.txtLevelOffset, Qt::Key_Alt, false, true);
         },
         1},
        {"another window activated, then the close",
         [&] {
             elsewhere.show();
             QApplication::setActiveWindow(&elsewhere);
             close_box();
         },
         1},
        {"Alt alone", [&] { key_alone(d.txtLevelOffset, Qt::Key_Alt); }, 0},
    };
    for (const auto& [how, leave, told] : leavings) {
        d.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&d)) << how;
        d.txtLevelOffset->setText(QStringLiteral("7"));
        d.txtLevelOffset->setFocus();
        d.txtLevelOffset->selectAll();
        QTest::keyClicks(d.txtLevelOffset, "0.35");
        dialogs.prompts.clear();
        leave();
        QApplication::processEvents();
        elsewhere.hide();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&d)) << how;
        EXPECT_EQ(fields(d.isVisible(), dialogs.messages().size(), d.txtLevelOffset->text(),
                         QApplication::focusWidget() == d.txtLevelOffset),
                  fields(true, told, told ? "7" : "0.35", true))
            << how;
    }
}

// Every key of a number in some notation reaches the box, so that the other notation is refused
// with the one message instead of losing a mark and being stored as another number. The keys of
// the numbers each locale writes are the reader's own tests; here the filter's wiring, the
// apostrophe typed for the Swiss mark and a plain space typed for a grouping space.
TEST_F(SetupDialogTest, TheOffsetFilterDropsNoKeyOfANumberInAnyNotation) {
    // clang-format off
    const struct { const char* locale; const char* typed; std::optional<double> stored; } cases[] = {
        {"en_IN", "0,35", {}}, {"sv_SE", "\u22122,5", -2.5}, {"de_DE", "1'5", {}},
        {"fr_FR", "1 234,5", 1234.5}};
    // clang-format on
    SetupDialog& d = open();
    for (const auto& c : cases) {
        platform::number_separators() = {",", ".", c.locale};
        log_setup().chart_units.level_offset = 7;
        d.txtLevelOffset->setText(platform::number_text(7));
        d.txtLevelOffset->selectAll();
        const QString typed = QString::fromUtf8(c.typed);
        for (QChar key : typed) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(key));
            QApplication::sendEvent(d.txtLevelOffset, &press);
        }
        EXPECT_EQ(d.txtLevelOffset->text(), typed) << c.locale << ": a key was dropped";
        dialogs.prompts.clear();
        emit d.txtLevelOffset->editingFinished();
        QApplication::processEvents(); // the message comes once the leaving event has finished
        EXPECT_EQ(fields(dialogs.messages().size(), log_setup().chart_units.level_offset),
                  fields(size_t(c.stored ? 0 : 1), c.stored.value_or(7)))
            << c.locale << ": \"" << c.typed << "\" was stored as another number";
    }
}

TEST_F(SetupDialogTest, OpeningPutsTheTotaliserOnTheFlowVolumeUnit) {
    ChartUnitSettings& u = log_setup().chart_units;
    u.flow_volume_unit_index = 2;
    u.totaliser_unit_index = 5;
    SetupDialog& d = open();
    EXPECT_EQ(u.totaliser_unit_index, 2);
    EXPECT_EQ(d.CboTotaliser->currentIndex(), 2);
    d.CboFlow[0]->setCurrentIndex(4);
    EXPECT_EQ(u.flow_volume_unit_index, 4);
    EXPECT_EQ(u.totaliser_unit_index, 4);
    d.CboTotaliser->setCurrentIndex(1);
    d.CboFlow[1]->setCurrentIndex(3);
    d.CboVolume->setCurrentIndex(6);
    d.CboTotaliserMultiplier->setCurrentIndex(7);
    EXPECT_EQ(u, (ChartUnitSettings{2, 4, 3, 6, 1, 7, u.level_offset}));
}

TEST_F(SetupDialogTest, EveryChoiceIsStoredAtOnce) {
    SetupDialog& d = open();
    d.Combo1->setCurrentIndex(4);
    d.Combo2->setCurrentText("9600");
    d.Text1->setText(" 0123 456 ");
    d.Option2[3]->setChecked(true);
    d.Check1[1]->setChecked(true);
    const ShellState& s = shell();
    EXPECT_EQ(fields(s.com_port, s.comm_settings, s.telephone_number, s.language_index,
                     s.show_level_overlay),
              fields(5, "9600,N,8,1", "0123 456", 3, true));
    EXPECT_EQ(fields(setting("General", "Port"), setting("General", "Quillarn Baudrate"),
                     setting("General", "Telephone"), setting("General", "Language"),
                     setting("Echo Control", "Level")),
              fields(5, 9600, "0123 456", 3, "True"));
}

TEST_F(SetupDialogTest, OnlyAPortChosenInThePortWindowChangesThePort) {
    shell().com_port = 2;
    write_ini(ini(), "General", "SelectedPort", "7"); // left from an earlier run
    SetupDialog& d = open([](PortWindow& w) { w.Combo1->setCurrentIndex(-1); });
    shell().com_port = 0; // the window has nothing to select
    d.Command1->click();
    EXPECT_EQ(d.Combo1->currentIndex(), 1) << "a stale SelectedPort moved the port";

    SetupDialog& again = open([](PortWindow& w) { w.Combo1->setCurrentIndex(10); });
    again.Command1->click();
    EXPECT_EQ(shell().com_port, 11);
    EXPECT_EQ(again.Combo1->currentText(), "COM11");
}

TEST_F(SetupDialogTest, UpdateAndExitKeepsChangedUnitsInTheChartedLogOnly) {
    const QString log = tmp.filePath("site.vlg");
    write_file(log, "header\r\n01/01/2026 00:00,1\r\n");
    log_setup().chart_log_file = log;
    SetupDialog& d = open();
    d.Command3->click();
    EXPECT_EQ(read_file(log), "header\r\n01/01/2026 00:00,1\r\n") << "unchanged units rewrote it";
    EXPECT_EQ(text_reloads, 1);

    SetupDialog& changed = open();
    changed.CboMeasure->setCurrentIndex(0);
    changed.Command3->click();
    EXPECT_TRUE(read_file(log).contains(logsetup::chart_settings_trailer(log_setup().chart_units)))
        << read_file(log).toStdString();
    EXPECT_FALSE(d.isVisible());

    const QString temp = QDir(shell().data_folder).filePath("templog.vlg");
    QDir().mkpath(shell().data_folder);
    write_file(temp, "x\r\n");
    log_setup().chart_log_file = temp;
    SetupDialog& t = open();
    t.CboMeasure->setCurrentIndex(1);
    t.Command3->click();
    EXPECT_EQ(read_file(temp), "x\r\n") << "the download's temporary file was written";
}

TEST_F(SetupDialogTest, TheCsoSetUpShowsNoChartUnitsAndOnlyReloadsTexts) {
    shell().software_mode = 1;
    shell().operation_mode = 1;
    const QString log = tmp.filePath("site.vlg");
    write_file(log, "h\r\n");
    log_setup().chart_log_file = log;
    SetupDialog& d = open();
    EXPECT_TRUE(d.Frame4->isHidden());
    log_setup().chart_units.distance_unit_index = 0;
    d.Command3->click();
    EXPECT_EQ(read_file(log), "h\r\n");
    EXPECT_EQ(text_reloads, 1);
}

TEST_F(SetupDialogTest, TheLanguageFrameIsForLevelsOneAndTwoAndTheUnitsExpand) {
    SetupDialog& d = open();
    for (int level : {1, 2, 3}) {
        d.prepare_for_access_level(level);
        EXPECT_EQ(!d.Frame3->isHidden(), level != 3) << "level " << level;
    }
    EXPECT_FALSE(d.units_expanded());
    d.cmdExpand->click();
    EXPECT_TRUE(d.units_expanded());
    EXPECT_EQ(d.cmdExpand->text(), QString(QChar(171)));
    d.cmdExpand->click();
    EXPECT_EQ(d.cmdExpand->text(), QString(QChar(187)));
}

} // namespace
