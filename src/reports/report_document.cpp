#include "reports/report_document.h"

#include "platform/text_file.h"

#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextOption>
#include <map>

namespace reports {

void ReportDocument::write(const QString& text) {
    if (text.isEmpty())
        return;
    if (!runs_.empty() && runs_.back().style == style_)
        runs_.back().text += text;
    else
        runs_.push_back({style_, text});
}

QString ReportDocument::plain_text() const {
    QString s;
    for (const ReportRun& r : runs_)
        s += r.text;
    return s;
}

namespace {

QByteArray rtf_escaped(const QString& text) {
    QByteArray out;
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'\r')
            continue;
        if (u == u'\n') {
            out += "\\par\n";
        } else if (u == u'\t') {
            out += "\\tab ";
        } else if (u == u'\\' || u == u'{' || u == u'}') {
            out += '\\';
            out += static_cast<char>(u);
        } else if (u >= 0x20 && u < 0x80) {
            out += static_cast<char>(u);
        } else if (auto b = platform::encode_windows1252(QString(c)); b && b->size() == 1) {
            out += "\\'" + QByteArray::number(static_cast<uchar>(b->at(0)), 16).rightJustified(2, '0');
        } else {
            out += "\\u" + QByteArray::number(static_cast<int16_t>(u)) + '?';
        }
    }
    return out;
}

} // namespace

QByteArray to_rtf(const ReportDocument& doc) {
    std::map<QString, int> fonts;
    std::map<uint32_t, int> colours;
    for (const ReportRun& r : doc.runs()) {
        fonts.emplace(r.style.font, static_cast<int>(fonts.size()));
        colours.emplace(r.style.colour, static_cast<int>(colours.size()) + 1);
    }
    QByteArray out = "{\\rtf1\\ansi\\ansicpg1252\\deff0\n{\\fonttbl";
    std::vector<QString> font_order(fonts.size());
    for (const auto& [name, i] : fonts)
        font_order[static_cast<size_t>(i)] = name;
    for (size_t i = 0; i < font_order.size(); ++i)
        out += "{\\f" + QByteArray::number(static_cast<int>(i)) + "\\fnil\\fcharset0 " +
               rtf_escaped(font_order[i]) + ";}";
    out += "}\n{\\colortbl ;";
    std::vector<uint32_t> colour_order(colours.size());
    for (const auto& [rgb, i] : colours)
        colour_order[static_cast<size_t>(i - 1)] = rgb;
    for (uint32_t rgb : colour_order)
        out += "\\red" + QByteArray::number((rgb >> 16) & 0xFF) + "\\green" +
               QByteArray::number((rgb >> 8) & 0xFF) + "\\blue" + QByteArray::number(rgb & 0xFF) +
               ';';
    // A4 with the printed report's 15 mm margins, so a word processor breaks lines as we do.
    out += "}\n\\paperw11906\\paperh16838\\margl850\\margr850\\margt850\\margb850\n\\pard";
    for (double pt : TAB_STOPS_PT)
        out += "\\tx" + QByteArray::number(static_cast<int>(pt * 20));
    out += '\n';
    for (const ReportRun& r : doc.runs()) {
        const RunStyle& s = r.style;
        out += "\\plain\\f" + QByteArray::number(fonts[s.font]) + "\\fs" +
               QByteArray::number(s.size * 2) + "\\cf" + QByteArray::number(colours[s.colour]);
        if (s.bold)
            out += "\\b";
        if (s.underline)
            out += "\\ul";
        out += ' ';
        out += rtf_escaped(r.text);
    }
    out += "}\n";
    return out;
}

QByteArray to_text_file(const ReportDocument& doc) {
    QString text = doc.plain_text();
    // Lines end CR LF however they were written.
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    if (auto bytes = platform::encode_windows1252(text))
        return *bytes;
    return text.toUtf8();
}

void write_to_text_document(const ReportDocument& doc, QTextDocument& target,
                            double units_per_point) {
    target.clear();
    QTextOption option = target.defaultTextOption();
    QList<QTextOption::Tab> tabs;
    for (double pt : TAB_STOPS_PT)
        tabs.append(QTextOption::Tab(pt * units_per_point, QTextOption::LeftTab));
    option.setTabs(tabs);
    option.setWrapMode(QTextOption::NoWrap);
    target.setDefaultTextOption(option);
    target.setDocumentMargin(0);

    // The stops go on every paragraph as well: a text box may keep its own default option.
    QTextBlockFormat paragraph;
    paragraph.setTabPositions(tabs);
    QTextCursor cursor(&target);
    cursor.beginEditBlock();
    cursor.setBlockFormat(paragraph);
    bool first_block = true;
    for (const ReportRun& r : doc.runs()) {
        QTextCharFormat f;
        f.setFontFamilies({r.style.font});
        f.setFontPointSize(r.style.size);
        f.setFontWeight(r.style.bold ? QFont::Bold : QFont::Normal);
        f.setFontUnderline(r.style.underline);
        f.setForeground(QColor(QRgb(r.style.colour)));
        const QStringList lines = QString(r.text).remove(QLatin1Char('\r')).split(QLatin1Char('\n'));
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (i > 0) {
                cursor.insertBlock(paragraph, f);
            } else if (first_block) {
                cursor.setBlockCharFormat(f);
                first_block = false;
            }
            if (!lines[i].isEmpty())
                cursor.insertText(lines[i], f);
        }
    }
    cursor.endEditBlock();
}

} // namespace reports
