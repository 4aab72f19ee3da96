#include "parameters/parameter_file.h"

#include "platform/text_file.h"
#include "platform/vb.h"
#include "shell/definitions_table.h"

QByteArray par_line() {
    QString line;
    line.reserve(PAR_FIELDS * 6);
    for (int P = PAR_FIRST; P <= PAR_LAST; ++P) {
        DefinitionRecord& r = definitions_table()[static_cast<size_t>(P)];
        if (r.value_text == QLatin1String("-999999") || r.value_text.isEmpty() ||
            r.value_text.contains(QLatin1String("Text")))
            r.value_text = r.present ? platform::number_text_c(r.unit_value).trimmed()
                                     : QStringLiteral("NO");
        QString v = r.value_text.trimmed();
        if (v.contains(QLatin1String("Text")))
            v = QStringLiteral("NO");
        // A field must not carry the file's separator or a line end into the next field.
        v.replace(QLatin1Char(','), QLatin1Char(' '));
        v.remove(QLatin1Char('\r'));
        v.remove(QLatin1Char('\n'));
        line += v;
        line += QLatin1Char(',');
    }
    const auto bytes = platform::encode_windows1252(line);
    return bytes ? *bytes : line.toUtf8();
}

bool write_par_file(const QString& path) {
    return platform::write_file_atomically(path, par_line());
}
