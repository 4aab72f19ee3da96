#include "log_stream.h"

#include <QFile>
#include <QList>
#include <algorithm>
#include <set>

namespace unitsim {

std::vector<PlannedWrite> plan_log_stream(const QByteArray& body, const QByteArray& line_end,
                                          const LogStreamOptions& o, double start_ms, int baud,
                                          double gap_ms) {
    QByteArray stream = body;
    if (o.trailing_comma)
        stream += ',';
    stream += line_end;
    if (o.stop_at >= 0)
        stream.truncate(std::min<qsizetype>(o.stop_at, stream.size()));

    std::set<qsizetype> cuts;
    for (qsizetype at : o.split_at)
        if (at > 0 && at < stream.size())
            cuts.insert(at);
    if (o.split_every > 0)
        for (qsizetype at = o.split_every; at < stream.size(); at += o.split_every)
            cuts.insert(at);
    if (o.stall_at > 0 && o.stall_at < stream.size())
        cuts.insert(o.stall_at);
    cuts.insert(stream.size());

    std::vector<PlannedWrite> writes;
    double t = start_ms;
    qsizetype from = 0;
    for (qsizetype cut : cuts) {
        if (cut <= from)
            continue;
        if (from > 0)
            t += from == o.stall_at ? o.stall_ms : gap_ms;
        auto piece = pace_segments({stream.mid(from, cut - from)}, t, baud, 0);
        if (!piece.empty())
            t = piece.back().at_ms;
        writes.insert(writes.end(), piece.begin(), piece.end());
        from = cut;
    }
    return writes;
}

void set_log_stream(Responder& responder, const LogStreamOptions& options) {
    if (!options.active()) {
        responder.set_log_stream_planner({});
        return;
    }
    Responder* r = &responder;
    responder.set_log_stream_planner(
        [r, options](const QByteArray& body, const QByteArray& line_end, double start_ms) {
            return plan_log_stream(body, line_end, options, start_ms, r->baud(), r->chunk_gap_ms());
        });
}

bool seed_log_from_file(LogMemory& log, const QString& path, QString* error) {
    auto fail = [&](const QString& why) {
        if (error)
            *error = path + ": " + why;
        return false;
    };
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(file.errorString());
    const QByteArray data = file.readAll();
    qsizetype end = 0;
    while (end < data.size() && data[end] != '\r' && data[end] != '\n')
        ++end;
    const QList<QByteArray> fields = data.left(end).split(',');
    if (fields.size() < 11)
        return fail("not a log file (fewer than eleven header fields)");
    bool ok[5] = {};
    const quint32 m1 = fields[4].trimmed().toUInt(&ok[0]);
    const quint32 m2 = fields[5].trimmed().toUInt(&ok[1]);
    const quint32 m3 = fields[6].trimmed().toUInt(&ok[2]);
    const double interval = fields[7].trimmed().toDouble(&ok[3]);
    const int wrapping = fields[8].trimmed().toInt(&ok[4]);
    const QByteArray date = fields[3].trimmed();
    if (!std::all_of(std::begin(ok), std::end(ok), [](bool b) { return b; }) ||
        date.size() < 5 || date.size() > 6)
        return fail("not a log file (its header does not read)");
    const int yy = date.right(2).toInt();
    const QDate start = QDate(yy < 30 ? 2000 + yy : 1900 + yy, 1, 1)
                            .addMonths(date.mid(date.size() - 4, 2).toInt() - 1)
                            .addDays(date.left(date.size() - 4).toInt() - 1);

    const int bytes = LogMemory::record_bytes_for(m1, m2 | 0x8000, m3);
    std::vector<QByteArray> records;
    auto take = [&](const QByteArray& field) {
        const QByteArray f = field.trimmed();
        if (f.size() == 2 * bytes + 1 && f.startsWith('$'))
            records.push_back(QByteArray::fromHex(f.mid(1)));
    };
    const qsizetype dollar = fields[10].indexOf('$');
    if (dollar >= 0)
        take(fields[10].mid(dollar));
    for (qsizetype i = 11; i < fields.size(); ++i)
        take(fields[i]);

    log.clear(start);
    log.set_mask(1, m1);
    log.set_mask(2, m2);
    log.set_mask(3, m3);
    log.set_interval(interval);
    log.set_wrapping(wrapping);
    log.clear(start);
    for (const QByteArray& r : records)
        log.append_record(r);
    return true;
}

} // namespace unitsim
