// A ".par" file's line, whatever it holds: every parameter P20..P999 gets exactly one field, no
// field holds the separator, and the fields read come back the same when written out again.
#include "fuzz_support.h"

#include "parameters/parameter_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString line = last_line(fuzz::latin1(data, size));
    FUZZ_CHECK(!line.contains(QLatin1Char('\n')) && !line.contains(QLatin1Char('\r')),
               "the last line holds a line end");
    const ParParse parse = parse_par_line(line);
    FUZZ_CHECK(parse.fields.size() == static_cast<size_t>(PAR_FIELDS), "not one field a parameter");
    QString again;
    bool short_line = false;
    for (size_t i = 0; i < parse.fields.size(); ++i) {
        const ParField& f = parse.fields[i];
        FUZZ_CHECK(f.number == PAR_FIRST + static_cast<int>(i) &&
                       !f.text.contains(QLatin1Char(',')),
                   "a field out of order or holding the separator");
        if (!f.in_line) {
            short_line = true;
            continue;
        }
        FUZZ_CHECK(!short_line, "a field read after one the line did not reach");
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
            "a field read otherwise once written out");
    }
    FUZZ_CHECK(parse.rejected || !back.rejected, "a taken line is rejected once written out");
    return 0;
}
