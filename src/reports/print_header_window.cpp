#include "reports/print_header_window.h"

#include "platform/dialogs.h"
#include "shell/definitions_table.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <new>

namespace {

PrintHeaderActions& installed_actions() {
    static PrintHeaderActions a;
    return a;
}

QPointer<PrintHeaderWindow>& instance() {
    static QPointer<PrintHeaderWindow> w;
    return w;
}

// Boxes 5 to 7 show the unit's serial number and versions; the printed header takes them from
// the parameters, so they are not for editing.
constexpr int FIRST_UNIT_BOX = 5;
constexpr int LAST_UNIT_BOX = 7;

// Run-time error numbers for failures that bring none of their own: running out of memory, and
// anything else the print work throws.
constexpr int OUT_OF_MEMORY = 7;
constexpr int INTERNAL_ERROR = 51;

void report_failure(int number, const QString& description) {
    platform::msg_box(ui_text(1287, QStringLiteral("Error ")) + QString::number(number) +
                          QStringLiteral("  : ") + description,
                      platform::mb::Critical);
}

} // namespace

void set_print_header_actions(PrintHeaderActions a) {
    installed_actions() = std::move(a);
    if (instance())
        instance()->enable_actions();
}

const PrintHeaderActions& print_header_actions() {
    return installed_actions();
}

PrintHeaderWindow::PrintHeaderWindow(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmPrintHeader"));
    setWindowTitle(QStringLiteral("Print Header"));
    auto* layout = new QVBoxLayout(this);

    Frame1 = new QGroupBox(QStringLiteral("Options"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    auto* options = new QVBoxLayout(Frame1);
    Check1 = new QCheckBox(QStringLiteral("Use print header"), Frame1);
    Check1->setObjectName(QStringLiteral("Check1"));
    options->addWidget(Check1);
    layout->addWidget(Frame1);

    auto* grid = new QGridLayout;
    grid->setColumnStretch(1, 1);
    for (size_t i = 0; i < Label1.size(); ++i) {
        Label1[i] = new QLabel(this);
        Label1[i]->setObjectName(QStringLiteral("Label1(%1)").arg(i));
    }
    for (size_t i = 0; i < Text1.size(); ++i) {
        Text1[i] = new QLineEdit(this);
        Text1[i]->setObjectName(QStringLiteral("Text1(%1)").arg(i));
        Text1[i]->installEventFilter(this);
        Text1[i]->setMinimumWidth(260);
    }
    for (int i = FIRST_UNIT_BOX; i <= LAST_UNIT_BOX; ++i) {
        QLineEdit* box = Text1[static_cast<size_t>(i)];
        box->setReadOnly(true);
        QPalette shaded = box->palette();
        shaded.setColor(QPalette::Base, shaded.color(QPalette::Window));
        box->setPalette(shaded);
    }
    // Rows: boxes 0 to 3, the "Device:" heading, then boxes 4 to 9 each below its label.
    int row = 0;
    for (size_t i = 0; i < 4; ++i, ++row) {
        grid->addWidget(Label1[i], row, 0);
        grid->addWidget(Text1[i], row, 1);
        Label1[i]->setBuddy(Text1[i]);
    }
    QFont heading = Label1[4]->font();
    heading.setBold(true);
    Label1[4]->setFont(heading);
    grid->addWidget(Label1[4], row++, 0, 1, 2);
    for (size_t i = 4; i < Text1.size(); ++i, ++row) {
        grid->addWidget(Label1[i + 1], row, 0);
        grid->addWidget(Text1[i], row, 1);
        Label1[i + 1]->setBuddy(Text1[i]);
    }
    layout->addLayout(grid);
    layout->addSpacing(6);

    auto* buttons = new QHBoxLayout;
    const auto button = [this, buttons](QPushButton*& b, const char* name, const char* caption) {
        b = new QPushButton(QString::fromLatin1(caption), this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        buttons->addWidget(b);
    };
    button(cmdClear, "cmdClear", "C&lear");
    buttons->addStretch(1);
    button(cmdPreview, "cmdPreview", "Pre&view");
    button(cmdPrint, "cmdPrint", "&Print");
    button(cmdExport, "cmdExport", "&Export");
    button(cmdCancel, "cmdCancel", "&Cancel");
    cmdPrint->setDefault(true);
    layout->addLayout(buttons);

    connect(cmdClear, &QPushButton::clicked, this, &PrintHeaderWindow::cmdClear_Click);
    connect(cmdPreview, &QPushButton::clicked, this, &PrintHeaderWindow::cmdPreview_Click);
    connect(cmdPrint, &QPushButton::clicked, this, &PrintHeaderWindow::cmdPrint_Click);
    connect(cmdExport, &QPushButton::clicked, this, &PrintHeaderWindow::cmdExport_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &PrintHeaderWindow::cmdCancel_Click);
    enable_actions();
}

void PrintHeaderWindow::enable_actions() {
    cmdPreview->setEnabled(static_cast<bool>(installed_actions().preview));
    cmdPrint->setEnabled(static_cast<bool>(installed_actions().print));
    cmdExport->setEnabled(static_cast<bool>(installed_actions().export_list));
}

void PrintHeaderWindow::Form_Load() {
    // The main window gives these captions to a loaded window only; a window opened later takes
    // them here, in the same texts.
    const std::pair<QWidget*, int> captions[] = {{Frame1, 1189}, {Check1, 1449},   {cmdPrint, 1005},
                                                 {cmdPreview, 1447}, {cmdClear, 1448},
                                                 {cmdCancel, 1397}, {cmdExport, 2800}};
    setWindowTitle(ui_text(1450, windowTitle()));
    for (const auto& [widget, number] : captions) {
        if (auto* box = qobject_cast<QGroupBox*>(widget))
            box->setTitle(ui_text(number, box->title()));
        else if (auto* button = qobject_cast<QAbstractButton*>(widget))
            button->setText(ui_text(number, button->text()));
    }
    for (size_t i = 0; i < Text1.size(); ++i) {
        Label1[i]->setText(ui_text(1432 + static_cast<int>(i)));
        Text1[i]->clear();
    }
    Label1[10]->setText(ui_text(1442));
    const PrintHeaderFields header = current_print_header();
    show_fields(fill_print_header(header, current_print_header_context(header)));
    Text1[5]->setText(header.serial_number);
    Text1[6]->setText(header.software_version);
    Text1[7]->setText(hardware_version_box_text(header.hardware_version));
}

void PrintHeaderWindow::show_fields(const PrintHeaderFields& f) {
    Check1->setChecked(f.use_header);
    Text1[0]->setText(f.site);
    Text1[1]->setText(f.project);
    Text1[2]->setText(f.instrument);
    Text1[3]->setText(f.tag);
    Text1[4]->setText(f.device);
    Text1[8]->setText(f.sensor_type);
    Text1[9]->setText(f.sensor_serial);
}

PrintHeaderFields PrintHeaderWindow::fields() const {
    PrintHeaderFields f;
    f.use_header = Check1->isChecked();
    f.site = Text1[0]->text();
    f.project = Text1[1]->text();
    f.instrument = Text1[2]->text();
    f.tag = Text1[3]->text();
    f.device = Text1[4]->text();
    f.sensor_type = Text1[8]->text();
    f.sensor_serial = Text1[9]->text();
    return f;
}

bool PrintHeaderWindow::run_action(const std::function<void()>& action) {
    try {
        store_print_header(fields());
        if (action)
            action();
        return true;
    } catch (const std::bad_alloc&) {
        report_failure(OUT_OF_MEMORY, QStringLiteral("Out of memory"));
    } catch (const std::exception& e) {
        report_failure(INTERNAL_ERROR, QString::fromLocal8Bit(e.what()));
    } catch (...) {
        report_failure(INTERNAL_ERROR, QStringLiteral("Internal error"));
    }
    return false;
}

void PrintHeaderWindow::cmdPreview_Click() {
    // The window stays open after a preview.
    run_action(installed_actions().preview);
}

void PrintHeaderWindow::cmdPrint_Click() {
    if (run_action(installed_actions().print))
        close();
}

void PrintHeaderWindow::cmdExport_Click() {
    if (run_action(installed_actions().export_list))
        close();
}

void PrintHeaderWindow::cmdClear_Click() {
    show_fields(cleared_print_header(fields()));
}

void PrintHeaderWindow::cmdCancel_Click() {
    close();
}

bool PrintHeaderWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn)
        if (auto* box = qobject_cast<QLineEdit*>(watched))
            // After the click that gave the focus has placed the cursor.
            QTimer::singleShot(0, box, [box] { box->selectAll(); });
    return QDialog::eventFilter(watched, event);
}

PrintHeaderWindow& print_header_window(QWidget* parent) {
    if (!instance()) {
        instance() = new PrintHeaderWindow(parent);
        instance()->setAttribute(Qt::WA_DeleteOnClose);
        instance()->Form_Load();
    }
    return *instance();
}

bool print_header_window_loaded() {
    return !instance().isNull();
}
