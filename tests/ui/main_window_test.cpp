// The main window as a user meets it: start-up in each identity and mode, what the menus and keys
// offer, the shortcut letters, the toolbar and failures inside handlers.
#include "echo/echo_page.h"
#include "link/link_state.h"
#include "link/traffic_box.h"
#include "logging/log_chart_page.h"
#include "logging/log_setup_page.h"
#include "parameters/parameter_listing.h"
#include "parameters/parameter_lists.h"
#include "parameters/parameter_state.h"
#include "platform/profile.h"
#include "platform/vb.h"
#include "shell/definitions_reset.h"
#include "shell/settings.h"
#include "ui/main_window_rules.h"
#include "ui/screen_scaling.h"
#include "ui_test_support.h"

#include <QApplication>
#include <QClipboard>
#include <QScrollArea>
#include <QTabBar>
#include <QTableWidget>
#include <QTest>
#include <qcustomplot.h>
#include <stdexcept>

namespace {

class MainWindowTest : public UiTest {
protected:
    // Counts the unit queries "Get Unit Info" would send.
    int unit_queries = 0;

    MainWindow& start(int identity, int mode, int language = 0, int level = 1) {
        MainWindow& w = open_main_window(identity, mode, language, level);
        w.log_setup_page->set_action(LogSetupAction::GetUnitInfo, [this] { ++unit_queries; });
        return w;
    }

    static void type(QWidget* target, const QString& text) {
        target->setFocus();
        QTest::keyClicks(target, text);
    }
};

} // namespace

TEST_F(MainWindowTest, LoggingModeAsksTheUnitOnceAndOnlyAfterTheWindowIsShown) {
    MainWindow& w = start(0, 0);
    EXPECT_EQ(unit_queries, 0) << "the unit was asked before the window could appear";
    EXPECT_TRUE(w.start_up_pending());
    w.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w.start_up_pending(); }, 2000));
    EXPECT_EQ(unit_queries, 1);
    // VeltoLog's default model and time stamp bytes; no chart tab before a log is read.
    LogSetupPage* page = w.log_setup_page;
    EXPECT_EQ(fields(page->model_options[2]->isChecked(), page->channel_boxes[31]->isChecked(),
                     page->setup_boxes[0]->text(), page->setup_boxes[4]->text(), w.logging_tabs->isVisible(),
                     w.cso_tabs->isVisible(), w.logging_tabs->isTabEnabled(2)),
              fields(true, true, "3", "32768", true, false, false));
    w.show();
    QTest::qWait(20);
    EXPECT_EQ(unit_queries, 1) << "showing the window again asked the unit again";
    w.close();
    flush();

    MainWindow& cso = start(1, 1);
    cso.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !cso.start_up_pending(); }, 2000));
    EXPECT_EQ(unit_queries, 1) << "the CSO mode asked the unit at start-up";
    // No parameter tab before any were loaded.
    EXPECT_EQ(fields(cso.cso_tabs->isVisible(), cso.cso_tabs->currentIndex(),
                     cso.cso_tabs->isTabEnabled(1), cso.Toolbar1->isVisible()),
              fields(true, 0, false, true));
}

TEST_F(MainWindowTest, TheModelTheUnitReportsAtStartUpIsNotReplacedByTheDefault) {
    MainWindow& w = open_main_window(0, 0);
    // What "Get Unit Info" does with a unit that reports model 5 and a logged level channel.
    w.log_setup_page->set_action(LogSetupAction::GetUnitInfo, [&] {
        w.log_setup_page->select_model_option(5);
        w.log_setup_page->channel_boxes[0]->setChecked(true);
    });
    w.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w.start_up_pending(); }, 2000));
    EXPECT_TRUE(w.log_setup_page->model_options[5]->isChecked())
        << "the default model overwrote the model the unit reported";
    EXPECT_TRUE(w.log_setup_page->channel_boxes[0]->isChecked())
        << "the unit's logged channels were cleared after the read";
}

TEST_F(MainWindowTest, IdentityDecidesIconMenusAndTheCsoScreen) {
    MainWindow& cso = start(2, 1);
    EXPECT_TRUE(cso.menu_entry("mode")->isVisible()) << "Hartym cannot switch modes";
    EXPECT_TRUE(cso.menu_entry("calculator")->isVisible());
    EXPECT_TRUE(cso.log_setup_page->model_options[14]->isChecked()) << "not the CSO logger model";
    for (int box : {16, 18, 19, 20, 28, 34, 44}) {
        const QCheckBox* b = cso.log_setup_page->channel_boxes[static_cast<size_t>(box)];
        EXPECT_TRUE(b->isHidden() || !b->isEnabled()) << "the CSO screen offers channel " << box;
    }
    EXPECT_TRUE(cso.log_setup_page->channel_frames[9]->isHidden());
    EXPECT_TRUE(cso.log_setup_page->simulate_log_button->isHidden()) << "simulation offered without /sim";
    cso.close();
    flush();

    platform::set_command_line("/sim");
    MainWindow& w = start(0, 0, 0, 3);
    // VeltoLog has its icon, level 3 no debug terminal, and /sim offers simulation.
    EXPECT_EQ(fields(w.windowIcon().isNull(), w.menu_entry("modem")->isVisible(),
                     w.menu_entry("ProgramVelto")->isVisible(), w.menu_entry("mode")->isVisible(),
                     w.menu_entry("mnuDebug")->isVisible(),
                     w.log_setup_page->simulate_log_button->isHidden()),
              fields(false, false, true, false, false, false));
}

TEST_F(MainWindowTest, WorkThatHasNotArrivedIsNeverOfferedAndWorkInstalledWithTheWindowIs) {
    MainWindow& w = start(1, 1);
    // The parameter transfer installs itself with the window; take it away to see the rule.
    w.services.download_parameters = nullptr;
    w.services.upload_parameters = nullptr;
    w.services.get_parameters_file = nullptr;
    w.services.save_parameters_file = nullptr;
    w.refresh_availability();
    for (const char* name : {"openparameterfile", "mnuImport"})
        EXPECT_FALSE(w.menu_entry(name)->isEnabled()) << name << " offered without its work";
    for (const char* key : {"download", "upload", "file", "refresh"})
        EXPECT_FALSE(w.toolbar_button(key)->isEnabled()) << key << " offered without its work";
    // The read-outs' key, and live echo with its monitor, are installed with the window.
    EXPECT_EQ(fields(w.menu_entry("exit")->isEnabled(), w.menu_entry("about")->isEnabled(),
                     w.toolbar_button("exit")->isEnabled(),
                     w.toolbar_button("status_display")->isEnabled(),
                     w.echo_page->live_option->isEnabled()),
              fields(true, true, true, true, true));

    int setups = 0;
    w.services.show_setup_dialog = [&] { ++setups; };
    w.services.download_parameters = [] {};
    w.refresh_availability();
    EXPECT_TRUE(w.menu_entry("setup")->isEnabled());
    EXPECT_TRUE(w.toolbar_button("download")->isEnabled());
    w.menu_entry("setup")->trigger();
    EXPECT_EQ(setups, 1);
    parameter_state().parameters_loaded = true;
    w.enable_controls();
    EXPECT_TRUE(w.menu_entry("printparameters")->isEnabled())
        << "the listings installed with the window did not reach the print entries";
}

TEST_F(MainWindowTest, TheOfflineChoiceAndEnableControlsDoNotCallEachOtherForEver) {
    MainWindow& w = start(0, 0);
    int offline_runs = 0, depth = 0, deepest = 0;
    w.echo_page->set_live_handler([] {});
    w.echo_page->offline_chosen = [&, window_handler = w.echo_page->offline_chosen] {
        ++offline_runs;
        deepest = std::max(deepest, ++depth);
        window_handler(); // the window's own: enable_controls
        --depth;
    };
    w.echo_page->live_option->setChecked(true);
    w.enable_controls(); // VeltoLog forces the echo off, which runs the offline handler
    EXPECT_TRUE(w.echo_page->offline_option->isChecked());
    EXPECT_EQ(offline_runs, 1);
    EXPECT_EQ(deepest, 1);
    w.enable_controls();
    EXPECT_EQ(offline_runs, 1) << "selecting the offline choice again ran its handler";
}

TEST_F(MainWindowTest, TheLinkShowsItsProgressOnTheMainWindowUntilItCloses) {
    MainWindow& w = start(1, 1);
    LinkView& view = link_view();
    ASSERT_EQ(&view, static_cast<LinkView*>(&w)) << "the link still talks to its stand-in";
    view.set_status_text(1, "Reading P104");
    EXPECT_EQ(w.status_panels[1]->text(), "Reading P104");
    // A command, the unit's answer or a file's text in them shows as it stands, never as markup.
    view.set_status_text(2, "<h1>/p107:5");
    view.set_download_label("<p dir=rtl>Downloaded");
    EXPECT_EQ(fields(w.status_panels[2]->textFormat(), w.Label11->textFormat(),
                     w.progress_text->textFormat()),
              fields(Qt::PlainText, Qt::PlainText, Qt::PlainText));
    w.close();
    flush();
    EXPECT_NE(&link_view(), static_cast<LinkView*>(&w)) << "the link kept a closed window";
}

TEST_F(MainWindowTest, AccessLevelAndSystemTypeRuleTheParameterTabs) {
    MainWindow& w = start(1, 1, 0, 3);
    parameter_state().system_type = 4;
    w.enable_controls();
    EXPECT_FALSE(w.parameter_tabs->isTabEnabled(8));
    EXPECT_FALSE(w.parameter_tabs->isTabEnabled(1));
    for (int p : RELAY_PARAMETERS)
        EXPECT_FALSE(definitions_table()[static_cast<size_t>(p)].present) << p;
    parameter_state().system_type = 1;
    parameter_state().lacked_by_set[228] = true; // the loaded set holds no value for it
    w.enable_controls();
    EXPECT_TRUE(w.parameter_tabs->isTabEnabled(1));
    EXPECT_TRUE(definitions_table()[218].present);
    EXPECT_FALSE(definitions_table()[228].present) << "brought back with a made-up value";
}

TEST_F(MainWindowTest, TypingIntoABoxNeverTriggersAShortcut) {
    MainWindow& w = start(1, 1);
    w.show();
    w.echo_page->set_trace_box_handler([](int) {});
    w.echo_page->trace_boxes[0]->setChecked(false); // the saved view ticks it
    QLineEdit* box = w.echo_page->playback_interval_box;
    type(box, "xnrold");
    EXPECT_EQ(program_ended, 0) << "typing an x into a box ended the program";
    EXPECT_TRUE(box->text().endsWith("xnrold")) << box->text().toStdString();
    EXPECT_FALSE(w.echo_page->trace_boxes[0]->isChecked()) << "typing an r ticked the raw trace";
    type(w.Term, "x");
    EXPECT_EQ(program_ended, 0) << "an x typed into the terminal box ended the program";
    QTest::keyClick(w.echo_page->trace_boxes[1], Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(program_ended, 0) << "Ctrl+X ended the program";

    int live = 0;
    w.echo_page->set_live_handler([&] { ++live; });
    w.echo_page->trace_boxes[1]->setFocus();
    QTest::keyClicks(w.echo_page->trace_boxes[1], "r");
    EXPECT_TRUE(w.echo_page->trace_boxes[0]->isChecked()) << "R did not toggle the raw trace";
    QTest::keyClicks(w.echo_page->trace_boxes[1], "jy");
    EXPECT_EQ(live, 1) << "only this language's yes-letter starts live echo";
    EXPECT_TRUE(w.echo_page->live_option->isChecked());
    QTest::keyClicks(w.echo_page->trace_boxes[1], "n");
    EXPECT_TRUE(w.echo_page->offline_option->isChecked()) << "N did not stop live echo";
    QTest::keyClicks(w.echo_page->trace_boxes[1], "x");
    EXPECT_EQ(program_ended, 1) << "X on the window did not end the program";
}

TEST_F(MainWindowTest, APressedKeyCannotStartItsWorkAgainWhileItRuns) {
    MainWindow& w = start(1, 1);
    int runs = 0;
    bool pressed_during = false;
    w.services.download_parameters = [&] {
        ++runs;
        pressed_during = w.toolbar_button("download")->isChecked();
        // The transfer under way has failed and kept the reply it found.
        link().comms_abort = true;
        parameter_state().saved_reply = "running";
        // The user clicks again while the transfer waits for the unit.
        w.toolbar_button("download")->trigger();
        EXPECT_TRUE(link().comms_abort) << "a second click reset the running transfer's outcome";
        EXPECT_EQ(parameter_state().saved_reply, "running");
    };
    w.refresh_availability();
    w.toolbar_button("download")->trigger();
    EXPECT_EQ(runs, 1) << "a second click started the download again";
    EXPECT_TRUE(pressed_during);
    EXPECT_FALSE(w.toolbar_button("download")->isChecked()) << "the key stays pressed";
    w.toolbar_button("download")->trigger();
    EXPECT_EQ(runs, 2);
}

TEST_F(MainWindowTest, AFailureInsideAHandlerIsReportedAndTheWindowGoesOn) {
    MainWindow& w = start(1, 1);
    w.services.download_parameters = [] { throw std::runtime_error("the unit went away"); };
    w.services.show_setup_dialog = [] { throw 42; };
    w.refresh_availability();
    w.toolbar_button("download")->trigger();
    w.menu_entry("setup")->trigger();
    ASSERT_EQ(dialogs.prompts.size(), 2u);
    // The failed key does not stay pressed.
    EXPECT_EQ(fields(dialogs.prompts[0].text.contains("the unit went away"),
                     (dialogs.prompts[0].style & platform::mb::Critical) != 0,
                     w.toolbar_button("download")->isChecked(), program_ended, form1_loaded()),
              fields(true, true, false, 0, true));
}

TEST_F(MainWindowTest, RefreshCyclesTheParameterGrid) {
    MainWindow& w = start(1, 1);
    QStringList calls;
    w.services.list_changed_parameters = [&](bool, bool) { calls << "changed"; };
    w.services.list_all_parameters = [&](bool) { calls << "all"; };
    parameter_state().parameters_loaded = true;
    w.refresh_availability();
    w.enable_controls();
    w.show();
    const bool grid_shown[] = {true, false, true, false};
    for (bool shown : grid_shown) {
        w.toolbar_button("refresh")->trigger();
        EXPECT_EQ(w.parameter_grid->isVisible(), shown) << parameter_state().parameter_list_mode;
    }
    EXPECT_EQ(calls, QStringList({"changed", "all"}));
    EXPECT_EQ(parameter_state().parameter_list_mode, 0);
}

TEST_F(MainWindowTest, ModeMenusSwitchTabsAndRememberTheChoice) {
    MainWindow& w = start(2, 1);
    w.show();
    for (const char* menu : {"loggingmenu", "csomenu"}) {
        const int mode = QLatin1String(menu) == QLatin1String("csomenu") ? 1 : 0;
        w.menu_entry(menu)->trigger();
        EXPECT_EQ(
            fields(shell().operation_mode,
                   platform::read_profile_string(ini(), "General", "Mode Operation").value_or(""),
                   w.logging_tabs->isVisible(), w.cso_tabs->isVisible(),
                   w.menu_entry(menu)->isChecked(), w.menu_entry("openlogfile")->isVisible()),
            fields(mode, mode, mode == 0, mode == 1, true, mode == 0))
            << menu;
    }
}

TEST_F(MainWindowTest, ExitKeyRefusesWhileTheModemIsConnected) {
    MainWindow& w = start(1, 1);
    int modem_shown = 0;
    w.services.show_modem_window = [&] { ++modem_shown; };
    w.refresh_availability();
    link().modem_connected = true;
    w.toolbar_button("exit")->trigger();
    EXPECT_EQ(program_ended, 0);
    EXPECT_EQ(modem_shown, 1) << "the modem window was not brought forward";
    ASSERT_EQ(dialogs.messages(), QStringList{"Please disconnect remote access"});
    link().modem_connected = false;
    // The program ends (and the unit is put back) before the port closes.
    QStringList order;
    w.services.close_port = [&] { order << "port closed"; };
    w.services.end_program = [&] { order << "program ended"; };
    w.toolbar_button("exit")->trigger();
    EXPECT_EQ(order, QStringList({"program ended", "port closed"}));
}

TEST_F(MainWindowTest, ClipboardKeyCopiesTheEchoChartAndSaysSo) {
    MainWindow& w = start(1, 1);
    w.show();
    w.cso_tabs->setTabEnabled(1, true);
    w.cso_tabs->setCurrentIndex(1);
    QApplication::clipboard()->clear();
    w.toolbar_button("clipboard")->trigger();
    ASSERT_EQ(dialogs.prompts.size(), 1u);
    EXPECT_EQ(fields(w.cso_tabs->currentIndex(), QApplication::clipboard()->pixmap().isNull(),
                     (dialogs.prompts[0].style & platform::mb::Information) != 0,
                     dialogs.prompts[0].text),
              fields(0, false, true, ui_text(1295) + QChar(13) + ui_text(1296)));
}

TEST_F(MainWindowTest, OverlaysSitWhereTheLayoutPutsThemAndCancelHidesThem) {
    MainWindow& w = start(1, 1);
    w.show();
    w.resize(1000, 700);
    for (QWidget* c : std::initializer_list<QWidget*>{w.progress_text, w.ProgressBar[3], w.cancel_button})
        c->show();
    QTest::qWait(10);
    const QWidget* central = w.centralWidget();
    const QRect text = w.progress_text->geometry();
    EXPECT_NEAR(text.center().x(), central->width() / 2, 2);
    EXPECT_NEAR(text.y(), (central->height() - text.height()) * 0.45, 2);
    const QRect grid = w.parameter_grid->geometry();
    EXPECT_NEAR(grid.right() + 1, w.cso_tabs->width(), 2) << "the grid is not right-aligned";
    const QRect busy = w.busy_frame->geometry();
    EXPECT_NEAR(busy.center().x(), w.Term->geometry().center().x(), 2);
    EXPECT_NEAR(busy.center().y(), w.Term->geometry().center().y(), 2);

    QTest::mouseClick(w.cancel_button, Qt::LeftButton);
    EXPECT_TRUE(link().cancel_requested);
    EXPECT_FALSE(w.progress_text->isVisible());
    EXPECT_FALSE(w.ProgressBar[3]->isVisible());
    EXPECT_FALSE(w.cancel_button->isVisible());
}

TEST_F(MainWindowTest, TheRecorderStripLeavesThePageTabsInSight) {
    MainWindow& w = start(1, 1);
    w.show();
    w.resize(1000, 700);
    w.dispatch_toolbar_button(QLatin1String(toolbar_key::RECORD));
    QTest::qWait(10);
    ASSERT_TRUE(w.Frame4->isVisible());
    const QRect strip(w.Frame4->mapTo(&w, QPoint()), w.Frame4->size());
    const QTabBar* bar = w.cso_tabs->tabBar();
    EXPECT_FALSE(strip.intersects(QRect(bar->mapTo(&w, QPoint()), bar->size())))
        << "the recorder strip covers the page tabs";
}

TEST_F(MainWindowTest, TheLogChartFillsItsTabBesideTheButtonColumn) {
    MainWindow& w = start(0, 0);
    w.show();
    w.resize(1000, 700);
    w.logging_tabs->setTabEnabled(2, true);
    w.logging_tabs->setCurrentIndex(2);
    QTest::qWait(10);
    const LogChartPage* page = w.log_chart_page;
    const QRect square = page->legend_button->geometry();
    EXPECT_EQ(square.width(), square.height()) << "the button above the column is not square";
    EXPECT_EQ(page->report_button->x(), square.x());
    EXPECT_GT(page->report_button->y(), square.bottom());
    EXPECT_EQ(page->TeeCommander1->width(), square.width());
    EXPECT_NEAR(page->log_chart->geometry().right() + 1, page->width() - 100 / 15.0, 1.5)
        << "the chart does not reach to just short of the tab's right edge";
    EXPECT_NEAR(page->TeeCommander1->geometry().bottom() + 1, page->height() - 140 / 15.0, 1.5);
    EXPECT_GT(page->log_chart->x(), square.right());
}

TEST_F(MainWindowTest, PlaybackIntervalShowsTheSettingAndStoresAnEdit) {
    MainWindow& w = open_main_window(1, 1, 0, 1, "Playback=2.5\r\n");
    EXPECT_EQ(w.echo_page->playback_interval_box->text(), "2.5");
    w.echo_page->playback_interval_box->setText("4");
    EXPECT_EQ(platform::read_profile_string(ini(), "General", "Playback"), "4");
    // Typed and left: the other notation is refused, not stored as 0 or 5.
    platform::number_separators() = {",", ".", "de_DE"};
    QLineEdit* box = w.echo_page->playback_interval_box;
    for (const auto& [typed, shown, stored] : {std::tuple{"0.5", "4", 4.0}, {"0,5", "0,5", 0.5}}) {
        box->selectAll();
        box->insert(typed);
        EXPECT_EQ(platform::read_profile_string(ini(), "General", "Playback").value_or(""),
                  platform::number_text_c(stored))
            << "a text that is no number was stored while the box was still being typed in";
        emit box->editingFinished();
        EXPECT_EQ(fields(box->text(), shell().playback_interval), fields(shown, stored)) << typed;
    }
}

// Stored as the program writes numbers, the interval typed in one locale is read as the same
// interval at the next start in any other, and shown in that one's notation; what earlier versions
// stored in the locale's notation is still read.
TEST_F(MainWindowTest, APlaybackIntervalTypedReadsBackTheSameAtTheNextStartInAnyLocale) {
    MainWindow& w = open_main_window(1, 1, 0, 1, "Playback=2.5\r\n");
    QLineEdit* box = w.echo_page->playback_interval_box;
    // clang-format off
    const struct { const char *typed_in, *typed, *next_start; double read; const char* shown; }
    cases[] = {{"de_DE", "0,5", "en_GB", 0.5, "0.5"}, {"en_GB", "0.5", "de_DE", 0.5, "0,5"},
               {"ar_EG", "\u0661\u066B\u0665", "ar_EG", 1.5, "1\u066B5"},
               {"de_DE", "1.000", "en_GB", 1000, "1000"},
               {nullptr, "2,5", "de_DE", 2.5, "2,5"}}; // as an earlier version stored it
    // clang-format on
    const auto use = [](const char* locale) {
        const QLocale l(QString::fromLatin1(locale));
        platform::number_separators() = {l.decimalPoint(), l.groupSeparator(), locale};
    };
    for (const auto& c : cases) {
        const QString typed = QString::fromUtf8(c.typed);
        if (c.typed_in) {
            use(c.typed_in);
            box->selectAll();
            box->insert(typed);
            emit box->editingFinished();
        } else {
            platform::write_profile_string(ini(), "General", "Playback", typed);
        }
        use(c.next_start);
        shell().playback_interval = -1; // the next start knows only what was stored
        load_settings(&w);
        EXPECT_EQ(fields(shell().playback_interval, box->text()),
                  fields(c.read, QString::fromUtf8(c.shown)))
            << (c.typed_in ? c.typed_in : "stored") << " \"" << c.typed
            << "\", read at the next start in " << c.next_start;
    }
    platform::number_separators() = {};
}

TEST_F(MainWindowTest, LogInOpensTheMainWindowWithTheUsersTitle) {
    write_settings(1, 1);
    install_main_window();
    StartWindow& login_window = start_window();
    login_window.show();
    QTest::mouseClick(login_window.cmdOK, Qt::LeftButton);
    QTest::keyClicks(login_window.Text2, "905173");
    QTest::keyClick(login_window.Text2, Qt::Key_Return);
    flush();
    ASSERT_TRUE(form1_loaded());
    EXPECT_TRUE(main_window().isVisible());
    EXPECT_TRUE(main_window().windowTitle().startsWith(
        "QuillarnPC 5.3 - " + ui_text(1266).toUpper() + " " + ui_text(1139)))
        << main_window().windowTitle().toStdString();
}

TEST_F(MainWindowTest, TheParameterGridShowsEveryHeadingWholeInEveryLanguage) {
    set_screen_area_for_tests(ScreenArea{QRect(0, 0, 1366, 768), QRect(0, 0, 1366, 728)});
    for (int language = 0; language < 5; ++language) {
        MainWindow& w = start(1, 1, language);
        w.show();
        flush();
        list_all_parameters(true);
        QTableWidget* grid = w.parameter_grid;
        int total = 0;
        for (int c = 0; c < grid->columnCount(); ++c) {
            const QTableWidgetItem* heading = grid->item(0, c);
            ASSERT_NE(heading, nullptr);
            // The cell draws in the grid's font with the item's own settings (bold) over it.
            const QFont drawn = heading->font().resolve(grid->font());
            const int needed = QFontMetrics(drawn).horizontalAdvance(heading->text());
            EXPECT_GE(grid->columnWidth(c), needed + 6)
                << "language " << language << ": heading \"" << heading->text()
                << "\" is cut in a column of " << grid->columnWidth(c) << " px";
            total += grid->columnWidth(c);
        }
        EXPECT_LE(total, grid->viewport()->width() + 1)
            << "language " << language << ": the grid scrolls sideways";
        const int grid_left = grid->mapTo(&w, QPoint(0, 0)).x();
        for (int tab = 1; tab <= 3; ++tab) {
            w.cso_tabs->setCurrentIndex(tab);
            flush();
            const QWidget* page = w.cso_tabs->currentWidget();
            if (const auto* area = qobject_cast<const QScrollArea*>(page))
                page = area->widget();
            EXPECT_LE(page->mapTo(&w, QPoint(page->childrenRect().right(), 0)).x(), grid_left)
                << "language " << language << ": " << w.cso_tabs->tabText(tab).toStdString()
                << " runs under the parameter grid";
        }
        w.close();
        flush();
    }
    set_screen_area_for_tests(std::nullopt);
}
