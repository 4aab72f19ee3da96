#include "ui/screen_scaling.h"

#include <QAbstractItemView>
#include <QAbstractScrollArea>
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
