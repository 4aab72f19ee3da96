#include "platform/dialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QGuiApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace platform {
namespace {
DialogService*& installed() {
    static DialogService* s = nullptr;
    return s;
}
QString& title_text() {
    static QString t;
    return t;
}
QString title_or_default(const QString& title) {
    return title.isEmpty() ? application_title() : title;
}
QWidget* parent_window() { return QApplication::activeWindow(); }
} // namespace

DialogService& dialogs() {
    static QtDialogs qt;
    return installed() ? *installed() : qt;
}

void set_dialogs(DialogService* service) { installed() = service; }

QString application_title() {
    if (!title_text().isEmpty())
        return title_text();
    return QGuiApplication::applicationDisplayName();
}

void set_application_title(const QString& title) {
    title_text() = title;
    if (QCoreApplication::instance())
        QGuiApplication::setApplicationDisplayName(title);
}

Answer QtDialogs::message_box(const QString& prompt, int style, const QString& title) {
    QMessageBox box(parent_window());
    box.setWindowTitle(title_or_default(title));
    box.setText(prompt);
    switch (style & 0x70) {
    case mb::Critical: box.setIcon(QMessageBox::Critical); break;
    case mb::Question: box.setIcon(QMessageBox::Question); break;
    case mb::Exclamation: box.setIcon(QMessageBox::Warning); break;
    case mb::Information: box.setIcon(QMessageBox::Information); break;
    default: box.setIcon(QMessageBox::NoIcon); break;
    }
    std::vector<std::pair<QMessageBox::StandardButton, Answer>> buttons;
    switch (style & 0x7) {
    case mb::OkCancel: buttons = {{QMessageBox::Ok, Answer::Ok}, {QMessageBox::Cancel, Answer::Cancel}}; break;
    case mb::AbortRetryIgnore:
        buttons = {{QMessageBox::Abort, Answer::Abort}, {QMessageBox::Retry, Answer::Retry},
                   {QMessageBox::Ignore, Answer::Ignore}};
        break;
    case mb::YesNoCancel:
        buttons = {{QMessageBox::Yes, Answer::Yes}, {QMessageBox::No, Answer::No},
                   {QMessageBox::Cancel, Answer::Cancel}};
        break;
    case mb::YesNo: buttons = {{QMessageBox::Yes, Answer::Yes}, {QMessageBox::No, Answer::No}}; break;
    case mb::RetryCancel: buttons = {{QMessageBox::Retry, Answer::Retry}, {QMessageBox::Cancel, Answer::Cancel}}; break;
    default: buttons = {{QMessageBox::Ok, Answer::Ok}}; break;
    }
    for (auto& [b, a] : buttons)
        box.addButton(b);
    const int def = (style & mb::DefaultButton3) ? 2 : (style & mb::DefaultButton2) ? 1 : 0;
    if (def < static_cast<int>(buttons.size()))
        box.setDefaultButton(buttons[def].first);
    if (style & mb::SystemModal)
        box.setWindowModality(Qt::ApplicationModal);
    const auto pressed = static_cast<QMessageBox::StandardButton>(box.exec());
    for (auto& [b, a] : buttons)
        if (b == pressed)
            return a;
    // Closed with Escape or the window's close box: the cancelling answer of that set.
    for (auto& [b, a] : buttons)
        if (a == Answer::Cancel || a == Answer::No)
            return a;
    return buttons.front().second;
}

std::optional<QString> QtDialogs::input_box(const QString& prompt, const QString& title,
                                            const QString& default_text) {
    bool ok = false;
    QString s = QInputDialog::getText(parent_window(), title_or_default(title), prompt,
                                      QLineEdit::Normal, default_text, &ok);
    if (!ok)
        return std::nullopt;
    return s;
}

static QString start_path(const FileDialogRequest& r) {
    if (r.file_name.isEmpty())
        return r.folder;
    if (r.folder.isEmpty() || r.file_name.startsWith(QLatin1Char('/')))
        return r.file_name;
    return r.folder + QLatin1Char('/') + r.file_name;
}

QString QtDialogs::open_file(const FileDialogRequest& r) {
    return QFileDialog::getOpenFileName(parent_window(), r.title, start_path(r), r.filter);
}

QString QtDialogs::save_file(const FileDialogRequest& r) {
    return QFileDialog::getSaveFileName(parent_window(), r.title, start_path(r), r.filter);
}

std::optional<QColor> QtDialogs::choose_colour(const QColor& initial) {
    QColor c = QColorDialog::getColor(initial, parent_window());
    if (!c.isValid())
        return std::nullopt;
    return c;
}

Answer ScriptedDialogs::message_box(const QString& prompt, int style, const QString& title) {
    prompts.push_back({Kind::Message, prompt, title_or_default(title), style, {}});
    if (!answers.empty()) {
        Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    const int buttons = style & 0x7;
    return (buttons == mb::YesNo || buttons == mb::YesNoCancel) ? Answer::Yes : Answer::Ok;
}

std::optional<QString> ScriptedDialogs::input_box(const QString& prompt, const QString& title,
                                                  const QString&) {
    prompts.push_back({Kind::Input, prompt, title_or_default(title), 0, {}});
    if (inputs.empty())
        return std::nullopt;
    auto v = inputs.front();
    inputs.pop_front();
    return v;
}

QString ScriptedDialogs::open_file(const FileDialogRequest& r) {
    prompts.push_back({Kind::OpenFile, r.title, {}, 0, r.folder});
    if (files.empty())
        return {};
    QString f = files.front();
    files.pop_front();
    return f;
}

QString ScriptedDialogs::save_file(const FileDialogRequest& r) {
    prompts.push_back({Kind::SaveFile, r.title, {}, 0, r.folder});
    if (files.empty())
        return {};
    QString f = files.front();
    files.pop_front();
    return f;
}

std::optional<QColor> ScriptedDialogs::choose_colour(const QColor&) {
    prompts.push_back({Kind::Colour, {}, {}, 0, {}});
    if (colours.empty())
        return std::nullopt;
    auto c = colours.front();
    colours.pop_front();
    return c;
}

QStringList ScriptedDialogs::messages() const {
    QStringList out;
    for (const auto& p : prompts)
        if (p.kind == Kind::Message)
            out << p.text;
    return out;
}

} // namespace platform
