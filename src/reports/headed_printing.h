#pragma once
// Printing and exporting the parameter listing under the print header. The layout is plain code:
// the printed pages as texts placed in millimetres (page breaks, footers and page numbers per
// copy) and the exported file as text (.csv, .ssv or fixed columns). headed_printing() adds the
// dialogs, the printer and the messages.

#include "parameters/parameter_listing.h"
#include "reports/print_header_fields.h"

#include <QString>
#include <functional>
#include <vector>

class QPrinter;
class QFont;

namespace reports {

// Measures of the printer page and its font, in millimetres.
struct PageMetrics {
    double width = 190;     // printable width
    double height = 277;    // printable height
    double line = 3.5;      // line height
    double column = 1.6;    // average character width: one Tab column
    std::function<double(const QString&)> text_width; // width of a text
};

struct PlacedText {
    double x = 0, y = 0; // top left corner of the text
    QString text;
    bool operator==(const PlacedText&) const = default;
};

struct PrintedPage {
    std::vector<PlacedText> items;
};

// The ten label/value lines of the header block (labels in the current language).
std::vector<std::pair<QString, QString>> header_lines(const PrintHeaderFields& header);
// The plain block used without the header: label and value run together.
QStringList plain_block_lines(const PrintHeaderFields& header);

// Today in the system's long date form, as the page footers show it.
QString footer_date_today();

// The pages of `copies` copies of the listing. `today` is the long date of the footer.
std::vector<PrintedPage> lay_out_headed_pages(const PrintHeaderFields& header,
                                              const ParameterListing& listing,
                                              const PageMetrics& metrics, int copies,
                                              const QString& today);

// The print header window's preview: the first printed page, started at y = 15, with the footer
// "Page 1" and no rows after the first page break; without the header no footer and no closing
// line.
PrintedPage lay_out_preview_page(const PrintHeaderFields& header, const ParameterListing& listing,
                                 const PageMetrics& metrics, const QString& today);

// The export file's text with CR LF line ends: separator "," or ";" for the separated layouts,
// empty for the fixed columns. Separated fields that hold the separator, a quote or a line
// break are put in quotes (inner quotes doubled) so that every row reads back as four fields.
QString export_listing_text(const PrintHeaderFields& header, const ParameterListing& listing,
                            const QString& separator);

// The listing's font: Lucida Sans 8 pt, or a sans font of the same width class where it is
// missing.
QFont listing_font();

// Paints laid-out pages on `printer` (which must be set up), one newPage between pages.
// False when the printer could not be started.
bool print_pages(QPrinter& printer, const std::vector<PrintedPage>& pages);

// Measures of `printer`'s printable area and the listing font on it.
PageMetrics printer_metrics(QPrinter& printer);

enum class HeadedOutput { Printer, File };

// Prints the listing (printer dialog, then every copy) or exports it (save dialog, then the
// file), then says so. A cancelled dialog ends silently; a failure shows text 1229 and a code.
void headed_printing(const PrintHeaderFields& header, const ParameterListing& listing,
                     HeadedOutput output);

} // namespace reports
