#pragma once
// Message boxes and the common dialogs. Code asks through dialogs(); the program installs the Qt
// implementation, tests a ScriptedDialogs that answers from a queue and records every prompt.

#include <QColor>
#include <QString>
#include <QStringList>
#include <deque>
#include <optional>
#include <variant>
#include <vector>

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
    QString filter;    // Qt filter text, e.g. "Log files (*.vlg);;All files (*)"
};

class DialogService {
public:
    virtual ~DialogService() = default;
    // An empty title gives the application title.
    virtual Answer message_box(const QString& prompt, int style = mb::Ok,
                               const QString& title = {}) = 0;
    // nullopt when cancelled.
    virtual std::optional<QString> input_box(const QString& prompt, const QString& title = {},
                                             const QString& default_text = {}) = 0;
    // Empty when cancelled.
    virtual QString open_file(const FileDialogRequest& request) = 0;
    virtual QString save_file(const FileDialogRequest& request) = 0;
    virtual std::optional<QColor> choose_colour(const QColor& initial) = 0;
};

DialogService& dialogs();
// Installs `service` (not owned); nullptr goes back to the Qt dialogs.
void set_dialogs(DialogService* service);

// The title message boxes carry when none is given.
QString application_title();
void set_application_title(const QString& title);

// Shorthand for dialogs().message_box.
inline Answer msg_box(const QString& prompt, int style = mb::Ok, const QString& title = {}) {
    return dialogs().message_box(prompt, style, title);
}

class QtDialogs : public DialogService {
public:
    Answer message_box(const QString& prompt, int style, const QString& title) override;
    std::optional<QString> input_box(const QString& prompt, const QString& title,
                                     const QString& default_text) override;
    QString open_file(const FileDialogRequest& request) override;
    QString save_file(const FileDialogRequest& request) override;
    std::optional<QColor> choose_colour(const QColor& initial) override;
};

// The test stand-in. Each call records a Prompt and takes the next queued answer of its kind;
// with none queued, a message box answers Ok (or Yes for Yes/No styles), the rest cancel.
class ScriptedDialogs : public DialogService {
public:
    enum class Kind { Message, Input, OpenFile, SaveFile, Colour };
    struct Prompt {
        Kind kind;
        QString text;  // the prompt, or the file dialog's title
        QString title; // the message box title as shown (application title when none was given)
        int style = 0;
        QString folder;
    };

    std::vector<Prompt> prompts;
    std::deque<Answer> answers;
    std::deque<std::optional<QString>> inputs;
    std::deque<QString> files;
    std::deque<std::optional<QColor>> colours;

    Answer message_box(const QString& prompt, int style, const QString& title) override;
    std::optional<QString> input_box(const QString& prompt, const QString& title,
                                     const QString& default_text) override;
    QString open_file(const FileDialogRequest& request) override;
    QString save_file(const FileDialogRequest& request) override;
    std::optional<QColor> choose_colour(const QColor& initial) override;

    // The texts of the message boxes shown so far.
    QStringList messages() const;
};

// Installs a ScriptedDialogs for the lifetime of the object (tests).
class ScopedScriptedDialogs : public ScriptedDialogs {
public:
    ScopedScriptedDialogs() { set_dialogs(this); }
    ~ScopedScriptedDialogs() override { set_dialogs(nullptr); }
};

} // namespace platform
