#include "platform/print_dialog.h"

#include <QApplication>
#include <QGuiApplication>
#include <QPrintDialog>
#include <QPrinter>

namespace platform {
namespace {

PrintDialogService*& installed() {
    static PrintDialogService* service = nullptr;
    return service;
}

} // namespace

PrintDialogService& print_dialogs() {
    static QtPrintDialogs real;
    return installed() ? *installed() : real;
}

void set_print_dialogs(PrintDialogService* service) {
    installed() = service;
}

std::optional<int> QtPrintDialogs::choose_printer(QPrinter& printer, const QString& title) {
    const QString p = QGuiApplication::platformName();
    if (p == QLatin1String("offscreen") || p == QLatin1String("minimal")) {
        qWarning("platform: unscripted printer dialog on a display nobody can answer: %s",
                 qUtf8Printable(title));
        return std::nullopt;
    }
    // We repeat the pages ourselves, so the copy count the user sets must not reach the driver.
    printer.setCopyCount(1);
    QPrintDialog dialog(&printer, QApplication::activeWindow());
    dialog.setWindowTitle(title);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const int copies = std::max(1, printer.copyCount());
    printer.setCopyCount(1);
    return copies;
}

std::optional<int> ScriptedPrintDialogs::choose_printer(QPrinter& printer, const QString& title) {
    titles.push_back(title);
    std::optional<int> answer;
    if (!answers.empty()) {
        answer = answers.front();
        answers.pop_front();
    }
    if (!answer)
        return std::nullopt;
    printer.setOutputFormat(QPrinter::PdfFormat);
    if (!pdf_paths.empty()) {
        printer.setOutputFileName(pdf_paths.front());
        pdf_paths.pop_front();
    }
    return std::max(1, *answer);
}

} // namespace platform
