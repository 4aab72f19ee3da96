#include "echo/echo_recording.h"

#include "echo/echo_state.h"
#include "echo/echo_trace.h"
#include "platform/clock.h"
#include "platform/vb.h"

#include <QBuffer>
#include <QIODevice>
#include <QTime>
#include <cmath>

namespace {

struct DayClock {
    double origin = QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
    QDate origin_date = QDate::currentDate();
    double program_zero = platform::seconds();
};

DayClock& day_clock() {
    static DayClock c;
    return c;
}

double seconds_since_origin_midnight() {
    const DayClock& c = day_clock();
    return c.origin + (platform::seconds() - c.program_zero);
}

} // namespace

double echo_time_of_day() {
    return std::fmod(seconds_since_origin_midnight(), 86400.0);
}

void set_time_of_day_origin(double seconds_since_midnight) {
    DayClock& c = day_clock();
    c.origin = seconds_since_midnight;
    c.program_zero = platform::seconds();
}

QDateTime echo_now() {
    const double s = seconds_since_origin_midnight();
    const QDate date = day_clock().origin_date.addDays(static_cast<qint64>(s / 86400.0));
    return QDateTime(date, QTime(0, 0).addMSecs(static_cast<int>(std::fmod(s, 86400.0) * 1000)));
}

bool interval_due(double& last_time, double now, double interval) {
    if (static_cast<float>(last_time) > static_cast<float>(now))
        last_time = now;
    if (now - last_time > interval) {
        last_time = now;
        return true;
    }
    return false;
}

QString record_date_text(const QDate& date) {
    QString pattern = platform::date_formats().short_date;
    if (!pattern.contains(QLatin1String("yyyy"), Qt::CaseInsensitive))
        pattern.replace(QLatin1String("yy"), QLatin1String("yyyy"), Qt::CaseInsensitive);
    QString text = platform::format_date(date, pattern).trimmed();
    // The player finds the fields before the first "T" and splits them at ",".
    if (text.contains(QLatin1Char(',')) || text.contains(QLatin1Char('T')) || text.isEmpty())
        text = date.toString(QStringLiteral("yyyy-MM-dd"));
    return text;
}

QString record_time_text(const QTime& time) {
    return time.toString(QStringLiteral("HH:mm:ss"));
}

QString record_line(const RecordLineValues& v) {
    QStringList f;
    f << record_date_text(v.when.date()) << record_time_text(v.when.time());
    for (double n : {v.status, v.empty_distance, v.level, v.confidence, v.strength, v.average_noise,
                     v.peak_noise, v.temperature})
        f << platform::number_text_c(n);
    f << v.trace_text;
    return f.join(QLatin1Char(','));
}

PlayedLine read_played_line(const QString& line) {
    PlayedLine p;
    const qsizetype t = line.indexOf(QLatin1Char('T'));
    if (t == 0) {
        p.unreadable = true;
        return p;
    }
    if (t > 0) {
        p.has_fields = true;
        QString lead = line.left(t - 1);
        for (QString& field : p.fields)
            field = pop_csv_field(lead);
    }
    struct Mark {
        const char* text;
        int trace;
    };
    const Mark marks[] = {{"$A", 1}, {"$B", 2}, {"$F", 3}, {"$D", 3},
                          {"$E", 4}, {"$C", 4}, {"$R", 0}};
    for (const Mark& m : marks) {
        const qsizetype at = line.indexOf(QLatin1String(m.text));
        if (at < 0)
            continue;
        if (m.trace == 0) {
            p.kind = PlayedLine::Kind::Span;
            const QStringList parts = line.mid(at + 2).split(QLatin1Char(','));
            if (parts.size() == 4) {
                std::array<double, 4> span{};
                for (size_t i = 0; i < 4; ++i)
                    span[i] = platform::val(parts[static_cast<int>(i)]);
                p.span = span;
            }
        } else {
            p.kind = PlayedLine::Kind::Trace;
            p.trace = m.trace;
            p.reply = line.mid(line.indexOf(QLatin1Char('$')));
        }
        return p;
    }
    return p;
}

void apply_played_line(const PlayedLine& p, EchoState& e) {
    if (p.unreadable)
        return;
    if (p.has_fields)
        e.playback_fields = p.fields;
    if (p.kind == PlayedLine::Kind::Span && p.span)
        e.span_values = *p.span;
    if (p.kind == PlayedLine::Kind::Trace && p.trace >= 1 && p.trace <= TRACE_KINDS)
        parse_trace_reply(p.reply, e.header, e.traces.column[static_cast<size_t>(p.trace - 1)]);
}

QByteArray next_played_line(QIODevice& file) {
    QByteArray line;
    char c = 0;
    while (file.getChar(&c)) {
        if (c == '\n')
            break;
        if (c == '\r') {
            char next = 0;
            if (file.peek(&next, 1) == 1 && next == '\n')
                file.getChar(&next);
            break;
        }
        line += c;
    }
    return line;
}

QByteArray saved_recording(const QByteArray& recording) {
    QByteArray copy(recording);
    QBuffer in(&copy);
    in.open(QIODevice::ReadOnly);
    QByteArray saved;
    saved.reserve(recording.size() + recording.size() / 64 + 2);
    while (!in.atEnd())
        saved += next_played_line(in) + "\r\n";
    return saved;
}

int playback_progress_maximum(qint64 bytes) {
    return static_cast<int>(bytes / 1412) + 3;
}
