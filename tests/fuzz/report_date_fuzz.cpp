// The report's date boxes: whatever the user types, reading never fails badly, a date it reads is
// a real one, and the box text made from it reads back as the same day in every date order. The
// invisible marks of right-to-left dates never change what is read, and a digit of another script
// never stands between the numbers as their separator.
#include "fuzz_support.h"

#include "platform/vb.h"
#include "reports/report_time.h"

namespace {

// The text with the character after its first run of ASCII digits turned into an Arabic-Indic
// digit; empty when there is no such character.
QString other_digit_after_first_number(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && !(text[i] >= u'0' && text[i] <= u'9'))
        ++i;
    while (i < text.size() && text[i] >= u'0' && text[i] <= u'9')
        ++i;
    if (i >= text.size())
        return {};
    QString out = text;
    out[i] = QChar(0x0663);
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const char* const orders[] = {"dd/mm/yyyy",    "mm/dd/yyyy",  "yyyy-mm-dd",
                                         "dd.mm.yy",      "d/m/yy",      "d. m. yyyy",
                                         "yyyy. mm. dd.", "yyyy. m. d.", "d\u200F/m\u200F/yyyy"};
    if (size == 0)
        return 0;
    platform::date_formats().short_date = QString::fromUtf8(orders[data[0] % std::size(orders)]);
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data + 1),
                                           static_cast<qsizetype>(size - 1));
    const auto day = reports::parse_date_text(text);

    QString marked = text;
    marked.insert((data[0] / 16) % (text.size() + 1), QChar(0x200F));
    FUZZ_CHECK(reports::parse_date_text(marked) == day, "a right-to-left mark changed the date");
    if (!day)
        return 0;
    const QDateTime when = reports::datetime_from_serial(static_cast<double>(*day));
    FUZZ_CHECK(when.date().isValid() && when.date().year() >= 100 && when.date().year() <= 9999,
               "a date read that is no real date");
    const auto again = reports::parse_date_text(reports::date_box_text(static_cast<double>(*day)));
    FUZZ_CHECK(again && *again == *day, "the box text reads back as another day");
    const auto with_time = reports::parse_date_text(text.trimmed() + QStringLiteral(" 13:45:00"));
    FUZZ_CHECK(with_time && *with_time == *day, "a time after the date changed the day");
    FUZZ_CHECK(!reports::parse_date_text(other_digit_after_first_number(text)),
               "a digit of another script was read as a separator");
    return 0;
}
