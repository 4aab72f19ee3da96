#include "log_memory.h"

#include "definitions.h"

#include <algorithm>
#include <cmath>

namespace unitsim {

namespace {

constexpr int widths[LogMemory::channel_count] = {
    2, 2, 1, 1, 1, 1, 1, 1, // point 1
    2, 2, 1, 1, 1, 1, 1, 1, // point 2
    1, 1, 1,                // analogue
    1, 1, 1,                // relays, inputs, status
    2, 2,                   // application levels
    4, 4, 4,                // totalisers 1
    2, 2,                   // volume 1
    2, 2,                   // flow 1
    3,                      // time stamp
    0, 0,                   // never logged
    4, 4, 4,                // totalisers 2
    2,                      // volume 2
    2, 2,                   // volume 1&2
    2, 2,                   // flow 2
    2, 2,                   // flow 1&2
    2,                      // velocity
    4, 4, 4,                // negative totalisers
};

// Bit of mask word 3 for channels 32..47: 38 and 39 sit above 40 and 41.
int word3_bit(int channel) {
    switch (channel) {
    case 38:
        return 8;
    case 39:
        return 9;
    case 40:
        return 6;
    case 41:
        return 7;
    default:
        return channel - 32;
    }
}

// A value of our own making for a channel, in the channel's raw integer form.
qint64 simulated_raw(int channel, int index, const QDateTime& when) {
    const double minutes = when.time().hour() * 60 + when.time().minute();
    const double day_phase = std::sin(2 * M_PI * minutes / 1440.0);
    const qint64 level = qint64(1500 + 800 * day_phase); // millimetres
    switch (channel) {
    case 0:
    case 8:
    case 22:
        return level;
    case 1:
    case 9:
        return 6000 - level;
    case 23:
        return qint64(40 * day_phase) & 0xFFFF; // signed difference
    case 2:
    case 10:
        return 80 + qint64(10 * day_phase);
    case 3:
    case 4:
    case 5:
    case 6:
    case 11:
    case 12:
    case 13:
    case 14:
        return 40 + (channel % 4) * 5;
    case 7:
    case 15:
        return (15 + qint64(8 * day_phase)) & 0xFF; // signed degrees
    case 16:
    case 17:
    case 18:
        return 40 + qint64((level - 700) * 160 / 1600); // mA x 10
    case 19:
        return (level > 2000 ? 1 : 0) | (level < 1000 ? 2 : 0);
    case 20:
    case 21:
        return 0;
    case 24:
    case 25:
    case 34:
    case 35:
    case 45:
    case 46:
        return 1000 + qint64(index) * 37;
    case 26:
    case 36:
    case 47:
        return qint64(index % 96) * 37;
    case 27:
    case 28:
    case 37:
    case 38:
    case 39:
        return level * 2;
    case 29:
    case 30:
    case 40:
    case 41:
    case 42:
    case 43:
        return 1200 + qint64(500 * day_phase);
    case 44:
        return 1500 + qint64(300 * day_phase); // mm/s
    default:
        return 0;
    }
}

void put_raw(QByteArray& out, qint64 raw, int width) {
    switch (width) {
    case 1:
        out.append(char(raw & 0xFF));
        break;
    case 2:
        out.append(char((raw >> 8) & 0xFF));
        out.append(char(raw & 0xFF));
        break;
    case 3:
        out.append(char((raw >> 16) & 0xFF));
        out.append(char((raw >> 8) & 0xFF));
        out.append(char(raw & 0xFF));
        break;
    case 4: { // two 16-bit words, the first counting ten-thousands
        const qint64 high = (raw / 10000) & 0xFFFF;
        const qint64 low = raw % 10000;
        put_raw(out, high, 2);
        put_raw(out, low, 2);
        break;
    }
    default:
        break;
    }
}

} // namespace

int LogMemory::channel_width(int channel) {
    return channel >= 0 && channel < channel_count ? widths[channel] : 0;
}

bool LogMemory::channel_enabled(int channel, quint32 mask1, quint32 mask2, quint32 mask3) {
    if (channel < 0 || channel >= channel_count)
        return false;
    if (channel < 16)
        return mask1 & (1u << channel);
    if (channel < 32)
        return mask2 & (1u << (channel - 16));
    return mask3 & (1u << word3_bit(channel));
}

int LogMemory::record_bytes_for(quint32 mask1, quint32 mask2, quint32 mask3) {
    int bytes = 0;
    for (int c = 0; c < channel_count; ++c)
        if (c == time_stamp_channel || channel_enabled(c, mask1, mask2, mask3))
            bytes += channel_width(c);
    return bytes;
}

int LogMemory::capacity() const {
    const int rb = record_bytes();
    return rb > 0 ? int(memory_bytes_ / rb) : 0;
}

void LogMemory::set_mask(int word, quint32 value) {
    value &= 0xFFFF;
    if (word == 2)
        value |= 0x8000;
    quint32& target = word == 1 ? mask1_ : word == 2 ? mask2_ : mask3_;
    if (target != value) {
        target = value;
        records_.clear();
    }
}

void LogMemory::set_interval(double minutes) {
    if (interval_ != minutes) {
        interval_ = minutes;
        records_.clear();
    }
}

void LogMemory::set_wrapping(int on) {
    wrapping_ = on ? 1 : 0;
}

void LogMemory::clear(QDate today) {
    records_.clear();
    start_date_ = today;
}

QByteArray LogMemory::make_record(int index, const QDateTime& when) const {
    QByteArray rec;
    const qint64 days = std::clamp<qint64>(start_date_.daysTo(when.date()), 0, 4095);
    const int hhmm = when.time().hour() * 100 + when.time().minute();
    rec.append(char((days >> 4) & 0xFF));
    rec.append(char(((days & 0xF) << 4) | ((hhmm >> 8) & 0xF)));
    rec.append(char(hhmm & 0xFF));
    for (int c = 0; c < channel_count; ++c) {
        if (c == time_stamp_channel || !channel_enabled(c, mask1_, mask2_, mask3_))
            continue;
        put_raw(rec, simulated_raw(c, index, when), channel_width(c));
    }
    return rec;
}

void LogMemory::simulate(int count, const QDateTime& now) {
    records_.clear();
    count = std::clamp(count, 0, capacity());
    // An interval of 0 would put every record at the same minute.
    const qint64 step_s = qint64(std::max(1.0, interval_) * 60);
    QDateTime last = now;
    last.setTime(QTime(now.time().hour(), now.time().minute()));
    const QDateTime first = last.addSecs(-step_s * std::max(0, count - 1));
    start_date_ = first.date();
    for (int i = 0; i < count; ++i)
        records_.push_back(make_record(i, first.addSecs(step_s * i)));
}

QString LogMemory::start_date_text() const {
    return QString("%1%2%3")
        .arg(start_date_.day())
        .arg(start_date_.month(), 2, 10, QChar('0'))
        .arg(start_date_.year() % 100, 2, 10, QChar('0'));
}

QByteArray LogMemory::loginfo_text(int unit_type, bool ma_input) const {
    const QStringList lines = {
        QString("UnitType=%1").arg(unit_type),
        QString("mAInput=%1").arg(ma_input ? 1 : 0),
        QString("StartDate=%1").arg(start_date_text()),
        QString("ChannelMask1=%1").arg(mask1_),
        QString("ChannelMask2=%1").arg(mask2_),
        QString("ChannelMask3=%1").arg(mask3_),
        QString("LogInterval=%1").arg(number_text(interval_)),
        QString("LogWrap=%1").arg(wrapping_),
        QString("LogRecords=%1").arg(records_.size()),
    };
    return lines.join("\r\n").toLatin1();
}

QByteArray LogMemory::getlog_text(int log_type, int unit_type, bool ma_input) const {
    QByteArray out = QString("%1,%2,%3,%4,%5,%6,%7,%8,%9,%10")
                         .arg(log_type)
                         .arg(unit_type)
                         .arg(ma_input ? 1 : 0)
                         .arg(start_date_text())
                         .arg(mask1_)
                         .arg(mask2_)
                         .arg(mask3_)
                         .arg(number_text(interval_))
                         .arg(wrapping_)
                         .arg(records_.size())
                         .toLatin1();
    out.reserve(out.size() + qsizetype(records_.size()) * (2 * record_bytes() + 2));
    for (size_t i = 0; i < records_.size(); ++i) {
        if (i > 0)
            out.append(',');
        out.append('$');
        out.append(records_[i].toHex().toUpper());
    }
    return out;
}

} // namespace unitsim
