#include "platform/dialogs.h"

#include "platform/box_leaving.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTimer>
#include <utility>

namespace platform {
namespace {

DialogService *&installed() {
    static DialogService *s = nullptr;
    return s;
}

QString &title_text() {
    static QString t;
    return t;
}

QString title_or_default(const QString &title) {
    return title.isEmpty() ? application_title() : title;
}

QWidget *parent_window() {
    return QApplication::activeWindow();
}

// Nobody can press a button on these platforms; a modal dialog there would wait for ever.
bool unattended() {
    const QString p = QGuiApplication::platformName();
    return p == QLatin1String("offscreen") || p == QLatin1String("minimal");
}

void warn_unattended(const char *what, const QString &text) {
    qWarning("platform: unscripted %s on a display nobody can answer: %s", what,
             qUtf8Printable(text));
}

using ButtonSet = std::vector<std::pair<QMessageBox::StandardButton, Answer>>;

ButtonSet buttons_of(int style) {
    switch (style & 0x7) {
    case mb::OkCancel:
        return {{QMessageBox::Ok, Answer::Ok}, {QMessageBox::Cancel, Answer::Cancel}};
    case mb::AbortRetryIgnore:
        return {{QMessageBox::Abort, Answer::Abort},
                {QMessageBox::Retry, Answer::Retry},
                {QMessageBox::Ignore, Answer::Ignore}};
    case mb::YesNoCancel:
        return {{QMessageBox::Yes, Answer::Yes},
                {QMessageBox::No, Answer::No},
                {QMessageBox::Cancel, Answer::Cancel}};
    case mb::YesNo:
        return {{QMessageBox::Yes, Answer::Yes}, {QMessageBox::No, Answer::No}};
    case mb::RetryCancel:
        return {{QMessageBox::Retry, Answer::Retry}, {QMessageBox::Cancel, Answer::Cancel}};
    default:
        return {{QMessageBox::Ok, Answer::Ok}};
    }
}

size_t default_button_index(int style, size_t count) {
    const size_t i = (style & 0x300) == mb::DefaultButton3   ? 2
                     : (style & 0x300) == mb::DefaultButton2 ? 1
                                                             : 0;
    return i < count ? i : 0;
}

// The patterns of each filter of a Qt filter text, in order.
std::vector<QStringList> filter_patterns(const QString &qt_filter) {
    std::vector<QStringList> out;
    static const QRegularExpression in_brackets(QStringLiteral("\\(([^()]*)\\)\\s*$"));
    for (const QString &f : qt_filter.split(QStringLiteral(";;"), Qt::SkipEmptyParts)) {
        const auto m = in_brackets.match(f);
        const QString patterns = m.hasMatch() ? m.captured(1) : f;
        out.push_back(
            patterns.split(QRegularExpression(QStringLiteral("[\\s;]+")), Qt::SkipEmptyParts));
    }
    return out;
}

int filter_index_of(const QString &file, const FileDialogRequest &r) {
    const QString name = QFileInfo(file).fileName();
    const auto filters = filter_patterns(qt_file_filter(r.filter));
    for (size_t i = 0; i < filters.size(); ++i)
        for (const QString &pattern : filters[i]) {
            const QRegularExpression re(QRegularExpression::wildcardToRegularExpression(pattern),
                                        QRegularExpression::CaseInsensitiveOption);
            if (re.match(name).hasMatch())
                return static_cast<int>(i) + 1;
        }
    return r.filter_index;
}

QString start_path(const FileDialogRequest &r) {
    if (r.file_name.isEmpty())
        return r.folder;
    if (r.folder.isEmpty() || r.file_name.startsWith(QLatin1Char('/')))
        return r.file_name;
    return r.folder + QLatin1Char('/') + r.file_name;
}

} // namespace

QString filter_suffix(const QString &qt_filter_entry) {
    const auto filters = filter_patterns(qt_filter_entry);
    if (filters.empty() || filters.front().isEmpty())
        return {};
    static const QRegularExpression plain(QStringLiteral("^\\*\\.([A-Za-z0-9_]+)$"));
    const auto m = plain.match(filters.front().front());
    return m.hasMatch() ? m.captured(1) : QString();
}

QString qt_file_filter(const QString &filter) {
    if (!filter.contains(QLatin1Char('|')))
        return filter;
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString &p : patterns) {
            p = p.trimmed();
            if (p == QLatin1String("*.*"))
                p = QStringLiteral("*");
        }
        QString description = parts[i].trimmed();
        // Qt takes the patterns from the last brackets; the original showed the description as
        // written and used the pattern field, so the description's own brackets must go.
        static const QRegularExpression trailing_brackets(QStringLiteral("\\s*\\([^()]*\\)\\s*$"));
        description.remove(trailing_brackets);
        out << description + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) +
                   QLatin1Char(')');
    }
    return out.join(QStringLiteral(";;"));
}

Answer msg_box(const QString& prompt, int style, const QString& title) {
    if (all_waits_ended())
        return Answer::Cancel;
    if (hold_message(prompt, style, title))
        return Answer::Ok;
    return dialogs().message_box(prompt, style, title);
}

void return_to_box(QLineEdit *box) {
    if (!box || hold_return_to_box(box))
        return;
    // Once the focus change that left the box has run to its end.
    QTimer::singleShot(0, box, [box] { back_into_box(box); });
}

void back_into_box(QLineEdit* box) {
    for (QWidget* w = box->parentWidget(); w; w = w->parentWidget())
        if (auto* tabs = qobject_cast<QTabWidget*>(w))
            for (int i = 0; i < tabs->count(); ++i)
                if (tabs->widget(i)->isAncestorOf(box))
                    tabs->setCurrentIndex(i);
    box->activateWindow(); // the message that told the refusal had it
    box->setFocus(Qt::OtherFocusReason);
    box->selectAll();
}

Answer default_answer(int style) {
    const ButtonSet buttons = buttons_of(style);
    return buttons[default_button_index(style, buttons.size())].second;
}

DialogService &dialogs() {
    static QtDialogs qt;
    return installed() ? *installed() : qt;
}

void set_dialogs(DialogService *service) {
    installed() = service;
}

QString application_title() {
    if (!title_text().isEmpty())
        return title_text();
    return QGuiApplication::applicationDisplayName();
}

// The toolkit's display name is left alone: once set, window systems append it to every window
// title, and the main window's title is already complete.
void set_application_title(const QString &title) {
    title_text() = title;
}

void prepare_message_box(QMessageBox &box, const QString &prompt, int style,
                         const QString &title) {
    box.setWindowTitle(title_or_default(title));
    QString text = prompt;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"))
        .replace(QLatin1Char('\r'), QLatin1Char('\n'));
    box.setTextFormat(Qt::PlainText);
    box.setText(text);
    switch (style & 0x70) {
    case mb::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    case mb::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case mb::Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case mb::Information:
        box.setIcon(QMessageBox::Information);
        break;
    default:
        box.setIcon(QMessageBox::NoIcon);
        break;
    }
    const ButtonSet buttons = buttons_of(style);
    for (const auto &[b, a] : buttons)
        box.addButton(b);
    box.setDefaultButton(buttons[default_button_index(style, buttons.size())].first);
    if (style & mb::SystemModal)
        box.setWindowModality(Qt::ApplicationModal);
}

namespace {

// The answer of the button that closed a message box of `style`.
Answer buttons_answer(int style, int pressed) {
    const ButtonSet buttons = buttons_of(style);
    for (const auto &[b, a] : buttons)
        if (b == pressed)
            return a;
    // Closed with Escape or the window's close box: the cancelling answer of that set.
    for (const auto &[b, a] : buttons)
        if (a == Answer::Cancel || a == Answer::No)
            return a;
    return buttons.front().second;
}

} // namespace

Answer QtDialogs::message_box(const QString &prompt, int style, const QString &title) {
    if (unattended()) {
        warn_unattended("message box", prompt);
        return default_answer(style);
    }
    QMessageBox box(parent_window());
    prepare_message_box(box, prompt, style, title);
    return buttons_answer(style, box.exec());
}

std::optional<QString> QtDialogs::input_box(const QString &prompt, const QString &title,
                                            const QString &default_text) {
    if (unattended()) {
        warn_unattended("input box", prompt);
        return std::nullopt;
    }
    bool ok = false;
    QString s = QInputDialog::getText(parent_window(), title_or_default(title), prompt,
                                      QLineEdit::Normal, default_text, &ok);
    if (!ok)
        return std::nullopt;
    return s;
}

namespace {

// The open or save dialog for `r`; `last_filter_index` gets the filter selected at the end.
QString file_dialog(const FileDialogRequest &r, bool save, int &last_filter_index) {
    if (unattended()) {
        warn_unattended(save ? "save dialog" : "open dialog", r.title);
        return {};
    }
    const QString filter = qt_file_filter(r.filter);
    const QStringList filters = filter.split(QStringLiteral(";;"));
    QString selected = filters.value(r.filter_index - 1);
    QFileDialog dialog(parent_window(), r.title, start_path(r), filter);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (!selected.isEmpty())
        dialog.selectNameFilter(selected);
    if (save) {
        // A name typed without an extension takes the chosen type's, so that the file shows up
        // in the matching open dialog later and the overwrite question is asked for the real
        // name.
        const auto follow_type = [&dialog](const QString &type) {
            dialog.setDefaultSuffix(filter_suffix(type));
        };
        follow_type(dialog.selectedNameFilter());
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, follow_type);
    }
    QString file;
    if (dialog.exec() == QDialog::Accepted) {
        file = dialog.selectedFiles().value(0);
        selected = dialog.selectedNameFilter();
    }
    last_filter_index = std::max<int>(1, static_cast<int>(filters.indexOf(selected)) + 1);
    return file;
}

} // namespace

QString QtDialogs::open_file(const FileDialogRequest &r) {
    return file_dialog(r, false, last_filter_index_);
}

QString QtDialogs::save_file(const FileDialogRequest &r) {
    return file_dialog(r, true, last_filter_index_);
}

std::optional<QColor> QtDialogs::choose_colour(const QColor &initial) {
    if (unattended()) {
        warn_unattended("colour dialog", initial.name());
        return std::nullopt;
    }
    QColor c = QColorDialog::getColor(initial, parent_window());
    if (!c.isValid())
        return std::nullopt;
    return c;
}

Answer ScriptedDialogs::message_box(const QString &prompt, int style, const QString &title) {
    prompts.push_back({Kind::Message, prompt, title_or_default(title), style, {}, {}, {}});
    if (answers.empty())
        return default_answer(style);
    const Answer a = answers.front();
    answers.pop_front();
    return a;
}

std::optional<QString> ScriptedDialogs::input_box(const QString &prompt, const QString &title,
                                                  const QString &default_text) {
    prompts.push_back({Kind::Input, prompt, title_or_default(title), 0, {}, {}, default_text});
    if (inputs.empty())
        return std::nullopt;
    auto v = inputs.front();
    inputs.pop_front();
    return v;
}

QString ScriptedDialogs::next_file(Kind kind, const FileDialogRequest &r) {
    prompts.push_back({kind, r.title, {}, 0, r.folder, qt_file_filter(r.filter), r.file_name});
    if (files.empty())
        return {};
    QString f = files.front();
    files.pop_front();
    if (!f.isEmpty())
        last_filter_index_ = filter_index_of(f, r);
    return f;
}

QString ScriptedDialogs::open_file(const FileDialogRequest &r) {
    return next_file(Kind::OpenFile, r);
}

QString ScriptedDialogs::save_file(const FileDialogRequest &r) {
    return next_file(Kind::SaveFile, r);
}

std::optional<QColor> ScriptedDialogs::choose_colour(const QColor &initial) {
    prompts.push_back({Kind::Colour, initial.name(), {}, 0, {}, {}, {}});
    if (colours.empty())
        return std::nullopt;
    auto c = colours.front();
    colours.pop_front();
    return c;
}

QStringList ScriptedDialogs::messages() const {
    QStringList out;
    for (const auto &p : prompts)
        if (p.kind == Kind::Message)
            out << p.text;
    return out;
}

} // namespace platform
