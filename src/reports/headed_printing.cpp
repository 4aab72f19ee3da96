#include "reports/headed_printing.h"

#include "platform/dialogs.h"
#include "platform/print_dialog.h"
#include "platform/text_file.h"
#include "platform/vb.h"
#include "shell/definitions_table.h"
#include "shell/settings.h"
#include "shell/settings_keys.h"
#include "shell/shell_state.h"

#include <QApplication>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <array>

namespace reports {
namespace {

constexpr double LEFT_MM = 20;
constexpr double FIRST_TOP_MM = 5;
constexpr double FOOTER_RISE_MM = 15;
constexpr double PAGE_NUMBER_INSET_MM = 25;
constexpr int HEADER_RULE = 170;
constexpr int LIST_RULE = 100;
constexpr int SEPARATED_LIST_RULE = 80;
// The codes the failure message carries: a file that cannot be written, a printer that fails.
constexpr int FILE_ACCESS_ERROR = 75;
constexpr int PRINTER_ERROR = 482;
const QString CRLF = QStringLiteral("\r\n");

QString dashes(int n) {
    return QString(n, QLatin1Char('-'));
}

QStringList column_titles() {
    // Headed as the grid heads the same column: it holds the defaults, not units words.
    return {QStringLiteral("Par"), ui_text(1368), ui_text(1369), ui_text(1188)};
}

// The printer's print position: texts go at the current position, a Tab moves to a character
// column, a line end goes to the left edge of the next line. A line that no longer fits on
// the page starts a new one at its top edge, as the printer itself would.
class PrintCursor {
public:
    explicit PrintCursor(const PageMetrics& m) : m_(m) { pages_.emplace_back(); }

    void at(double x) { x_ = x; }
    void set_y(double y) { y_ = y; }
    double y() const { return y_; }
    void text(const QString& s) {
        if (y_ + m_.line > m_.height && y_ > 0)
            new_page();
        pages_.back().items.push_back({x_, y_, s});
        x_ += width(s);
    }
    void tab(int column) {
        const double target = (column - 1) * m_.column;
        if (x_ > target + 1e-9)
            end_line();
        x_ = target;
    }
    void end_line() {
        y_ += m_.line;
        x_ = 0;
    }
    void new_page() {
        pages_.emplace_back();
        y_ = 0;
        x_ = 0;
    }
    double width(const QString& s) const {
        return m_.text_width ? m_.text_width(s) : s.size() * m_.column;
    }
    void line_start() { x_ = LEFT_MM; }
    // A rule of `width` dashes, cut where it would run off the paper: in a wide font the
    // header's rule is wider than the page.
    void rule(int width) {
        line_start();
        QString line = dashes(width);
        while (line.size() > 1 && x_ + this->width(line) > m_.width)
            line.chop(1);
        text(line);
        end_line();
    }
    std::vector<PrintedPage> take() { return std::move(pages_); }

private:
    const PageMetrics& m_;
    std::vector<PrintedPage> pages_;
    double x_ = 0, y_ = 0;
};

void footer(PrintCursor& c, const PageMetrics& m, const QString& today, int page) {
    const double y = c.y();
    c.at((m.width - c.width(today)) / 2);
    c.text(today);
    const QString number =
        ui_text(2801, QStringLiteral("Page")) + QLatin1Char(' ') + QString::number(page);
    c.set_y(y);
    c.at(m.width - c.width(number) - PAGE_NUMBER_INSET_MM);
    c.text(number);
    c.set_y(y);
}

// A fixed-column text file: Tab(n) pads with blanks to character column n, or goes on at
// column n of the next line when the line is already past it.
class TextColumns {
public:
    void tab(int column) {
        const qsizetype target = column - 1;
        if (line_.size() > target) {
            out_ += line_ + CRLF;
            line_.clear();
        }
        line_ += QString(target - line_.size(), QLatin1Char(' '));
    }
    void text(const QString& s) { line_ += s; }
    void end_line() {
        out_ += line_ + CRLF;
        line_.clear();
    }
    // Every line of the file starts at column 15.
    void line_start() { tab(15); }
    void rule(int width) {
        line_start();
        text(dashes(width));
        end_line();
    }
    QString take() { return std::move(out_); }

private:
    QString out_, line_;
};

QString csv_field(const QString& field, const QString& separator) {
    if (!field.contains(separator) && !field.contains(QLatin1Char('"')) &&
        !field.contains(QLatin1Char('\n')) && !field.contains(QLatin1Char('\r')))
        return field;
    return QLatin1Char('"') + QString(field).replace(QLatin1Char('"'), QLatin1String("\"\"")) +
           QLatin1Char('"');
}

} // namespace

std::vector<std::pair<QString, QString>> header_lines(const PrintHeaderFields& h) {
    return {{ui_text(1432), h.site},        {ui_text(1433), h.project},
            {ui_text(1434), h.instrument},  {ui_text(1435), h.tag},
            {ui_text(1437), h.device},      {ui_text(1438), h.serial_number},
            {ui_text(1439), h.software_version},   {ui_text(1440), h.hardware_version},
            {ui_text(1441), h.sensor_type}, {ui_text(1442), h.sensor_serial}};
}

QStringList plain_block_lines(const PrintHeaderFields& h) {
    QStringList lines;
    if (!h.parameter_file_name.isEmpty()) {
        lines << ui_text(1452) + h.parameter_file_name;
        lines << ui_text(1453) +
                     (h.parameter_file_changed.isValid()
                          ? platform::format_date(h.parameter_file_changed,
                                                  QStringLiteral("General Date"))
                          : QString());
    }
    lines << ui_text(1454) + h.software_version << ui_text(1455) + h.p927
          << ui_text(1456) + h.p928 << ui_text(1457) + h.p929;
    return lines;
}

namespace {

// Title and row columns: the printed page's, and the text file's rows (its titles keep the
// printed columns).
constexpr std::array<int, 3> TITLE_TABS{25, 55, 68};
constexpr std::array<int, 3> PRINTED_ROW_TABS = TITLE_TABS;
constexpr std::array<int, 3> TEXT_ROW_TABS{20, 50, 60};

// One line: the first field at the line's start, each further one at its Tab column.
template <class Cursor, size_t N>
void columns(Cursor& c, const QStringList& fields, const std::array<int, N>& tabs) {
    c.line_start();
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            c.tab(tabs[static_cast<size_t>(i - 1)]);
        c.text(fields[i]);
    }
    c.end_line();
}

// The top of a listing: the header block (or the plain block), the column titles and their
// rule; the same on paper and in the fixed-column file.
template <class Cursor>
void lay_out_listing_head(Cursor& c, const PrintHeaderFields& header) {
    if (header.use_header) {
        c.rule(HEADER_RULE);
        for (const auto& [label, value] : header_lines(header))
            columns(c, {label, value}, std::array<int, 1>{45});
        c.rule(HEADER_RULE);
    } else {
        for (const QString& line : plain_block_lines(header))
            columns(c, {line}, std::array<int, 0>{});
        c.rule(LIST_RULE);
    }
    columns(c, column_titles(), TITLE_TABS);
    c.rule(LIST_RULE);
}

QStringList row_fields(const ParameterListingRow& row) {
    return {row.number, row.description, row.value, row.default_value};
}

// Only with the header do pages end at the footer line; without it the page fills up.
bool at_footer(const PrintCursor& c, const PrintHeaderFields& header, const PageMetrics& m) {
    return header.use_header && c.y() >= m.height - FOOTER_RISE_MM;
}

// An empty line, then the footer on the line after it.
void close_page(PrintCursor& c, const PageMetrics& m, const QString& today, int page) {
    c.end_line();
    footer(c, m, today, page);
}

} // namespace

QString footer_date_today() {
    return platform::format_date(QDate::currentDate(), QStringLiteral("dddddd"));
}

std::vector<PrintedPage> lay_out_headed_pages(const PrintHeaderFields& header,
                                              const ParameterListing& listing,
                                              const PageMetrics& m, int copies,
                                              const QString& today) {
    PrintCursor c(m);
    c.set_y(FIRST_TOP_MM);
    for (int copy = 1; copy <= std::max(1, copies); ++copy) {
        if (copy > 1)
            c.new_page(); // the next copy starts at the page's top edge
        int page = 1;
        lay_out_listing_head(c, header);
        for (const ParameterListingRow& row : listing.rows) {
            if (at_footer(c, header, m)) {
                close_page(c, m, today, page);
                c.new_page();
                ++page;
                c.set_y(FIRST_TOP_MM);
            }
            columns(c, row_fields(row), PRINTED_ROW_TABS);
        }
        c.rule(LIST_RULE);
        if (header.use_header) {
            c.set_y(m.height - FOOTER_RISE_MM);
            close_page(c, m, today, page);
        }
    }
    return c.take();
}

PrintedPage lay_out_preview_page(const PrintHeaderFields& header, const ParameterListing& listing,
                                 const PageMetrics& m, const QString& today) {
    constexpr double PREVIEW_TOP_MM = 15;
    PageMetrics one_page = m;
    one_page.height = 1e9; // the preview never turns a page
    PrintCursor c(one_page);
    c.set_y(PREVIEW_TOP_MM);
    lay_out_listing_head(c, header);
    for (const ParameterListingRow& row : listing.rows) {
        if (at_footer(c, header, m)) {
            close_page(c, m, today, 1);
            return c.take().front();
        }
        columns(c, row_fields(row), PRINTED_ROW_TABS);
    }
    if (at_footer(c, header, m) || !header.use_header)
        return c.take().front();
    c.rule(LIST_RULE);
    c.set_y(m.height - FOOTER_RISE_MM);
    close_page(c, m, today, 1);
    return c.take().front();
}

QString export_listing_text(const PrintHeaderFields& header, const ParameterListing& listing,
                            const QString& s) {
    if (s.isEmpty()) {
        TextColumns t;
        lay_out_listing_head(t, header);
        for (const ParameterListingRow& row : listing.rows)
            columns(t, row_fields(row), TEXT_ROW_TABS);
        t.rule(LIST_RULE);
        return t.take();
    }

    QString out;
    auto line = [&](const QStringList& fields) {
        for (const QString& f : fields)
            out += s + csv_field(f, s);
        out += CRLF;
    };
    if (header.use_header) {
        line({dashes(HEADER_RULE)});
        for (const auto& [label, value] : header_lines(header))
            line({label, value});
        line({dashes(HEADER_RULE)});
    } else {
        for (const QString& l : plain_block_lines(header))
            line({l});
        line({dashes(LIST_RULE)});
    }
    line(column_titles());
    line({dashes(SEPARATED_LIST_RULE)});
    for (const ParameterListingRow& row : listing.rows)
        line(row_fields(row));
    line({dashes(SEPARATED_LIST_RULE)});
    return out;
}

QFont listing_font() {
    QFont f(QStringLiteral("Lucida Sans"));
    // Where it is missing, a wide humanist sans keeps the columns as far apart as it would.
    f.setFamilies({QStringLiteral("Lucida Sans"), QStringLiteral("Lucida Sans Unicode"),
                   QStringLiteral("DejaVu Sans"), QStringLiteral("Verdana"),
                   QStringLiteral("Liberation Sans")});
    f.setStyleHint(QFont::SansSerif);
    f.setPointSizeF(8);
    return f;
}

PageMetrics printer_metrics(QPrinter& printer) {
    PageMetrics m;
    const QRectF area = printer.pageLayout().paintRect(QPageLayout::Millimeter);
    m.width = area.width();
    m.height = area.height();
    const double mm_per_dot = 25.4 / printer.resolution();
    auto fm = std::make_shared<QFontMetricsF>(listing_font(), &printer);
    m.line = fm->height() * mm_per_dot;
    m.column = fm->averageCharWidth() * mm_per_dot;
    m.text_width = [fm, mm_per_dot](const QString& s) {
        return fm->horizontalAdvance(s) * mm_per_dot;
    };
    return m;
}

bool print_pages(QPrinter& printer, const std::vector<PrintedPage>& pages) {
    QPainter p;
    if (!p.begin(&printer))
        return false;
    // Positions are millimetres; the font keeps its point size on the printer's own dots.
    const double dots_per_mm = printer.resolution() / 25.4;
    const QFont font = listing_font();
    p.setFont(font);
    const double ascent = QFontMetricsF(font, &printer).ascent();
    bool first = true;
    for (const PrintedPage& page : pages) {
        if (!first && !printer.newPage())
            return false;
        first = false;
        for (const PlacedText& t : page.items)
            p.drawText(QPointF(t.x * dots_per_mm, t.y * dots_per_mm + ascent), t.text);
    }
    return p.end();
}

void headed_printing(const PrintHeaderFields& header, const ParameterListing& listing,
                     HeadedOutput output) {
    auto failed = [](int code) {
        QApplication::restoreOverrideCursor();
        platform::msg_box(ui_text(1229) + QString::number(code), platform::mb::Information);
    };
    if (output == HeadedOutput::Printer) {
        QPrinter printer(QPrinter::HighResolution);
        const auto copies =
            platform::print_dialogs().choose_printer(printer, ui_text(2600, QStringLiteral("Print")));
        if (!copies)
            return;
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const auto pages = lay_out_headed_pages(header, listing, printer_metrics(printer), *copies,
                                                footer_date_today());
        if (!print_pages(printer, pages))
            return failed(PRINTER_ERROR);
    } else {
        platform::FileDialogRequest request;
        request.title = ui_text(1227);
        request.filter = ui_text(1443) + QStringLiteral(" (*.csv)|*.csv|") + ui_text(1444) +
                         QStringLiteral(" (*.ssv)|*.ssv") + QStringLiteral("|") + ui_text(1445) +
                         QStringLiteral(" (*.txt)|*.txt");
        request.folder = read_ini(shell().ini_path, ini::SECTION_GENERAL, ini::KEY_EXPORT_PATH,
                                  shell().export_path);
        const QString path = platform::dialogs().save_file(request);
        if (path.isEmpty())
            return;
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const int filter = platform::dialogs().last_filter_index();
        const QString separator = filter == 1   ? QStringLiteral(",")
                                  : filter == 2 ? QStringLiteral(";")
                                                : QString();
        write_ini(shell().ini_path, ini::SECTION_GENERAL, ini::KEY_PARAM_DIR,
                  QFileInfo(path).absolutePath());
        const QString text = export_listing_text(header, listing, separator);
        const auto latin = platform::encode_windows1252(text);
        if (!platform::write_file_atomically(path, latin ? *latin : text.toUtf8()))
            return failed(FILE_ACCESS_ERROR);
    }
    QApplication::restoreOverrideCursor();
    platform::msg_box(ui_text(1228), platform::mb::Information);
}

} // namespace reports
