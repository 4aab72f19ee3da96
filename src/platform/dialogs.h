#pragma once
// Message boxes and the common dialogs. Code asks through dialogs(); the program installs the Qt
// implementation, tests a ScriptedDialogs that answers from a queue and records every prompt.

#include "platform/clock.h"

#include <QColor>
#include <QString>
#include <QStringList>
#include <deque>
#include <optional>
#include <variant>
#include <vector>

class QLineEdit;
class QMessageBox;
class QWidget;

namespace platform {

// Message box style: buttons + icon + default button + modality, added together.
namespace mb {
enum : int {
    Ok = 0,
    OkCancel = 1,
    AbortRetryIgnore = 2,
    YesNoCancel = 3,
    YesNo = 4,
    RetryCancel = 5,
    Critical = 16,
    Question = 32,
    Exclamation = 48,
    Information = 64,
    DefaultButton2 = 256,
    DefaultButton3 = 512,
    SystemModal = 4096,
};
} // namespace mb

// The button the user pressed.
enum class Answer { Ok = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };

struct FileDialogRequest {
    QString title;
    QString folder;    // start folder
    QString file_name; // proposed name
    // Qt filter text ("Log files (*.vlg);;All files (*)") or the original's form
    // ("Log File (*.vlg)|*.vlg|All Files (*.*)|*.*").
    QString filter;
    int filter_index = 1; // the filter selected at first, counted from 1
};

// A filter in the original's "description|patterns|..." form as Qt's "description (patterns);;..."
// form; Qt's form is returned unchanged. "*.*" becomes "*" so that files without a dot show too.
QString qt_file_filter(const QString &filter);

// The extension a name typed without one takes in the save dialog: the first pattern's, when it
// is a plain "*.ext" ("Log File (*.vlg)" -> "vlg"); empty for "*", "*.*" and the like.
QString filter_suffix(const QString &qt_filter_entry);

class DialogService {
public:
    virtual ~DialogService() = default;
    // An empty title gives the application title.
    virtual Answer message_box(const QString &prompt, int style = mb::Ok,
                               const QString &title = {}) = 0;
    // nullopt when cancelled.
    virtual std::optional<QString> input_box(const QString &prompt, const QString &title = {},
                                             const QString &default_text = {}) = 0;
    // Empty when cancelled.
    virtual QString open_file(const FileDialogRequest &request) = 0;
    virtual QString save_file(const FileDialogRequest &request) = 0;
    virtual std::optional<QColor> choose_colour(const QColor &initial) = 0;

    // The filter the user had selected when the last file dialog closed, counted from 1 (the
    // original's FilterIndex): a save as "Text Format (*.txt)" writes plain text.
    int last_filter_index() const { return last_filter_index_; }

protected:
    int last_filter_index_ = 1;
};

DialogService &dialogs();
// Installs `service` (not owned); nullptr goes back to the Qt dialogs.
void set_dialogs(DialogService *service);

// The title message boxes carry when none is given.
QString application_title();
void set_application_title(const QString &title);

// The answer of the button that pressing Enter chooses in a message box of `style`.
Answer default_answer(int style);

// Shorthand for dialogs().message_box.
// Once the program is ending nobody is asked anything: the answer is Cancel. While a box the user
// is leaving is judged (box_leaving.h), a message that only informs is told once the event that
// was leaving the box has finished, and the answer is OK.
Answer msg_box(const QString& prompt, int style = mb::Ok, const QString& title = {});

// After a message that refused what the user typed into `box`: the user is back in the box with
// its text selected, so that what they type next replaces it, on its page again when a tab had
// hidden it. (The Tab that left the box has moved the focus on by then; without this the next
// keys would land in the next box.) While refusals are still to be told, after them.
void return_to_box(QLineEdit *box);

// Sets up `box` as the message box of `prompt` in `style` (its buttons, default button, icon and
// modality) with `title`, or the application title. The prompt is shown as plain text, exactly
// as it stands: a message may quote what the user typed, a file held or the unit answered, and
// "<h1>12,5" or "<p dir=rtl>" in it must show as those characters, never as a heading or a page
// laid out right to left.
void prepare_message_box(QMessageBox &box, const QString &prompt, int style,
                         const QString &title);

// The real dialogs. On a display nobody can answer (the offscreen and minimal platforms of the
// tests) they show nothing: a message box answers its default button, the rest cancel, and a
// warning names the prompt, so a test that forgot to script a dialog fails instead of hanging.
class QtDialogs : public DialogService {
public:
    Answer message_box(const QString &prompt, int style, const QString &title) override;
    std::optional<QString> input_box(const QString &prompt, const QString &title,
                                     const QString &default_text) override;
    QString open_file(const FileDialogRequest &request) override;
    QString save_file(const FileDialogRequest &request) override;
    std::optional<QColor> choose_colour(const QColor &initial) override;
};

// The test stand-in. Each call records a Prompt and takes the next queued answer of its kind;
// with none queued, a message box answers its default button (as pressing Enter would: the first
// button, or the one mb::DefaultButton2/3 names), the rest cancel. A chosen file sets
// last_filter_index() to the first filter that matches its name, else the request's index.
class ScriptedDialogs : public DialogService {
public:
    enum class Kind { Message, Input, OpenFile, SaveFile, Colour };
    struct Prompt {
        Kind kind;
        QString text;  // the prompt, the file dialog's title, or the colour dialog's first colour
        QString title; // the message box title as shown (application title when none was given)
        int style = 0;
        QString folder;    // file dialogs: the start folder
        QString filter;    // file dialogs: the filter as Qt shows it
        QString file_name; // file dialogs: the proposed name; input box: the default text
    };

    std::vector<Prompt> prompts;
    std::deque<Answer> answers;
    std::deque<std::optional<QString>> inputs;
    std::deque<QString> files;
    std::deque<std::optional<QColor>> colours;

    Answer message_box(const QString &prompt, int style, const QString &title) override;
    std::optional<QString> input_box(const QString &prompt, const QString &title,
                                     const QString &default_text) override;
    QString open_file(const FileDialogRequest &request) override;
    QString save_file(const FileDialogRequest &request) override;
    std::optional<QColor> choose_colour(const QColor &initial) override;

    // The texts of the message boxes shown so far.
    QStringList messages() const;

private:
    QString next_file(Kind kind, const FileDialogRequest &request);
};

// Installs a ScriptedDialogs for the lifetime of the object (tests); the service before it comes
// back afterwards.
class ScopedScriptedDialogs : public ScriptedDialogs {
public:
    ScopedScriptedDialogs() : previous_(&dialogs()) { set_dialogs(this); }
    ~ScopedScriptedDialogs() override { set_dialogs(previous_); }
    ScopedScriptedDialogs(const ScopedScriptedDialogs &) = delete;
    ScopedScriptedDialogs &operator=(const ScopedScriptedDialogs &) = delete;

private:
    DialogService *previous_;
};

} // namespace platform
