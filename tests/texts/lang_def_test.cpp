// The language file that ships with the program: its form, its coverage of the texts that the
// code asks for, and the keyboard accelerators of its captions. Each check collects the problems
// it finds as readable lines, so a failing test shows what a user would meet: a caption that stays
// empty, a text that the loader puts into the wrong record, a menu key that answers twice.
#include "qt_print.h"
#include "shell/definitions_table.h"
#include "test_files.h"

#include <QDirIterator>
#include <QRegularExpression>
#include <QStringDecoder>
#include <map>
#include <vector>

namespace {

constexpr int LANGUAGES = 5;
const QStringList LANGUAGE_NAMES{"English", "German", "French", "Italian", "Spanish"};
const QString SOURCE_DIR = QStringLiteral(QUILLARN_SOURCE_DIR);
const QString LANG_SRC = SOURCE_DIR + "/data/lang-src/";
const QString PROGRAM_TEXTS = "texts.def";

using TextTable = std::map<int, QStringList>; // record number -> its five texts
using SeenNumbers = std::map<int, QString>;   // record number -> "file:line" that defined it

struct LineRules {
    bool require_crlf = false;    // every line must end with CR LF (the shipped file)
    bool six_fields_only = false; // a seventh field can only be a text cut at a comma
};

// Checks one language file: valid UTF-8, plain digits 0..1500 or 2000..2999 in field 0 (anything
// else makes the loader file the text under another number), five non-empty texts, no CR inside a
// line, no number defined twice (also across the files that share `seen`). Good lines go into
// `table`.
QStringList check_lang_file(const QString& name, const QByteArray& bytes, SeenNumbers& seen,
                            const LineRules& rules = {}, TextTable* table = nullptr) {
    static const QRegularExpression digits("^[0-9]{1,9}$");
    QStringList problems;
    QList<QByteArray> lines = bytes.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast(); // the final line end does not start another line
    for (int i = 0; i < lines.size(); ++i) {
        const QString where = QString("%1:%2").arg(name).arg(i + 1);
        QByteArray raw = lines[i];
        if (raw.endsWith('\r'))
            raw.chop(1);
        else if (rules.require_crlf)
            problems << where + ": the line does not end with CR LF";
        QStringDecoder utf8(QStringDecoder::Utf8);
        const QStringList fields = QString(utf8(raw)).split(',');
        const int number = fields[0].toInt();
        QString bad;
        if (raw.contains('\r'))
            bad = "a carriage return inside the line splits it for the loader";
        else if (utf8.hasError())
            bad = "not valid UTF-8";
        else if (fields.size() < 1 + LANGUAGES)
            bad = QString::number(fields.size()) +
                  " fields, a number and five texts are needed (a text may not contain a comma)";
        else if (!digits.match(fields[0]).hasMatch() || !is_text_number(number))
            bad = "\"" + fields[0] + "\" is not a text number (0 to 1500, or 2000 to 2999)";
        else if (rules.six_fields_only && fields.size() > 1 + LANGUAGES)
            bad = QString("text %1 holds a comma; the loader cuts it there").arg(number);
        else if (const auto [at, fresh] = seen.emplace(number, where); !fresh)
            bad = QString("number %1 is already defined at %2; the later line silently replaces "
                          "the earlier text")
                      .arg(number)
                      .arg(at->second);
        for (int c = 0; bad.isEmpty() && c < LANGUAGES; ++c)
            if (fields[1 + c].isEmpty())
                bad = QString("text %1 is empty in %2").arg(number).arg(LANGUAGE_NAMES[c]);
        if (!bad.isEmpty())
            problems << where + ": " + bad;
        else if (table)
            (*table)[number] = fields.mid(1, LANGUAGES);
    }
    return problems;
}

// Record number -> the places ("file:line") that call `ui_text(<number>` with a literal number.
// Computed numbers (`ui_text(1170 + i)`) are not checked here; `my_ui_text(5)` does not count.
using TextUses = std::map<int, QStringList>;

void find_text_uses(const QString& where, const QString& source, TextUses& uses) {
    static const QRegularExpression call(R"((?<![A-Za-z0-9_])ui_text\s*\(\s*([0-9]+)\s*[,)])");
    for (const auto& m : call.globalMatch(source)) {
        const auto line = source.left(m.capturedStart()).count('\n') + 1;
        uses[m.captured(1).toInt()] << QString("%1:%2").arg(where).arg(line);
    }
}

// One line per used number that lacks a text in some language, naming the places that use it.
QStringList missing_texts(const TextUses& uses, const TextTable& table) {
    QStringList problems;
    for (const auto& [number, where] : uses) {
        QStringList lacking;
        const auto it = table.find(number);
        for (int c = 0; c < LANGUAGES; ++c)
            if (it == table.end() || it->second.value(c).isEmpty())
                lacking << LANGUAGE_NAMES[c];
        if (!lacking.isEmpty())
            problems << QString("text %1 lacks %2, used by %3")
                            .arg(number)
                            .arg(lacking.join(", "), where.join(", "));
    }
    return problems;
}

// The letters a caption marks as keyboard accelerators ('&' before a character; "&&" is a literal
// ampersand), lower case.
QString accelerators(const QString& caption) {
    QString keys;
    for (qsizetype i = 0; i + 1 < caption.size(); ++i)
        if (caption[i] == '&' && caption[++i] != '&')
            keys += caption[i].toLower();
    return keys;
}

// Texts that are also series titles and CSV headings (the log channel captions), window or message
// titles, or parts of the title bar, where an ampersand would show as it stands.
bool shown_as_is(int n) {
    return (n >= 1028 && n <= 1059) || (n >= 1322 && n <= 1341 && n != 1330) || // 1330: a button
           QList<int>{1136, 1198, 1204, 1266, 1378, 1382, 1385, 1429}.contains(n);
}

std::string lines(const QStringList& problems) {
    return ("\n  " + problems.join("\n  ")).toStdString();
}

QStringList lang_sources() {
    return QDir(LANG_SRC).entryList({"*.def"}, QDir::Files, QDir::Name);
}

TextTable table_of(const QString& path, QStringList* problems = nullptr, LineRules rules = {}) {
    TextTable table;
    SeenNumbers seen;
    const QStringList p = check_lang_file(QFileInfo(path).fileName(), testfiles::read_bytes(path),
                                          seen, rules, &table);
    if (problems)
        *problems = p;
    return table;
}

// The shipped file as the program reads it.
TextTable shipped_table(QStringList* problems = nullptr) {
    return table_of(QUILLARN_DATA_DIR "/Quillarn Version Definitions/lang.def", problems,
                    {.require_crlf = true});
}

} // namespace

TEST(LanguageSources, EveryLineIsARecordNumberWithFiveTextsAndNoNumberTwice) {
    const QStringList files = lang_sources();
    ASSERT_TRUE(files.contains(PROGRAM_TEXTS)) << "no " << PROGRAM_TEXTS;
    SeenNumbers seen; // shared: the files are joined into one lang.def
    QStringList problems;
    for (const QString& name : files)
        problems += check_lang_file(name, testfiles::read_bytes(LANG_SRC + name), seen,
                                    {.six_fields_only = name == PROGRAM_TEXTS});
    EXPECT_TRUE(problems.isEmpty()) << "lines the loader would misread:" << lines(problems);

    // Records below 1000 are the captions of the parameter rows; a program text there would
    // replace a parameter's caption.
    const TextTable program_texts = table_of(LANG_SRC + PROGRAM_TEXTS);
    EXPECT_GT(program_texts.size(), 400u);
    EXPECT_GE(program_texts.begin()->first, 1000)
        << "program text numbered below 1000: " << program_texts.begin()->second.value(0);

    // The built file holds every source line, each ended by CR LF.
    const TextTable shipped = shipped_table(&problems);
    EXPECT_TRUE(problems.isEmpty()) << "the built lang.def is malformed:" << lines(problems);
    EXPECT_EQ(shipped.size(), seen.size()) << "the build lost or added lines";
}

TEST(ShippedLanguageFile, HasEveryTextTheCodeAsksForInEveryLanguage) {
    TextUses uses;
    QDirIterator it(SOURCE_DIR + "/src", QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        find_text_uses(QDir(SOURCE_DIR).relativeFilePath(path),
                       QString::fromUtf8(testfiles::read_bytes(path)), uses);
    }
    ASSERT_GT(uses.size(), 100u) << "the scan of the sources found hardly any texts";
    const QStringList missing = missing_texts(uses, shipped_table());
    EXPECT_TRUE(missing.isEmpty())
        << "the program would show an empty caption or message for:" << lines(missing);
}

TEST(Accelerators, OneKeyPerTextNoneOutsideMenusAndButtonsAndNoneTwiceInAGroup) {
    const TextTable table = shipped_table();
    QStringList problems;
    for (const auto& [number, texts] : table)
        for (int c = 0; c < texts.size(); ++c)
            if (accelerators(texts[c]).size() > 1 ||
                (shown_as_is(number) && texts[c].contains('&')))
                problems << QString("%1 %2: \"%3\"").arg(number).arg(LANGUAGE_NAMES[c], texts[c]);
    EXPECT_TRUE(problems.isEmpty())
        << "several accelerators, or an ampersand shown as it stands:" << lines(problems);

    const QString import_tee = "&Import .Tee file";
    // The text numbers of each group, and the built-in captions shown with them.
    // clang-format off
    const struct { const char* name; std::vector<int> numbers; QStringList fixed; } groups[] = {
        {"menu bar", {1000, 1009, 1012, 1279, 1385, 1320, 1013}, {}},
        {"File menu, CSO set-up", {1001, 1003, 1002, 1005, 1004}, {import_tee}},
        {"File menu, logging set-up", {1163, 1004}, {import_tee}},
        {"Print menu", {1006, 1007, 1008}, {}}, {"Operation menu", {1010, 1011}, {}},
        {"Re-program menu", {1383, 1384}, {"Program &Velto unit", "Program &Comm card"}},
        {"Help menu, VeltoLog", {1014}, {}}, {"Help menu, QuillarnPC", {1344}, {}},
        {"Help menu, Hartym", {1345}, {}},
        {"Print Header window", {1005, 1447, 1448, 1397}, {}},
        {"one-parameter window", {1395, 1396}, {}}, {"legend window", {1078, 1079, 1142}, {}},
        {"log set-up page", {1078, 1079, 1080, 1230, 1088, 1089, 1090, 1091, 1397}, {}},
        {"log set-up page, downloading", {1078, 1079, 1080, 1230, 1088, 1330, 1090, 1091, 1397}, {}},
        {"echo page", {1220, 1221, 1222, 1223, 1095, 1096}, {}},
        {"echo page, after log-on", {1220, 1316, 1222, 1223, 1095, 1096}, {}},
        {"KOVEX page", {1399, 1400, 1312, 1313, 1401}, {}}};
    // clang-format on
    problems.clear();
    for (const auto& g : groups)
        for (int c = 0; c < LANGUAGES; ++c) {
            std::map<QChar, QString> taken;
            for (const QString& fixed : g.fixed)
                taken[accelerators(fixed)[0]] = fixed;
            for (int n : g.numbers) {
                // A missing text is reported by the coverage test.
                const QString caption = table.count(n) ? table.at(n)[c] : QString();
                const QString keys = accelerators(caption);
                const QString where =
                    QString("%1, %2: \"%3\"").arg(g.name, LANGUAGE_NAMES[c], caption);
                if (keys.isEmpty() && !caption.isEmpty() && !shown_as_is(n))
                    problems << where + " has no key";
                else if (!keys.isEmpty() && !taken.emplace(keys[0], caption).second)
                    problems << where + " and \"" + taken[keys[0]] + "\" both answer to Alt+" +
                                    keys[0].toUpper();
            }
        }
    EXPECT_TRUE(problems.isEmpty()) << "clashing keyboard accelerators:" << lines(problems);
}

// The checks themselves, on small made-up files: a check that finds nothing would pass anything.

TEST(LangFileCheck, ReportsEachKindOfLineTheLoaderWouldMisread) {
    // clang-format off
    struct Case { QByteArray bytes; const char* expected; LineRules rules = {}; };
    // clang-format on
    // clang-format off
    const Case cases[] = {
        {"1000,a,b,c,d\n", "5 fields"}, {"x1000,a,b,c,d,e\n", "is not a text number"},
        {"1501,a,b,c,d,e\n", "is not a text number"}, {"3000,a,b,c,d,e\n", "is not a text number"},
        {"1000,a,b,c,d,\n", "empty in Spanish"},
        {"1000,a,b,c,d,e\n1000,f,g,h,i,j\n", "already defined at x.def:1"},
        {"1000,a\rb,c,d,e,f\n", "carriage return inside"},
        {"1000,\xe9t\xe9,b,c,d,e\n", "not valid UTF-8"},
        {"1000,a,b,c,d,e\n", "CR LF", {.require_crlf = true}},
        {"1000,a,b,c,d,e,f\n", "holds a comma", {.six_fields_only = true}}};
    // clang-format on
    for (const Case& c : cases) {
        SeenNumbers seen;
        const QStringList problems = check_lang_file("x.def", c.bytes, seen, c.rules);
        EXPECT_EQ(problems.size(), 1) << c.bytes.toStdString() << lines(problems);
        EXPECT_TRUE(problems.join('\n').contains(c.expected))
            << c.bytes.toStdString() << lines(problems);
    }

    SeenNumbers seen;
    TextTable table;
    const QByteArray good = "1000,&File,&Datei,&Fichier,&File,&Archivo\r\n"
                            "0,a,b,c,d,\xc3\xa9\n"
                            "1500, leading blank,b,c,d,trailing blank \n"
                            "1111,extra,fields,are,ignored,here,x";
    EXPECT_EQ(check_lang_file("a.def", good, seen, {}, &table), QStringList());
    EXPECT_EQ(table[1500], QStringList({" leading blank", "b", "c", "d", "trailing blank "}));
}

TEST(LangFileCheck, FindsLiteralTextNumbersAndNamesTheMissingOnes) {
    TextUses uses;
    find_text_uses("src/a.cpp",
                   "box(ui_text( 1299 , \"No reply\"));\nx = ui_text(1170 + i); y = ui_text(n);\n"
                   "z = my_ui_text(1411); w = ui_text (1416)+ui_text(1000,tr);\n",
                   uses);
    const TextTable table{{1000, {"a", "b", "c", "d", "e"}}, {1416, {"a", "b", "c", "", "e"}}};
    EXPECT_EQ(missing_texts(uses, table),
              QStringList({"text 1299 lacks English, German, French, Italian, Spanish, used by "
                           "src/a.cpp:1",
                           "text 1416 lacks Italian, used by src/a.cpp:3"}));

    // clang-format off
    const std::pair<const char*, const char*> marks[] = {
        {"Imprimer les \xc3\xa9&chos", "c"}, {"Volume 1&&2", ""}, {"&Save && &Exit", "se"}};
    // clang-format on
    for (const auto& [caption, keys] : marks)
        EXPECT_EQ(accelerators(QString::fromUtf8(caption)), keys) << caption;
}
