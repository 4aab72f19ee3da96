// Every operation that talks to the unit, against every way the line misbehaves, in the main
// window as the user has it. A cell holds when nothing but the unit's own values reaches the
// table, the screen, a saved file or the unit (the same operation on a sound line is the
// measure), when the user is told at most once and for the right reason, and when the program
// takes the next command afterwards.
#include "simulated_unit.h"
#include "test_files.h"

#include "echo/echo_page.h"
#include "echo/echo_state.h"
#include "link/parameter_window.h"
#include "link/log_on.h"
#include "logging/log_chart_model.h"
#include "logging/log_setup_page.h"
#include "logging/log_setup_state.h"
#include "parameters/parameter_hooks.h"
#include "parameters/parameter_rows.h"
#include "parameters/parameter_state.h"
#include "platform/profile.h"
#include "platform/program_folder.h"
#include "shell/definitions_table.h"
#include "shell/start_window.h"
#include "shell/language_file.h"
#include "shell/settings_keys.h"
#include "ui/main_window.h"
#include "ui/main_window_rules.h"
#include "ui/main_window_state.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <qcustomplot.h>
#include <unitsim/fault_options.h>
#include <unitsim/unit_kind.h>

#include <functional>
#include <map>
#include <tuple>

namespace {

using platform::Answer;

// What a user and the unit are left with, each part a comma-separated list of items, and what
// the window's status line says.
struct Outcome {
    QString table, screen, file, unit;
    QString said;
    bool operator==(const Outcome& o) const {
        return std::tie(table, screen, file, unit) == std::tie(o.table, o.screen, o.file, o.unit);
    }
};

class FaultMatrix;

struct Operation {
    const char* name;
    QString version;                           // the firmware the unit reports; empty: its own
    std::function<void(FaultMatrix&)> prepare; // on a sound line, before the fault is set
    std::function<void(FaultMatrix&)> run;
    std::function<Outcome(FaultMatrix&)> observe;
    std::function<bool(FaultMatrix&)> ready; // the key that starts it again is usable
    int success_text = 0; // the language file's text only a success shows; 0: none
    int identity = 1;     // the software mode: 0 the logging companion, 1 for level and flow units
    // Program seconds per real second on a sound line, and while the program waits out the
    // time-outs of a misbehaving one. The unit keeps the program's time, so a busy machine makes
    // a cell slower, never different; a thousand reads at 5 s each want a fast clock.
    double time_scale = 33;
    double waiting_time_scale = 300;
};

struct Fault {
    const char* name;
    const char* option;        // as unitsim takes it after --fault; empty: a sound line
    bool waits = false;        // the program waits out time-outs
    bool unit_says_no = false; // the unit's own "NO" may be told as a refusal
};

struct Cell {
    const Operation* op;
    Fault fault;
};

void PrintTo(const Cell& c, std::ostream* os) {
    *os << c.op->name << " against " << (*c.fault.option ? c.fault.option : "a sound line");
}

class FaultMatrix : public SimulatedUnitTest, public ::testing::WithParamInterface<Cell> {
public:
    using SimulatedUnitTest::dialogs;
    using SimulatedUnitTest::dir;
    using SimulatedUnitTest::sim;

    void SetUp() override {
        SimulatedUnitTest::SetUp();
        saved_folder = platform::program_folder();
        const QString defs = "/" + QString(DEFINITIONS_FOLDER) + "/";
        ASSERT_TRUE(QDir().mkpath(dir.path() + defs));
        for (const QString& name : QDir(QUILLARN_DATA_DIR + defs).entryList(QDir::Files))
            ASSERT_TRUE(QFile::exists(dir.path() + defs + name) ||
                        QFile::copy(QUILLARN_DATA_DIR + defs + name, dir.path() + defs + name));
        platform::set_program_folder(dir.path());
        // Each window starts as the program does, with nothing left from the one before.
        definitions_table() = DefinitionsTable{};
        reset_parameter_state();
        reset_parameter_rows();
        reset_parameter_screen_hooks();
        reset_log_setup_state();
        reset_echo_state();
        reset_main_window_state();
        seed_unit();
        open_window();
    }

    void TearDown() override {
        if (form1_loaded()) {
            parameter_window().Form_Unload();
            main_window().close();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QCoreApplication::processEvents();
        }
        log_chart_model().remove_all_series();
        set_program_ender({});
        if (!saved_folder.isNull())
            platform::set_program_folder(saved_folder);
        SimulatedUnitTest::TearDown();
    }

    // The unit of every cell: a level unit that knows the shipped catalogue, with a short echo
    // and a short log, and the firmware the operation asks for, on the program's clock.
    void seed_unit() {
        make_unit(unitsim::UnitKind::Level);
        keep_unit_on_program_time();
        set_time_scale(GetParam().op->time_scale);
        if (!GetParam().op->version.isEmpty())
            unitsim::apply_version_reply(sim->unit().profile(), GetParam().op->version);
        QString error;
        ASSERT_TRUE(sim->unit().set_definitions_folder(
            dir.path() + "/" + QString(DEFINITIONS_FOLDER), &error))
            << error.toStdString();
        // The unit's clock stands still: its date and time (P931, P932) are read like any value
        // and must not move between a cell and its sound line.
        sim->unit().set_now_source([] { return QDateTime(QDate(2026, 12, 7), QTime(9, 30)); });
        sim->unit().echo().set_level_mm(2000);
        sim->unit().echo().set_sample_count(100);
        for (int w = 0; w < 3; ++w)
            sim->unit().log().set_mask(w + 1, w == 0 ? 3u : 0u);
        sim->unit().log().set_interval(15);
        sim->unit().set_simulated_records(20);
        sim->unit().log().simulate(20, QDateTime(QDate(2026, 12, 4), QTime(9, 30)));
    }

    // The main window of the operation's identity after the start window, with whatever it
    // asks the unit at start-up answered.
    void open_window() {
        platform::write_profile_string(ini, ini::SECTION_GENERAL, ini::KEY_LANGUAGE, "0");
        platform::write_profile_string(ini, ini::SECTION_GENERAL, ini::KEY_START_LOGO, "0");
        const QString identity = QString::number(GetParam().op->identity);
        platform::write_profile_string(ini, ini::SECTION_GENERAL, ini::KEY_SOFTWARE_MODE, identity);
        platform::write_profile_string(ini, ini::SECTION_GENERAL, ini::KEY_MODE_OPERATION,
                                       identity);
        platform::write_profile_string(ini, ini::SECTION_GENERAL, ini::KEY_PORT, "1");
        platform::write_profile_string(ini, ini::SECTION_GENERAL, ini::KEY_BAUDRATE, "115200");
        set_program_ender([] {});
        start_window();
        start_window().close();
        QCoreApplication::processEvents();
        shell().access_level = 1;
        shell().login_passcode = "318406";
        shell().data_folder = dir.path();
        MainWindow& w = main_window();
        w.show();
        ASSERT_TRUE(platform::wait_until([&] { return !w.start_up_pending(); }, 300));
        dialogs.prompts.clear();
    }

    void set_time_scale(double scale) {
        platform::set_time_scale(scale);
        sim->set_time_scale(scale);
    }

    MainWindow& window() { return main_window(); }
    ParameterWindow& one_parameter() { return parameter_window(); }

    // Runs the operation and returns what it left, with the messages it showed.
    Outcome perform(const Operation& op) {
        dialogs.prompts.clear();
        op.run(*this);
        platform::pump_events();
        return op.observe(*this);
    }

    void set_fault(const char* option, double scale) {
        if (!*option)
            return;
        set_time_scale(scale);
        const unitsim::ParsedFault f = unitsim::parse_fault(option);
        ASSERT_TRUE(f.error.isEmpty()) << f.error.toStdString();
        unitsim::apply_fault(sim->responder(), f);
    }

    // The operation on a sound line, once per operation and test run.
    struct Baseline {
        Outcome outcome;
        QStringList messages;
    };
    static std::map<std::string, Baseline>& baselines() {
        static std::map<std::string, Baseline> b;
        return b;
    }

    QString file(const QString& name) const {
        const QString path = dir.filePath(name);
        return QFile::exists(path) ? QString::fromLatin1(testfiles::read_bytes(path).toBase64())
                                   : QString();
    }
    static QString status() { return link_view().status_text(1); }

    QString saved_folder;
};

// ---- What each operation does and what it leaves ----

QString table_values() {
    QStringList t;
    for (int p = 20; p <= 999; ++p)
        t << definitions_table()[static_cast<size_t>(p)].value_text;
    return t.join(',');
}
QString row_texts() {
    QStringList t;
    for (int p = 20; p <= 999; ++p)
        t << parameter_rows().text(p);
    return t.join(',');
}
QString unit_writes(FaultMatrix& m) {
    QStringList t;
    for (const unitsim::WriteRecord& w : m.sim->unit().writes())
        if (w.accepted)
            t << QString("P%1=%2").arg(w.number).arg(w.value_text);
    return t.join(',');
}

void download(FaultMatrix& m) {
    m.dialogs.answers = {Answer::Ok};
    m.dialogs.files = {m.dir.filePath("unit.par")};
    QFile::remove(m.dir.filePath("unit.par"));
    m.window().toolbar_button(toolbar_key::DOWNLOAD)->trigger();
}

Outcome parameters_outcome(FaultMatrix& m) {
    return {table_values(), row_texts(), m.file("unit.par"), unit_writes(m), FaultMatrix::status()};
}

QString log_read_outs(FaultMatrix& m) {
    QStringList t;
    for (int i = 0; i < 9; ++i)
        t << m.window().log_setup_page->unit_log_boxes[static_cast<size_t>(i)]->text();
    return t.join(',');
}

QString chart_points() {
    QStringList t;
    for (int s = 0; s < log_chart_model().series_count(); ++s)
        for (double y : log_chart_model().series(s).y)
            t << QString::number(y);
    return t.join(',');
}

QString trace_points(FaultMatrix& m) {
    QStringList t;
    QCustomPlot* chart = m.window().echo_page->kovex_chart;
    for (int g = 0; g < chart->graphCount(); ++g)
        for (auto it = chart->graph(g)->data()->constBegin();
             it != chart->graph(g)->data()->constEnd(); ++it)
            t << QString::number(it->value);
    return t.join(',');
}

Outcome one_parameter_outcome(FaultMatrix& m) {
    ParameterWindow& w = m.one_parameter();
    return {QString::number(link().interactive_logged_on),
            w.Text2->text(),
            {},
            unit_writes(m),
            w.Label1->text()};
}

bool download_ready(FaultMatrix& m) {
    return m.window().toolbar_button(toolbar_key::DOWNLOAD)->isEnabled();
}

void log_on_one_parameter(FaultMatrix& m) {
    m.one_parameter().show();
    m.one_parameter().Command1->click();
}

const Operation OPERATIONS[] = {
    {"DownloadBySendall",
     {},
     [](FaultMatrix&) {},
     download,
     parameters_outcome,
     download_ready,
     1358},
    {"DownloadOneByOne", "1.80", [](FaultMatrix&) {}, download, parameters_outcome, download_ready,
     1358, 1, 20, 1000},
    {"UploadOneChange",
     {},
     [](FaultMatrix& m) {
         download(m);
         m.sim->unit().clear_writes();
         parameter_rows().set_text(41, "30");
     },
     [](FaultMatrix& m) {
         m.dialogs.answers = {Answer::Ok, Answer::Yes, Answer::Ok};
         m.window().toolbar_button(toolbar_key::UPLOAD)->trigger();
     },
     [](FaultMatrix& m) -> Outcome {
         return {{}, {}, {}, unit_writes(m) + "," + m.sim->unit().read_text(41), {}};
     },
     [](FaultMatrix& m) { return m.window().toolbar_button(toolbar_key::UPLOAD)->isEnabled(); },
     1275},
    {"LogInformation",
     {},
     [](FaultMatrix& m) { // the unit logged on since the start-up read
         m.sim->unit().set_simulated_records(35);
         m.sim->unit().log().simulate(35, QDateTime(QDate(2026, 12, 4), QTime(13, 15)));
     },
     [](FaultMatrix& m) { m.window().log_setup_page->get_unit_info_button->click(); },
     [](FaultMatrix& m) -> Outcome {
         return {
             QString::number(log_setup().log_records), log_read_outs(m), {}, unit_writes(m), {}};
     },
     [](FaultMatrix& m) { return m.window().log_setup_page->get_unit_info_button->isEnabled(); },
     0,
     0},
    {"LogDownload",
     {},
     [](FaultMatrix& m) { m.window().log_setup_page->Command6->click(); },
     [](FaultMatrix& m) {
         m.dialogs.files = {m.dir.filePath("site.vlg")};
         QFile::remove(m.dir.filePath("site.vlg"));
         m.window().log_setup_page->get_log_data_button->click();
     },
     [](FaultMatrix& m) -> Outcome {
         return {{}, chart_points(), m.file("site.vlg"), unit_writes(m), {}};
     },
     [](FaultMatrix& m) { return m.window().log_setup_page->get_log_data_button->isEnabled(); },
     0,
     0},
    {"GetTraces",
     {},
     [](FaultMatrix&) {},
     [](FaultMatrix& m) { m.window().echo_page->get_traces_button->click(); },
     [](FaultMatrix& m) -> Outcome {
         return {{}, trace_points(m), {}, unit_writes(m), {}};
     },
     [](FaultMatrix& m) { return m.window().echo_page->get_traces_button->isEnabled(); }},
    {"OneParameterLogOn",
     {},
     [](FaultMatrix&) {},
     log_on_one_parameter,
     one_parameter_outcome,
     [](FaultMatrix& m) { return m.one_parameter().Command1->isEnabled(); },
     1197},
    {"OneParameterRead",
     {},
     log_on_one_parameter,
     [](FaultMatrix& m) {
         m.one_parameter().Text1->setText("105");
         m.one_parameter().Text2->clear();
         m.one_parameter().Command2->click();
     },
     one_parameter_outcome,
     [](FaultMatrix& m) { return m.one_parameter().Command2->isEnabled(); },
     1192},
    {"OneParameterWrite",
     {},
     log_on_one_parameter,
     [](FaultMatrix& m) {
         m.one_parameter().Text1->setText("41");
         m.one_parameter().Text2->setText("30");
         m.one_parameter().Command3->click();
     },
     one_parameter_outcome,
     [](FaultMatrix& m) { return m.one_parameter().Command3->isEnabled(); },
     1195},
};

const Fault FAULTS[] = {
    {"Sound", ""},
    {"LateOnEveryCommand", "late=6000", true},
    {"LateOnSome", "late=6000@/p2*", true},
    {"DropAfterTwo", "drop-after=2", true},
    {"Garbage", "garbage"},
    {"LoneLineEnd", "lone-line-end"},
    {"Refuse", "refuse", false, true},
    {"ThirdSend", "third-send", true},
    {"OneByteChunks", "chunks=1"},
};

std::vector<Cell> all_cells() {
    std::vector<Cell> cells;
    for (const Operation& op : OPERATIONS)
        for (const Fault& f : FAULTS)
            cells.push_back({&op, f});
    return cells;
}

// Texts that blame the wrong thing: the passcode is right, the unit is of the right type and has
// the parameter, and "no value" is the program's own marker. Only a unit that says "NO" refuses.
QStringList wrong_reasons(const Fault& fault) {
    QStringList wrong = {ui_text(1262, "System type mismatch"), "-999999"};
    if (!fault.unit_says_no)
        wrong << ui_text(1271, "Access denied.") << ui_text(1193, "Parameter not available")
              << ui_text(1196, "Parameter not accepted");
    return wrong;
}

// An item left as it was, emptied, or the unit's: anything else did not come from the unit.
std::string foreign_item(const QString& after, const QString& before, const QString& unit) {
    const QStringList a = after.split(','), b = before.split(','), u = unit.split(',');
    for (qsizetype i = 0; i < a.size(); ++i)
        if (!a[i].isEmpty() && a[i] != b.value(i) && a[i] != u.value(i))
            return QString("item %1: \"%2\" where the unit's is \"%3\"")
                .arg(i)
                .arg(a[i].left(40), u.value(i).left(40))
                .toStdString();
    return {};
}

QString describe(const QStringList& messages) {
    return messages.isEmpty() ? "(no message)" : messages.join(" | ");
}

TEST_P(FaultMatrix, OnlyTheUnitsValuesOneClearMessageAndTheNextCommandWorks) {
    const Operation& op = *GetParam().op;
    const Fault& fault = GetParam().fault;
    auto base = baselines().find(op.name);
    if (base == baselines().end()) {
        // The measure: the same operation on a sound line, in a window of its own.
        op.prepare(*this);
        const Outcome untouched = op.observe(*this);
        Outcome sound = perform(op);
        EXPECT_NE(sound, untouched)
            << op.name
            << " did nothing on a sound line: " << describe(dialogs.messages()).toStdString();
        for (const char* name : {"unit.par", "site.vlg"})
            QFile::remove(dir.filePath(name));
        base = baselines().emplace(op.name, Baseline{sound, dialogs.messages()}).first;
        TearDown();
        SetUp();
    }
    const Baseline& b = base->second;
    EXPECT_FALSE(b.messages.join(" ").contains("-999999"));

    op.prepare(*this);
    ASSERT_FALSE(HasFatalFailure());
    const Outcome before = op.observe(*this);
    sim->clear_received();
    set_fault(fault.option, fault.waits ? op.waiting_time_scale : op.time_scale);
    const Outcome after = perform(op);
    const QStringList messages = dialogs.messages();
    const QString shown = messages.join(" | ") + " | " + after.said;

    // Nothing but the unit's values, or nothing at all.
    const bool same = after == b.outcome;
    const struct {
        const char* what;
        QString Outcome::*part;
    } parts[] = {{"the table", &Outcome::table},
                 {"the screen", &Outcome::screen},
                 {"a saved file", &Outcome::file},
                 {"the unit", &Outcome::unit}};
    for (const auto& p : parts) {
        const std::string foreign = foreign_item(after.*p.part, before.*p.part, b.outcome.*p.part);
        EXPECT_EQ(foreign, "") << "a value that is not the unit's reached " << p.what << " ("
                               << describe(messages).toStdString() << ")";
    }

    // Told at most once, and for the right reason.
    QStringList extra = messages;
    for (const QString& m : b.messages)
        extra.removeOne(m);
    EXPECT_LE(extra.size(), 1) << "the user was told more than once: "
                               << describe(extra).toStdString();
    for (const QString& wrong : wrong_reasons(fault))
        EXPECT_FALSE(shown.contains(wrong))
            << "the wrong reason was given: " << shown.toStdString();
    if (!same) {
        EXPECT_FALSE(op.success_text && shown.contains(ui_text(op.success_text)))
            << "a failure was shown as a success: " << shown.toStdString();
        const bool status_told = !after.said.isEmpty() && after.said != b.outcome.said;
        EXPECT_TRUE(!extra.isEmpty() || status_told)
            << "the operation failed and the user was told nothing";
    }

    // The program takes the next command once the line is sound again.
    sim->clear_misbehaviour();
    sim->restore_line();
    set_time_scale(op.time_scale);
    EXPECT_TRUE(op.ready(*this)) << "the window stayed unusable after the failure";
    for (const QString& busy : {ui_text(1202, "Communicating..."),
                                ui_text(1183, "Reading parameters from the unit. Please wait...")})
        EXPECT_FALSE(after.said.contains(busy))
            << "the window still says it is busy: " << after.said.toStdString();
    dialogs.prompts.clear();
    EXPECT_TRUE(connect_to_unit(true) && !link().comms_abort)
        << "the program did not take the next command: "
        << describe(dialogs.messages()).toStdString();
}

INSTANTIATE_TEST_SUITE_P(Cells, FaultMatrix, ::testing::ValuesIn(all_cells()),
                         [](const ::testing::TestParamInfo<Cell>& cell) {
                             return std::string(cell.param.op->name) + "_" + cell.param.fault.name;
                         });

// Cancel while the unit keeps the program waiting (the fault's commands): the stopped work is
// told at once, and the program is free. The same key pressed at once, on a unit that behaves
// again, sends its first command at once; while the unit is still being put back into its normal
// mode it says so, with how long that may take at most, and sends nothing, as the one-parameter
// window's log-on does; once the unit is back, the key works at once.
using CancelDuringAWait = FaultMatrix;

TEST_P(CancelDuringAWait, TellsTheStopAtOnceAndTheNextKeyIsNeverHeldSilently) {
    const Operation& op = *GetParam().op;
    const QString option = GetParam().fault.option;
    const QString at = option.section('@', 1).section('#', 0, 0);
    const QString still = ui_text(2920).section("%1", 0, 0);
    op.prepare(*this);
    ASSERT_FALSE(HasFatalFailure());
    set_fault(GetParam().fault.option, op.waiting_time_scale);
    double cancelled_at = -1, first_sent = -1;
    QObject::connect(sim.get(), &unitsim::Simulator::command_received, [&](const QString& c) {
        if (first_sent < 0)
            first_sent = platform::seconds();
        const bool match = at.endsWith('*') ? c.startsWith(at.chopped(1)) : c == at;
        if (match && cancelled_at < 0)
            QTimer::singleShot(0, [&] {
                cancelled_at = platform::seconds();
                window().cancel_button->click();
            });
    });
    perform(op);
    const double returned_at = platform::seconds();
    ASSERT_GE(cancelled_at, 0) << "the unit never got " << at.toStdString();
    EXPECT_LT(returned_at - cancelled_at, 1) << "the stopped work held the user";
    const QString told = dialogs.messages().join(" | ") + " | " + status();
    EXPECT_TRUE(told.contains(ui_text(2274)) || told.contains(ui_text(2278))) << told.toStdString();

    sim->clear_misbehaviour();
    // The key at once, and again once the unit is back in its normal mode.
    for (const bool again : {false, true}) {
        SCOPED_TRACE(again ? "once the unit is back" : "at once");
        const bool putting = putting_back();
        dialogs.prompts.clear();
        sim->clear_received();
        first_sent = -1;
        const double pressed_at = platform::seconds();
        op.run(*this);
        if (putting) {
            EXPECT_EQ(fields(dialogs.messages().join(" | ").section(still, 1).toInt() <= 121,
                             received().join(' ')),
                      fields(true, ""))
                << dialogs.messages().join(" | ").toStdString();
            one_parameter().show();
            one_parameter().Command1->click();
            EXPECT_EQ(fields(dialogs.messages().size(), received().join(' ')), fields(2, ""));
            one_parameter().hide();
            finish_put_back();
        } else {
            EXPECT_LT(first_sent - pressed_at, 1) << "the key's first command was held";
            // (An upload that has sent the change already finds nothing left to send.)
            const QString said = dialogs.messages().join(" | ") + " | " + status();
            EXPECT_TRUE(first_sent >= 0 &&
                        (said.contains(ui_text(op.success_text)) || said.contains(ui_text(1282))))
                << dialogs.messages().join(" | ").toStdString();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cancel, CancelDuringAWait,
    ::testing::Values(Cell{&OPERATIONS[0], {"SilentRead", "silent@/sendall", true}},
                      Cell{&OPERATIONS[1], {"LateRead", "late=20000@/p300#1", true}},
                      Cell{&OPERATIONS[2], {"SilentCompareRead", "silent@/sendall", true}},
                      Cell{&OPERATIONS[2], {"LateWrite", "late=20000@/p41:*#1", true}}),
    [](const ::testing::TestParamInfo<Cell>& cell) {
        return std::string(cell.param.op->name) + "_" + cell.param.fault.name;
    });

// Every way out during a one-by-one read, while the unit leaves P200 unanswered: the read stops
// where it stands, as Cancel stops it, the unit goes back to its normal mode, and only then does
// the program end, with nothing asked and nothing saved.
using QuitDuringARead = FaultMatrix;

TEST_P(QuitDuringARead, PutsTheUnitBackBeforeTheProgramEnds) {
    const struct {
        const char* way;
        std::function<void(MainWindow&)> quit;
    } ways[] = {
        {"the window's close button", [](MainWindow& w) { w.close(); }},
        {"the Exit menu", [](MainWindow& w) { w.menu_entry("exit")->trigger(); }},
        {"the toolbar's Exit key",
         [](MainWindow& w) { w.toolbar_button(toolbar_key::EXIT)->trigger(); }},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.way);
        QPointer<MainWindow> w = &window();
        QStringList at_end; // what the unit had received when the program ended
        bool shown = false; // the window was on show when the unit was put back
        w->services.end_program = [&] {
            end_link_for_exit();
            at_end = sim->received();
        };
        const QString table = table_values();
        sim->clear_received();
        sim->misbehave_on("/p200", unitsim::Misbehaviour::silence());
        QObject::connect(sim.get(), &unitsim::Simulator::command_received, w,
                         [w, &way, &shown](const QString& c) {
                             if (c == "/p200")
                                 QTimer::singleShot(0, w, [w, &way] { way.quit(*w); });
                             if (c == "/LOADNORM")
                                 shown = w->isVisible();
                         });
        download(*this);
        const QStringList sent = sim->received();
        EXPECT_EQ(fields(sent.mid(sent.indexOf("/p200")).join(' '),
                         at_end.join(' ') == sent.join(' '), sim->unit().quick_mode(),
                         MSComm1().port_open(), shown, dialogs.messages().size(),
                         QFile::exists(dir.filePath("unit.par")), table_values() == table),
                  fields("/p200 /LOADNORM", true, false, false, true, 1, false, true))
            << "the read went on, the unit was left in quick-load mode, or the user was asked or "
               "told something, or part of the read was kept";
        platform::end_all_waits(false);
        TearDown();
        SetUp();
    }
}

INSTANTIATE_TEST_SUITE_P(Quit, QuitDuringARead, ::testing::Values(Cell{&OPERATIONS[1], FAULTS[0]}));

} // namespace
