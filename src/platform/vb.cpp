#include "platform/vb.h"

#include <QLocale>
#include <cmath>
#include <limits>

namespace platform {

NumberSeparators& number_separators() {
    static NumberSeparators s;
    return s;
}

double val(const QString& text) {
    QString s;
    s.reserve(text.size());
    for (QChar c : text)
        if (c != QLatin1Char(' ') && c != QLatin1Char('\t') && c != QLatin1Char('\n') &&
            c != QLatin1Char('\r'))
            s += c;
    if (s.startsWith(QLatin1String("&H"), Qt::CaseInsensitive) ||
        s.startsWith(QLatin1String("&O"), Qt::CaseInsensitive)) {
        const int base = s[1].toUpper() == QLatin1Char('H') ? 16 : 8;
        qsizetype i = 2;
        qint64 v = 0;
        while (i < s.size()) {
            const int d = s[i].isDigit()                                  ? s[i].digitValue()
                          : (base == 16 && s[i].toUpper() >= QLatin1Char('A') &&
                             s[i].toUpper() <= QLatin1Char('F'))
                              ? s[i].toUpper().unicode() - 'A' + 10
                              : -1;
            if (d < 0 || d >= base)
                break;
            v = v * base + d;
            ++i;
        }
        return static_cast<double>(v);
    }
    QString num;
    qsizetype i = 0;
    if (i < s.size() && (s[i] == QLatin1Char('-') || s[i] == QLatin1Char('+')))
        num += s[i++];
    bool digits = false, dot = false;
    while (i < s.size()) {
        if (s[i].isDigit() && s[i].unicode() < 128) {
            num += s[i++];
            digits = true;
        } else if (s[i] == QLatin1Char('.') && !dot) {
            num += s[i++];
            dot = true;
        } else
            break;
    }
    if (!digits)
        return 0.0;
    if (i < s.size() && (s[i].toUpper() == QLatin1Char('E') || s[i].toUpper() == QLatin1Char('D'))) {
        QString exp = QStringLiteral("e");
        qsizetype j = i + 1;
        if (j < s.size() && (s[j] == QLatin1Char('-') || s[j] == QLatin1Char('+')))
            exp += s[j++];
        bool exp_digits = false;
        while (j < s.size() && s[j].isDigit() && s[j].unicode() < 128) {
            exp += s[j++];
            exp_digits = true;
        }
        if (exp_digits)
            num += exp;
    }
    bool ok = false;
    const double v = num.toDouble(&ok);
    return ok ? v : 0.0;
}

double round_half_even(double value) {
    if (!std::isfinite(value))
        return value;
    return std::nearbyint(value); // the default rounding mode rounds halves to even
}

double round_half_even(double value, int decimals) {
    if (!std::isfinite(value))
        return value;
    const double scale = std::pow(10.0, decimals);
    const double scaled = value * scale;
    // Treat values within rounding noise of a half as the half itself.
    const double fl = std::floor(scaled);
    const double frac = scaled - fl;
    double r;
    if (std::fabs(frac - 0.5) < 1e-9)
        r = std::fmod(fl, 2.0) == 0.0 ? fl : fl + 1.0;
    else
        r = std::nearbyint(scaled);
    return r / scale;
}

std::optional<int16_t> to_int16(double value) {
    const double r = round_half_even(value);
    if (!std::isfinite(r) || r < -32768.0 || r > 32767.0)
        return std::nullopt;
    return static_cast<int16_t>(r);
}

std::optional<int32_t> to_int32(double value) {
    const double r = round_half_even(value);
    if (!std::isfinite(r) || r < -2147483648.0 || r > 2147483647.0)
        return std::nullopt;
    return static_cast<int32_t>(r);
}

std::optional<double> to_double(const QString& text) {
    QString s = text.trimmed();
    if (s.isEmpty())
        return std::nullopt;
    const auto& sep = number_separators();
    if (!sep.thousands.isEmpty() && sep.thousands != sep.decimal)
        s.remove(sep.thousands);
    if (!sep.decimal.isEmpty() && sep.decimal != QLatin1String("."))
        s.replace(sep.decimal, QLatin1String("."));
    if (s.startsWith(QLatin1String("&H"), Qt::CaseInsensitive)) {
        bool ok = false;
        const qlonglong v = s.mid(2).toLongLong(&ok, 16);
        return ok ? std::optional<double>(static_cast<double>(v)) : std::nullopt;
    }
    bool ok = false;
    const double v = s.toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

std::optional<int16_t> text_to_int16(const QString& text) {
    auto d = to_double(text);
    if (!d) {
        auto b = to_bool(text);
        if (!b)
            return std::nullopt;
        return static_cast<int16_t>(*b ? -1 : 0);
    }
    return to_int16(*d);
}

std::optional<int32_t> text_to_int32(const QString& text) {
    auto d = to_double(text);
    if (!d)
        return std::nullopt;
    return to_int32(*d);
}

std::optional<bool> to_bool(const QString& text) {
    const QString s = text.trimmed();
    if (s.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (s.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    auto d = to_double(s);
    if (!d)
        return std::nullopt;
    return *d != 0.0;
}

QString bool_text(bool value) { return value ? QStringLiteral("True") : QStringLiteral("False"); }

bool is_numeric(const QString& text) { return to_double(text).has_value(); }

QString number_text_c(double value) {
    if (value == 0.0)
        return QStringLiteral("0");
    const double a = std::fabs(value);
    QString s;
    if (a >= 1e15 || a < 1e-15) {
        s = QString::number(value, 'E', 14);
        // Trim the mantissa's trailing zeros: 1.50000E+20 -> 1.5E+20.
        const qsizetype e = s.indexOf(QLatin1Char('E'));
        QString mant = s.left(e), exp = s.mid(e + 1);
        while (mant.contains(QLatin1Char('.')) && mant.endsWith(QLatin1Char('0')))
            mant.chop(1);
        if (mant.endsWith(QLatin1Char('.')))
            mant.chop(1);
        const int ev = exp.toInt();
        s = mant + QLatin1Char('E') + (ev < 0 ? QLatin1Char('-') : QLatin1Char('+')) +
            QString::number(std::abs(ev)).rightJustified(2, QLatin1Char('0'));
        return s;
    }
    s = QString::number(value, 'f', std::max(0, 14 - static_cast<int>(std::floor(std::log10(a)))));
    if (s.contains(QLatin1Char('.'))) {
        while (s.endsWith(QLatin1Char('0')))
            s.chop(1);
        if (s.endsWith(QLatin1Char('.')))
            s.chop(1);
    }
    if (s == QLatin1String("-0"))
        s = QStringLiteral("0");
    return s;
}

QString number_text(double value) {
    QString s = number_text_c(value);
    const auto& sep = number_separators();
    if (sep.decimal != QLatin1String("."))
        s.replace(QLatin1Char('.'), sep.decimal);
    return s;
}

namespace {

QString format_with(double value, const QString& pattern, const QString& dec, const QString& thou) {
    // Split the pattern into prefix literals, the number part and suffix literals.
    qsizetype first = -1, last = -1;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        if (c == QLatin1Char('0') || c == QLatin1Char('#') || c == QLatin1Char('.') ||
            c == QLatin1Char(',')) {
            if (first < 0)
                first = i;
            last = i;
        }
    }
    if (first < 0)
        return pattern;
    const QString prefix = pattern.left(first);
    const QString suffix = pattern.mid(last + 1);
    const QString num = pattern.mid(first, last - first + 1);
    const qsizetype dot = num.indexOf(QLatin1Char('.'));
    const QString int_part = dot < 0 ? num : num.left(dot);
    const QString frac_part = dot < 0 ? QString() : num.mid(dot + 1);
    const bool group = int_part.contains(QLatin1Char(','));
    const int min_int = static_cast<int>(int_part.count(QLatin1Char('0')));
    const int max_frac = static_cast<int>(frac_part.count(QLatin1Char('0')) + frac_part.count(QLatin1Char('#')));
    const int min_frac = static_cast<int>(frac_part.count(QLatin1Char('0')));

    const double rounded = round_half_even(std::fabs(value), max_frac);
    QString digits = QString::number(rounded, 'f', max_frac);
    QString ip = digits, fp;
    if (max_frac > 0) {
        ip = digits.left(digits.indexOf(QLatin1Char('.')));
        fp = digits.mid(digits.indexOf(QLatin1Char('.')) + 1);
        while (fp.size() > min_frac && fp.endsWith(QLatin1Char('0')))
            fp.chop(1);
    }
    if (ip == QLatin1String("0") && min_int == 0)
        ip.clear();
    while (ip.size() < min_int)
        ip.prepend(QLatin1Char('0'));
    if (group && ip.size() > 3) {
        QString g;
        for (qsizetype i = 0; i < ip.size(); ++i) {
            if (i > 0 && (ip.size() - i) % 3 == 0)
                g += thou;
            g += ip[i];
        }
        ip = g;
    }
    QString out = ip;
    if (!fp.isEmpty() || (dot >= 0 && min_frac > 0))
        out += dec + fp;
    else if (dot >= 0 && max_frac == 0)
        out += dec;
    const bool negative = value < 0 && (rounded != 0.0);
    return prefix + (negative ? QStringLiteral("-") : QString()) + out + suffix;
}

} // namespace

QString format_number(double value, const QString& pattern) {
    const auto& sep = number_separators();
    return format_with(value, pattern, sep.decimal, sep.thousands);
}

QString format_number_c(double value, const QString& pattern) {
    return format_with(value, pattern, QStringLiteral("."), QString());
}

QString format_date(const QDateTime& when, const QString& pattern) {
    const QLocale en(QLocale::English);
    const QDate d = when.date();
    const QTime t = when.time();
    QString out;
    bool after_hour = false;
    qsizetype i = 0;
    auto run = [&](QChar c) {
        qsizetype n = 0;
        while (i + n < pattern.size() && pattern[i + n].toLower() == c)
            ++n;
        return n;
    };
    while (i < pattern.size()) {
        const QChar c = pattern[i].toLower();
        if (pattern.mid(i, 5).compare(QLatin1String("AM/PM"), Qt::CaseInsensitive) == 0) {
            out += t.hour() < 12 ? QStringLiteral("AM") : QStringLiteral("PM");
            i += 5;
            continue;
        }
        const qsizetype n = (c == 'd' || c == 'm' || c == 'y' || c == 'h' || c == 'n' || c == 's') ? run(c) : 0;
        if (c == 'd' && n > 0) {
            if (n == 1) out += QString::number(d.day());
            else if (n == 2) out += QString::number(d.day()).rightJustified(2, QLatin1Char('0'));
            else if (n == 3) out += en.dayName(d.dayOfWeek(), QLocale::ShortFormat);
            else out += en.dayName(d.dayOfWeek(), QLocale::LongFormat);
            after_hour = false;
        } else if (c == 'm' && n > 0) {
            if (after_hour && n <= 2) {
                out += n == 1 ? QString::number(t.minute())
                              : QString::number(t.minute()).rightJustified(2, QLatin1Char('0'));
            } else if (n == 1) out += QString::number(d.month());
            else if (n == 2) out += QString::number(d.month()).rightJustified(2, QLatin1Char('0'));
            else if (n == 3) out += en.monthName(d.month(), QLocale::ShortFormat);
            else out += en.monthName(d.month(), QLocale::LongFormat);
            after_hour = false;
        } else if (c == 'y' && n > 0) {
            out += n <= 2 ? QString::number(d.year() % 100).rightJustified(2, QLatin1Char('0'))
                          : QString::number(d.year());
        } else if (c == 'h' && n > 0) {
            out += n == 1 ? QString::number(t.hour())
                          : QString::number(t.hour()).rightJustified(2, QLatin1Char('0'));
            after_hour = true;
        } else if (c == 'n' && n > 0) {
            out += n == 1 ? QString::number(t.minute())
                          : QString::number(t.minute()).rightJustified(2, QLatin1Char('0'));
        } else if (c == 's' && n > 0) {
            out += n == 1 ? QString::number(t.second())
                          : QString::number(t.second()).rightJustified(2, QLatin1Char('0'));
            after_hour = false;
        } else {
            out += pattern[i];
            i += 1;
            continue;
        }
        i += n;
    }
    return out;
}

} // namespace platform
