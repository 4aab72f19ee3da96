#pragma once
// The rules behind the exchanges with the unit's logger that need no link: the check of the
// set-up page's boxes and the messages of the set-up, the unit's clock and date order, the log
// information reply and how its values fill the page, and the days of logging left.

#include <QDateTime>
#include <QString>
#include <array>
#include <optional>

// True when `text` is a plausible log start date of 5 or 6 digits, D(D)MMYY: day 0..31, month
// 0..12, year 0..99.
bool valid_date(const QString& text);

namespace logsetup {

// What the unit keeps of its logger's set-up, as the records of P151-P154 give it: a mask word
// (P151-P153) is a whole number of 16 bits, the log interval (P154) whole minutes up to a day, as
// a record's time stamp counts them. The page also takes an interval of 0, which the set-up asks
// about before it goes on.
inline constexpr double LARGEST_MASK_WORD = 65535;
inline constexpr double LONGEST_LOG_INTERVAL = 1440;

// The interval the page's box takes from `text`, typed in the locale's notation
// (platform::typed_whole_number): a whole number of minutes from 0 to LONGEST_LOG_INTERVAL;
// nullopt for anything else.
std::optional<double> typed_log_interval(const QString& text);

// The outcome of checking the set-up page's mask and interval boxes, each read as a typed number
// (platform::typed_whole_number) and held to what the unit keeps. The message is laid out for the
// message box and carries its heading even when the boxes pass. When they pass, the values are
// those the set-up writes, as the unit takes them: read now, before the unit's log is cleared, so
// that nothing typed or ticked while the set-up waits for the unit changes what it sends.
struct SetupCheck {
    bool valid = true;
    QString message;
    std::array<QString, 3> masks; // P151-P153
    QString interval;             // P154
    double interval_minutes = 0;
};
SetupCheck check_setup_entries(const QString& mask1, const QString& mask2, const QString& mask3,
                               const QString& interval);

// The warning for an interval of 0 minutes, and the confirmation before the set-up.
QString zero_interval_warning();
QString setup_confirmation();

// The refusal of a set-up write ("/p154:15", "/p931:120526") that the unit answered "NO": the
// parameter and the value, and that the unit's log has been cleared and logging is not set up.
QString refused_setup_write_message(const QString& command);

// The date order a "/p933" reply names ("1", "2" or "3" exactly); nullopt for any other reply.
std::optional<QString> date_format_from_reply(const QString& reply);

// `when` as the unit's clock takes it: the date as two digits each for day, month and year in
// the order `format` gives ("DDMMYY", "MMDDYY", "YYMMDD"), the time as HHMM (hours 00..23).
QString unit_date_digits(const QDateTime& when, const QString& format);
QString unit_time_digits(const QDateTime& when);

// The question beside the unit's and the PC's clocks that offers to set the unit's clock.
QString clock_question(const QString& format, const QString& unit_date, const QString& unit_time,
                       const QDateTime& now);

// The refusal when the unit is not of the model or mA option the page shows. `reported_model`
// is the caption of the unit's model (its number when the page has no such model).
QString model_mismatch_message(bool model_differs, const QString& reported_model, bool ma_differs,
                               bool unit_has_ma);

// The nine values of a "/LOGINFO" reply by position (the text after each line's first "="):
// unit type, mA input, start date, mask words 1..3, interval, wrapping, records. nullopt when the
// reply has fewer than nine lines.
using LogInfoValues = std::array<QString, 9>;
std::optional<LogInfoValues> parse_loginfo_reply(const QString& reply);

// The text of read-out unit_log_boxes[i], i = 0..6, for the value `v` the unit gave: a "/LOGINFO"
// value shows its number (a start date loses its leading zero), a single read shows as it came; the
// wrapping shows its word and the record count a whole number, empty for none.
QString text4_value(int index, const QString& v, bool from_loginfo);

// What the read-outs hold, as the log globals take it (the wrapping is taken when its box is
// filled, since the box shows a word).
struct LogInfoFigures {
    QString log_start_date; // "000000" when the box holds no number
    int32_t channel_mask_1 = 0;
    int32_t channel_mask_2 = 0;
    int32_t channel_mask_3 = 0;
    double log_interval = 0;
    double log_records = 0;
};
LogInfoFigures log_info_figures(const std::array<QString, 7>& text4);

// The wrapping value a reply gives: its number, 0 when it is none.
double wrapping_value(const QString& v);

// Days of logging the unit's memory still holds at the current records, size and interval; 0 once
// it is full.
double remaining_log_days(double memory_bytes, int record_bytes, double records,
                          double interval_minutes);

} // namespace logsetup
