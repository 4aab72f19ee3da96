// A ".par" file, whatever it holds: every parameter P20..P999 gets exactly one field, no field
// holds the separator, and the fields read come back the same when written out again. Reading
// the file changes nothing in the set in memory until the set is taken over; a set taken over
// and saved reopens to the same values, and without complaint even when the file was damaged. A
// value the file does not hold is never made up: a parameter whose field is empty, an
// acknowledgement, a "NO" marker, no number or beyond the line's end is taken over without a value
// (and named, or counted, in the message); a field that starts with a number gives that number. A
// text of the unit's is a value as it stands, "OK" included; only a whole "NO" or "Text" is none.
#include "fuzz_support.h"

#include "parameters/parameter_file.h"
#include "parameters/parameter_values.h"
#include "platform/text_file.h"
#include "platform/vb.h"
#include "shell/definitions_table.h"

#include <QString>
#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

struct Value {
    QString text;
    double value;
    bool present;
    bool operator==(const Value&) const = default;
};

std::vector<Value> set_in_memory() {
    std::vector<Value> out;
    for (int P = PAR_FIRST; P <= PAR_LAST; ++P) {
        const DefinitionRecord& r = definitions_table()[static_cast<size_t>(P)];
        out.push_back({r.value_text, r.unit_value, r.present});
    }
    return out;
}

// A set as a download leaves it: numbers, "NO" and a version text.
void seed_set() {
    static const std::vector<DefinitionRecord> seed = [] {
        std::vector<DefinitionRecord> out(PAR_LAST + 1);
        for (int P = PAR_FIRST; P <= PAR_LAST; ++P) {
            DefinitionRecord& r = out[static_cast<size_t>(P)];
            r.present = P % 3 != 0;
            r.value_text =
                r.present ? QString::number(P) + QStringLiteral(".5") : QStringLiteral("NO");
            r.unit_value = r.present ? P + 0.5 : NO_VALUE;
        }
        out[926].value_text = QStringLiteral("2.0.5");
        return out;
    }();
    std::copy(seed.begin() + PAR_FIRST, seed.end(), definitions_table().begin() + PAR_FIRST);
}

// Opening a file as the program does: decoded, its last line parsed into the table.
ParParse open_bytes(const QByteArray& bytes) {
    return parse_parameter_line(last_line(platform::decode_text(bytes)));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString line = last_line(platform::decode_text(bytes));
    FUZZ_CHECK(!line.contains(QLatin1Char('\n')) && !line.contains(QLatin1Char('\r')),
               "the last line holds no line end");

    seed_set();
    const std::vector<Value> before = set_in_memory();
    const ParParse parse = parse_par_line(line);
    FUZZ_CHECK(set_in_memory() == before, "reading a file leaves the set in memory alone");
    FUZZ_CHECK(parse.fields.size() == static_cast<size_t>(PAR_FIELDS), "one field per parameter");
    QString again;
    bool short_line = false;
    for (size_t i = 0; i < parse.fields.size(); ++i) {
        const ParField& f = parse.fields[i];
        FUZZ_CHECK(f.number == PAR_FIRST + static_cast<int>(i), "fields in parameter order");
        FUZZ_CHECK(!f.text.contains(QLatin1Char(',')), "no field holds the separator");
        if (!f.in_line) {
            short_line = true;
            continue;
        }
        FUZZ_CHECK(!short_line, "no field read after one the line did not reach");
        again += f.text + QLatin1Char(',');
    }
    const ParParse back = parse_par_line(again);
    for (size_t i = 0; i < parse.fields.size(); ++i) {
        const ParField& a = parse.fields[i];
        const ParField& b = back.fields[i];
        // An empty last field is indistinguishable from the line's end once written with ",".
        FUZZ_CHECK(
            !a.in_line ||
                (a.text.isEmpty() && i + 1 < parse.fields.size() && !parse.fields[i + 1].in_line) ||
                (b.in_line && a.text == b.text),
            "fields written out read back the same");
    }
    FUZZ_CHECK(parse.rejected || !back.rejected, "a whole line stays whole");

    // What each field holds, and what the set takes from it.
    int missing = 0, without_value = 0, empty_or_acknowledged = 0;
    for (const ParField& f : parse.fields) {
        // The unit's texts (P926 to P928) may hold the letters of a marker: only a whole field of
        // them is one there, and "OK" is a text like any other; "Text" there marks no value.
        const bool text = holds_text_value(f.number);
        const auto has = [&](const char* mark) {
            return text ? f.text.trimmed() == QLatin1String(mark)
                        : f.text.contains(QLatin1String(mark));
        };
        const bool acknowledged = !text && has("OK");
        const bool marker = (has("NO") || (text && has("Text"))) && !acknowledged;
        const bool value =
            f.in_line && !acknowledged && !marker &&
            (text ? !f.text.trimmed().isEmpty() : starts_with_number(f.text) && !has("Text"));
        FUZZ_CHECK(f.holds_value == value, "a field holds a value when it starts with a number");
        missing += f.in_line ? 0 : 1;
        without_value += f.in_line && !f.holds_value && !marker ? 1 : 0;
        empty_or_acknowledged += f.in_line && (f.text.isEmpty() || acknowledged) ? 1 : 0;
    }
    FUZZ_CHECK(parse.missing == missing, "every field the line lacks is counted");
    FUZZ_CHECK(parse.rejected_fields.size() == empty_or_acknowledged,
               "every empty or acknowledged field is named as one");
    FUZZ_CHECK(parse.rejected == (missing + without_value > 0), "a damaged line is told as one");

    // Taken over: a value only where the file holds one, and then the number the field starts
    // with; the message counts the fields the line lacks.
    open_bytes(bytes);
    for (const ParField& f : parse.fields) {
        const DefinitionRecord& r = definitions_table()[static_cast<size_t>(f.number)];
        FUZZ_CHECK(r.present == f.holds_value,
                   "only a field with a value makes a present parameter");
        FUZZ_CHECK(f.holds_value
                       ? r.unit_value == platform::val(f.text.trimmed())
                       : r.unit_value == NO_VALUE && r.value_text.contains(QLatin1String("NO")),
                   "a value the file does not hold is never made up");
    }
    FUZZ_CHECK(missing == 0 || par_load_message(parse).contains(QString::number(missing)),
               "the message says how many fields the file lacks");
    FUZZ_CHECK(!parse.rejected || !par_load_message(parse).isEmpty(), "a damaged file is told");

    // Taken over, saved and opened again: the same values.
    const QByteArray saved = par_line(); // settles the value texts the save replaces
    const std::vector<Value> loaded = set_in_memory();
    // Only a whole "Text" is the placeholder of a value never filled in, not a site's name, and
    // such a placeholder is saved as "NO", never as a number.
    for (const ParField& f : parse.fields) {
        const QString saved_text = loaded[static_cast<size_t>(f.number - PAR_FIRST)].text.trimmed();
        FUZZ_CHECK(!holds_text_value(f.number) ||
                       saved_text == (f.holds_value ? f.text.trimmed() : QStringLiteral("NO")),
                   "a text of the unit's is saved as it stands");
    }
    seed_set();
    const ParParse reopened = open_bytes(saved);
    FUZZ_CHECK(!reopened.rejected, "a saved set opens without complaint, even from a damaged one");
    const std::vector<Value> now = set_in_memory();
    // Parameters a short line did not reach are saved as the parameters the set lacks. A text
    // that no encoding can carry (a lone UTF-16 surrogate) is saved with the replacement
    // character.
    // A clock time is written with its four digits.
    for (size_t i = 0; i < now.size(); ++i) {
        const QString written = QString::fromUtf8(
            file_value_text(PAR_FIRST + static_cast<int>(i), loaded[i].text.trimmed()).toUtf8());
        FUZZ_CHECK(now[i].text == written && now[i].present == loaded[i].present &&
                       now[i].value == loaded[i].value,
                   "a saved set reopens to the same values");
    }
    return 0;
}
