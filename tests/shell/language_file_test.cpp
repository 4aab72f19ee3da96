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

QLabel* array_label(QWidget* parent, const char* name, int index) {
    auto* l = new QLabel("design", parent);
    l->setObjectName(name);
    l->setProperty(CONTROL_INDEX_PROPERTY, index);
    return l;
}

} // namespace

TEST_F(LanguageFileTest, EachLanguageTakesItsOwnColumn) {
    write_language_file("1139,Date,Datum,Date du jour,Data,Fecha\r\n");
    const char* expected[] = {"Date", "Datum", "Date du jour", "Data", "Fecha"};
    for (int language = 0; language < 5; ++language) {
        load(language);
        EXPECT_EQ(ui_text(1139), expected[language]) << "language " << language;
    }
}

TEST_F(LanguageFileTest, LinesAreTakenAsTheyStandWithinRangeAndLastOneWins) {
    definitions_table()[0].text = "zero";
    definitions_table()[1200].text = "kept";
    write_language_file("2000,far,far,far,far,far\r\n"
                        "-1,below,below,below,below,below\r\n"
                        "1500,last,letzte,dernier,ultimo,ultimo\r\n"
                        "1001,first,a,a,a,a\r\n"
                        "1001,second,b,b,b,b\r\n"
                        "1002, Blank before,x,x,x,x\r\n"
                        "\r\n"
                        "1200,Only English\r\n"
                        "1003,A,B,C,D,E,extra,fields\r\n"
                        "  1004,Lead,x,x,x,x\r\n"
                        "1005.4,Rounded,x,x,x,x\r\n"
                        "1006,,x,x,x,x\r\n");
    load(0);
    EXPECT_EQ(ui_text(1500), "last");
    EXPECT_EQ(ui_text(1001), "second");
    EXPECT_EQ(ui_text(1002), " Blank before");
    EXPECT_EQ(ui_text(0), "zero") << "an empty line or an out-of-range number reached record 0";
    EXPECT_EQ(ui_text(1200), "Only English");
    EXPECT_EQ(ui_text(1003), "A");
    EXPECT_EQ(ui_text(1004), "Lead");
    EXPECT_EQ(ui_text(1005), "Rounded");
    EXPECT_EQ(ui_text(1006), "");
    EXPECT_EQ(ui_text(1006, "Fallback"), "Fallback");
    EXPECT_FALSE(ui_text(1500).endsWith('\r'));
}

TEST_F(LanguageFileTest, ShortLineLeavesItsRecordAloneInsteadOfBorrowingTheLineBefore) {
    definitions_table()[1201].text = "earlier";
    write_language_file("1200,Open,Oeffnen,Ouvrir,Apri,Abrir\r\n"
                        "1201,Close,Schliessen\r\n");
    load(2);
    EXPECT_EQ(ui_text(1200), "Ouvrir");
    EXPECT_EQ(ui_text(1201), "earlier") << "the short line took the French text of line 1200";
    load(1);
    EXPECT_EQ(ui_text(1201), "Schliessen");
}

TEST_F(LanguageFileTest, RecordsTheFileDoesNotNameKeepTheirTextAcrossALanguageChange) {
    write_language_file("1300,File,Datei,Fichier,File,Archivo\r\n");
    load(1);
    write_language_file("1301,Edit,Bearbeiten,Editer,Modifica,Editar\r\n");
    load(0);
    EXPECT_EQ(ui_text(1300), "Datei");
    EXPECT_EQ(ui_text(1301), "Edit");
}

TEST_F(LanguageFileTest, EightBitTextIsRead) {
    write_language_file("1310,Size,Gr\xf6\xdf" "e,Taille,Dimensione,Tama\xf1o\r\n");
    load(1);
    EXPECT_EQ(ui_text(1310), QString::fromUtf8("Gr\xc3\xb6\xc3\x9f" "e"));
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

TEST_F(LanguageFileTest, LabelPassSetsOnlyTheParameterRowLabels) {
    definitions_table()[20].text = "Tank height";
    definitions_table()[21].text = "other";
    QWidget form;
    QLabel* row = array_label(&form, "scrlabel", 20);
    QLabel* beyond = array_label(&form, "scrlabel", 1501);
    QLabel* other_name = array_label(&form, "Label5", 21);
    auto* box = new QLineEdit("design", &form);
    box->setObjectName("scrlabel");
    box->setProperty(CONTROL_INDEX_PROPERTY, 21);
    apply_label_texts(form, false);
    EXPECT_EQ(row->text(), "Tank height");
    EXPECT_EQ(beyond->text(), "design");
    EXPECT_EQ(other_name->text(), "design");
    EXPECT_EQ(box->text(), "design");
}

TEST_F(LanguageFileTest, LabelPassTicksTheProgressBarOncePerControlWrappingAtItsMaximum) {
    QProgressBar bar;
    bar.setRange(0, 100);
    bar.setValue(0);
    set_label_progress_bar([&bar] { return &bar; });
    QWidget form;
    for (int i = 0; i < 250; ++i)
        new QLabel(&form);
    apply_label_texts(form, true);
    EXPECT_EQ(bar.value(), 250 % 101);
    apply_label_texts(form, false);
    EXPECT_EQ(bar.value(), 250 % 101);
    set_label_progress_bar({});
}
