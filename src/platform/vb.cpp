#include "platform/vb.h"

#include <QByteArray>
#include <QSet>
#include <algorithm>
#include <cmath>
#include <map>
#include <utility>
#include <vector>

namespace platform {

NumberSeparators& number_separators() {
    static NumberSeparators s;
    return s;
}

DateFormats& date_formats() {
    static DateFormats f;
    return f;
}

namespace {

bool is_blank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n') ||
           c == QLatin1Char('\r');
}

bool is_ascii_digit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

int digit_value(QChar c, int base) {
    const char16_t u = QChar::toUpper(c.unicode());
    int d = -1;
    if (u >= u'0' && u <= u'9')
        d = u - u'0';
    else if (u >= u'A' && u <= u'F')
        d = u - u'A' + 10;
    return d < base ? d : -1;
}

// The digits of "&H..." / "&O..." as the value the original's literals have: four hex digits are
// a signed 16-bit number, eight a signed 32-bit one. nullopt when too large for 32 bits.
std::optional<double> radix_value(const QString& digits, int base, qsizetype* used = nullptr) {
    uint64_t v = 0;
    qsizetype i = 0;
    for (; i < digits.size(); ++i) {
        const int d = digit_value(digits[i], base);
        if (d < 0)
            break;
        v = v * static_cast<uint64_t>(base) + static_cast<uint64_t>(d);
        if (v > 0xFFFFFFFFull)
            return std::nullopt;
    }
    if (used)
        *used = i;
    if (v <= 0xFFFF)
        return static_cast<double>(static_cast<int16_t>(static_cast<uint16_t>(v)));
    return static_cast<double>(static_cast<int32_t>(static_cast<uint32_t>(v)));
}

// |value| = 0.digits x 10^point, with 15 significant digits: the number as the user sees it.
struct Decimal {
    QByteArray digits;
    int point = 0;
    bool negative = false;

    bool is_zero() const {
        for (char c : digits)
            if (c != '0')
                return false;
        return true;
    }
};

Decimal to_decimal(double v) {
    Decimal d;
    if (v == 0.0 || !std::isfinite(v))
        return d;
    d.negative = v < 0;
    const QByteArray e = QByteArray::number(std::fabs(v), 'e', 14); // d.dddddddddddddde+XX
    const qsizetype ep = e.indexOf('e');
    d.digits = e.left(1) + e.mid(2, ep - 2);
    d.point = e.mid(ep + 1).toInt() + 1;
    return d;
}

// Rounds to `decimals` places after the point; halves go away from zero or to the even neighbour.
void round_to(Decimal& d, int decimals, bool half_even) {
    const qsizetype keep = static_cast<qsizetype>(d.point) + decimals;
    if (keep >= d.digits.size())
        return;
    if (keep < 0) { // below half of the last kept place
        d.digits.clear();
        return;
    }
    const char next = d.digits[keep];
    bool rest_zero = true;
    for (qsizetype i = keep + 1; i < d.digits.size(); ++i)
        rest_zero = rest_zero && d.digits[i] == '0';
    bool up;
    if (!half_even || next != '5' || !rest_zero)
        up = next >= '5';
    else
        up = keep > 0 && (d.digits[keep - 1] - '0') % 2 == 1;
    d.digits.truncate(keep);
    if (!up)
        return;
    qsizetype i = keep - 1;
    while (i >= 0 && d.digits[i] == '9')
        d.digits[i--] = '0';
    if (i >= 0) {
        ++d.digits[i];
    } else {
        d.digits.prepend('1');
        ++d.point;
    }
}

double decimal_value(const Decimal& d) {
    if (d.is_zero())
        return 0.0;
    const QByteArray s =
        QByteArray(d.negative ? "-0." : "0.") + d.digits + 'e' + QByteArray::number(d.point);
    return s.toDouble();
}

// The whole-number digits, without leading zeros ("" for zero).
QString whole_digits(const Decimal& d) {
    QString s;
    for (int i = 0; i < d.point; ++i)
        s += QLatin1Char(i < d.digits.size() ? d.digits[i] : '0');
    while (s.startsWith(QLatin1Char('0')))
        s.remove(0, 1);
    return s;
}

QString fraction_digits(const Decimal& d, int count) {
    QString s;
    for (int i = 0; i < count; ++i) {
        const qsizetype at = static_cast<qsizetype>(d.point) + i;
        s += QLatin1Char(at >= 0 && at < d.digits.size() ? d.digits[at] : '0');
    }
    return s;
}

QString general_text(double value, const QString& dec) {
    if (!std::isfinite(value))
        return QString::number(value);
    Decimal d = to_decimal(value);
    while (d.digits.endsWith('0'))
        d.digits.chop(1);
    if (d.digits.isEmpty())
        return QStringLiteral("0");
    const QString digits = QString::fromLatin1(d.digits);
    const int exp = d.point - 1;
    QString s;
    if (exp < -4 || exp >= 15) {
        s = digits.left(1);
        if (digits.size() > 1)
            s += dec + digits.mid(1);
        s += QLatin1String(exp < 0 ? "E-" : "E+") +
             QString::number(std::abs(exp)).rightJustified(2, QLatin1Char('0'));
    } else if (d.point <= 0) {
        s = QLatin1Char('0') + dec + QString(-d.point, QLatin1Char('0')) + digits;
    } else if (d.point >= digits.size()) {
        s = digits + QString(d.point - digits.size(), QLatin1Char('0'));
    } else {
        s = digits.left(d.point) + dec + digits.mid(d.point);
    }
    return d.negative ? QLatin1Char('-') + s : s;
}

} // namespace

double val(const QString& text) {
    QString s;
    s.reserve(text.size());
    for (QChar c : text)
        if (!is_blank(c))
            s += c;
    if (s.startsWith(QLatin1Char('&'))) {
        const QChar kind = s.size() > 1 ? s[1].toUpper() : QChar();
        if (kind != QLatin1Char('H') && kind != QLatin1Char('O'))
            return 0.0;
        const auto v = radix_value(s.mid(2), kind == QLatin1Char('H') ? 16 : 8);
        return v.value_or(0.0);
    }
    QByteArray num;
    qsizetype i = 0;
    if (i < s.size() && (s[i] == QLatin1Char('-') || s[i] == QLatin1Char('+')))
        num += static_cast<char>(s[i++].unicode());
    bool digits = false, dot = false;
    for (; i < s.size(); ++i) {
        if (is_ascii_digit(s[i])) {
            digits = true;
        } else if (s[i] == QLatin1Char('.') && !dot) {
            dot = true;
        } else {
            break;
        }
        num += static_cast<char>(s[i].unicode());
    }
    if (!digits)
        return 0.0;
    if (i < s.size() &&
        (s[i].toUpper() == QLatin1Char('E') || s[i].toUpper() == QLatin1Char('D'))) {
        QByteArray exp = "e";
        qsizetype j = i + 1;
        if (j < s.size() && (s[j] == QLatin1Char('-') || s[j] == QLatin1Char('+')))
            exp += static_cast<char>(s[j++].unicode());
        bool exp_digits = false;
        for (; j < s.size() && is_ascii_digit(s[j]); ++j) {
            exp += static_cast<char>(s[j].unicode());
            exp_digits = true;
        }
        if (exp_digits)
            num += exp;
    }
    bool ok = false;
    const double v = num.toDouble(&ok);
    return ok && std::isfinite(v) ? v : 0.0;
}

QString locale_text_to_c(const QString& text) {
    const auto& sep = number_separators();
    QString s = text;
    if (!sep.thousands.isEmpty() && sep.thousands != sep.decimal)
        s.remove(sep.thousands);
    if (!sep.decimal.isEmpty() && sep.decimal != QLatin1String("."))
        s.replace(sep.decimal, QLatin1String("."));
    return s;
}

double locale_val(const QString& text) {
    return val(locale_text_to_c(text));
}

namespace {

bool writes_separators(const QLocale& l, const NumberSeparators& sep) {
    return l.decimalPoint() == sep.decimal &&
           (sep.thousands.isEmpty() || l.groupSeparator() == sep.thousands);
}

// A locale that writes the given separators, for separators set without naming a locale. The
// common ones are asked first, so that the choice does not depend on Qt's order of locales.
QLocale locale_writing(const NumberSeparators& sep) {
    static std::map<std::pair<QString, QString>, QLocale> found;
    const auto key = std::make_pair(sep.decimal, sep.thousands);
    if (const auto it = found.find(key); it != found.end())
        return it->second;
    QList<QLocale> candidates;
    for (const char* name : {"en_GB", "de_DE", "fr_FR", "de_CH", "sv_SE", "it_IT", "es_ES"})
        candidates << QLocale(QLatin1String{name});
    candidates << QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript,
                                           QLocale::AnyTerritory);
    const auto it = std::find_if(candidates.cbegin(), candidates.cend(),
                                 [&sep](const QLocale& l) { return writes_separators(l, sep); });
    return found.emplace(key, it != candidates.cend() ? *it : QLocale::c()).first->second;
}

} // namespace

QLocale number_locale() {
    const auto& sep = number_separators();
    return sep.locale.isEmpty() ? locale_writing(sep) : QLocale(sep.locale);
}

namespace {

// The marks that keep a number in order inside right-to-left text (around the minus sign in
// Arabic, for one): Qt writes them but does not read them, and they separate nothing.
bool is_order_mark(char32_t c) {
    return c == 0x200E || c == 0x200F || c == 0x061C;
}

// True when the order mark at `at` is one of those in the locale's own sign ("\u200E-" in
// Algerian Arabic, "\u200E-\u200E" in Kashmiri), as Qt writes it before an exponent's digits.
bool in_locale_sign(const QList<uint>& text, qsizetype at, const QLocale& l) {
    for (const QString& sign : {l.negativeSign(), l.positiveSign()}) {
        const QList<uint> u = sign.toUcs4();
        for (qsizetype k = 0; k < u.size(); ++k) {
            const qsizetype from = at - k;
            if (u[k] == text[at] && from >= 0 && from + u.size() <= text.size() &&
                std::equal(u.cbegin(), u.cend(), text.cbegin() + from))
                return true;
        }
    }
    return false;
}

// A locale that groups digits with a space takes any of these for its mark: they look alike.
bool is_space_mark(char32_t c) {
    return c == U' ' || c == 0x00A0 || c == 0x202F;
}

// Where a locale puts its grouping marks: `primary` digits after the last mark, `secondary` between
// two marks. A primary of 0: the locale does not group.
struct Grouping {
    int primary = 0;
    int secondary = 0;
};

// The lengths of the runs of digits in `text`, split at anything else.
std::vector<int> digit_runs(const QString& text) {
    std::vector<int> runs;
    bool in_run = false;
    for (const char32_t c : text.toUcs4()) {
        if (!QChar::isDigit(c)) {
            in_run = false;
            continue;
        }
        if (!in_run)
            runs.push_back(0);
        in_run = true;
        ++runs.back();
    }
    return runs;
}

// Qt holds the group sizes but does not tell them; its own writing of large numbers shows them. Its
// leading group is not to be trusted (Qt writes a million as "1000.000" in Spanish), so it is
// only asked for the last two groups.
Grouping grouping_of(const QLocale& l) {
    static std::map<QString, Grouping> found;
    const QString key = l.bcp47Name() + QLatin1Char('|') + l.groupSeparator();
    if (const auto it = found.find(key); it != found.end())
        return it->second;
    Grouping g;
    const std::vector<int> runs = digit_runs(l.toString(1'000'000'000'000'000LL));
    if (runs.size() > 2) {
        g.primary = runs.back();
        g.secondary = runs[runs.size() - 2];
    }
    return found.emplace(key, g).first->second;
}

// Whole-part digit runs split at grouping marks, as `last` digits after the last mark and
// `middle` between two marks, led by a group of one to three digits that is no longer than the
// others.
bool grouped_as(const std::vector<int>& runs, int last, int middle) {
    if (runs.back() != last || runs.front() < 1 || runs.front() > std::min(3, middle))
        return false;
    return std::all_of(runs.cbegin() + 1, runs.cend() - 1, [middle](int r) { return r == middle; });
}

// The text with the grouping marks of its whole part taken out, when they stand where the locale
// puts them or in plain groups of three (as many people write "1.234,5" where their locale writes
// 1234,5, or "1,234,567.5" where it writes 12,34,567.5); nullopt otherwise, and for a grouping
// mark outside the whole part. Qt's own check is not used: it takes a first group of any length
// ("1000.000" in Spanish), a first group of "0" ("0.350" as 350 where "." groups thousands,
// which no locale writes: typed so, it is the other notation of 0.35) and a mark in an exponent
// ("5e0,002" as 500), and refuses "1.000.000" in Spanish.
std::optional<QString> without_grouping(const QString& s, const QLocale& l) {
    const QList<uint> u = s.toUcs4();
    const QList<uint> mark = l.groupSeparator().toUcs4();
    const auto first = std::find_if(u.cbegin(), u.cend(), [](uint c) { return QChar::isDigit(c); });
    QString out;
    for (auto it = u.cbegin(); it != first; ++it)
        out += QChar::fromUcs4(*it);
    std::vector<int> runs{0};
    auto it = first;
    for (; it != u.cend(); ++it) {
        if (QChar::isDigit(*it)) {
            ++runs.back();
            out += QChar::fromUcs4(*it);
        } else if (!mark.isEmpty() && u.cend() - it >= mark.size() &&
                   std::equal(mark.cbegin(), mark.cend(), it)) {
            runs.push_back(0);
            it += mark.size() - 1;
        } else {
            break;
        }
    }
    for (; it != u.cend(); ++it)
        out += QChar::fromUcs4(*it);
    if (!mark.isEmpty() && out.contains(l.groupSeparator()))
        return std::nullopt;
    if (runs.size() == 1)
        return out;
    const Grouping g = grouping_of(l);
    if (g.primary == 0 || QChar::digitValue(*first) == 0 ||
        !(grouped_as(runs, g.primary, g.secondary) || grouped_as(runs, 3, 3)))
        return std::nullopt;
    return out;
}

} // namespace

bool groups_with_a_space(const QLocale& locale) {
    const QList<uint> group = locale.groupSeparator().toUcs4();
    return group.size() == 1 && is_space_mark(group.front());
}

namespace {

// The text of typed_number as one number for the locale's reading (QLocale::toDouble): its order
// marks and grouping taken out, the spaces of a locale that groups with a space made its own
// mark; nullopt where typed_number refuses the text for what it holds besides a number.
std::optional<QString> number_of_the_locale(const QString& text, const QLocale& locale) {
    const QList<uint> group = locale.groupSeparator().toUcs4();
    const bool space_groups = groups_with_a_space(locale);
    QString s;
    s.reserve(text.size());
    const QList<uint> u = text.toUcs4();
    bool digits = false;
    for (qsizetype i = 0; i < u.size(); ++i) {
        const uint c = u[i];
        // An order mark before the number or in the locale's sign keeps it in order; between
        // the digits it turns the text round ("12\u200F.345" shows "345.12").
        if (is_order_mark(c)) {
            if (digits && !in_locale_sign(u, i, locale))
                return std::nullopt;
            continue;
        }
        // Any other invisible control (U+202E turns "12,5" round to show "5,21") makes the text
        // read otherwise than it shows.
        if (QChar::category(c) == QChar::Other_Format)
            return std::nullopt;
        digits = digits || QChar::isDigit(c);
        s += QChar::fromUcs4(space_groups && is_space_mark(c) ? group.front() : c);
    }
    s = s.trimmed();
    if (s.isEmpty())
        return std::nullopt;
    return without_grouping(s, locale);
}

// True for a number the program writes again as a number: its 15 significant digits (number_text,
// number_text_c) read back as a double. From 1.797693134862315E+308 up they are beyond the
// largest a double holds.
bool written_as_a_number(double v) {
    bool ok = false;
    QByteArray::number(v, 'g', 15).toDouble(&ok);
    return ok;
}

// The locale's reading of a typed text that is written as a number of the locale: the number
// text it stands for, the double read from it and whether the reading took it.
struct LocaleReading {
    QString text;
    double value = 0;
    bool ok = false;
};
std::optional<LocaleReading> locale_reading(const QString& typed, const QLocale& locale) {
    const auto s = number_of_the_locale(typed, locale);
    if (!s)
        return std::nullopt;
    LocaleReading r{*s};
    r.value = locale.toDouble(*s, &r.ok);
    return r;
}

} // namespace

std::optional<double> typed_number(const QString& text) {
    const auto r = locale_reading(text, number_locale());
    if (!r || !r->ok || !std::isfinite(r->value) || !written_as_a_number(r->value))
        return std::nullopt;
    return r->value;
}

std::optional<OutOfReach> typed_number_out_of_reach(const QString& text) {
    const QLocale locale = number_locale();
    const auto r = locale_reading(text, locale);
    if (!r)
        return std::nullopt;
    const QString* s = &r->text;
    const double v = r->value;
    // "inf" and "nan" are read, but are no numbers anybody writes with digits.
    if (r->ok)
        return std::isfinite(v) && !written_as_a_number(v) ? std::optional(OutOfReach::TooLarge)
                                                           : std::nullopt;
    if (std::isinf(v))
        return OutOfReach::TooLarge;
    // A number nearer to 0 than any double is no number to the locale's reading either: the
    // text is one all the same when its digits and its exponent each are.
    const QString e = locale.exponential();
    const qsizetype at = s->lastIndexOf(e, -1, Qt::CaseInsensitive);
    if (e.isEmpty() || at <= 0)
        return std::nullopt;
    bool digits_ok = false, exponent_ok = false;
    locale.toDouble(s->left(at), &digits_ok);
    locale.toInt(s->mid(at + e.size()), &exponent_ok);
    if (!digits_ok || !exponent_ok)
        return std::nullopt;
    return OutOfReach::TooNearZero;
}

std::optional<double> typed_whole_number(const QString& text) {
    const auto v = typed_number(text);
    if (v && *v != std::floor(*v))
        return std::nullopt;
    return v;
}

bool belongs_to_a_number(char32_t c) {
    static const QSet<char32_t> marks = [] {
        // The apostrophe stands for the Swiss grouping mark on many keyboards.
        QSet<char32_t> m{U'\''};
        for (const QLocale& l : QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript,
                                                         QLocale::AnyTerritory))
            for (const QString& part :
                 {l.decimalPoint(), l.groupSeparator(), l.negativeSign(), l.positiveSign(),
                  l.exponential(), l.exponential().toLower()})
                for (const char32_t ch : part.toUcs4())
                    m.insert(ch);
        return m;
    }();
    return QChar::isDigit(c) || is_space_mark(c) || is_order_mark(c) || marks.contains(c);
}

double round_half_even(double value) {
    if (!std::isfinite(value))
        return value;
    return std::nearbyint(value) + 0.0; // the default rounding mode takes halves to even; no -0
}

double round_half_even(double value, int decimals) {
    if (!std::isfinite(value))
        return value;
    if (decimals <= 0)
        return round_half_even(value);
    Decimal d = to_decimal(value);
    if (d.point + decimals >= d.digits.size())
        return value; // nothing to round within the digits the number shows
    round_to(d, decimals, true);
    return decimal_value(d);
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
    const QString s = locale_text_to_c(text).trimmed();
    if (s.isEmpty())
        return std::nullopt;
    if (s.startsWith(QLatin1String("&H"), Qt::CaseInsensitive) ||
        s.startsWith(QLatin1String("&O"), Qt::CaseInsensitive)) {
        const QString digits = s.mid(2);
        qsizetype used = 0;
        const auto v = radix_value(digits, s[1].toUpper() == QLatin1Char('H') ? 16 : 8, &used);
        if (!v || digits.isEmpty() || used != digits.size())
            return std::nullopt;
        return v;
    }
    bool ok = false;
    const double v = s.toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

std::optional<int16_t> text_to_int16(const QString& text) {
    if (auto d = to_double(text))
        return to_int16(*d);
    if (auto b = to_bool(text))
        return static_cast<int16_t>(*b ? -1 : 0);
    return std::nullopt;
}

std::optional<int32_t> text_to_int32(const QString& text) {
    if (auto d = to_double(text))
        return to_int32(*d);
    if (auto b = to_bool(text))
        return *b ? -1 : 0;
    return std::nullopt;
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

QString bool_text(bool value) {
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

bool is_numeric(const QString& text) {
    return to_double(text).has_value();
}

QString number_text_c(double value) {
    return general_text(value, QStringLiteral("."));
}

std::optional<double> read_number_c(const QString& text) {
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok); // the C locale, no grouping: "1,5" is none
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

std::optional<double> stored_number(const QString& text) {
    if (const auto v = read_number_c(text))
        return v;
    return typed_number(text);
}

QString number_text(double value) {
    return general_text(value, number_separators().decimal);
}

namespace {

bool is_number_placeholder(QChar c) {
    return c == QLatin1Char('0') || c == QLatin1Char('#') || c == QLatin1Char('.') ||
           c == QLatin1Char(',');
}

QString format_with(double value, const QString& pattern, const QString& dec, const QString& thou) {
    if (pattern.isEmpty() || !std::isfinite(value))
        return general_text(value, dec);
    qsizetype first = -1, last = -1;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        if (is_number_placeholder(pattern[i])) {
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
    const QString whole_part = dot < 0 ? num : num.left(dot);
    const QString frac_part = dot < 0 ? QString() : num.mid(dot + 1);

    const int min_whole = static_cast<int>(whole_part.count(QLatin1Char('0')));
    const bool group = whole_part.contains(QLatin1Char(','));
    int max_frac = 0, min_frac = 0;
    for (QChar c : frac_part) {
        if (c == QLatin1Char('0') || c == QLatin1Char('#'))
            ++max_frac;
        if (c == QLatin1Char('0'))
            min_frac = max_frac;
    }

    Decimal d = to_decimal(value);
    round_to(d, max_frac, false);
    QString whole = whole_digits(d);
    while (whole.size() < min_whole)
        whole.prepend(QLatin1Char('0'));
    if (group && !thou.isEmpty() && whole.size() > 3) {
        QString grouped;
        for (qsizetype i = 0; i < whole.size(); ++i) {
            if (i > 0 && (whole.size() - i) % 3 == 0)
                grouped += thou;
            grouped += whole[i];
        }
        whole = grouped;
    }
    QString frac = fraction_digits(d, max_frac);
    while (frac.size() > min_frac && frac.endsWith(QLatin1Char('0')))
        frac.chop(1);
    QString out = whole;
    if (dot >= 0)
        out += dec + frac;
    const bool negative = value < 0 && !d.is_zero();
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

QString format_number(const QString& text, const QString& pattern) {
    const auto v = to_double(text);
    return v ? format_number(*v, pattern) : text;
}

QString format_text(const QString& text, const QString& pattern) {
    std::vector<qsizetype> places;
    for (qsizetype i = 0; i < pattern.size(); ++i)
        if (pattern[i] == QLatin1Char('@') || pattern[i] == QLatin1Char('&'))
            places.push_back(i);
    if (places.empty())
        return pattern + text;
    const auto n = static_cast<qsizetype>(places.size());
    QString out;
    qsizetype slot = 0;
    for (QChar c : pattern) {
        if (c != QLatin1Char('@') && c != QLatin1Char('&')) {
            out += c;
            continue;
        }
        if (slot == 0 && text.size() > n)
            out += text.left(text.size() - n);
        const qsizetype from =
            text.size() - (n - slot); // the slots take the text's last characters
        if (from >= 0)
            out += text[from];
        else if (c == QLatin1Char('@'))
            out += QLatin1Char(' ');
        ++slot;
    }
    return out;
}

namespace {

struct DateToken {
    QString kind; // the lower-case letters, "/" or ":", an am/pm form, or empty for literal text
    QString text; // literal text, or the am/pm form as written
};

bool letters_at(const QString& p, qsizetype i, QLatin1String what) {
    return p.mid(i, what.size()).compare(what, Qt::CaseInsensitive) == 0;
}

std::vector<DateToken> tokenize_date(const QString& p) {
    std::vector<DateToken> tokens;
    auto literal = [&](const QString& s) {
        if (!tokens.empty() && tokens.back().kind.isEmpty())
            tokens.back().text += s;
        else
            tokens.push_back({QString(), s});
    };
    qsizetype i = 0;
    while (i < p.size()) {
        const QChar c = p[i];
        if (c == QLatin1Char('"')) {
            const qsizetype close = p.indexOf(QLatin1Char('"'), i + 1);
            const qsizetype end = close < 0 ? p.size() : close;
            literal(p.mid(i + 1, end - i - 1));
            i = end + 1;
            continue;
        }
        if (c == QLatin1Char('\\')) {
            if (i + 1 < p.size())
                literal(p.mid(i + 1, 1));
            i += 2;
            continue;
        }
        if (letters_at(p, i, QLatin1String("am/pm"))) {
            tokens.push_back({QStringLiteral("ampm"), p.mid(i, 5)});
            i += 5;
            continue;
        }
        if (c == QLatin1Char('/') || c == QLatin1Char(':')) {
            tokens.push_back({QString(c), QString()});
            ++i;
            continue;
        }
        const QChar lc = c.toLower();
        qsizetype run = 0;
        while (i + run < p.size() && p[i + run].toLower() == lc)
            ++run;
        qsizetype take = 0;
        switch (lc.unicode()) {
        case u'd':
            take = run >= 6 ? 6 : std::min<qsizetype>(run, 4);
            break;
        case u'm':
            take = std::min<qsizetype>(run, 4);
            break;
        case u'y':
            take = run >= 4 ? 4 : run >= 2 ? 2 : 0;
            break;
        case u'h':
        case u'n':
        case u's':
            take = std::min<qsizetype>(run, 2);
            break;
        default:
            break;
        }
        if (take == 0) {
            literal(p.mid(i, run));
            i += run;
            continue;
        }
        tokens.push_back({QString(take, lc), QString()});
        i += take;
    }
    return tokens;
}

QString two(int v) {
    return QString::number(v).rightJustified(2, QLatin1Char('0'));
}

QString render_date(const QDate& date, const QTime& time, const QString& pattern, int depth);

QString named_date_format(const QDate& date, const QTime& time, const QString& pattern, int depth,
                          bool* named) {
    const auto& f = date_formats();
    const QString p = pattern.trimmed();
    *named = true;
    auto is = [&](const char* name) {
        return p.compare(QLatin1String(name), Qt::CaseInsensitive) == 0;
    };
    if (is("General Date")) {
        const bool midnight = time.hour() == 0 && time.minute() == 0 && time.second() == 0;
        if (date == QDate(1899, 12, 30) && !midnight)
            return render_date(date, time, f.long_time, depth + 1);
        if (midnight)
            return render_date(date, time, f.short_date, depth + 1);
        return render_date(date, time, f.short_date, depth + 1) + QLatin1Char(' ') +
               render_date(date, time, f.long_time, depth + 1);
    }
    if (is("Long Date"))
        return render_date(date, time, f.long_date, depth + 1);
    if (is("Short Date"))
        return render_date(date, time, f.short_date, depth + 1);
    if (is("Long Time"))
        return render_date(date, time, f.long_time, depth + 1);
    *named = false;
    return {};
}

QString render_date(const QDate& date, const QTime& time, const QString& pattern, int depth) {
    if (depth > 3) // a user's pattern that names itself
        return {};
    bool named = false;
    const QString n = named_date_format(date, time, pattern, depth, &named);
    if (named)
        return n;

    const auto& f = date_formats();
    std::vector<DateToken> tokens = tokenize_date(pattern);
    bool twelve_hour = false;
    for (const auto& t : tokens)
        twelve_hour = twelve_hour || t.kind == QLatin1String("ampm");

    // "m" means minutes right after an hour or right before seconds, literals between allowed.
    auto neighbour = [&](size_t k, int step) -> QString {
        for (auto j = static_cast<std::ptrdiff_t>(k) + step;
             j >= 0 && j < static_cast<std::ptrdiff_t>(tokens.size()); j += step) {
            const QString& kind = tokens[static_cast<size_t>(j)].kind;
            if (!kind.isEmpty() && kind != QLatin1String("/") && kind != QLatin1String(":"))
                return kind;
        }
        return {};
    };

    const int hour = time.hour();
    QString out;
    for (size_t k = 0; k < tokens.size(); ++k) {
        const DateToken& t = tokens[k];
        const QString& kind = t.kind;
        if (kind.isEmpty()) {
            out += t.text;
        } else if (kind == QLatin1String("/")) {
            out += f.date_separator;
        } else if (kind == QLatin1String(":")) {
            out += f.time_separator;
        } else if (kind == QLatin1String("ampm")) {
            out += t.text.mid(hour < 12 ? 0 : 3, 2); // as written: AM/PM or am/pm
        } else if (kind.startsWith(QLatin1Char('m')) && kind.size() <= 2 &&
                   (neighbour(k, -1).startsWith(QLatin1Char('h')) ||
                    neighbour(k, 1).startsWith(QLatin1Char('s')))) {
            out += kind.size() == 1 ? QString::number(time.minute()) : two(time.minute());
        } else if (kind == QLatin1String("d")) {
            out += QString::number(date.day());
        } else if (kind == QLatin1String("dd")) {
            out += two(date.day());
        } else if (kind == QLatin1String("ddd")) {
            out += f.names.dayName(date.dayOfWeek(), QLocale::ShortFormat);
        } else if (kind == QLatin1String("dddd")) {
            out += f.names.dayName(date.dayOfWeek(), QLocale::LongFormat);
        } else if (kind == QLatin1String("dddddd")) {
            out += render_date(date, time, f.long_date, depth + 1);
        } else if (kind == QLatin1String("m")) {
            out += QString::number(date.month());
        } else if (kind == QLatin1String("mm")) {
            out += two(date.month());
        } else if (kind == QLatin1String("mmm")) {
            out += f.names.monthName(date.month(), QLocale::ShortFormat);
        } else if (kind == QLatin1String("mmmm")) {
            out += f.names.monthName(date.month(), QLocale::LongFormat);
        } else if (kind == QLatin1String("yy")) {
            out += two(((date.year() % 100) + 100) % 100);
        } else if (kind == QLatin1String("yyyy")) {
            out += QString::number(date.year());
        } else if (kind.startsWith(QLatin1Char('h'))) {
            const int h = twelve_hour ? (hour % 12 == 0 ? 12 : hour % 12) : hour;
            out += kind.size() == 1 ? QString::number(h) : two(h);
        } else if (kind.startsWith(QLatin1Char('n'))) {
            out += kind.size() == 1 ? QString::number(time.minute()) : two(time.minute());
        } else if (kind.startsWith(QLatin1Char('s'))) {
            out += kind.size() == 1 ? QString::number(time.second()) : two(time.second());
        }
    }
    return out;
}

} // namespace

QString format_date(const QDateTime& when, const QString& pattern) {
    if (!when.date().isValid())
        return {};
    return render_date(when.date(), when.time().isValid() ? when.time() : QTime(0, 0), pattern, 0);
}

QString format_date(const QDate& when, const QString& pattern) {
    if (!when.isValid())
        return {};
    return render_date(when, QTime(0, 0), pattern, 0);
}

} // namespace platform
