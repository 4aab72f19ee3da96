#include "definitions.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <cmath>

namespace unitsim {

namespace {

QString decode(const QByteArray& bytes) {
    auto utf8 = QStringDecoder(QStringDecoder::Utf8);
    QString text = utf8(bytes);
    if (!utf8.hasError())
        return text;
    return QString::fromLatin1(bytes); // close enough to Windows-1252 for names
}

std::optional<QString> read_text(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    return decode(f.readAll());
}

QStringList lines_of(const QString& text) {
    QString t = text;
    t.replace("\r\n", "\n");
    t.replace('\r', '\n');
    return t.split('\n');
}

// Braces trim a field; without braces the field is kept as it is, blanks included.
QString unbrace(QString field) {
    const auto open = field.indexOf('{');
    if (open >= 0) {
        field = field.mid(open + 1).trimmed();
        const auto close = field.indexOf('}');
        if (close >= 0)
            field = field.left(close).trimmed();
    }
    return field;
}

int after_underscore(const QString& field) {
    const auto us = field.indexOf('_');
    return int(leading_number(us >= 0 ? field.mid(us + 1) : field));
}

} // namespace

// Whole numbers only within the range a 64-bit integer holds exactly.
QString number_text(double v) {
    if (v == std::floor(v) && std::fabs(v) < 1e15)
        return QString::number(qint64(v));
    QString s = QString::number(v, 'f', 6);
    while (s.endsWith('0'))
        s.chop(1);
    if (s.endsWith('.'))
        s.chop(1);
    return s;
}

double leading_number(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    const qsizetype start = i;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        ++i;
    bool digits = false, dot = false;
    while (i < text.size()) {
        if (text[i].isDigit() && text[i].unicode() < 128)
            digits = true;
        else if (text[i] == '.' && !dot)
            dot = true;
        else
            break;
        ++i;
    }
    if (!digits)
        return 0;
    return text.mid(start, i - start).toDouble();
}

int version_to_number(QString text) {
    if (text.contains("Prot"))
        text = text.mid(text.indexOf('.') + 1);
    if (text.contains('b'))
        return 999;
    text.remove('.');
    if (text.size() < 3)
        text += "000";
    else
        text = text.left(3);
    bool ok = false;
    int n = text.toInt(&ok);
    if (!ok)
        return 0;
    return n < 100 ? n * 10 : n;
}

DefinitionMap parse_access_vars(const QString& text) {
    DefinitionMap map;
    for (const QString& line : lines_of(text)) {
        if (line.startsWith("//"))
            continue;
        const QStringList parts = line.split(',');
        if (parts.size() < 11) // ten fields, each closed by a comma
            continue;
        QStringList f;
        for (int k = 0; k < 10; ++k)
            f << unbrace(parts[k]);
        const int number = int(leading_number(f[0]));
        if (number < 0 || number > 1500 || f[0].trimmed().isEmpty())
            continue;
        ParameterDefinition d;
        d.number = number;
        d.name = f[1];
        d.read_only = f[2] == "RD_ON";
        d.lookup_code = f[3];
        d.decimals = after_underscore(f[4]);
        d.entries = after_underscore(f[5]);
        d.units_code = f[6].trimmed();
        d.min_text = number_text(leading_number(f[7]));
        d.max_text = number_text(leading_number(f[8]));
        d.default_value = leading_number(f[9]);
        map[number] = d;
    }
    return map;
}

bool apply_version_section(DefinitionMap& map, const QString& text, int version, int system_type) {
    const int h = version / 100;
    const int t = (version - 100 * h) / 10;
    const int u = version - 100 * h - 10 * t;
    const QString key1 =
        QString("SoftVer=%1.%2.%3,SysType=%4").arg(h).arg(t).arg(u).arg(system_type);
    const QString key2 = QString("SoftVer=%1.%2,SysType=%3").arg(h).arg(t).arg(system_type);
    const QStringList lines = lines_of(text);
    // A key must not match the front of a longer system type ("SysType=4" in "SysType=40").
    auto find_key = [&](const QString& key) -> qsizetype {
        for (qsizetype i = 0; i < lines.size(); ++i) {
            const auto at = lines[i].indexOf(key);
            if (at < 0)
                continue;
            const auto end = at + key.size();
            if (end < lines[i].size() && lines[i][end].isDigit())
                continue;
            return i;
        }
        return -1;
    };
    qsizetype key_line = find_key(key1);
    if (key_line < 0)
        key_line = find_key(key2);
    if (key_line < 0)
        return false;

    for (auto& [number, d] : map)
        if (number >= 20 && number <= 999)
            d.present = false;
    for (qsizetype i = key_line + 2; i < lines.size(); ++i) {
        const QString& line = lines[i];
        QStringList f = line.split(',');
        if (f.size() < 10)
            continue;
        const QString rest = QStringList(f.mid(9)).join(',');
        const int number = int(leading_number(f[0]));
        if (number >= 20 && number <= 999) {
            ParameterDefinition& d = map[number];
            d.number = number;
            d.present = true;
            d.name = f[1];
            const int units = int(leading_number(f[6]));
            if (units == 1)
                d.units_code = "U_MU";
            else if (units == 27)
                d.units_code = "U_MU_M";
            d.min_text = number_text(leading_number(f[7]));
            if ((number >= 610 && number <= 673) || (number >= 710 && number <= 725))
                d.min_text = "-1";
            d.max_text = number_text(leading_number(f[8]));
            d.default_value = leading_number(rest);
        }
        if (rest.contains("OK"))
            break;
    }
    return true;
}

std::optional<DefinitionSet> read_definitions(const QString& folder, int version, int system_type,
                                              QString* error) {
    const QString access_path = QDir(folder).filePath("access_vars.def");
    const auto access = read_text(access_path);
    if (!access) {
        if (error)
            *error = QString("cannot read %1").arg(access_path);
        return std::nullopt;
    }
    DefinitionSet set;
    set.source = folder;
    set.parameters = parse_access_vars(*access);
    for (int v = version; v >= 100; --v) {
        const QString path = QDir(folder).filePath(QString("Def%1.def").arg(v));
        if (!QFileInfo::exists(path))
            continue;
        set.version_used = v;
        if (const auto text = read_text(path))
            set.section_found = apply_version_section(set.parameters, *text, v, system_type);
        break;
    }
    return set;
}

DefinitionSet builtin_definitions(int version, int system_type) {
    DefinitionSet set;
    set.source = "built-in";
    set.parameters = parse_access_vars(builtin_access_vars_text());
    if (version >= builtin_version_def_number()) {
        set.version_used = builtin_version_def_number();
        set.section_found = apply_version_section(set.parameters, builtin_version_def_text(),
                                                  set.version_used, system_type);
    }
    return set;
}

} // namespace unitsim
