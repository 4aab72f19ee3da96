// Every page of the main window fits common screens in every language: no scroll bar, no text
// cut off by its control or by the page. The pages are found by walking the window's tab sets,
// so pages added later are checked too.
#include "echo/echo_page.h"
#include "echo/kovex_page.h"
#include "link/link_state.h"
#include "link/modem_window.h"
#include "logging/log_setup_page.h"
#include "logging/model_capabilities.h"
#include "logging/up_down.h"
#include "parameters/parameter_pages.h"
#include "parameters/parameter_rows.h"
#include "parameters/parameter_screen.h"
#include "platform/vb.h"
#include "shell/definitions_table.h"
#include "ui/menu_bar_keys.h"
#include "ui/page_fit.h"
#include "ui/screen_scaling.h"
#include "ui/setup_dialog.h"
#include "ui_test_support.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <QXmlStreamReader>
#include <QtTest/qtestspontaneevent.h>
#include <map>
#include <qcustomplot.h>

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

// A widget that is a working part of a compound control (a scroll area's bars, a tab bar's
// buttons, a line edit's own buttons) rather than a control of the page.
bool inner_part(const QWidget& w) {
    if (qobject_cast<const QScrollBar*>(&w) || qobject_cast<const QTabBar*>(&w) ||
        qobject_cast<const QAbstractScrollArea*>(w.parentWidget()))
        return true;
    for (const QWidget* p = w.parentWidget(); p; p = p->parentWidget())
        if (qobject_cast<const QTabBar*>(p) || qobject_cast<const QLineEdit*>(p) ||
            qobject_cast<const QAbstractSpinBox*>(p) || qobject_cast<const QComboBox*>(p) ||
            qobject_cast<const QCustomPlot*>(p))
            return true;
    return false;
}

// Controls held smaller than the least size their contents need, and controls of one frame
// laid over each other: what a layout gives when a frame cannot have the room its rows need.
QStringList layout_problems(QWidget& page, QWidget& window) {
    QStringList problems;
    QList<QWidget*> all = page.findChildren<QWidget*>();
    all.prepend(&page);
    const auto shown = [&](const QWidget* w) {
        return w->isVisibleTo(&window) && !w->isWindow() && !inner_part(*w);
    };
    const auto name = [](const QWidget* w) {
        QString n = w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className())
                                              : w->objectName();
        if (const QVariant index = w->property("index"); index.isValid())
            n += QStringLiteral("(%1)").arg(index.toInt());
        return n;
    };
    for (QWidget* w : all) {
        if (!shown(w))
            continue;
        const QSizePolicy policy = w->sizePolicy();
        const auto* label = qobject_cast<const QLabel*>(w);
        // Arrow keys of a spin control are drawn smaller than a tool button would like.
        const bool measured = !(label && (label->wordWrap() || !label->pixmap().isNull())) &&
                              !qobject_cast<const QToolButton*>(w);
        const QSize least = w->minimumSizeHint();
        if (measured && least.isValid() && policy.verticalPolicy() != QSizePolicy::Ignored &&
            w->height() + 1 < least.height())
            problems << QStringLiteral("%1: %2 px high, needs %3")
                            .arg(name(w))
                            .arg(w->height())
                            .arg(least.height());
        QList<QWidget*> children;
        for (QObject* o : w->children())
            if (auto* c = qobject_cast<QWidget*>(o); c && shown(c))
                children << c;
        for (qsizetype i = 0; i < children.size(); ++i)
            for (qsizetype j = i + 1; j < children.size(); ++j) {
                const QRect both = children[i]->geometry() & children[j]->geometry();
                if (both.width() > 1 && both.height() > 1)
                    problems << QStringLiteral("%1 and %2 overlap in %3")
                                    .arg(name(children[i]), name(children[j]), name(w));
            }
    }
    return problems;
}

// What is wrong with `page` as it shows in `window`. A widget already reported (through the
// page of an enclosing tab set) is not reported again.
QStringList page_problems(QWidget& page, QWidget& window, QSet<QString>& seen) {
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
    problems << layout_problems(page, window);
    QStringList fresh;
    for (const QString& p : problems)
        if (!seen.contains(p)) {
            seen.insert(p);
            fresh << p;
        }
    return fresh;
}

// clang-format off
struct Screen { int width, height; };
// clang-format on

// The tab set that `tabs` lies in, if any.
const QTabWidget* enclosing_tab_set(const QWidget& tabs) {
    for (const QWidget* p = tabs.parentWidget(); p; p = p->parentWidget())
        if (auto* t = qobject_cast<const QTabWidget*>(p))
            return t;
    return nullptr;
}

class PageFitTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        for (const QFileInfo& f : QDir(QUILLARN_DATA_DIR "/Images").entryInfoList({"*.svg"}))
            QFile::copy(f.filePath(), program + "/Images/" + f.fileName());
    }

    // The set that fills the parameter pages most: every parameter at its default on a unit
    // with flow and volume, the universal vessel with its points, then the user switches to
    // flow and chooses the universal flow element, whose points show too.
    static void show_fullest_set(bool then_flow = true) {
        for (int P = 20; P <= 999; ++P) {
            DefinitionRecord& r = definitions_table()[static_cast<size_t>(P)];
            if (r.lookup_code.isEmpty())
                continue;
            r.unit_value = r.default_value;
            r.value_text = platform::number_text_c(r.default_value);
        }
        const std::pair<int, double> set[] = {{100, 5},   {600, 12}, {610, 0}, {611, 0},
                                              {612, 2.5}, {613, 4},  {614, 5}, {615, 12}};
        for (const auto& [P, v] : set) {
            definitions_table()[static_cast<size_t>(P)].unit_value = v;
            definitions_table()[static_cast<size_t>(P)].value_text = platform::number_text_c(v);
        }
        definitions_table()[926].value_text = QStringLiteral("2.0.5");
        link().p61_is_1 = link().p61_is_2 = true;
        parameter_state().parameter_set_loading = true;
        update_parameter_screen(true);
        parameter_state().parameter_set_loading = false;
        if (!then_flow)
            return;
        parameter_rows().set_text(100, QStringLiteral("4"));
        parameter_rows().set_text(700, QStringLiteral("5"));
    }

    // What "Get Unit Info" writes into the read-outs, at its widest.
    static void fill_unit_read_outs(LogSetupPage& page) {
        const char* values[] = {"07/12/2026 13:42", "FFFFFFFF", "FFFFFFFF", "FFFFFFFF", "30000",
                                "31/12/2027 23:59", "65535",    "Yes",      "48"};
        for (size_t i = 0; i < page.unit_log_boxes.size(); ++i)
            page.unit_log_boxes[i]->setText(QLatin1String(values[i]));
        page.unit_clock_labels[0]->setText(QStringLiteral("Unit Date (DD/MM/YYYY) : 07/12/2026"));
        page.unit_clock_labels[1]->setText(QStringLiteral("Unit Time (HHMM) : 1342"));
        // A wrapping log at the unit's interval: the line of the days it keeps.
        page.setup_boxes[2]->setText(QStringLiteral("15"));
        page.wrap_box->setChecked(true);
    }

    // Where the log set-up page's keys are in the window.
    static QStringList key_places(LogSetupPage& page, QWidget& w) {
        QStringList at;
        for (QPushButton* b : page.findChildren<QPushButton*>())
            if (b->isVisible()) {
                const QPoint p = b->mapTo(&w, QPoint());
                at << b->text() + QString::asprintf(" at %d,%d", p.x(), p.y());
            }
        return at;
    }

    // Lets the window finish what the last change started: a page that grew is fitted again
    // once its layout has taken the change in.
    static void settle() {
        for (int i = 0; i < 10; ++i)
            flush();
    }

    // Shows every page of `tabs` in turn, and the pages of the tab sets within each.
    void check_tab_set(QTabWidget& tabs, QWidget& w, const QString& where, QSet<QString>& seen,
                       QStringList& problems) {
        for (int i = 0; i < tabs.count(); ++i) {
            if (!tabs.isTabVisible(i))
                continue;
            tabs.setCurrentIndex(i);
            settle();
            QWidget* page = tabs.widget(i);
            const QString here = where + tabs.objectName() + "/" + tabs.tabText(i) + ": ";
            for (const QString& p : page_problems(*page, w, seen))
                problems << here + p;
            for (QTabWidget* inner : page->findChildren<QTabWidget*>())
                if (enclosing_tab_set(*inner) == &tabs && inner->isVisibleTo(&w))
                    check_tab_set(*inner, w, here, seen, problems);
        }
    }

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
        MainWindow& w = open_main_window(identity, mode, language);
        w.log_setup_page->set_action(LogSetupAction::GetUnitInfo, [] {});
        w.show();
        flush();
        // The pages as they are used: a parameter set on the parameter pages, the unit's read-
        // outs on the log set-up page, which arrive under the user's mouse and move no key.
        const QStringList keys = key_places(*w.log_setup_page, w);
        if (mode == 1)
            show_fullest_set();
        else
            fill_unit_read_outs(*w.log_setup_page);
        settle();
        QStringList problems;
        const QString name =
            QString::asprintf("%dx%d-i%d-m%d-l%d", s.width, s.height, identity, mode, language);
        const QString where = name + ": ";
        if (mode != 1 && key_places(*w.log_setup_page, w) != keys)
            problems << where + QStringLiteral("the unit's read-outs moved the keys from ") +
                            keys.join(", ") + " to " + key_places(*w.log_setup_page, w).join(", ");
        // The reply countdown, whole beside the status text.
        w.set_status_text(2, ui_text(1362) + QStringLiteral(" 39.5s"));
        settle();
        if (const QString why = text_problem(*w.findChild<QLabel*>("StatusBar1_panel2"));
            !why.isEmpty())
            problems << where + QStringLiteral("the reply countdown: ") + why;
        if (w.width() > s.width || w.height() > s.height - 40)
            problems << where + QStringLiteral("window %1x%2 larger than the screen's work area")
                                    .arg(w.width())
                                    .arg(w.height());
        QSet<QString> seen;
        for (QTabWidget* tabs : w.findChildren<QTabWidget*>())
            if (tabs->isVisibleTo(&w) && !enclosing_tab_set(*tabs))
                check_tab_set(*tabs, w, where, seen, problems);
        // The modem window from its key, with its longest status, put back on the screen when it
        // stands past the bottom edge (as its frame pushes it from the screen's corner).
        if (mode == 1 && w.services.show_modem_window) {
            w.services.show_modem_window();
            ModemWindow& modem = modem_window();
            modem.panel1->setText(ui_text(1351) + " - " + ui_text(2531));
            modem.move(0, s.height - modem.height() / 2);
            settle();
            if (!QRect(0, 0, s.width, s.height - 40).contains(modem.frameGeometry()))
                problems << where +
                                QStringLiteral("the modem window's status bar is off the screen");
            for (const QString& p : page_problems(modem, modem, seen))
                problems << where + QStringLiteral("modem window: ") + p;
            modem.close();
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
    struct Case { const char* what; QRect frame; QSize client, expected; QPoint frame_at; };
    const Case cases[] = {
        {"no frame yet", QRect(0, 27, 1366, 741), {1366, 741}, {1366, 741}, {0, 27}},
        {"title bar and borders", QRect(0, 27, 1370, 778), {1366, 741}, {1362, 704}, {0, 27}},
        {"only too tall", QRect(0, 0, 1000, 800), {1000, 770}, {1000, 711}, {0, 27}},
        // The modem window's bottom left corner, chosen before the window had its frame.
        {"put in a corner without its frame", QRect(0, 468, 522, 325), {520, 300}, {520, 300},
         {0, 443}},
        {"past the right edge", QRect(1200, 300, 250, 400), {248, 375}, {248, 375}, {1116, 300}},
    };
    // clang-format on
    for (const Case& c : cases) {
        const QSize client = client_size_within_work_area(work, c.frame, c.client);
        const QRect frame(c.frame.topLeft(), c.frame.size() - (c.client - client));
        EXPECT_EQ(std::pair(client, frame_position_within_work_area(work, frame)),
                  std::pair(c.expected, c.frame_at))
            << c.what;
    }
}

TEST(PageFonts, NoFontGoesBelowTheReadableFloor) {
    TallPage t;
    const double factor = fit_page_fonts(t.page, QSize(40, 40));
    EXPECT_NEAR(factor, PAGE_FONT_FLOOR_POINTS / 12, 1e-9);
    EXPECT_GE(t.smallest_points(), PAGE_FONT_FLOOR_POINTS);
}

// Every start on a laptop; on larger screens the logging and the CSO start.
TEST_F(PageFitTest, EveryPageFitsALaptopAndLargerScreensInEveryLanguage) {
    const std::pair<int, int> starts[] = {{0, 0}, {2, 1}, {1, 1}, {2, 0}};
    QStringList problems;
    for (const Screen& s : {Screen{1366, 768}, Screen{1280, 1024}, Screen{1920, 1080}})
        for (int language = 0; language < 5; ++language)
            for (int i = 0; i < (s.width == 1366 ? 4 : 2); ++i)
                problems << check(s, starts[i].first, starts[i].second, language);
    EXPECT_TRUE(problems.isEmpty()) << problems.size() << " faults:\n"
                                    << problems.join('\n').toStdString();
}

} // namespace

namespace {

class SetUpPagesTest : public PageFitTest {
protected:
    MainWindow* main = nullptr;

    // The main window on a laptop screen with a set loaded (flow mode, universal element).
    void SetUp() override {
        PageFitTest::SetUp();
        set_screen_area_for_tests(ScreenArea{QRect(0, 0, 1366, 768), QRect(0, 0, 1366, 728)});
        main = &open_main_window(1, 1);
        main->show();
        flush();
        show_fullest_set();
        settle();
    }
    template <class T> T* row_widget(const char* name, int P) const {
        for (T* c : main->findChildren<T*>(QLatin1String(name)))
            if (c->property("index").toInt() == P)
                return c;
        ADD_FAILURE() << "no " << name << " for P" << P;
        return nullptr;
    }
    // Types into row P's box and presses Enter, as the user does.
    void edit(int P, const QString& text) {
        QLineEdit* box = row_widget<QLineEdit>("scrpar", P);
        for (QTabWidget* tabs : main->findChildren<QTabWidget*>())
            for (int i = 0; i < tabs->count(); ++i)
                if (tabs->widget(i)->isAncestorOf(box))
                    tabs->setCurrentIndex(i);
        settle();
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, text);
        QTest::keyClick(box, Qt::Key_Return);
        settle();
    }
    QString hint(int P) const { return row_widget<QLabel>("scrhint", P)->text(); }
    // Message boxes as the real ones behave: a window of their own that takes the focus until
    // the user answers.
    struct FocusTakingMessages : platform::ScopedScriptedDialogs {
        bool took_focus = false;
        platform::Answer message_box(const QString& prompt, int style,
                                     const QString& title) override {
            {
                QWidget box;
                QPushButton ok(QStringLiteral("OK"), &box);
                box.show();
                box.activateWindow();
                ok.setFocus();
                settle();
                took_focus = took_focus || QApplication::focusWidget() == &ok;
            }
            // Answered, it leaves no window active: giving the activation back is a window
            // manager's choice, which the program does not count on.
            settle();
            return ScopedScriptedDialogs::message_box(prompt, style, title);
        }
    };
};

// The universal flow element also shows its points and chart.
TEST_F(SetUpPagesTest, TheMeaningBesideACodedBoxAndTheUniversalPointsFollowEveryEdit) {
    const struct {
        int P;
        const char* typed;
        const char* meaning;
    } edits[] = {{700, "2", "BS3680 Flume"}, {700, "5", "Universal"}, {700, "1", "Exponent"},
                 {700, "5", "Universal"},    {600, "0", "Cyl"},       {600, "2", "Cone"},
                 {600, "11", "UniLinear"},   {600, "12", "UniCurved"}};
    for (const auto& e : edits) {
        if (e.P == 600 && !link().volume_mode) {
            show_fullest_set(false);
            settle();
        }
        edit(e.P, QLatin1String(e.typed));
        EXPECT_EQ(hint(e.P), QLatin1String(e.meaning)) << "P" << e.P << " = " << e.typed;
        const bool universal = e.P == 700 && QLatin1String(e.typed) == QLatin1String("5");
        if (e.P == 700) {
            EXPECT_EQ(fields(main->flow_page->breakpoint_tabs->isVisibleTo(main->flow_page),
                             main->flow_page->flow_chart->isVisibleTo(main->flow_page)),
                      fields(universal, universal))
                << e.typed;
        }
    }
}

// The user types a value and tabs on to the next box: the edit hides the changed list, or the
// page grows (the universal element's points and chart), or rows of the box's own frame go (a
// relay type of 0), yet nothing under the user moves until they leave the page; then the page
// takes the room again.
TEST_F(SetUpPagesTest, TheBoxesUnderTheUserStayPutWhileTheyType) {
    // clang-format off
    struct Case { const char* what; int cso_tab, parameter_tab, points_tab; bool list_shown;
                  const char* element; std::vector<std::pair<int, const char*>> typed;
                  std::vector<int> watched; };
    const Case cases[] = {
        {"System > Points, the first edit hides the changed list", 1, 9, 1, true, nullptr,
         {{170, "5"}, {171, "7"}, {172, "9"}}, {170, 171, 172, 173, 174, 175}},
        {"Flow, the universal element brings its points and chart", 3, 0, 0, false, "1",
         {{700, "5"}, {701, "2"}}, {700, 701, 702, 703}},
        {"Flow, the first element brings its picture", 3, 0, 0, false, "0",
         {{700, "2"}, {701, "3"}}, {700, 701, 702, 703}},
        {"Relays, a type of 0 hides the rest of each block", 1, 1, 0, false, nullptr,
         {{210, "0"}, {220, "0"}}, {210, 220}},
    };
    // clang-format on
    for (const Case& c : cases) {
        show_fullest_set(c.element != nullptr);
        if (c.element)
            parameter_rows().set_text(700, QLatin1String(c.element));
        if (!c.list_shown)
            main->parameter_grid->hide();
        main->cso_tabs->setCurrentIndex(c.cso_tab);
        main->parameter_tabs->setCurrentIndex(c.parameter_tab);
        main->parameter_page->loss_tabs->setCurrentIndex(c.points_tab);
        settle();
        ASSERT_EQ(main->parameter_grid->isVisible(), c.list_shown) << c.what;
        const auto places = [&] {
            std::map<int, QPoint> at;
            for (int P : c.watched)
                at[P] = row_widget<QLineEdit>("scrpar", P)->mapToGlobal(QPoint(0, 0));
            return at;
        };
        const std::map<int, QPoint> before = places();
        row_widget<QLineEdit>("scrpar", c.typed.front().first)->setFocus();
        for (const auto& [P, text] : c.typed) {
            QLineEdit* box = row_widget<QLineEdit>("scrpar", P);
            ASSERT_TRUE(box->hasFocus()) << c.what << ": P" << P << " lost the focus";
            box->selectAll();
            QTest::keyClicks(box, QLatin1String(text));
            QTest::keyClick(box, Qt::Key_Tab);
            settle();
            for (const auto& [Q, place] : places())
                EXPECT_EQ(place, before.at(Q))
                    << c.what << ": after typing into P" << P << " the box of P" << Q
                    << " moved from (" << before.at(Q).x() << "," << before.at(Q).y() << ") to ("
                    << place.x() << "," << place.y() << "), under the user's mouse";
        }
        // Once the user leaves the page it is fitted again to the room it has.
        main->cso_tabs->setCurrentIndex(0);
        main->cso_tabs->setCurrentIndex(c.cso_tab);
        settle();
        auto* area = main->cso_tabs->currentWidget()->findChild<QScrollArea*>();
        area = area ? area : qobject_cast<QScrollArea*>(main->cso_tabs->currentWidget());
        EXPECT_EQ(fields(area->widget()->width() >= area->viewport()->width(),
                         area->verticalScrollBar()->isVisibleTo(main)),
                  fields(true, false))
            << c.what << ": the page was not fitted to its room after the user left it";
    }
}

// A message about a refused value is a window of its own that takes the focus until it is
// answered: the user comes back to the same boxes, so the changed list the edit hid must not let
// the page take its room meanwhile.
TEST_F(SetUpPagesTest, ARefusedValuesMessageLeavesTheBoxesWhereTheUserTypes) {
    FocusTakingMessages messages;
    show_fullest_set(false);
    main->cso_tabs->setCurrentIndex(1);
    main->parameter_tabs->setCurrentIndex(9);
    main->parameter_page->loss_tabs->setCurrentIndex(1);
    settle();
    ASSERT_TRUE(main->parameter_grid->isVisible());
    const auto places = [&] {
        std::vector<QPoint> at;
        for (int P = 170; P <= 175; ++P)
            at.push_back(row_widget<QLineEdit>("scrpar", P)->mapToGlobal(QPoint(0, 0)));
        return at;
    };
    const std::vector<QPoint> before = places();
    // 5 is taken; "1,5" is no number where "." is the decimal separator; then 7 in the same box.
    for (const auto& [P, text] :
         {std::pair{170, "5"}, std::pair{171, "1,5"}, std::pair{171, "7"}}) {
        QLineEdit* box = row_widget<QLineEdit>("scrpar", P);
        main->activateWindow();
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, QLatin1String(text));
        QTest::keyClick(box, Qt::Key_Return);
        settle();
        EXPECT_EQ(places(), before)
            << "after \"" << text << "\" in P" << P << " the boxes moved under the user's mouse";
    }
    EXPECT_TRUE(messages.took_focus) << "the message never had the focus: nothing was tried";
    EXPECT_EQ(fields(messages.prompts.size(), parameter_rows().text(171)), fields(1u, "7"));
}

// After a refused value the user is back in the refused box with its text selected, whether they
// left it with Tab or Enter: the correction they type replaces the text there, and no other
// parameter takes it.
TEST_F(SetUpPagesTest, AfterARefusedValueTheCorrectionGoesIntoTheRefusedBox) {
    FocusTakingMessages messages;
    platform::number_separators() = {",", ".", "de-DE"};
    QLineEdit* near_blanking = row_widget<QLineEdit>("scrpar", 107);
    edit(107, "0,3");
    std::vector<QString> before;
    for (const DefinitionRecord& r : definitions_table())
        before.push_back(r.value_text);
    for (const auto key : {Qt::Key_Tab, Qt::Key_Return}) {
        main->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(main));
        near_blanking->setFocus();
        near_blanking->selectAll();
        for (const char* typed : {"0.35", "0,35"}) {
            QWidget* into = QApplication::focusWidget();
            ASSERT_NE(into, nullptr) << "nothing has the focus";
            QTest::keyClicks(into, QLatin1String(typed));
            QTest::keyClick(into, key);
            settle();
        }
        const std::string how = key == Qt::Key_Tab ? "Tab" : "Enter";
        EXPECT_TRUE(messages.took_focus) << how << ": the refusal was never shown";
        EXPECT_EQ(fields(definitions_table()[107].value_text, near_blanking->text()),
                  fields("0.35", "0,35"))
            << how << ": the correction did not replace the refused text";
        before[107] = definitions_table()[107].value_text;
        for (size_t P = 20; P < before.size(); ++P)
            EXPECT_EQ(definitions_table()[P].value_text, before[P])
                << how << ": P" << P << " took what was typed after the refusal";
        edit(107, "0,3");
        before[107] = definitions_table()[107].value_text;
        messages.took_focus = false;
    }
    platform::number_separators() = {};
}

// Whatever refused a value (its limits, the notation), on the parameter pages or on the KOVEX tab,
// also when a menu entry or a toolbar key checked what was still being typed, the user is back in
// the refused box with its text selected: the correction replaces it there, and no other parameter
// takes it. The work the entry or key started stops at the refusal, before it asks anything. (That
// every rule's refusal is reported to the page is checked on the rules: ParameterRules.)
TEST_F(SetUpPagesTest, EveryRefusalPutsTheUserBackIntoTheRefusedBox) {
    FocusTakingMessages messages;
    auto* kovex = main->findChild<KovexPage*>();
    ASSERT_TRUE(kovex);
    const auto row_box = [&](int P) { return row_widget<QLineEdit>("scrpar", P); };
    // clang-format off
    struct Case { const char* what; QLineEdit* box; int P; const char *refused, *correction;
                  const char* entry = nullptr; }; // a menu entry or toolbar key, the box not left
    const Case cases[] = {
        {"P105 below its limits", row_box(105), 105, "-1", "7"},
        {"KOVEX P84 above its limits", kovex->parameter_boxes.at(84), 84, "99", "30"},
        {"KOVEX P84 in another notation", kovex->parameter_boxes.at(84), 84, "1,5", "25"},
        {"P105 below its limits, then Save", row_box(105), 105, "-1", "8", "saveparameterstofile"},
        {"KOVEX P84, then Save", kovex->parameter_boxes.at(84), 84, "99", "35",
         "saveparameterstofile"},
        {"P105 below its limits, then Upload", row_box(105), 105, "-1", "9", "upload"},
    };
    // clang-format on
    link().p61_is_2 = false;
    for (const Case& c : cases) {
        for (QTabWidget* tabs : main->findChildren<QTabWidget*>())
            for (int i = 0; i < tabs->count(); ++i)
                if (tabs->widget(i)->isAncestorOf(c.box))
                    tabs->setCurrentIndex(i);
        main->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(main));
        settle();
        std::vector<QString> before;
        for (const DefinitionRecord& r : definitions_table())
            before.push_back(r.value_text);
        const QString shown = c.box->text();
        c.box->setFocus();
        c.box->selectAll();
        QTest::keyClicks(c.box, QLatin1String(c.refused));
        if (QAction* entry = c.entry ? main->menu_entry(QLatin1String(c.entry)) : nullptr)
            entry->trigger();
        else if (c.entry)
            main->toolbar_button(QLatin1String(c.entry))->trigger();
        else
            QTest::keyClick(c.box, Qt::Key_Tab);
        settle();
        ASSERT_EQ(messages.messages().size(), static_cast<qsizetype>(&c - cases + 1))
            << c.what << ": the refusal was not told once, or the work went on to ask: "
            << messages.messages().join(QStringLiteral(" / ")).toStdString();
        ASSERT_EQ(messages.prompts.size(), static_cast<size_t>(messages.messages().size()))
            << c.what << ": the work went on to a file dialog after the refusal";
        EXPECT_EQ(fields(QApplication::focusWidget() == c.box, c.box->text(),
                         c.box->selectedText()),
                  fields(true, shown, shown))
            << c.what << ": after the message the user is not back in the refused box with its "
            << "text selected";
        QWidget* into = QApplication::focusWidget();
        ASSERT_NE(into, nullptr) << c.what << ": nothing has the focus";
        QTest::keyClicks(into, QLatin1String(c.correction));
        QTest::keyClick(into, Qt::Key_Tab);
        settle();
        EXPECT_EQ(platform::val(definitions_table()[static_cast<size_t>(c.P)].value_text),
                  platform::val(QLatin1String(c.correction)))
            << c.what << ": the correction did not go into the refused box";
        // A save takes the screen's form of a number ("0800" for 800) into the set: the same value.
        for (size_t P = 20; P < before.size(); ++P)
            EXPECT_TRUE(static_cast<int>(P) == c.P ||
                        platform::val(definitions_table()[P].value_text) ==
                            platform::val(before[P]))
                << c.what << ": P" << P << " took what was typed after the refusal ("
                << before[P].toStdString() << " became "
                << definitions_table()[P].value_text.toStdString() << ")";
    }
}

// A refused box that the user leaves by a menu's Alt key, a key of the toolbar or the page, a tab
// of another page or an arrow: the program runs on, the refusal is told once, after the key or
// click has been handled (the message box runs its own event loop, as a real one does), the user
// is back in the box with its text selected, and nothing the key or click would do was done: no
// menu or window opens, no key or entry works, no other page shows, nothing steps or scrolls. A
// box the program hides is judged as it goes, and the user is back on its page. A window manager
// asks to close the window after its own key (Alt+F4), or after it took the activation away.
// What does not leave the box tells nothing and keeps the text: a key held to change the next one
// (Shift for a French digit, which must not cost the sign typed before it), and the box's own
// context menu with what it does to the text.
TEST_F(SetUpPagesTest, ARefusedBoxLeftByAnyKeyOrClickIsToldAfterItAndNothingElseIsDone) {
    struct ModalMessages : platform::ScopedScriptedDialogs {
        bool handling = false; // a key or click of the user is being handled
        QStringList inside;    // the messages shown while it was
        platform::Answer message_box(const QString& prompt, int style,
                                     const QString& title) override {
            if (handling)
                inside << prompt;
            QMessageBox box(QApplication::activeWindow());
            box.setText(prompt);
            box.setDefaultButton(box.addButton(QMessageBox::Ok));
            QTimer::singleShot(0, &box, [&box] { QTest::keyClick(&box, Qt::Key_Return); });
            box.exec();
            return ScopedScriptedDialogs::message_box(prompt, style, title);
        }
    } messages;
    platform::number_separators() = {",", ".", "de-DE"};
    auto* kovex = main->findChild<KovexPage*>();
    ASSERT_TRUE(kovex);
    // What a key or click has done: entries, keys and buttons worked, pages, windows, popups.
    int worked = 0;
    for (QAction* a : main->findChildren<QAction*>())
        QObject::connect(a, &QAction::triggered, [&] { ++worked; });
    for (QAbstractButton* b : main->findChildren<QAbstractButton*>())
        QObject::connect(b, &QAbstractButton::clicked, [&] { ++worked; });
    QStringList opened; // windows a key opened, closed again so that the test goes on
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        for (QWidget* w : {QApplication::activePopupWidget(), QApplication::activeModalWidget()})
            if (w && !qobject_cast<QMessageBox*>(w)) {
                opened << w->metaObject()->className();
                w->close();
            }
    });
    closer.start(20);
    QObject::connect(qApp, &QApplication::focusChanged, [&](QWidget*, QWidget* now) {
        if (qobject_cast<QMenuBar*>(now))
            opened << QStringLiteral("menu bar"); // Alt took the keyboard there
    });
    const auto done = [&](QLineEdit* text) {
        QStringList s{QString::number(worked), text->text(), opened.join(' ')};
        for (QTabWidget* tabs : main->findChildren<QTabWidget*>())
            s << QString::number(tabs->currentIndex()) + "@" +
                     QString::number(tabs->tabBar()->tabRect(0).x());
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible())
                s << w->metaObject()->className();
        return s;
    };
    QWidget elsewhere; // another program's window
    QLineEdit* row = row_widget<QLineEdit>("scrpar", 105);
    QLineEdit* kovex_row = kovex->parameter_boxes.at(84);
    LogSetupPage* log = main->log_setup_page;
    QToolButton* log_arrow = log->UpDown1->up_button();
    QSpinBox* trace = main->echo_page->trace_intervals[1];
    QWidget* toolbar_key = main->Toolbar1->widgetForAction(main->toolbar_button("refresh"));
    QToolButton* tab_scroll = nullptr;
    for (QToolButton* b : main->parameter_tabs->tabBar()->findChildren<QToolButton*>())
        if (b->arrowType() == Qt::RightArrow)
            tab_scroll = b;
    ASSERT_TRUE(tab_scroll) << "the parameter tabs show no arrows to scroll on this screen";
    const auto cso = [&](int tab) {
        return [this, tab] {
            main->csomenu_Click();
            main->cso_tabs->setCurrentIndex(tab);
        };
    };
    // clang-format off
    struct Box { const char* what; QWidget* box; QLineEdit* text; const char* refused;
                 std::function<void()> show; QTabBar* tabs; int tab; QWidget* key; QWidget* arrow;
                 QPoint arrow_at; };
    const Box boxes[] = {
        {"P105 below its limits", row, row, "-1", cso(1), main->cso_tabs->tabBar(), 0, toolbar_key,
         tab_scroll, tab_scroll->rect().center()},
        {"KOVEX P84 above its limits", kovex_row, kovex_row, "99", cso(4),
         kovex->findChild<QTabWidget*>("kovex_boxes")->tabBar(), 1, toolbar_key, nullptr, {}},
        {"log interval in the other notation", log->setup_boxes[2], log->setup_boxes[2], "2.5",
         [this] { main->loggingmenu_Click(); }, main->logging_tabs->tabBar(), 2,
         log->setup_unit_button, log_arrow, log_arrow->rect().center()},
        {"log interval below its arrows", log->setup_boxes[2], log->setup_boxes[2], "-1",
         [this] { main->loggingmenu_Click(); }, main->logging_tabs->tabBar(), 2,
         log->setup_unit_button, log_arrow, log_arrow->rect().center()},
        {"log interval with a fraction", log->setup_boxes[2], log->setup_boxes[2], "7,5",
         [this] { main->loggingmenu_Click(); }, main->logging_tabs->tabBar(), 2,
         log->setup_unit_button, log_arrow, log_arrow->rect().center()},
        {"log interval beyond a day", log->setup_boxes[2], log->setup_boxes[2], "1441",
         [this] { main->loggingmenu_Click(); }, main->logging_tabs->tabBar(), 2,
         log->setup_unit_button, log_arrow, log_arrow->rect().center()},
        {"trace interval with a fraction", trace, trace->findChild<QLineEdit*>(), "2,5", cso(0),
         main->cso_tabs->tabBar(), 1, toolbar_key, trace,
         QPoint(trace->width() - 4, trace->height() / 4)},
    };
    // clang-format on
    for (const Box& b : boxes) {
        b.show();
        b.tabs->setTabEnabled(b.tab, true);
        settle();
        ASSERT_TRUE(b.key->isEnabled() && b.key->isVisible()) << b.what << ": no key to leave by";
        // The keys and clicks as the window system delivers them, each handled to its end
        // before the next; the message stand-in notes what it is asked while one is handled.
        const auto handled = [&](const std::function<void()>& input) {
            messages.handling = true;
            input();
            messages.handling = false;
        };
        // What leaves nothing: a key held for the next one, pressed alone as the user types and at
        // the end; Shift+F10; the box's own menu, by a right click, or by the menu key that comes
        // after the menu's event, and an entry chosen in it once the menu is up (a spin box's menu
        // runs its own loop). A click the menu did not take leaves it open, for the closer.
        const auto alone = [&](Qt::Key key) {
            return [&, key] { handled([&] { key_alone(b.box, key); }); };
        };
        const auto own_menu = [&](bool by_key, const QString& entry) {
            return [&, by_key, entry] {
                QTimer::singleShot(0, [entry] {
                    QTimer::singleShot(0, [entry] {
                        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
                        for (QAction* a : menu ? menu->actions() : QList<QAction*>())
                            if (a->text().remove('&').section('\t', 0, 0) == entry)
                                QTest::mouseClick(menu, Qt::LeftButton, {},
                                                  menu->actionGeometry(a).center());
                    });
                });
                closer.start(5000);
                const QPoint at = b.text->rect().center();
                handled([&] {
                    if (by_key) {
                        auto* key = new QKeyEvent(QEvent::KeyPress, Qt::Key_Menu, Qt::NoModifier);
                        QSpontaneKeyEvent::setSpontaneous(key);
                        QCoreApplication::postEvent(b.box->window()->windowHandle(), key);
                    } else {
                        QTest::mouseClick(b.text, Qt::RightButton, {}, at);
                    }
                    QContextMenuEvent menu(by_key ? QContextMenuEvent::Keyboard
                                                  : QContextMenuEvent::Mouse,
                                           at, b.text->mapToGlobal(at));
                    QSpontaneKeyEvent::setSpontaneous(&menu);
                    QApplication::instance()->notify(b.text, &menu);
                });
                settle();
                closer.start(20);
            };
        };
        std::vector<std::pair<QString, std::function<void()>>> leavings;
        for (QAction* entry : main->menuBar()->actions()) {
            const QChar letter = mnemonic_of(entry->text());
            if (entry->isVisible() && entry->isEnabled() && !letter.isNull())
                leavings.emplace_back(QStringLiteral("Alt+") + letter, [&, letter] {
                    handled([&] { QTest::keyClick(main, letter.toLatin1(), Qt::AltModifier); });
                });
        }
        leavings.emplace_back("its key",
                              [&] { handled([&] { QTest::mouseClick(b.key, Qt::LeftButton); }); });
        leavings.emplace_back("a tab", [&] {
            handled([&] {
                QTest::mouseClick(b.tabs, Qt::LeftButton, {}, b.tabs->tabRect(b.tab).center());
            });
        });
        // What the filter cannot see: the box is hidden by the program, the refusal told after.
        // (The log chart page opens its legend as it shows: that is the page's own doing.)
        if (b.tabs != main->logging_tabs->tabBar())
            leavings.emplace_back("another page shown by the program",
                                  [&] { handled([&] { b.tabs->setCurrentIndex(b.tab); }); });
        const auto close_window = [&] {
            QCloseEvent close;
            QSpontaneKeyEvent::setSpontaneous(&close); // as the window system sends it
            QApplication::instance()->notify(main->windowHandle(), &close);
        };
        leavings.emplace_back("closing its window", [&] { handled(close_window); });
        leavings.emplace_back("Alt alone",
                              [&] { handled([&] { key_alone(b.box, Qt::Key_Alt); }); });
        leavings.emplace_back("Alt+F4 under a window manager", [&] {
            handled([&] { key_alone(b.box, Qt::Key_Alt, true, false); });
            handled(close_window);
            handled([&] { key_alone(b.box, Qt::Key_Alt, false, true); });
        });
        leavings.emplace_back("another window activated, then the close", [&] {
            handled([&] {
                elsewhere.show();
                QApplication::setActiveWindow(&elsewhere);
            });
            handled(close_window);
            elsewhere.hide();
        });
        if (auto* spin = qobject_cast<QAbstractSpinBox*>(b.box))
            leavings.emplace_back("the wheel over it", [&, spin] {
                handled([&] {
                    const QPointF at = spin->rect().center();
                    QWheelEvent wheel(at, spin->mapToGlobal(at), {}, {0, 120}, Qt::NoButton, {},
                                      Qt::NoScrollPhase, false);
                    QSpontaneKeyEvent::setSpontaneous(&wheel);
                    QApplication::instance()->notify(spin, &wheel);
                });
            });
        if (qobject_cast<QAbstractSpinBox*>(b.box))
            leavings.emplace_back("its menu's Step up", own_menu(false, "Step up"));
        leavings.emplace_back("an arrow", [&] {
            if (!b.arrow)
                return handled([&] { QTest::keyClick(b.box, Qt::Key_Down); });
            handled([&] { QTest::mousePress(b.arrow, Qt::LeftButton, {}, b.arrow_at); });
            QTest::qWait(700); // longer than an arrow waits before it repeats
            handled([&] { QTest::mouseRelease(b.arrow, Qt::LeftButton, {}, b.arrow_at); });
            QTest::qWait(300); // an arrow that runs on would step meanwhile
        });
        for (const auto& [how, leave] : leavings) {
            const std::string what = std::string(b.what) + ", left by " + how.toStdString();
            main->activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(main)) << what;
            b.box->setFocus();
            settle();
            b.text->selectAll();
            const QString shown = b.text->text();
            const QStringList before = done(b.text);
            const size_t told = messages.prompts.size();
            // A key the box takes itself leaves nothing: the user corrects the last one typed.
            QTest::keyClicks(b.box, QLatin1String(b.refused) + QLatin1Char('0'));
            QTest::keyClick(b.box, Qt::Key_Backspace);
            ASSERT_EQ(fields(b.text->text(), messages.prompts.size()),
                      fields(QLatin1String(b.refused), told))
                << what;
            leave();
            settle();
            EXPECT_EQ(fields(messages.prompts.size() - told, messages.inside.join(' ')),
                      fields(1u, QString()))
                << what << ": the refusal was not told once, after the key or click";
            EXPECT_EQ(done(b.text), before) << what << ": the key or click did more";
            EXPECT_EQ(fields(QApplication::focusWidget() == b.box, b.text->selectedText()),
                      fields(true, shown))
                << what << ": the user is not back in the box with its text selected";
            messages.inside.clear();
            opened.clear();
        }
        QApplication::clipboard()->setText(QStringLiteral("5"));
        const auto kept = [&](const QString& typed) { return b.text->text() == typed; };
        const auto selected = [&](const QString& typed) {
            return kept(typed) && b.text->selectedText() == typed;
        };
        // clang-format off
        const struct { const char* how; std::function<void()> act; bool while_typing;
                       std::function<bool(const QString& typed)> did; } stayings[] = {
            {"Shift alone", alone(Qt::Key_Shift), true, kept},
            {"Ctrl alone", alone(Qt::Key_Control), true, kept},
            {"AltGr alone", alone(Qt::Key_AltGr), true, kept},
            {"the Windows key alone", alone(Qt::Key_Meta), true, kept},
            {"Caps Lock", alone(Qt::Key_CapsLock), true, kept},
            {"Num Lock", alone(Qt::Key_NumLock), true, kept},
            {"Alt held over a click in it", [&] { handled([&] {
                 key_alone(b.box, Qt::Key_Alt, true, false);
                 QTest::mouseClick(b.text, Qt::LeftButton, {}, b.text->rect().center());
                 key_alone(b.box, Qt::Key_Alt, false, true); }); }, false, kept},
            {"Shift+F10", [&] { handled([&] { QTest::keyClick(b.box, Qt::Key_F10,
                                                              Qt::ShiftModifier); }); }, false, kept},
            {"its menu's Select All", own_menu(false, "Select All"), false, selected},
            {"its menu's Undo", own_menu(false, "Undo"), false,
             [&](const QString& typed) { return !kept(typed); }},
            {"its menu's Paste", own_menu(false, "Paste"), false,
             [&](const QString& typed) { return kept(typed + "5"); }},
            {"the menu key's Select All", own_menu(true, "Select All"), false, selected},
        };
        // clang-format on
        for (const auto& [how, act, while_typing, did] : stayings) {
            const std::string what = std::string(b.what) + ", " + how;
            main->activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(main)) << what;
            b.box->setFocus();
            settle();
            b.text->selectAll();
            const QString shown = b.text->text(), refused = QLatin1String(b.refused);
            const size_t told = messages.prompts.size();
            // Shift alone between a sign and a digit, and at the end of the typing.
            for (const QString& typed :
                 while_typing ? QStringList{refused.left(1), refused} : QStringList{refused}) {
                QTest::keyClicks(b.box, typed.mid(b.text->hasSelectedText() ? 0 : 1));
                ASSERT_EQ(b.text->text(), typed) << what;
                act();
                settle();
                EXPECT_EQ(fields(messages.prompts.size() - told,
                                 QApplication::focusWidget() == b.box, did(typed),
                                 opened.join(' ')),
                          fields(0u, true, true, QString()))
                    << what << " after \"" << typed.toStdString() << "\" left the box or did "
                    << "not do its own: it shows \"" << b.text->text().toStdString() << "\"";
            }
            // Still the user's typing: judged when they leave.
            b.text->selectAll();
            QTest::keyClicks(b.box, refused);
            handled([&] { QTest::keyClick(b.box, Qt::Key_Tab); });
            settle();
            EXPECT_EQ(fields(messages.prompts.size() - told, QApplication::focusWidget() == b.box,
                             b.text->selectedText()),
                      fields(1u, true, shown))
                << what << ": the refusal was not told once when the user left";
            messages.inside.clear();
            opened.clear();
        }
        // Over what the box takes, Alt alone takes the keyboard to the menu bar as ever.
        b.box->setFocus();
        b.text->selectAll();
        QTest::keyClicks(b.box, b.text->text());
        const size_t told = messages.prompts.size();
        key_alone(b.box, Qt::Key_Alt);
        settle();
        EXPECT_EQ(fields(messages.prompts.size() - told, main->menuBar()->hasFocus()),
                  fields(0u, true))
            << b.what << ": Alt alone over a number the box takes";
        QTest::keyClick(main->menuBar(), Qt::Key_Escape);
        opened.clear();
    }
    platform::number_separators() = {};
}

// The user types a value, leaves the box with Tab and clicks another tab of the page's own tab
// set, or a control beside the boxes. The edit hid the changed list; the page takes that room only
// once the user leaves it, or what is under the click, and the boxes a tab brings into view, would
// move before the next click.
TEST_F(SetUpPagesTest, TheFirstClickAfterAnEditMovesNothingUnderTheMouse) {
    auto* kovex = main->findChild<KovexPage*>();
    ASSERT_TRUE(kovex);
    auto* kovex_tabs = kovex->findChild<QTabWidget*>(QStringLiteral("kovex_boxes"));
    const auto kovex_box = [&](int P) { return kovex->parameter_boxes.at(P); };
    const auto row_box = [&](int P) { return row_widget<QLineEdit>("scrpar", P); };
    // clang-format off
    struct Case { const char* what; int cso_tab; QTabWidget* tabs; int from, to; QLineEdit* typed;
                  const char* text; QWidget* clicked; std::vector<QWidget*> watched;
                  const char* leaving_key; };
    const Case cases[] = {
        {"KOVEX, Setup to Points 1-8", 4, kovex_tabs, 0, 1, kovex_box(84), "30", nullptr,
         {kovex_tabs, kovex_box(170), kovex_box(171), kovex_box(185)}, nullptr},
        {"KOVEX, a point's Limit, then the next point", 4, kovex_tabs, 1, 1, kovex_box(170), "80",
         kovex->point_options[1], {kovex_box(172), kovex_box(173)}, "status_display"},
        {"Parameters, Display to System", 1, main->parameter_tabs, 3, 9, row_box(823), "6",
         nullptr, {main->parameter_page->loss_tabs}, nullptr},
    };
    // clang-format on
    for (const Case& c : cases) {
        show_fullest_set(false);
        main->cso_tabs->setCurrentIndex(c.cso_tab);
        c.tabs->setCurrentIndex(c.to);
        settle();
        QWidget* target = c.clicked ? c.clicked : c.tabs->tabBar();
        const auto spot = [&] {
            return c.clicked ? c.clicked->rect().center()
                             : c.tabs->tabBar()->tabRect(c.to).center();
        };
        const auto places = [&] {
            std::vector<QPoint> at{target->mapToGlobal(spot())};
            for (QWidget* w : c.watched)
                at.push_back(w->mapToGlobal(QPoint(0, 0)));
            return at;
        };
        const std::vector<QPoint> shown = places();
        c.tabs->setCurrentIndex(c.from);
        settle();
        ASSERT_TRUE(main->parameter_grid->isVisible()) << c.what;
        c.typed->setFocus();
        c.typed->selectAll();
        QTest::keyClicks(c.typed, QLatin1String(c.text));
        QTest::keyClick(c.typed, Qt::Key_Tab);
        settle();
        ASSERT_FALSE(main->parameter_grid->isVisible()) << c.what << ": the edit kept the list";
        QTest::mouseClick(target, Qt::LeftButton, {}, spot());
        settle();
        ASSERT_EQ(c.tabs->currentIndex(), c.to) << c.what;
        const std::vector<QPoint> now = places();
        for (size_t i = 0; i < now.size(); ++i)
            EXPECT_TRUE(now[i] == shown[i])
                << c.what << ": " << (i == 0 ? "what was clicked" : "a box in view")
                << " moved from (" << shown[i].x() << "," << shown[i].y() << ") to (" << now[i].x()
                << "," << now[i].y() << ") after the edit";
        // Left for another page or for a key of the toolbar, the page takes the room the changed
        // list left.
        if (c.leaving_key) {
            QAction* key = main->toolbar_button(QLatin1String(c.leaving_key));
            ASSERT_TRUE(key->isEnabled()) << c.leaving_key;
            key->trigger();
        } else {
            main->cso_tabs->setCurrentIndex(0);
            main->cso_tabs->setCurrentIndex(c.cso_tab);
        }
        settle();
        QWidget* room = main->cso_tabs->currentWidget()->parentWidget();
        QWidget* page = main->cso_tabs->currentWidget();
        if (auto* area = qobject_cast<QScrollArea*>(page))
            page = area->widget();
        EXPECT_GE(page->width() + 4, room->width())
            << c.what << ": the page kept the room of the changed list after the user left it";
    }
}

// A page whose fonts came down to fit a crowded view has them back once the view is no longer
// crowded: the vessel page with the universal shape's points and chart, then a plain shape.
TEST_F(SetUpPagesTest, APageCrowdedOnceGetsItsFontsBack) {
    show_fullest_set(false);
    main->cso_tabs->setCurrentIndex(2);
    const auto font_with_shape = [&](const char* shape) {
        edit(600, QLatin1String(shape));
        main->cso_tabs->setCurrentIndex(0); // the user leaves the page and comes back
        main->cso_tabs->setCurrentIndex(2);
        settle();
        return row_widget<QLabel>("scrlabel", 600)->font().pointSizeF();
    };
    // The set came with the universal shape, so the page has been crowded once already.
    const double plain = font_with_shape("0");
    const double crowded = font_with_shape("12");
    EXPECT_LT(crowded, plain) << "the vessel page kept the smaller fonts of the universal shape";
    EXPECT_EQ(font_with_shape("0"), plain) << "the fonts of a plain shape changed after a visit";

    // The set-up tabs: the Display tab, the crowded System tab with its points, Display again.
    main->cso_tabs->setCurrentIndex(1);
    const auto font_on_tab = [&](int tab, int P) {
        main->parameter_tabs->setCurrentIndex(tab);
        main->parameter_page->loss_tabs->setCurrentIndex(1);
        settle();
        return row_widget<QLabel>("scrlabel", P)->font().pointSizeF();
    };
    const double display = font_on_tab(3, 823);
    EXPECT_LT(font_on_tab(9, 170), display)
        << "the Display tab has the fonts of the crowded System tab";
    EXPECT_EQ(font_on_tab(3, 823), display) << "the Display tab kept the System tab's fonts";
}

// "Update & Exit" in the Setup dialog, as the real window opens it, with another language chosen.
TEST_F(SetUpPagesTest, AChangeOfLanguageReachesEveryTextOfTheSetUpPages) {
    edit(700, "2");
    main->services.list_changed_parameters(true, false);
    main->services.run_modal = [](QDialog& d) {
        if (auto* setup = qobject_cast<SetupDialog*>(&d)) {
            setup->Option2[1]->click(); // German
            setup->Command3->click();
        }
    };
    main->services.show_setup_dialog();
    settle();
    EXPECT_EQ(fields(row_widget<QLabel>("scrlabel", 700)->text(),
                     row_widget<QLabel>("scrlabel", 701)->text(), hint(700), hint(701), hint(104),
                     main->flow_page->scrlabel18->text()),
              fields(QStringLiteral("Messeinrichtung (P700)"), QStringLiteral("Bauform (P701)"),
                     QStringLiteral("BS3680 Gerinne"), QStringLiteral("Rechteck"),
                     QStringLiteral("Meter"), QStringLiteral("BS3680 Gerinne - Rechteck")))
        << "the flow page kept texts of the language it was in";
    EXPECT_EQ(main->parameter_grid->item(0, 1)->text(), QStringLiteral("Beschreibung"))
        << "the changed list kept its headings";
}

// A set-up tab is offered only with rows on it: one that no parameter of the shipped
// definitions goes to is not offered, as the mA output tab of a unit without outputs.
TEST_F(SetUpPagesTest, NoSetUpTabIsOfferedEmpty) {
    QTabWidget& tabs = *main->parameter_tabs;
    for (int t = 0; t < tabs.count(); ++t) {
        int rows = 0;
        for (QLineEdit* box : tabs.widget(t)->findChildren<QLineEdit*>(QStringLiteral("scrpar")))
            rows += box->isVisibleTo(tabs.widget(t)) ? 1 : 0;
        EXPECT_TRUE(rows > 0 || !tabs.isTabEnabled(t))
            << "the tab \"" << tabs.tabText(t).toStdString() << "\" is offered with nothing in it";
    }
}

// The profile and loss charts draw the points entered, each marker whole inside the plot, and
// nothing for the unused points (the placeholders a unit keeps below zero, a loss point of zeros).
TEST_F(SetUpPagesTest, TheChartsShowTheEnteredPointsWhole) {
    // clang-format off
    struct Case { const char* what; QCustomPlot* chart; int cso_tab;
                  std::vector<std::pair<int, double>> set; int drawn; };
    const Case cases[] = {
        {"an empty volume profile", main->vessel_page->volume_chart, 2, {}, 0},
        {"a volume profile", main->vessel_page->volume_chart, 2,
         {{610, 0}, {611, 0}, {612, 2.5}, {613, 4}, {614, 5}, {615, 12}}, 3},
        {"an empty loss curve", main->parameter_page->loss_curve, 1, {}, 0},
        {"a loss curve", main->parameter_page->loss_curve, 1,
         {{170, 100}, {171, 5}, {172, 400}, {173, 12}}, 2},
    };
    // clang-format on
    for (const Case& c : cases) {
        show_fullest_set(false);
        for (const auto& [first, last] : {std::pair{170, 185}, {610, 673}})
            for (int P = first; P <= last; ++P) // unused, as the unit keeps them
                definitions_table()[static_cast<size_t>(P)].unit_value =
                    definitions_table()[static_cast<size_t>(P)].default_value;
        for (const auto& [P, v] : c.set) {
            definitions_table()[static_cast<size_t>(P)].unit_value = v;
            definitions_table()[static_cast<size_t>(P)].value_text = platform::number_text_c(v);
        }
        parameter_state().parameter_set_loading = true;
        update_parameter_screen(true);
        parameter_state().parameter_set_loading = false;
        main->cso_tabs->setCurrentIndex(c.cso_tab);
        main->parameter_tabs->setCurrentIndex(9);
        main->parameter_page->loss_tabs->setCurrentIndex(0);
        settle();
        ASSERT_TRUE(c.chart->isVisibleTo(main)) << c.what;
        c.chart->replot();
        QCPGraphDataContainer& points = *c.chart->graph(0)->data();
        EXPECT_EQ(points.size(), c.drawn) << c.what << ": unused points are drawn";
        const QRect plot = c.chart->axisRect()->rect().adjusted(3, 3, -3, -3);
        QStringList cut;
        for (const QCPGraphData& p : points)
            if (!plot.contains(QPointF(c.chart->xAxis->coordToPixel(p.key),
                                       c.chart->yAxis->coordToPixel(p.value))
                                   .toPoint()))
                cut << QStringLiteral("(%1, %2)").arg(p.key).arg(p.value);
        EXPECT_TRUE(cut.isEmpty())
            << c.what << ": points cut by the edge of the plot " << cut.join(' ').toStdString();
    }
}

TEST_F(SetUpPagesTest, TheVolumeProfileAxesCoverTheEnteredPoints) {
    show_fullest_set(false);
    settle();
    edit(614, "7.5");
    edit(615, "20");
    for (int tab : {2, 1, 2}) {
        main->cso_tabs->setCurrentIndex(tab);
        settle();
        const QCustomPlot& chart = *main->vessel_page->volume_chart;
        for (const auto& [level, volume] : {std::pair{0.0, 0.0}, {2.5, 4.0}, {7.5, 20.0}}) {
            EXPECT_TRUE(chart.xAxis->range().contains(level))
                << "level " << level << " off the axis " << chart.xAxis->range().lower << ".."
                << chart.xAxis->range().upper;
            EXPECT_TRUE(chart.yAxis->range().contains(volume)) << "volume " << volume;
        }
    }
}

} // namespace

namespace {

// The labels drawn in the pictures (P601, h, Q = K h ...) lie whole inside the picture: the
// renderer cuts whatever sticks out of it.
TEST(Pictures, EveryLabelLiesWholeInsideItsPicture) {
    QStringList problems;
    for (const QFileInfo& f : QDir(QUILLARN_DATA_DIR "/Images").entryInfoList({"*.svg"})) {
        QFile file(f.filePath());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << f.fileName().toStdString();
        QXmlStreamReader xml(&file);
        QRectF picture;
        while (xml.readNextStartElement() || !xml.atEnd()) {
            if (!xml.isStartElement())
                continue;
            const QXmlStreamAttributes a = xml.attributes();
            if (xml.name() == QLatin1String("svg")) {
                const QStringList box = a.value("viewBox").toString().split(' ');
                picture = QRectF(box[0].toDouble(), box[1].toDouble(), box[2].toDouble(),
                                 box[3].toDouble());
            } else if (xml.name() == QLatin1String("text")) {
                QFont font(a.value("font-family").toString());
                font.setPixelSize(a.value("font-size").toInt());
                const QString anchor = a.value("text-anchor").toString();
                const QString text = xml.readElementText();
                const double width = QFontMetricsF(font).horizontalAdvance(text);
                const double left =
                    a.value("x").toDouble() - width * (anchor == QLatin1String("middle") ? 0.5
                                                       : anchor == QLatin1String("end")  ? 1.0
                                                                                         : 0.0);
                if (left < picture.left() || left + width > picture.right())
                    problems << QStringLiteral("%1: \"%2\" from %3 to %4 of %5")
                                    .arg(f.fileName(), text)
                                    .arg(left, 0, 'f', 1)
                                    .arg(left + width, 0, 'f', 1)
                                    .arg(picture.width());
            }
        }
    }
    EXPECT_TRUE(problems.isEmpty()) << "labels cut at the picture's edge:\n"
                                    << problems.join('\n').toStdString();
}

// Every vessel and flow element picture whole in its frame, its name clear of it, on a laptop
// and on a large screen.
TEST_F(PageFitTest, EveryPictureShowsWholeWithItsNameClearOfIt) {
    QStringList problems;
    for (const Screen& s : {Screen{1366, 768}, Screen{1920, 1080}}) {
        set_screen_area_for_tests(
            ScreenArea{QRect(0, 0, s.width, s.height), QRect(0, 0, s.width, s.height - 40)});
        MainWindow& w = open_main_window(1, 1);
        w.show();
        flush();
        const auto look = [&](QWidget& page, const QString& what) {
            w.cso_tabs->setCurrentWidget(&page);
            settle();
            QSet<QString> seen;
            for (const QString& p : page_problems(page, w, seen))
                problems << QStringLiteral("%1x%2 %3: %4").arg(s.width).arg(s.height).arg(what, p);
        };
        show_fullest_set(false);
        for (int shape = 0; shape <= 12; ++shape) {
            parameter_rows().set_text(600, QString::number(shape));
            look(*w.vessel_page, QStringLiteral("vessel shape %1").arg(shape));
        }
        show_fullest_set(true);
        const std::pair<int, int> elements[] = {{1, 1}, {1, 4}, {1, 7}, {2, 2}, {2, 4}, {3, 1},
                                                {3, 4}, {4, 1}, {4, 2}, {4, 3}, {5, 1}, {5, 2}};
        for (const auto& [type, model] : elements) {
            parameter_rows().set_text(700, QString::number(type));
            parameter_rows().set_text(701, QString::number(model));
            look(*w.flow_page, QStringLiteral("flow element %1/%2").arg(type).arg(model));
        }
        w.close();
        flush();
    }
    EXPECT_TRUE(problems.isEmpty()) << problems.size() << " faults:\n"
                                    << problems.join('\n').toStdString();
}

} // namespace
