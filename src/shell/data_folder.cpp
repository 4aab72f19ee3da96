#include "shell/data_folder.h"

#include "platform/dialogs.h"
#include "platform/program_folder.h"
#include "platform/sysinfo.h"
#include "platform/vb.h"
#include "shell/definitions_table.h"
#include "shell/shell_state.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>

namespace {
bool make_folder(const QString& path) {
    return QFileInfo(path).isDir() || QDir().mkdir(path);
}

// Removes ordinary blanks only: a locale's no-break space separator must survive.
QString trim_blanks(const QString& text) {
    qsizetype first = 0, last = text.size();
    while (first < last && text[first] == QLatin1Char(' '))
        ++first;
    while (last > first && text[last - 1] == QLatin1Char(' '))
        --last;
    return text.mid(first, last - first);
}

// What the user typed, as a refusal quotes it: its invisible controls shown by their codes (a
// U+202E would show the rest of the message backwards, a U+200F inside "12.345" would show it as
// "345.12"), and the whole isolated from the message around it (U+2068 ... U+2069), so that text
// of a right-to-left script keeps its own order and leaves the message in the message's.
QString quoted(const QString& typed) {
    QString shown;
    for (const char32_t c : typed.trimmed().toUcs4()) {
        if (QChar::category(c) == QChar::Other_Format)
            shown += QStringLiteral("<U+%1>").arg(
                QString::number(static_cast<uint>(c), 16).toUpper().rightJustified(4, u'0'));
        else
            shown += QString::fromUcs4(&c, 1);
    }
    return QChar(0x2068) + shown + QChar(0x2069);
}
} // namespace

QString get_local_appdata() {
    const QString folder = platform::system_info().local_appdata;
    if (folder.isEmpty() || !QDir().mkpath(folder))
        return QStringLiteral("-1");
    return folder;
}

QString get_data_folder(int16_t brand, const QString& program_folder) {
    const QString base = get_local_appdata();
    if (base == QLatin1String("-1"))
        return platform::writable_program_folder();
    const int b = brand >= 0 && brand <= 2 ? brand : 0;
    const QString brand_folder = platform::join_path(base, QLatin1String(BRAND_FOLDERS[b]));
    const QString data = platform::join_path(brand_folder, program_folder);
    if (!make_folder(brand_folder) || !make_folder(data))
        return platform::writable_program_folder();
    return data;
}

void read_system_info() {
    const platform::SystemInfo info = platform::system_info();
    ShellState& s = shell();
    s.locale_language_name = trim_blanks(info.language_name).toUpper();
    s.decimal_separator = trim_blanks(info.decimal_separator);
    s.thousands_separator = trim_blanks(info.thousands_separator);
    s.computer_name = get_computer_name();
    s.user_name = get_network_user_name();
    if (!info.decimal_separator.isEmpty())
        platform::use_system_formats(info);
}

QString number_notation_message(const QString& typed) {
    QString m = ui_text(2280, QStringLiteral("\"%1\" is not a number in this computer's number "
                                             "format. The decimal separator is \"%2\" as in %3."))
                    .arg(quoted(typed), platform::number_separators().decimal,
                         platform::format_number(1234.5, QStringLiteral("#,##0.0")));
    if (platform::groups_with_a_space(platform::number_locale()))
        m += QLatin1Char(' ') +
             ui_text(2311, QStringLiteral(
                               "Digits are grouped with a space (a plain or a no-break space)."));
    return m;
}

QString whole_number_message(const QString& typed) {
    return ui_text(2299, QStringLiteral("\"%1\" is not a whole number: only whole numbers are "
                                        "taken here."))
        .arg(quoted(typed));
}

QString range_refusal_message(const QString& typed, double minimum, double maximum) {
    return ui_text(2350, QStringLiteral("\"%1\" is out of range: only numbers from %2 to %3 are "
                                        "taken here."))
        .arg(quoted(typed), platform::number_text(minimum), platform::number_text(maximum));
}

QString minimum_refusal_message(const QString& typed, double minimum) {
    return ui_text(2351, QStringLiteral("\"%1\" is out of range: only numbers from %2 up are taken "
                                        "here."))
        .arg(quoted(typed), platform::number_text(minimum));
}

QString typed_number_refusal(const QString& typed) {
    return platform::typed_number(typed) ? whole_number_message(typed)
                                         : number_notation_message(typed);
}

void refuse_typed_number(QLineEdit* box, const QString& put_back, const QString& message) {
    const QString typed = box->text();
    platform::msg_box(message.isEmpty() ? typed_number_refusal(typed) : message,
                      platform::mb::Critical);
    box->setText(put_back);
    platform::return_to_box(box);
}

QString get_computer_name() {
    return platform::system_info().computer_name;
}

QString get_network_user_name() {
    return platform::system_info().user_name;
}

QString cut_at_nul(const QString& text) {
    const qsizetype nul = text.indexOf(QChar(0));
    return nul < 0 ? QString() : text.left(nul);
}

bool file_exists(const QString& path) {
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    return info.exists() && info.isFile() && !info.isHidden();
}
