#pragma once
// The File menu's print entries and the report tools behind the main window's menus.
//
// - print_echo_chart prints a chart landscape on the whole page less 5 % margins, on a white
//   background, laid out at the page's size (platform/chart_print.h); the chart on screen gets
//   its own background back afterwards, whatever happens.
// - print_listing builds a parameter listing and opens the Print Header window for it, or says
//   there is nothing to print.
// - install_report_tools puts the calculator, the print header window and the print entries into
//   the main window's services, and gives the print header window its preview, print and export.
//   The parameter list entries need the listings (list_all_parameters, list_changed_parameters);
//   without them they are not installed and stay disabled, so call it after everything else has
//   installed itself.

#include <QString>
#include <functional>

class QCustomPlot;
class QPrinter;
class QWidget;
struct MainWindowServices;

// Page margin on every side, in per cent of the page.
inline constexpr double ECHO_PRINT_MARGIN_PERCENT = 5;

// Prints `chart` on `printer` (set to landscape here). Returns false with `error` set when the
// printer could not be started or its PDF file not written whole; the chart's colours are
// restored in every case.
bool print_echo_chart(QCustomPlot& chart, QPrinter& printer, QString* error = nullptr);

// printparameters_Click / printchangedparameters_Click: `make_listing` fills the parameter
// listing; an empty listing shows UI text 1226 and opens nothing, otherwise `open_header` runs.
void print_listing(const std::function<void()>& make_listing,
                   const std::function<void()>& open_header);

// How the print entries ask for a printer; tests replace it. The default shows the print dialog
// and returns false when the user cancels.
using ChoosePrinter = std::function<bool(QPrinter&, QWidget* parent)>;
void set_choose_printer(ChoosePrinter choose);

// `parameter_file` names the parameter file last opened or saved, for the listing's plain block.
void install_report_tools(MainWindowServices& services, QWidget* parent, QCustomPlot* echo_chart,
                          std::function<QString()> parameter_file = {});
