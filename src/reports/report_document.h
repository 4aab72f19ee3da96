#pragma once
// The report as styled runs of text, written piece by piece with attributes that stay until
// changed (as the report is composed), and the three forms it leaves the program in: a
// QTextDocument for the preview and the printer, Rich Text and plain text. Line ends are CR LF
// inside the runs; columns are separated by one Tab.

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <vector>

class QTextDocument;

namespace reports {

struct RunStyle {
    QString font = QStringLiteral("Times New Roman");
    int size = 10; // points
    bool bold = false;
    bool underline = false;
    uint32_t colour = 0; // 0xRRGGBB
    bool operator==(const RunStyle&) const = default;
};

struct ReportRun {
    RunStyle style;
    QString text;
};

// Tab stops of the report's columns, in points from the left margin: wide enough for a date,
// the bracketed unit cells and the sentinel figures (-999999999.0) at 10 points.
inline constexpr double TAB_STOPS_PT[] = {90, 155, 220, 275, 340, 390, 440};

class ReportDocument {
public:
    // Attributes for the pieces written after them.
    void set_font(const QString& name) { style_.font = name; }
    void set_size(int points) { style_.size = points; }
    void set_bold(bool on) { style_.bold = on; }
    void set_underline(bool on) { style_.underline = on; }
    void set_colour(uint32_t rgb) { style_.colour = rgb; }
    void set_tab_count(int count) { tab_count_ = count; }
    const RunStyle& style() const { return style_; }
    int tab_count() const { return tab_count_; }

    // Appends a piece in the current attributes; neighbouring pieces of one style merge.
    void write(const QString& text);

    const std::vector<ReportRun>& runs() const { return runs_; }
    // Every character in order, Tabs and CR LF as written.
    QString plain_text() const;

private:
    RunStyle style_;
    int tab_count_ = 6;
    std::vector<ReportRun> runs_;
};

// The runs as Rich Text: font and colour tables, sizes, bold, underline, tabs with the report's
// tab stops, one paragraph per line. Characters outside Windows-1252 are written as \u escapes.
QByteArray to_rtf(const ReportDocument& doc);

// The plain text with CR LF line ends, in Windows-1252 when every character has a code there,
// else UTF-8.
QByteArray to_text_file(const ReportDocument& doc);

// Fills `target` (emptied first) through one cursor. `units_per_point` is the document's units
// per point: the screen's logical dots per inch / 72 for a widget, 1 for a document laid out in
// points (see report_print.h).
void write_to_text_document(const ReportDocument& doc, QTextDocument& target,
                            double units_per_point);

} // namespace reports
