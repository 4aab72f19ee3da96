#include "platform/chart_print.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPaintEngine>
#include <QPrinter>
#include <QScreen>
#include <cmath>
#include <qcustomplot.h>

namespace platform {
namespace {

// The PDF file is there whole: a plain file that ends with the document's end mark. A full disk
// or a device that takes no data leaves a file cut short or none at all, and the PDF writer
// does not say so.
bool pdf_file_whole(const QString& path) {
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly) || file.size() < 16)
        return false;
    file.seek(file.size() - 16);
    return file.readAll().contains("%%EOF");
}

// The dots per inch a font made without a paint device, as the chart's are, is measured at.
int chart_text_resolution() {
    if (QCoreApplication::testAttribute(Qt::AA_Use96Dpi))
        return 96;
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? static_cast<int>(std::lround(screen->logicalDotsPerInchY())) : 96;
}

} // namespace

bool print_chart_page(QCustomPlot& chart, QPrinter& printer, double margin, QString* error) {
    const auto failed = [&] {
        if (error)
            *error = printer.outputFileName().isEmpty() ? printer.printerName()
                                                        : printer.outputFileName();
        return false;
    };
    printer.setResolution(chart_text_resolution());
    QCPPainter painter;
    if (!painter.begin(&printer))
        return failed();
    painter.setMode(QCPPainter::pmVectorized);
    painter.setMode(QCPPainter::pmNoCaching);
    const QRectF page = painter.viewport();
    const double mx = page.width() * margin;
    const double my = page.height() * margin;
    const QRectF area = page.adjusted(mx, my, -mx, -my);
    painter.translate(area.topLeft());
    chart.toPainter(&painter, std::max(1, static_cast<int>(std::floor(area.width()))),
                    std::max(1, static_cast<int>(std::floor(area.height()))));
    // A preview paints pictures; only a PDF writer writes the file.
    const bool to_file = printer.outputFormat() == QPrinter::PdfFormat &&
                         !printer.outputFileName().isEmpty() &&
                         painter.paintEngine()->type() == QPaintEngine::Pdf;
    const bool finished = painter.end();
    // The layout is the page's now: the screen's again before anyone reads the axes.
    chart.replot();
    if (!finished || printer.printerState() == QPrinter::Error ||
        (to_file && !pdf_file_whole(printer.outputFileName())))
        return failed();
    return true;
}

} // namespace platform
