#pragma once
// A chart on a printed page. The chart measures its texts with the screen's font metrics and
// lays itself out in screen pixels, while a printer draws a font of so many points in its own
// dots: a chart laid out for the screen and painted on a 1200 dpi page gets letters a dozen
// times too large for the room it kept for them. So the page that carries a chart is painted at
// the resolution the chart measures its texts at, the screen's (the page stays vector graphics,
// so nothing is lost on paper), and the chart is laid out anew at the size of its area of the
// page: on paper it reads as on a screen of that size, every text at its own point size.
//
// Every print of a chart goes through print_chart_page, a print preview's paint request too.
// The chart on screen is laid out for the screen again afterwards.

#include <QString>

class QCustomPlot;
class QPrinter;

namespace platform {

// Paints `chart` as the one page of `printer`, inside the printer's page area less `margin` (a
// fraction of that area's width and height, on each side). The printer's page layout (size,
// orientation, full page or not) is the caller's; its resolution is set here, before painting
// begins. False when the printer cannot be started or cannot finish the page, or a PDF file it
// was to write is not there whole afterwards, with `error` naming the printer or the file.
bool print_chart_page(QCustomPlot& chart, QPrinter& printer, double margin = 0,
                      QString* error = nullptr);

} // namespace platform
