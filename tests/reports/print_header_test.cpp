#include "fields.h"
#include "qt_print.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include "link/link_state.h"
#include "parameters/parameter_listing.h"
#include "platform/dialogs.h"
#include "platform/print_dialog.h"
#include "platform/vb.h"
#include "reports/print_header_window.h"
#include "reports/print_header_fields.h"
#include "reports/print_menus.h"
#include "reports/print_preview.h"
#include "shell/definitions_table.h"
#include "shell/settings.h"
#include "shell/shell_state.h"
#include "shell/main_window_services.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QScrollArea>
#include <QTextEdit>
#include <QTemporaryDir>
#include <qcustomplot.h>
#include <stdexcept>

using reports::PrintPreview;

namespace {

class PrintHeaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        reset_shell_state();
        reset_link_state();
        reset_print_header_run_fields();
        clear_definitions_table(DEFINITIONS_UPPER);
        shell().ini_path = dir.filePath("general.ini");
        platform::number_separators() = {};
        set_print_header_actions({});
    }
    void TearDown() override {
        set_print_header_actions({});
        if (print_header_window_loaded())
            delete &print_header_window();
    }
    static void unit(int p, double value, const QString& text = {}) {
        definitions_table()[static_cast<size_t>(p)].unit_value = value;
        definitions_table()[static_cast<size_t>(p)].value_text = text;
    }
    QString ini(const char* key) {
        return read_ini(shell().ini_path, QStringLiteral("Print Header"), QLatin1String(key),
                        QStringLiteral("<missing>"));
    }

    QTemporaryDir dir;
    platform::ScopedScriptedDialogs dialogs;
};

TEST_F(PrintHeaderTest, DeviceNameFollowsBrandSystemTypeAndFieldbus) {
    struct Case {
        int brand;
        double p99;
        bool modbus, profibus;
        const char* name;
    };
    const Case cases[] = {
        {0, 1, false, false, "Velto 100 Level"},
        {0, 3, false, false, "Velto 300 Comms"},
        {0, 3, true, false, "Velto 300 Modbus"},
        {0, 3, true, true, "Velto 300 Profibus"},
        {1, 3, false, true, "Hartym Level Controller"},
        {2, 4, false, false, "Tarnwell TL4"},
        {0, 0, false, false, "previous"},
        {0, 5, false, false, "previous"},
        {0, 2.5, false, false, "previous"},
        {0, NO_VALUE, false, false, "previous"},
        {7, 4, false, false, "Velto 400 CSO Logger"}, // other variants read as variant 0
    };
    for (const Case& c : cases) {
        PrintHeaderContext context;
        context.start_logo = c.brand;
        context.modbus_mode = c.modbus;
        context.profibus_mode = c.profibus;
        EXPECT_EQ(header_device_name(context, c.p99, QStringLiteral("previous")),
                  QLatin1String(c.name))
            << "brand " << c.brand << " P99 " << c.p99;
    }
}

TEST_F(PrintHeaderTest, SensorNameFollowsBrandCodeAndTheAlternativeRule) {
    struct Case {
        int brand;
        double p101, p72;
        int software;
        const char* name;
    };
    const Case cases[] = {
        {0, 0, 0, 0, "Auxiliary"}, {1, 0, 0, 0, "Aux"},       {0, 1, 0, 200, "KV3"},
        {0, 1, 1, 162, "KV3"},     {0, 1, 1, 163, "KVMach3"}, {0, 1, 2, 163, "KV3"},
        {0, 8, 0, 0, "KVMach3"},   {0, 9, 0, 0, "KV Dual"},   {2, 9, 0, 0, "TW Dual"},
        {1, 2, 0, 0, "HT6"},       {2, 5, 0, 0, "TW25"},      {1, 1, 1, 170, "HTMach3"},
        {0, 10, 0, 0, "previous"}, {0, -1, 0, 0, "previous"}, {0, NO_VALUE, 0, 0, "previous"},
        {0, 7, 0, 0, "KVS6"}, // the last of the table
    };
    for (const Case& c : cases) {
        PrintHeaderContext context;
        context.start_logo = c.brand;
        context.software_version = c.software;
        EXPECT_EQ(header_sensor_name(context, c.p101, c.p72, QStringLiteral("previous")),
                  QLatin1String(c.name))
            << "brand " << c.brand << " P101 " << c.p101 << " P72 " << c.p72 << " version "
            << c.software;
    }
}

TEST_F(PrintHeaderTest, AnEmptySiteShowsTheUnitsSiteTag) {
    unit(928, 0, QStringLiteral("North weir"));
    PrintHeaderFields stored = current_print_header();
    EXPECT_EQ(fill_print_header(stored, {}).site, QStringLiteral("North weir"));
    stored.site = QStringLiteral("Typed site");
    EXPECT_EQ(fill_print_header(stored, {}).site, QStringLiteral("Typed site"));
}

TEST_F(PrintHeaderTest, TheWindowShowsUnitValuesAndClearEmptiesOnlyTheTypedBoxes) {
    unit(92, 12345, QStringLiteral("12345"));
    unit(926, 2.05, QStringLiteral("2.0.5"));
    unit(93, 42, QStringLiteral("42"));
    unit(99, 3);
    unit(101, 1);
    unit(72, 1);
    link().modbus_mode = true;
    shell().use_header = true;
    shell().header_project = QStringLiteral("P-7");
    shell().header_site = QStringLiteral("Kept site");
    PrintHeaderWindow& w = print_header_window();
    EXPECT_TRUE(w.Check1->isChecked());
    QStringList shown;
    for (size_t i : {1, 4, 5, 6, 7, 8})
        shown << w.Text1[i]->text();
    EXPECT_EQ(shown, QStringList({"P-7", "Velto 300 Modbus", "12345", "2.0.5", "000042", "KVMach3"}))
        << "KVMach3: version 2.05 is past 1.63";
    for (size_t i : {0, 1, 2, 3, 9})
        w.Text1[i]->setText(QStringLiteral("typed"));
    w.cmdClear->click();
    for (size_t i = 0; i < w.Text1.size(); ++i) {
        const bool typed = i <= 3 || i == 9;
        EXPECT_EQ(w.Text1[i]->text().isEmpty(), typed) << "box " << i;
    }
    w.cmdCancel->click();
    EXPECT_EQ(shell().header_site + "|" + ini("Site"), QStringLiteral("Kept site|<missing>"));
}

// Print stores the trimmed fields, then prints; names typed for keys outside the tables are
// kept for the next use.
TEST_F(PrintHeaderTest, PrintStoresTrimmedFieldsAndKeysOutsideTheTablesKeepThePreviousNames) {
    unit(99, 2);
    unit(101, 4);
    PrintHeaderFields seen;
    set_print_header_actions({{}, [&] { seen = current_print_header(); }, {}});
    PrintHeaderWindow* w = &print_header_window();
    w->Check1->setChecked(true);
    w->Text1[0]->setText(QStringLiteral("  Site A "));
    w->Text1[3]->setText(QStringLiteral("LT-101"));
    w->Text1[4]->setText(QStringLiteral("My device "));
    w->Text1[8]->setText(QStringLiteral("My sensor"));
    w->Text1[9]->setText(QStringLiteral(" SN9 "));
    w->cmdPrint->click();
    EXPECT_EQ(fields(seen.site, seen.sensor_serial, seen.use_header),
              fields("Site A", "SN9", true));
    EXPECT_EQ(QStringList({ini("Site"), ini("Tag"), ini("Use Header")}),
              QStringList({"Site A", "LT-101", "True"}));
    EXPECT_EQ(ini("Sensor Serial"), QStringLiteral("<missing>")) << "a run-only field was stored";
    ASSERT_FALSE(print_header_window_loaded() && w->isVisible());
    delete w;

    unit(99, 9);
    unit(101, 12);
    unit(93, NO_VALUE, QStringLiteral("NO"));
    PrintHeaderWindow& again = print_header_window();
    EXPECT_EQ(fields(again.Text1[4]->text(), again.Text1[8]->text(), again.Text1[7]->text()),
              fields("My device", "My sensor", "NO"))
        << "a hardware version that is no number shows as it is";
}

TEST_F(PrintHeaderTest, AFailingPrintOrPreviewIsShownAndTheWindowStays) {
    PrintHeaderWindow& w = print_header_window();
    EXPECT_FALSE(w.cmdPreview->isEnabled() || w.cmdPrint->isEnabled())
        << "a button offered work that is not there";
    set_print_header_actions({[] { throw std::runtime_error("no preview page"); },
                              [] { throw std::runtime_error("printer on fire"); },
                              {}});
    EXPECT_TRUE(w.cmdPreview->isEnabled());
    w.show();
    w.cmdPrint->click();
    w.cmdPreview->click();
    set_print_header_actions({{}, [] { throw std::bad_alloc(); }, {}});
    w.cmdPrint->click();
    set_print_header_actions({{}, [] { throw 3; }, {}});
    w.cmdPrint->click();
    const QStringList shown{"Error 51  : printer on fire", "Error 51  : no preview page",
                            "Error 7  : Out of memory", "Error 51  : Internal error"};
    EXPECT_EQ(dialogs.messages(), shown) << "each failure names its error number";
    for (const auto& prompt : dialogs.prompts)
        EXPECT_EQ(prompt.style, platform::mb::Critical);
    EXPECT_TRUE(print_header_window_loaded() && w.isVisible());
}

TEST_F(PrintHeaderTest, EchoChartPrintsLandscapeAndGetsItsColoursBack) {
    QCustomPlot chart;
    chart.resize(600, 400);
    chart.addGraph()->setData({0, 1, 2}, {1, 3, 2});
    QLinearGradient gradient(0, 0, 0, 1);
    gradient.setColorAt(0, Qt::yellow);
    gradient.setColorAt(1, Qt::darkBlue);
    chart.axisRect()->setBackground(QBrush(gradient));
    chart.setBackground(QBrush(QColor(0x80, 0xFF, 0xFF)));

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath("echo.pdf"));
    ASSERT_TRUE(print_echo_chart(chart, printer));
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Landscape);
    EXPECT_GT(QFileInfo(dir.filePath("echo.pdf")).size(), 1000);
    EXPECT_EQ(chart.axisRect()->backgroundBrush().gradient()->type(), QGradient::LinearGradient);
    const QImage shown = chart.toPixmap(600, 400).toImage();
    EXPECT_EQ(shown.pixelColor(2, 2), QColor(0x80, 0xFF, 0xFF)) << "the chart stayed white";

    QPrinter nowhere(QPrinter::HighResolution);
    nowhere.setOutputFormat(QPrinter::PdfFormat);
    nowhere.setOutputFileName(dir.filePath("missing/folder/echo.pdf"));
    QString error;
    EXPECT_FALSE(print_echo_chart(chart, nowhere, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(chart.axisRect()->backgroundBrush().gradient()->type(), QGradient::LinearGradient);
}

// The window at work: its preview, print and export under the stored header, and the File
// menu's parameter list entries that open it.
class PrintHeaderWork : public PrintHeaderTest {
protected:
    void SetUp() override {
        PrintHeaderTest::SetUp();
        definitions_table()[926].value_text = QStringLiteral("5.30");
        parameter_listing().rows.clear();
        services.run_modal = [this](QDialog& d) {
            opened << d.objectName();
            if (auto* preview = qobject_cast<PrintPreview*>(&d)) {
                page = preview->listing_page();
                page_only = preview->RichTextBox1->isHidden() && !preview->page_area->isHidden() &&
                            preview->Command1->isHidden();
            }
        };
    }
    void TearDown() override {
        PrintHeaderTest::TearDown();
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

    platform::ScopedScriptedPrintDialogs printers;
    MainWindowServices services;
    QStringList opened;
    reports::PrintedPage page;
    bool page_only = false;
};

TEST_F(PrintHeaderWork, ListEntriesComeAliveOnceTheListingsAreInstalled) {
    install_report_tools(services, nullptr, nullptr);
    EXPECT_FALSE(services.print_parameters || services.print_changed_parameters)
        << "an entry without its listing looks done";

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
    services.print_parameters();
    EXPECT_TRUE(opened.contains(QStringLiteral("frmPrintHeader")) && dialogs.prompts.empty());
    delete &print_header_window();
    opened.clear();
    // An empty listing says so and opens no header.
    services.print_changed_parameters();
    EXPECT_EQ(listed, QStringList({"all 0", "changed 0 0"}));
    EXPECT_TRUE(opened.isEmpty() && !print_header_window_loaded());
    EXPECT_EQ(dialogs.messages(), QStringList{ui_text(1226)});
    EXPECT_EQ(dialogs.prompts[0].style, platform::mb::Information);
}

TEST_F(PrintHeaderWork, PreviewShowsTheFirstPageUnderTheTypedHeaderAndStaysOpen) {
    fill_listing(200); // several pages
    install_report_tools(services, nullptr, nullptr);
    PrintHeaderWindow& w = print_header_window();
    w.show();
    w.Check1->setChecked(true);
    w.Text1[0]->setText(QStringLiteral(" Weir 9 "));
    ASSERT_TRUE(w.cmdPreview->isEnabled());
    w.cmdPreview->click();
    EXPECT_EQ(opened, QStringList{QStringLiteral("Form8")});
    EXPECT_TRUE(page_only) << "the preview showed the report box, not the page";
    EXPECT_TRUE(page_shows(QStringLiteral("Weir 9"))) << "the typed site was not stored first";
    EXPECT_TRUE(page_shows(QStringLiteral("P1")) && page_shows(QStringLiteral("Page 1")));
    EXPECT_FALSE(page_shows(QStringLiteral("P200"))) << "the preview went past its first page";
    EXPECT_TRUE(print_header_window_loaded() && w.isVisible() && dialogs.messages().isEmpty());
}

TEST_F(PrintHeaderWork, WithoutTheHeaderThePreviewNamesTheParameterFile) {
    const QString file = dir.filePath("site.par");
    testfiles::write_bytes(file, {});
    fill_listing(60);
    install_report_tools(services, nullptr, nullptr, [file] { return file; });
    PrintHeaderWindow& w = print_header_window();
    w.Check1->setChecked(false);
    w.cmdPreview->click();
    EXPECT_TRUE(page_shows(ui_text(1452) + file));
    EXPECT_TRUE(page_shows(ui_text(1454) + QStringLiteral("5.30")));
    EXPECT_FALSE(page_shows(QStringLiteral("Page 1"))) << "a footer without the header";
    EXPECT_TRUE(page_shows(QStringLiteral("P60"))) << "without the header every row is shown";
}

TEST_F(PrintHeaderWork, PrintAndExportWriteTheListingAndCloseTheWindowOrSayWhyAndGoOn) {
    fill_listing(3);
    install_report_tools(services, nullptr, nullptr);
    const struct {
        const char* button;
        const char* file;
        const char* written; // empty: the output fails
    } cases[] = {{"cmdPrint", "list.pdf", "%PDF"},
                 {"cmdExport", "list.csv", ",P3,Parameter 3,3,m\r\n"},
                 {"cmdPrint", "missing/folder/list.pdf", ""},
                 {"cmdExport", "missing/folder/list.csv", ""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        dialogs.prompts.clear();
        const QString path = dir.filePath(QLatin1String(c.file));
        printers.answers = {1};
        printers.pdf_paths = {path};
        dialogs.files = {path};
        PrintHeaderWindow* w = &print_header_window();
        w->show();
        w->Text1[0]->setText(QStringLiteral("Weir 9"));
        w->Check1->setChecked(true);
        w->findChild<QPushButton*>(QLatin1String(c.button))->click();
        const bool fails = !*c.written;
        ASSERT_EQ(dialogs.messages().size(), 1);
        EXPECT_TRUE(dialogs.messages()[0].startsWith(ui_text(fails ? 1229 : 1228)));
        if (!fails) {
            EXPECT_TRUE(!w->isVisible() && testfiles::read_bytes(path).contains(c.written));
        }
        if (QLatin1String(c.file) == QLatin1String("list.csv")) {
            EXPECT_TRUE(testfiles::read_bytes(path).contains(",Weir 9\r\n"));
        }
        if (print_header_window_loaded())
            delete w;
    }
}

} // namespace
