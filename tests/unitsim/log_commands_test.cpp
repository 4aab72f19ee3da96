// The unit's logger as the program's log set-up, log information, clear, simulate, clock and
// chart-unit commands see it: what the program writes is what it reads back, and a download
// streams records that fit the set-up.
#include "unit_test_support.h"

using unitsim::LogMemory;
using unitsim::UnitCore;
using unitsim::UnitKind;

namespace {

const QDateTime fixed_now(QDate(2026, 12, 5), QTime(14, 7, 30));

struct LoggedOnUnit {
    UnitCore unit;
    explicit LoggedOnUnit(UnitKind kind = UnitKind::Level) : unit(kind) {
        unit.set_now_source([] { return fixed_now; });
        unit.log().clear(fixed_now.date());
        unit.handle("/access:318406");
    }
};

// The log information's values by position, as the program takes them.
QStringList loginfo_values(UnitCore& unit) {
    QStringList values;
    for (const QString& line : ask(unit, "/LOGINFO").split("\r\n"))
        values << line.mid(line.indexOf('=') + 1);
    return values;
}

} // namespace

TEST(UnitLogger, RecordSizeFollowsTheChannelMasks) {
    // The time stamp alone, level, every channel that can be logged, channel 40 (word 3 bit 6),
    // channel 38 (word 3 bit 8), the four-byte totaliser, channels 32 and 33 that take no bytes.
    const struct {
        quint32 m1, m2, m3;
        int bytes;
    } table[] = {{0, 32768, 0, 3},
                 {65535, 65535, 65532, 93},
                 {0, 32768, 64, 5},
                 {0, 32768 + 256, 0, 7},
                 {0, 32768, 3, 3}};
    for (const auto& row : table)
        EXPECT_EQ(LogMemory::record_bytes_for(row.m1, row.m2, row.m3), row.bytes)
            << row.m1 << "/" << row.m2 << "/" << row.m3;
}

TEST(UnitLogger, ASimulatedLogDownloadsAsRecordsOfTheSetUpsSize) {
    LoggedOnUnit u(UnitKind::Flow);
    u.unit.set_simulated_records(120);
    // level and distance; flow (29) and the time stamp; volume 1&2 average (38)
    for (const char* write : {"/p151:3", "/p152:40960", "/p153:256", "/p154:30"})
        ask(u.unit, write);
    ASSERT_EQ(ask(u.unit, "/simlog:1"), "OK");
    const int record_bytes = 2 + 2 + 2 + 3 + 2;
    EXPECT_EQ(loginfo_values(u.unit)[8], "120");

    const QString stream = ask(u.unit, "/getlog");
    const QStringList fields = stream.split(',');
    ASSERT_EQ(fields.size(), 10 + 119)
        << "ten header fields; the first record is glued to the tenth";
    EXPECT_EQ(fields.mid(0, 9),
              QStringList({"0", "5", "0", "31226", "3", "40960", "256", "30", "0"}));
    EXPECT_TRUE(fields[9].startsWith("120$")) << "the record count, then the first record";
    QStringList records = fields.mid(10);
    records.prepend(fields[9].mid(3));
    // 119 half hours before 5 December 14:07 is 3 December 02:37: the start date. Records are
    // half an hour apart and end at the unit's present minute; the first one's day
    // count is 0 from the start date.
    int previous_minutes = -1;
    for (int i = 0; i < records.size(); ++i) {
        const QString& r = records[i];
        ASSERT_EQ(r.size(), 2 * record_bytes + 1) << i;
        ASSERT_TRUE(r.startsWith('$'));
        const QByteArray bytes = QByteArray::fromHex(r.mid(1).toLatin1());
        const int day = quint8(bytes[0]) * 16 + quint8(bytes[1]) / 16;
        const int hhmm = (quint8(bytes[1]) % 16) * 256 + quint8(bytes[2]);
        const int minutes = day * 1440 + hhmm / 100 * 60 + hhmm % 100;
        if (i == 0)
            EXPECT_EQ(day, 0);
        else
            EXPECT_EQ(minutes - previous_minutes, 30) << i;
        previous_minutes = minutes;
        const int level = quint8(bytes[3]) * 256 + quint8(bytes[4]);
        EXPECT_GT(level, 0) << i;
        EXPECT_LE(level, 50000) << i << ": a level the program reads as positive";
    }
    EXPECT_EQ(previous_minutes % 1440, 14 * 60 + 7);
}

TEST(UnitLogger, ALogNeverHoldsMoreThanTheMemoryAndAChangedSetUpEmptiesIt) {
    LoggedOnUnit u;
    u.unit.set_simulated_records(1000000);
    for (const char* command : {"/p151:65535", "/p152:65535", "/p153:65532", "/simlog:1"})
        ask(u.unit, command);
    EXPECT_EQ(ask(u.unit, "/p156"), QString::number(262144 / 93));
    EXPECT_EQ(ask(u.unit, "/p151:65535"), "OK");
    EXPECT_NE(ask(u.unit, "/p156"), "0") << "writing the same set-up again keeps the log";
    ask(u.unit, "/p151:1");
    EXPECT_EQ(ask(u.unit, "/p156"), "0") << "records of the old layout would not read";
}
