#include "link/port_window.h"

#include "link/port_discovery.h"
#include "link/port_window_rules.h"
#include "link/serial_texts.h"
#include "link/window_parts.h"
#include "platform/port_table.h"
#include "platform/program_folder.h"
#include "platform/vb.h"
#include "shell/definitions_table.h"
#include "shell/number_box.h"
#include "shell/settings.h"
#include "shell/settings_keys.h"
#include "shell/shell_state.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileSystemWatcher>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace pw = portwindow;

namespace {

QPointer<PortWindow>& instance() {
    static QPointer<PortWindow> w;
    return w;
}

// A row's TAB-separated fields drawn as aligned columns.
class RowDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem o = option;
        initStyleOption(&o, index);
        const QString row = o.text;
        o.text.clear();
        o.widget->style()->drawControl(QStyle::CE_ItemViewItem, &o, painter, o.widget);
        const pw::PortRow r = pw::split_row(row);
        const QFontMetrics fm(o.font);
        const int name_w = fm.horizontalAdvance(QStringLiteral("COM99:")) + 16;
        const int status_w = fm.horizontalAdvance(serial_text(12)) + 24;
        painter->save();
        painter->setPen(o.palette.color(o.state & QStyle::State_Selected ? QPalette::HighlightedText
                                                                         : QPalette::Text));
        QRect rect = o.rect.adjusted(4, 0, -4, 0);
        painter->drawText(rect, Qt::AlignVCenter | Qt::AlignLeft, r.port_name);
        rect.setLeft(rect.left() + name_w);
        painter->drawText(rect, Qt::AlignVCenter | Qt::AlignLeft, r.status.trimmed());
        rect.setLeft(rect.left() + status_w);
        painter->drawText(rect, Qt::AlignVCenter | Qt::AlignLeft,
                          fm.elidedText(r.description, Qt::ElideRight, rect.width()));
        painter->restore();
    }
};

QString dev_folder() {
    return platform::join_path(platform::port_table_config().root, QStringLiteral("dev"));
}

} // namespace

PortWindow::PortWindow(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("searchport"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    Combo1 = new QComboBox(this);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->setMaxVisibleItems(16);
    List1 = new QListWidget(this);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setItemDelegate(new RowDelegate(List1));
    List1->setMinimumSize(460, 190);
    List1->setUniformItemSizes(true);
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label3 = new QLabel(this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setTextFormat(Qt::PlainText); // a port's description as the system gives it
    Label2->setMinimumHeight(22);
    QFont bold = Label2->font();
    bold.setBold(true);
    Label2->setFont(bold);
    Text2 = new QLineEdit(this);
    Text2->setObjectName(QStringLiteral("Text2"));
    Text2->setFixedWidth(64);
    Text2->setAlignment(Qt::AlignRight);
    QVBoxLayout* spin = make_up_down_arrows(this, UpDown1_up, UpDown1_down);
    auto make_button = [this](const char* name) { return make_command_button(this, name); };
    Command1 = make_button("Command1");
    Command2 = make_button("Command2");
    Command3 = make_button("Command3");
    Command4 = make_button("Command4");
    chkIgnore = new QCheckBox(this);
    chkIgnore->setObjectName(QStringLiteral("chkIgnore"));
    Text1 = new QPlainTextEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setReadOnly(true);
    Text1->setFixedHeight(Text1->fontMetrics().lineSpacing() * 3 + 14);
    Text1->setTabStopDistance(Text1->fontMetrics().horizontalAdvance(QLatin1Char('x')) * 10);
    Text1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Animation1 = new QProgressBar(this);
    Animation1->setObjectName(QStringLiteral("Animation1"));
    Animation1->setRange(0, 0);
    Animation1->setTextVisible(false);
    Animation1->setFixedHeight(10);

    auto* choice = new QGridLayout;
    choice->addWidget(Label1, 0, 0);
    choice->addWidget(Combo1, 0, 1);
    choice->addWidget(Label3, 1, 0);
    auto* delay = new QHBoxLayout;
    delay->setSpacing(2);
    delay->addWidget(Text2);
    delay->addLayout(spin);
    auto* ms = new QLabel(ui_text(2503, QStringLiteral("ms")), this);
    delay->addWidget(ms);
    delay->addSpacing(8);
    delay->addWidget(Command4);
    delay->addStretch(1);
    choice->addLayout(delay, 1, 1);
    choice->setColumnStretch(2, 1);

    system_box_ = new QGroupBox(this);
    auto* sys = new QVBoxLayout(system_box_);
    sys->addWidget(Text1);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(chkIgnore);
    buttons->addStretch(1);
    buttons->addWidget(Command1);
    buttons->addWidget(Command3);
    buttons->addWidget(Command2);

    ports_caption_ = new QLabel(this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(ports_caption_);
    layout->addWidget(List1, 1);
    layout->addWidget(Animation1);
    layout->addWidget(Label2);
    layout->addLayout(choice);
    layout->addWidget(system_box_);
    layout->addLayout(buttons);

    connect(Combo1, qOverload<int>(&QComboBox::currentIndexChanged), this,
            [this] { Combo1_Click(); });
    connect(List1, &QListWidget::itemClicked, this, [this] { List1_Click(); });
    connect(List1, &QListWidget::currentRowChanged, this, [this](int row) {
        // Keys move the selection as clicks do; the program's own selection runs the click
        // itself.
        if (row >= 0 && List1->hasFocus() && !selecting_)
            List1_Click();
    });
    connect(Text2, &QLineEdit::textChanged, this, [this] { Text2_Change(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
    connect(Command4, &QPushButton::clicked, this, [this] { Command4_Click(); });
    // A step goes from the number the box shows; a text that is no number, or a delay below the
    // least the arrows reach, is refused when the user leaves the box, not stepped from.
    watch_typed_number(Text2, TypedNumberKind::Any, {pw::LEAST_COMMS_DELAY});
    auto step = [this](int by) {
        if (const auto v = platform::typed_number(Text2->text()))
            Text2->setText(platform::number_text(
                std::max(static_cast<double>(pw::LEAST_COMMS_DELAY), *v + by)));
    };
    connect(UpDown1_up, &QToolButton::clicked, this, [step] { step(pw::COMMS_DELAY_STEP); });
    connect(UpDown1_down, &QToolButton::clicked, this, [step] { step(-pw::COMMS_DELAY_STEP); });

    settle_ = new QTimer(this);
    settle_->setSingleShot(true);
    settle_->setInterval(DEVICE_SETTLE_MS);
    connect(settle_, &QTimer::timeout, this, [this] { SysInfo1_DeviceChange(); });
}

PortWindow::~PortWindow() = default;

void PortWindow::Form_Load() {
    loaded_ = true;
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().topLeft());
    Combo1->blockSignals(true);
    Combo1->clear();
    for (int n = 1; n <= pw::COMBO_PORT_COUNT; ++n)
        Combo1->addItem(platform::port_name(n));
    Combo1->setCurrentIndex(-1);
    Combo1->blockSignals(false);
    read_lang_inc();
    const SerialTexts& t = serial_texts();
    const pw::OsInfo os = pw::read_os_info();
    Text1->setPlainText(pw::system_info_text(t[4], t[5], t[6], os.name, os.version, os.build));
    const QFontMetrics fm(Text1->font());
    int caption_width = 0;
    for (int i : {4, 5, 6})
        caption_width = std::max(caption_width, fm.horizontalAdvance(t[static_cast<size_t>(i)]));
    Text1->setTabStopDistance(caption_width + 12);
    Label1->setText(t[7]);
    Label3->setText(t[8]);
    Command4->setText(t[9]);
    setWindowTitle(t[10]);
    Command3->setText(ui_text(2500, QStringLiteral("&Search")));
    Command2->setText(ui_text(2501, QStringLiteral("&Close")));
    chkIgnore->setText(ui_text(2502, QStringLiteral("Ignore verify error")));
    ports_caption_->setText(ui_text(2504, QStringLiteral("Serial ports of this computer:")));
    system_box_->setTitle(ui_text(2505, QStringLiteral("System")));
    Command1->setText(ui_text(2506, QStringLiteral("Port settings")));
    get_ports();
    Combo1->setCurrentIndex(shell().com_port - 1);
    // Stored with "."; shown as the locale writes numbers, so that the box reads it back.
    const QString delay = read_ini(shell().ini_path, ini::SECTION_GENERAL, ini::KEY_COMMS_DELAY,
                                   ini::DEF_COMMS_DELAY);
    const auto stored = platform::stored_number(delay);
    Text2->setText(stored ? platform::number_text(*stored) : delay.trimmed());
    Command1->hide();
    Animation1->hide();
    updating_from_list = false;
    watch_devices();
}

void PortWindow::Form_Unload() {
    if (!loaded_)
        return;
    loaded_ = false;
    settle_->stop();
    if (watcher_) {
        // Watching goes with the window: an open window is the only one that listens.
        delete watcher_;
        watcher_ = nullptr;
    }
}

void PortWindow::closeEvent(QCloseEvent* event) {
    Form_Unload();
    QDialog::closeEvent(event);
}

void PortWindow::watch_devices() {
    if (!watcher_) {
        watcher_ = new QFileSystemWatcher(this);
        connect(watcher_, &QFileSystemWatcher::directoryChanged, settle_,
                qOverload<>(&QTimer::start));
    }
    const QString dev = dev_folder();
    for (const QString& d : {dev, platform::join_path(dev, QStringLiteral("serial/by-id"))})
        if (QDir(d).exists() && !watcher_->directories().contains(d))
            watcher_->addPath(d);
    devices_ = current_devices();
}

std::set<QString> PortWindow::current_devices() const {
    return pw::serial_device_names(QDir(dev_folder()).entryList(QDir::System | QDir::Files));
}

void PortWindow::SysInfo1_DeviceChange() {
    const std::set<QString> before = devices_;
    watch_devices(); // a by-id folder may have come with the first adapter
    const std::set<QString> now = current_devices();
    const pw::DeviceChange change = pw::device_change(before, now);
    devices_ = now;
    if (change == pw::DeviceChange::None)
        return;
    set_result(serial_text(change == pw::DeviceChange::Arrival ? 13 : 14)
                   .replace(QLatin1String("&&"), QLatin1String("&")),
               false);
    searchforport();
}

void PortWindow::get_ports() {
    List1->clear();
    for (const QString& row : ::get_ports())
        List1->addItem(row);
}

QStringList PortWindow::rows() const {
    QStringList out;
    for (int i = 0; i < List1->count(); ++i)
        out << List1->item(i)->text();
    return out;
}

void PortWindow::searchforport() {
    Animation1->show();
    repaint();
    get_ports();
    Combo1_Click();
    Animation1->hide();
}

void PortWindow::set_result(const QString& text, bool good) {
    Label2->setText(text);
    Label2->setStyleSheet(good ? QStringLiteral("color: #0000FF;")
                               : QStringLiteral("color: #FF0000;"));
}

void PortWindow::Combo1_Click() {
    if (updating_from_list || Combo1->currentIndex() < 0)
        return;
    ShellState& s = shell();
    s.com_port = static_cast<int16_t>(Combo1->currentIndex() + 1);
    const QString port = QString::number(s.com_port);
    write_ini(s.ini_path, ini::SECTION_GENERAL, ini::KEY_SELECTED_PORT, port);
    write_ini(s.ini_path, ini::SECTION_GENERAL, ini::KEY_PORT, port);
    set_result(serial_text(16), false);
    const QString key = Combo1->currentText() + QLatin1Char('\t');
    selecting_ = true;
    List1->clearSelection();
    List1->setCurrentRow(-1);
    if (const auto row = pw::row_of_key(rows(), key)) {
        List1->setCurrentRow(*row);
        List1->scrollToItem(List1->item(*row));
        List1_Click();
    }
    selecting_ = false;
}

void PortWindow::List1_Click() {
    QListWidgetItem* item = List1->currentItem();
    if (!item)
        return;
    const QString row = item->text();
    ShellState& s = shell();
    s.com_port = static_cast<int16_t>(pw::row_port_number(row));
    const QString port = QString::number(s.com_port);
    write_ini(s.ini_path, ini::SECTION_GENERAL, ini::KEY_SELECTED_PORT, port);
    write_ini(s.ini_path, ini::SECTION_GENERAL, ini::KEY_PORT, port);
    updating_from_list = true;
    Combo1->setCurrentIndex(s.com_port - 1);
    set_result(pw::shown_description(pw::split_row(row).description, s.language_index), true);
    updating_from_list = false;
}

void PortWindow::Text2_Change() {
    if (const auto v = pw::delay_to_store(Text2->text()))
        write_ini(shell().ini_path, ini::SECTION_GENERAL, ini::KEY_COMMS_DELAY, *v);
}

void PortWindow::Command4_Click() {
    Text2->setText(QString::number(pw::DEFAULT_COMMS_DELAY));
}

void PortWindow::Command3_Click() {
    Command3->setEnabled(false);
    set_result(serial_text(15), false);
    searchforport();
    Command3->setEnabled(true);
}

void PortWindow::Command2_Click() {
    done(QDialog::Accepted);
}

void PortWindow::done(int result) {
    Form_Unload();
    QDialog::done(result);
}

PortWindow& port_window() {
    if (!instance())
        instance() = new PortWindow();
    if (!instance()->loaded())
        instance()->Form_Load();
    return *instance();
}

PortWindow* port_window_if_open() {
    return instance() && instance()->loaded() ? instance().data() : nullptr;
}
