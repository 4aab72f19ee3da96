// The print header window at work: its preview, print and export under the stored header, and
// the File menu's parameter list entries that open it.
#include "qt_print.h"

#include <gtest/gtest.h>

#include "link/link_state.h"
#include "parameters/parameter_listing.h"
#include "platform/dialogs.h"
#include "platform/print_dialog.h"
#include "reports/frm_print_header.h"
#include "reports/print_menus.h"
#include "reports/print_preview.h"
#include "shell/definitions_table.h"
#include "shell/settings.h"
#include "shell/shell_state.h"
#include "ui/main_window_services.h"

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QTextEdit>

using reports::Form8;
using reports::PrintedPage;

namespace {

class PrintHeaderWork : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        reset_shell_state();
        reset_link_state();
        reset_print_header_run_fields();
        clear_definitions_table(DEFINITIONS_UPPER);
        shell().ini_path = dir.filePath("general.ini");
        definitions_table()[926].value_text = QStringLiteral("5.30");
        parameter_listing().rows.clear();
        services.run_modal = [this](QDialog& d) {
            opened << d.objectName();
            if (auto* preview = qobject_cast<Form8*>(&d)) {
                page = preview->listing_page();
                page_only = preview->RichTextBox1->isHidden() && !preview->page_area->isHidden() &&
                            preview->Command1->isHidden();
            }
        };
    }
    void TearDown() override {
        set_print_header_actions({});
        if (print_header_window_loaded())
            delete &print_header_window();
        parameter_listing().rows.clear();
    }
    static void fill_listing(int rows) {
        parameter_listing().rows.clear();
        for (int i = 1; i <= rows; ++i)
            parameter_listing().rows.push_back({QStringLiteral("P%1").arg(i),
                                                QStringLiteral("Parameter %1").arg(i),
                                                QString::number(i), QStringLiteral("m")});
    }
    bool page_shows(const QString& text) const {
        return std::any_of(page.items.begin(), page.items.end(),
                           [&](const reports::PlacedText& t) { return t.text == text; });
    }

    QTemporaryDir dir;
    platform::ScopedScriptedDialogs dialogs;
    platform::ScopedScriptedPrintDialogs printers;
    MainWindowServices services;
    QStringList opened;
    PrintedPage page;
    bool page_only = false;
};

TEST_F(PrintHeaderWork, ListEntriesComeAliveOnceTheListingsAreInstalled) {
    install_report_tools(services, nullptr, nullptr);
    EXPECT_FALSE(services.print_parameters) << "an entry without its listing looks done";
    EXPECT_FALSE(services.print_changed_parameters);
    const PrintHeaderActions& actions = print_header_actions();
    EXPECT_TRUE(actions.preview && actions.print && actions.export_list);

    QStringList listed;
    services.list_all_parameters = [&](bool shown) {
        listed << QStringLiteral("all %1").arg(shown);
        fill_listing(3);
    };
    services.list_changed_parameters = [&](bool shown, bool again) {
        listed << QStringLiteral("changed %1 %2").arg(shown).arg(again);
        parameter_listing().rows.clear(); // nothing differs from the defaults
    };
    install_report_tools(services, nullptr, nullptr);
    ASSERT_TRUE(services.print_parameters && services.print_changed_parameters);

    struct Case {
        std::function<void()>* entry;
        const char* listed;
        bool opens_header;
    };
    const Case cases[] = {{&services.print_parameters, "all 0", true},
                          {&services.print_changed_parameters, "changed 0 0", false}};
    for (const Case& c : cases) {
        listed.clear();
        opened.clear();
        dialogs.prompts.clear();
        (*c.entry)();
        EXPECT_EQ(listed, QStringList{QLatin1String(c.listed)});
        EXPECT_EQ(opened.contains(QStringLiteral("frmPrintHeader")), c.opens_header) << c.listed;
        EXPECT_EQ(dialogs.messages().size(), c.opens_header ? 0 : 1) << c.listed;
        if (print_header_window_loaded())
            delete &print_header_window();
    }
}

TEST_F(PrintHeaderWork, PreviewShowsTheFirstPageUnderTheTypedHeaderAndStaysOpen) {
    fill_listing(200); // several pages
    install_report_tools(services, nullptr, nullptr);
    frmPrintHeader& w = print_header_window();
    w.show();
    w.Check1->setChecked(true);
    w.Text1[0]->setText(QStringLiteral(" Weir 9 "));
    ASSERT_TRUE(w.cmdPreview->isEnabled());
    w.cmdPreview->click();
    EXPECT_EQ(opened, QStringList{QStringLiteral("Form8")});
    EXPECT_TRUE(page_only) << "the preview showed the report box, not the page";
    EXPECT_TRUE(page_shows(QStringLiteral("Weir 9"))) << "the typed site was not stored first";
    EXPECT_TRUE(page_shows(QStringLiteral("P1")));
    EXPECT_FALSE(page_shows(QStringLiteral("P200"))) << "the preview went past its first page";
    EXPECT_TRUE(page_shows(QStringLiteral("Page 1")));
    EXPECT_TRUE(print_header_window_loaded() && w.isVisible());
    EXPECT_TRUE(dialogs.messages().isEmpty());
}

TEST_F(PrintHeaderWork, WithoutTheHeaderThePreviewNamesTheParameterFile) {
    const QString file = dir.filePath("site.par");
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    fill_listing(2);
    install_report_tools(services, nullptr, nullptr, [file] { return file; });
    frmPrintHeader& w = print_header_window();
    w.Check1->setChecked(false);
    w.cmdPreview->click();
    EXPECT_TRUE(page_shows(ui_text(1452) + file));
    EXPECT_TRUE(page_shows(ui_text(1454) + QStringLiteral("5.30")));
    EXPECT_FALSE(page_shows(QStringLiteral("Page 1"))) << "a footer without the header";
}

TEST_F(PrintHeaderWork, PrintAndExportWriteTheListingAndCloseTheWindow) {
    fill_listing(3);
    install_report_tools(services, nullptr, nullptr);
    struct Case {
        const char* button;
        const char* file;
    };
    const Case cases[] = {{"cmdPrint", "list.pdf"}, {"cmdExport", "list.csv"}};
    for (const Case& c : cases) {
        dialogs.prompts.clear();
        const QString path = dir.filePath(QLatin1String(c.file));
        printers.answers = {1};
        printers.pdf_paths = {path};
        dialogs.files = {path};
        frmPrintHeader* w = &print_header_window();
        w->show();
        w->Text1[0]->setText(QStringLiteral("Weir 9"));
        w->Check1->setChecked(true);
        w->findChild<QPushButton*>(QLatin1String(c.button))->click();
        EXPECT_FALSE(w->isVisible()) << c.button;
        EXPECT_EQ(dialogs.messages(), QStringList{ui_text(1228)}) << c.button;
        QFile out(path);
        ASSERT_TRUE(out.open(QIODevice::ReadOnly)) << c.button;
        const QByteArray bytes = out.readAll();
        if (QLatin1String(c.file).endsWith(QLatin1String(".csv"))) {
            EXPECT_TRUE(bytes.contains(",Weir 9\r\n"));
            EXPECT_TRUE(bytes.contains(",P3,Parameter 3,3,m\r\n"));
        } else {
            EXPECT_TRUE(bytes.startsWith("%PDF"));
        }
        if (print_header_window_loaded())
            delete w;
    }
}

TEST_F(PrintHeaderWork, FailuresAreShownAndTheProgramGoesOn) {
    fill_listing(3);
    install_report_tools(services, nullptr, nullptr);
    const QString nowhere = dir.filePath("missing/folder/list");
    struct Case {
        const char* button;
    };
    for (const Case& c : {Case{"cmdPrint"}, Case{"cmdExport"}}) {
        dialogs.prompts.clear();
        printers.answers = {1};
        printers.pdf_paths = {nowhere + QStringLiteral(".pdf")};
        dialogs.files = {nowhere + QStringLiteral(".csv")};
        frmPrintHeader* w = &print_header_window();
        w->findChild<QPushButton*>(QLatin1String(c.button))->click();
        ASSERT_EQ(dialogs.messages().size(), 1) << c.button;
        EXPECT_TRUE(dialogs.messages()[0].startsWith(ui_text(1229))) << c.button;
        EXPECT_NE(dialogs.messages()[0], ui_text(1228));
        if (print_header_window_loaded())
            delete w;
    }
}

} // namespace
