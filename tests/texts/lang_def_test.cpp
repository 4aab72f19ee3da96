// The language file that ships with the program: its form, its coverage of the texts that the
// code asks for, and the keyboard accelerators of its captions.
#include "lang_def_check.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <map>
#include <vector>

using namespace textcheck;

namespace {

const QString source_dir = QStringLiteral(QUILLARN_SOURCE_DIR);
const QString lang_src_dir = source_dir + QStringLiteral("/data/lang-src");
const QString shipped_lang_def =
    QStringLiteral(QUILLARN_DATA_DIR) + QStringLiteral("/Quillarn Version Definitions/lang.def");
const QString program_texts = QStringLiteral("texts.def");

QByteArray read_bytes(const QString &path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "cannot read " << path.toStdString();
        return {};
    }
    return f.readAll();
}

QStringList lang_sources() {
    return QDir(lang_src_dir).entryList({QStringLiteral("*.def")}, QDir::Files, QDir::Name);
}

std::string lines(const QStringList &problems) {
    return ("\n  " + problems.join(QStringLiteral("\n  "))).toStdString();
}

// The shipped file as the program reads it, with the problems of its form.
TextTable shipped_table(QStringList *problems = nullptr) {
    TextTable table;
    SeenNumbers seen;
    const QStringList p = check_lang_file(QStringLiteral("lang.def"), read_bytes(shipped_lang_def),
                                          seen, {.require_crlf = true}, &table);
    if (problems)
        *problems = p;
    return table;
}

TextTable program_text_table() {
    TextTable table;
    SeenNumbers seen;
    check_lang_file(program_texts, read_bytes(lang_src_dir + "/" + program_texts), seen, {},
                    &table);
    return table;
}

} // namespace

TEST(LanguageSources, EveryLineIsARecordNumberWithFiveTextsAndNoNumberTwice) {
    const QStringList files = lang_sources();
    ASSERT_TRUE(files.contains(program_texts)) << "no " << program_texts.toStdString();
    SeenNumbers seen; // shared: the files are joined into one lang.def
    QStringList problems;
    for (const QString &name : files) {
        const LineRules rules{.six_fields_only = name == program_texts};
        problems += check_lang_file(name, read_bytes(lang_src_dir + "/" + name), seen, rules);
    }
    EXPECT_TRUE(problems.isEmpty()) << "lines the loader would misread:" << lines(problems);
}

TEST(LanguageSources, ProgramTextsStayAboveTheParameterCaptions) {
    // Records below 1000 are the captions of the parameter rows; a program text there would
    // replace a parameter's caption.
    QStringList misplaced;
    for (const auto &[number, texts] : program_text_table()) {
        if (number < 1000)
            misplaced << QString::number(number) + " " + texts.value(0);
    }
    EXPECT_TRUE(misplaced.isEmpty()) << "program texts numbered below 1000:" << lines(misplaced);
    EXPECT_GT(program_text_table().size(), 400u);
}

TEST(ShippedLanguageFile, HoldsEverySourceLineEndedByCrLf) {
    QStringList problems;
    const TextTable table = shipped_table(&problems);
    EXPECT_TRUE(problems.isEmpty()) << "the built lang.def is malformed:" << lines(problems);
    std::size_t source_records = 0;
    for (const QString &name : lang_sources()) {
        TextTable part;
        SeenNumbers seen;
        check_lang_file(name, read_bytes(lang_src_dir + "/" + name), seen, {}, &part);
        source_records += part.size();
    }
    EXPECT_EQ(table.size(), source_records) << "the build lost or added lines";
}

TEST(ShippedLanguageFile, HasEveryTextTheCodeAsksForInEveryLanguage) {
    const QList<TextUse> uses = find_text_uses_below(source_dir + "/src");
    const QStringList missing = missing_texts(uses, shipped_table());
    EXPECT_TRUE(missing.isEmpty())
        << "the program would show an empty caption or message for:" << lines(missing);
}

TEST(Accelerators, NoTextMarksMoreThanOneKey) {
    QStringList problems;
    for (const auto &[number, texts] : shipped_table()) {
        for (int c = 0; c < texts.size(); ++c) {
            if (accelerator_count(texts[c]) > 1)
                problems << QStringLiteral("%1 %2: \"%3\"")
                                .arg(number)
                                .arg(language_names()[c])
                                .arg(texts[c]);
        }
    }
    EXPECT_TRUE(problems.isEmpty()) << "captions with several accelerators:" << lines(problems);
}

TEST(Accelerators, TextsShownOutsideMenusAndButtonsCarryNoMark) {
    // These are also series titles and CSV headings (the log channel captions), window or message
    // titles, or parts of the title bar, where an ampersand would show as it stands.
    std::vector<int> numbers{1136, 1198, 1204, 1266, 1378, 1382, 1385, 1429};
    for (int n = 1028; n <= 1059; ++n)
        numbers.push_back(n);
    for (int n = 1322; n <= 1341; ++n) {
        if (n != 1330) // the download button's abort caption
            numbers.push_back(n);
    }
    const TextTable table = shipped_table();
    QStringList problems;
    for (int n : numbers) {
        const auto it = table.find(n);
        if (it == table.end())
            continue;
        for (int c = 0; c < it->second.size(); ++c) {
            if (it->second[c].contains('&'))
                problems << QStringLiteral("%1 %2: \"%3\"")
                                .arg(n)
                                .arg(language_names()[c])
                                .arg(it->second[c]);
        }
    }
    EXPECT_TRUE(problems.isEmpty())
        << "ampersands that would be shown literally:" << lines(problems);
}

TEST(Accelerators, EntriesShownTogetherAnswerToDifferentKeys) {
    struct Group {
        const char *name;
        std::vector<int> numbers;
        QStringList fixed_captions; // built-in captions without a text number
        std::vector<int> without_key = {};
    };
    const QString import_tee = QStringLiteral("&Import .Tee file");
    const std::vector<Group> groups{
        {"menu bar", {1000, 1009, 1012, 1279, 1385, 1320, 1013}, {}, {1385}},
        {"File menu, CSO set-up", {1001, 1003, 1002, 1005, 1004}, {import_tee}},
        {"File menu, logging set-up", {1163, 1004}, {import_tee}},
        {"Print menu", {1006, 1007, 1008}, {}},
        {"Operation menu", {1010, 1011}, {}},
        {"Re-program menu",
         {1383, 1384},
         {QStringLiteral("Program &Velto unit"), QStringLiteral("Program &Comm card")}},
        {"Help menu, VeltoLog", {1014}, {}},
        {"Help menu, QuillarnPC", {1344}, {}},
        {"Help menu, Hartym", {1345}, {}},
        {"Print Header window", {1005, 1447, 1448, 1397}, {}},
        {"one-parameter window", {1395, 1396}, {}},
        {"legend window", {1078, 1079, 1142}, {}},
        {"log set-up page", {1078, 1079, 1080, 1230, 1088, 1089, 1090, 1091, 1397}, {}},
        {"log set-up page, downloading",
         {1078, 1079, 1080, 1230, 1088, 1330, 1090, 1091, 1397},
         {}},
        {"echo page", {1220, 1221, 1222, 1223, 1095, 1096}, {}},
        {"echo page, after log-on", {1220, 1316, 1222, 1223, 1095, 1096}, {}},
        {"KOVEX page", {1399, 1400, 1312, 1313, 1401}, {}},
    };
    const TextTable table = shipped_table();
    QStringList problems;
    for (const Group &g : groups) {
        for (int c = 0; c < LANGUAGE_COUNT; ++c) {
            std::map<QChar, QString> taken;
            for (const QString &fixed : g.fixed_captions)
                taken[accelerator(fixed)] = fixed;
            for (int n : g.numbers) {
                const auto it = table.find(n);
                if (it == table.end() || c >= it->second.size())
                    continue; // a missing text is reported by the coverage tests
                const QString &caption = it->second[c];
                const QChar key = accelerator(caption);
                const bool wanted =
                    std::find(g.without_key.begin(), g.without_key.end(), n) == g.without_key.end();
                if (key.isNull()) {
                    if (wanted)
                        problems << QStringLiteral("%1, %2: \"%3\" has no key")
                                        .arg(g.name)
                                        .arg(language_names()[c])
                                        .arg(caption);
                    continue;
                }
                const auto [at, inserted] = taken.emplace(key, caption);
                if (!inserted)
                    problems << QStringLiteral("%1, %2: \"%3\" and \"%4\" both answer to Alt+%5")
                                    .arg(g.name)
                                    .arg(language_names()[c])
                                    .arg(at->second)
                                    .arg(caption)
                                    .arg(key.toUpper());
            }
        }
    }
    EXPECT_TRUE(problems.isEmpty()) << "clashing keyboard accelerators:" << lines(problems);
}

// The checks themselves, on small made-up files.

TEST(LangFileCheck, ReportsEachKindOfLineTheLoaderWouldMisread) {
    struct Case {
        const char *what;
        QByteArray bytes;
        LineRules rules;
        const char *expected;
    };
    const std::vector<Case> cases{
        {"too few fields", "1000,a,b,c,d\n", {}, "5 fields"},
        {"letters before the number", "x1000,a,b,c,d,e\n", {}, "is not a record number"},
        {"blank before the number", " 1000,a,b,c,d,e\n", {}, "is not a record number"},
        {"negative number", "-1,a,b,c,d,e\n", {}, "is not a record number"},
        {"number past the table", "1501,a,b,c,d,e\n", {}, "from 0 to 1500"},
        {"empty German text", "1000,a,,c,d,e\n", {}, "empty in German"},
        {"empty Spanish text", "1000,a,b,c,d,\n", {}, "empty in Spanish"},
        {"number twice", "1000,a,b,c,d,e\n1000,f,g,h,i,j\n", {}, "already defined at x.def:1"},
        {"carriage return inside", "1000,a\rb,c,d,e,f\n", {}, "carriage return inside"},
        {"not UTF-8", "1000,\xe9t\xe9,b,c,d,e\n", {}, "not valid UTF-8"},
        {"LF only where CR LF is needed", "1000,a,b,c,d,e\n", {.require_crlf = true}, "CR LF"},
        {"comma in a text", "1000,a,b,c,d,e,f\n", {.six_fields_only = true}, "holds a comma"},
    };
    for (const Case &c : cases) {
        SeenNumbers seen;
        const QStringList problems =
            check_lang_file(QStringLiteral("x.def"), c.bytes, seen, c.rules);
        EXPECT_EQ(problems.size(), 1) << c.what << ":" << lines(problems);
        EXPECT_TRUE(problems.join('\n').contains(QString::fromUtf8(c.expected)))
            << c.what << ":" << lines(problems);
    }
}

TEST(LangFileCheck, AcceptsGoodLinesWithEitherLineEndAndFindsDuplicatesAcrossFiles) {
    SeenNumbers seen;
    TextTable table;
    const QByteArray good = "1000,&File,&Datei,&Fichier,&File,&Archivo\r\n"
                            "0,a,b,c,d,é\n"
                            "1500, leading blank,b,c,d,trailing blank \n"
                            "1111,extra,fields,are,ignored,here,x";
    EXPECT_TRUE(check_lang_file(QStringLiteral("a.def"), good, seen, {}, &table).isEmpty());
    ASSERT_EQ(table.size(), 4u);
    EXPECT_EQ(table[1500].value(0), QStringLiteral(" leading blank"));
    EXPECT_EQ(table[1500].value(4), QStringLiteral("trailing blank "));
    EXPECT_EQ(table[0].value(4), QStringLiteral("é"));
    const QStringList again =
        check_lang_file(QStringLiteral("b.def"), "1500,a,b,c,d,e\n", seen, {}, &table);
    ASSERT_EQ(again.size(), 1);
    EXPECT_TRUE(again[0].contains(QStringLiteral("b.def:1"))) << lines(again);
    EXPECT_TRUE(again[0].contains(QStringLiteral("a.def:3"))) << lines(again);
}

TEST(TextUseScan, CountsOnlyLiteralNumbersPassedToUiText) {
    const QString source = QStringLiteral("label->setText(ui_text(1000));\n"
                                          "box(ui_text( 1299 , \"No reply\"));\n"
                                          "for (i) x = ui_text(1170 + i);\n"
                                          "y = ui_text(n); z = my_ui_text(1411);\n"
                                          "w = ui_text (1416)+ui_text(1417,tr);\n");
    const QList<TextUse> uses = find_text_uses(QStringLiteral("src/a.cpp"), source);
    std::vector<std::pair<int, QString>> got;
    for (const TextUse &u : uses)
        got.emplace_back(u.number, u.where);
    const std::vector<std::pair<int, QString>> expected{
        {1000, "src/a.cpp:1"}, {1299, "src/a.cpp:2"}, {1416, "src/a.cpp:5"}, {1417, "src/a.cpp:5"}};
    EXPECT_EQ(got, expected);
}

TEST(TextUseScan, MissingTextReportNamesTheNumbersAndTheFilesThatUseThem) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("src/link")));
    QFile f(dir.filePath(QStringLiteral("src/link/command_link.cpp")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("// link\nshow(ui_text(1299), ui_text(1411));\nshow(ui_text(1499, \"x\"));\n"
            "status(ui_text(1416));\n");
    f.close();
    const TextTable table{
        {1299, {"a", "b", "c", "d", "e"}},
        {1411, {"a", "b", "c", "d", "e"}},
        {1416, {"a", "b", "c", "", "e"}},
    };
    const QStringList report =
        missing_texts(find_text_uses_below(dir.filePath(QStringLiteral("src"))), table);
    ASSERT_EQ(report.size(), 2) << lines(report);
    EXPECT_EQ(report[0], QStringLiteral("text 1416 empty in Italian, used by "
                                        "src/link/command_link.cpp:4"));
    EXPECT_EQ(report[1], QStringLiteral("text 1499 missing, used by src/link/command_link.cpp:3"));
}

TEST(AcceleratorMark, IsTheLetterAfterASingleAmpersand) {
    EXPECT_EQ(accelerator(QStringLiteral("E&xit")), QChar('x'));
    EXPECT_EQ(accelerator(QStringLiteral("&Datei")), QChar('d'));
    EXPECT_EQ(accelerator(QStringLiteral("Imprimer les é&chos")), QChar('c'));
    EXPECT_EQ(accelerator(QStringLiteral("Volume 1&&2")), QChar());
    EXPECT_EQ(accelerator(QStringLiteral("Date && &Time")), QChar('t'));
    EXPECT_EQ(accelerator_count(QStringLiteral("&Save && &Exit")), 2);
    EXPECT_EQ(accelerator_count(QStringLiteral("Level")), 0);
}
