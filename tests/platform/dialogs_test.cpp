#include "platform/dialogs.h"
#include "test_util.h"

#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <vector>

using namespace platform;

TEST(Dialogs, UnscriptedMessageBoxAnswersItsDefaultButton) {
    const std::pair<int, Answer> cases[] = {
        {mb::Ok | mb::DefaultButton2, Answer::Ok},
        {mb::OkCancel | mb::DefaultButton2, Answer::Cancel},
        {mb::YesNo | mb::Critical | mb::DefaultButton2 | mb::SystemModal, Answer::No},
        {mb::YesNoCancel | mb::DefaultButton3, Answer::Cancel},
        {mb::AbortRetryIgnore | mb::DefaultButton2, Answer::Retry},
    };
    ScopedScriptedDialogs script;
    for (const auto& [style, expected] : cases)
        EXPECT_EQ(msg_box("Continue?", style), expected) << "message box style " << style;
}

TEST(Dialogs, ScriptAnswersInOrderAndRecordsEveryPrompt) {
    set_application_title("QuillarnPC");
    ScopedScriptedDialogs script;
    script.answers = {Answer::No, Answer::Retry};
    script.inputs = {QString("0123"), std::nullopt};
    EXPECT_EQ(msg_box("Send all parameters?", mb::YesNo), Answer::No);
    EXPECT_EQ(msg_box("No reply", mb::RetryCancel, "Comms"), Answer::Retry);
    EXPECT_EQ(msg_box("Done"), Answer::Ok) << "with the queue empty the default button answers";
    EXPECT_EQ(dialogs().input_box("Telephone", {}, "999"), std::optional<QString>("0123"));
    EXPECT_EQ(dialogs().input_box("Telephone"), std::nullopt);
    EXPECT_EQ(dialogs().input_box("Telephone"), std::nullopt) << "an empty queue cancels";

    EXPECT_EQ(script.messages(), QStringList({"Send all parameters?", "No reply", "Done"}));
    ASSERT_EQ(script.prompts.size(), 6u);
    // A box without title shows the program's.
    EXPECT_EQ(fields(script.prompts[0].title, script.prompts[1].title,
                     script.prompts[3].kind == ScriptedDialogs::Kind::Input,
                     script.prompts[3].file_name),
              fields("QuillarnPC", "Comms", true, "999"));
    set_application_title(QString());
}

TEST(Dialogs, FileDialogsReportTheChosenFilter) {
    ScopedScriptedDialogs script;
    FileDialogRequest save;
    save.title = "Save report file";
    save.folder = "/data/reports";
    save.filter = "Rich Text Format (*.rtf)|*.rtf|Text Format (*.txt)|*.txt";
    script.files = {"/data/reports/May.TXT", "/data/reports/May.rtf", "/data/reports/May"};
    EXPECT_EQ(dialogs().save_file(save), QString("/data/reports/May.TXT"));
    EXPECT_EQ(dialogs().last_filter_index(), 2) << "a text report would be saved as RTF";
    EXPECT_EQ(dialogs().save_file(save), QString("/data/reports/May.rtf"));
    EXPECT_EQ(dialogs().last_filter_index(), 1);
    save.filter_index = 2;
    EXPECT_EQ(dialogs().save_file(save), QString("/data/reports/May"));
    EXPECT_EQ(dialogs().last_filter_index(), 2)
        << "a name without extension keeps the selected filter";
    EXPECT_EQ(dialogs().open_file(save), QString()) << "an empty queue cancels";

    ASSERT_EQ(script.prompts.size(), 4u);
    const auto& p = script.prompts;
    EXPECT_EQ(fields(p[0].kind == ScriptedDialogs::Kind::SaveFile, p[0].text, p[0].folder,
                     p[0].filter, p[3].kind == ScriptedDialogs::Kind::OpenFile),
              fields(true, "Save report file", "/data/reports",
                     "Rich Text Format (*.rtf);;Text Format (*.txt)", true));
}

TEST(Dialogs, OriginalFiltersBecomeQtFiltersAndASavedNameTakesTheChosenTypes) {
    const std::pair<const char*, const char*> filters[] = {
        {"Parameters File (*.par)|*.par|Text File (*.txt)|*.txt|All Files (*.*)|*.*",
         "Parameters File (*.par);;Text File (*.txt);;All Files (*)"},
        {"Pictures|*.bmp;*.wmf", "Pictures (*.bmp *.wmf)"},
        {"Log files (*.vlg);;All files (*)", "Log files (*.vlg);;All files (*)"},
        {"", ""},
    };
    for (const auto& [filter, expected] : filters)
        EXPECT_EQ(qt_file_filter(filter), QString(expected)) << "filter " << filter;

    // The extension a name typed without one takes from the chosen entry.
    const std::pair<const char*, const char*> suffixes[] = {{"Pictures (*.bmp *.wmf)", "bmp"},
                                                            {"All Files (*)", ""},
                                                            {"Anything (*.*)", ""},
                                                            {"Backups (*.b?k)", ""}};
    for (const auto& [entry, suffix] : suffixes)
        EXPECT_EQ(filter_suffix(entry), QString(suffix)) << "filter " << entry;
}

TEST(Dialogs, RealDialogsNeverWaitWhereNobodyCanAnswer) {
    ASSERT_EQ(QGuiApplication::platformName(), QString("offscreen"));
    QtDialogs qt;
    EXPECT_EQ(qt.message_box("Unscripted", mb::YesNo | mb::DefaultButton2, {}), Answer::No);
    EXPECT_EQ(qt.input_box("Unscripted", {}, {}), std::nullopt);
    EXPECT_EQ(qt.open_file({}), QString());
    EXPECT_EQ(qt.save_file({}), QString());
    EXPECT_EQ(qt.choose_colour(Qt::red), std::nullopt);
    {
        ScopedScriptedDialogs outer;
        {
            ScopedScriptedDialogs inner;
            EXPECT_EQ(&dialogs(), &inner);
        }
        EXPECT_EQ(&dialogs(), &outer) << "an inner script removed the outer one";
    }
    EXPECT_NE(dynamic_cast<QtDialogs*>(&dialogs()), nullptr) << "the script outlived its scope";
}

// A message quotes what the user typed, a file held or the unit answered: markup in it shows as
// the characters it is made of, never as a heading or a page laid out right to left.
TEST(Dialogs, AMessageBoxShowsItsTextAsItStands) {
    const char* prompts[] = {"<h1>12,5", "P107: \"<p dir=rtl>12,5\" is not a number",
                             "<b>bold</b>\r\nsecond line", "&lt;tag&gt; and <a href=x>link</a>"};
    for (const char* prompt : prompts) {
        QMessageBox box;
        prepare_message_box(box, prompt, mb::Critical, {});
        const auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(fields(box.textFormat(), label->textFormat(), label->text()),
                  fields(Qt::PlainText, Qt::PlainText, QString(prompt).replace("\r\n", "\n")))
            << prompt;
    }
}
