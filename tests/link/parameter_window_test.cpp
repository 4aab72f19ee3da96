// The one-parameter window driven through its keys against the simulated unit: log-on by level,
// reads and writes with their checks, the two default commands, and failures that must never
// read as success.
#include "simulated_unit.h"

#include "link/interactive_rules.h"
#include "link/parameter_window.h"
#include "platform/vb.h"
#include "shell/definitions_table.h"

#include <QApplication>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <tuple>

namespace {

namespace ia = interactive;

class InteractiveWindowTest : public SimulatedUnitTest {
protected:
    void SetUp() override {
        SimulatedUnitTest::SetUp();
        shell().login_passcode = "318406";
        shell().access_level = 1;
        shell().decimal_separator = ".";
        shell().thousands_separator = ",";
        platform::number_separators() = {".", ","};
    }
    void TearDown() override {
        parameter_window().Form_Unload();
        platform::number_separators() = {};
        SimulatedUnitTest::TearDown();
    }

    ParameterWindow& logged_on() {
        ParameterWindow& w = parameter_window();
        w.Command1->click();
        EXPECT_TRUE(link().interactive_logged_on) << "the log-on failed";
        return w;
    }
    QString status() { return parameter_window().Label1->text(); }
    // The status texts as the window shows them (the language file's, else its own English).
    static QString read_ok() { return ui_text(1192, "Parameter read"); }
    static QString not_available() { return ui_text(1193, "Parameter not available"); }
    static QString not_accepted() { return ui_text(1196, "Parameter not accepted"); }
    static QString not_verified() { return ui_text(2361, "Sent - not verified (answer: %1)"); }
};

TEST(InteractiveRules, TypedValuesReachTheUnitWithAPointAndPaddedWhereTheUnitWantsIt) {
    // As the definitions file names them: a choice, and numbers kept at three and one decimals.
    const DefinitionsTable saved = definitions_table();
    for (const auto& [n, code, decimals] :
         {std::tuple{101, "C_LUK14", 0}, {107, "C_NUM", 3}, {108, "C_NUM", 1}}) {
        DefinitionRecord& r = definitions_table()[n];
        std::tie(r.number, r.lookup_code, r.decimals) = std::tuple(n, code, decimals);
    }
    // clang-format off
    const struct { int n; const char *typed, *locale, *sent; }
    cases[] = {{104, "1.500,25", "de_DE", "1500.25"}, {996, "12", "en_GB", "0012"},
               {997, " 1234 ", "en_GB", "1234"},      {104, " 2 ", "en_GB", "2"},
               {107, "1\u202F234,5", "fr_FR", "1234.5"}, {107, "\u22125", "sv_SE", "-5"},
               {107, "0,35", "de_CH", nullptr},       {107, "1 234,5", "de_DE", nullptr},
               // A clock time goes as whole digits: a fraction would go rounded.
               {996, "12,5", "de_DE", nullptr},       {971, "12.5", "en_GB", nullptr},
               {996, "1.230", "de_DE", "1230"},       {972, "2200,0", "de_DE", "2200"},
               // At the parameter's decimals, as the unit keeps it; a choice only as a code.
               {107, "0,12345", "de_DE", "0.123"},    {108, "20.55", "en_GB", "20.6"},
               {101, "2,5", "de_DE", nullptr},        {101, "3", "de_DE", "3"},
               {107, "12\u200F.345", "en_US", nullptr}, // shown as 345.12
               // Sent as kept, or not at all: never as 0, nor as "inf".
               {107, "1,7976931348623157E308", "de_DE", nullptr}, {107, "1E-400", "de_DE", nullptr},
               {107, "1,79769313486231E308", "de_DE", "1.79769313486231E+308"},
               {107, "-1E308", "de_DE", "-1E+308"}, {107, "9,99995E4", "de_DE", "99999.5"},
               {108, "9,999995E4", "de_DE", "100000"}, {108, "999999999999999,9", "de_DE", "1E+15"}};
    // clang-format on
    for (const auto& c : cases) {
        const QLocale l(c.locale);
        platform::number_separators() = {l.decimalPoint(), l.groupSeparator(), c.locale};
        EXPECT_EQ(ia::value_for_unit(c.n, QString::fromUtf8(c.typed)),
                  c.sent ? std::optional<QString>(c.sent) : std::nullopt)
            << c.typed << " in " << c.locale;
    }
    platform::number_separators() = {};
    definitions_table() = saved;
}

TEST(InteractiveRules, NumbersOutsideTheParametersAreNeverUsed) {
    for (const char* typed : {"20", "999", " 104 "})
        EXPECT_TRUE(ia::in_range(ia::typed_number(typed))) << typed;
    // A number is read as every typed number: text after it, or a fraction, names no parameter.
    for (const char* typed : {"", "19", "1000", "1e300", "-20", "104abc", "72.5", "72,5"})
        EXPECT_FALSE(ia::in_range(ia::typed_number(typed))) << typed;
    EXPECT_FALSE(ia::write_refused(20, false)) << "P20 is written even when the unit lacks it";
    EXPECT_TRUE(ia::write_refused(104, false));
    EXPECT_FALSE(ia::write_refused(104, true));
}

TEST_F(InteractiveWindowTest, OpensLoggedOffAndLogOnEnablesTheKeysByAccessLevel) {
    ParameterWindow& opened = parameter_window();
    for (QWidget* c :
         std::initializer_list<QWidget*>{opened.Text1, opened.Text2, opened.Command2,
                                         opened.Command3, opened.Command5, opened.Command6})
        EXPECT_FALSE(c->isEnabled()) << c->objectName().toStdString();
    EXPECT_TRUE(opened.Command1->isEnabled());
    // clang-format off
    const struct { int level; QString word; bool hard_default; } cases[] = {{1, " GOLDCARD", true},
                 {2, " " + ui_text(1266, "Engineer"), true},
                 {3, " " + ui_text(1378, "User"), false}};
    // clang-format on
    for (const auto& c : cases) {
        parameter_window().Form_Unload();
        shell().access_level = static_cast<int16_t>(c.level);
        ParameterWindow& w = logged_on();
        EXPECT_EQ(status(), ui_text(1197, "Logged on - access level:") + c.word);
        EXPECT_EQ(fields(w.Command5->isEnabled(), w.Command6->isEnabled(), w.Command2->isEnabled()),
                  fields(c.hard_default, true, true))
            << "level " << c.level;
    }
}

TEST_F(InteractiveWindowTest, ASecondPressLogsOffAndARefusedLogOffLogsOnAgain) {
    ParameterWindow& w = logged_on();
    w.Command1->click();
    EXPECT_FALSE(link().interactive_logged_on);
    EXPECT_EQ(status(), ui_text(1203, "Logged off"));
    EXPECT_TRUE(w.Command2->isEnabled()) << "logging off leaves the keys as they are";
    w.Command1->click();
    sim->clear_received();
    sim->misbehave_on("/access:off", unitsim::Misbehaviour::refusal(), 1);
    w.Command1->click();
    EXPECT_EQ(received(), QStringList({"/access:off", "/access:318406"}));
    EXPECT_TRUE(link().interactive_logged_on);
}

TEST_F(InteractiveWindowTest, AWrongPasscodeIsToldInACriticalBox) {
    shell().login_passcode = "111111";
    ParameterWindow& w = parameter_window();
    w.Command1->click();
    ASSERT_EQ(dialogs.prompts.size(), 1u);
    EXPECT_EQ(fields(dialogs.prompts[0].text, dialogs.prompts[0].style,
                     link().interactive_logged_on, status()),
              fields("     " + ui_text(1271, "Access denied.") + "      ", platform::mb::Critical,
                     false, ""));
}

TEST_F(InteractiveWindowTest, ReadShowsTheValueOrSaysNotAvailable) {
    ParameterWindow& w = logged_on();
    sim->unit().set_text(928, "NORTH TANK"); // the unit's "NO" only as the whole text
    // clang-format off
    const struct { const char* typed; bool sent; QString value; QString status; }
    cases[] = {{"104", true, sim->unit().read_text(104), read_ok()},
               {"19", false, "", not_available()},
               {"998", true, "", not_available()},
               {"928", true, "NORTH TANK", read_ok()}};
    // clang-format on
    for (const auto& c : cases) {
        sim->clear_received();
        w.Text1->setText(c.typed);
        w.Text2->setText("old");
        w.Command2->click();
        EXPECT_EQ(received().size(), c.sent ? 1 : 0) << c.typed;
        EXPECT_EQ(w.Text2->text(), c.value) << c.typed;
        EXPECT_EQ(status(), c.status) << c.typed;
    }
}

TEST_F(InteractiveWindowTest, SendWritesReadsBackAndRefusesWhatTheUnitLacks) {
    ParameterWindow& w = logged_on();
    sim->clear_received();
    w.Text1->setText("932");
    w.Text2->setText("7");
    w.Command3->click();
    EXPECT_EQ(received(), QStringList({"/p932", "/p932:0007", "/p932"}));

    sim->clear_received();
    sim->unit().set_present(104, true);
    w.Text1->setText("20");
    sim->misbehave_on("/p20", unitsim::Misbehaviour::refusal(), 1);
    w.Text2->setText("3");
    w.Command3->click();
    EXPECT_EQ(received(), QStringList({"/p20", "/p20:3"})) << "P20 is written blind, not read back";

    // A number outside the window's range is asked first, then refused; a number beyond the
    // definitions table marks nothing in it.
    for (const char* typed : {"10", "1000", "1600"}) {
        sim->clear_received();
        w.Text1->setText(typed);
        w.Command3->click();
        EXPECT_EQ(received(), QStringList({QString("/p") + typed})) << typed;
        EXPECT_EQ(status(), not_accepted()) << typed;
    }

    sim->clear_received();
    w.Text1->setText("998");
    w.Command3->click();
    EXPECT_EQ(fields(received().join(' '), definitions_table()[998].present, status()),
              fields("/p998", false, not_accepted()));

    // A value in the other notation would reach the unit as another number ("0,35" as 035):
    // it is refused once and nothing goes out; the locale's own grouping is still taken.
    w.Text1->setText("107");
    for (const auto& [typed, sent] : {std::pair{"0,35", ""}, {"1,234.5", "/p107:1234.5"}}) {
        sim->clear_received();
        dialogs.prompts.clear();
        w.Text2->setText(typed);
        w.Command3->click();
        EXPECT_EQ(fields(received().filter(":").join(' '), dialogs.prompts.size()),
                  fields(QString(sent), size_t(*sent ? 0 : 1)))
            << typed;
    }
    // The value the unit took, typed as the window shows it, is what a later refusal puts back.
    for (const char* typed : {"8", "0,35"}) {
        w.Text2->selectAll();
        w.Text2->insert(typed);
        w.Command3->click();
    }
    EXPECT_EQ(w.Text2->text(), "8") << "a refusal put back an older value than the one sent";
    for (const char* typed : {"106", "10,6"}) {
        w.Text1->selectAll();
        w.Text1->insert(typed);
        w.Command2->click();
    }
    EXPECT_EQ(w.Text1->text(), "106") << "a refusal put back an older number than the one read";

    // In Swiss and German settings the unit gets the number typed, as it reads numbers, or
    // nothing; a refused value gives way to what the box showed, and the status line says so.
    // clang-format off
    const struct { const char *locale, *typed, *sent; } cases[] = {
        {"de-CH", "1’234.5", "/p72:1234.5"}, {"de-CH", "0,35", ""}, {"de-CH", "1'234.5", ""},
        {"de-DE", "1.234,5", "/p72:1234.5"},       {"de-DE", "0.35", ""}, {"de-DE", "1 234,5", ""},
        {"de-DE", "", ""}};
    // clang-format on
    w.Text1->setText("72"); // damping, 0 to 9999.9
    for (const auto& c : cases) {
        const QLocale l(c.locale);
        platform::number_separators() = {l.decimalPoint(), l.groupSeparator(), c.locale};
        w.Text2->setText(platform::number_text(2));
        const QString typed = QString::fromUtf8(c.typed);
        w.Text2->selectAll();
        w.Text2->insert(typed); // as typed: the window knows what the box showed before
        sim->clear_received();
        dialogs.prompts.clear();
        w.Command3->click();
        const bool sent = *c.sent;
        EXPECT_EQ(fields(received().filter(":").join(' '), dialogs.prompts.size(), w.Text2->text(),
                         status().isEmpty()),
                  fields(QString(c.sent), size_t(sent || typed.isEmpty() ? 0 : 1),
                         sent              ? platform::number_text(1234.5)
                         : typed.isEmpty() ? ""
                                           : platform::number_text(2),
                         false))
            << c.typed << " in " << c.locale << ", status " << status().toStdString();
    }
}

// The number box and the value box read as every typed number; what neither reads as the whole
// number a parameter number or a clock time is (InteractiveRules) is refused in its box with one
// message, and nothing goes to the unit.
TEST_F(InteractiveWindowTest, WhatIsNoWholeNumberOfTheLocaleIsRefusedInItsBoxAndNothingSent) {
    ParameterWindow& w = logged_on();
    platform::number_separators() = {".", ",", "en_GB"};
    // clang-format off
    const struct { const char *number, *value; bool value_refused; } cases[] = {
        {"72.5", "1", false}, {"996", "12.5", true}};
    // clang-format on
    for (const auto& c : cases) {
        for (QPushButton* key : {w.Command2, w.Command3}) {
            if (key == w.Command2 && c.value_refused)
                continue; // Read takes no value
            w.Text1->setText("104");
            w.Text2->setText("2");
            QLineEdit* box = c.value_refused ? w.Text2 : w.Text1;
            box->selectAll();
            box->insert(c.value_refused ? c.value : c.number); // as typed
            if (c.value_refused)
                w.Text1->setText(c.number);
            sim->clear_received();
            dialogs.prompts.clear();
            key->click();
            EXPECT_EQ(fields(received().join(' '), dialogs.messages().size(), box->text()),
                      fields("", 1, c.value_refused ? "2" : "104"))
                << c.number << " / " << c.value << " went to the unit as another number";
        }
    }
}

// A read-back without a number says nothing of what the unit holds: the box keeps the value sent
// and the status line names what came; Read shows it as it came. A read-back of another number
// than the one sent is shown, and no verification either.
TEST_F(InteractiveWindowTest, AReadBackWithoutANumberIsNeverAVerification) {
    ParameterWindow& w = logged_on();
    w.Text1->setText("107");
    const struct {
        const char* answer; // to both reads of the send; none: the unit's own
        QString status;
        double sent = 0.3;
    } cases[] = {{"OK", not_verified().arg("OK")},
                 {"inf", not_verified().arg("inf")},
                 {"<h1>OK", not_verified().arg("<h1>OK")}, // shown as it came, not as a heading
                 {"BUSY - TRY LATER", not_verified().arg("BUSY - TRY")},
                 {"0.3", ui_text(2356, "Sent - not verified (the unit holds %1)").arg("0.3"), 0.35},
                 {nullptr, ui_text(1195, "Parameter sent and verified")}};
    for (const auto& c : cases) {
        sim->unit().set_value(107, 350);
        unitsim::Misbehaviour m;
        m.replace = QByteArray(c.answer) + "\r\n";
        if (c.answer)
            sim->misbehave_on("/p107", m, 2);
        w.Text2->setText(platform::number_text(c.sent));
        w.Command3->click();
        EXPECT_EQ(fields(w.Text2->text(), status(), sim->unit().value(107).value_or(-1),
                         w.Label1->textFormat()),
                  fields(platform::number_text(0.3), c.status, c.sent * 1000, Qt::PlainText))
            << "after the answer " << (c.answer ? c.answer : "0.3");
    }
    // The largest number a double holds, read back after 0 was sent, is no verification of 0
    // kept at P107's three decimals.
    const DefinitionsTable saved = definitions_table();
    DefinitionRecord& r107 = definitions_table()[107];
    std::tie(r107.number, r107.lookup_code, r107.decimals) = std::tuple(107, "C_NUM", 3);
    unitsim::Misbehaviour largest;
    largest.replace = QByteArray("1.7976931348623157e308\r\n");
    sim->misbehave_on("/p107", largest, 2);
    w.Text2->setText("0");
    w.Command3->click();
    EXPECT_EQ(status(), ui_text(2356, "Sent - not verified (the unit holds %1)")
                            .arg(platform::number_text(1.7976931348623157e308)));
    definitions_table() = saved;
    unitsim::Misbehaviour ok;
    ok.replace = QByteArray("OK\r\n");
    sim->misbehave_on("/p107", ok, 1);
    w.Command2->click();
    EXPECT_EQ(fields(w.Text2->text(), status()), fields("OK", read_ok()));

    // However long a status (a translation, an answer), the keys stay under the pointer.
    w.show();
    const QRect send = w.Command3->geometry();
    w.Label1->setText(QString(120, QLatin1Char('W')));
    w.layout()->activate();
    EXPECT_EQ(w.Command3->geometry(), send) << "a long status line moved the keys";
    w.hide();
}

// Whatever refused the number or the value (the window's range, an empty value, the notation,
// the unit's "NO"), the user is back in that box with its text selected for the correction.
TEST_F(InteractiveWindowTest, ARefusalPutsTheUserBackIntoTheBoxItRefused) {
    ParameterWindow& w = logged_on();
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    // clang-format off
    const struct { const char *what, *number, *value; QLineEdit* refused; QPushButton* key; }
    cases[] = {{"a number below the parameters", "10", "", w.Text1, w.Command2},
               {"a number the unit lacks", "998", "5", w.Text1, w.Command3},
               {"a number the unit lacks, read", "998", "", w.Text1, w.Command2},
               {"an empty value", "72", "", w.Text2, w.Command3},
               {"a value in another notation", "72", "0,35", w.Text2, w.Command3},
               {"a value the unit refused", "72", "5", w.Text2, w.Command3}};
    // clang-format on
    for (const auto& c : cases) {
        if (c.refused == w.Text2 && QLatin1String(c.value) == QLatin1String("5"))
            sim->misbehave_on("/p72:5", unitsim::Misbehaviour::refusal(), 1);
        w.Text1->setText(QLatin1String(c.number));
        w.Text2->setText(QLatin1String(c.value));
        c.key->setFocus();
        c.key->click();
        QApplication::processEvents();
        EXPECT_EQ(fields(QApplication::focusWidget() == c.refused, c.refused->selectedText(),
                         status().isEmpty()),
                  fields(true, c.refused->text(), false))
            << c.what << ": the user is not back in the refused box with its text selected";
    }
}

// Only the unit's own "NO" refuses a value or says that it lacks a parameter: line noise that
// holds the letters is an answer that could not be read, whichever exchange it answers.
TEST_F(InteractiveWindowTest, LineNoiseHoldingNoIsNeverARefusal) {
    ParameterWindow& w = logged_on();
    const struct {
        const char* answering; // the first command the noise answers
        QPushButton* key;
    } cases[] = {{"/p72:5", w.Command3}, // the write
                 {"/p72", w.Command3},   // the read before the write
                 {"/p72", w.Command2},
                 {"/p88:1", w.Command5}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answering);
        sim->misbehave_on(c.answering, unitsim::Misbehaviour::garbage("\xfeNO\x01\r\n"), 1);
        definitions_table()[72].present = true;
        dialogs.answers = {platform::Answer::Ok};
        w.Text1->setText("72");
        w.Text2->setText("5");
        c.key->click();
        EXPECT_EQ(fields(status(), definitions_table()[72].present),
                  fields(ui_text(2042, "The unit's answer could not be read"), true));
        sim->clear_misbehaviour();
    }
}

TEST_F(InteractiveWindowTest, ASilentUnitIsAFailureNeverASuccess) {
    ParameterWindow& w = logged_on();
    sim->misbehave_next(unitsim::Misbehaviour::silence(), -1);
    // The link tells the user once per key; the window claims neither success nor a refusal.
    const QString no_reply =
        ui_text(1299, "No reply from the unit. Check the cable and the port settings.");
    w.Text1->setText("104");
    dialogs.prompts.clear();
    w.Command2->click();
    EXPECT_EQ(fields(status(), dialogs.messages().join('|')), fields(QString(), no_reply));
    w.Text2->setText("5");
    dialogs.prompts.clear();
    w.Command3->click();
    EXPECT_EQ(fields(status(), dialogs.messages().join('|')), fields(QString(), no_reply));
}

TEST_F(InteractiveWindowTest, EveryFailedLogOnIsToldOnceForWhatItIsAndLeavesTheWindowUsable) {
    using unitsim::Misbehaviour;
    const struct {
        const char* fault;
        Misbehaviour behaviour;
        QString message;
    } cases[] = {
        {"garbage", Misbehaviour::garbage(),
         ui_text(2041, "The unit's answer could not be read. Check the cable and the port "
                       "settings (baud rate).")},
        {"lone line end", Misbehaviour::lone_line_end(),
         ui_text(1299, "No reply from the unit. Check the cable and the port settings.")},
        {"refuse", Misbehaviour::refusal(), "     " + ui_text(1271, "Access denied.") + "      "},
    };
    for (const auto& c : cases) {
        parameter_window().Form_Unload();
        ParameterWindow& w = parameter_window();
        dialogs.prompts.clear();
        sim->misbehave_on("/access:*", c.behaviour);
        w.Command1->click();
        EXPECT_EQ(dialogs.messages(), QStringList({c.message})) << c.fault;
        EXPECT_FALSE(link().interactive_logged_on) << c.fault;
        EXPECT_TRUE(status().isEmpty())
            << c.fault << ": the window still says " << status().toStdString();
        EXPECT_TRUE(w.Command1->isEnabled()) << c.fault << ": Log on cannot be pressed again";
        sim->clear_misbehaviour();
        w.Command1->click();
        EXPECT_TRUE(link().interactive_logged_on) << c.fault << ": the next log-on failed";
        ASSERT_TRUE(platform::wait_until([&] { return sim->idle(); }, 300));
    }
}

TEST_F(InteractiveWindowTest, WhileTheLinkWaitsTheKeysAreHeldAndTheWaitIsShown) {
    // A unit that hears only the third send: the read after the log-on first waits for the
    // answers the log-on's first sends may still get.
    sim->misbehave_next(unitsim::Misbehaviour::third_send());
    ParameterWindow& w = logged_on();
    bool keys_held = true, shown = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (view.status_text(1).startsWith(ui_text(2040, "Waiting for the late reply to"))) {
            shown = shown || !view.status_text(2).isEmpty();
            keys_held = keys_held && !w.Command2->isEnabled() && !w.Command3->isEnabled() &&
                        !w.Command1->isEnabled() && w.Command4->isEnabled() &&
                        status() == ui_text(1202, "Communicating...");
        }
    });
    poll.start(2);
    w.Text1->setText("104");
    w.Command2->click();
    poll.stop();
    EXPECT_TRUE(shown) << "the wait for the owed answers showed no countdown";
    EXPECT_TRUE(keys_held) << "a key stayed usable, or the window said nothing, while it waited";
    EXPECT_EQ(w.Text2->text(), platform::number_text(platform::val(sim->unit().read_text(104))));
    EXPECT_EQ(status(), read_ok());
    EXPECT_TRUE(w.Command2->isEnabled() && w.Command3->isEnabled() && w.Command1->isEnabled());
    EXPECT_TRUE(dialogs.prompts.empty());
}

TEST_F(InteractiveWindowTest, DefaultKeysAskFirstAndSendOnlyOnOk) {
    ParameterWindow& w = logged_on();
    sim->clear_received();
    dialogs.answers = {platform::Answer::Cancel, platform::Answer::Ok};
    w.Command5->click();
    EXPECT_TRUE(received().isEmpty()) << "Cancel sent the hard default";
    ASSERT_EQ(dialogs.prompts.size(), 1u);
    EXPECT_EQ(dialogs.prompts[0].style,
              platform::mb::OkCancel | platform::mb::Critical | platform::mb::DefaultButton2);
    w.Command5->click();
    EXPECT_EQ(fields(received().join(' '), w.Text1->text(), w.Text2->text(), status(),
                     sim->unit().hard_defaults()),
              fields("/p88:1", "88", "1", ui_text(1201, "Command accepted"), 1));
    dialogs.answers = {platform::Answer::Ok};
    w.Command6->click();
    EXPECT_EQ(sim->unit().factory_defaults(), 1);
    EXPECT_EQ(w.Text1->text(), "930");
}

TEST_F(InteractiveWindowTest, ClosingDuringAWaitEndsItAndTheNextOpeningIsLoggedOff) {
    ParameterWindow& w = logged_on();
    sim->misbehave_next(unitsim::Misbehaviour::late(20000));
    QTimer::singleShot(20, &w, [&w] { w.Command4->click(); });
    w.Text1->setText("104");
    w.Command2->click();
    EXPECT_FALSE(w.loaded());
    EXPECT_TRUE(dialogs.prompts.empty()) << "closing the window was reported as a failure";
    EXPECT_FALSE(parameter_window().Command2->isEnabled() || link().interactive_logged_on);
    // The unit still answers the read whose wait was closed: that answer is not the log-on's.
    parameter_window().Command1->click();
    EXPECT_EQ(fields(link().interactive_logged_on, dialogs.messages().join(" | ")),
              fields(true, ""));
}

} // namespace
