#include "parameter_catalogue.h"

#include <QRegularExpression>
#include <algorithm>
#include <optional>
#include <set>

namespace catalogue {

namespace {

constexpr int FIRST_PARAMETER = 20;
constexpr int LAST_PARAMETER = 999;
constexpr int PARAMETER_FIELDS = 17;
constexpr int OVERRIDE_FIELDS = 4;
const QString DEFINITIONS_DIR = QStringLiteral("Quillarn Version Definitions/");
const QString GENERATED_NOTE = QStringLiteral(
    "// Generated from the parameter catalogue: edit the catalogue, not this file.\n");

std::optional<double> number(const QString& text) {
    bool ok = false;
    const double v = text.toDouble(&ok);
    return ok ? std::optional<double>(v) : std::nullopt;
}

std::optional<int> whole_number(const QString& text) {
    bool ok = false;
    const int v = text.toInt(&ok);
    return ok ? std::optional<int>(v) : std::nullopt;
}

// "610", "610..672" or "610..672/2" -> the numbers it names.
std::optional<std::vector<int>> number_run(const QString& text) {
    static const QRegularExpression run(QStringLiteral("^(\\d+)(?:\\.\\.(\\d+)(?:/(\\d+))?)?$"));
    const auto m = run.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const int first = m.captured(1).toInt();
    const int last = m.captured(2).isEmpty() ? first : m.captured(2).toInt();
    const int step = m.captured(3).isEmpty() ? 1 : m.captured(3).toInt();
    if (last < first || step < 1)
        return std::nullopt;
    std::vector<int> numbers;
    for (int n = first; n <= last; n += step)
        numbers.push_back(n);
    return numbers;
}

bool systems_valid(const QString& systems, const std::vector<int>& declared) {
    if (systems == QLatin1String("-"))
        return true;
    if (systems.isEmpty())
        return false;
    for (QChar c : systems)
        if (!c.isDigit() ||
            std::find(declared.begin(), declared.end(), c.digitValue()) == declared.end())
            return false;
    return true;
}

bool versions_valid(const QString& versions, const std::vector<int>& declared) {
    const QStringList tokens = versions.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (tokens.isEmpty())
        return false;
    for (const QString& t : tokens) {
        if (t == QLatin1String("*"))
            continue;
        const bool open = t.endsWith(QLatin1Char('+'));
        const auto v = whole_number(open ? t.chopped(1) : t);
        if (!v || (!open && std::find(declared.begin(), declared.end(), *v) == declared.end()))
            return false;
    }
    return true;
}

bool has_system(const QString& systems, int system) {
    return systems != QLatin1String("-") && systems.contains(QString::number(system));
}

QString version_text(int v) {
    return QStringLiteral("%1.%2.%3").arg(v / 100).arg(v / 10 % 10).arg(v % 10);
}

int units_number(const QString& units) {
    if (units == QLatin1String("U_MU"))
        return 1;
    if (units == QLatin1String("U_MU_M"))
        return 27;
    return 0;
}

QString line_of(const Parameter& p, const QString& name, const QString& units_field,
                const QString& min, const QString& max, const QString& default_text) {
    return QStringLiteral("%1,%2,%3,%4,DEC_%5,ENT_%6,%7,%8,%9,%10")
        .arg(p.number)
        .arg(name, p.access, p.lookup)
        .arg(p.decimals)
        .arg(p.entries)
        .arg(units_field, min, max, default_text);
}

class Parser {
public:
    ParseResult result;

    void parse(const QString& text) {
        const QStringList lines = text.split(QLatin1Char('\n'));
        // Settings first: the rows are checked against the declared versions and systems.
        for (int pass = 0; pass < 2; ++pass)
            read_lines(lines, pass == 0);
        for (const auto& [line, text_of] : overrides_) {
            line_no_ = line;
            override_row(text_of);
        }
        check_sections();
    }

private:
    void read_lines(const QStringList& lines, bool settings) {
        for (int i = 0; i < lines.size(); ++i) {
            line_no_ = i + 1;
            QString line = lines[i];
            if (line.endsWith(QLatin1Char('\r')))
                line.chop(1);
            const QString t = line.trimmed();
            if (t.isEmpty() || t.startsWith(QLatin1Char('#')))
                continue;
            const bool setting = !t.startsWith(QLatin1Char('=')) && !t.contains(QLatin1Char('|')) &&
                                 t.contains(QLatin1Char('='));
            if (setting != settings)
                continue;
            if (t.contains(QLatin1Char(','))) {
                error(QStringLiteral("a comma would break the comma-separated files"));
                continue;
            }
            if (setting)
                directive(t);
            else if (t.startsWith(QLatin1Char('=')))
                overrides_.push_back({line_no_, t.mid(1)});
            else
                parameter_row(t);
        }
    }

    int line_no_ = 0;
    std::vector<std::pair<int, QString>> overrides_; // read after every parameter is known

    void error(const QString& what) {
        result.errors << QStringLiteral("line %1: %2").arg(line_no_).arg(what);
    }

    void directive(const QString& t) {
        const QString key = t.section(QLatin1Char('='), 0, 0).trimmed();
        const QStringList values =
            t.section(QLatin1Char('='), 1).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        std::vector<int> numbers;
        for (const QString& v : values) {
            const auto n = whole_number(v);
            if (!n) {
                error(QStringLiteral("\"%1\" is not a number").arg(v));
                return;
            }
            numbers.push_back(*n);
        }
        std::sort(numbers.begin(), numbers.end());
        if (key == QLatin1String("versions")) {
            for (int v : numbers)
                if (v < 100 || v > 999)
                    error(QStringLiteral("version %1 is not a three-digit version").arg(v));
            result.catalogue.versions = numbers;
        } else if (key == QLatin1String("systems")) {
            for (int s : numbers)
                if (s < 0 || s > 9)
                    error(QStringLiteral("system type %1 is not a single digit").arg(s));
            result.catalogue.systems = numbers;
        } else {
            error(QStringLiteral("unknown setting \"%1\"").arg(key));
        }
    }

    static QStringList fields_of(const QString& t) {
        QStringList fields = t.split(QLatin1Char('|'));
        for (QString& f : fields)
            f = f.trimmed();
        return fields;
    }

    // The numbers a row's first field names, once the row has its `expected` field count;
    // nullopt (with the error reported) otherwise.
    std::optional<std::vector<int>> row_numbers(const QStringList& f, qsizetype expected,
                                                const QString& kind) {
        if (f.size() != expected) {
            error(QStringLiteral("%1 fields where %2 row has %3").arg(f.size()).arg(kind).arg(expected));
            return std::nullopt;
        }
        auto numbers = number_run(f[0]);
        if (!numbers)
            error(
                QStringLiteral("\"%1\" is neither a number nor a run first..last/step").arg(f[0]));
        return numbers;
    }

    void parameter_row(const QString& t) {
        const QStringList f = fields_of(t);
        const auto numbers = row_numbers(f, PARAMETER_FIELDS, QStringLiteral("a parameter"));
        if (!numbers)
            return;
        Parameter p;
        p.name = f[1];
        p.access = f[2];
        p.lookup = f[3];
        p.units = f[6];
        p.min = f[7];
        p.max = f[8];
        p.default_text = f[9];
        p.systems = f[10] == QLatin1String("-") ? QString() : f[10];
        p.versions = f[11];
        for (int i = 0; i < 5; ++i)
            p.captions[static_cast<size_t>(i)] = f[12 + i];
        const auto decimals = whole_number(f[4]);
        const auto entries = whole_number(f[5]);
        static const QRegularExpression lookup(QStringLiteral("^C_(NUM|LUK\\d+)$"));
        static const QRegularExpression units(QStringLiteral("^U_[A-Z0-9_]+$"));
        if (p.name.isEmpty())
            error(QStringLiteral("no name"));
        if (p.access != QLatin1String("RD_WR") && p.access != QLatin1String("RD_ON"))
            error(QStringLiteral("access \"%1\" is neither RD_WR nor RD_ON").arg(p.access));
        if (!lookup.match(p.lookup).hasMatch())
            error(QStringLiteral("lookup \"%1\" is neither C_NUM nor C_LUK<n>").arg(p.lookup));
        if (!decimals || *decimals < 0 || *decimals > 6)
            error(QStringLiteral("decimals \"%1\" are not 0..6").arg(f[4]));
        if (!entries || *entries < 0)
            error(QStringLiteral("entries \"%1\" are not a count").arg(f[5]));
        if (!units.match(p.units).hasMatch())
            error(QStringLiteral("units \"%1\" are not a units code").arg(p.units));
        for (const QString* n : {&p.min, &p.max, &p.default_text})
            if (!number(*n))
                error(QStringLiteral("\"%1\" is not a number").arg(*n));
        if (!systems_valid(f[10], result.catalogue.systems))
            error(QStringLiteral("systems \"%1\" are not digits of the declared system types")
                      .arg(f[10]));
        if (!versions_valid(p.versions, result.catalogue.versions))
            error(QStringLiteral("versions \"%1\" are not *, N+ or declared versions")
                      .arg(p.versions));
        for (const QString& c : p.captions)
            if (c.isEmpty())
                error(QStringLiteral("a caption is missing"));
        p.decimals = decimals.value_or(0);
        p.entries = entries.value_or(0);

        const bool run = numbers->size() > 1 || f[0].contains(QLatin1String(".."));
        if (!run && t.contains(QLatin1String("{k}")))
            error(QStringLiteral("{k} outside a run of numbers"));
        int k = 1;
        for (int n : *numbers) {
            if (n < FIRST_PARAMETER || n > LAST_PARAMETER) {
                error(QStringLiteral("P%1 is outside P%2..P%3")
                          .arg(n)
                          .arg(FIRST_PARAMETER)
                          .arg(LAST_PARAMETER));
                continue;
            }
            if (result.catalogue.parameters.count(n)) {
                error(QStringLiteral("P%1 is catalogued twice").arg(n));
                continue;
            }
            Parameter one = p;
            one.number = n;
            const QString place = QString::number(k++);
            one.name.replace(QLatin1String("{k}"), place);
            for (QString& c : one.captions)
                c.replace(QLatin1String("{k}"), place);
            result.catalogue.parameters[n] = one;
        }
    }

    void override_row(const QString& t) {
        const QStringList f = fields_of(t);
        const auto numbers = row_numbers(f, OVERRIDE_FIELDS, QStringLiteral("an override"));
        if (!numbers)
            return;
        Override o;
        o.systems = f[1];
        o.versions = f[2];
        if (!systems_valid(o.systems, result.catalogue.systems) || o.systems == QLatin1String("-"))
            error(QStringLiteral("systems \"%1\" are not digits of the declared system types")
                      .arg(o.systems));
        if (!versions_valid(o.versions, result.catalogue.versions))
            error(QStringLiteral("versions \"%1\" are not *, N+ or declared versions")
                      .arg(o.versions));
        for (const QString& pair : f[3].split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            const QString key = pair.section(QLatin1Char('='), 0, 0);
            const QString value = pair.section(QLatin1Char('='), 1);
            const bool numeric = key == QLatin1String("min") || key == QLatin1String("max") ||
                                 key == QLatin1String("default");
            if (!numeric && key != QLatin1String("name"))
                error(QStringLiteral("unknown override \"%1\"").arg(key));
            else if (value.isEmpty() || (numeric && !number(value)))
                error(QStringLiteral("override \"%1\" has no usable value").arg(pair));
            else
                o.values[key] = value;
        }
        if (o.values.isEmpty())
            error(QStringLiteral("an override that changes nothing"));
        for (int n : *numbers) {
            if (!result.catalogue.parameters.count(n)) {
                error(QStringLiteral("override of P%1, which is not catalogued").arg(n));
                continue;
            }
            o.number = n;
            result.catalogue.overrides.push_back(o);
        }
    }

    // A section is closed by its last line, so every section needs one.
    void check_sections() {
        line_no_ = 0;
        const Catalogue& c = result.catalogue;
        if (c.versions.empty())
            result.errors << QStringLiteral("no versions declared");
        if (c.systems.empty())
            result.errors << QStringLiteral("no system types declared");
        for (int v : c.versions)
            for (int s : c.systems) {
                const bool any =
                    std::any_of(c.parameters.begin(), c.parameters.end(), [&](const auto& e) {
                        return has_system(e.second.systems, s) &&
                               version_matches(e.second.versions, v);
                    });
                if (!any)
                    result.errors << QStringLiteral("version %1 has no parameter for system "
                                                    "type %2")
                                         .arg(v)
                                         .arg(s);
            }
    }
};

QByteArray render_access_vars(const Catalogue& c) {
    QString out = QStringLiteral(
        "// Parameter definitions, one line per parameter, each field closed by a comma:\n"
        "// number,name,access,lookup,decimals,entries,units,minimum,maximum,default,\n"
        "// Lengths (units U_MU and U_MU_M): the default in thousandths (1500 is 1.5 metres),\n"
        "// the limits in the length unit the unit is set to.\n");
    out += GENERATED_NOTE;
    for (const auto& [n, p] : c.parameters)
        out += line_of(p, p.name, p.units, p.min, p.max, p.default_text) + QStringLiteral(",\n");
    return out.toUtf8();
}

QByteArray render_version_def(const Catalogue& c, int v) {
    QString out = QStringLiteral("// The parameters that software version %1 has, one section per "
                                 "system type.\n")
                      .arg(version_text(v));
    out += GENERATED_NOTE;
    for (int s : c.systems) {
        QStringList lines;
        for (const auto& [n, p] : c.parameters) {
            if (!has_system(p.systems, s) || !version_matches(p.versions, v))
                continue;
            QMap<QString, QString> values{{QStringLiteral("name"), p.name},
                                          {QStringLiteral("min"), p.min},
                                          {QStringLiteral("max"), p.max},
                                          {QStringLiteral("default"), p.default_text}};
            for (const Override& o : c.overrides)
                if (o.number == n && has_system(o.systems, s) && version_matches(o.versions, v))
                    for (auto it = o.values.begin(); it != o.values.end(); ++it)
                        values[it.key()] = it.value();
            lines << line_of(p, values[QStringLiteral("name")],
                             QString::number(units_number(p.units)), values[QStringLiteral("min")],
                             values[QStringLiteral("max")], values[QStringLiteral("default")]);
        }
        lines.last() += QStringLiteral(",OK");
        out += QStringLiteral("\nSoftVer=%1,SysType=%2\n").arg(version_text(v)).arg(s);
        out += QStringLiteral("P,Name,Access,Lookup,Decimals,Entries,Units,Min,Max,Default\n");
        out += lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
    }
    return out.toUtf8();
}

QByteArray render_captions(const Catalogue& c) {
    QString out;
    for (const auto& [n, p] : c.parameters) {
        out += QString::number(n);
        for (const QString& caption : p.captions)
            out += QStringLiteral(",%1 (P%2)").arg(caption).arg(n);
        out += QLatin1Char('\n');
    }
    return out.toUtf8();
}

} // namespace

bool version_matches(const QString& versions, int v) {
    for (const QString& t : versions.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (t == QLatin1String("*"))
            return true;
        if (t.endsWith(QLatin1Char('+')) ? v >= t.chopped(1).toInt() : v == t.toInt())
            return true;
    }
    return false;
}

ParseResult parse_catalogue(const QString& text) {
    Parser parser;
    parser.parse(text);
    return std::move(parser.result);
}

std::vector<GeneratedFile> render_catalogue(const Catalogue& catalogue) {
    std::vector<GeneratedFile> files;
    files.push_back(
        {DEFINITIONS_DIR + QStringLiteral("access_vars.def"), render_access_vars(catalogue)});
    for (int v : catalogue.versions)
        files.push_back({DEFINITIONS_DIR + QStringLiteral("Def%1.def").arg(v),
                         render_version_def(catalogue, v)});
    files.push_back({QStringLiteral("lang-src/parameters.def"), render_captions(catalogue)});
    return files;
}

} // namespace catalogue
