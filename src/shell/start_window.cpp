#include "shell/start_window.h"

#include "platform/program_folder.h"
#include "shell/shell_state.h"
#include "shell/start_settings.h"

#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace {

// Design size: 8100 x 5023 twips at 15 twips per pixel.
constexpr int WINDOW_WIDTH = 540;
constexpr int WINDOW_HEIGHT = 335;
constexpr int PICTURE_HEIGHT = 230;

const QString OK_CAPTION = QStringLiteral("OK");

// The caption of the button before the passcode is asked for; anything but "OK".
QString log_in_caption(int16_t language_index) {
    switch (language_index) {
    case 1: return QStringLiteral("&Anmelden");
    case 3: return QStringLiteral("&Accedi");
    case 4: return QStringLiteral("&Acceder");
    default: return QStringLiteral("&Log in");
    }
}

// A picture of another size fills the place without being distorted.
QPixmap fitted(const QImage& image, const QSize& size) {
    const QImage scaled =
        image.scaled(size, Qt::KeepAspectRatioByExpanding, Qt::SmoothTransformation);
    const QRect crop((scaled.width() - size.width()) / 2, (scaled.height() - size.height()) / 2,
                     size.width(), size.height());
    return QPixmap::fromImage(scaled.copy(crop));
}

std::function<void()>& main_window_opener() {
    static std::function<void()> open;
    return open;
}

QPointer<StartWindow>& instance() {
    static QPointer<StartWindow> w;
    return w;
}

} // namespace

StartWindow::StartWindow(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmAbout"));
    setAttribute(Qt::WA_DeleteOnClose);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setFixedSize(WINDOW_WIDTH, PICTURE_HEIGHT);
    Image1->setAlignment(Qt::AlignCenter);

    Frame1 = new QFrame(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Label4 = new QLabel(Frame1);
    Label4->setObjectName(QStringLiteral("Label4"));
    QFont bold = Label4->font();
    bold.setBold(true);
    Label4->setFont(bold);
    Label3 = new QLabel(Frame1);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setWordWrap(true);
    Text2 = new QLineEdit(Frame1);
    Text2->setObjectName(QStringLiteral("Text2"));
    Text2->setFixedWidth(200);
    Label4->setBuddy(Text2);
    auto* frame_layout = new QVBoxLayout(Frame1);
    frame_layout->setContentsMargins(0, 0, 0, 0);
    frame_layout->setSpacing(4);
    frame_layout->addWidget(Label4);
    frame_layout->addWidget(Label3);
    frame_layout->addWidget(Text2);
    Frame1->hide();

    cmdOK = new QPushButton(this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setMinimumWidth(100);
    cmdOK->setAutoDefault(false);
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });

    auto* bottom = new QHBoxLayout;
    bottom->setContentsMargins(16, 10, 16, 14);
    bottom->addWidget(Frame1, 1);
    bottom->addStretch();
    bottom->addWidget(cmdOK, 0, Qt::AlignBottom);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Image1);
    layout->addLayout(bottom);

    setFixedSize(WINDOW_WIDTH, WINDOW_HEIGHT);
}

void StartWindow::Form_Load() {
    load_start_settings();
    const ShellState& s = shell();
    setWindowTitle(s.application_title);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }

    const PasscodePrompt prompt = passcode_prompt(s.language_index);
    shell().scratch_text_1 = prompt.title;
    shell().scratch_text_2 = prompt.line;
    cmdOK->setText(s.about_box_mode ? OK_CAPTION : log_in_caption(s.language_index));
    show_start_picture();
    cmdOK->setFocus();
}

void StartWindow::show_start_picture() {
    const QString path =
        platform::join_path(platform::program_folder(), start_picture_name(shell().start_logo));
    QImageReader reader(path);
    const QImage image = reader.read();
    if (!image.isNull()) {
        Image1->setPixmap(fitted(image, Image1->size()));
        return;
    }
    // Without its picture the window still opens, with the title in the picture's place.
    QFont big = Image1->font();
    big.setPointSize(24);
    big.setBold(true);
    Image1->setFont(big);
    Image1->setStyleSheet(QStringLiteral("background: #0d2b45; color: white;"));
    Image1->setText(shell().application_title);
}

void StartWindow::cmdOK_Click() {
    ShellState& s = shell();
    if (s.about_box_mode) {
        close();
        return;
    }
    if (cmdOK->text() != OK_CAPTION) {
        cmdOK->setText(OK_CAPTION);
        cmdOK->setDefault(true);
        Frame1->show();
        Label4->setText(s.scratch_text_1);
        Label3->setText(s.scratch_text_2);
        Text2->clear();
        Text2->setEchoMode(QLineEdit::Password);
        Text2->setStyleSheet(QStringLiteral(
            "QLineEdit { background: white; color: blue; lineedit-password-character: 42; }"));
        Text2->setFocus();
        return;
    }
    s.login_passcode = Text2->text().trimmed();
    s.access_level = access_level_for_passcode(s.login_passcode);
    s.login_passcode_copy = s.login_passcode;
    if (main_window_opener())
        main_window_opener()();
    close();
}

void set_main_window_opener(std::function<void()> open) {
    main_window_opener() = std::move(open);
}

StartWindow& start_window() {
    if (!instance()) {
        instance() = new StartWindow;
        instance()->Form_Load();
    }
    return *instance();
}

bool start_window_loaded() { return !instance().isNull(); }
