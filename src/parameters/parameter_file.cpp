#include "parameters/parameter_file.h"

#include "link/link_state.h"
#include "parameters/parameter_tooltips.h"
#include "parameters/parameter_values.h"
#include "platform/dialogs.h"
#include "platform/text_file.h"
#include "platform/vb.h"
#include "shell/definitions_table.h"

#include <algorithm>
#include <set>

namespace {

// A value text that holds no value takes the value, or "NO", in the record itself.
void settle_value_text(int P, DefinitionRecord& r) {
    if (r.value_text == QLatin1String("-999999") || r.value_text.trimmed().isEmpty() ||
        carries_marker(P, r.value_text, "Text"))
        r.value_text =
            r.present ? platform::number_text_c(r.unit_value).trimmed() : QStringLiteral("NO");
}

} // namespace

QByteArray par_line() {
    QString line;
    line.reserve(PAR_FIELDS * 6);
    for (int P = PAR_FIRST; P <= PAR_LAST; ++P) {
        DefinitionRecord& r = definitions_table()[static_cast<size_t>(P)];
        settle_value_text(P, r);
        QString v = file_value_text(P, r.value_text.trimmed());
        if (carries_marker(P, v, "Text"))
            v = QStringLiteral("NO");
        // A field must not carry the file's separator or a line end into the next field.
        v.replace(QLatin1Char(','), QLatin1Char(' '));
        v.remove(QLatin1Char('\r'));
        v.remove(QLatin1Char('\n'));
        line += v;
        line += QLatin1Char(',');
    }
    // Windows-1252 as the files always were, unless those bytes would read back as other text
    // (they can form valid UTF-8, which the reader prefers).
    const auto bytes = platform::encode_windows1252(line);
    return bytes && platform::decode_text(*bytes) == line ? *bytes : line.toUtf8();
}

bool write_par_file(const QString& path) {
    return platform::write_file_atomically(path, par_line());
}

// ---- Listings

namespace {

const QString RULE = QString(70, QLatin1Char('-'));
const QString CRLF = QStringLiteral("\r\n");

DefinitionRecord& file_record(int P) {
    return definitions_table()[static_cast<size_t>(P)];
}

QString listing_head(const QString& path, const QDateTime& saved_on) {
    return RULE + CRLF + QStringLiteral("File Name : ") + path + CRLF +
           QStringLiteral("Saved on ") +
           platform::format_date(saved_on, QStringLiteral("Short Date")) + QLatin1Char(' ') +
           platform::format_date(saved_on, QStringLiteral("Long Time")) + CRLF + RULE + CRLF;
}

QString csv_field(const QString& text, QChar separator) {
    if (!text.contains(separator) && !text.contains(QLatin1Char('"')) &&
        !text.contains(QLatin1Char('\r')) && !text.contains(QLatin1Char('\n')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

// Puts `text` at `column` (from 1) of the last line of `out`; a line that already reaches the
// column continues on a new line.
void put_at(QString& out, qsizetype line_start, int column, const QString& text) {
    qsizetype length = out.size() - line_start;
    if (length >= column) {
        out += CRLF;
        length = 0;
    }
    out += QString(column - 1 - length, QLatin1Char(' '));
    out += text;
}

} // namespace

bool listed_in_file(int P) {
    const DefinitionRecord& r = file_record(P);
    const QString v = r.value_text.trimmed();
    return !v.isEmpty() && !carries_marker(P, v, "NO") && !carries_marker(P, v, "Text") &&
           !r.text.trimmed().isEmpty();
}

QString csv_listing(const QString& path, const QDateTime& saved_on, int language_index) {
    const QChar sep =
        language_index >= 2 && language_index <= 4 ? QLatin1Char(';') : QLatin1Char(',');
    QString out =
        listing_head(path, saved_on) + QStringLiteral("Par,Description,Value") + CRLF + RULE + CRLF;
    for (int P = PAR_FIRST; P <= PAR_LAST; ++P) {
        DefinitionRecord& r = file_record(P);
        settle_value_text(P, r);
        if (!listed_in_file(P))
            continue;
        // A text of the unit's may hold the separator or a quote as well.
        out += QString::number(P) + sep + csv_field(r.text, sep) + sep +
               csv_field(file_value_text(P, r.value_text.trimmed()), sep) + CRLF;
    }
    return out;
}

QString txt_listing(const QString& path, const QDateTime& saved_on) {
    QString out = listing_head(path, saved_on);
    qsizetype line = out.size();
    out += QStringLiteral("Par");
    put_at(out, line, 10, QStringLiteral("Description"));
    put_at(out, line, 40, QStringLiteral("Value"));
    out += CRLF + RULE + CRLF;
    for (int P = PAR_FIRST; P <= PAR_LAST; ++P) {
        DefinitionRecord& r = file_record(P);
        settle_value_text(P, r);
        if (!listed_in_file(P))
            continue;
        line = out.size();
        out += QString::number(P);
        put_at(out, line, 10, r.text);
        const qsizetype last_break = out.lastIndexOf(CRLF);
        put_at(out, last_break >= line ? last_break + 2 : line, 50,
               file_value_text(P, r.value_text.trimmed()));
        out += CRLF;
    }
    return out;
}

// ---- Reading

namespace {

// An acknowledgement where a value belongs: the unit's "OK" was taken for its answer (a text of
// the unit's that reads "OK" holds a value, holds_unit_value).
bool acknowledgement(int P, const QString& field) {
    return carries_marker(P, field, "OK");
}

// "NO" marks a parameter the unit lacks; in a text of the unit's, "Text" marks one never filled
// in. Either stands for no value, as a save writes it.
bool lacks_marker(int P, const QString& field) {
    return !acknowledgement(P, field) &&
           (carries_marker(P, field, "NO") ||
            (holds_text_value(P) && carries_marker(P, field, "Text")));
}

// An empty field or an acknowledgement: nothing that could be a value.
bool empty_or_acknowledged(int P, const QString& field) {
    return field.isEmpty() || acknowledgement(P, field);
}

// " P25 = \"\",": an entry of the empty or invalid fields, each ending with its comma.
QString par_entry(int P, const QString& text) {
    return QStringLiteral(" P") + QString::number(P) + QStringLiteral(" = \"") + text +
           QStringLiteral("\",");
}

// "P41 = \"3x3\"" added to a list of values, the entries separated by commas.
void add_value_entry(QStringList& list, int P, const QString& text) {
    list << (list.isEmpty() ? QStringLiteral(" P") : QStringLiteral(", P")) + QString::number(P) +
                QStringLiteral(" = \"") + text + QLatin1Char('"');
}

} // namespace

QString named_entries(const QStringList& entries) {
    QString out = entries.mid(0, PAR_MESSAGE_NAMED).join(QString());
    if (entries.size() > PAR_MESSAGE_NAMED)
        out += QLatin1Char(' ') +
               ui_text(2271, QStringLiteral("and %1 more")).arg(entries.size() - PAR_MESSAGE_NAMED);
    return out;
}

namespace {

// A value of the table outside its parameter's limits. Limits that are no numbers, the reset
// marker on both sides and the default (which passes whatever the limits say) are left alone, as
// the edit check leaves them; lengths are compared only in metres, the unit of their limits. An
// option's limits are those the edit check takes from the options shown: the record's own fall
// one short of the last option.
bool outside_limits(int P) {
    DefinitionRecord r = file_record(P);
    set_lookup_param_range(r);
    if (!r.present || r.read_only || !is_plain_number(r.value_text) ||
        !is_plain_number(r.min_text) || !is_plain_number(r.max_text))
        return false;
    const double min = platform::val(r.min_text), max = platform::val(r.max_text);
    if ((min == NO_VALUE && max == NO_VALUE) || min > max)
        return false;
    if (is_length_record(P) && file_record(104).unit_value != 1)
        return false;
    const double v = platform::val(r.value_text);
    return (v < min || v > max) && v != r.default_value;
}

} // namespace

ParParse parse_par_line(const QString& line) {
    ParParse out;
    const QStringList fields = line.split(QLatin1Char(','));
    for (int P = PAR_FIRST; P <= PAR_LAST; ++P) {
        const qsizetype k = P - PAR_FIRST;
        ParField f;
        f.number = P;
        // The field after the last "," is what follows the line's end: a line of 980 fields has
        // one more (empty) piece.
        f.in_line = k < fields.size() - 1 || (k == fields.size() - 1 && !fields[k].isEmpty());
        if (f.in_line) {
            f.text = fields[k];
            f.holds_value = holds_unit_value(P, f.text);
            if (!f.holds_value && !lacks_marker(P, f.text)) {
                out.rejected = true;
                if (empty_or_acknowledged(P, f.text))
                    out.rejected_fields << par_entry(P, f.text);
            }
        } else {
            out.rejected = true;
            ++out.missing;
        }
        out.fields.push_back(f);
    }
    return out;
}

ParParse parse_parameter_line(const QString& line) {
    const ParParse parse = parse_par_line(line);
    for (const ParField& f : parse.fields) {
        DefinitionRecord& r = file_record(f.number);
        r.present = f.holds_value;
        if (f.holds_value) {
            r.value_text = f.text;
            // The value of the text as a save writes it back (trimmed), so that the set reopens
            // to the same values.
            r.unit_value = platform::val(f.text.trimmed());
        } else {
            // A value the file does not hold is never made up, nor kept from the set before.
            r.value_text = f.in_line && lacks_marker(f.number, f.text) &&
                                   carries_marker(f.number, f.text, "NO")
                               ? f.text
                               : QStringLiteral("NO");
            r.unit_value = NO_VALUE;
        }
    }
    LinkState& L = link();
    const auto value = [](int P) { return file_record(P).unit_value; };
    L.p61_is_1 = value(61) == 1;
    L.p61_is_2 = value(61) == 2;
    L.fieldbus_available = value(87) == 1;
    L.modbus_mode = value(96) == 1;
    L.profibus_mode = value(96) == 2;
    return parse;
}

QString par_load_message(const ParParse& parse, const RefusalsWhileOpening& refusals) {
    QStringList not_numbers, outside;
    const auto refused = [&](int P) {
        return std::find(refusals.out_of_range.begin(), refusals.out_of_range.end(), P) !=
               refusals.out_of_range.end();
    };
    for (const ParField& f : parse.fields) {
        // A field without a number ("abc") leaves its parameter out, read-only or not.
        if (f.in_line && !f.holds_value && !lacks_marker(f.number, f.text) &&
            !empty_or_acknowledged(f.number, f.text)) {
            add_value_entry(not_numbers, f.number, f.text);
            continue;
        }
        if (!f.holds_value || file_record(f.number).read_only)
            continue;
        if (!is_plain_number(f.text))
            add_value_entry(not_numbers, f.number, f.text);
        else if (outside_limits(f.number) || refused(f.number))
            add_value_entry(outside, f.number, f.text);
    }
    // A row a check refused whose field the file's own checks do not judge is named with what its
    // record holds.
    std::set<int> judged;
    for (const ParField& f : parse.fields)
        if (f.holds_value && !file_record(f.number).read_only)
            judged.insert(f.number);
    for (int P : refusals.out_of_range)
        if (judged.insert(P).second)
            add_value_entry(outside, P, file_record(P).value_text);
    if (!parse.rejected && not_numbers.isEmpty() && outside.isEmpty() && refusals.other.isEmpty())
        return {};
    const QString crlf = QStringLiteral("\r\n");
    QString out;
    if (parse.rejected)
        out = ui_text(1412, QStringLiteral("The parameter file is incomplete or damaged.")) + crlf;
    out += ui_text(1413, QStringLiteral("Check these values before sending them."));
    if (!parse.rejected_fields.isEmpty())
        out += crlf + ui_text(1414, QStringLiteral("Empty or invalid:")) +
               named_entries(parse.rejected_fields);
    if (!not_numbers.isEmpty())
        out += crlf + ui_text(2272, QStringLiteral("Not a number:")) + named_entries(not_numbers);
    if (!outside.isEmpty())
        out += crlf + ui_text(2273, QStringLiteral("Outside the limits:")) + named_entries(outside);
    for (const QString& other : refusals.other)
        if (!out.contains(other))
            out += crlf + other;
    if (parse.missing > 0)
        out +=
            crlf + ui_text(2295, QStringLiteral("The file lacks %1 of its %2 fields (P%3 to P%4)."))
                       .arg(parse.missing)
                       .arg(PAR_FIELDS)
                       .arg(PAR_LAST + 1 - parse.missing)
                       .arg(PAR_LAST);
    if (parse.rejected)
        out += crlf + ui_text(2296, QStringLiteral("Parameters without a value in the file are "
                                                   "left out and never sent to the unit. Their "
                                                   "values can be read from the unit."));
    return out;
}

QString last_line(const QString& text) {
    const QStringList lines = platform::split_lines(text);
    return lines.isEmpty() ? QString() : lines.last();
}
