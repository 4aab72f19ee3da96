#include "ui/main_window.h"

#include "echo/echo_install.h"
#include "echo/echo_page.h"
#include "link/command_link.h"
#include "link/debug_terminal.h"
#include "link/link_state.h"
#include "link/link_windows.h"
#include "link/log_on.h"
#include "link/modem_window.h"
#include "link/port_mapping.h"
#include "link/traffic_box.h"
#include "link/traffic_log.h"
#include "logging/cso_screen.h"
#include "logging/legend_window.h"
#include "logging/log_channels.h"
#include "logging/log_chart_commands.h"
#include "logging/log_chart_events.h"
#include "logging/log_chart_page.h"
#include "logging/log_setup_page.h"
#include "logging/log_setup_state.h"
#include "logging/log_unit_view.h"
#include "logging/unit_log_commands.h"
#include "parameters/definition_files.h"
#include "parameters/parameter_pages.h"
#include "parameters/parameter_state.h"
#include "parameters/parameter_work.h"
#include "platform/dialogs.h"
#include "platform/program_folder.h"
#include "platform/serial_port.h"
#include "platform/vb.h"
#include "reports/print_menus.h"
#include "reports/report_window.h"
#include "shell/definitions_reset.h"
#include "shell/definitions_table.h"
#include "shell/handler_guard.h"
#include "shell/language_file.h"
#include "shell/read_out_label.h"
#include "shell/settings_keys.h"
#include "shell/shell_state.h"
#include "shell/start_window.h"
#include "ui/busy_animation.h"
#include "ui/caption_map.h"
#include "ui/main_window_rules.h"
#include "ui/main_window_state.h"
#include "ui/menu_bar_keys.h"
#include "ui/page_fit.h"
#include "ui/screen_geometry.h"
#include "ui/screen_scaling.h"
#include "ui/setup_dialog.h"
#include "ui/toolbar_texts.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDateTime>
#include <QFontDatabase>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <QScrollArea>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextEdit>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>
#include <memory>
#include <qcustomplot.h>

// The toolbar's pictures are compiled into this library; a static library must ask for them.
static void init_toolbar_icons() {
    Q_INIT_RESOURCE(icons);
}

namespace {

// Design sizes in pixels (twips / 15) of the controls the layout places itself.
constexpr int DESIGN_WIDTH = 640;  // 9600 twips
constexpr int DESIGN_HEIGHT = 480; // 7200 twips
constexpr int PROGRESS_TEXT_WIDTH = 360;
constexpr int PROGRESS_TEXT_HEIGHT = 60;
constexpr int PROGRESS_BAR_HEIGHT = 18;
constexpr int BUSY_FRAME_WIDTH = 320;
constexpr int BUSY_FRAME_HEIGHT = 84;
constexpr int BUSY_ANIMATION_HEIGHT = 24;
// The parameter grid's columns: 500, 2500, 800 and 800 twips.
constexpr std::array<int, 4> GRID_COLUMN_TWIPS = {500, 2500, 800, 800};
constexpr int STATUS_PANEL_1_WIDTH = 300;
constexpr int STATUS_PANEL_2_WIDTH = 80;
constexpr int LOG_INTERVAL_DEFAULT = 0;

QStringList& start_arguments() {
    static QStringList arguments;
    return arguments;
}

std::function<void()>& default_program_ender() {
    // Handlers waiting for the unit would hold the process (and the port) until their time-outs.
    static std::function<void()> end = [] {
        end_link_for_exit();
        QCoreApplication::quit();
    };
    return end;
}

QPointer<MainWindow>& instance() {
    static QPointer<MainWindow> w;
    return w;
}

QString element(const char* name, int index) {
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index);
}

// Shortcut letters are for the window, never for a box the user is typing into.
bool is_text_entry(const QWidget* w) {
    if (!w)
        return false;
    if (qobject_cast<const QLineEdit*>(w) || qobject_cast<const QAbstractSpinBox*>(w))
        return true;
    // Text areas count even when read-only: a user clicks into the terminal box and types.
    if (qobject_cast<const QTextEdit*>(w) || qobject_cast<const QPlainTextEdit*>(w))
        return true;
    if (auto* combo = qobject_cast<const QComboBox*>(w))
        return combo->isEditable();
    // An editor opened inside a table is a line edit of its own and has the focus.
    return false;
}

// A page that may need more room than a small screen gives scrolls instead of pushing the
// window past the screen's edge.
QScrollArea* scrolled(QWidget* page, QWidget* parent) {
    auto* area = new QScrollArea(parent);
    area->setObjectName(page->objectName() + QStringLiteral("_scroll"));
    area->setWidgetResizable(true);
    area->setFrameShape(QFrame::NoFrame);
    area->setWidget(page);
    return area;
}

void set_noscale(QWidget* w) {
    w->setProperty(NOSCALE_PROPERTY, QStringLiteral("NOSCALE"));
}

int16_t to_twips16(int pixels) {
    const auto v = platform::to_int16(platform::round_half_even(pixels_to_twips(pixels)));
    return v.value_or(0);
}

} // namespace

// ---- Construction ----

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
    init_toolbar_icons();
    setObjectName(QStringLiteral("Form1"));
    setAttribute(Qt::WA_DeleteOnClose);
    services.end_program = program_ender();
    services.run_modal = [](QDialog& d) { d.exec(); };
    QFont base = font();
    base.setPointSizeF(8); // the design font; start-up scaling grows it with the screen
    setFont(base);
    build_menus();
    build_toolbar();
    build_frame();
    fit_timer_ = new QTimer(this);
    fit_timer_->setSingleShot(true);
    connect(fit_timer_, &QTimer::timeout, this, &MainWindow::fit_pages);
    services.show_debug_window = [this] { show_debug_terminal(this); };
    services.close_port = [] {
        if (MSComm1().port_open())
            MSComm1().set_port_open(false);
    };
    log_setup_page->send_manual_link_command = [](int index) { send_manual_link_command(index); };
    install_unit_log_commands(*log_setup_page);
    install_link_windows(services);
    // The modem window stands in the screen's bottom left corner, its status bar (the line's
    // state and clock) on the screen with the rest of it.
    services.show_modem_window = [show = services.show_modem_window] {
        show();
        keep_window_in_work_area(modem_window());
    };
    install_setup_dialog(services, [this] {
        apply_label_texts(*this, true);
        set_main_window_texts();
    });
    install_log_chart_commands(*log_setup_page, &services.open_log_file);
    install_log_chart_events(logging_tabs, log_chart_page, Timer4, this);
    services.legend_tuck_away = [] { tuck_away_legend_window(); };
    services.legend_unload = [] { unload_legend_window(); };
    // The echo page's keys work while it is in front; leaving it for the parameters ends live
    // echo monitoring, and coming back hides the parameter grid.
    connect(logging_tabs, &QTabWidget::currentChanged, this,
            [this] { KeyPreview = cso_tabs->currentIndex() == 0; });
    connect(cso_tabs, &QTabWidget::currentChanged, this,
            [this, previous = std::make_shared<int>(cso_tabs->currentIndex())](int index) {
                KeyPreview = index == 0;
                if (*previous == 0 && index == 1)
                    echo_page->offline_option->setChecked(true);
                if (*previous == 1 && index == 0)
                    parameter_grid->hide();
                *previous = index;
            });
    install_echo_work(
        *echo_page, services,
        {Timer1,
         [this] { enable_controls(); },
         [this](bool on) {
             if (!Toolbar2->actions().isEmpty())
                 Toolbar2->actions().first()->setEnabled(on);
         },
         [this](bool on) { toolbar_button(QLatin1String(toolbar_key::EXIT))->setEnabled(on); },
         {},
         {}},
        [this](int index, bool pressed) {
            const char* keys[3] = {toolbar_key::STATUS_DISPLAY, toolbar_key::LEVEL_DISPLAY,
                                   toolbar_key::TEMPERATURE_DISPLAY};
            if (index >= 0 && index < 3)
                toolbar_button(QLatin1String(keys[index]))->setChecked(pressed);
        },
        {Frame4, Toolbar2, ProgressBar[2], cso_tabs, progress_text});
    install_parameter_work(services,
                           {parameter_page, vessel_page, flow_page, progress_text, ProgressBar[3],
                            cancel_button, cso_tabs, [this] { enable_controls(); }, parameter_grid},
                           this);
    reports::install_report_services(services);
    new WidgetLogUnitView({progress_text, busy_frame, busy_animation, logging_tabs, ProgressBar},
                          this);
    // Last: the print entries take on the work installed above (the parameter listings).
    install_report_tools(services, this, echo_page->echo_chart,
                         [] { return parameter_state().parameter_file_name; });
    refresh_availability();
    qApp->installEventFilter(this);
    new MenuBarKeys(*menuBar());
    // The user leaves the boxes of a page: for another control, another page, a menu or a key of
    // the toolbar. A message over the window (a refused value) or another window is no leaving:
    // the user comes back to the same boxes.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (!now || now->window() != this)
            return;
        if (!is_text_entry(now) ||
            !(logging_tabs->isAncestorOf(now) || cso_tabs->isAncestorOf(now)))
            end_typing_hold();
    });
    for (QTabWidget* tabs : findChildren<QTabWidget*>()) {
        const bool whole_pages = tabs == logging_tabs || tabs == cso_tabs;
        connect(tabs, &QTabWidget::currentChanged, this,
                [this, whole_pages] { end_typing_hold(whole_pages); });
        if (tabs != logging_tabs && tabs != cso_tabs)
            fit_to_current_page(*tabs);
    }
    connect(menuBar(), &QMenuBar::triggered, this, [this] { end_typing_hold(true); });
}

MainWindow::~MainWindow() {
    if (&link_view() == static_cast<LinkView*>(this))
        set_link_view(nullptr);
}

QMenu* MainWindow::add_menu(QMenu* parent, const char* name, const char* caption) {
    QMenu* m = parent ? parent->addMenu(QString::fromUtf8(caption))
                      : menuBar()->addMenu(QString::fromUtf8(caption));
    m->setObjectName(QLatin1String(name));
    menus_[QLatin1String(name)] = m;
    entries_[QLatin1String(name)] = m->menuAction();
    return m;
}

QAction* MainWindow::add_entry(QMenu* parent, const char* name, const char* caption,
                               void (MainWindow::*handler)()) {
    QAction* a = parent ? parent->addAction(QString::fromUtf8(caption))
                        : menuBar()->addAction(QString::fromUtf8(caption));
    a->setObjectName(QLatin1String(name));
    entries_[QLatin1String(name)] = a;
    const QString what = a->text().remove(QLatin1Char('&'));
    connect(a, &QAction::triggered, this,
            [this, handler, what] { run_handler(what, [&] { (this->*handler)(); }); });
    return a;
}

QAction* MainWindow::add_entry(QMenu* parent, const char* name, const char* caption,
                               std::function<void()>* service) {
    QAction* a = parent ? parent->addAction(QString::fromUtf8(caption))
                        : menuBar()->addAction(QString::fromUtf8(caption));
    a->setObjectName(QLatin1String(name));
    entries_[QLatin1String(name)] = a;
    const QString what = a->text().remove(QLatin1Char('&'));
    connect(a, &QAction::triggered, this, [service, what] {
        if (*service)
            run_handler(what, *service);
    });
    return a;
}

void MainWindow::build_menus() {
    QMenu* file = add_menu(nullptr, "file", "&File");
    add_entry(file, "openlogfile", "Open &Log File", &MainWindow::openlogfile_Click);
    // The chart control's own .tee files are a format of a control we do not have: no import.
    add_entry(file, "mnuImport", "&Import .Tee file", &services.import_tee_file)->setVisible(false);
    add_entry(file, "openparameterfile", "Open &Parameter File",
              &MainWindow::openparameterfile_Click);
    add_entry(file, "saveparameterstofile", "&Save Parameters to File",
              &services.save_parameters_file);
    QAction* space3 = file->addSeparator();
    space3->setObjectName(QStringLiteral("space3"));
    entries_[QStringLiteral("space3")] = space3;
    add_entry(file, "openechofile", "Open &Echo File", &MainWindow::openechofile_Click);
    QMenu* print = add_menu(file, "printmenu", "&Print");
    add_entry(print, "printecho", "Print &Echo", &services.print_echo);
    QAction* space2 = print->addSeparator();
    space2->setObjectName(QStringLiteral("space2"));
    entries_[QStringLiteral("space2")] = space2;
    add_entry(print, "printparameters", "Print &Parameters", &services.print_parameters);
    add_entry(print, "printchangedparameters", "Print &Changed Parameters",
              &services.print_changed_parameters);
    QAction* space1 = file->addSeparator();
    space1->setObjectName(QStringLiteral("space1"));
    entries_[QStringLiteral("space1")] = space1;
    add_entry(file, "exit", "E&xit", &MainWindow::exit_Click);

    QMenu* mode = add_menu(nullptr, "mode", "&Operation");
    add_entry(mode, "csomenu", "&CSO Setup", &MainWindow::csomenu_Click)->setCheckable(true);
    add_entry(mode, "loggingmenu", "&Logging Setup", &MainWindow::loggingmenu_Click)
        ->setCheckable(true);
    // Only the CSO logger's identity switches between the two modes.
    mode->menuAction()->setVisible(false);

    add_entry(nullptr, "setup", "&Setup", &MainWindow::setup_Click);
    QMenu* reprogram = add_menu(nullptr, "reprogram", "&Reprogram");
    add_entry(reprogram, "ProgramVelto", "Program &Velto unit", &services.program_velto);
    add_entry(reprogram, "ProgramComm", "Program &Comm card", &services.program_comm);
    add_entry(reprogram, "bootload", "&Boot Load", &services.bootload);
    add_entry(reprogram, "veltoprogram", "&Firmware Tool", &services.veltoprogram);
    add_entry(nullptr, "modem", "&Modem", &MainWindow::modem_Click);
    add_entry(nullptr, "calculator", "&Calculator", &MainWindow::calculator_Click);
    QMenu* help = add_menu(nullptr, "help", "&Help");
    add_entry(help, "mnuDebug", "&Debug Terminal", &MainWindow::mnuDebug_Click);
    add_entry(help, "about", "&About", &MainWindow::about_Click);
}

QAction* MainWindow::add_key(const char* key, const char* icon, const char* tip) {
    QAction* a = Toolbar1->addAction(
        QIcon(QStringLiteral(":/toolbar/%1.svg").arg(QLatin1String(icon))), QString::fromUtf8(tip));
    a->setObjectName(QStringLiteral("Toolbar1_%1").arg(QLatin1String(key)));
    a->setData(QLatin1String(key));
    a->setToolTip(QString::fromUtf8(tip));
    keys_[QLatin1String(key)] = a;
    const QString k = QLatin1String(key);
    connect(a, &QAction::triggered, this,
            [this, k] { run_handler(keys_[k]->toolTip(), [&] { dispatch_toolbar_button(k); }); });
    return a;
}

void MainWindow::build_toolbar() {
    Toolbar1 = addToolBar(QStringLiteral("Toolbar1"));
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1->setMovable(false);
    Toolbar1->setIconSize(QSize(24, 24));
    using namespace toolbar_key;
    add_key(DOWNLOAD, "download", "Read all parameters from the unit")->setCheckable(true);
    add_key(UPLOAD, "upload", "Send the changed parameters to the unit")->setCheckable(true);
    add_key(SINGLEDOWNLOAD, "singledownload", "Read or write one parameter")->setCheckable(true);
    add_key(OPEN_FILE, "file", "Open a parameter file")->setCheckable(true);
    add_key(REFRESH, "refresh", "Show the changed or all parameters");
    Toolbar1->addSeparator();
    add_key(RECORD, "record", "Record or play back echo traces")->setCheckable(true);
    add_key(CLIPBOARD, "clipboard", "Copy the echo chart to the clipboard")->setCheckable(true);
    Toolbar1->addSeparator();
    add_key(TEMPERATURE_DISPLAY, "temperature", "Show the temperature")->setCheckable(true);
    add_key(LEVEL_DISPLAY, "level", "Show the level")->setCheckable(true);
    add_key(STATUS_DISPLAY, "status", "Show the unit status")->setCheckable(true);
    Toolbar1->addSeparator();
    add_key(MODEM, "modem", "Modem dial-up");
    add_key(MINIMIZED, "minimize", "Minimise the window");
    // The spacer keeps the exit key at the right-hand end, however wide the window.
    auto* spacer = new QWidget(Toolbar1);
    spacer->setObjectName(QStringLiteral("Toolbar1_spacer"));
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    toolbar_spacer_ = Toolbar1->addWidget(spacer);
    add_key(EXIT, "exit", "Exit the program");
}

void MainWindow::build_frame() {
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("central"));
    setCentralWidget(central);

    logging_tabs = new QTabWidget(central);
    logging_tabs->setObjectName(element("SSTab1", 0));
    log_setup_page = new LogSetupPage(logging_tabs);
    logging_tabs->addTab(scrolled(log_setup_page, logging_tabs), QStringLiteral("Log Setup"));
    // The unit's log read-outs are part of the set-up page; the second tab has no page of its
    // own and is not offered.
    auto* log_info = new QWidget(logging_tabs);
    log_info->setObjectName(QStringLiteral("LogInfoPage"));
    logging_tabs->addTab(log_info, QStringLiteral("Log Info"));
    logging_tabs->setTabVisible(1, false);
    log_chart_page = new LogChartPage(logging_tabs);
    logging_tabs->addTab(log_chart_page, QStringLiteral("Charts"));
    log_chart_page->installEventFilter(this);

    cso_tabs = new QTabWidget(central);
    cso_tabs->setObjectName(element("SSTab1", 1));
    echo_page = new EchoPage(cso_tabs);
    cso_tabs->addTab(echo_page, QStringLiteral("Echo"));
    parameter_page = new ParameterPage(cso_tabs);
    cso_tabs->addTab(scrolled(parameter_page, cso_tabs), QStringLiteral("Parameters"));
    vessel_page = new VesselPage(cso_tabs);
    cso_tabs->addTab(vessel_page, QStringLiteral("Volume"));
    flow_page = new FlowPage(cso_tabs);
    cso_tabs->addTab(flow_page, QStringLiteral("Flow"));
    parameter_tabs = parameter_page->parameter_tabs;
    // Echo off until the live choice is made; enable_controls reads it.
    echo_page->offline_option->setChecked(true);
    echo_page->offline_chosen = [this] { enable_controls(); };

    for (int i = 1; i <= 5; ++i) {
        ProgressBar[static_cast<size_t>(i)] = new QProgressBar(central);
        ProgressBar[static_cast<size_t>(i)]->setObjectName(QStringLiteral("ProgressBar%1").arg(i));
        ProgressBar[static_cast<size_t>(i)]->setTextVisible(false);
        ProgressBar[static_cast<size_t>(i)]->setMaximumHeight(PROGRESS_BAR_HEIGHT);
    }
    Term = new TrafficBox(central);
    Term->setObjectName(QStringLiteral("Term"));
    Term->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    Term->setMinimumHeight(2 * Term->fontMetrics().lineSpacing() + 12);
    Term->bind(&traffic().term());

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(ProgressBar[1], 1);
    bottom->addWidget(ProgressBar[4], 1);
    ProgressBar[4]->hide();
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(3, 0, 3, 2);
    layout->setSpacing(3);
    // The traffic box sits under the pages in a splitter: the user gives it room when watching
    // the traffic and takes it back for the pages on a small screen.
    auto* pages = new QWidget(central);
    auto* pages_layout = new QVBoxLayout(pages);
    pages_layout->setContentsMargins(0, 0, 0, 0);
    pages_layout->addWidget(logging_tabs, 1);
    pages_layout->addWidget(cso_tabs, 1);
    auto* splitter = new QSplitter(Qt::Vertical, central);
    splitter->setObjectName(QStringLiteral("TermSplitter"));
    splitter->addWidget(pages);
    splitter->addWidget(Term);
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 0);
    splitter->setCollapsible(0, false);
    splitter->setSizes({1000, 4 * Term->fontMetrics().lineSpacing() + 12});
    layout->addWidget(splitter, 1);
    layout->addLayout(bottom);

    // Controls laid over the pages, placed by the layout rules.
    busy_frame = new QFrame(central);
    busy_frame->setObjectName(QStringLiteral("Frame25"));
    busy_frame->setFrameShape(QFrame::Box);
    busy_frame->setAutoFillBackground(true);
    busy_frame->resize(BUSY_FRAME_WIDTH, BUSY_FRAME_HEIGHT);
    busy_animation = new BusyAnimation(busy_frame);
    busy_animation->setObjectName(QStringLiteral("Animation1"));
    busy_animation->setGeometry(10, 8, BUSY_FRAME_WIDTH - 20, BUSY_ANIMATION_HEIGHT);
    Label11 = new QLabel(busy_frame);
    Label11->setObjectName(QStringLiteral("Label11"));
    Label11->setTextFormat(Qt::PlainText); // the download's texts: never taken for markup
    Label11->setAlignment(Qt::AlignCenter);
    Label11->setWordWrap(true);
    Label11->setGeometry(6, BUSY_ANIMATION_HEIGHT + 12, BUSY_FRAME_WIDTH - 12,
                         BUSY_FRAME_HEIGHT - BUSY_ANIMATION_HEIGHT - 16);
    busy_frame->hide();

    progress_text = new QLabel(central);
    progress_text->setObjectName(QStringLiteral("Text68"));
    // A transfer's texts name what the unit or a file held: shown as they stand.
    progress_text->setTextFormat(Qt::PlainText);
    progress_text->setAlignment(Qt::AlignCenter);
    progress_text->setWordWrap(true);
    progress_text->setFrameShape(QFrame::Box);
    progress_text->setAutoFillBackground(true);
    progress_text->resize(PROGRESS_TEXT_WIDTH, PROGRESS_TEXT_HEIGHT);
    progress_text->hide();
    ProgressBar[3]->resize(PROGRESS_TEXT_WIDTH, PROGRESS_BAR_HEIGHT);
    ProgressBar[3]->hide();
    cancel_button = new QPushButton(QStringLiteral("Cancel"), central);
    cancel_button->setObjectName(QStringLiteral("Command12"));
    cancel_button->adjustSize();
    cancel_button->hide();
    connect(cancel_button, &QPushButton::clicked, this,
            [this] { run_handler(QStringLiteral("Cancel"), [&] { Command12_Click(); }); });
    connect(log_chart_page->report_button, &QPushButton::clicked, this,
            [this] { run_handler(QStringLiteral("Report"), [&] { Command13_Click(); }); });

    parameter_grid = new QTableWidget(1, 4, central);
    parameter_grid->setObjectName(element("MSFlexGrid1", 0));
    parameter_grid->verticalHeader()->hide();
    parameter_grid->horizontalHeader()->hide();
    parameter_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    parameter_grid->hide();

    Frame4 = new QFrame(central);
    Frame4->setObjectName(element("Frame4", 0));
    Frame4->setFrameShape(QFrame::StyledPanel);
    Frame4->setAutoFillBackground(true);
    Toolbar2 = new QToolBar(Frame4);
    Toolbar2->setObjectName(QStringLiteral("Toolbar2"));
    Toolbar2->setIconSize(QSize(16, 16)); // a slim strip: it takes its height from the pages
    auto* recorder = new QHBoxLayout(Frame4);
    recorder->setContentsMargins(2, 2, 2, 2);
    recorder->addWidget(Toolbar2);
    ProgressBar[2]->setParent(Frame4);
    recorder->addWidget(ProgressBar[2], 1);
    recorder->addSpacing(12);
    recorder->addWidget(echo_page->playback_interval_label);
    recorder->addWidget(echo_page->playback_interval_box);
    recorder->addWidget(echo_page->playback_interval_arrows);
    // The strip sits under the toolbar and moves the pages down while it is open, so that the
    // page tabs stay in sight and within reach.
    layout->insertWidget(0, Frame4);
    Frame4->hide();
    ProgressBar[5]->hide();

    StatusBar1 = statusBar();
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    for (int i = 1; i <= 2; ++i) {
        // The bar keeps its height when the first status text comes: the pages above stay put.
        auto* panel = new ReadOutLabel(StatusBar1);
        panel->setObjectName(QStringLiteral("StatusBar1_panel%1").arg(i));
        panel->setMinimumWidth(i == 1 ? STATUS_PANEL_1_WIDTH : STATUS_PANEL_2_WIDTH);
        status_panels[static_cast<size_t>(i)] = panel;
        StatusBar1->addWidget(panel, i == 1 ? 1 : 0);
    }

    auto timer = [this](const char* name, int ms) {
        auto* t = new QTimer(this);
        t->setObjectName(QLatin1String(name));
        t->setInterval(ms);
        return t;
    };
    Timer1 = timer("Timer1", 1000);
    Timer2 = timer("Timer2", 100);
    Timer3 = timer("Timer3", 100);
    Timer4 = timer("Timer4", 1000);
}

// ---- Start-up ----

void MainWindow::main_window_load() {
    ShellState& s = shell();
    move(0, 0);
    resize(DESIGN_WIDTH, DESIGN_HEIGHT);
    KeyPreview = true;
    set_link_view(this);
    load_settings(this);
    if (!start_arguments().isEmpty())
        apply_map_port_arguments(start_arguments());
    init_globals();
    apply_software_mode_menus();
    init_main_window();
    clear_definitions_table(DEFINITIONS_UPPER);
    read_access_vars_def();
    load_language_file();
    apply_label_texts(*this, true);
    if (platform::command_line().toUpper().contains(QLatin1String("SIM")))
        log_setup_page->simulate_log_button->setVisible(true);
    if (s.software_mode != 0 && services.apply_saved_view_settings)
        services.apply_saved_view_settings();
    mark_noscale_controls();
    const int kept_command4_top = log_chart_page->legend_button->y();

    if (const std::optional<ScreenArea> area = screen_area(*this)) {
        const QRect work = area->work;
        const QRect whole = area->whole;
        const ScreenFactors f = screen_factors(work.width(), work.height(), whole.width(),
                                               whole.height(), width(), height());
        s.screen_factor_x = f.x;
        s.screen_factor_y = f.y;
    }
    scale_form(*this, {s.screen_factor_x, s.screen_factor_y}, platform::command_line());
    log_chart_page->legend_button->move(log_chart_page->legend_button->x(), kept_command4_top);
    arrange_main_window();
    store_image_geometry();
    if (services.getchartbackground)
        services.getchartbackground();
    load_language_file();
    set_main_window_texts();
    apply_operation_mode();
    // The rest of the load waits for the window to be on the screen; until then the menus
    // already follow the rules, so nothing is offered early that the load would take away.
    enable_controls();
    loaded_ = true;
    start_up_pending_ = true;
}

void MainWindow::complete_start_up() {
    if (!start_up_pending_)
        return;
    start_up_pending_ = false;
    enable_controls();
    if (shell().software_mode == 0)
        log_setup_page->select_model_option(2);
    log_setup_page->channel_boxes[TIME_STAMP_CHANNEL]->setChecked(true);
    log_setup().legend_window_shown = false;
    // "Get Unit Info" asks the unit at once. It comes last, so that the default model chosen
    // above never overwrites the model and channels the unit has just reported.
    if (shell().operation_mode == 0 &&
        log_setup_page->action_button(LogSetupAction::GetUnitInfo)->isEnabled())
        run_handler(log_setup_page->get_unit_info_button->text().remove(QLatin1Char('&')),
                    [&] { log_setup_page->get_unit_info(); });
}

void MainWindow::init_globals() {
    shell().crlf = QStringLiteral("\r\n");
    init_log_channel_bytes();
    init_log_channel_decimals();
    auto& caps = log_setup().capabilities;
    caps.ma_input_available = caps.second_point_option = caps.second_output_option = false;
    parameter_state().parameter_file_name.clear();
    LogSetupState& log = log_setup();
    log.chart_log_file.clear();
    log.duration_multiplier = getDurationMult(0);
    log.setup_start_level_offset = 0;
    log.setup_start_distance_unit = log.chart_units.distance_unit_index;
}

void MainWindow::apply_software_mode_menus() {
    const ShellState& s = shell();
    const SoftwareModeMenus m = software_mode_menus(s.software_mode, s.access_level);
    if (!m.icon.isEmpty())
        setWindowIcon(QIcon(platform::join_path(platform::program_folder(), m.icon)));
    const std::pair<const char*, const std::optional<bool>*> shown[] = {
        {"calculator", &m.calculator},     {"ProgramComm", &m.ProgramComm},
        {"ProgramVelto", &m.ProgramVelto}, {"bootload", &m.bootload},
        {"veltoprogram", &m.veltoprogram}, {"modem", &m.modem},
        {"mnuDebug", &m.mnuDebug}};
    for (const auto& [name, visible] : shown)
        if (visible->has_value())
            menu_entry(QLatin1String(name))->setVisible(**visible);
}

void MainWindow::init_main_window() {
    ProgressBar[1]->setMaximum(200);
    for (QLabel* l : log_setup_page->unit_clock_labels)
        l->clear();
    log_setup_page->channel_boxes[28]->setEnabled(true);
    if (shell().software_mode == 2)
        setup_cso_screen();
    setWindowTitle(main_window_caption(QDateTime::currentDateTime()));

    int grid_width = 0;
    for (int c = 0; c < 4; ++c) {
        const int w = twips_to_pixels(GRID_COLUMN_TWIPS[static_cast<size_t>(c)]);
        parameter_grid->setColumnWidth(c, w);
        grid_width += w;
    }
    parameter_grid->setRowCount(1);
    parameter_grid->resize(grid_width + parameter_grid->frameWidth() * 2, parameter_grid->height());
    Frame4->hide();
    log_setup().legend_window_shown = false;
    log_setup_page->setup_boxes[2]->setText(
        platform::number_text(log_setup().log_interval).trimmed());
}

void MainWindow::setup_cso_screen() {
    menu(QStringLiteral("mode"))->menuAction()->setVisible(true);
    log_setup_page->select_model_option(14);
    // A CSO logger has neither the second point nor the inputs, relays and combined channels.
    log_setup_page->withdraw_for_cso_screen(
        {16, 18, 19, 20, 28, 32, 33, 34, 35, 36, 37, 38, 39, 40, 41, 42, 43, 44},
        {1, 4, 5, 9, 10, 12, 14, 15, 16, 17, 18});
    pack_cso_screen(*log_setup_page);
}

void MainWindow::mark_noscale_controls() {
    for (QWidget* w : std::initializer_list<QWidget*>{
             log_chart_page->report_button, Frame4, ProgressBar[2],
             echo_page->playback_interval_box, echo_page->playback_interval_arrows,
             echo_page->playback_interval_label, progress_text, ProgressBar[3], cancel_button,
             echo_page->status_box, ProgressBar[4], busy_frame, busy_animation, Label11})
        set_noscale(w);
}

void MainWindow::arrange_main_window() {
    resize(width(), height() - 1); // 10 twips less than the work area
    place_overlays();
    place_chart_column();
}

void MainWindow::place_overlays() {
    QWidget* central = centralWidget();
    MainWindowLayout l;
    auto g = [](const QRect& r) {
        return Geometry{pixels_to_twips(r.x()), pixels_to_twips(r.y()), pixels_to_twips(r.width()),
                        pixels_to_twips(r.height())};
    };
    l.window = g(central->rect());
    l.toolbar = Geometry{0, 0, pixels_to_twips(central->width()), 0};
    l.term = g(Term->geometry());
    size_busy_frame();
    l.busy_frame = g(busy_frame->geometry());
    l.animation = g(busy_animation->geometry());
    l.progress_text = g(progress_text->geometry());
    l.progress_bar = g(ProgressBar[3]->geometry());
    l.cancel_button = g(cancel_button->geometry());
    l.cso_tabs = g(cso_tabs->geometry());
    l.grid = g(parameter_grid->geometry());
    l.grid.width = 0;
    for (int c : GRID_COLUMN_TWIPS)
        l.grid.width += c;
    // Columns widened for their headings' language widen the grid (its minimum width).
    if (parameter_grid->minimumWidth() > 0)
        l.grid.width = std::max(l.grid.width, pixels_to_twips(parameter_grid->minimumWidth()) -
                                                  GRID_ALLOWANCE_TWIPS);
    const MainWindowLayout a = arrange_overlays(l);
    auto put = [](QWidget* w, const Geometry& r) {
        w->setGeometry(twips_to_pixels(r.left), twips_to_pixels(r.top), twips_to_pixels(r.width),
                       twips_to_pixels(r.height));
    };
    put(busy_frame, a.busy_frame);
    put(busy_animation, a.animation);
    put(progress_text, a.progress_text);
    put(ProgressBar[3], a.progress_bar);
    put(cancel_button, a.cancel_button);
    put(parameter_grid, a.grid);
    for (QWidget* w : std::initializer_list<QWidget*>{progress_text, ProgressBar[3], cancel_button,
                                                      busy_frame, parameter_grid})
        w->raise();
}

// The busy frame keeps its design size on a small screen, but its text takes the window's scaled
// font, so the frame grows to hold two lines of it under the animation.
void MainWindow::size_busy_frame() {
    QFont text_font = centralWidget()->font();
    text_font.setBold(true);
    Label11->setFont(text_font);
    const QFontMetrics fm(text_font);
    const int width = std::max(BUSY_FRAME_WIDTH, fm.averageCharWidth() * 34);
    const int text_height = 2 * fm.lineSpacing() + 4;
    const int height = 8 + BUSY_ANIMATION_HEIGHT + 4 + text_height + 8;
    busy_frame->resize(width, height);
    busy_animation->setGeometry(10, 8, width - 20, BUSY_ANIMATION_HEIGHT);
    Label11->setGeometry(6, 8 + BUSY_ANIMATION_HEIGHT + 4, width - 12, text_height);
}

void MainWindow::place_chart_column() {
    LogChartPage* p = log_chart_page;
    MainWindowLayout l;
    l.logging_tabs = Geometry{0, 0, pixels_to_twips(p->width()), pixels_to_twips(p->height())};
    auto g = [](const QWidget* w) {
        return Geometry{pixels_to_twips(w->x()), pixels_to_twips(w->y()),
                        pixels_to_twips(w->width()), pixels_to_twips(w->height())};
    };
    l.square_button = g(p->legend_button);
    l.report_button = g(p->report_button);
    l.command_bar = g(p->TeeCommander1);
    l.log_chart = g(p->log_chart);
    l.log_chart.top = l.square_button.top;
    l.log_chart.height = l.logging_tabs.height - l.log_chart.top - 140;
    const MainWindowLayout a = arrange_chart_column(l);
    auto put = [](QWidget* w, const Geometry& r) {
        w->setGeometry(twips_to_pixels(r.left), twips_to_pixels(r.top), twips_to_pixels(r.width),
                       twips_to_pixels(r.height));
    };
    put(p->legend_button, a.square_button);
    put(p->report_button, a.report_button);
    put(p->TeeCommander1, a.command_bar);
    put(p->log_chart, a.log_chart);
}

void MainWindow::store_image_geometry() {
    MainWindowState& m = main_window_state();
    const QLabel* image2 = vessel_page->vessel_picture;
    const QLabel* image3 = flow_page->flow_picture;
    m.volume_image_geometry = {to_twips16(image2->x()), to_twips16(image2->y()),
                               to_twips16(image2->width()),
                               to_twips16(vessel_page->picture_frame->height())};
    m.flow_image_geometry = {to_twips16(image3->x()), to_twips16(image3->y()),
                             to_twips16(image3->width()),
                             to_twips16(flow_page->picture_frame->height())};
}

void MainWindow::apply_operation_mode() {
    if (shell().operation_mode != 0) {
        if (services.get_param_tooltip) {
            parameter_state().parameters_loaded = true;
            const auto restore = qScopeGuard([&] { parameter_state().parameters_loaded = false; });
            if (QObject* box = find_control(*this, QStringLiteral("scrpar"), 104))
                if (auto* w = qobject_cast<QWidget*>(box))
                    w->setToolTip(services.get_param_tooltip(104));
        }
        cso_tabs->setCurrentIndex(0);
        cso_tabs->setTabEnabled(1, false);
        for (auto* show : {&services.show_status, &services.show_level, &services.show_temperature})
            if (*show)
                (*show)();
    } else {
        logging_tabs->setCurrentIndex(0);
        logging_tabs->setTabEnabled(2, false);
    }
}

// ---- Texts ----

void MainWindow::set_main_window_texts() {
    ShellState& s = shell();
    setWindowTitle(main_window_caption(QDateTime::currentDateTime()));
    log_setup_page->set_page_texts();
    log_chart_page->set_page_texts();
    apply_caption_map(*this, QStringLiteral("Form1"), s.software_mode);
    give_menu_bar_mnemonics(*menuBar());
    for (const auto& [key, button] : keys_) {
        const QString tip = toolbar_tooltip(key, s.language_index);
        button->setText(tip);
        button->setToolTip(tip);
    }

    // Charts: a series' title and the axis titles carry the texts.
    echo_page->set_page_texts();
    QCustomPlot* t3 = echo_page->volume_flow_chart;
    t3->graph(0)->setName(ui_text(1407, QStringLiteral("Volume")));
    t3->graph(2)->setName(ui_text(1408, QStringLiteral("Flow")));
    t3->yAxis->setLabel(ui_text(1055, QStringLiteral("Volume")));
    t3->yAxis2->setLabel(ui_text(1057, QStringLiteral("Flow")));
    t3->xAxis->setLabel(ui_text(1172, QStringLiteral("Level")));
    log_chart_page->log_chart->setProperty(
        "page_counter_format", ui_text(1093, QStringLiteral("Page")) + QStringLiteral(" %d ") +
                                   ui_text(1094, QStringLiteral("of")) + QStringLiteral(" %d  "));
    echo_page->kovex_readout->setText(s.language_index == 3
                                          ? QStringLiteral("Tx - KOVEX=999,Perdita=50")
                                          : QStringLiteral("Xducer - KOVEX=999,Loss=50"));
    const int status_texts[8] = {1170, 1171, 1172, 1173, 1174, 1175, 1176, 1177};
    for (int i = 0; i < 8; ++i)
        s.status_label_texts[static_cast<size_t>(i)] =
            QLatin1Char(' ') + ui_text(status_texts[i]) + QStringLiteral(" = ");

    // The companion windows that exist take their texts too; the others take them on load.
    const std::pair<const char*, std::function<QWidget*()>*> companions[] = {
        {"form5", &services.parameter_window},
        {"Form3", &services.setup_dialog},
        {"frmPrintHeader", &services.print_header}};
    for (const auto& [name, window] : companions)
        if (*window)
            if (QWidget* w = (*window)())
                apply_caption_map(*w, QLatin1String(name), s.software_mode);
    if (services.print_header)
        if (QWidget* header = services.print_header())
            header->close();
    if (services.refresh_parameter_texts)
        services.refresh_parameter_texts();
    // Texts of another language need another amount of room.
    if (isVisible())
        fit_timer_->start(0);
}

// ---- Enabling ----

bool MainWindow::entry_available(const QString& name) const {
    const MainWindowServices& s = services;
    static const QSet<QString> always = {QStringLiteral("file"),        QStringLiteral("exit"),
                                         QStringLiteral("mode"),        QStringLiteral("csomenu"),
                                         QStringLiteral("loggingmenu"), QStringLiteral("help"),
                                         QStringLiteral("about"),       QStringLiteral("space1"),
                                         QStringLiteral("space2"),      QStringLiteral("space3")};
    if (always.contains(name))
        return true;
    const std::map<QString, bool> work = {
        {QStringLiteral("openlogfile"), static_cast<bool>(s.open_log_file)},
        {QStringLiteral("mnuImport"), static_cast<bool>(s.import_tee_file)},
        {QStringLiteral("openparameterfile"), static_cast<bool>(s.get_parameters_file)},
        {QStringLiteral("saveparameterstofile"), static_cast<bool>(s.save_parameters_file)},
        {QStringLiteral("openechofile"), s.playbutton_pressed && s.play_button},
        {QStringLiteral("printecho"), static_cast<bool>(s.print_echo)},
        {QStringLiteral("printparameters"), static_cast<bool>(s.print_parameters)},
        {QStringLiteral("printchangedparameters"), static_cast<bool>(s.print_changed_parameters)},
        {QStringLiteral("printmenu"),
         s.print_echo || s.print_parameters || s.print_changed_parameters},
        {QStringLiteral("setup"), static_cast<bool>(s.show_setup_dialog)},
        {QStringLiteral("ProgramVelto"), static_cast<bool>(s.program_velto)},
        {QStringLiteral("ProgramComm"), static_cast<bool>(s.program_comm)},
        {QStringLiteral("bootload"), static_cast<bool>(s.bootload)},
        {QStringLiteral("veltoprogram"), static_cast<bool>(s.veltoprogram)},
        {QStringLiteral("reprogram"),
         s.program_velto || s.program_comm || s.bootload || s.veltoprogram},
        {QStringLiteral("modem"), static_cast<bool>(s.show_modem_window)},
        {QStringLiteral("calculator"), static_cast<bool>(s.show_calculator)},
        {QStringLiteral("mnuDebug"), static_cast<bool>(s.show_debug_window)},
    };
    const auto it = work.find(name);
    return it != work.end() && it->second;
}

bool MainWindow::key_available(const QString& key) const {
    const MainWindowServices& s = services;
    using namespace toolbar_key;
    if (key == QLatin1String(MINIMIZED) || key == QLatin1String(EXIT) ||
        key == QLatin1String(CLIPBOARD))
        return true;
    if (key == QLatin1String(MODEM))
        return static_cast<bool>(s.show_modem_window);
    if (key == QLatin1String(DOWNLOAD))
        return static_cast<bool>(s.download_parameters);
    if (key == QLatin1String(UPLOAD))
        return static_cast<bool>(s.upload_parameters);
    if (key == QLatin1String(STATUS_DISPLAY) || key == QLatin1String(LEVEL_DISPLAY) ||
        key == QLatin1String(TEMPERATURE_DISPLAY))
        return static_cast<bool>(s.indicator_click);
    if (key == QLatin1String(SINGLEDOWNLOAD))
        return static_cast<bool>(s.show_interactive_window);
    if (key == QLatin1String(REFRESH))
        return s.list_changed_parameters && s.list_all_parameters;
    if (key == QLatin1String(OPEN_FILE))
        return static_cast<bool>(s.get_parameters_file);
    if (key == QLatin1String(RECORD))
        return static_cast<bool>(s.playbutton_pressed);
    return false;
}

void MainWindow::set_rule_enabled(const QString& name, bool enabled) {
    entry_rules_[name] = enabled;
    if (QAction* a = menu_entry(name))
        a->setEnabled(enabled && entry_available(name));
}

void MainWindow::set_key_rule_enabled(const QString& key, bool enabled) {
    key_rules_[key] = enabled;
    if (QAction* a = toolbar_button(key))
        a->setEnabled(enabled && key_available(key));
}

void MainWindow::refresh_availability() {
    for (const auto& [name, action] : entries_) {
        const auto rule = entry_rules_.find(name);
        action->setEnabled((rule == entry_rules_.end() || rule->second) && entry_available(name));
    }
    for (const auto& [key, action] : keys_) {
        const auto rule = key_rules_.find(key);
        action->setEnabled((rule == key_rules_.end() || rule->second) && key_available(key));
    }
}

void MainWindow::enable_controls() {
    const ShellState& s = shell();
    const LinkState& unit = link();
    EnableInputs in;
    in.echo_off = echo_page->offline_option->isChecked();
    in.parameters_loaded = parameter_state().parameters_loaded;
    in.volume_mode = unit.volume_mode;
    in.flow_mode = unit.flow_mode;
    in.access_level = s.access_level;
    in.software_mode = s.software_mode;
    in.system_type = parameter_state().system_type;
    EnableResult r = enable_controls_rules(in);

    cso_tabs->setTabEnabled(1, r.cso_tab_parameters);
    cso_tabs->setTabEnabled(2, r.cso_tab_volume);
    cso_tabs->setTabEnabled(3, r.cso_tab_flow);
    // Selecting the offline choice runs its handler only when it was not selected already.
    if (r.force_echo_off && !echo_page->offline_option->isChecked())
        echo_page->offline_option->setChecked(true);
    in.echo_off = echo_page->offline_option->isChecked();
    r = enable_controls_rules(in);
    for (const auto& [name, enabled] : r.menus)
        set_rule_enabled(name, enabled);
    for (const auto& [key, enabled] : r.toolbar)
        set_key_rule_enabled(key, enabled);
    parameter_tabs->setTabEnabled(8, r.parameter_tab_access);
    set_relay_parameters_present(r.relay_parameters_present);
    parameter_tabs->setTabEnabled(1, r.parameter_tab_relays);
}

void MainWindow::enable_othermenus() {
    const int16_t mode = shell().operation_mode;
    const OtherMenusResult r = enable_othermenus_rules(mode);
    auto visible = [this](const char* name, bool v) {
        menu_entry(QLatin1String(name))->setVisible(v);
    };
    menu_entry(QStringLiteral("csomenu"))->setChecked(r.csomenu_checked);
    visible("openlogfile", r.openlogfile_visible);
    menu_entry(QStringLiteral("loggingmenu"))->setChecked(r.loggingmenu_checked);
    for (const char* name :
         {"openechofile", "openparameterfile", "saveparameterstofile", "printmenu"})
        visible(name, r.cso_file_entries_visible);
    logging_tabs->setVisible(r.logging_tabs_visible);
    cso_tabs->setVisible(r.cso_tabs_visible);
    Toolbar1->setVisible(r.toolbar_visible);
    if (mode != 0) {
        link().quiet_commands = true;
        cso_tabs->setCurrentIndex(0);
        for (auto* show : {&services.show_status, &services.show_level, &services.show_temperature})
            if (*show)
                (*show)();
        visible("space3", true);
        if (services.legend_tuck_away)
            services.legend_tuck_away();
    } else {
        logging_tabs->setCurrentIndex(0);
        visible("space3", false);
        if (services.legend_unload)
            services.legend_unload();
        if (logging_tabs->currentIndex() != 2 && services.legend_tuck_away)
            services.legend_tuck_away();
    }
}

// ---- Toolbar ----

void MainWindow::press_around(const QString& key, const std::function<void()>& work) {
    QAction* button = toolbar_button(key);
    if (running_keys_.contains(key)) {
        // Waits let events through; a second press must not start the work again.
        button->setChecked(true);
        return;
    }
    running_keys_.insert(key);
    button->setChecked(true);
    const auto release = qScopeGuard([&] {
        running_keys_.remove(key);
        if (QAction* b = toolbar_button(key))
            b->setChecked(false);
    });
    work();
}

void MainWindow::dispatch_toolbar_button(const QString& key) {
    using namespace toolbar_key;
    ShellState& s = shell();
    end_typing_hold(true);
    if (!key_available(key))
        return;
    if (key == QLatin1String(MODEM)) {
        modem_Click();
    } else if (key == QLatin1String(MINIMIZED)) {
        setWindowState(windowState() | Qt::WindowMinimized);
    } else if (key == QLatin1String(DOWNLOAD) || key == QLatin1String(UPLOAD)) {
        // The transfer's state is touched only once the key's guard let the press through: a
        // second press while it runs must leave the running transfer alone.
        auto& work = key == QLatin1String(DOWNLOAD) ? services.download_parameters
                                                    : services.upload_parameters;
        press_around(key, [&work] {
            parameter_state().saved_reply = link().reply_buffer;
            link().comms_abort = false;
            work();
        });
    } else if (key == QLatin1String(STATUS_DISPLAY)) {
        s.show_status_overlay = !s.show_status_overlay;
        services.indicator_click(0);
    } else if (key == QLatin1String(LEVEL_DISPLAY)) {
        s.show_level_overlay = !s.show_level_overlay;
        services.indicator_click(1);
    } else if (key == QLatin1String(TEMPERATURE_DISPLAY)) {
        s.show_temperature_overlay = !s.show_temperature_overlay;
        services.indicator_click(2);
    } else if (key == QLatin1String(SINGLEDOWNLOAD)) {
        press_around(key, services.show_interactive_window);
    } else if (key == QLatin1String(REFRESH)) {
        ParameterState& p = parameter_state();
        p.parameter_list_mode = next_parameter_list_mode(p.parameter_list_mode);
        switch (p.parameter_list_mode) {
        case 1:
            parameter_grid->show();
            services.list_changed_parameters(true, true);
            break;
        case 3:
            parameter_grid->show();
            services.list_all_parameters(true);
            break;
        default:
            parameter_grid->hide();
            break;
        }
    } else if (key == QLatin1String(OPEN_FILE)) {
        press_around(key, services.get_parameters_file);
    } else if (key == QLatin1String(CLIPBOARD)) {
        press_around(key, [this] {
            if (cso_tabs->currentIndex() != 0)
                cso_tabs->setCurrentIndex(0);
            QGuiApplication::clipboard()->setPixmap(echo_page->echo_chart->toPixmap());
            platform::msg_box(ui_text(1295, QStringLiteral("The echo chart is on the clipboard.")) +
                                  QChar(13) +
                                  ui_text(1296, QStringLiteral("Paste it where you need it.")),
                              platform::mb::Information);
        });
    } else if (key == QLatin1String(RECORD)) {
        press_around(key, [this] {
            main_window_state().echo_file_name.clear();
            services.playbutton_pressed();
        });
    } else if (key == QLatin1String(EXIT)) {
        if (link().modem_connected) {
            platform::msg_box(QStringLiteral("Please disconnect remote access"),
                              platform::mb::Critical);
            show();
            if (services.show_modem_window)
                services.show_modem_window();
            return;
        }
        // The unit is put back into its normal mode before the port closes.
        const std::function<void()> close_port = services.close_port;
        end_program();
        if (close_port)
            close_port();
    }
}

// ---- Keys ----

bool MainWindow::handle_shortcut_key(QChar typed) {
    const Shortcut action = shortcut_for_key(typed, shell().language_index);
    auto toggle = [](QCheckBox* box) {
        // A box whose work has not arrived is disabled; a key must not pretend to switch it.
        if (box->isEnabled())
            box->setChecked(toggled_check_value(box->isChecked() ? 1 : 0) == 1);
    };
    switch (action) {
    case Shortcut::None:
        return false;
    case Shortcut::EchoOn:
        if (echo_page->live_option->isEnabled())
            echo_page->live_option->setChecked(true);
        return true;
    case Shortcut::EchoOff:
        echo_page->offline_option->setChecked(true);
        return true;
    case Shortcut::Exit:
        exit_Click();
        return true;
    case Shortcut::ToggleRaw:
        toggle(echo_page->trace_boxes[0]);
        return true;
    case Shortcut::ToggleNormal:
        toggle(echo_page->trace_boxes[1]);
        return true;
    case Shortcut::ToggleAverage:
        toggle(echo_page->trace_boxes[2]);
        return true;
    case Shortcut::ToggleKovex:
        toggle(echo_page->trace_boxes[3]);
        return true;
    }
    return false;
}

// The parameter grid lies over the right-hand side of the pages: while it shows, the pages end at
// its left edge, so that nothing (a box, a tab of the set-up tabs, their scroll arrows) hides
// under it.
void MainWindow::keep_pages_clear_of_grid() {
    QTabWidget* pages = cso_tabs;
    if (!pages || !parameter_grid || typing_hold_.hold(*centralWidget()))
        return;
    for (int i = 0; i < pages->count(); ++i) {
        QWidget* page = pages->widget(i);
        if (auto* area = qobject_cast<QScrollArea*>(page))
            page = area->widget();
        if (!page)
            continue;
        int room = QWIDGETSIZE_MAX;
        if (parameter_grid->isVisible())
            room = std::max(0, parameter_grid->mapTo(this, QPoint(0, 0)).x() -
                                   page->mapTo(this, QPoint(0, 0)).x() - 2);
        if (page->maximumWidth() != room)
            page->setMaximumWidth(room);
    }
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if ((watched == parameter_grid && (type == QEvent::Show || type == QEvent::Hide ||
                                       type == QEvent::Move || type == QEvent::Resize)) ||
        (watched == cso_tabs && type == QEvent::Resize)) {
        keep_pages_clear_of_grid();
        return false;
    }
    if (event->type() == QEvent::Resize && watched == log_chart_page) {
        place_chart_column();
        return false;
    }
    // The other tab set comes into view with a change of mode: its pages are fitted then.
    if (event->type() == QEvent::Show && (watched == logging_tabs || watched == cso_tabs)) {
        fit_timer_->start(0);
        return false;
    }
    // A page that grew past its room (a parameter set's rows, the unit's read-outs) is fitted
    // again once the layout has taken the change in.
    if (event->type() == QEvent::LayoutRequest && isVisible() && !fit_timer_->isActive() &&
        is_fitted_content(*watched)) {
        for (QTabWidget* tabs : {logging_tabs, cso_tabs})
            if (tabs && tabs->isVisible() && tab_pages_need_fitting(*tabs) &&
                !typing_hold_.hold(*centralWidget()))
                fit_timer_->start(0);
        return false;
    }
    auto* w = qobject_cast<QWidget*>(watched);
    if (event->type() == QEvent::KeyPress && is_text_entry(w) &&
        (logging_tabs->isAncestorOf(w) || cso_tabs->isAncestorOf(w)))
        typing_hold_.start();
    if (event->type() != QEvent::KeyPress || !KeyPreview)
        return QMainWindow::eventFilter(watched, event);
    if (!w || w->window() != this)
        return QMainWindow::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    if (key->text().size() != 1 || !key->text().at(0).isLetter())
        return false;
    if (is_text_entry(QApplication::focusWidget()) || is_text_entry(w))
        return false;
    bool handled = false;
    run_handler(QStringLiteral("Key %1").arg(key->text().toUpper()),
                [&] { handled = handle_shortcut_key(key->text().at(0)); });
    return handled;
}

// ---- Menus and buttons ----

void MainWindow::about_Click() {
    shell().about_box_mode = true;
    services.run_modal(start_window());
}

void MainWindow::calculator_Click() {
    if (services.show_calculator)
        services.show_calculator();
}

void MainWindow::Command13_Click() {
    if (services.show_report)
        services.show_report();
}

void MainWindow::Command12_Click() {
    cancel_button->hide();
    progress_text->hide();
    ProgressBar[3]->hide();
    link().cancel_requested = true;
}

void MainWindow::loggingmenu_Click() {
    ShellState& s = shell();
    s.operation_mode = 0;
    write_ini(s.ini_path, ini::SECTION_GENERAL, ini::KEY_MODE_OPERATION, QStringLiteral("0"));
    parameter_grid->hide();
    parameter_state().parameter_list_mode = 0;
    enable_othermenus();
}

void MainWindow::csomenu_Click() {
    ShellState& s = shell();
    s.operation_mode = 1;
    write_ini(s.ini_path, ini::SECTION_GENERAL, ini::KEY_MODE_OPERATION, QStringLiteral("1"));
    enable_othermenus();
}

void MainWindow::mnuDebug_Click() {
    if (services.show_debug_window)
        services.show_debug_window();
}

void MainWindow::modem_Click() {
    if (services.show_modem_window)
        services.show_modem_window();
}

void MainWindow::openechofile_Click() {
    if (!services.playbutton_pressed || !services.play_button)
        return;
    main_window_state().echo_file_name.clear();
    services.playbutton_pressed();
    services.play_button();
}

void MainWindow::openlogfile_Click() {
    if (services.open_log_file)
        services.open_log_file();
}

void MainWindow::openparameterfile_Click() {
    if (services.get_parameters_file)
        services.get_parameters_file();
}

void MainWindow::setup_Click() {
    if (services.show_setup_dialog)
        services.show_setup_dialog();
}

void MainWindow::exit_Click() {
    end_program();
}

void MainWindow::end_program() {
    if (ending_)
        return;
    ending_ = true;
    if (services.legend_unload)
        services.legend_unload();
    // The window stays up while work under way stops and the unit is put back.
    if (services.end_program)
        services.end_program();
    close();
}

// ---- SettingsView ----

void MainWindow::set_printmenu_visible(bool visible) {
    menu_entry(QStringLiteral("printmenu"))->setVisible(visible);
}
void MainWindow::set_loggingmenu_checked(bool checked) {
    menu_entry(QStringLiteral("loggingmenu"))->setChecked(checked);
}
void MainWindow::set_csomenu_checked(bool checked) {
    menu_entry(QStringLiteral("csomenu"))->setChecked(checked);
}
void MainWindow::set_playback_text(const QString& text) {
    echo_page->playback_interval_box->setText(text);
}

// ---- LinkView ----

void MainWindow::set_status_text(int panel, const QString& text) {
    if (panel == 1 || panel == 2)
        status_panels[static_cast<size_t>(panel)]->setText(text);
}

QString MainWindow::status_text(int panel) const {
    return panel == 1 || panel == 2 ? status_panels[static_cast<size_t>(panel)]->text() : QString();
}

int MainWindow::progress_value(int bar) const {
    return bar >= 1 && bar <= 5 ? ProgressBar[static_cast<size_t>(bar)]->value() : 0;
}

int MainWindow::progress_max(int bar) const {
    return bar >= 1 && bar <= 5 ? ProgressBar[static_cast<size_t>(bar)]->maximum() : 0;
}

void MainWindow::set_progress_value(int bar, int value) {
    if (bar >= 1 && bar <= 5)
        ProgressBar[static_cast<size_t>(bar)]->setValue(value);
}

void MainWindow::set_download_label(const QString& text) {
    Label11->setText(text);
}

void MainWindow::set_live_timer_enabled(bool enabled) {
    if (enabled)
        Timer1->start();
    else
        Timer1->stop();
}

void MainWindow::select_offline_option() {
    echo_page->offline_option->setChecked(true);
}

void MainWindow::set_velto_lite_checked(bool checked) {
    log_setup_page->lite_unit_box->setChecked(checked);
}

void MainWindow::set_capability_options(bool volume_option, bool flow_option,
                                        bool flow_average_option) {
    ModelCapabilityFlags& f = log_setup().capabilities;
    f.volume_option = volume_option;
    f.flow_option = flow_option;
    f.flow_average_option = flow_average_option;
}

// The parameter screen's captions arrive with the parameter screen.
void MainWindow::set_param_screen_captions() {}

// ---- Lookup ----

QAction* MainWindow::menu_entry(const QString& name) const {
    const auto it = entries_.find(name);
    return it == entries_.end() ? nullptr : it->second;
}

QMenu* MainWindow::menu(const QString& name) const {
    const auto it = menus_.find(name);
    return it == menus_.end() ? nullptr : it->second;
}

QAction* MainWindow::toolbar_button(const QString& key) const {
    const auto it = keys_.find(key);
    return it == keys_.end() ? nullptr : it->second;
}

// ---- Window events ----

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    keep_frame_on_screen();
    fit_pages();
    place_overlays();
    if (start_up_pending_)
        QTimer::singleShot(0, this, [this] { complete_start_up(); });
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (loaded_)
        place_overlays();
    // Once the user has stopped dragging the frame.
    if (isVisible())
        fit_timer_->start(150);
}

// The window system reports the frame it put round the window with a move; a window that the
// frame pushes past the work area gives the frame's room up and goes to the work area's corner.
void MainWindow::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    if (isVisible())
        keep_frame_on_screen();
}

// The frame is certainly in place once the window is first activated.
void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        keep_frame_on_screen();
}

void MainWindow::keep_frame_on_screen() {
    keep_frame_in_work_area(*this);
}

void MainWindow::fit_pages() {
    fit_timer_->stop();
    if (typing_hold_.hold(*centralWidget()))
        return;
    for (QTabWidget* tabs : {logging_tabs, cso_tabs})
        if (tabs && tabs->isVisible())
            fit_tab_pages(*tabs);
}

// The click that takes the user from the boxes (another tab of the page's own tab set, a button
// beside them) must not find the page widening under it into the room the changed list left, or
// the next click, aimed at what that click showed, lands elsewhere.
void MainWindow::end_typing_hold(bool page_left) {
    if (typing_hold_.end())
        fit_timer_->start(0);
    if (page_left)
        keep_pages_clear_of_grid();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!ending_) {
        ending_ = true;
        if (services.legend_unload)
            services.legend_unload();
        // At once, not from the event loop: work the close interrupts stops (and the unit is put
        // back) before the closed window can be deleted under it.
        if (services.end_program)
            services.end_program();
    }
    QMainWindow::closeEvent(event);
}

// ---- Accessors ----

MainWindow& main_window() {
    if (!instance()) {
        instance() = new MainWindow;
        instance()->main_window_load();
    }
    return *instance();
}

bool form1_loaded() {
    return !instance().isNull();
}

std::function<void()> program_ender() {
    return default_program_ender();
}
void set_program_ender(std::function<void()> end) {
    default_program_ender() = std::move(end);
}

void set_start_arguments(const QStringList& arguments) {
    start_arguments() = arguments;
}

void install_main_window() {
    set_main_window_opener([] { main_window().show(); });
}
