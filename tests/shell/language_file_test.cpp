#include "shell/language_file.h"
#include "shell_test_support.h"

#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>

namespace {

class LanguageFileTest : public ShellTest {
protected:
    void load(int language) {
        shell().language_index = static_cast<int16_t>(language);
        load_language_file();
    }
};

template <class Control> Control* indexed(Control* control, const char* name, int index) {
    control->setObjectName(name);
    control->setProperty(CONTROL_INDEX_PROPERTY, index);
    return control;
}

} // namespace

TEST_F(LanguageFileTest, EachLanguageTakesItsOwnColumnInUtf8EightBitOrUtf16) {
    const QString text = QString::fromUtf8("1139,Date,Datum,Date du jour,Data,Fecha\r\n"
                                           "1310,Size,Gr\xc3\xb6\xc3\x9f"
                                           "e,Taille,Dimensione,Tama\xc3\xb1o\r\n");
    const char* expected[] = {"Date", "Datum", "Date du jour", "Data", "Fecha"};
    for (const QByteArray& bytes :
         {text.toUtf8(), text.toLatin1(), testfiles::utf16_bytes(text, true),
          testfiles::utf16_bytes(text, false)}) {
        write_language_file(bytes);
        for (int language = 0; language < 5; ++language) {
            load(language);
            EXPECT_EQ(ui_text(1139), expected[language]) << "language " << language;
        }
        EXPECT_EQ(ui_text(1310), QString::fromUtf8("Tama\xc3\xb1o"))
            << bytes.left(4).toHex().toStdString();
        load(1);
        EXPECT_EQ(ui_text(1310), QString::fromUtf8("Gr\xc3\xb6\xc3\x9f"
                                                   "e"));
    }
}

TEST_F(LanguageFileTest, LinesAreTakenAsTheyStandWithinRangeAndLastOneWins) {
    definitions_table()[0].text = "zero";
    definitions_table()[1200].text = "kept";
    write_language_file("3000,far,far,far,far,far\r\n1600,gap,gap,gap,gap,gap\r\n"
                        "2001,added,x,x,x,x\r\n-1,below,below,below,below,below\r\n"
                        "1500,last,letzte,dernier,ultimo,ultimo\r\n"
                        "1001,first,a,a,a,a\r\n1001,second,b,b,b,b\r\n"
                        "1002, Blank before,x,x,x,x\r\n\r\n1200,Only English\r\n"
                        "1003,A,B,C,D,E,extra,fields\r\n  1004,Lead,x,x,x,x\r\n"
                        "1005.4,Rounded,x,x,x,x\r\n1006,,x,x,x,x\r\n");
    load(0);
    // clang-format off
    const std::pair<int, const char*> texts[] = {
        {1500, "last"}, {1001, "second"}, {1002, " Blank before"}, {1200, "Only English"},
        {1003, "A"}, {1004, "Lead"}, {1005, "Rounded"}, {1006, ""}, {2001, "added"}, {1600, ""}, {3000, ""}};
    // clang-format on
    for (const auto& [record, text] : texts)
        EXPECT_EQ(ui_text(record), text) << "record " << record;
    EXPECT_EQ(ui_text(0), "zero") << "an empty line or an out-of-range number reached record 0";
    EXPECT_EQ(ui_text(1006, "Fallback"), "Fallback");
}

TEST_F(LanguageFileTest, ShortLineOrUnnamedRecordKeepsItsTextInsteadOfBorrowingAnother) {
    definitions_table()[1201].text = "earlier";
    write_language_file("1200,Open,Oeffnen,Ouvrir,Apri,Abrir\r\n"
                        "1201,Close,Schliessen\r\n");
    load(2);
    EXPECT_EQ(ui_text(1200), "Ouvrir");
    EXPECT_EQ(ui_text(1201), "earlier") << "the short line took the French text of line 1200";
    load(1);
    EXPECT_EQ(ui_text(1201), "Schliessen");
    write_language_file("1301,Edit,Bearbeiten,Editer,Modifica,Editar\r\n");
    load(0);
    EXPECT_EQ(ui_text(1200), "Oeffnen") << "a record the new file does not name lost its text";
    EXPECT_EQ(ui_text(1301), "Edit");
}

TEST_F(LanguageFileTest, MissingFileIsReportedOnceAndTheOptionListsStillLoad) {
    definitions_table()[1139].text = "kept";
    load(1);
    load(1);
    ASSERT_EQ(dialogs.messages().size(), 1) << "the missing file was reported more than once";
    EXPECT_TRUE(dialogs.messages()[0].contains("lang.def"));
    EXPECT_EQ(ui_text(1139), "kept");
    EXPECT_EQ(shell().option_lists.luk.at(0), "0=Nein,1=Ja");
    EXPECT_EQ(shell().distance_unit_names.size(), 5);
}

TEST_F(LanguageFileTest, LabelPassSetsOnlyTheParameterRowLabelsAndTicksTheProgressBar) {
    definitions_table()[20].text = "Tank height";
    definitions_table()[21].text = "other";
    QWidget form;
    auto* row = indexed(new QLabel("design", &form), "scrlabel", 20);
    auto* beyond = indexed(new QLabel("design", &form), "scrlabel", 1501);
    auto* other_name = indexed(new QLabel("design", &form), "Label5", 21);
    auto* box = indexed(new QLineEdit("design", &form), "scrlabel", 21);
    QProgressBar bar;
    bar.setRange(0, 2);
    bar.setValue(0);
    set_label_progress_bar([&bar] { return &bar; });
    const auto controls = form.findChildren<QWidget*>().size();
    apply_label_texts(form, true);
    EXPECT_EQ(bar.value(), controls % 3) << "not one tick per control, wrapping at the maximum";
    apply_label_texts(form, false);
    EXPECT_EQ(bar.value(), controls % 3) << "the bar ticked when told not to";
    set_label_progress_bar({});
    EXPECT_EQ(fields(row->text(), beyond->text(), other_name->text(), box->text()),
              fields("Tank height", "design", "design", "design"));
}
