#include "reports/report_document.h"

#include "qt_print.h"

#include <gtest/gtest.h>

#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextDocument>
#include <QTextOption>

using namespace reports;

namespace {

ReportDocument sample() {
    ReportDocument doc;
    doc.set_size(16);
    doc.set_bold(true);
    doc.set_colour(0x0000FF);
    doc.write(QStringLiteral("Wasser {Süd}\\\r\n"));
    doc.set_size(10);
    doc.set_bold(false);
    doc.set_colour(0);
    doc.write(QStringLiteral("Date\tMean\r\n"));
    doc.set_underline(true);
    doc.write(QStringLiteral("Report Summary"));
    doc.set_underline(false);
    doc.write(QStringLiteral("\r\nm³ Ω\r\n"));
    return doc;
}

} // namespace

TEST(ReportDocument, PiecesOfOneStyleMergeAndAttributesStayUntilChanged) {
    ReportDocument doc;
    doc.set_bold(true);
    doc.write(QStringLiteral("a"));
    doc.write(QStringLiteral("b"));
    doc.set_bold(false);
    doc.write(QStringLiteral("c"));
    ASSERT_EQ(doc.runs().size(), 2u);
    EXPECT_EQ(std::tuple(doc.runs()[0].text, doc.runs()[0].style.bold, doc.runs()[1].style.bold),
              std::tuple(QStringLiteral("ab"), true, false));
}

TEST(ReportDocument, RichTextCarriesFontsColoursSizesAndEscapes) {
    const QByteArray rtf = to_rtf(sample());
    const struct {
        const char* piece;
        const char* why;
    } expected[] = {
        {"{\\rtf1\\ansi\\ansicpg1252", "the Rich Text start"},
        {"{\\f0\\fnil\\fcharset0 Times New Roman;}", "the font table"},
        {"\\red0\\green0\\blue255;", "blue in the colour table"},
        {"\\tx1800\\tx3100", "the column tab stops in twips"},
        {"\\fs32\\cf", "16-point heading"},
        {"\\b Wasser \\{S\\'fcd\\}\\\\\\par", "braces, backslash and umlaut escaped"},
        {"\\fs20\\cf2 Date\\tab Mean\\par", "tab and paragraph"},
        {"\\ul Report Summary", "the summary heading underlined"},
        {"m\\'b3 \\u937?\\par", "a character outside Windows-1252 as a unicode escape"},
    };
    for (const auto& e : expected)
        EXPECT_TRUE(rtf.contains(e.piece)) << e.why << "\n" << rtf.toStdString();
}

TEST(ReportDocument, TextFileKeepsTabsWithCrLfLineEnds) {
    ReportDocument doc;
    doc.write(QStringLiteral("a\tb\r\nc\nd\r\n"));
    EXPECT_EQ(to_text_file(doc), QByteArray("a\tb\r\nc\r\nd\r\n"));
}

TEST(ReportDocument, TextDocumentHoldsTheSameCharactersWithTheirStyles) {
    QTextDocument target;
    write_to_text_document(sample(), target, 1.0);
    EXPECT_EQ(target.toPlainText(), QStringLiteral("Wasser {Süd}\\\nDate\tMean\nReport Summary\nm³ Ω\n"));
    const QTextCharFormat heading = target.begin().begin().fragment().charFormat();
    EXPECT_EQ(std::tuple(heading.fontPointSize(), heading.fontWeight(),
                         target.defaultTextOption().tabs().size()),
              std::tuple(16.0, int(QFont::Bold), qsizetype(7)));
}
