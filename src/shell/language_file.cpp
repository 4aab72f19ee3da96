#include "shell/language_file.h"
#include "shell/toolkit_translations.h"

#include "platform/dialogs.h"
#include "platform/program_folder.h"
#include "platform/text_file.h"
#include "platform/vb.h"
#include "shell/definitions_table.h"
#include "shell/option_lists.h"
#include "shell/shell_state.h"

#include <QLabel>
#include <QProgressBar>
#include <QWidget>

namespace {

constexpr int LANGUAGE_COLUMNS = 5;

std::function<QProgressBar*()>& label_progress_bar() {
    static std::function<QProgressBar*()> bar;
    return bar;
}

void report_missing_language_file(const QString& path) {
    ShellState& s = shell();
    if (s.language_file_missing_reported)
        return;
    s.language_file_missing_reported = true;
    platform::msg_box(QStringLiteral("The language file could not be read:\n%1\n\n"
                                     "The program carries on with its built-in captions.")
                          .arg(path),
                      platform::mb::Exclamation);
}

void load_line(const QString& line, int column) {
    const QStringList pieces = line.split(QLatin1Char(','));
    if (pieces.size() <= column)
        return; // a short line would otherwise give its record another text's wording
    const double n = platform::val(pieces[0]);
    if (!(n >= 0 && n <= ADDED_TEXTS_LAST))
        return;
    if (QString* slot = text_slot(static_cast<int>(platform::round_half_even(n))))
        *slot = pieces[column];
}

} // namespace

void load_language_text(const QString& text, int language) {
    if (language >= 0 && language < LANGUAGE_COLUMNS)
        for (const QString& line : platform::split_lines(text))
            load_line(line, language + 1);
}

QString language_file_path() {
    return platform::join_path(platform::join_path(platform::program_folder(), DEFINITIONS_FOLDER),
                               LANGUAGE_FILE);
}

void load_language_file() {
    const QString path = language_file_path();
    const int language = shell().language_index;
    if (const auto text = platform::read_text_file(path)) {
        load_language_text(*text, language);
    } else {
        report_missing_language_file(path);
    }
    load_language_lists();
    use_toolkit_translations(language);
}

std::optional<int> control_index(const QObject& control) {
    const QVariant v = control.property(CONTROL_INDEX_PROPERTY);
    bool ok = false;
    const int index = v.toInt(&ok);
    if (!v.isValid() || !ok)
        return std::nullopt;
    return index;
}

void apply_label_texts(QWidget& form, bool tick_progress_bar) {
    const auto controls = form.findChildren<QWidget*>();
    QProgressBar* bar = nullptr;
    if (tick_progress_bar && label_progress_bar())
        bar = label_progress_bar()();
    for (QWidget* control : controls) {
        if (bar)
            tick_progress(*bar);
        auto* label = qobject_cast<QLabel*>(control);
        if (!label || label->objectName() != QLatin1String("scrlabel"))
            continue;
        const auto k = control_index(*label);
        if (k && is_text_number(*k))
            label->setText(ui_text(*k));
    }
}

void set_label_progress_bar(std::function<QProgressBar*()> bar) {
    label_progress_bar() = std::move(bar);
}

void tick_progress(QProgressBar& bar) {
    if (bar.value() < bar.maximum())
        bar.setValue(bar.value() + 1);
    else
        bar.setValue(0);
}
