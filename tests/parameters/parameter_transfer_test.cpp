#include "parameter_road_support.h"

#include "parameters/parameter_file.h"
#include "parameters/parameter_file_commands.h"
#include "parameters/parameter_screen.h"
#include "parameters/parameter_values.h"
#include "test_files.h"

#include "link/serial_texts.h"

#include <QFile>
#include <QRegularExpression>
#include <QTimer>
#include <map>
#include <unitsim/unit_kind.h>

namespace {

QByteArray file_bytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList sent_matching(const QStringList& received, const QString& prefix) {
    QStringList out;
    for (const QString& c : received)
        if (c.startsWith(prefix, Qt::CaseInsensitive))
            out << c;
    return out;
}

} // namespace

TEST_F(ParameterRoadTest, SendallDownloadFillsTableScreenAndFile) {
    sim->unit().set_value(104, 3);    // the unit shows lengths in millimetres
    sim->unit().set_value(105, 4250); // millimetres in the unit, whatever P104 says
    sim->unit().set_present(41, false);
    download("unit.par");
    ASSERT_FALSE(link().comms_abort) << dialogs.messages().join(" | ").toStdString();
    // The block method reads no single rows; lengths arrive in P104's unit; a parameter the unit
    // lacks has no row on show; 4250 mm differs from the default 6 m.
    EXPECT_EQ(fields(sent_matching(received(), "/p").join(' '), received().contains("/sendall"),
                     parameter_state().link_software_version, rec(105).unit_value,
                     rec(41).value_text, rec(41).present, scrpar(41).visible, scrpar(105).visible,
                     box(105), scrpar(105).bold, scrpar(926).locked,
                     parameter_state().parameters_loaded, transfer.message_shown,
                     received().last()),
              fields("", true, 205, 4250, "NO", false, false, true, "4250", true, true, true, false,
                     "/access:off"));

    QFile f(dir.filePath("unit.par"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray line = f.readAll();
    // The file keeps the unit's decimals.
    EXPECT_EQ(fields(line.count(','), line.endsWith(','), line.split(',')[105 - 20],
                     parameter_state().parameter_file_name),
              fields(PAR_FIELDS, true, "4250.000", dir.filePath("unit.par")));
}

TEST_F(ParameterRoadTest, OldFirmwareIsReadOneByOneWithTheSameResult) {
    seed_unit(unitsim::UnitKind::Volume, "1.80");
    sim->unit().set_value(105, 1500);
    download();
    ASSERT_FALSE(link().comms_abort) << dialogs.messages().join(" | ").toStdString();
    EXPECT_EQ(parameter_state().link_software_version, 180);
    const QStringList r = received();
    const QStringList reads = sent_matching(r.mid(r.lastIndexOf("/LOADQUICK")), "/p");
    // The sweep runs in quick-load mode; the log-on's answer is written back.
    EXPECT_EQ(fields(reads.size(), reads.first(), reads.last(),
                     r.indexOf("/LOADQUICK") < r.indexOf("/p20"),
                     r.lastIndexOf("/LOADNORM") > r.indexOf("/p999"), rec(105).unit_value,
                     rec(61).value_text, link().p61_is_2),
              fields(980, "/p20", "/p999", true, true, 1.5, "2", true));
}

TEST_F(ParameterRoadTest, AUnitSilentToLogOnQuestionsIsReadOneByOneAndLeftInItsNormalMode) {
    seed_unit(unitsim::UnitKind::Volume, "1.80");
    keep_unit_on_program_time();
    platform::set_time_scale(1000); // the program's time passes only while it waits
    sim->set_time_scale(1000);
    for (const char* question : {"/ISCSO", "/p61", "/ISFLOW", "/ISVOLUME"})
        sim->misbehave_on(question, unitsim::Misbehaviour::silence(), 3); // the log-on's sends
    download();
    const QStringList r = received();
    const qsizetype quick = r.indexOf("/LOADQUICK"), normal = r.indexOf("/LOADNORM");
    EXPECT_EQ(fields(normal > r.lastIndexOf("/ISVOLUME"), normal < r.lastIndexOf("/LOADQUICK"),
                     sent_matching(r.mid(normal), "/p").size(), parameter_state().parameters_loaded,
                     dialogs.messages().count(ui_text(
                         1299, "No reply from the unit. Check the cable and the port settings."))),
              fields(true, true, 980, true, 1))
        << "the log-on left the unit in its quick mode or the read did not complete: "
        << r.mid(quick, normal - quick + 1).join(' ').toStdString();
}

// The log-on's answers for P61, P87 and P96 are written over the one-by-one read, but only
// numbers the unit gave to this log-on, or that its identity fixes (a radar unit is a volume unit
// on Modbus whatever its P61 holds): a question it left unanswered, refused or garbled, a flag
// an opened file left standing or an earlier log-on's answer never replaces the value the read
// got from the unit.
TEST_F(ParameterRoadTest, OnlyWhatTheLogOnReceivedIsWrittenOverTheOneByOneRead) {
    using unitsim::Misbehaviour;
    Misbehaviour one;
    one.replace = QByteArray("1\r\n");
    const struct {
        const char* name;
        unitsim::UnitKind kind;
        std::vector<std::pair<const char*, Misbehaviour>> log_on_faults; // first sends only
        int fault_sends;
        bool left_from_before; // flags of an opened file, answers of an earlier log-on
        QString p61, p87, p96; // the table and the saved file after the read
    } rows[] = {
        // clang-format off
        {"unanswered", unitsim::UnitKind::Volume,
         {{"/ISCSO", Misbehaviour::silence()}, {"/p61", Misbehaviour::silence()}}, 3, false,
         "2", "0", "2"},
        {"refused", unitsim::UnitKind::Volume, {{"/p61", Misbehaviour::refusal()}}, 1, false,
         "2", "0", "2"},
        {"garbled", unitsim::UnitKind::Volume, {{"/p61", Misbehaviour::garbage()}}, 1, false,
         "2", "0", "2"},
        {"left from before", unitsim::UnitKind::Quorvantix, {}, 0, true, "0", "0", "2"},
        {"radar identity", unitsim::UnitKind::Krestel, {}, 0, false, "2", "1", "1"},
        {"answered", unitsim::UnitKind::Volume,
         {{"/p61", one}, {"/p87", one}, {"/p96", one}}, 1, false, "1", "1", "1"},
        // clang-format on
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        seed_unit(row.kind, "1.80");
        keep_unit_on_program_time();
        platform::set_time_scale(1000);
        sim->set_time_scale(1000);
        sim->unit().set_value(96, 2);
        if (row.kind != unitsim::UnitKind::Volume)
            sim->unit().set_value(61, 0);
        for (const auto& [command, fault] : row.log_on_faults)
            sim->misbehave_on(command, fault, row.fault_sends);
        reset_link_state();
        parameter_state().parameters_loaded = false;
        link().p61_is_1 = link().fieldbus_available = link().modbus_mode = row.left_from_before;
        if (row.left_from_before)
            link().log_on_values = {{61, "1"}, {87, "1"}, {96, "1"}};
        download("unit.par");
        ASSERT_TRUE(parameter_state().parameters_loaded)
            << dialogs.messages().join(" | ").toStdString();
        const QList<QByteArray> saved = testfiles::read_bytes(dir.filePath("unit.par")).split(',');
        ASSERT_EQ(saved.size(), PAR_FIELDS + 1);
        EXPECT_EQ(
            fields(rec(61).value_text, rec(61).unit_value, saved[61 - 20], saved[87 - 20],
                   saved[96 - 20], link().p61_is_2),
            fields(row.p61, platform::val(row.p61), row.p61, row.p87, row.p96, row.p61 == "2"))
            << "the saved set holds a value the unit never gave; the unit received "
            << received().mid(0, received().indexOf("/p20")).join(' ').toStdString();
    }
}

// An upload's compare read has no log-on of its own: an earlier log-on's answer never hides a
// value the unit has changed since.
TEST_F(ParameterRoadTest, AnUploadOneByOneComparesWithWhatTheUnitHoldsNow) {
    seed_unit(unitsim::UnitKind::Level, "1.80");
    sim->unit().set_value(99, 3); // a system with a fieldbus: P96 is a setting
    sim->unit().set_value(96, 1);
    download();
    ASSERT_EQ(fields(parameter_state().parameters_loaded, link().log_on_values[96]),
              fields(true, "1"));
    sim->unit().set_value(96, 2);
    upload_confirmed();
    EXPECT_TRUE(received().contains("/p96:1")) << "the unit keeps P96 = 2 while the set says 1: "
                                               << dialogs.messages().join(" | ").toStdString();
}

// The unit's "NO" marks a parameter it lacks and "Text" a value never filled in; a site named with
// those letters is still its text. One by one from a firmware the program holds no definitions
// for, what the unit answered alone says which parameters it has.
TEST_F(ParameterRoadTest, ASiteNamedWithNoInItIsReadAsTheUnitsText) {
    const struct {
        const char *version, *firmware, *site;
    } reads[] = {{"", nullptr, "NORTH TANK"},
                 {"1.80", nullptr, "NORTH TANK"},
                 {"1.80", "0.0.5", "NORTH TANK"},
                 {"", nullptr, "Textile mill"}};
    for (const auto& [version, firmware, site] : reads) {
        SCOPED_TRACE(std::string(*version ? "one by one" : "in one block") +
                     (firmware ? " without definitions" : "") + " " + site);
        seed_unit(unitsim::UnitKind::Level, version);
        if (firmware)
            sim->unit().set_text(926, firmware);
        sim->unit().set_text(928, site);
        download("unit.par");
        EXPECT_EQ(fields(rec(928).present, rec(928).value_text.trimmed(), box(928),
                         testfiles::read_bytes(dir.filePath("unit.par")).split(',')[928 - 20]),
                  fields(true, site, site, site));
    }
}

// Whatever the unit answers, a set read from it, in one block or one by one, is saved as the same
// fields by either read and opens again as the same set without a message: the unit's texts as it
// gave them ("OK" a site's name like any other), "NO" and the placeholder "Text" as no value
// (saved "NO", never 0), numbers in the unit's own forms, an answer without a number or a blank
// one as no value. The listing names what the unit gave, and only that.
TEST_F(ParameterRoadTest, WhatAReadSavesOpensAgainAsTheSameSet) {
    const struct {
        const char* name;
        std::map<int, QString> answers;
        std::map<int, QString> saved;
        QStringList listed, not_listed; // rows of the ".csv" listing, by their start
    } table[] = {
        {"a site named OK, no date",
         {{927, "NO"}, {928, "OK"}},
         {{927, "NO"}, {928, "OK"}},
         {"928,Site Tag (P928),OK\r\n"},
         {"927,"}},
        {"a date never filled in", {{927, "Text"}}, {{927, "NO"}}, {}, {"927,"}},
        {"a site with quotes",
         {{928, "Tank \"A\"; east"}},
         {{928, "Tank \"A\"; east"}},
         {"928,Site Tag (P928),\"Tank \"\"A\"\"; east\"\r\n"},
         {}},
        {"numbers in the unit's own forms",
         {{41, ".35"}, {81, "+12.5"}, {82, "1E1"}, {83, " 5 "}, {109, "0050"}},
         {{41, ".35"}, {81, "+12.5"}, {82, "1E1"}, {83, "5"}, {109, "0050"}},
         {",0.35\r\n", ",12.5\r\n", ",10\r\n", ",5\r\n", ",50\r\n"},
         {}},
        {"an answer without a number", {{84, "abc"}}, {{84, "NO"}}, {}, {"84,"}},
        {"a command the unit lacks", {{20, "NO"}}, {{20, "NO"}}, {}, {"20,"}},
        {"a blank site", {{928, " "}}, {{928, "NO"}}, {}, {"928,"}},
    };
    // The set: which parameters it has, their values, and the texts that are no numbers (a
    // number's text takes the form the rows show once they are filled).
    const auto set_now = [] {
        std::vector<std::tuple<int, bool, double, QString>> out;
        for (int P = 20; P <= 999; ++P) {
            const QString t = rec(P).value_text.trimmed();
            out.emplace_back(P, rec(P).present, rec(P).unit_value,
                             is_plain_number(t) ? QString() : t);
        }
        return out;
    };
    for (const auto& row : table) {
        std::map<int, QByteArray> saved_by_block;
        for (const QString version : {"", "1.80"}) {
            SCOPED_TRACE(row.name +
                         std::string(version.isEmpty() ? " in one block" : " one by one"));
            seed_unit(unitsim::UnitKind::Level, version);
            for (const auto& [P, text] : row.answers) {
                sim->unit().set_present(P, true);
                sim->unit().set_text(P, text);
            }
            download("unit.par");
            ASSERT_FALSE(link().comms_abort) << dialogs.messages().join(" | ").toStdString();
            // The question before the read, and nothing else.
            ASSERT_EQ(dialogs.messages().size(), 1) << dialogs.messages().join(" | ").toStdString();
            dialogs.prompts.clear();
            const auto read = set_now();
            const QList<QByteArray> file = file_bytes(dir.filePath("unit.par")).split(',');
            ASSERT_EQ(file.size(), PAR_FIELDS + 1);
            EXPECT_FALSE(file.contains("-999999")) << "the table's no-value number was saved";
            for (const auto& [P, text] : row.saved) {
                EXPECT_EQ(file[P - 20], text.toLatin1()) << "P" << P;
                if (version.isEmpty())
                    saved_by_block[P] = file[P - 20];
                else
                    EXPECT_EQ(file[P - 20], saved_by_block[P]) << "P" << P << " read otherwise";
            }
            ASSERT_TRUE(openparamfile(dir.filePath("unit.par"), true));
            EXPECT_TRUE(dialogs.messages().isEmpty())
                << dialogs.messages().join(" | ").toStdString();
            const auto opened = set_now();
            for (size_t i = 0; i < read.size(); ++i)
                EXPECT_EQ(opened[i], read[i]) << "the file opened as another set";

            const QString csv = QString::fromLatin1(save("unit.csv"));
            for (const QString& t : row.listed)
                EXPECT_TRUE(csv.contains(t)) << t.toStdString() << " not in\n" << csv.toStdString();
            for (const QString& t : row.not_listed)
                EXPECT_FALSE(csv.contains("\r\n" + t)) << t.toStdString() << " listed";
            const QByteArray again = save("again.par");
            ASSERT_TRUE(openparamfile(dir.filePath("again.par"), true));
            const auto reopened = set_now();
            for (size_t i = 0; i < read.size(); ++i)
                EXPECT_EQ(reopened[i], read[i]) << "a save of the opened set opened as another set";
            EXPECT_EQ(fields(dialogs.messages().join(" | "), save("again2.par")), fields("", again))
                << "a save of the opened set";
        }
    }
}

TEST_F(ParameterRoadTest, AReadWhoseQuickLoadModeGoesUnansweredStillLeavesTheUnitInItsNormalMode) {
    // The unit takes the read's "/LOADQUICK" but its answers never come in time: the read fails,
    // told once, and "/LOADNORM" still goes out last.
    seed_unit(unitsim::UnitKind::Level, "1.80");
    keep_unit_on_program_time();
    platform::set_time_scale(1000);
    sim->set_time_scale(1000);
    QObject::connect(sim.get(), &unitsim::Simulator::command_received, [this](const QString& c) {
        if (c == "/access:off")
            sim->misbehave_on("/LOADQUICK", unitsim::Misbehaviour::late(200000));
    });
    download();
    finish_put_back();
    EXPECT_EQ(fields(received().last(), sim->unit().quick_mode(), dialogs.messages().size()),
              fields("/LOADNORM", false, 2))
        << dialogs.messages().join(" | ").toStdString();
}

TEST_F(ParameterRoadTest, CancelledSaveStillShowsTheSetAndWritesNothing) {
    download();
    EXPECT_EQ(fields(link().comms_abort, parameter_state().parameters_loaded,
                     parameter_state().parameter_file_name,
                     QDir(dir.path()).entryList({"*.par"}).join(' '), dialogs.messages().size()),
              fields(false, true, "", "", 1));
}

TEST_F(ParameterRoadTest, ASaveIntoAMissingFolderSaysTheSaveFailedAndKeepsTheSet) {
    download("no-such-folder/unit.par");
    const QStringList m = dialogs.messages();
    ASSERT_EQ(m.size(), 2) << m.join(" | ").toStdString();
    EXPECT_EQ(m[1], ui_text(2298) + "\r\n" +
                        QDir::toNativeSeparators(dir.filePath("no-such-folder/unit.par")))
        << "the failed save was not told as one";
    EXPECT_EQ(fields(link().comms_abort, parameter_state().parameters_loaded, box(41),
                     parameter_state().parameter_file_name),
              fields(false, true, "20", ""));
}

TEST_F(ParameterRoadTest, LateRepliesAreWaitedFor) {
    sim->misbehave_on("/sendall", unitsim::Misbehaviour::late(3000), 1);
    download();
    EXPECT_FALSE(link().comms_abort);
    EXPECT_TRUE(parameter_state().parameters_loaded);
}

TEST_F(ParameterRoadTest, UploadSendsModeParametersFirstThenTheRestInOrder) {
    download();
    ASSERT_TRUE(parameter_state().parameters_loaded);
    sim->unit().clear_writes();
    ParameterRows& rows = parameter_rows();
    rows.set_text(105, "4.5");
    rows.set_text(41, "30");
    rows.set_text(104, "2"); // centimetres: every length row converts
    EXPECT_EQ(box(105), "450");
    dialogs.answers = {platform::Answer::Ok, platform::Answer::Yes, platform::Answer::Ok};
    upload_parameters();
    EXPECT_FALSE(link().comms_abort) << dialogs.messages().join(" | ").toStdString();
    const std::vector<int> order = sim->unit().accepted_write_numbers();
    ASSERT_GE(order.size(), 3u);
    EXPECT_EQ(order.front(), 104) << "the length unit goes first, in the normal mode";
    EXPECT_FALSE(sim->unit().writes().front().quick_mode);
    EXPECT_TRUE(std::is_sorted(order.begin() + 1, order.end()));
    EXPECT_TRUE(sim->unit().writes().back().quick_mode);
    EXPECT_EQ(sim->unit().value(105), 4500.0) << "the unit holds 450 cm";
    EXPECT_EQ(sim->unit().value(41), 30.0);
    EXPECT_TRUE(dialogs.messages().last().contains(ui_text(1275)));
    EXPECT_FALSE(sim->unit().quick_mode());

    // The next download shows what the unit now holds.
    download();
    EXPECT_EQ(box(105), "450");
    EXPECT_EQ(box(41), "30");
}

// The parameters that set the unit's modes are written once, in normal mode, before the quick-load
// pass; only P100, and P132 and P704 where their modes apply, are written again after it.
TEST_F(ParameterRoadTest, ModeParametersAreWrittenOnceInNormalModeAndOnlyP100AndItsFollowersAgain) {
    const struct {
        unitsim::UnitKind kind;
        int p100, p96;  // the operating mode (flow 4, volume 5) and the fieldbus (Profibus 2)
        QString writes; // per parameter that differs, the mode of each write: N normal, Q quick
    } table[] = {
        {unitsim::UnitKind::Flow, 4, 2, "P100:NN P101:N P104:N P700:N P701:N P132:QN P704:QN"},
        {unitsim::UnitKind::Flow, 4, 0, "P100:NN P101:N P104:N P700:N P701:N P704:QN"},
        {unitsim::UnitKind::Volume, 5, 0, "P100:NN P101:N P104:N P600:N"},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.writes.toStdString());
        seed_unit(row.kind);
        sim->unit().set_value(100, row.p100);
        sim->unit().set_value(87, row.p96 != 0); // the fieldbus is fitted
        sim->unit().set_value(96, row.p96);
        sim->unit().set_present(132, row.p96 == 2); // the fieldbus's device address
        download();
        // The unit has changed since: each of them differs from the set, which is sent back.
        const QStringList named = row.writes.split(' ');
        for (const QString& entry : named) {
            const int P = entry.mid(1, entry.indexOf(':') - 1).toInt();
            sim->unit().set_value(P, rec(P).unit_value + 1);
        }
        sim->unit().clear_writes();
        upload_confirmed();
        QStringList writes;
        for (const QString& entry : named) {
            const int P = entry.mid(1, entry.indexOf(':') - 1).toInt();
            QString modes;
            for (const auto& w : sim->unit().writes())
                if (w.number == P)
                    modes += w.quick_mode ? 'Q' : 'N';
            writes << QString("P%1:%2").arg(P).arg(modes);
        }
        EXPECT_EQ(writes.join(' '), row.writes) << dialogs.messages().join(" | ").toStdString();
    }
}

TEST_F(ParameterRoadTest, RefusedWritesAreListedAndRetried) {
    download();
    parameter_rows().set_text(41, "30");
    parameter_rows().set_text(81, "12");
    sim->misbehave_on("/p81:*", unitsim::Misbehaviour::refusal(), 1);
    dialogs.answers = {platform::Answer::Ok, platform::Answer::Yes, platform::Answer::Retry,
                       platform::Answer::Ok};
    upload_parameters();
    const QStringList m = dialogs.messages();
    ASSERT_EQ(m.size(), 5) << m.join(" | ").toStdString();
    EXPECT_TRUE(m[2].contains("P41(30;20), P81(12;10)")) << "the question lists both";
    EXPECT_TRUE(m[3].contains("1 " + ui_text(1290) + ", P81(12,10)")) << m[3].toStdString();
    EXPECT_FALSE(m[3].contains("P41")) << "only the refused parameter is listed";
    EXPECT_TRUE(m[4].contains(ui_text(1275))) << "the retry sent it";
    EXPECT_EQ(sim->unit().value(81), 12.0);
    EXPECT_EQ(parameter_state().upload_refusals, 0);
}

// A parameter the unit answers "NO" to is named apart in the question with that answer, never as
// a 0 the unit does not hold, and is not sent; read in one block or one by one.
TEST_F(ParameterRoadTest, AParameterTheUnitLacksIsListedWithTheUnitsAnswer) {
    for (const QString version : {"", "1.80"}) {
        SCOPED_TRACE(version.toStdString());
        seed_unit(unitsim::UnitKind::Level, version);
        download();
        sim->unit().set_present(41, false);
        parameter_rows().set_text(41, "30");
        dialogs.prompts.clear();
        upload_confirmed();
        const QStringList m = dialogs.messages();
        ASSERT_GE(m.size(), 2) << m.join(" | ").toStdString();
        EXPECT_TRUE(m[1].startsWith("0") && m[1].contains(ui_text(2370) + "\r\nP41(30;NO)\r\n"))
            << "the question: " << m[1].toStdString();
        EXPECT_EQ(sent_matching(received(), "/p41:"), QStringList()) << m.join(" | ").toStdString();
    }
}

TEST_F(ParameterRoadTest, LineDropMidUploadIsNeverReportedAsDone) {
    download();
    parameter_rows().set_text(41, "30");
    parameter_rows().set_text(81, "12");
    sim->misbehave_on("/p81:*", unitsim::Misbehaviour::line_drop(), 1);
    dialogs.answers = {platform::Answer::Ok, platform::Answer::Yes};
    upload_parameters();
    EXPECT_TRUE(link().comms_abort);
    for (const QString& m : dialogs.messages())
        EXPECT_FALSE(m.contains(ui_text(1275))) << "a broken upload was reported as done";
    EXPECT_FALSE(transfer.message_shown);
    EXPECT_EQ(rec(81).unit_value, 12) << "the screen's set stays in the table";
}

// An upload of eight changes that stops says so once, with the link's reason or the user's Cancel,
// and names what reached the unit, what went out without an answer (the unit may hold it: the
// user reads it back) and what did not. A refused write never counts as written; line noise that
// holds "NO" is no refusal. A Cancel in the compare read asks nothing; a Cancel while a write waits
// for its answer ends the wait at once. A unit still on the line gets "/LOADNORM" last, written
// before the message, so that it is never left in quick-load mode; the message does not wait for
// its answer.
TEST_F(ParameterRoadTest, AnUploadThatStopsSaysOnceWhatReachedTheUnitAndWhatDidNot) {
    // CancelOwed: the write is answered only at its third send, and the user cancels while the
    // next write waits for the answers still owed. CancelSilent: the user cancels while the write
    // waits for an answer that never comes. Dead: the line dies with the write taken, its answer
    // cut short, and the port open: the last "/LOADNORM" gets no answer and is not told again.
    // CancelThenDead: the line dies after the user's Cancel: the stop's message comes at once,
    // "/LOADNORM" gets its resends, and the user is told afterwards that it got no answer.
    enum How { Pull, Silent, Cancel, CancelOwed, CancelSilent, Noise, Dead, CancelThenDead };
    const QString pulled = serial_text(95) + " COM1 " + serial_text(96);
    const struct {
        const char* name;
        QString at; // the command at which it stops
        How how;
        QString reason; // empty: it stopped before any write, with the compare read
        QString done, unconfirmed, not_written;
        QString refused = {}; // a write the unit refuses before the stop
        QString after = {};   // told once "/LOADNORM" has had all its sends
    } table[] = {
        // clang-format off
        {"cancelled during the compare read", "/sendall", Cancel, {}, {}, {}, {}},
        {"line pulled at the fourth write", "/p83:6", Pull, pulled,
         "P41, P81, P82", "P83", "P84, P105, P106, P107"},
        {"fourth write never answered", "/p83:6", Silent, ui_text(1299),
         "P41, P81, P82", "P83", "P84, P105, P106, P107"},
        {"cancelled during the third write", "/p82:31", Cancel, ui_text(2277),
         "P41, P81", "P82", "P83, P84, P105, P106, P107"},
        {"line pulled at the last write", "/p107:0.35", Pull, pulled,
         "P41, P81, P82, P83, P84, P105, P106", "P107", {}},
        {"line pulled after a refused write", "/p83:6", Pull, pulled,
         "P41, P82", "P83", "P81, P84, P105, P106, P107", "/p81:12"},
        {"cancelled while an answer is owed", "/p83:6", CancelOwed, ui_text(2277),
         "P41, P81, P82, P83", {}, "P84, P105, P106, P107"},
        {"cancelled during an unanswered write", "/p83:6", CancelSilent, ui_text(2277),
         "P41, P81, P82", "P83", "P84, P105, P106, P107"},
        {"line noise holding NO as a write's answer", "/p83:6", Noise, ui_text(2041),
         "P41, P81, P82", "P83", "P84, P105, P106, P107"},
        {"line dead at the fourth write", "/p83:6", Dead, ui_text(1299),
         "P41, P81, P82", "P83", "P84, P105, P106, P107"},
        {"cancelled, then the line died", "/p82:31", CancelThenDead, ui_text(2277),
         "P41, P81", "P82", "P83, P84, P105, P106, P107", {}, ui_text(2921)},
        // clang-format on
    };
    const std::pair<int, const char*> changes[] = {{41, "30"},   {81, "12"},   {82, "31"},
                                                   {83, "6"},    {84, "21"},   {105, "5.5"},
                                                   {106, "4.5"}, {107, "0.35"}};
    for (const auto& row : table) {
        SCOPED_TRACE(row.name);
        seed_unit(unitsim::UnitKind::Level);
        download();
        for (const auto& [P, text] : changes)
            parameter_rows().set_text(P, text);
        QStringList reached;
        QObject::connect(sim.get(), &unitsim::Simulator::command_received,
                         [&, at = row.at, how = row.how](const QString& c) {
                             if (c != at)
                                 return;
                             if (how == Cancel || how == CancelSilent || how == CancelThenDead)
                                 link().cancel_requested = true;
                             if (how == CancelThenDead)
                                 sim->misbehave_on("/LOADNORM", unitsim::Misbehaviour::silence());
                             if (how != Pull)
                                 return;
                             for (int P : sim->unit().accepted_write_numbers())
                                 reached << "P" + QString::number(P);
                             QTimer::singleShot(0, [this] { sim.reset(); });
                         });
        struct CancellingView : RecordingLinkView {
            void set_status_text(int panel, const QString& text) override {
                RecordingLinkView::set_status_text(panel, text);
                if (panel == 1 && text.startsWith(ui_text(2040)))
                    link().cancel_requested = true;
            }
        } cancelling;
        if (row.how == CancelOwed) {
            sim->misbehave_on(row.at, unitsim::Misbehaviour::third_send());
            set_link_view(&cancelling);
        } else if (row.how == Noise) {
            sim->misbehave_on(row.at, unitsim::Misbehaviour::garbage("\xfeNO\x01\r\n"));
        } else if (row.how == Dead) {
            sim->misbehave_on(row.at, unitsim::Misbehaviour::line_drop());
        } else if (row.how != Cancel && row.how != CancelThenDead) {
            sim->misbehave_on(row.at, unitsim::Misbehaviour::silence());
        }
        if (!row.refused.isEmpty())
            sim->misbehave_on(row.refused, unitsim::Misbehaviour::refusal());
        sim->unit().clear_writes();
        dialogs.prompts.clear();
        view.set_status_text(1, {});
        // What the user had been told when "/LOADNORM" was written to the unit during the upload.
        QStringList status_at_loadnorm;
        qsizetype messages_at_loadnorm = -1;
        bool uploading = true;
        const QMetaObject::Connection written = QObject::connect(
            &traffic().modem(), &TrafficView::appended, [&](const QString& text, bool sent) {
                if (sent && uploading && text.startsWith("/LOADNORM")) {
                    status_at_loadnorm << link_view().status_text(1);
                    messages_at_loadnorm = dialogs.prompts.size();
                }
            });
        dialogs.answers = {platform::Answer::Ok, platform::Answer::Yes, platform::Answer::Ok};
        upload_parameters();
        uploading = false;
        const qsizetype told_at_return = dialogs.prompts.size();
        finish_put_back();
        QObject::disconnect(written);
        set_link_view(&view);
        if (sim)
            for (int P : sim->unit().accepted_write_numbers())
                reached << "P" + QString::number(P);

        const QStringList m = dialogs.messages();
        EXPECT_TRUE(link().comms_abort);
        if (row.reason.isEmpty()) {
            EXPECT_EQ(m.size(), 1)
                << "asked or told after a cancelled compare read: " << m.join(" | ").toStdString();
            EXPECT_EQ(reached, QStringList());
            EXPECT_EQ(view.status_text(1), ui_text(2278));
        } else {
            ASSERT_EQ(fields(m.size(), told_at_return), fields(row.after.isEmpty() ? 3 : 4, 3))
                << m.join(" | ").toStdString();
            QString told = ui_text(2274) + "\r\n" + row.reason + "\r\n";
            for (const auto& [text, list] :
                 {std::pair{2275, row.done}, {2297, row.unconfirmed}, {2276, row.not_written}})
                if (!list.isEmpty())
                    told += "\r\n" + ui_text(text) + " " + list;
            EXPECT_EQ(m[2], told) << "the upload's stop";
            if (!row.after.isEmpty()) {
                EXPECT_EQ(m[3], row.after) << "the put-back's silence";
            }
            // The unit took the write whose answer was lost.
            const bool lost = row.how == Noise || row.how == Dead || row.how == Cancel ||
                              row.how == CancelThenDead;
            const QString taken = lost ? row.done + ", " + row.unconfirmed : row.done;
            EXPECT_EQ(reached.join(", "), taken) << "what reached the unit";
        }
        EXPECT_EQ(box(107), "0.35") << "the set on the screen stays";
        EXPECT_FALSE(transfer.message_shown || transfer.cancel_shown);
        EXPECT_FALSE(row.how == Cancel && sim->unit().quick_mode())
            << "the unit was left in quick-load mode";
        if (row.how != Pull && !row.reason.isEmpty()) {
            EXPECT_FALSE(row.how != Dead && row.how != CancelThenDead && sim->unit().quick_mode())
                << "the unit was left in quick-load mode";
            // With its resends onto a line not found dead, once onto one found dead.
            const QStringList sent = received();
            EXPECT_EQ(fields(sent.last(), sent.mid(sent.indexOf(row.at)).count("/LOADNORM")),
                      fields("/LOADNORM", row.how == CancelThenDead ? 3 : 1))
                << sent.join(' ').toStdString();
            // The stop is told in the status bar at once, and "/LOADNORM" is on its way before
            // the message, which does not wait for its answer.
            EXPECT_EQ(fields(status_at_loadnorm.contains(ui_text(2274)), messages_at_loadnorm),
                      fields(true, 2))
                << "the stop was not told at once, or its message kept the unit in quick-load "
                   "mode until the user closed it";
        }
    }
}

// The system type check asks the unit in its quick-load mode and leaves it in its normal mode, also
// when the unit leaves the question unanswered.
TEST_F(ParameterRoadTest, TheSystemTypeCheckLeavesTheUnitInItsNormalMode) {
    keep_unit_on_program_time();
    for (const bool silent : {false, true}) {
        SCOPED_TRACE(silent ? "/p99 unanswered" : "/p99 answered");
        seed_unit(unitsim::UnitKind::Level);
        platform::set_time_scale(1000);
        sim->set_time_scale(1000);
        download();
        if (silent)
            sim->misbehave_on("/p99", unitsim::Misbehaviour::silence());
        sim->clear_received();
        correct_version();
        finish_put_back();
        EXPECT_EQ(
            fields(received().last(), sim->unit().quick_mode(), parameter_state().same_system_type),
            fields("/LOADNORM", false, !silent));
    }
}

TEST_F(ParameterRoadTest, CompareReadCountsDifferencesInTheSweep) {
    seed_unit(unitsim::UnitKind::Level, "1.80");
    download();
    parameter_rows().set_text(41, "30");
    dialogs.answers = {platform::Answer::Ok, platform::Answer::No};
    upload_parameters();
    EXPECT_EQ(parameter_state().compare_differences, 1);
    bool shown = false;
    for (const QString& m : transfer.messages)
        shown = shown || m.contains(" - Diff=1");
    EXPECT_TRUE(shown) << "the sweep's progress shows the running difference count";
    EXPECT_EQ(rec(41).unit_value, 30) << "the screen's value is back in the table";
}

TEST_F(ParameterRoadTest, UploadWritesTheUnitsNumberFormInAnyLocale) {
    download();
    platform::number_separators() = {",", "."};
    parameter_rows().set_text(81, "12,5");
    parameter_rows().set_text(996, "15");
    upload_confirmed();
    EXPECT_TRUE(received().contains("/p81:12.5")) << received().join(" ").toStdString();
    EXPECT_TRUE(received().contains("/p996:0015")) << "call times go as four digits";
    EXPECT_EQ(sim->unit().value(81), 12.5);

    // Typed into the row, a number reaches the unit as exactly the number typed at the
    // parameter's decimals, or not at all: then the unit gets the value the box went back to.
    // clang-format off
    const struct { int P; const char *locale, *typed, *sent; } cases[] = {
        {81, "de-CH", "12.25", "/p81:12.25"}, {81, "de-CH", "0,35", "/p81:7"},
        {81, "de-DE", "0,35", "/p81:0.35"}, {81, "de-DE", "0.35", "/p81:7"},
        {81, "de-DE", "0,125", "/p81:0.13"}, {101, "de-DE", "2,5", "/p101:7"},
        // Too large or too near 0 to be kept: refused, never sent as 0.
        {107, "de-DE", "1,7976931348623157E308", "/p107:7"}, {81, "de-DE", "1E-400", "/p81:7"}};
    // clang-format on
    for (const auto& c : cases) {
        const QLocale l(c.locale);
        platform::number_separators() = {l.decimalPoint(), l.groupSeparator(), c.locale};
        parameter_rows().set_text(c.P, platform::number_text(7));
        parameter_rows().set_typed_text(c.P, c.typed);
        parameter_rows().commit(c.P);
        upload_confirmed();
        EXPECT_EQ(received().filter(QString("/p%1:").arg(c.P)).join(' '), c.sent)
            << c.typed << " in " << c.locale;
    }
}

// A clock time shows the four digits an upload sends and a save writes: as read from the unit,
// which answers "800", and once typed and left, however it was typed.
TEST_F(ParameterRoadTest, AClockTimeShowsWhatIsSentAndSaved) {
    download("unit.par");
    const QList<QByteArray> read = file_bytes(dir.filePath("unit.par")).split(',');
    ASSERT_EQ(read.size(), PAR_FIELDS + 1);
    EXPECT_EQ(fields(box(996), read[996 - 20], box(976), read[976 - 20]),
              fields("0800", "0800", "0300", "0300"));
    // clang-format off
    const struct { int P; const char *typed, *shown; } cases[] = {
        {971, "930", "0930"}, {972, "0930", "0930"}, {976, "45", "0045"}, {996, "0930", "0930"},
        {997, "2359", "2359"}};
    // clang-format on
    for (const auto& c : cases) {
        parameter_rows().set_typed_text(c.P, c.typed);
        EXPECT_TRUE(parameter_rows().commit(c.P)) << dialogs.messages().join(" | ").toStdString();
    }
    const QList<QByteArray> saved = save("set.par").split(',');
    ASSERT_EQ(saved.size(), PAR_FIELDS + 1);
    dialogs.prompts.clear();
    upload_confirmed();
    EXPECT_TRUE(dialogs.messages().join(" | ").contains("P971(0930;0000), P972(0930;2200)"))
        << "the question names the times as the rows show them: "
        << dialogs.messages().join(" | ").toStdString();
    for (const auto& c : cases) {
        const QString sent = QString("/p%1:").arg(c.P);
        EXPECT_EQ(fields(box(c.P), saved[c.P - 20], received().filter(sent).join(' '),
                         sim->unit().value(c.P).value_or(-1)),
                  fields(c.shown, c.shown, sent + c.shown, platform::val(c.shown)))
            << "P" << c.P << " typed " << c.typed;
    }
}

// A box the user empties stores nothing: left, or still being typed into when the upload or the
// save starts, it shows the stored value again, and neither the unit nor the file gets a 0.
TEST_F(ParameterRoadTest, AnEmptiedBoxNeverReachesTheUnitOrTheFileAsZero) {
    download();
    const QLocale l("de-CH");
    platform::number_separators() = {l.decimalPoint(), l.groupSeparator(), "de-CH"};
    const QString shown106 = box(106), shown107 = box(107);
    const QByteArray stored107 = rec(107).value_text.toLatin1();
    parameter_rows().set_typed_text(106, "");
    parameter_rows().commit(106);
    parameter_rows().set_typed_text(107, ""); // the toolbar's key takes no focus from the box
    upload_confirmed();
    const QString told = dialogs.messages().join('|');
    EXPECT_EQ(fields(received().filter(QRegularExpression("^/p10[67]:")).join(' '), box(106),
                     box(107), told.contains("P106(") || told.contains("P107(")),
              fields("", shown106, shown107, false))
        << "an emptied box was sent or listed: " << told.toStdString();
    parameter_rows().set_typed_text(107, "");
    EXPECT_EQ(save("emptied.par").split(',').value(107 - 20), stored107)
        << "the save wrote an emptied box as some value";
}

// A download that does not finish leaves the opened set in memory, on the screen and in the next
// save as it was, with the transfer display gone; a cancel stops the read once the command in
// flight has ended, says so in the status bar and leaves the unit out of quick-load mode. A
// download that got no parameter at all is told as an unreadable answer, a refusal as a refusal.
TEST_F(ParameterRoadTest, AnUnfinishedDownloadLeavesTheOpenedSetAsItWas) {
    const QString unreadable = ui_text(2041);
    const struct {
        const char* name;
        QString version; // the unit's communication firmware: "" reads by "/sendall"
        QString pattern;
        unitsim::Misbehaviour fault;
        QString told; // empty: any one message
        bool cancel = false;
        bool cancel_as_answered = false; // the Cancel comes with the answer, not before it
    } table[] = {
        {"pulled at the log-on", "1.80", "/WHO", unitsim::Misbehaviour::line_drop(), {}},
        {"refused log-on", "1.80", "/access:*", unitsim::Misbehaviour::refusal(), {}},
        {"pulled mid-sweep", "1.80", "/p300", unitsim::Misbehaviour::line_drop(), {}},
        {"silent mid-sweep", "1.80", "/p30*", unitsim::Misbehaviour::silence(), {}},
        {"cancelled mid-sweep", "1.80", "/p200", {}, {}, true},
        {"cancelled mid-sweep, late", "1.80", "/p200", unitsim::Misbehaviour::late(3000), {}, true},
        {"log-on cancelled", "1.80", "/LOADQUICK", unitsim::Misbehaviour::late(45000), {}, true},
        {"only acknowledged in the sweep", "1.80", "/p106", unitsim::Misbehaviour::garbage("OK\r"),
         ui_text(2279).arg("/p106")},
        {"all refused in the sweep", "1.80", "/p*", unitsim::Misbehaviour::refusal(), unreadable},
        {"pulled mid-/sendall", "", "/sendall", unitsim::Misbehaviour::line_drop(), {}},
        {"cancelled mid-/sendall", "", "/sendall", {}, {}, true},
        {"cancelled as /sendall is answered", "", "/sendall", {}, {}, true, true},
        {"cancel before a resend", "", "/sendall", unitsim::Misbehaviour::third_send(), {}, true},
        {"line noise", "", "*", unitsim::Misbehaviour::garbage(), unreadable},
        {"line noise holding NO", "", "/sendall", unitsim::Misbehaviour::garbage("\xfeNO\x01\r\n"),
         unreadable},
        {"refusing unit", "", "*", unitsim::Misbehaviour::refusal(), ui_text(2050).arg("/who")},
        {"refused /sendall", "", "/sendall", unitsim::Misbehaviour::refusal(),
         ui_text(2050).arg("/sendall")},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.name);
        seed_unit(unitsim::UnitKind::Volume, row.version);
        sim->unit().set_value(41, 33);
        download("opened.par");
        ASSERT_FALSE(link().comms_abort) << dialogs.messages().join(" | ").toStdString();
        sim->unit().set_value(41, 44); // the unit has changed since
        dialogs.prompts.clear();
        ASSERT_TRUE(openparamfile(dir.filePath("opened.par"), true));
        ASSERT_TRUE(dialogs.messages().isEmpty()) << dialogs.messages().join(" | ").toStdString();
        const QString box_605 = box(605);
        const QByteArray before = save("before.par");

        bool asked = false;
        if (row.cancel)
            QObject::connect(sim.get(), &unitsim::Simulator::command_received,
                             [&, p = row.pattern](const QString& c) {
                                 asked = asked || c == p;
                                 if (c == p && !row.cancel_as_answered)
                                     link().cancel_requested = true;
                             });
        const QMetaObject::Connection answered = QObject::connect(
            &traffic().modem(), &TrafficView::appended, [&](const QString&, bool sent) {
                if (!sent && asked && row.cancel_as_answered)
                    link().cancel_requested = true;
            });
        // What the status bar says while the unit is sent back to its normal mode.
        QString status_at_loadnorm;
        QObject::connect(sim.get(), &unitsim::Simulator::command_received, [&](const QString& c) {
            if (c == "/LOADNORM")
                status_at_loadnorm = view.status_text(1);
        });
        sim->misbehave_on(row.pattern, row.fault);
        sim->clear_received();
        view.set_status_text(1, {});
        QFile::remove(dir.filePath("never.par"));
        download("never.par");
        finish_put_back();
        QObject::disconnect(answered);
        dialogs.files.clear();
        sim->clear_misbehaviour();
        QObject::disconnect(sim.get(), &unitsim::Simulator::command_received, nullptr, nullptr);

        const QStringList m = dialogs.messages();
        EXPECT_EQ(m.size(), row.cancel ? 1 : 2) << m.join(" | ").toStdString();
        if (!row.told.isEmpty()) {
            EXPECT_TRUE(m.last().contains(row.told)) << m.join(" | ").toStdString();
        }
        for (const QString& t : m)
            EXPECT_FALSE(t.contains("-999999")) << t.toStdString();
        EXPECT_FALSE(QFile::exists(dir.filePath("never.par"))) << "no save after a failed read";
        EXPECT_FALSE(transfer.message_shown || transfer.progress_shown || transfer.cancel_shown);
        EXPECT_FALSE(row.cancel && (received().count(row.pattern) > 1 ||
                                    received().contains("/p999") || sim->unit().quick_mode()))
            << "the read went on after Cancel or left the unit in quick-load mode";
        EXPECT_FALSE(!row.fault.drop && sim->unit().quick_mode())
            << "a unit still on the line was left in quick-load mode";
        EXPECT_EQ(view.status_text(1) == ui_text(2278), row.cancel)
            << "the status bar: " << view.status_text(1).toStdString();
        if (row.cancel && !row.version.isEmpty()) {
            EXPECT_EQ(status_at_loadnorm, ui_text(2278))
                << "the cancelled read was told only after the unit's last answer";
        }
        EXPECT_EQ(rec(41).unit_value, 33);
        EXPECT_EQ(box(41), "33");
        EXPECT_EQ(box(605), box_605);
        EXPECT_TRUE(parameter_state().parameters_loaded);
        EXPECT_EQ(parameter_state().parameter_file_name, dir.filePath("before.par"));

        EXPECT_EQ(save("after.par"), before) << "the next save writes the opened set";
    }
}

// An upload sends what the set holds and the unit does not: never a parameter the set lacks, a
// read-only value, or a command.
TEST_F(ParameterRoadTest, AnUnchangedFileFromASmallerUnitSendsNothing) {
    for (int P : {41, 81})
        sim->unit().set_present(P, false);
    sim->unit().set_value(92, 4711); // read-only: the smaller unit's serial number
    sim->unit().set_value(20, 2);    // a command: the last echo command it took
    download("small.par");
    ASSERT_FALSE(link().comms_abort);
    ASSERT_EQ(file_bytes(dir.filePath("small.par")).split(',')[41 - 20], "NO");

    seed_unit(unitsim::UnitKind::Level);
    sim->unit().set_value(41, 33);
    sim->unit().set_value(81, 12);
    ASSERT_TRUE(openparamfile(dir.filePath("small.par"), true));
    upload_confirmed();
    EXPECT_EQ(sent_matching(received(), "/p"), QStringList()) << "nothing differs";
    EXPECT_TRUE(dialogs.messages().last().contains(ui_text(1282)))
        << dialogs.messages().join(" | ").toStdString();
    EXPECT_EQ(box(41), "") << "the row stays hidden and empty";
    EXPECT_FALSE(rec(41).present) << "the compare read leaves the set's presence alone";
}

// After a read, the set sent back as it stands sends nothing and says so, and one change sends
// that value alone: never the flow view of the breakpoints, nor a default that a rule put into a
// row the set lacks (the flow rows, the relay rows the window brings back), whether the unit
// lacks it or has it by now. A value typed into such a row is the set's own.
TEST_F(ParameterRoadTest, AnUploadSendsOnlyWhatTheUnitHasAndTheSetChanged) {
    using unitsim::UnitKind;
    const struct {
        const char* name;
        UnitKind kind;
        QString version;
        int lacked;    // a parameter the unit lacks when it is read; 0: none
        bool regained; // the unit has it when the set is sent back
        bool reopened; // the set read is opened again from its file
        int typed;     // then typed into
        QString sent;
    } table[] = {
        {"flow, one by one", UnitKind::Flow, "1.80", 0, false, false, 41, "/p41:30"},
        {"flow, in one block", UnitKind::Flow, "", 610, true, false, 730, "/p610:30"},
        {"flow, P864 shown empty", UnitKind::Flow, "", 864, true, false, 864, "/p864:30"},
        {"no P228, reopened", UnitKind::Level, "", 228, false, true, 41, "/p41:30"},
        {"no P228, one by one, reopened", UnitKind::Level, "1.80", 228, false, true, 41, "/p41:30"},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.name);
        seed_unit(row.kind, row.version);
        if (row.kind == UnitKind::Flow) {
            sim->unit().set_value(100, 4);
            sim->unit().set_present(730, true); // the unit answers for the flow view too
        }
        if (row.lacked)
            sim->unit().set_present(row.lacked, false);
        download("unit.par");
        if (row.reopened) {
            ASSERT_TRUE(openparamfile(dir.filePath("unit.par"), true));
        }
        if (row.regained) {
            sim->unit().set_present(row.lacked, true);
            sim->unit().set_value(row.lacked, 0.5); // not the default a rule filled the row with
        }
        const auto sent_and_told = [&] {
            upload_confirmed();
            return fields(sent_matching(received(), "/p").filter(":").join(' '),
                          dialogs.messages().last());
        };
        EXPECT_EQ(sent_and_told(), fields("", ui_text(1282)));
        EXPECT_EQ(parameter_state().compare_differences, 0);
        parameter_rows().set_typed_text(row.typed, "30");
        ASSERT_TRUE(parameter_rows().commit(row.typed));
        EXPECT_EQ(sent_and_told(), fields(row.sent, ui_text(1275)));
    }
}

// The hard and the factory default are commands, not settings: whatever a set's rows read, an
// upload never sends them, so a set whose P930 reads 1 does not reset the unit.
TEST_F(ParameterRoadTest, ASetWhoseDefaultRowsReadOneNeverResetsTheUnit) {
    download("unit.par");
    QList<QByteArray> items = file_bytes(dir.filePath("unit.par")).split(',');
    ASSERT_EQ(items.size(), PAR_FIELDS + 1);
    for (const auto& [P, value] : {std::pair{41, "30"}, {88, "1"}, {930, "1"}})
        items[P - 20] = value;
    QFile f(dir.filePath("defaults.par"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(items.join(',')) > 0);
    f.close();
    ASSERT_TRUE(openparamfile(dir.filePath("defaults.par"), true));
    ASSERT_EQ(fields(rec(88).unit_value, rec(930).unit_value), fields(1.0, 1.0));
    upload_confirmed();
    EXPECT_EQ(sent_matching(received(), "/p"), QStringList({"/p41:30"}))
        << "a default command went to the unit";
    EXPECT_EQ(sim->unit().value(41), 30.0);
}

// A set in another length unit goes to a unit in metres. The unit converts the lengths it holds
// when P104 changes, so a length the set holds in its unit is compared with the unit's in that
// unit: every length the upload may write is then the set's in the unit.
TEST_F(ParameterRoadTest, AnUploadAcrossLengthUnitsLeavesEveryLengthAsTheSetSays) {
    // P104 of the set, and P107 as the unit's 0.3 m in that unit: the unit already holds it.
    const struct {
        const char *p104, *p107;
    } table[] = {{"4", "0.984"}, {"5", "11.811"}, {"3", "300.000"}, {"2", "30.000"}};
    for (const auto& row : table) {
        SCOPED_TRACE(row.p104);
        seed_unit(unitsim::UnitKind::Level);
        sim->unit().set_value(106, 5000); // millimetres: 5 m, the same number as the set's 5
        download("metres.par");
        ASSERT_EQ(rec(104).unit_value, 1);
        QList<QByteArray> items = file_bytes(dir.filePath("metres.par")).split(',');
        for (const auto& [P, value] :
             {std::pair{104, row.p104}, {105, "20.000"}, {106, "5.000"}, {107, row.p107}})
            items[P - 20] = value;
        testfiles::write_bytes(dir.filePath("other.par"), items.join(','));
        ASSERT_TRUE(openparamfile(dir.filePath("other.par"), true));
        std::map<int, QString> set;
        for (int P = 20; P <= 999; ++P)
            if (is_length_record(P) && rec(P).present && !rec(P).read_only)
                set[P] = box(P);
        ASSERT_GE(set.size(), 3u);
        upload_confirmed();
        ASSERT_TRUE(dialogs.messages().last().contains(ui_text(1275)))
            << dialogs.messages().join(" | ").toStdString();
        const QStringList sent = sent_matching(received(), "/p").filter(":");
        download();
        QStringList differ;
        for (const auto& [P, text] : set)
            if (box(P) != text)
                differ << QString("P%1 %2 in the set, %3 in the unit").arg(P).arg(text, box(P));
        EXPECT_EQ(differ, QStringList()) << "sent: " << sent.join(' ').toStdString();
        EXPECT_EQ(sent.filter("/p107:"), QStringList()) << "a length the unit holds was sent";
    }
}

TEST_F(ParameterRoadTest, TheUploadQuestionNamesTheOutputTrimsItNeverSends) {
    download();
    ASSERT_TRUE(scrpar(838).visible);
    parameter_rows().set_text(838, "1.5");
    dialogs.prompts.clear();
    upload_confirmed();
    const QStringList m = dialogs.messages();
    ASSERT_GE(m.size(), 2) << m.join(" | ").toStdString();
    EXPECT_TRUE(m[1].startsWith("0")) << m[1].toStdString();
    EXPECT_TRUE(m[1].contains(ui_text(1458) + "\r\nP838\r\n")) << m[1].toStdString();
    EXPECT_EQ(sent_matching(received(), "/p838"), QStringList());
}

// Either output trim, or both, is named apart from the changes and never sent.
TEST_F(ParameterRoadTest, EitherOutputTrimIsNamedApartAndNeverSent) {
    const struct {
        std::vector<int> trims;
        QString named;
    } table[] = {{{839}, "P839"}, {{838, 839}, "P838, P839"}};
    for (const auto& row : table) {
        SCOPED_TRACE(row.named.toStdString());
        download();
        for (int P : row.trims)
            parameter_rows().set_text(P, "1.5");
        dialogs.prompts.clear();
        upload_confirmed();
        const QStringList m = dialogs.messages();
        ASSERT_GE(m.size(), 2) << m.join(" | ").toStdString();
        EXPECT_EQ(m[1], "0" + ui_text(1277) + "\r\r" + ui_text(1458) + "\r\n" + row.named + "\r\n" +
                            ui_text(1278));
        EXPECT_EQ(sent_matching(received(), "/p838:") + sent_matching(received(), "/p839:"),
                  QStringList())
            << "an output trim was sent";
    }
}

TEST_F(ParameterRoadTest, AnUploadToAnUnreadableUnitIsToldOnceAndSendsNothing) {
    download();
    parameter_rows().set_text(41, "30");
    const std::pair<unitsim::Misbehaviour, QString> faults[] = {
        {unitsim::Misbehaviour::garbage(), ui_text(2041)},
        {unitsim::Misbehaviour::refusal(), ui_text(2050).arg("/who")}};
    for (const auto& [fault, told] : faults) {
        dialogs.prompts.clear();
        sim->unit().clear_writes();
        sim->misbehave_on("*", fault);
        dialogs.answers = {platform::Answer::Ok, platform::Answer::Yes};
        upload_parameters();
        sim->clear_misbehaviour();
        const QStringList m = dialogs.messages();
        ASSERT_EQ(m.size(), 2) << m.join(" | ").toStdString();
        EXPECT_TRUE(m[1].contains(told)) << m[1].toStdString();
        EXPECT_TRUE(sim->unit().writes().empty());
        EXPECT_EQ(box(41), "30") << "the set on the screen stays";
    }
}

// Each kind of unit reports a system type the definition files describe, so its pages are filled.
TEST_F(ParameterRoadTest, EveryKindOfUnitFillsTheApplicationAndOutputPages) {
    for (const QString& name : unitsim::kind_names()) {
        SCOPED_TRACE(name.toStdString());
        seed_unit(*unitsim::kind_from_name(name));
        download();
        ASSERT_FALSE(link().comms_abort) << dialogs.messages().join(" | ").toStdString();
        EXPECT_TRUE(scrpar(100).visible && scrpar(105).visible) << "the Application page";
        EXPECT_TRUE(parameter_rows().switch_on("SSTab1(2):4")) << "the mA Output tab";
        EXPECT_TRUE(scrpar(99).visible);
    }
}

// A value the file does not hold is never invented: an empty, acknowledged or unreadable field,
// and every field of a file cut short, leaves its parameter out of the set (no value on show, "NO"
// in the next save) and out of the upload; a field that starts with a number keeps that number.
TEST_F(ParameterRoadTest, AValueTheFileDoesNotHoldIsNeverSent) {
    download("unit.par");
    const QList<QByteArray> sound = file_bytes(dir.filePath("unit.par")).split(',');
    ASSERT_EQ(sound.size(), PAR_FIELDS + 1);
    const auto write = [&](const QString& name, const std::map<int, QByteArray>& changes,
                           int fields = PAR_FIELDS) {
        QList<QByteArray> f = sound.mid(0, fields);
        for (const auto& [P, text] : changes)
            f[P - 20] = text;
        testfiles::write_bytes(dir.filePath(name), f.join(',') + ',');
    };
    write("other.par", {{905, "60"}, {41, "30"}});
    write("short.par", {}, 324);
    write("damaged.par", {{105, ""}, {106, "OK"}, {108, "abc"}, {107, "0.4x"}});
    const struct {
        const char* file;
        QStringList told;
        QStringList sent;
        std::vector<int> absent;
    } table[] = {
        {"short.par", {ui_text(1412), "656"}, {}, {344, 905, 999}},
        {"damaged.par",
         {ui_text(1414) + " P105 = \"\", P106 = \"OK\",",
          ui_text(2272) + " P107 = \"0.4x\", P108 = \"abc\""},
         {"/p107:0.4"},
         {105, 106, 108}},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.file);
        ASSERT_TRUE(openparamfile(dir.filePath("other.par"), true));
        dialogs.prompts.clear();
        ASSERT_TRUE(openparamfile(dir.filePath(row.file), true));
        ASSERT_EQ(dialogs.messages().size(), 1);
        for (const QString& t : row.told)
            EXPECT_TRUE(dialogs.messages()[0].contains(t)) << dialogs.messages()[0].toStdString();
        const QList<QByteArray> saved = save("again.par").split(',');
        for (int P : row.absent)
            EXPECT_EQ(fields(box(P), rec(P).present, saved[P - 20]), fields("", false, "NO"))
                << "P" << P << " took a value the file does not hold";
        upload_confirmed();
        EXPECT_EQ(sent_matching(received(), "/p").filter(":"), row.sent);
    }
}
