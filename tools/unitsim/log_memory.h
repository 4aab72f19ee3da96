#pragma once
// The unit's data log: the set-up the program writes (channel masks, interval, wrapping), the
// start date, and the records themselves, kept as bytes in the layout the set-up gives, so that
// what the log information reports and what a download streams always agree.

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QString>
#include <vector>

namespace unitsim {

class LogMemory {
public:
    static constexpr int channel_count = 48;
    static constexpr int time_stamp_channel = 31;

    // Bytes a channel takes in a record (the time stamp's 3 included for channel 31).
    static int channel_width(int channel);
    // Whether a channel is switched on by the three mask words.
    static bool channel_enabled(int channel, quint32 mask1, quint32 mask2, quint32 mask3);
    static int record_bytes_for(quint32 mask1, quint32 mask2, quint32 mask3);

    quint32 mask1() const { return mask1_; }
    quint32 mask2() const { return mask2_; }
    quint32 mask3() const { return mask3_; }
    double interval_minutes() const { return interval_; }
    int wrapping() const { return wrapping_; }
    QDate start_date() const { return start_date_; }
    int record_bytes() const { return record_bytes_for(mask1_, mask2_, mask3_); }
    const std::vector<QByteArray>& records() const { return records_; }
    double memory_bytes() const { return memory_bytes_; }
    // Records the memory holds at the present record size.
    int capacity() const;

    // Set-up writes. A change of the record layout or interval empties the log, because records
    // already stored would no longer read as the new set-up says. The time stamp channel is
    // always logged, so its bit is kept on.
    void set_mask(int word, quint32 value);
    void set_interval(double minutes);
    void set_wrapping(int on);
    void set_memory_bytes(double bytes) { memory_bytes_ = bytes; }
    void set_start_date(QDate date) { start_date_ = date; }

    void clear(QDate today);
    // Fills the log with `count` records (at most what the memory holds) ending at `now`, one per
    // interval, with values of our own making; the start date becomes the first record's date.
    void simulate(int count, const QDateTime& now);
    void append_record(const QByteArray& record) { records_.push_back(record); }

    // D(D)MMYY, day without a leading zero, as the log header writes it.
    QString start_date_text() const;

    // The nine key=value lines of the log information, "LogRecords" last, CR LF between them
    // (no line end after the last).
    QByteArray loginfo_text(int unit_type, bool ma_input) const;
    // The "/getlog" answer without its final line end: ten header fields, then the records,
    // the first "$" right after the record count.
    QByteArray getlog_text(int log_type, int unit_type, bool ma_input) const;

    // The record the simulation makes for record number `index` at `when`.
    QByteArray make_record(int index, const QDateTime& when) const;

private:
    quint32 mask1_ = 1;     // level
    quint32 mask2_ = 32768; // time stamp
    quint32 mask3_ = 0;
    double interval_ = 15;
    int wrapping_ = 0;
    QDate start_date_ = QDate::currentDate();
    double memory_bytes_ = 262144;
    std::vector<QByteArray> records_;
};

} // namespace unitsim
