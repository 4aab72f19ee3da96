#pragma once
// The print preview window (PrintPreview): shows the report text, saves it as Rich Text or plain text
// and prints it; or, for the print header window, shows the first page of the parameter listing
// and prints or exports the listing. The report text is laid out by report_document; the
// listing pages by headed_printing.

#include "parameters/parameter_listing.h"
#include "reports/headed_printing.h"
#include "reports/print_header_fields.h"
#include "reports/report_document.h"

#include <QDialog>
#include <functional>

class QPrinter;
class QPushButton;
class QScrollArea;
class QTextEdit;
class QWidget;

namespace reports {

// Prints `copies` copies of the report on `printer` (set up by the printer dialog) with its own
// page breaks; false when the printer fails.
bool print_report(QPrinter& printer, const ReportDocument& doc, int copies);

// Draws one laid-out listing page at `dots_per_mm` onto a painter (the preview's page picture).
class PagePicture;

class PrintPreview : public QDialog {
    Q_OBJECT
public:
    explicit PrintPreview(QWidget* parent = nullptr);

    // The report text the box shows, saves and prints.
    void set_report(const ReportDocument& doc);
    // The print header's preview: the page picture instead of the report box; Print then prints
    // or exports the listing under `header`.
    void set_listing_page(const PrintedPage& page, const PrintHeaderFields& header,
                          const ParameterListing& listing);

    void Command1_Click(); // Save
    void Command2_Click(); // Print
    void Command3_Click(); // Close

    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command3 = nullptr;
    QPushButton* export_button = nullptr; // the listing's export, a choice of its own
    QTextEdit* RichTextBox1 = nullptr;
    QScrollArea* page_area = nullptr; // holds Picture1; its scroll bars are VScroll1, HScroll1
    PagePicture* Picture1 = nullptr;

    const ReportDocument& report() const { return report_; }
    // The listing page the picture shows (empty with the report).
    const PrintedPage& listing_page() const { return listing_page_; }

private:
    void set_texts();
    ReportDocument report_;
    PrintHeaderFields header_;
    ParameterListing listing_;
    PrintedPage listing_page_;
    bool listing_shown_ = false;
};

// The print header window's preview: the listing's first page under `header`, drawn into the
// preview window's page picture and shown modally through `run_modal` (exec when empty).
void preview_listing(const PrintHeaderFields& header, const ParameterListing& listing,
                     QWidget* parent, const std::function<void(QDialog&)>& run_modal);

} // namespace reports
