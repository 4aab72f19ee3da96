// The number boxes beside the parameter rows, driven as a user types: every key reaches the box,
// and what is no number of the locale is refused with one message when the user leaves it.
#include "shell_test_support.h"

#include "shell/data_folder.h"
#include "shell/number_box.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>

namespace {

using NumberBoxTest = ShellTest;

// Types `text` into `target` key by key, as the keyboard would.
void type_keys(QWidget* target, const QString& text) {
    for (const QChar key : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(key));
        QApplication::sendEvent(target, &press);
    }
}

} // namespace

TEST_F(NumberBoxTest, ALeftBoxShowsTheNumberTypedOrGoesBackWithOneMessage) {
    // clang-format off
    const struct {
        const char *locale, *typed, *shown;
        TypedNumberKind kind;
        bool told;
        const char* says = "";
        const char* quoted = nullptr; // the typed text as the message shows it
        const char* taken_before = ""; // typed and taken before, the box left
        bool pasted = false;
    } cases[] = {
        {"de_DE", "0,5", "0,5", TypedNumberKind::Any, false},
        {"de_DE", "0.5", "7", TypedNumberKind::Any, true, "decimal separator is \",\""},
        {"fr_FR", "1.234,5", "7", TypedNumberKind::Any, true, "a plain or a no-break space"},
        {"de_DE", "1.000", "1000", TypedNumberKind::Any, false},
        {"de_DE", "2,5", "7", TypedNumberKind::Whole, true, "not a whole number"},
        {"de_DE", "\u202E12,5", "7", TypedNumberKind::Any, true, "\",\"", "<U+202E>12,5"},
        {"de_DE", "\u200F2,5", "7", TypedNumberKind::Whole, true, "whole", "<U+200F>2,5"},
        {"de_DE", "", "7", TypedNumberKind::Any, false}, // emptied: the value shown before
        // Too large or too near 0 to be kept, in a box without limits: refused, never 0 or "inf".
        {"de_DE", "1,7976931348623157E308", "7", TypedNumberKind::Any, true, "too large"},
        {"de_DE", "1E-400", "7", TypedNumberKind::Any, true, "too close to 0"},
        {"de_DE", "-1E308", "-1E+308", TypedNumberKind::Any, false},
        {"de_DE", "0.5", "0,5", TypedNumberKind::Any, true, "decimal separator", nullptr, "0,5"},
        // A line or paragraph end pasted would end the quotation's isolate, and the Hebrew after
        // it would turn the rest of the message round: shown by their codes.
        {"de_DE", "12,5\u2029\u05E9\u05DC\u05D5\u05DD", "7", TypedNumberKind::Any, true, "\",\"",
         "12,5<U+2029>\u05E9\u05DC\u05D5\u05DD", "", true},
        {"de_DE", "1\n2,5\r\u0085\u2028\t\v\f\u001C3", "7", TypedNumberKind::Any, true, "\",\"",
         "1<U+000A>2,5<U+000D><U+0085><U+2028><U+0009><U+000B><U+000C><U+001C>3", "", true}};
    // clang-format on
    for (const auto& c : cases) {
        platform::number_separators() = {",", ".", c.locale};
        QLineEdit box;
        watch_typed_number(&box, c.kind);
        box.setText("7");
        box.selectAll();
        box.del();
        if (*c.taken_before) { // a refusal puts back the last value taken, never an older one
            type_keys(&box, QString::fromUtf8(c.taken_before));
            emit box.editingFinished();
            box.selectAll();
            box.del();
        }
        if (c.pasted) {
            QApplication::clipboard()->setText(QString::fromUtf8(c.typed));
            box.paste();
        } else {
            type_keys(&box, QString::fromUtf8(c.typed));
        }
        dialogs.prompts.clear();
        emit box.editingFinished();
        QApplication::processEvents(); // the message comes once the leaving event has finished
        const QStringList told = dialogs.messages();
        EXPECT_EQ(fields(box.text(), told.size()),
                  fields(QString::fromUtf8(c.shown), c.told ? 1 : 0))
            << c.locale << " \"" << c.typed << "\": " << told.join(" ").toStdString();
        if (c.told && told.size() == 1) {
            // Quoted apart, its invisible controls shown: nothing typed turns the message round.
            const QString quoted = QString::fromUtf8(c.quoted ? c.quoted : c.typed).trimmed();
            EXPECT_TRUE(told.first().contains(QChar(0x2068) + quoted + QChar(0x2069)) &&
                        told.first().contains(c.says))
                << told.first().toStdString();
        }
    }
}

// What is no whole number within the spin box's range is refused with its one message when the
// user leaves the box: it shows its value again and the user is back in it, its text selected; a
// number beyond the range names the limits.
TEST_F(NumberBoxTest, AWholeNumberSpinBoxDropsNoKeyAndRefusesWhatIsNoWholeNumberInItsRange) {
    platform::number_separators() = {",", ".", "de_DE"};
    QWidget window;
    auto* spin = new WholeNumberSpinBox(&window);
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(spin);
    layout->addWidget(new QLineEdit(&window)); // where Tab goes from the box
    spin->setRange(0, 3600);
    spin->setKeyboardTracking(false);
    spin->setValue(5);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    // clang-format off
    const struct { const char* typed; int value; const char* says; } cases[] = {
        {"2,5", 5, "not a whole number"}, {"2.5", 5, "decimal separator"}, {"12", 12, nullptr},
        {"5000", 12, "from 0 to 3600"}, {"\u200E5000", 12, "\"\u2068<U+200E>5000\u2069\" is out"},
        {"1E309", 12, "from 0 to 3600"}, {"1E-400", 12, "too close to 0"},
        {"1.200", 1200, nullptr}, {"", 1200, nullptr}};
    // clang-format on
    for (const auto& c : cases) {
        spin->setFocus();
        QLineEdit* edit = spin->findChild<QLineEdit*>();
        edit->selectAll();
        edit->del();
        type_keys(edit, QString::fromUtf8(c.typed));
        EXPECT_EQ(edit->text(), QString::fromUtf8(c.typed))
            << "a key of \"" << c.typed << "\" was dropped";
        dialogs.prompts.clear();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QApplication::processEvents(); // the user is put back into the box after the message
        const QStringList told = dialogs.messages();
        EXPECT_EQ(fields(spin->value(), edit->text(), told.size(),
                         spin->hasFocus() && edit->selectedText() == edit->text()),
                  fields(c.value, QString::number(c.value), c.says ? 1 : 0, c.says != nullptr))
            << "\"" << c.typed << "\" became another number, or the user was left elsewhere";
        if (c.says && told.size() == 1) {
            EXPECT_TRUE(told.first().contains(c.says)) << told.first().toStdString();
        }
    }
}
