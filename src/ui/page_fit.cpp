#include "ui/page_fit.h"

#include <QGridLayout>
#include <QLayout>
#include <QScrollArea>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <algorithm>
#include <cmath>

namespace {

constexpr const char* DESIGN_POINTS = "quillarn_fitted_from_points";
constexpr const char* DESIGN_ROOM = "quillarn_fitted_from_room";
constexpr const char* FITTED_NEED = "quillarn_fitted_need";
constexpr const char* FITTED_FACTOR = "quillarn_fitted_factor";

constexpr const char* KEEPS_FONT = "quillarn_keeps_font";

// The controls whose fonts the fitting sets: all but the tabs of tab sets inside the page.
QList<QWidget*> with_children(QWidget& content) {
    QList<QWidget*> all;
    all << &content;
    for (QWidget* w : content.findChildren<QWidget*>()) {
        bool keeps = false;
        for (QWidget* p = w; p && p != &content && !keeps; p = p->parentWidget())
            keeps = p->property(KEEPS_FONT).toBool();
        if (!keeps)
            all << w;
    }
    return all;
}

double design_points(QWidget& w) {
    const QVariant kept = w.property(DESIGN_POINTS);
    if (kept.isValid())
        return kept.toDouble();
    double points = w.font().pointSizeF();
    // A control made after the page was fitted (rows that arrive with data) has its parent's
    // fitted size; its own design size is its parent's, or it would shrink twice.
    if (QWidget* parent = w.parentWidget()) {
        const QVariant parent_design = parent->property(DESIGN_POINTS);
        if (parent_design.isValid() && std::abs(parent->font().pointSizeF() - points) < 0.01)
            points = parent_design.toDouble();
    }
    w.setProperty(DESIGN_POINTS, points);
    return points;
}

// A layout's own margins and spacing, as they were before the first fitting.
struct LayoutRoom {
    QMargins margins;
    int spacing = -1, horizontal = -1, vertical = -1;
};

LayoutRoom design_room(QLayout& l) {
    const QVariant kept = l.property(DESIGN_ROOM);
    if (kept.isValid()) {
        const QVariantList v = kept.toList();
        return {QMargins(v[0].toInt(), v[1].toInt(), v[2].toInt(), v[3].toInt()), v[4].toInt(),
                v[5].toInt(), v[6].toInt()};
    }
    LayoutRoom r;
    r.margins = l.contentsMargins();
    r.spacing = l.spacing();
    if (auto* grid = qobject_cast<QGridLayout*>(&l)) {
        r.horizontal = grid->horizontalSpacing();
        r.vertical = grid->verticalSpacing();
    }
    l.setProperty(DESIGN_ROOM,
                  QVariantList{r.margins.left(), r.margins.top(), r.margins.right(),
                               r.margins.bottom(), r.spacing, r.horizontal, r.vertical});
    return r;
}

int shrunk(int pixels, double factor) {
    return pixels <= 0 ? pixels : std::max(1, static_cast<int>(std::lround(pixels * factor)));
}

// The room between controls shrinks with the fonts, so a page that is short of height gains
// it from its gaps as well as from its texts.
void set_layout_factor(QWidget& content, double factor) {
    for (QLayout* l : content.findChildren<QLayout*>()) {
        const LayoutRoom r = design_room(*l);
        l->setContentsMargins(shrunk(r.margins.left(), factor), shrunk(r.margins.top(), factor),
                              shrunk(r.margins.right(), factor),
                              shrunk(r.margins.bottom(), factor));
        if (auto* grid = qobject_cast<QGridLayout*>(l)) {
            grid->setHorizontalSpacing(shrunk(r.horizontal, factor));
            grid->setVerticalSpacing(shrunk(r.vertical, factor));
        } else if (r.spacing >= 0) {
            l->setSpacing(shrunk(r.spacing, factor));
        }
    }
}

void relayout(QWidget& content) {
    for (QLayout* l : content.findChildren<QLayout*>())
        l->invalidate();
    if (content.layout())
        content.layout()->activate();
}

bool fits(const QSize& needed, const QSize& room) {
    return needed.width() <= room.width() && needed.height() <= room.height();
}

QWidget& content_of(QWidget& page) {
    auto* area = qobject_cast<QScrollArea*>(&page);
    if (!area)
        area = page.findChild<QScrollArea*>(QString(), Qt::FindDirectChildrenOnly);
    return area && area->widget() ? *area->widget() : page;
}

QSize page_room(QTabWidget& tabs) {
    auto* stack = tabs.findChild<QStackedWidget*>(QString(), Qt::FindDirectChildrenOnly);
    if (!stack || stack->width() <= 0 || stack->height() <= 0)
        return {};
    return stack->contentsRect().size();
}

} // namespace

void set_page_font_factor(QWidget& content, double factor) {
    for (QWidget* w : with_children(content)) {
        const double points = design_points(*w);
        if (points <= 0)
            continue;
        QFont f = w->font();
        const double wanted = std::round(points * factor * 4) / 4; // quarter points
        if (std::abs(f.pointSizeF() - wanted) < 0.01)
            continue;
        f.setPointSizeF(wanted);
        w->setFont(f);
    }
    set_layout_factor(content, factor);
    relayout(content);
}

double fit_page_fonts(QWidget& content, QSize room) {
    double smallest = 0;
    for (QWidget* w : with_children(content)) {
        const double points = design_points(*w);
        if (points > 0 && (smallest == 0 || points < smallest))
            smallest = points;
    }
    const double floor_factor =
        smallest > 0 ? std::min(1.0, PAGE_FONT_FLOOR_POINTS / smallest) : 1.0;
    double factor = 1.0;
    for (;;) {
        set_page_font_factor(content, factor);
        const QSize needed = content.minimumSizeHint();
        if (fits(needed, room) || factor <= floor_factor) {
            content.setProperty(FITTED_NEED, needed);
            content.setProperty(FITTED_FACTOR, factor);
            return factor;
        }
        factor = std::max(floor_factor, factor - PAGE_FONT_STEP);
    }
}

void fit_tab_pages(QTabWidget& tabs) {
    const QSize room = page_room(tabs);
    if (room.isEmpty())
        return;
    for (int i = 0; i < tabs.count(); ++i)
        fit_page_fonts(content_of(*tabs.widget(i)), room);
}

bool tab_pages_need_fitting(QTabWidget& tabs) {
    const QSize room = page_room(tabs);
    if (room.isEmpty())
        return false;
    for (int i = 0; i < tabs.count(); ++i) {
        QWidget& content = content_of(*tabs.widget(i));
        const QVariant fitted = content.property(FITTED_NEED);
        if (!fitted.isValid())
            continue;
        const QSize needed = content.minimumSizeHint();
        const QSize was = fitted.toSize();
        const bool less = needed.width() < was.width() || needed.height() < was.height();
        const bool shrunk = content.property(FITTED_FACTOR).toDouble() < 1.0;
        if (needed != was && (!fits(needed, room) || (shrunk && less)))
            return true;
    }
    return false;
}

void fit_to_current_page(QTabWidget& tabs) {
    tabs.tabBar()->setProperty(KEEPS_FONT, true);
    const auto count_current = [&tabs] {
        for (int i = 0; i < tabs.count(); ++i) {
            const auto policy =
                i == tabs.currentIndex() ? QSizePolicy::Preferred : QSizePolicy::Ignored;
            tabs.widget(i)->setSizePolicy(policy, policy);
        }
        tabs.updateGeometry();
    };
    QObject::connect(&tabs, &QTabWidget::currentChanged, &tabs, count_current);
    count_current();
}

bool is_fitted_content(const QObject& w) {
    return w.property(FITTED_NEED).isValid();
}

bool TypingHold::hold(QWidget& pages) {
    if (!typing_)
        return false;
    if (!owed_) {
        owed_ = true;
        for (QScrollArea* a : pages.findChildren<QScrollArea*>()) {
            Frozen f{a, a->verticalScrollBarPolicy(), a->horizontalScrollBarPolicy()};
            if (!a->verticalScrollBar()->isVisibleTo(a))
                a->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            if (!a->horizontalScrollBar()->isVisibleTo(a))
                a->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            frozen_.push_back(f);
        }
    }
    return true;
}

bool TypingHold::end() {
    typing_ = false;
    for (const Frozen& f : frozen_)
        if (f.area) {
            f.area->setVerticalScrollBarPolicy(f.vertical);
            f.area->setHorizontalScrollBarPolicy(f.horizontal);
        }
    frozen_.clear();
    const bool owed = owed_;
    owed_ = false;
    return owed;
}
