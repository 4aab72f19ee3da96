#pragma once
// PrintHeaderWindow, the Print Header window: shows the header fields of a printed or exported
// parameter listing (print_header_fields.h), lets the user type the site, project, instrument,
// tag and sensor serial, and tick whether the header is used. Preview, Print and Export store the
// fields and hand over to the preview and to headed printing, which are installed with
// set_print_header_actions; a button whose work is not installed stays disabled. Neither ends
// the program on an error: the failure is shown and the window stays open.

#include "reports/print_header_fields.h"

#include <QDialog>
#include <array>
#include <functional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

struct PrintHeaderActions {
    // Draws the listing's first page under the stored header and shows it (modal).
    std::function<void()> preview;
    // headed_printing to the printer.
    std::function<void()> print;
    // headed_printing to a file: the listing exported as .csv, .ssv or .txt.
    std::function<void()> export_list;
};
void set_print_header_actions(PrintHeaderActions actions);
const PrintHeaderActions& print_header_actions();

class PrintHeaderWindow : public QDialog {
    Q_OBJECT
public:
    explicit PrintHeaderWindow(QWidget* parent = nullptr);

    // fill_print_header: the boxes from the stored fields, the unit's parameters and the name
    // tables.
    void Form_Load();
    void cmdPreview_Click();
    void cmdPrint_Click();
    void cmdExport_Click();
    void cmdClear_Click();
    void cmdCancel_Click();

    // A button is enabled while its work is installed.
    void enable_actions();

    // The fields as the boxes hold them now.
    PrintHeaderFields fields() const;

    QGroupBox* Frame1 = nullptr;
    QCheckBox* Check1 = nullptr;
    std::array<QLineEdit*, 10> Text1{};
    std::array<QLabel*, 11> Label1{};
    QPushButton* cmdClear = nullptr;
    QPushButton* cmdPreview = nullptr;
    QPushButton* cmdCancel = nullptr;
    QPushButton* cmdPrint = nullptr;
    QPushButton* cmdExport = nullptr; // the printer's "print to file", a choice of its own

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void show_fields(const PrintHeaderFields& f);
    bool run_action(const std::function<void()>& action);
};

// The window, created hidden and loaded on first use (the main window sets its captions); it is
// unloaded by Print and Cancel.
PrintHeaderWindow& print_header_window(QWidget* parent = nullptr);
bool print_header_window_loaded();
