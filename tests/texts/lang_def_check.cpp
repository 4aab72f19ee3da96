#include "lang_def_check.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>
#include <set>

namespace textcheck {

const QStringList &language_names() {
    static const QStringList names{"English", "German", "French", "Italian", "Spanish"};
    return names;
}

namespace {

bool is_valid_utf8(const QByteArray &bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8);
    QString ignored = decoder(bytes);
    return !decoder.hasError();
}

// Field 0 must be what the loader reads as the intended record: plain decimal digits. Anything
// else (a blank, a sign, a byte-order mark) makes the loader file the text under another number.
bool parse_record_number(const QString &field, int &number) {
    static const QRegularExpression digits("^[0-9]{1,9}$");
    if (!digits.match(field).hasMatch())
        return false;
    number = field.toInt();
    return true;
}

} // namespace

QStringList check_lang_file(const QString &name, const QByteArray &bytes, SeenNumbers &seen,
                            const LineRules &rules, TextTable *table) {
    QStringList problems;
    QList<QByteArray> lines = bytes.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast(); // the final line end does not start another line
    for (int i = 0; i < lines.size(); ++i) {
        const QString where = QStringLiteral("%1:%2").arg(name).arg(i + 1);
        QByteArray raw = lines[i];
        if (raw.endsWith('\r'))
            raw.chop(1);
        else if (rules.require_crlf)
            problems << where + ": the line does not end with CR LF";
        if (raw.contains('\r')) {
            problems << where + ": a carriage return inside the line splits it for the loader";
            continue;
        }
        if (!is_valid_utf8(raw)) {
            problems << where + ": not valid UTF-8";
            continue;
        }
        const QString line = QString::fromUtf8(raw);
        const QStringList fields = line.split(',');
        if (fields.size() < 1 + LANGUAGE_COUNT) {
            problems << where + QStringLiteral(
                                    ": %1 fields, a number and five texts are needed (a text "
                                    "may not contain a comma)")
                                    .arg(fields.size());
            continue;
        }
        int number = -1;
        if (!parse_record_number(fields[0], number) || number > HIGHEST_RECORD) {
            problems << where + ": \"" + fields[0] + "\" is not a record number from 0 to " +
                            QString::number(HIGHEST_RECORD);
            continue;
        }
        if (rules.six_fields_only && fields.size() > 1 + LANGUAGE_COUNT)
            problems << where + QStringLiteral(": text %1 holds a comma; the loader cuts it there")
                                    .arg(number);
        bool empty = false;
        for (int c = 0; c < LANGUAGE_COUNT; ++c) {
            if (fields[1 + c].isEmpty()) {
                problems << where + QStringLiteral(": text %1 is empty in %2")
                                        .arg(number)
                                        .arg(language_names()[c]);
                empty = true;
            }
        }
        const auto [it, inserted] = seen.emplace(number, where);
        if (!inserted) {
            problems << where + QStringLiteral(": number %1 is already defined at %2; the later "
                                               "line silently replaces the earlier text")
                                    .arg(number)
                                    .arg(it->second);
            continue;
        }
        if (table && !empty)
            (*table)[number] = fields.mid(1, LANGUAGE_COUNT);
    }
    return problems;
}

QList<TextUse> find_text_uses(const QString &where, const QString &source) {
    // Only literal numbers: `ui_text(1170 + i)` and `ui_text(n)` are computed and not checked
    // here. The name must stand alone, so `my_ui_text(5)` does not count.
    static const QRegularExpression call(R"((?<![A-Za-z0-9_])ui_text\s*\(\s*([0-9]+)\s*[,)])");
    QList<TextUse> uses;
    auto matches = call.globalMatch(source);
    while (matches.hasNext()) {
        const auto m = matches.next();
        const int line = source.left(m.capturedStart()).count('\n') + 1;
        uses.append({m.captured(1).toInt(), QStringLiteral("%1:%2").arg(where).arg(line)});
    }
    return uses;
}

QList<TextUse> find_text_uses_below(const QString &root) {
    QList<TextUse> uses;
    const QDir base = QFileInfo(root).dir();
    QDirIterator it(root, QDir::Files | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    QStringList files;
    while (it.hasNext())
        files << it.next();
    files.sort();
    for (const QString &path : files) {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            continue;
        uses += find_text_uses(base.relativeFilePath(path), QString::fromUtf8(f.readAll()));
    }
    return uses;
}

QStringList missing_texts(const QList<TextUse> &uses, const TextTable &table) {
    std::map<int, QStringList> places;
    for (const TextUse &u : uses)
        places[u.number] << u.where;
    QStringList problems;
    for (const auto &[number, where] : places) {
        QStringList lacking;
        const auto it = table.find(number);
        for (int c = 0; c < LANGUAGE_COUNT; ++c) {
            if (it == table.end() || c >= it->second.size() || it->second[c].isEmpty())
                lacking << language_names()[c];
        }
        if (lacking.isEmpty())
            continue;
        const QString lacks = lacking.size() == LANGUAGE_COUNT
                                  ? QStringLiteral("missing")
                                  : QStringLiteral("empty in ") + lacking.join(", ");
        problems << QStringLiteral("text %1 %2, used by %3")
                        .arg(number)
                        .arg(lacks)
                        .arg(where.join(", "));
    }
    return problems;
}

namespace {
// Positions of the accelerator marks: a single '&' before a character; "&&" is one literal
// ampersand and marks nothing.
QList<int> accelerator_positions(const QString &caption) {
    QList<int> positions;
    for (int i = 0; i < caption.size(); ++i) {
        if (caption[i] != '&')
            continue;
        if (i + 1 < caption.size() && caption[i + 1] == '&') {
            ++i;
            continue;
        }
        positions << i;
    }
    return positions;
}
} // namespace

int accelerator_count(const QString &caption) {
    return accelerator_positions(caption).size();
}

QChar accelerator(const QString &caption) {
    for (int i : accelerator_positions(caption)) {
        if (i + 1 < caption.size())
            return caption[i + 1].toLower();
    }
    return {};
}

} // namespace textcheck
