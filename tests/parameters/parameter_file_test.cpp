// Parameter files: the ".par" line saved and opened again in either separator style, the listings
// as the user reads them, and what a damaged file does.
#include "parameter_rules_support.h"

#include "parameters/parameter_file.h"
#include "parameters/parameter_file_commands.h"
#include "parameters/parameter_transfer.h"
#include "parameters/parameter_values.h"
#include "parameters/parameter_work.h"
#include "test_files.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <map>

namespace {

class ParameterFiles : public ParameterRules {
protected:
    void SetUp() override {
        ParameterRules::SetUp();
        ASSERT_TRUE(dir.isValid());
        shell().ini_path = dir.filePath("general.ini");
        shell().parameter_path = dir.path();
        set_transfer_view(&transfer);
        // The set-up rules the main window installs: they write rows while a set is opened.
        install_set_up_rules();
    }
    void TearDown() override {
        set_transfer_view(nullptr);
        ParameterRules::TearDown();
    }
    // Saves the screen's set as `name`; the dialog's chosen type follows the name's extension.
    QByteArray save(const QString& name) {
        dialogs.files.push_back(dir.filePath(name));
        saveparameterstofile_Click();
        QFile f(dir.filePath(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QTemporaryDir dir;
    RecordingTransferView transfer;
};

QStringList lines_of(const QByteArray& bytes) {
    return QString::fromLatin1(bytes).split("\r\n");
}

} // namespace

TEST_F(ParameterFiles, ParFileRoundTripsInEitherSeparatorStyle) {
    for (const auto& [decimal, thousands] : {std::pair{".", ","}, std::pair{",", "."}}) {
        platform::number_separators() = {decimal, thousands};
        show_set();
        type(81, decimal == QString(",") ? "12,5" : "12.5");
        type(105, "4");
        const QByteArray first = save("set.par");
        ASSERT_EQ(first.count(','), PAR_FIELDS) << decimal;
        EXPECT_TRUE(first.contains(",12.5,")) << "files keep '.' as decimal point";

        definitions_table() = DefinitionsTable{};
        ParameterRules::SetUp();
        shell().ini_path = dir.filePath("general.ini");
        platform::number_separators() = {decimal, thousands};
        ASSERT_TRUE(openparamfile(dir.filePath("set.par"), true));
        EXPECT_TRUE(dialogs.messages().isEmpty()) << dialogs.messages().join("|").toStdString();
        EXPECT_EQ(rec(81).unit_value, 12.5);
        EXPECT_EQ(box(81), decimal == QString(",") ? "12,5" : "12.5");
        EXPECT_EQ(save("again.par"), first) << "a save and reopen gives the same file";
    }
}

// The unit's own texts (its software version, their date, the site tag) are values: a save and a
// reopen keep them as they are and never call them damage, and the listings show them. Only a
// whole "Text" is the placeholder of a value never filled in.
TEST_F(ParameterFiles, TheUnitsTextsSurviveASaveAndAReopen) {
    const std::vector<std::pair<int, QString>> sets[] = {
        {{926, "Prot.2.0.5"}, {927, "Mar 2021"}, {928, "Tank A"}},
        {{926, "Textile mill"}, {927, "Texts"}, {928, "Text 2"}},
    };
    for (const auto& texts : sets) {
        for (const auto& [P, text] : texts)
            rec(P).value_text = text;
        show_set();
        const QByteArray first = save("set.par");
        const QString listings = QString::fromLatin1(save("set.csv") + save("set.txt"));
        ASSERT_TRUE(openparamfile(dir.filePath("set.par"), true));
        EXPECT_TRUE(dialogs.messages().isEmpty()) << "the unit's texts were called damage: "
                                                  << dialogs.messages().join("|").toStdString();
        for (const auto& [P, text] : texts)
            EXPECT_EQ(fields(rec(P).value_text, box(P), listings.count(text + "\r\n")),
                      fields(text, text, 2))
                << "P" << P;
        EXPECT_EQ(save("again.par"), first);
    }
}

// A text holding the file's separator is saved with a space in its place, so that every later
// field stays where it belongs; the unit's words "NO" and "OK" inside a text are no markers.
TEST_F(ParameterFiles, ACommaInTheUnitsTextKeepsEveryLaterFieldInItsPlace) {
    rec(926).value_text = "BROOK 2.0.5";
    rec(928).value_text = "Tank A, NORTH";
    show_set();
    std::vector<QString> later;
    for (int P = 929; P <= 999; ++P)
        later.push_back(rec(P).value_text.trimmed());
    const QByteArray first = save("set.par");
    const QList<QByteArray> f = first.split(',');
    ASSERT_EQ(f.size(), PAR_FIELDS + 1);
    EXPECT_EQ(fields(f[928 - 20], f[999 - 20]), fields("Tank A  NORTH", later.back()));
    ASSERT_TRUE(openparamfile(dir.filePath("set.par"), true));
    EXPECT_TRUE(dialogs.messages().isEmpty()) << dialogs.messages().join("|").toStdString();
    for (int P = 929; P <= 999; ++P)
        EXPECT_EQ(rec(P).value_text.trimmed(),
                  file_value_text(P, later[static_cast<size_t>(P - 929)]))
            << "P" << P;
    EXPECT_EQ(fields(rec(926).present, box(926), rec(928).present, box(928)),
              fields(true, "BROOK 2.0.5", true, "Tank A  NORTH"));
    EXPECT_TRUE(csv_listing("set.csv", {}, 0).contains(",Tank A  NORTH\r\n"))
        << "left out of the listing";
    EXPECT_EQ(save("again.par"), first) << "a save and reopen gives the same file";
}

// A number written without its leading zero (".35", "-.5") is that number.
TEST_F(ParameterFiles, AValueWithoutItsLeadingZeroLoadsAsItsNumber) {
    QStringList f = QString::fromLatin1(par_line()).split(',');
    f[107 - 20] = ".35";
    f[838 - 20] = "-.5";
    testfiles::write_bytes(dir.filePath("set.par"), f.join(',').toLatin1());
    ASSERT_TRUE(openparamfile(dir.filePath("set.par"), true));
    EXPECT_TRUE(dialogs.messages().isEmpty())
        << "a number without its leading zero was called damage: "
        << dialogs.messages().join("|").toStdString();
    EXPECT_EQ(fields(rec(107).unit_value, box(107), rec(838).unit_value, box(838)),
              fields(0.35, "0.35", -0.5, "-0.5"));
}

TEST_F(ParameterFiles, OnlyTheLastLineIsLoadedAndEveryDoubtfulValueIsNamedOnce) {
    // The fixture's set at its defaults.
    const QStringList good = QString::fromLatin1(par_line()).split(',');
    auto line = [&](const std::map<int, QString>& changes) {
        QStringList f = good;
        for (const auto& [P, text] : changes)
            f[P - 20] = text;
        return f.join(',');
    };
    std::map<int, QString> all_empty;
    for (int P = 20; P <= 999; ++P)
        all_empty[P] = QString();
    const struct {
        const char* name;
        QString line;
        QStringList told; // empty: no message
        QStringList not_told;
    } table[] = {
        {"a whole set", line({{41, "33"}}), {}, {}},
        {"the last of a parameter's options", line({{41, "33"}, {72, "1"}}), {}, {}},
        {"an empty field", line({{25, ""}}), {ui_text(1412), " P25 = \"\","}, {}},
        {"a field holding OK", line({{41, "OK"}}), {ui_text(1412), " P41 = \"OK\","}, {}},
        {"not a number",
         line({{41, "3x3"}}),
         {ui_text(2272) + " P41 = \"3x3\""},
         {ui_text(1412), "\"3x3\","}},
        {"no number at all",
         line({{41, "abc"}, {81, "3x3"}}),
         {ui_text(1412), ui_text(2272) + " P41 = \"abc\", P81 = \"3x3\"\r\n" + ui_text(2296)},
         {ui_text(1414)}},
        {"outside the limits",
         line({{41, "75"}, {81, "10"}}),
         {ui_text(2273) + " P41 = \"75\""},
         {ui_text(1412), "P81", "\"75\","}},
        // The rows' own checks run as the set goes on the screen over the one before; what they
        // refuse is told in the file's message, once.
        {"a radar unit's set", line({{41, "33"}, {99, "3"}}), {}, {}},
        {"a device row outside its choices",
         line({{99, "3"}, {130, "7"}}),
         {ui_text(2273) + " P130 = \"7\""},
         {ui_text(1371), ui_text(1412)}},
        {"a device row holding a fraction of a choice",
         line({{99, "3"}, {130, "1.5"}}),
         {ui_text(2273) + " P130 = \"1.5\""},
         {ui_text(1371), ui_text(1412)}},
        {"a length unit outside its choices",
         line({{104, "7"}}),
         {ui_text(2273) + " P104 = \"7\""},
         {ui_text(1186), ui_text(1412)}},
        {"flow on a unit without it",
         line({{61, "0"}, {100, "4"}}),
         {"\r\nP100: " + ui_text(1372)},
         {ui_text(1412)}},
        {"a short line",
         "1,2,3,",
         {ui_text(1412), ui_text(2295).arg(977).arg(980).arg(23).arg(999)},
         {ui_text(1414)}},
        {"an empty line",
         line(all_empty),
         {" P39 = \"\",", ui_text(2271).arg(960)},
         {" P40 = \"\","}},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.name);
        dialogs.prompts.clear();
        testfiles::write_bytes(dir.filePath("set.par"), "old,line\r\n" + row.line.toLatin1());
        ASSERT_TRUE(openparamfile(dir.filePath("set.par"), true));
        const QStringList m = dialogs.messages();
        if (row.told.isEmpty()) {
            EXPECT_TRUE(m.isEmpty()) << m.join("|").toStdString();
            EXPECT_EQ(rec(41).unit_value, 33) << "the last line holds the set";
            continue;
        }
        ASSERT_EQ(m.size(), 1) << m.join("|").toStdString();
        EXPECT_LT(m[0].size(), 1000) << "a message box the user can read";
        for (const QString& t : row.told)
            EXPECT_TRUE(m[0].contains(t)) << t.toStdString() << " in " << m[0].toStdString();
        for (const QString& t : row.not_told)
            EXPECT_FALSE(m[0].contains(t)) << t.toStdString() << " in " << m[0].toStdString();
    }
}

// A value equal to its parameter's default passes whatever the limits say, in an opened file as
// in the edit check; the value beside it is named by both.
TEST_F(ParameterFiles, AValueAtItsDefaultIsNeverNamedOutsideTheLimits) {
    QStringList f = QString::fromLatin1(par_line()).split(',');
    for (const auto& [text, outside] : {std::pair{"20000", false}, {"20001", true}}) {
        f[71 - 20] = text;
        testfiles::write_bytes(dir.filePath("set.par"), f.join(',').toLatin1());
        ASSERT_TRUE(openparamfile(dir.filePath("set.par"), true));
        rec(71).default_value = 20000; // limits 0 to 9999; the opening read the catalogue's
        const bool named =
            par_load_message(parse_par_line(f.join(','))).contains(ui_text(2273) + " P71");
        type(71, "120");
        dialogs.prompts.clear();
        type(71, text);
        EXPECT_EQ(fields(named, dialogs.messages().size()), fields(outside, outside ? 1 : 0))
            << text << " named outside the limits on opening / refused when typed";
    }
}

TEST_F(ParameterFiles, ARowTheSetLacksIsSavedAsNoWhateverItsHiddenBoxHolds) {
    QStringList f = QString::fromLatin1(par_line()).split(',');
    f[41 - 20] = "33";
    testfiles::write_bytes(dir.filePath("a.par"), f.join(',').toLatin1());
    f[41 - 20] = "NO";
    testfiles::write_bytes(dir.filePath("b.par"), f.join(',').toLatin1());
    ASSERT_TRUE(openparamfile(dir.filePath("a.par"), true));
    EXPECT_EQ(box(41), "33");
    ASSERT_TRUE(openparamfile(dir.filePath("b.par"), true));
    EXPECT_FALSE(scrpar(41).visible);
    const QList<QByteArray> saved = save("b-again.par").split(',');
    ASSERT_EQ(saved.size(), PAR_FIELDS + 1);
    EXPECT_EQ(saved[41 - 20], "NO");
    EXPECT_FALSE(rec(41).present);
}

TEST_F(ParameterFiles, AFileThatCannotBeReadKeepsTheSetOnTheScreen) {
    show_set();
    type(41, "30");
    EXPECT_FALSE(openparamfile(dir.filePath("missing.par"), true));
    EXPECT_TRUE(dialogs.messages().first().startsWith(ui_text(1205)));
    EXPECT_TRUE(parameter_state().parameters_loaded);
    EXPECT_EQ(rec(41).unit_value, 30);
}

TEST_F(ParameterFiles, CancelledDialogsWriteAndChangeNothing) {
    show_set();
    dialogs.files.push_back(QString());
    saveparameterstofile_Click();
    dialogs.files.push_back(QString());
    get_parameters_file();
    EXPECT_TRUE(dialogs.messages().isEmpty());
    ASSERT_EQ(dialogs.prompts.size(), 2u);
    EXPECT_EQ(dialogs.prompts[0].text, "Save Parameters to File") << "a file dialog without title";
    EXPECT_EQ(dialogs.prompts[1].text, "Open Parameter File");
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).filter(".par").isEmpty());
    EXPECT_TRUE(parameter_state().parameters_loaded);
}

TEST_F(ParameterFiles, CsvListingSeparatorFollowsTheLanguage) {
    show_set();
    type(104, "1");
    rec(104).text = "Units";
    rec(71).text = "Fail; time \"x\"";
    type(71, "130");
    // English and German separate with a comma; French, Italian and Spanish with a semicolon.
    for (const auto& [language, sep] :
         {std::pair{0, ","}, {1, ","}, {2, ";"}, {3, ";"}, {4, ";"}}) {
        shell().language_index = static_cast<int16_t>(language);
        const QStringList lines = lines_of(save("list.csv"));
        EXPECT_EQ(lines[0], QString(70, '-'));
        EXPECT_EQ(lines[1], "File Name : " + dir.filePath("list.csv"));
        EXPECT_TRUE(lines[2].startsWith("Saved on "));
        EXPECT_EQ(lines[4], "Par,Description,Value");
        const QString s = sep;
        EXPECT_TRUE(lines.contains("104" + s + "Units" + s + "1")) << "language " << language;
        EXPECT_TRUE(lines.contains("71" + s + "\"Fail; time \"\"x\"\"\"" + s + "130"))
            << "a description holding a quote or the separator is quoted, language " << language;
        // Only the rows: the heading's file name is a random temporary folder.
        EXPECT_FALSE(lines.mid(4).join("\n").contains("NO")) << "absent parameters are not listed";
    }
}

TEST_F(ParameterFiles, TxtListingColumnsWrapAtTheirColumn) {
    show_set();
    rec(71).text = QString(40, 'a');
    rec(72).text = QString(41, 'b');
    const QStringList lines = lines_of(save("list.txt"));
    EXPECT_EQ(lines[4], "Par      Description                   Value");
    const qsizetype a = lines.indexOf(QRegularExpression("^71 .*"));
    ASSERT_GE(a, 0);
    EXPECT_EQ(lines[a], "71       " + QString(40, 'a') + "120") << "40 characters still fit";
    const qsizetype b = lines.indexOf(QRegularExpression("^72 .*"));
    ASSERT_GE(b, 0);
    EXPECT_EQ(lines[b], "72       " + QString(41, 'b'));
    EXPECT_EQ(lines[b + 1], QString(49, ' ') + "0") << "41 characters push the value down";
}
