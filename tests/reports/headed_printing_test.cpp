#include "reports/headed_printing.h"

#include "platform/dialogs.h"
#include "platform/print_dialog.h"
#include "qt_print.h"
#include "shell/definitions_table.h"
#include "shell/shell_state.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

using namespace reports;

namespace reports {
inline void PrintTo(const PlacedText& t, std::ostream* os) {
    *os << "{" << t.x << ", " << t.y << ", \"" << t.text.toStdString() << "\"}";
}
} // namespace reports

namespace {

class HeadedPrinting : public ::testing::Test {
protected:
    // clang-format off
    static constexpr std::pair<int, const char*> texts[] = {
        {1368, "Description"}, {1369, "Value"},          {1188, "Default"},
        {1432, "Site Name:"},  {1433, "Project:"},       {1434, "Instrument:"},
        {1435, "Tag:"},        {1437, "Type:"},          {1438, "Serial:"},
        {1439, "Software:"},   {1440, "Hardware:"},      {1441, "Sensor Type:"},
        {1442, "Sensor Serial:"}, {1452, "Parameter File: "}, {1453, "File Date: "},
        {1454, "Software Version: "}, {1455, "Hardware Revision: "},
        {1456, "Serial Number: "}, {1457, "Site Ident: "}, {1228, "Done."},
        {1229, "Printing failed - code "}, {1227, "Export"},
        {1443, "Comma"}, {1444, "Semicolon"}, {1445, "Text"}};
    // clang-format on
    void SetUp() override {
        reset_shell_state();
        for (const auto& [n, t] : texts)
            *text_slot(n) = QString::fromUtf8(t);
        header.use_header = true;
        header.site = QStringLiteral("Weir 3");
        header.serial_number = QStringLiteral("12345");
        header.software_version = QStringLiteral("5.30");
        header.p927 = QStringLiteral("B");
        header.p928 = QStringLiteral("Site 7");
        header.p929 = QStringLiteral("0");
    }
    void TearDown() override {
        for (const auto& [n, t] : texts)
            text_slot(n)->clear();
    }

    static ParameterListing listing(int rows) {
        ParameterListing l;
        for (int i = 0; i < rows; ++i)
            l.rows.push_back({QStringLiteral("P%1").arg(i + 1), QStringLiteral("Param %1").arg(i + 1),
                              QString::number(i), QStringLiteral("9")});
        return l;
    }

    static PageMetrics metrics() {
        PageMetrics m;
        m.width = 190;
        m.height = 100;
        m.line = 4;
        m.column = 2;
        m.text_width = [](const QString& s) { return s.size() * 2.0; };
        return m;
    }

    static QStringList footers(const PrintedPage& page) {
        QStringList f;
        for (const PlacedText& t : page.items)
            if (t.text.startsWith(QLatin1String("Page ")) || t.text == QLatin1String("today"))
                f << t.text;
        return f;
    }

    PrintHeaderFields header;
};

} // namespace

TEST_F(HeadedPrinting, RulesStopAtThePaperEdge) {
    struct Case {
        double dash_mm;
        int header_rule, list_rule;
    };
    // From x = 20 on a 190 mm wide page 170 mm are left.
    const Case cases[] = {{1.0, 170, 100}, {1.25, 136, 100}, {2.0, 85, 85}};
    for (const Case& c : cases) {
        PageMetrics m = metrics();
        m.text_width = [&c](const QString& s) { return s.size() * c.dash_mm; };
        for (const bool preview : {false, true}) {
            const PrintedPage page =
                preview ? lay_out_preview_page(header, listing(1), m, QStringLiteral("today"))
                        : lay_out_headed_pages(header, listing(1), m, 1, QStringLiteral("today"))[0];
            EXPECT_EQ(page.items.front().y, preview ? 15 : 5) << "the preview starts lower";
            EXPECT_EQ(footers(page), (QStringList{"today", "Page 1"}))
                << "a short listing's footer";
            QList<qsizetype> rules;
            for (const PlacedText& t : page.items)
                if (t.text.startsWith(QLatin1Char('-')))
                    rules << t.text.size();
            EXPECT_EQ(rules, (QList<qsizetype>{c.header_rule, c.header_rule, c.list_rule,
                                                c.list_rule}))
                << c.dash_mm << " mm, preview " << preview;
        }
    }
}

TEST_F(HeadedPrinting, PageNumbersRestartForEveryCopyAndACopyStartsAtTheTopEdge) {
    // 12 header and title lines from y = 5 leave room for 6 rows below 85 mm on the first page.
    const auto pages = lay_out_headed_pages(header, listing(20), metrics(), 2, QStringLiteral("today"));
    ASSERT_EQ(pages.size(), 4u);
    const QStringList expected[] = {{"today", "Page 1"}, {"today", "Page 2"},
                                    {"today", "Page 1"}, {"today", "Page 2"}};
    for (size_t p = 0; p < pages.size(); ++p)
        EXPECT_EQ(footers(pages[p]), expected[p]) << "page " << p;
    EXPECT_EQ(pages[0].items.front(), (PlacedText{20, 5, QString(85, QLatin1Char('-'))}))
        << "the header's rule runs as far as the paper goes";
    EXPECT_EQ(pages[2].items.front().y, 0) << "the second copy starts at the top edge";
    EXPECT_EQ(pages[1].items.front(), (PlacedText{20, 5, QStringLiteral("P7")}))
        << "rows go on at y = 5 after a break";
    // The footer sits one line below 15 mm above the page end, centred and inset from the right.
    const PlacedText& page_no = pages[3].items.back();
    EXPECT_EQ(page_no, (PlacedText{190 - 12 - 25, 89, QStringLiteral("Page 2")}));
}

TEST_F(HeadedPrinting, WithoutHeaderThePrinterBreaksPagesItselfAndNoFooterIsPrinted) {
    header.use_header = false;
    const auto pages = lay_out_headed_pages(header, listing(30), metrics(), 1, QStringLiteral("today"));
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_TRUE(footers(pages[0]).isEmpty());
    EXPECT_EQ(pages[0].items.front().text, QStringLiteral("Software Version: 5.30"));
    for (const PrintedPage& page : pages)
        for (const PlacedText& t : page.items)
            EXPECT_LE(t.y + 4, 100) << t.text << " runs off the page";
    EXPECT_EQ(pages[1].items.front().y, 0);
}

TEST_F(HeadedPrinting, LongDescriptionPushesTheValueToItsColumnOnTheNextLine) {
    ParameterListing l;
    l.rows.push_back({QStringLiteral("P1"), QString(40, QLatin1Char('x')), QStringLiteral("7"),
                      QStringLiteral("9")});
    const auto pages = lay_out_headed_pages(header, l, metrics(), 1, QStringLiteral("today"));
    const auto& items = pages[0].items;
    const auto value = std::find_if(items.begin(), items.end(),
                                    [](const PlacedText& t) { return t.text == QLatin1String("7"); });
    const auto description = std::find_if(items.begin(), items.end(), [](const PlacedText& t) {
        return t.text == QString(40, QLatin1Char('x'));
    });
    ASSERT_NE(value, items.end());
    EXPECT_EQ(std::tuple(value->x, value->y), std::tuple(54.0 * 2, description->y + 4))
        << "column 55";

    const QStringList text = export_listing_text(header, l, {}).split(QStringLiteral("\r\n"));
    const QString row = QString(14, QLatin1Char(' ')) + QStringLiteral("P1   ") +
                        QString(40, QLatin1Char('x'));
    const auto at = text.indexOf(row);
    ASSERT_GE(at, 0);
    EXPECT_EQ(text[at + 1], QString(49, QLatin1Char(' ')) + QStringLiteral("7         9"));
}

// The last column holds the defaults, as in the grid, and is headed so.
TEST_F(HeadedPrinting, ExportLayouts) {
    const ParameterListing l = listing(1);
    const QString dash170(170, QLatin1Char('-')), dash100(100, QLatin1Char('-')),
        dash80(80, QLatin1Char('-'));
    struct Case {
        const char* what;
        bool use_header;
        QString separator;
        QStringList expected;
    } cases[] = {
        {"csv with the header keeps the leading separator on every line", true, ",",
         {"," + dash170, ",Site Name:,Weir 3", ",Project:,", ",Instrument:,", ",Tag:,", ",Type:,",
          ",Serial:,12345", ",Software:,5.30", ",Hardware:,", ",Sensor Type:,", ",Sensor Serial:,",
          "," + dash170, ",Par,Description,Value,Default", "," + dash80, ",P1,Param 1,0,9",
          "," + dash80, ""}},
        {"fixed columns without the header: label and value run together", false, "",
         {QString(14, ' ') + "Software Version: 5.30", QString(14, ' ') + "Hardware Revision: B",
          QString(14, ' ') + "Serial Number: Site 7", QString(14, ' ') + "Site Ident: 0",
          QString(14, ' ') + dash100,
          QString(14, ' ') + "Par       Description                   Value        Default",
          QString(14, ' ') + dash100,
          QString(14, ' ') + "P1   Param 1                       0         9",
          QString(14, ' ') + dash100, ""}},
    };
    for (const auto& c : cases) {
        header.use_header = c.use_header;
        EXPECT_EQ(export_listing_text(header, l, c.separator).split(QStringLiteral("\r\n")),
                  c.expected)
            << c.what;
    }
}

TEST_F(HeadedPrinting, SeparatedFieldsHoldingSeparatorQuoteOrLineBreakAreQuoted) {
    ParameterListing l;
    l.rows.push_back({QStringLiteral("P5"), QStringLiteral("Span, high"), QStringLiteral("say \"hi\""),
                      QStringLiteral("a\nb")});
    header.use_header = false;
    const QString csv = export_listing_text(header, l, QStringLiteral(","));
    EXPECT_TRUE(csv.contains(QStringLiteral(",P5,\"Span, high\",\"say \"\"hi\"\"\",\"a\nb\"\r\n")))
        << csv;
    const QString ssv = export_listing_text(header, l, QStringLiteral(";"));
    EXPECT_TRUE(ssv.contains(QStringLiteral(";P5;Span, high;\"say \"\"hi\"\"\";\"a\nb\"\r\n"))) << ssv;
}

TEST_F(HeadedPrinting, NoRowsStillGivesHeaderTitlesAndRules) {
    const auto pages = lay_out_headed_pages(header, ParameterListing(), metrics(), 1, QStringLiteral("today"));
    ASSERT_EQ(pages.size(), 1u);
    // 170-dash rule, ten lines, rule, titles (4 texts), rule, rule, footer (2 texts)
    EXPECT_EQ(pages[0].items.size(), 1u + 20u + 1u + 4u + 1u + 1u + 2u);
}

TEST_F(HeadedPrinting, ExportAndPrintWriteTheChosenTypeOrSayWhyAndCancelSaysNothing) {
    QTemporaryDir dir;
    shell().ini_path = dir.filePath(QStringLiteral("general.ini"));
    platform::ScopedScriptedDialogs dialogs;
    platform::ScopedScriptedPrintDialogs printers;
    headed_printing(header, listing(2), HeadedOutput::File);
    printers.answers.push_back(std::nullopt);
    headed_printing(header, listing(2), HeadedOutput::Printer);
    EXPECT_TRUE(dialogs.messages().isEmpty()) << "a cancelled dialog printed or said something";
    EXPECT_EQ(printers.titles.size(), 1u);

    dialogs.files.push_back(dir.filePath(QStringLiteral("missing/folder/list.csv")));
    headed_printing(header, listing(2), HeadedOutput::File);
    EXPECT_EQ(dialogs.messages(), QStringList{QStringLiteral("Printing failed - code 75")});
    dialogs.prompts.clear();

    dialogs.files.push_back(dir.filePath(QStringLiteral("list.ssv")));
    headed_printing(header, listing(2), HeadedOutput::File);
    EXPECT_TRUE(testfiles::read_bytes(dir.filePath(QStringLiteral("list.ssv")))
                    .contains(";P2;Param 2;1;9\r\n"));
    EXPECT_EQ(dialogs.messages(), QStringList{QStringLiteral("Done.")});
    EXPECT_TRUE(
        testfiles::read_bytes(shell().ini_path).contains(("ParamDir=" + dir.path()).toUtf8()));

    dialogs.prompts.clear();
    printers.answers.push_back(2);
    printers.pdf_paths.push_back(dir.filePath(QStringLiteral("list.pdf")));
    headed_printing(header, listing(3), HeadedOutput::Printer);
    const QByteArray pdf = testfiles::read_bytes(dir.filePath(QStringLiteral("list.pdf")));
    EXPECT_EQ(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r"), 2) << "one page per copy";
    EXPECT_EQ(dialogs.messages(), QStringList{QStringLiteral("Done.")});
}
