// The unit's "/sendall" reply: whatever arrives, only parameters 20..999 are named, every item
// between the two ends is either read or counted as skipped, and the items read come back the same
// when written out again in the unit's own form. What the read keeps of each item is the answer
// as it stands, or "NO" and no value, and a parameter file holding it reads back the same.
#include "fuzz_support.h"

#include "parameters/parameter_transfer.h"
#include "parameters/parameter_values.h"
#include "platform/vb.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString reply = fuzz::latin1(data, size);
    const SendallReply r = parse_sendall_reply(reply);
    for (const SendallItem& item : r.items)
        FUZZ_REQUIRE(item.number >= 20 && item.number <= 999 &&
                     !item.value.contains(QLatin1Char(',')) &&
                     !item.value.contains(QLatin1Char('|')));
    FUZZ_REQUIRE(static_cast<int>(r.items.size()) + r.skipped == std::max(0, r.last_index - 1));

    QString again = QStringLiteral("SENDALL");
    for (const SendallItem& item : r.items)
        again += QLatin1Char(',') + QString::number(item.number) + QLatin1Char(':') + item.value;
    again += QStringLiteral(",END");
    const SendallReply back = parse_sendall_reply(again);
    FUZZ_CHECK(back.skipped == 0 && back.items.size() == r.items.size(),
               "items lost once written out");
    for (size_t i = 0; i < r.items.size(); ++i)
        FUZZ_CHECK(std::tie(back.items[i].number, back.items[i].value) ==
                       std::tie(r.items[i].number, r.items[i].value),
                   "an item read otherwise once written out");

    // A reply is one line: the link never hands on a line end inside it.
    for (const SendallItem& item : r.items) {
        if (item.value.contains(QLatin1Char('\r')) || item.value.contains(QLatin1Char('\n')))
            continue;
        const UnitAnswer a = unit_answer(item.number, item.value);
        FUZZ_CHECK(a.holds_value ? a.text == item.value.trimmed() && a.value != NO_VALUE
                                 : a.text == QLatin1String("NO") && a.value == NO_VALUE,
                   "an answer is kept as it stands, or as no value");
        FUZZ_CHECK(holds_unit_value(item.number, a.text) == a.holds_value &&
                       (!a.holds_value || platform::val(a.text) == a.value),
                   "a kept answer reads back from a file as what it was");
    }
    return 0;
}
