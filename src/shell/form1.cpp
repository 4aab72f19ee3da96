#include "shell/form1.h"

#include "platform/vb.h"
#include "shell/definitions_table.h"
#include "shell/language_file.h"
#include "shell/shell_state.h"
#include "shell/start_settings.h"

#include <QPointer>

namespace {
// The design size of the main window: 9600 x 7200 twips.
constexpr int DESIGN_WIDTH = 640;
constexpr int DESIGN_HEIGHT = 480;

QPointer<Form1>& instance() {
    static QPointer<Form1> w;
    return w;
}
} // namespace

Form1::Form1(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("Form1"));
    setAttribute(Qt::WA_DeleteOnClose);
}

void Form1::main_window_load() {
    move(0, 0);
    resize(DESIGN_WIDTH, DESIGN_HEIGHT);
    load_settings(this);
    load_language_file();
    apply_label_texts(*this, true);
    setWindowTitle(main_window_caption(QDateTime::currentDateTime()));
}

Form1& form1() {
    if (!instance()) {
        instance() = new Form1;
        instance()->main_window_load();
    }
    return *instance();
}

bool form1_loaded() { return !instance().isNull(); }

QString access_level_name(int16_t access_level) {
    switch (access_level) {
    case 1: return QStringLiteral("GOLDCARD");
    case 2: return ui_text(1266).toUpper();
    case 3: return ui_text(1378).toUpper();
    default: return QStringLiteral("ANYBODY");
    }
}

QString main_window_caption(const QDateTime& now) {
    const QString caption = shell().application_title + QLatin1Char(' ') + PROGRAM_VERSION +
                            QStringLiteral(" - ") + access_level_name(shell().access_level) +
                            QLatin1Char(' ') + ui_text(1139) + QLatin1Char(' ') +
                            platform::format_date(now, QStringLiteral("dddd - dd mmm yyyy")) +
                            QStringLiteral(" @ ") +
                            platform::format_date(now, QStringLiteral("hh:nn:ss")).trimmed();
    return caption.trimmed();
}
