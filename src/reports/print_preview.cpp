#include "reports/print_preview.h"

#include "platform/dialogs.h"
#include "platform/print_dialog.h"
#include "platform/text_file.h"
#include "shell/definitions_table.h"
#include "shell/settings.h"
#include "shell/settings_keys.h"
#include "shell/shell_state.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QFileInfo>
#include <QFontInfo>
#include <QHBoxLayout>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QScrollArea>
#include <QStyle>
#include <QTextDocument>
#include <QTextEdit>
#include <QVBoxLayout>

namespace reports {

namespace {

constexpr double PAGE_WIDTH_MM = 210;
constexpr double PAGE_HEIGHT_MM = 297;
constexpr double REPORT_MARGIN_MM = 15;

// Pixels per point as the text box lays text out, so its tab stops keep pace with its fonts.
double screen_units_per_point() {
    QFont probe;
    probe.setPointSizeF(72);
    return QFontInfo(probe).pixelSize() / 72.0;
}

} // namespace

// The listing page on white paper at the screen's size.
class PagePicture : public QWidget {
public:
    explicit PagePicture(QWidget* parent) : QWidget(parent) {
        setObjectName(QStringLiteral("Picture1"));
        const double dpmm = logicalDpiX() / 25.4;
        setFixedSize(static_cast<int>(PAGE_WIDTH_MM * dpmm), static_cast<int>(PAGE_HEIGHT_MM * dpmm));
    }
    void set_page(const PrintedPage& page) {
        page_ = page;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), Qt::white);
        const double dpmm = logicalDpiX() / 25.4;
        const QFont font = listing_font();
        p.setFont(font);
        p.setPen(Qt::black);
        const double ascent = QFontMetricsF(font, this).ascent();
        for (const PlacedText& t : page_.items)
            p.drawText(QPointF(t.x * dpmm, t.y * dpmm + ascent), t.text);
    }

private:
    PrintedPage page_;
};

bool print_report(QPrinter& printer, const ReportDocument& doc, int copies) {
    printer.setPageMargins(QMarginsF(REPORT_MARGIN_MM, REPORT_MARGIN_MM, REPORT_MARGIN_MM,
                                     REPORT_MARGIN_MM),
                           QPageLayout::Millimeter);
    // Laid out on the printer itself, so fonts are measured in its own dots; the layout scales
    // tab stops from the screen's units to the printer's as it does for fonts.
    QTextDocument text;
    text.documentLayout()->setPaintDevice(&printer);
    write_to_text_document(doc, text, screen_units_per_point());
    const QRectF area = printer.pageLayout().paintRectPixels(printer.resolution());
    text.setPageSize(area.size());
    const int pages = text.pageCount();
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    bool first = true;
    for (int copy = 0; copy < std::max(1, copies); ++copy) {
        for (int page = 0; page < pages; ++page) {
            if (!first && !printer.newPage())
                return false;
            first = false;
            painter.save();
            const QRectF view(0, page * area.height(), area.width(), area.height());
            painter.translate(0, -view.top());
            text.drawContents(&painter, view);
            painter.restore();
        }
    }
    return painter.end();
}

PrintPreview::PrintPreview(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Form8"));
    auto* layout = new QVBoxLayout(this);
    auto* buttons = new QHBoxLayout;
    Command1 = new QPushButton(style()->standardIcon(QStyle::SP_DialogSaveButton), {}, this);
    Command2 = new QPushButton(QIcon::fromTheme(QStringLiteral("document-print"),
                                                style()->standardIcon(QStyle::SP_FileIcon)),
                               {}, this);
    export_button = new QPushButton(style()->standardIcon(QStyle::SP_DialogSaveButton), {}, this);
    Command3 = new QPushButton(style()->standardIcon(QStyle::SP_DialogCloseButton), {}, this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command2->setObjectName(QStringLiteral("Command2"));
    Command3->setObjectName(QStringLiteral("Command3"));
    export_button->setObjectName(QStringLiteral("export_button"));
    for (QPushButton* b : {Command1, Command2, export_button, Command3})
        buttons->addWidget(b);
    buttons->addStretch();
    layout->addLayout(buttons);

    RichTextBox1 = new QTextEdit(this);
    RichTextBox1->setObjectName(QStringLiteral("RichTextBox1"));
    RichTextBox1->setReadOnly(true);
    RichTextBox1->setLineWrapMode(QTextEdit::NoWrap);
    RichTextBox1->setStyleSheet(QStringLiteral("QTextEdit { background: white; color: black; }"));
    layout->addWidget(RichTextBox1, 1);

    page_area = new QScrollArea(this);
    page_area->setObjectName(QStringLiteral("page_area"));
    page_area->setBackgroundRole(QPalette::Dark);
    Picture1 = new PagePicture(page_area);
    page_area->setWidget(Picture1);
    page_area->hide();
    export_button->hide();
    layout->addWidget(page_area, 1);

    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
    connect(export_button, &QPushButton::clicked, this,
            [this] { headed_printing(header_, listing_, HeadedOutput::File); });
    set_texts();
    // At the top left corner of the screen, as tall as the screen allows.
    move(0, 0);
    resize(900, 640);
}

void PrintPreview::set_texts() {
    setWindowTitle(ui_text(2635, QStringLiteral("Print Preview")));
    Command1->setText(ui_text(2636, QStringLiteral("&Save")));
    Command2->setText(ui_text(2637, QStringLiteral("&Print")));
    export_button->setText(ui_text(2647, QStringLiteral("&Export")));
    Command3->setText(ui_text(2622, QStringLiteral("&Close")));
}

void PrintPreview::set_report(const ReportDocument& doc) {
    report_ = doc;
    listing_shown_ = false;
    listing_page_ = {};
    write_to_text_document(doc, *RichTextBox1->document(), screen_units_per_point());
    RichTextBox1->moveCursor(QTextCursor::Start);
    RichTextBox1->show();
    Command1->show();
    export_button->hide();
    page_area->hide();
}

void PrintPreview::set_listing_page(const PrintedPage& page, const PrintHeaderFields& header,
                             const ParameterListing& listing) {
    header_ = header;
    listing_ = listing;
    listing_shown_ = true;
    listing_page_ = page;
    Picture1->set_page(page);
    RichTextBox1->hide();
    Command1->hide();
    export_button->show();
    page_area->show();
}

void PrintPreview::Command1_Click() {
    platform::FileDialogRequest request;
    request.title = ui_text(2638, QStringLiteral("Save report file"));
    request.filter = ui_text(2639, QStringLiteral("Rich Text Format")) +
                     QStringLiteral(" (*.rtf)|*.rtf|") + ui_text(2640, QStringLiteral("Text Format")) +
                     QStringLiteral(" (*.txt)|*.txt");
    request.folder = read_ini(shell().ini_path, ini::SECTION_GENERAL, ini::KEY_SAVE_REPORT_PATH,
                              ini::DEF_SAVE_REPORT_PATH);
    const QString path = platform::dialogs().save_file(request);
    if (path.isEmpty())
        return;
    const bool rich = platform::dialogs().last_filter_index() != 2;
    if (!platform::write_file_atomically(path, rich ? to_rtf(report_) : to_text_file(report_))) {
        platform::msg_box(ui_text(2643, QStringLiteral("The file could not be saved: ")) + path,
                          platform::mb::Critical);
        return;
    }
    write_ini(shell().ini_path, ini::SECTION_GENERAL, ini::KEY_SAVE_REPORT_PATH,
              QFileInfo(path).absolutePath());
    platform::msg_box(ui_text(2641, QStringLiteral("File has been saved successfully")),
                      platform::mb::Information);
}

void PrintPreview::Command2_Click() {
    if (listing_shown_) {
        headed_printing(header_, listing_, HeadedOutput::Printer);
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    const auto copies = platform::print_dialogs().choose_printer(
        printer, ui_text(2635, QStringLiteral("Print Preview")));
    if (!copies)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool printed = print_report(printer, report_, *copies);
    QApplication::restoreOverrideCursor();
    if (!printed) {
        platform::msg_box(ui_text(2644, QStringLiteral("Printing failed.")), platform::mb::Critical);
        return;
    }
    platform::msg_box(ui_text(2642, QStringLiteral("Report has been printed successfully")),
                      platform::mb::Information);
}

void PrintPreview::Command3_Click() {
    close();
}

void preview_listing(const PrintHeaderFields& header, const ParameterListing& listing,
                     QWidget* parent, const std::function<void(QDialog&)>& run_modal) {
    // Measured on an A4 page of the PDF printer, which needs no printer driver; the listing
    // keeps to its columns on any paper near that size.
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(QPageSize(QPageSize::A4));
    const PrintedPage page =
        lay_out_preview_page(header, listing, printer_metrics(printer), footer_date_today());
    PrintPreview preview(parent);
    preview.set_listing_page(page, header, listing);
    if (run_modal)
        run_modal(preview);
    else
        preview.exec();
}

} // namespace reports
