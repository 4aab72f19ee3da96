// The keys every desktop user relies on in a dialog: Escape leaves any window that has a Cancel or
// Close, and Enter presses its default key, wherever the focus is (a text box included).
#include "ui_test_support.h"

#include "link/debug_terminal.h"
#include "link/parameter_window.h"
#include "link/modem_window.h"
#include "link/port_window.h"
#include "link/traffic_box.h"
#include "logging/legend_window.h"
#include "logging/log_chart_model.h"
#include "reports/power_calculator_window.h"
#include "reports/print_header_window.h"
#include "reports/print_preview.h"
#include "reports/report_window.h"
#include "shell/language_file.h"
#include "ui/setup_dialog.h"

#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

namespace {

class DialogKeys : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        shell().ini_path = ini();
        load_language_file();
        log_chart_model().remove_all_series();
        log_chart_model().add_series(QStringLiteral("Level (m)"));
    }
    void TearDown() override {
        log_chart_model().remove_all_series();
        UiTest::TearDown();
    }

    // The key as the user types it: to the widget that has the focus, or to the window.
    static void type(QWidget* window, Qt::Key key) {
        window->show();
        window->activateWindow();
        QApplication::setActiveWindow(window);
        QWidget* target = window->focusWidget() ? window->focusWidget() : window;
        QTest::keyClick(target, key);
        QCoreApplication::processEvents();
    }
    static QWidget* first_text_box(QWidget* window) {
        for (auto* box : window->findChildren<QLineEdit*>())
            if (box->isVisibleTo(window) && box->isEnabled())
                return box;
        return nullptr;
    }
};

} // namespace

TEST_F(DialogKeys, EscapeLeavesEveryWindowWithACancelOrClose) {
    platform::ScopedScriptedDialogs dialogs;
    reports::ReportWindow owner;
    struct Case {
        const char* window;
        std::function<QWidget*()> open;
        bool made_here = false; // not one of the program's single windows
    };
    const Case cases[] = {
        {"Setup", [] { return static_cast<QWidget*>(&setup_dialog()); }},
        {"Print Header", [] { return static_cast<QWidget*>(&print_header_window()); }},
        {"calendar", [&] { return static_cast<QWidget*>(new reports::CalendarDialog(owner)); }, true},
        {"port window", [] { return static_cast<QWidget*>(&port_window()); }},
        {"interactive window", [] { return static_cast<QWidget*>(&parameter_window()); }},
        {"report", [] { return static_cast<QWidget*>(new reports::ReportWindow); }, true},
        {"print preview", [] { return static_cast<QWidget*>(new reports::PrintPreview); }, true},
        {"power calculator", [] { return static_cast<QWidget*>(new PowerCalculatorWindow); }, true},
        {"debug terminal", [] { return static_cast<QWidget*>(&debug_terminal()); }},
        {"modem window", [] { return static_cast<QWidget*>(&modem_window()); }},
    };
    // Escape with the focus on each control in turn: none may swallow it, except the debug
    // terminal's box, which sends it to the unit.
    for (const Case& c : cases) {
        for (int i = 0;; ++i) {
            QPointer<QWidget> w = c.open();
            w->show();
            QList<QWidget*> stops;
            for (QWidget* child : w->findChildren<QWidget*>())
                if (child->isVisibleTo(w) && child->isEnabled() &&
                    (child->focusPolicy() & Qt::TabFocus) &&
                    (!qobject_cast<TrafficBox*>(child) || w == &modem_window()))
                    stops << child;
            if (i >= stops.size()) {
                w->hide();
                if (c.made_here)
                    delete w.data();
                break;
            }
            stops[i]->setFocus();
            const QString where =
                stops[i]->metaObject()->className() + QStringLiteral(" ") + stops[i]->objectName();
            type(w, Qt::Key_Escape);
            EXPECT_TRUE(w.isNull() || !w->isVisible())
                << c.window << " stays open after Escape with the focus on " << where;
            if (w && c.made_here)
                delete w.data();
        }
    }

    // The title dialog runs modally: Escape leaves it with the title as it was.
    log_chart_model().series(0).title = QStringLiteral("Level (m)");
    series_title_dialog_runner() = [](QDialog& d) {
        QTest::keyClicks(d.findChild<QLineEdit*>(QStringLiteral("Text1")), "x");
        type(&d, Qt::Key_Escape);
        return d.isVisible() ? -1 : d.result();
    };
    EXPECT_FALSE(edit_series_title(0, nullptr)) << "the title dialog stays open after Escape";
    EXPECT_EQ(log_chart_model().series(0).title, QStringLiteral("Level (m)"));
    series_title_dialog_runner() = [](QDialog& d) { return d.exec(); };
}

TEST_F(DialogKeys, EnterInATextBoxPressesTheDefaultKey) {
    platform::ScopedScriptedDialogs dialogs;
    struct Case {
        const char* window;
        std::function<QWidget*()> open;
        const char* default_key;
    };
    const Case cases[] = {
        {"Setup", [] { return static_cast<QWidget*>(&setup_dialog()); }, "Command3"},
        {"Print Header",
         [] {
             PrintHeaderWindow& w = print_header_window();
             w.cmdPrint->setEnabled(true); // as once the listing's printing is installed
             return static_cast<QWidget*>(&w);
         },
         "cmdPrint"},
        {"report", [] { return static_cast<QWidget*>(new reports::ReportWindow); }, "Command1"},
    };
    for (const Case& c : cases) {
        QPointer<QWidget> w = c.open();
        w->show();
        auto* key = w->findChild<QPushButton*>(QLatin1String(c.default_key));
        ASSERT_NE(key, nullptr) << c.window;
        QSignalSpy pressed(key, &QPushButton::clicked);
        QWidget* box = first_text_box(w);
        ASSERT_NE(box, nullptr) << c.window;
        box->setFocus();
        type(w, Qt::Key_Return);
        EXPECT_EQ(pressed.count(), 1) << c.window << ": Enter did not press " << c.default_key;
        if (w && w->isVisible())
            w->hide();
    }

    log_chart_model().series(0).title = QStringLiteral("Level (m)");
    series_title_dialog_runner() = [](QDialog& d) {
        auto* box = d.findChild<QLineEdit*>(QStringLiteral("Text1"));
        box->setText(QStringLiteral("Weir level"));
        box->setFocus();
        type(&d, Qt::Key_Return);
        return d.isVisible() ? -1 : d.result();
    };
    EXPECT_TRUE(edit_series_title(0, nullptr)) << "Enter did not press OK in the title dialog";
    EXPECT_EQ(log_chart_model().series(0).title, QStringLiteral("Weir level"));
    series_title_dialog_runner() = [](QDialog& d) { return d.exec(); };
}
