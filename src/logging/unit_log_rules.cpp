#include "logging/unit_log_rules.h"

#include "logging/chart_units.h"
#include "platform/vb.h"
#include "shell/definitions_table.h"

#include <cmath>

namespace {

const QString CR = QStringLiteral("\r");
const QString CRLF = QStringLiteral("\r\n");

// One line of the set-up check's list: the box's name between blanks.
QString entry_line(const QString& caption) {
    return QString(7, QLatin1Char(' ')) + caption + QString(12, QLatin1Char(' ')) + CR;
}

bool digits_only(const QString& t) {
    for (QChar c : t)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return !t.isEmpty();
}

int32_t mask_value(const QString& text) {
    const auto v = platform::read_number_c(text);
    if (!v)
        return 0;
    return platform::to_int32(*v).value_or(0);
}

} // namespace

bool valid_date(const QString& text) {
    if (text.size() != 5 && text.size() != 6)
        return false;
    const int day_digits = static_cast<int>(text.size()) - 4;
    const QString day = text.left(day_digits);
    const QString month = text.mid(day_digits, 2);
    const QString year = text.right(2);
    if (!digits_only(day) || !digits_only(month) || !digits_only(year))
        return false;
    return day.toInt() <= 31 && month.toInt() <= 12 && year.toInt() <= 99;
}

namespace logsetup {

namespace {

// A whole number from 0 to `largest`, typed in the locale's notation.
std::optional<double> typed_whole_up_to(const QString& text, double largest) {
    const auto v = platform::typed_whole_number(text);
    return v && *v >= 0 && *v <= largest ? v : std::nullopt;
}

} // namespace

std::optional<double> typed_log_interval(const QString& text) {
    return typed_whole_up_to(text, LONGEST_LOG_INTERVAL);
}

SetupCheck check_setup_entries(const QString& mask1, const QString& mask2, const QString& mask3,
                               const QString& interval) {
    SetupCheck check;
    QString lines;
    // Read as every typed number: "0.5" where the locale writes 0,5 is listed, not read as 5. A
    // value the unit would refuse is listed too: the set-up clears the unit's log before it
    // writes, so a refused write would cost the log and leave the logger half set up.
    const auto mask_word = [](const QString& text) {
        return typed_whole_up_to(text, LARGEST_MASK_WORD);
    };
    const struct {
        std::optional<double> value;
        QString caption;
    } boxes[] = {
        {mask_word(mask1), ui_text(1131, QStringLiteral("Channel Mask 1"))},
        {mask_word(mask2), ui_text(1132, QStringLiteral("Channel Mask 2"))},
        {mask_word(mask3), ui_text(1133, QStringLiteral("Channel Mask 3"))},
        {typed_log_interval(interval), ui_text(1134, QStringLiteral("Log Interval (mins)"))},
    };
    for (const auto& box : boxes) {
        if (!box.value) {
            check.valid = false;
            lines += entry_line(box.caption);
        }
    }
    if (check.valid) {
        if (*boxes[0].value + *boxes[1].value + *boxes[2].value == 0) {
            check.valid = false;
            lines += entry_line(ui_text(1147, QStringLiteral("No channel selected")));
        }
    }
    check.message = ui_text(1128, QStringLiteral("The unit cannot be set up.")) + CR + CR +
                    ui_text(1129, QStringLiteral("Please check these entries:")) + CR + lines;
    if (check.valid) {
        for (size_t i = 0; i < check.masks.size(); ++i)
            check.masks[i] = platform::number_text_c(*boxes[i].value);
        check.interval_minutes = *boxes[3].value;
        check.interval = platform::number_text_c(check.interval_minutes);
    }
    return check;
}

QString zero_interval_warning() {
    return ui_text(1145, QStringLiteral("The log interval is 0 minutes.")) +
           QString(12, QLatin1Char(' ')) + CR + CR +
           ui_text(1115, QStringLiteral("Do you want to continue?"));
}

QString setup_confirmation() {
    return ui_text(1114, QStringLiteral("Setting up the unit clears all log data stored in it.")) +
           CR + ui_text(1115, QStringLiteral("Do you want to continue?"));
}

QString refused_setup_write_message(const QString& command) {
    // "/p<number>:<value>", as the set-up writes it.
    const qsizetype colon = command.indexOf(QLatin1Char(':'));
    const int number = command.mid(2, colon - 2).toInt();
    // The parameter as its row on the parameter pages names it.
    const QString parameter =
        number == 151   ? ui_text(151, QStringLiteral("Log Channels 1 (P151)"))
        : number == 152 ? ui_text(152, QStringLiteral("Log Channels 2 (P152)"))
        : number == 153 ? ui_text(153, QStringLiteral("Log Channels 3 (P153)"))
        : number == 154 ? ui_text(154, QStringLiteral("Log Interval (P154)"))
        : number == 155 ? ui_text(155, QStringLiteral("Log Wrapping (P155)"))
        : number == 931 ? ui_text(931, QStringLiteral("Date (P931)"))
        : number == 932 ? ui_text(932, QStringLiteral("Time (P932)"))
                        : command.mid(1, colon - 1).toUpper();
    return ui_text(2900, QStringLiteral("The unit refused %1 = %2."))
               .arg(parameter, command.mid(colon + 1)) +
           CRLF + CRLF +
           ui_text(2901, QStringLiteral("The unit's log has been cleared and logging is not set "
                                        "up.")) +
           CRLF + ui_text(2902, QStringLiteral("Check the value and set up the unit again."));
}

std::optional<QString> date_format_from_reply(const QString& reply) {
    if (reply == QLatin1String("1"))
        return QStringLiteral("DDMMYY");
    if (reply == QLatin1String("2"))
        return QStringLiteral("MMDDYY");
    if (reply == QLatin1String("3"))
        return QStringLiteral("YYMMDD");
    return std::nullopt;
}

QString unit_date_digits(const QDateTime& when, const QString& format) {
    return platform::format_date(when, format);
}

QString unit_time_digits(const QDateTime& when) {
    return platform::format_date(when, QStringLiteral("hhmm"));
}

QString clock_question(const QString& format, const QString& unit_date, const QString& unit_time,
                       const QDateTime& now) {
    return QStringLiteral("Please check if unit has correct date and time") + CRLF + CRLF +
           QStringLiteral("Unit Date (") + format + QStringLiteral(") = ") + unit_date + CRLF +
           QStringLiteral("Unit Time = ") + unit_time + CRLF + CRLF + QStringLiteral("PC Date = ") +
           unit_date_digits(now, format) + CRLF + QStringLiteral("PC Time = ") +
           unit_time_digits(now) + CRLF + CRLF +
           QStringLiteral("Do you want to set unit to PC Current Time & Date ?");
}

QString model_mismatch_message(bool model_differs, const QString& reported_model, bool ma_differs,
                               bool unit_has_ma) {
    QString m =
        ui_text(1117, QStringLiteral("The unit does not match the settings on this page:")) + CR;
    if (model_differs)
        m += QStringLiteral("   ") + ui_text(1135, QStringLiteral("Unit type:")) +
             QLatin1Char(' ') + reported_model + CR;
    if (ma_differs)
        m += QStringLiteral("   - ") +
             (unit_has_ma ? ui_text(1118, QStringLiteral("The unit has an mA input"))
                          : ui_text(1119, QStringLiteral("The unit has no mA input")));
    return m;
}

std::optional<LogInfoValues> parse_loginfo_reply(const QString& reply) {
    // Lines end in CR, often followed by LF; an empty line between them carries no value.
    QStringList lines;
    for (const QString& line :
         QString(reply).replace(QLatin1Char('\n'), QLatin1Char('\r')).split(CR))
        if (!line.trimmed().isEmpty())
            lines << line;
    if (lines.size() < 9)
        return std::nullopt;
    LogInfoValues values;
    for (int i = 0; i < 9; ++i) {
        const QString& line = lines[i];
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        values[static_cast<size_t>(i)] = eq < 0 ? line : line.mid(eq + 1);
    }
    return values;
}

double wrapping_value(const QString& v) {
    return platform::read_number_c(v).value_or(0);
}

QString text4_value(int index, const QString& v, bool from_loginfo) {
    if (index == 5)
        return wrapping_value(v) == 1 ? ui_text(1224, QStringLiteral("On"))
                                      : ui_text(1225, QStringLiteral("Off"));
    const auto number = platform::read_number_c(v);
    if (index == 6)
        return number ? platform::format_number_c(*number, QStringLiteral("###############"))
                      : v.trimmed();
    if (from_loginfo && number)
        return platform::number_text_c(*number);
    return v;
}

LogInfoFigures log_info_figures(const std::array<QString, 7>& text4) {
    LogInfoFigures f;
    const auto date = platform::read_number_c(text4[0]);
    f.log_start_date = date ? platform::number_text_c(*date) : QStringLiteral("000000");
    f.channel_mask_1 = mask_value(text4[1]);
    f.channel_mask_2 = mask_value(text4[2]);
    f.channel_mask_3 = mask_value(text4[3]);
    f.log_interval = platform::read_number_c(text4[4]).value_or(0);
    f.log_records = platform::read_number_c(text4[6]).value_or(0);
    return f;
}

double remaining_log_days(double memory_bytes, int record_bytes, double records,
                          double interval_minutes) {
    if (record_bytes < 1)
        return 0;
    const double days =
        (memory_bytes - record_bytes * records) * interval_minutes / record_bytes / 1440;
    return days < 0 ? 0 : days;
}

} // namespace logsetup
