#pragma once
// What a print of a chart put on paper, read back from its PDF as a reader would: the words of
// each page with their boxes (pdftotext of poppler-utils finds them), and the faults a reader
// sees at once: a text of the chart missing or cut, a word off its area of the page, words drawn
// over each other, letters many times their size.
#include <gtest/gtest.h>

#include <QProcess>
#include <QRectF>
#include <QRegularExpression>
#include <QStringList>
#include <map>
#include <qcustomplot.h>
#include <vector>

struct PrintedWord {
    QString text;
    QRectF box; // in points, from the page's top left corner
};

struct PrintedPage {
    QSizeF size; // points
    std::vector<PrintedWord> words;
};

inline std::vector<PrintedPage> printed_pages(const QString& pdf) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        ADD_FAILURE() << "pdftotext (poppler-utils) could not read " << pdf.toStdString() << ": "
                      << p.errorString().toStdString();
        return {};
    }
    const QString html = QString::fromUtf8(p.readAllStandardOutput());
    static const QRegularExpression tag(
        QStringLiteral(R"re(<page width="([\d.]+)" height="([\d.]+)">|<word xMin="([-\d.]+)" )re"
                       R"re(yMin="([-\d.]+)" xMax="([-\d.]+)" yMax="([-\d.]+)">([^<]*)</word>)re"));
    std::vector<PrintedPage> pages;
    for (auto it = tag.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        if (!m.captured(1).isEmpty()) {
            pages.push_back({QSizeF(m.captured(1).toDouble(), m.captured(2).toDouble()), {}});
        } else if (!pages.empty()) {
            QString text = m.captured(7);
            text.replace(QLatin1String("&lt;"), QLatin1String("<"))
                .replace(QLatin1String("&gt;"), QLatin1String(">"))
                .replace(QLatin1String("&quot;"), QLatin1String("\""))
                .replace(QLatin1String("&apos;"), QLatin1String("'"))
                .replace(QLatin1String("&amp;"), QLatin1String("&"));
            pages.back().words.push_back(
                {text, QRectF(QPointF(m.captured(3).toDouble(), m.captured(4).toDouble()),
                              QPointF(m.captured(5).toDouble(), m.captured(6).toDouble()))});
        }
    }
    return pages;
}

// Every text the chart shows, word by word: its titles, the titles of its visible axes and their
// tick labels, and the legend's entries when the legend is shown.
inline QStringList chart_words(QCustomPlot& chart) {
    chart.replot();
    QStringList texts;
    for (int i = 0; i < chart.plotLayout()->elementCount(); ++i)
        if (auto* title = qobject_cast<QCPTextElement*>(chart.plotLayout()->elementAt(i)))
            if (title->visible())
                texts << title->text();
    for (QCPAxisRect* rect : chart.axisRects())
        for (QCPAxis* axis : rect->axes()) {
            if (!axis->visible())
                continue;
            texts << axis->label();
            if (axis->tickLabels())
                texts << axis->tickVectorLabels().toList();
        }
    if (chart.legend && chart.legend->visible())
        for (int i = 0; i < chart.legend->itemCount(); ++i)
            if (auto* item = qobject_cast<QCPPlottableLegendItem*>(chart.legend->item(i)))
                texts << item->plottable()->name();
    return texts.join(QLatin1Char(' '))
        .split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
}

// The faults a reader of `page` would see, one line each; empty when every word of `expected`
// is there whole, every word lies inside `area` (points), no two words are drawn over each other
// and no letters stand taller than `tallest` points.
inline QStringList unreadable_words(const PrintedPage& page, const QStringList& expected,
                                    const QRectF& area, double tallest = 24) {
    QStringList faults;
    std::map<QString, int> found;
    for (const PrintedWord& w : page.words)
        ++found[w.text];
    for (const QString& word : expected)
        if (found[word]-- <= 0)
            faults << QStringLiteral("missing or cut: \"%1\"").arg(word);
    const auto where = [](const PrintedWord& w) {
        return QStringLiteral("\"%1\" at %2,%3 %4x%5")
            .arg(w.text)
            .arg(w.box.x(), 0, 'f', 0)
            .arg(w.box.y(), 0, 'f', 0)
            .arg(w.box.width(), 0, 'f', 0)
            .arg(w.box.height(), 0, 'f', 0);
    };
    const QRectF room = area.adjusted(-1, -1, 1, 1);
    for (size_t i = 0; i < page.words.size(); ++i) {
        const PrintedWord& w = page.words[i];
        if (!room.contains(w.box))
            faults << QStringLiteral("off its area: ") + where(w);
        if (std::min(w.box.width(), w.box.height()) > tallest)
            faults << QStringLiteral("too large: ") + where(w);
        // Boxes reach a little above and below the letters: only a real overlap counts.
        const QRectF ink = w.box.adjusted(0.5, 0.5, -0.5, -0.5);
        for (size_t j = i + 1; j < page.words.size(); ++j)
            if (ink.intersects(page.words[j].box.adjusted(0.5, 0.5, -0.5, -0.5)))
                faults << QStringLiteral("over each other: ") + where(w) + QStringLiteral(" and ") +
                              where(page.words[j]);
    }
    return faults;
}
