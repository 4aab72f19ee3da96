#pragma once
// The printer dialog. Code asks through print_dialogs() and gets the copy count, with the
// printer set up as the user chose, or nothing when the user cancelled. The program installs the
// Qt dialog; tests install ScriptedPrintDialogs, which sends the pages to a PDF file of the test's
// choosing and records every request.

#include <QString>
#include <deque>
#include <optional>
#include <vector>

class QPrinter;

namespace platform {

class PrintDialogService {
public:
    virtual ~PrintDialogService() = default;
    // Shows the printer dialog for `printer`; the copy count the user asked for (at least 1),
    // or nullopt when cancelled. The printer itself prints one copy per job: callers repeat the
    // pages for each copy.
    virtual std::optional<int> choose_printer(QPrinter& printer, const QString& title) = 0;
};

PrintDialogService& print_dialogs();
// Installs `service` (not owned); nullptr goes back to the Qt dialog.
void set_print_dialogs(PrintDialogService* service);

// The real dialog. On a display nobody can answer it cancels with a warning, as the other
// dialogs do.
class QtPrintDialogs : public PrintDialogService {
public:
    std::optional<int> choose_printer(QPrinter& printer, const QString& title) override;
};

// The test stand-in: each request takes the next queued answer (a copy count, or nullopt for
// Cancel; none queued cancels) and, when it prints, points the printer at the next queued PDF path.
class ScriptedPrintDialogs : public PrintDialogService {
public:
    std::deque<std::optional<int>> answers;
    std::deque<QString> pdf_paths;
    std::vector<QString> titles;

    std::optional<int> choose_printer(QPrinter& printer, const QString& title) override;
};

class ScopedScriptedPrintDialogs : public ScriptedPrintDialogs {
public:
    ScopedScriptedPrintDialogs() : previous_(&print_dialogs()) { set_print_dialogs(this); }
    ~ScopedScriptedPrintDialogs() override { set_print_dialogs(previous_); }
    ScopedScriptedPrintDialogs(const ScopedScriptedPrintDialogs&) = delete;
    ScopedScriptedPrintDialogs& operator=(const ScopedScriptedPrintDialogs&) = delete;

private:
    PrintDialogService* previous_;
};

} // namespace platform
