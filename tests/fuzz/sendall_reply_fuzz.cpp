// The unit's "/sendall" reply: whatever arrives, only parameters 20..999 are named, every item
// between the two ends is either read or counted as skipped, and the items read come back the same
// when written out again in the unit's own form.
#include "parameters/parameter_transfer.h"

#include <QString>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString reply =
        QString::fromLatin1(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const SendallReply r = parse_sendall_reply(reply);
    for (const SendallItem& item : r.items)
        if (item.number < 20 || item.number > 999 || item.value.contains(QLatin1Char(',')) ||
            item.value.contains(QLatin1Char('|')))
            std::abort();
    const int between = r.last_index > 1 ? r.last_index - 1 : 0;
    if (static_cast<int>(r.items.size()) + r.skipped != between)
        std::abort();

    QString again = QStringLiteral("SENDALL");
    for (const SendallItem& item : r.items)
        again += QLatin1Char(',') + QString::number(item.number) + QLatin1Char(':') + item.value;
    again += QStringLiteral(",END");
    const SendallReply back = parse_sendall_reply(again);
    if (back.skipped != 0 || back.items.size() != r.items.size())
        std::abort();
    for (size_t i = 0; i < r.items.size(); ++i)
        if (back.items[i].number != r.items[i].number || back.items[i].value != r.items[i].value)
            std::abort();
    return 0;
}
