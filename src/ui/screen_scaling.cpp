#include "ui/screen_scaling.h"

#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLayout>
#include <QMainWindow>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBar>
#include <QWidget>
#include <algorithm>
#include <vector>

namespace {

bool skipped(const QWidget& w) {
    if (w.property(NOSCALE_PROPERTY).toString() == QLatin1String("NOSCALE"))
        return true;
    if (auto* frame = qobject_cast<const QGroupBox*>(w.parentWidget());
        frame && frame->title() == QLatin1String("Copy Options"))
        return true;
    return qobject_cast<const QAbstractItemView*>(&w) != nullptr;
}

// True when the control's place and size are set by code of this program (no layout, no Qt
// container that arranges its children itself). Only those controls are moved and sized here;
// the layouts scale the others with the window.
bool placed_by_program(const QWidget& w) {
    const QWidget* parent = w.parentWidget();
    if (!parent || w.isWindow() || parent->layout())
        return false;
    return !qobject_cast<const QAbstractScrollArea*>(parent) &&
           !qobject_cast<const QTabWidget*>(parent) && !qobject_cast<const QMainWindow*>(parent) &&
           !qobject_cast<const QMenuBar*>(parent) && !qobject_cast<const QTabBar*>(parent) &&
           !qobject_cast<const QToolBar*>(parent) && !qobject_cast<const QStatusBar*>(parent);
}

QRect to_rect(const Geometry& g) {
    return {twips_to_pixels(g.left), twips_to_pixels(g.top), twips_to_pixels(g.width),
            twips_to_pixels(g.height)};
}

Geometry to_geometry(const QRect& r) {
    return {pixels_to_twips(r.x()), pixels_to_twips(r.y()), pixels_to_twips(r.width()),
            pixels_to_twips(r.height())};
}

} // namespace

void scale_form(QWidget& form, const ScreenFactors& f, const QString& command_line) {
    if (!scaling_applies(command_line, f))
        return;
    form.setGeometry(to_rect(scale_geometry(to_geometry(form.geometry()), f)));

    // Fonts are inherited: take every control's design size first, then set each explicitly,
    // so that no control grows twice through its container.
    struct Control {
        QWidget* widget;
        QFont font;
    };
    std::vector<Control> controls;
    for (QWidget* w : form.findChildren<QWidget*>())
        controls.push_back({w, w->font()});

    bool tab_font_known = false;
    double tab_font_size = 0;
    for (const Control& c : controls) {
        QWidget* w = c.widget;
        QFont font = c.font;
        if (skipped(*w)) {
            w->setFont(font);
            continue;
        }
        if (placed_by_program(*w))
            w->setGeometry(to_rect(scale_geometry(to_geometry(w->geometry()), f)));
        if (qobject_cast<QTabWidget*>(w)) {
            if (!tab_font_known) {
                tab_font_size = font.pointSizeF();
                tab_font_known = true;
            }
            if (tab_font_size > 0)
                font.setPointSizeF(scaled_font_size(tab_font_size, f));
        } else if (font.pointSizeF() > 0) {
            font.setPointSizeF(scaled_font_size(font.pointSizeF(), f));
        }
        w->setFont(font);
        if (auto* bar = qobject_cast<QStatusBar*>(w)) {
            for (QWidget* panel : bar->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
                panel->setMinimumWidth(
                    static_cast<int>(scaled_panel_width(panel->minimumWidth(), f)));
            }
        }
    }
}

namespace {
std::optional<ScreenArea>& test_area() {
    static std::optional<ScreenArea> a;
    return a;
}
} // namespace

std::optional<ScreenArea> screen_area(const QWidget& window) {
    if (test_area())
        return test_area();
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return std::nullopt;
    return ScreenArea{screen->geometry(), screen->availableGeometry()};
}

void set_screen_area_for_tests(std::optional<ScreenArea> area) {
    test_area() = area;
}

QSize client_size_within_work_area(const QRect& work, const QRect& frame, const QSize& client) {
    const int extra_width = std::max(0, frame.width() - work.width());
    const int extra_height = std::max(0, frame.height() - work.height());
    return {std::max(1, client.width() - extra_width), std::max(1, client.height() - extra_height)};
}

QPoint frame_position_within_work_area(const QRect& work, const QRect& frame) {
    const auto within = [](int at, int size, int first, int room) {
        return std::max(first, std::min(at, first + room - size));
    };
    return {within(frame.x(), frame.width(), work.x(), work.width()),
            within(frame.y(), frame.height(), work.y(), work.height())};
}

void keep_frame_in_work_area(QWidget& window) {
    if (window.windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized))
        return;
    const std::optional<ScreenArea> area = screen_area(window);
    if (!area || area->work.isEmpty())
        return;
    QRect frame = window.frameGeometry();
    if (area->work.contains(frame))
        return;
    const QSize client = client_size_within_work_area(area->work, frame, window.size());
    if (client != window.size()) {
        frame.setSize(frame.size() - (window.size() - client));
        window.resize(client);
    }
    if (const QPoint at = frame_position_within_work_area(area->work, frame); at != frame.topLeft())
        window.move(at);
}

namespace {
const QLatin1String WORK_AREA_KEEPER("work_area_keeper");

class WorkAreaKeeper : public QObject {
public:
    explicit WorkAreaKeeper(QWidget& window) : QObject(&window) { setObjectName(WORK_AREA_KEEPER); }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show || event->type() == QEvent::Move ||
            event->type() == QEvent::WindowActivate)
            keep_frame_in_work_area(*static_cast<QWidget*>(watched));
        return false;
    }
};
} // namespace

void keep_window_in_work_area(QWidget& window) {
    if (!window.findChild<QObject*>(WORK_AREA_KEEPER, Qt::FindDirectChildrenOnly))
        window.installEventFilter(new WorkAreaKeeper(window));
    if (window.isVisible())
        keep_frame_in_work_area(window);
}
