// Every page of the main window fits common screens in every language: no scroll bar, no text
// cut off by its control or by the page. The pages are found by walking the window's tab sets,
// so pages added later are checked too. With QUILLARN_PAGE_SHOTS=<folder> each page is also
// saved as a picture for a person to look at.
#include "logging/log_setup_page.h"
#include "ui/page_fit.h"
#include "ui/screen_scaling.h"
#include "ui_test_support.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// Where `w` is cut off by the widgets around it, in window coordinates; empty when whole.
QRect cut_part(const QWidget& w, const QWidget& window) {
    QRect shown(w.mapTo(&window, QPoint(0, 0)), w.size());
    const QRect full = shown;
    for (const QWidget* p = w.parentWidget(); p && p != &window; p = p->parentWidget())
        shown &= QRect(p->mapTo(&window, QPoint(0, 0)), p->size());
    shown &= window.rect();
    return shown == full ? QRect() : full;
}

QString plain(QString text) {
    return text.remove(QLatin1Char('&'));
}

// Why the text of `w` does not show whole, or an empty text when it does.
QString text_problem(const QWidget& w) {
    const QFontMetrics fm(w.font());
    if (auto* label = qobject_cast<const QLabel*>(&w)) {
        if (label->text().isEmpty() || !label->pixmap().isNull() ||
            label->textFormat() == Qt::RichText)
            return {};
        if (label->wordWrap())
            return label->heightForWidth(label->width()) > label->height() + 1
                       ? QStringLiteral("wrapped text taller than its label")
                       : QString();
        int widest = 0;
        for (const QString& line : label->text().split(QLatin1Char('\n')))
            widest = std::max(widest, fm.horizontalAdvance(plain(line)));
        const int room = label->contentsRect().width();
        return widest > room + 1 ? QString::asprintf("text %d px wide in %d px", widest, room)
                                 : QString();
    }
    if (qobject_cast<const QCheckBox*>(&w) || qobject_cast<const QRadioButton*>(&w)) {
        const auto* b = static_cast<const QAbstractButton*>(&w);
        const int needed = b->sizeHint().width();
        return !b->text().isEmpty() && needed > b->width() + 1
                   ? QString::asprintf("needs %d px, has %d", needed, b->width())
                   : QString();
    }
    if (auto* b = qobject_cast<const QPushButton*>(&w)) {
        if (b->text().isEmpty())
            return {};
        const int needed = fm.horizontalAdvance(plain(b->text())) + 8 +
                           (b->icon().isNull() ? 0 : b->iconSize().width() + 4);
        return needed > b->width()
                   ? QString::asprintf("caption needs %d px, has %d", needed, b->width())
                   : QString();
    }
    if (auto* g = qobject_cast<const QGroupBox*>(&w)) {
        return !g->title().isEmpty() && fm.horizontalAdvance(plain(g->title())) + 8 > g->width()
                   ? QStringLiteral("title wider than its frame")
                   : QString();
    }
    return {};
}

// What is wrong with `page` as it shows in `window`.
QStringList page_problems(QWidget& page, QWidget& window) {
    QStringList problems;
    QList<QScrollArea*> areas = page.findChildren<QScrollArea*>();
    if (auto* self = qobject_cast<QScrollArea*>(&page))
        areas << self;
    for (QScrollArea* a : areas) {
        if (!a->isVisibleTo(&window))
            continue;
        if (a->horizontalScrollBar()->isVisibleTo(&window))
            problems << a->objectName() + ": horizontal scroll bar";
        if (a->verticalScrollBar()->isVisibleTo(&window))
            problems << a->objectName() + ": vertical scroll bar";
    }
    for (QWidget* w : page.findChildren<QWidget*>()) {
        if (!w->isVisibleTo(&window) || w->width() <= 0)
            continue;
        const bool texty = qobject_cast<QLabel*>(w) || qobject_cast<QAbstractButton*>(w) ||
                           qobject_cast<QGroupBox*>(w);
        if (!texty || qobject_cast<QToolButton*>(w) || qobject_cast<QTabBar*>(w->parentWidget()))
            continue;
        auto* l = qobject_cast<QLabel*>(w);
        auto* b = qobject_cast<QAbstractButton*>(w);
        const QString text = l ? l->text() : b ? b->text() : static_cast<QGroupBox*>(w)->title();
        if (text.trimmed().isEmpty())
            continue;
        const QString name = QStringLiteral("%1 \"%2\"").arg(w->objectName(), plain(text).left(40));
        if (const QString why = text_problem(*w); !why.isEmpty())
            problems << name + ": " + why;
        else if (const QRect cut = cut_part(*w, window); !cut.isNull())
            problems << name + ": cut off by the page";
    }
    return problems;
}

// clang-format off
struct Screen { int width, height; };
// clang-format on

class PageFitTest : public UiTest {
protected:
    void TearDown() override {
        set_screen_area_for_tests(std::nullopt);
        UiTest::TearDown();
    }

    // Lays out every page of the window started in `identity` and `mode` and returns what does
    // not fit, one line per fault.
    QStringList check(const Screen& s, int identity, int mode, int language) {
        // A desktop panel takes a strip of the screen; the window frame another.
        set_screen_area_for_tests(
            ScreenArea{QRect(0, 0, s.width, s.height), QRect(0, 0, s.width, s.height - 40)});
        Form1& w = open_main_window(identity, mode, language);
        w.log_setup_page->set_action(LogSetupAction::GetUnitInfo, [] {});
        w.show();
        flush();
        QStringList problems;
        const QString name =
            QString::asprintf("%dx%d-i%d-m%d-l%d", s.width, s.height, identity, mode, language);
        const QString where = name + ": ";
        if (w.width() > s.width || w.height() > s.height - 40)
            problems << where + QString::asprintf("window %dx%d larger than the screen's work area",
                                                  w.width(), w.height());
        const QString shots = qEnvironmentVariable("QUILLARN_PAGE_SHOTS");
        for (QTabWidget* tabs : w.findChildren<QTabWidget*>()) {
            if (!tabs->isVisibleTo(&w))
                continue;
            for (int i = 0; i < tabs->count(); ++i) {
                if (!tabs->isTabVisible(i))
                    continue;
                tabs->setCurrentIndex(i);
                flush();
                for (const QString& p : page_problems(*tabs->widget(i), w))
                    problems << where + tabs->objectName() + "/" + tabs->tabText(i) + ": " + p;
                if (!shots.isEmpty()) {
                    QDir().mkpath(shots);
                    w.grab().save(
                        QString("%1/%2-%3-%4.png").arg(shots, name, tabs->objectName()).arg(i));
                }
            }
        }
        w.close();
        flush();
        return problems;
    }
};

// A page of twelve lines of 12 pt text, as start-up scaling leaves it on a wide screen.
struct TallPage {
    QWidget page;
    TallPage() {
        auto* column = new QVBoxLayout(&page);
        column->setSpacing(10);
        for (int i = 0; i < 12; ++i) {
            auto* l = new QLabel(QStringLiteral("Channel %1 of the logging board").arg(i), &page);
            QFont f = l->font();
            f.setPointSizeF(12);
            l->setFont(f);
            column->addWidget(l);
        }
        QFont f = page.font();
        f.setPointSizeF(12);
        page.setFont(f);
    }
    double smallest_points() const {
        double p = 100;
        for (const QLabel* l : page.findChildren<QLabel*>())
            p = std::min(p, l->font().pointSizeF());
        return p;
    }
};

TEST(PageFonts, APageShortOfRoomShrinksOnlyAsFarAsItMustAndGrowsBack) {
    TallPage t;
    const QSize needed = t.page.minimumSizeHint();
    // clang-format off
    struct Case { const char* what; QSize room; bool shrinks; };
    // clang-format on
    const Case cases[] = {
        {"room to spare", needed + QSize(50, 50), false},
        {"a third too low", QSize(needed.width(), needed.height() * 2 / 3), true},
        {"too narrow", QSize(needed.width() * 3 / 4, needed.height()), true},
        {"room again", needed, false},
    };
    for (const Case& c : cases) {
        const double factor = fit_page_fonts(t.page, c.room);
        EXPECT_EQ(factor < 1.0, c.shrinks) << c.what;
        const QSize now = t.page.minimumSizeHint();
        EXPECT_TRUE(now.width() <= c.room.width() && now.height() <= c.room.height())
            << c.what << ": needs " << now.width() << "x" << now.height();
        if (!c.shrinks)
            EXPECT_DOUBLE_EQ(t.smallest_points(), 12) << c.what << ": the fonts did not grow back";
        else
            EXPECT_LT(t.smallest_points(), 12) << c.what;
    }
}

TEST(PageFonts, AControlAddedAfterFittingShrinksOnceLikeItsNeighbours) {
    TallPage t;
    const QSize low(t.page.minimumSizeHint().width(), t.page.minimumSizeHint().height() * 2 / 3);
    fit_page_fonts(t.page, low);
    const double fitted = t.smallest_points();
    auto* late = new QLabel(QStringLiteral("A row that came with the unit's data"), &t.page);
    t.page.layout()->addWidget(late);
    fit_page_fonts(t.page, low + QSize(0, 30));
    EXPECT_GE(late->font().pointSizeF(), fitted) << "the late control shrank twice";
    for (const QLabel* l : t.page.findChildren<QLabel*>())
        EXPECT_DOUBLE_EQ(l->font().pointSizeF(), late->font().pointSizeF())
            << l->text().toStdString();
}

TEST(WindowFrame, AFrameThatPushesTheWindowOffTheWorkAreaTakesItsRoomFromTheClientArea) {
    const QRect work(0, 27, 1366, 741); // a panel at the top
    // clang-format off
    struct Case { const char* what; QRect frame; QSize client, expected; };
    // clang-format on
    const Case cases[] = {
        {"no frame yet", QRect(0, 27, 1366, 741), {1366, 741}, {1366, 741}},
        {"title bar and borders", QRect(0, 27, 1370, 778), {1366, 741}, {1362, 704}},
        {"smaller than the work area", QRect(100, 100, 800, 600), {790, 570}, {790, 570}},
        {"only too tall", QRect(0, 0, 1000, 800), {1000, 770}, {1000, 711}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(client_size_within_work_area(work, c.frame, c.client), c.expected) << c.what;
}

TEST(PageFonts, NoFontGoesBelowTheReadableFloor) {
    TallPage t;
    const double factor = fit_page_fonts(t.page, QSize(40, 40));
    EXPECT_NEAR(factor, PAGE_FONT_FLOOR_POINTS / 12, 1e-9);
    EXPECT_GE(t.smallest_points(), PAGE_FONT_FLOOR_POINTS);
}

TEST_F(PageFitTest, EveryPageFitsALaptopScreenInEveryLanguage) {
    const std::pair<int, int> starts[] = {{0, 0}, {1, 1}, {2, 1}};
    QStringList problems;
    for (int language = 0; language < 5; ++language)
        for (const auto& [identity, mode] : starts)
            problems << check({1366, 768}, identity, mode, language);
    EXPECT_TRUE(problems.isEmpty()) << problems.size() << " faults:\n"
                                    << problems.join('\n').toStdString();
}

TEST_F(PageFitTest, EveryPageFitsLargerScreensInEveryLanguage) {
    QStringList problems;
    for (const Screen& s : {Screen{1280, 1024}, Screen{1920, 1080}})
        for (int language = 0; language < 5; ++language)
            problems << check(s, 0, 0, language) << check(s, 2, 1, language);
    EXPECT_TRUE(problems.isEmpty()) << problems.size() << " faults:\n"
                                    << problems.join('\n').toStdString();
}

} // namespace
