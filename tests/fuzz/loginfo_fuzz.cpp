// The "/LOGINFO" reply: its nine values do not depend on the reply's line-end style, and a reply
// built from the values parses back to them. Every value goes through the read-out rules.
#include "fuzz_support.h"

#include "logging/unit_log_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString reply = fuzz::latin1(data, size);
    const auto values = logsetup::parse_loginfo_reply(reply);

    QString cr = reply;
    cr.replace(QLatin1String("\r\n"), QLatin1String("\r"));
    FUZZ_CHECK(logsetup::parse_loginfo_reply(cr) == values, "CR LF read otherwise than CR");
    QString lf = reply;
    lf.replace('\r', '\n');
    FUZZ_CHECK(logsetup::parse_loginfo_reply(lf) == values, "LF read otherwise than CR");
    if (!values)
        return 0;

    QString rebuilt;
    for (const QString& v : *values)
        rebuilt += QStringLiteral("Key=") + v + QStringLiteral("\r\n");
    FUZZ_CHECK(logsetup::parse_loginfo_reply(rebuilt) == values, "values do not parse back");
    for (int i = 0; i <= 6; ++i) {
        (void)logsetup::text4_value(i, (*values)[static_cast<size_t>(i) + 2], true);
        (void)logsetup::text4_value(i, (*values)[static_cast<size_t>(i) + 2], false);
    }
    (void)logsetup::wrapping_value((*values)[7]);
    return 0;
}
