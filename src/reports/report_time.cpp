#include "reports/report_time.h"

#include "platform/vb.h"

#include <QRegularExpression>
#include <QTimeZone>
#include <cmath>

namespace reports {
namespace {

const QDate& zero_date() {
    static const QDate d(1899, 12, 30);
    return d;
}

int64_t floor_div(int64_t a, int64_t b) {
    int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0)))
        --q;
    return q;
}

} // namespace

int64_t serial_seconds_from_chart_x(double x) {
    if (!std::isfinite(x))
        return 0;
    return static_cast<int64_t>(std::llround(x)) + CHART_EPOCH_DAY * SECONDS_PER_DAY;
}

int64_t serial_day(int64_t serial_seconds) {
    return floor_div(serial_seconds, SECONDS_PER_DAY);
}

double serial_from_seconds(int64_t serial_seconds) {
    const int64_t day = serial_day(serial_seconds);
    return static_cast<double>(day) +
           static_cast<double>(serial_seconds - day * SECONDS_PER_DAY) / SECONDS_PER_DAY;
}

QDateTime datetime_from_serial(double serial) {
    if (!std::isfinite(serial))
        serial = 0;
    const double day = std::floor(serial);
    int64_t secs = std::llround((serial - day) * SECONDS_PER_DAY);
    int64_t whole_day = static_cast<int64_t>(day);
    if (secs >= SECONDS_PER_DAY) {
        secs -= SECONDS_PER_DAY;
        ++whole_day;
    }
    return QDateTime(zero_date().addDays(whole_day),
                     QTime(0, 0).addSecs(static_cast<int>(secs)), Qt::UTC);
}

double serial_from_datetime(const QDateTime& when) {
    const int64_t day = zero_date().daysTo(when.date());
    const int64_t secs = when.time().msecsSinceStartOfDay() / 1000;
    return serial_from_seconds(day * SECONDS_PER_DAY + secs);
}

QString format_serial(double serial, const QString& pattern) {
    return platform::format_date(datetime_from_serial(serial), pattern);
}

QString box_date_pattern() {
    QString p = platform::date_formats().short_date;
    static const QRegularExpression years(QStringLiteral("y+"),
                                          QRegularExpression::CaseInsensitiveOption);
    if (!p.contains(years))
        return QStringLiteral("dd/mm/yyyy");
    p.replace(years, QStringLiteral("yyyy"));
    return p;
}

QString date_box_text(double serial) {
    return format_serial(std::floor(serial), box_date_pattern()).trimmed();
}

std::optional<int64_t> parse_date_text(const QString& text) {
    // Three numbers, each pair parted by one mark with blanks about it or by blanks alone, so that
    // short dates with blanks ("7. 12. 2026", "2026. 12. 7.") read as well as "07/12/2026"; a
    // full stop may close the date, and whatever follows a blank after it (a time), line ends
    // included, is ignored. A digit of any script is no mark: "12\u06635/2026" is no date.
    static const QRegularExpression shape(
        QStringLiteral(
            "^([0-9]{1,4})(?:\\s*[^\\d\\s]\\s*|\\s+)([0-9]{1,2})(?:\\s*[^\\d\\s]\\s*|\\s+)"
            "([0-9]{1,4})\\.?(?:\\s.*)?$"),
        QRegularExpression::UseUnicodePropertiesOption |
            QRegularExpression::DotMatchesEverythingOption);
    // The invisible marks that keep a right-to-left date in order ("5\u200F/12\u200F/2026")
    // stand beside the separators the user sees; they part nothing.
    QString visible = text;
    visible.removeIf([](QChar c) { return c.category() == QChar::Other_Format; });
    const auto m = shape.match(visible.trimmed());
    if (!m.hasMatch())
        return std::nullopt;
    const QString a = m.captured(1), b = m.captured(2), c = m.captured(3);
    int day = 0, month = 0, year = 0;
    QString year_text;
    if (a.size() > 2) { // yyyy-mm-dd whatever the user's order
        year_text = a;
        month = b.toInt();
        day = c.toInt();
    } else {
        const QString order = platform::date_formats().short_date.toLower();
        const qsizetype pd = order.indexOf(QLatin1Char('d'));
        const qsizetype pm = order.indexOf(QLatin1Char('m'));
        const qsizetype py = order.indexOf(QLatin1Char('y'));
        if (pm >= 0 && pd >= 0 && pm < pd && (py < 0 || py > pm)) {
            month = a.toInt();
            day = b.toInt();
            year_text = c;
        } else if (py >= 0 && py < pd && py < pm) {
            return std::nullopt; // a year first needs four digits
        } else {
            day = a.toInt();
            month = b.toInt();
            year_text = c;
        }
    }
    if (year_text.size() == 3)
        return std::nullopt;
    year = year_text.toInt();
    if (year_text.size() <= 2)
        year += year < 30 ? 2000 : 1900;
    // Four-digit years only: the boxes show them so, and a log never starts before 1000.
    if (year < 1000)
        return std::nullopt;
    const QDate d(year, month, day);
    if (!d.isValid())
        return std::nullopt;
    return zero_date().daysTo(d);
}

} // namespace reports
