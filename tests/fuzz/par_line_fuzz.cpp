// A ".par" file's line, whatever it holds: every parameter P20..P999 gets exactly one field, no
// field holds the separator, and the fields read come back the same when written out again.
#include "parameters/parameter_file.h"

#include <QString>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text =
        QString::fromLatin1(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString line = last_line(text);
    if (line.contains(QLatin1Char('\n')) || line.contains(QLatin1Char('\r')))
        std::abort();
    const ParParse parse = parse_par_line(line);
    if (parse.fields.size() != static_cast<size_t>(PAR_FIELDS))
        std::abort();
    QString again;
    bool short_line = false;
    for (size_t i = 0; i < parse.fields.size(); ++i) {
        const ParField& f = parse.fields[i];
        if (f.number != PAR_FIRST + static_cast<int>(i) || f.text.contains(QLatin1Char(',')))
            std::abort();
        if (!f.in_line) {
            short_line = true;
            continue;
        }
        if (short_line)
            std::abort(); // a field read after one the line did not reach
        again += f.text + QLatin1Char(',');
    }
    const ParParse back = parse_par_line(again);
    for (size_t i = 0; i < parse.fields.size(); ++i) {
        const ParField& a = parse.fields[i];
        const ParField& b = back.fields[i];
        // An empty last field is indistinguishable from the line's end once written with ",".
        if (a.in_line &&
            !(a.text.isEmpty() && i + 1 < parse.fields.size() && !parse.fields[i + 1].in_line) &&
            (!b.in_line || a.text != b.text))
            std::abort();
    }
    if (!parse.rejected && back.rejected)
        std::abort();
    return 0;
}
