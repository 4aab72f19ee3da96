#include "reports/print_menus.h"

#include "parameters/parameter_listing.h"
#include "platform/chart_print.h"
#include "platform/dialogs.h"
#include "reports/power_calculator_window.h"
#include "reports/print_header_window.h"
#include "reports/headed_printing.h"
#include "reports/print_preview.h"
#include "reports/reports_texts.h"
#include "shell/definitions_table.h"
#include "shell/main_window_services.h"

#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <qcustomplot.h>

namespace {

// The chart keeps its own background brush without a getter; a member pointer taken through a
// derived class reads it without touching anything else.
struct PlotBackground : QCustomPlot {
    static constexpr QBrush QCustomPlot::*brush = &PlotBackground::mBackgroundBrush;
};

// Everything that paints the chart's background: its own brush and pixmap, and each axis rect's
// brush (a gradient back wall lives there) and pixmap. Restored when the object goes.
class WhiteBackground {
public:
    explicit WhiteBackground(QCustomPlot& chart) : chart_(chart) {
        brush_ = chart.*PlotBackground::brush;
        pixmap_ = chart.background();
        for (QCPAxisRect* rect : chart.axisRects())
            rects_.push_back({rect, rect->backgroundBrush(), rect->background()});
        chart.setBackground(QPixmap());
        chart.setBackground(QBrush(Qt::white));
        for (QCPAxisRect* rect : chart.axisRects()) {
            rect->setBackground(QPixmap());
            rect->setBackground(QBrush(Qt::NoBrush));
        }
    }
    ~WhiteBackground() {
        chart_.setBackground(pixmap_);
        chart_.setBackground(brush_);
        for (const Saved& s : rects_) {
            if (!s.rect)
                continue;
            s.rect->setBackground(s.pixmap);
            s.rect->setBackground(s.brush);
        }
        chart_.replot();
    }
    WhiteBackground(const WhiteBackground&) = delete;
    WhiteBackground& operator=(const WhiteBackground&) = delete;

private:
    struct Saved {
        QPointer<QCPAxisRect> rect;
        QBrush brush;
        QPixmap pixmap;
    };
    QCustomPlot& chart_;
    QBrush brush_;
    QPixmap pixmap_;
    std::vector<Saved> rects_;
};

ChoosePrinter& choose_printer() {
    static ChoosePrinter choose = [](QPrinter& printer, QWidget* parent) {
        QPrintDialog dialog(&printer, parent);
        return dialog.exec() == QDialog::Accepted;
    };
    return choose;
}

} // namespace

void set_choose_printer(ChoosePrinter choose) {
    choose_printer() = std::move(choose);
}

bool print_echo_chart(QCustomPlot& chart, QPrinter& printer, QString* error) {
    WhiteBackground white(chart);
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setFullPage(true); // the margins are of the whole sheet
    return platform::print_chart_page(chart, printer, ECHO_PRINT_MARGIN_PERCENT / 100, error);
}

void print_listing(const std::function<void()>& make_listing,
                   const std::function<void()>& open_header) {
    make_listing();
    if (parameter_listing().count() < 1) {
        platform::msg_box(ui_text(1226), platform::mb::Information);
        return;
    }
    open_header();
}

void install_report_tools(MainWindowServices& services, QWidget* parent, QCustomPlot* echo_chart,
                          std::function<QString()> parameter_file) {
    MainWindowServices* s = &services;
    const auto header = [parameter_file] {
        return current_print_header(parameter_file ? parameter_file() : QString());
    };
    set_print_header_actions(
        {[header, run = services.run_modal] {
             reports::preview_listing(header(), parameter_listing(), &print_header_window(), run);
         },
         [header] {
             reports::headed_printing(header(), parameter_listing(), reports::HeadedOutput::Printer);
         },
         [header] {
             reports::headed_printing(header(), parameter_listing(), reports::HeadedOutput::File);
         }});
    services.show_calculator = [s, parent] {
        PowerCalculatorWindow window(parent);
        s->run_modal(window);
    };
    services.print_header = [parent]() -> QWidget* { return &print_header_window(parent); };
    if (echo_chart) {
        QPointer<QCustomPlot> chart(echo_chart);
        services.print_echo = [chart, parent] {
            if (!chart)
                return;
            QPrinter printer(QPrinter::HighResolution);
            if (!choose_printer()(printer, parent))
                return;
            QString error;
            if (!print_echo_chart(*chart, printer, &error))
                platform::msg_box(rtext::text(rtext::ECHO_PRINT_FAILED) + error,
                                  platform::mb::Critical);
        };
    }
    const auto open_header = [s, parent] { s->run_modal(print_header_window(parent)); };
    if (services.list_all_parameters)
        services.print_parameters = [s, open_header] {
            print_listing([s] { s->list_all_parameters(false); }, open_header);
        };
    if (services.list_changed_parameters)
        services.print_changed_parameters = [s, open_header] {
            print_listing([s] { s->list_changed_parameters(false, false); }, open_header);
        };
}
