// The main window's texts: every caption the map names has its control and its text, and the
// window speaks the chosen language.
#include "echo/echo_page.h"
#include "logging/log_setup_page.h"
#include "platform/text_file.h"
#include "shell/language_file.h"
#include "ui/caption_map.h"
#include "ui/toolbar_texts.h"
#include "ui_test_support.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QMenu>
#include <QRadioButton>
#include <QTabWidget>
#include <map>
#include <qcustomplot.h>

namespace {

// Text number -> the five languages, from the shipped lang.def.
std::map<int, QStringList> shipped_texts() {
    std::map<int, QStringList> texts;
    const auto file = platform::read_text_file(QStringLiteral(QUILLARN_DATA_DIR) +
                                               "/Quillarn Version Definitions/lang.def");
    if (!file)
        return texts;
    for (const QString& line : platform::split_lines(*file)) {
        QStringList pieces = line.split(',');
        bool ok = false;
        const int n = pieces.value(0).toInt(&ok);
        if (ok && pieces.size() >= 6)
            texts[n] = pieces.mid(1, 5);
    }
    return texts;
}

QString entry_name(const CaptionEntry& e) {
    return QStringLiteral("%1.%2%3").arg(QLatin1String(e.window), QLatin1String(e.control),
                                         e.index >= 0 ? QStringLiteral("(%1)").arg(e.index)
                                                      : QString());
}

class CaptionMapTest : public UiTest {};

} // namespace

TEST_F(CaptionMapTest, EveryControlTheMapNamesIsOnTheMainWindowInEveryIdentity) {
    for (int identity : {0, 1, 2}) {
        SCOPED_TRACE(identity);
        MainWindow& w = open_main_window(identity, identity == 0 ? 0 : 1);
        const auto missing = apply_caption_map(w, QStringLiteral("Form1"), identity);
        QStringList names;
        for (const CaptionEntry* e : missing)
            names << entry_name(*e);
        EXPECT_TRUE(names.isEmpty())
            << "captions with no control to show them: " << names.join(", ").toStdString();
        w.close();
        flush();
    }
}

TEST_F(CaptionMapTest, CompanionWindowsAreNamedOnlyForTheWindowsThatTakeTheirTexts) {
    // The interactive window, the Setup dialog and the print header dialog are checked here
    // once they exist; until then their entries wait in the map and the window skips them.
    const QStringList known = {"Form1", "form5", "Form3", "frmPrintHeader"};
    for (const CaptionEntry& e : caption_map())
        EXPECT_TRUE(known.contains(QLatin1String(e.window))) << entry_name(e).toStdString();
    MainWindow& w = open_main_window(1, 1);
    ASSERT_TRUE(w.services.print_header);
    QWidget* header = w.services.print_header();
    for (const CaptionEntry& e : caption_map())
        if (QLatin1String(e.window) == QLatin1String("frmPrintHeader") && *e.control) {
            EXPECT_TRUE(header->findChild<QWidget*>(QLatin1String(e.control)))
                << "the print header has no " << e.control;
        }
    header->close();
    flush();
    const std::pair<const char*, std::function<QWidget*()>*> built[] = {
        {"form5", &w.services.parameter_window}, {"Form3", &w.services.setup_dialog}};
    for (const auto& [name, window] : built) {
        ASSERT_TRUE(*window) << name << " is not installed";
        QStringList missing;
        for (const CaptionEntry* e : apply_caption_map(*(*window)(), name, 1))
            missing << entry_name(*e);
        EXPECT_TRUE(missing.isEmpty())
            << name << ": captions with no control to show them: "
            << missing.join(", ").toStdString();
    }
    w.set_main_window_texts(); 
    EXPECT_TRUE(dialogs.prompts.empty());
}

TEST_F(CaptionMapTest, EveryTextNumberIsInTheLanguageFileInAllFiveLanguages) {
    const auto texts = shipped_texts();
    ASSERT_FALSE(texts.empty()) << "no shipped lang.def";
    std::vector<int> numbers;
    for (const CaptionEntry& e : caption_map())
        numbers.push_back(e.text);
    // Set beside the map: chart titles, the page counter, the clipboard message and the
    // read-out labels.
    for (int n :
         {1055, 1057, 1093, 1094, 1139, 1172, 1266, 1295, 1296, 1378, 1379, 1392, 1393, 1407, 1408})
        numbers.push_back(n);
    for (int n = 1170; n <= 1177; ++n)
        numbers.push_back(n);
    QStringList missing;
    for (int n : numbers) {
        const auto it = texts.find(n);
        if (it == texts.end() || it->second.contains(QString()))
            missing << QString::number(n);
    }
    missing.removeDuplicates();
    EXPECT_TRUE(missing.isEmpty())
        << "texts the window shows empty: " << missing.join(", ").toStdString();
}

TEST_F(CaptionMapTest, TheWindowSpeaksTheChosenLanguageAndFollowsAChange) {
    const auto texts = shipped_texts();
    MainWindow& w = open_main_window(1, 1, 1); // German
    const auto german = [&](int n) { return texts.at(n).at(1); };
    EXPECT_EQ(fields(w.menu("file")->title(), w.menu_entry("about")->text(),
                     w.cso_tabs->tabText(0), w.echo_page->offline_option->text(),
                     w.echo_page->trace_boxes[0]->text(), w.log_setup_page->channel_boxes[0]->text(),
                     shell().status_label_texts[0], w.toolbar_button("exit")->toolTip()),
              fields(german(1000), german(1344), german(1168), german(1096), german(1220),
                     german(1028), " " + german(1170) + " = ", "Programm beenden"));
    EXPECT_TRUE(w.windowTitle().contains(german(1139))) << w.windowTitle().toStdString();

    shell().language_index = 3; // Italian, as the Setup dialog would leave it
    load_language_file();
    w.set_main_window_texts();
    const auto italian = [&](int n) { return texts.at(n).at(3); };
    EXPECT_EQ(fields(w.menu("file")->title(), w.cso_tabs->tabText(0), w.echo_page->offline_option->text(),
                     shell().status_label_texts[0], w.echo_page->kovex_readout->text(),
                     w.toolbar_button("exit")->toolTip()),
              fields(italian(1000), italian(1168), italian(1096), " " + italian(1170) + " = ",
                     "Tx - KOVEX=999,Perdita=50", "Esci dal programma"));
}

TEST_F(CaptionMapTest, EveryToolbarKeyHasATooltipInEveryLanguage) {
    MainWindow& w = open_main_window(1, 1);
    for (const char* key :
         {"modem", "minimized", "download", "upload", "temperature_display", "level_display",
          "status_display", "singledownload", "refresh", "file", "clipboard", "record", "exit"}) {
        ASSERT_NE(w.toolbar_button(key), nullptr) << key;
        QStringList tips;
        for (int language = 0; language < 5; ++language)
            tips << toolbar_tooltip(key, language);
        EXPECT_FALSE(tips.contains(QString())) << key << " has no tooltip in some language";
        tips.removeDuplicates();
        EXPECT_EQ(tips.size(), 5) << key << " is not translated";
    }
}

TEST_F(CaptionMapTest, IdentityDecidesTheAboutEntryAndTheCsoCaptions) {
    const auto texts = shipped_texts();
    // clang-format off
    const struct { int identity; int about; bool cso_captions; }
    cases[] = {{0, 1014, false}, {1, 1344, false}, {2, 1345, true}};
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.identity);
        MainWindow& w = open_main_window(c.identity, c.identity == 0 ? 0 : 1);
        EXPECT_EQ(fields(w.menu_entry("about")->text(), w.log_setup_page->channel_frames[2]->title(),
                         w.log_setup_page->channel_boxes[21]->text(), w.echo_page->kovex_readout->text()),
                  fields(texts.at(c.about).at(0), texts.at(c.cso_captions ? 1269 : 1018).at(0),
                         texts.at(c.cso_captions ? 1270 : 1049).at(0),
                         "Xducer - KOVEX=999,Loss=50"));
        w.close();
        flush();
    }
}

TEST_F(CaptionMapTest, ATextTheLanguageFileLacksKeepsTheBuiltInCaption) {
    write_language_file("1000,&Datei-only,&Datei,&Fichier,&File,&Archivo\r\n");
    MainWindow& w = open_main_window(1, 1);
    EXPECT_EQ(w.menu("file")->title(), "&Datei-only");
    EXPECT_EQ(w.menu_entry("exit")->text(), "E&xit") << "a missing text emptied a menu entry";
    EXPECT_EQ(w.echo_page->offline_option->text(), "&No");
}
