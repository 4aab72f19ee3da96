// Every top-level menu entry answers an Alt+letter, in every language, even where a check box of
// the echo page carries the same letter.
#include "ui/menu_bar_keys.h"
#include "ui_test_support.h"

#include <QMenuBar>
#include <QTest>

TEST(MenuBarMnemonic, CaptionGetsTheFirstLetterNotTaken) {
    // Taken letters compare without case, a mnemonic of its own stays, "12" has no letter to give
    // and "ab" every letter taken.
    // clang-format off
    struct Case { const char* caption; const char* taken; const char* expected; } cases[] = {
        {"Modem", "", "&Modem"}, {"Modem", "m", "M&odem"}, {"Modem", "MO", "Mo&dem"},
        {"&Rechner", "r", "&Rechner"}, {"Fish && Chips", "fish", "Fish && &Chips"},
        {"Módem", "m", "M&ódem"}, {"12", "", "12"}, {"ab", "ab", "ab"}, {"", "", ""}};
    // clang-format on
    for (const Case& c : cases)
        EXPECT_EQ(with_mnemonic(QString::fromUtf8(c.caption), QString::fromUtf8(c.taken)),
                  QString::fromUtf8(c.expected))
            << c.caption << " with " << c.taken << " taken";
}

TEST(MenuBarMnemonic, LetterIsReadPastDoubledAmpersands) {
    EXPECT_EQ(mnemonic_of("&Setup"), QChar('s'));
    EXPECT_EQ(mnemonic_of("A && &B"), QChar('b'));
    EXPECT_TRUE(mnemonic_of("A && B").isNull());
    EXPECT_TRUE(mnemonic_of("Trailing&").isNull());
}

namespace {

class MenuBarKeysTest : public UiTest {};

} // namespace

TEST_F(MenuBarKeysTest, EveryTopLevelEntryHasALetterOfItsOwnInEachLanguage) {
    for (int language = 0; language < 5; ++language) {
        for (int identity : {0, 1, 2}) {
            MainWindow& w = open_main_window(identity, 0, language);
            QString letters;
            for (const QAction* a : w.menuBar()->actions()) {
                if (a->isSeparator() || !a->isVisible())
                    continue;
                const QChar letter = mnemonic_of(a->text());
                EXPECT_FALSE(letter.isNull())
                    << a->text().toStdString() << " in language " << language;
                EXPECT_FALSE(!letter.isNull() && letters.contains(letter))
                    << a->text().toStdString() << " shares its letter, language " << language;
                letters += letter;
            }
            w.close();
            flush();
        }
    }
}

TEST_F(MenuBarKeysTest, AltLetterSharedWithACheckBoxOpensTheMenuEntry) {
    // German: "&Rechner" and the echo page's "&Roh-Echo"; English: "&Re-program"'s R is a menu
    // with a list, so the calculator's own C and the modem's M are checked as well.
    // clang-format off
    struct Case { int language; Qt::Key key; const char* entry; } cases[] = {
        {1, Qt::Key_R, "calculator"}, {1, Qt::Key_M, "modem"}, {0, Qt::Key_C, "calculator"},
        {0, Qt::Key_M, "modem"}};
    // clang-format on
    for (const Case& c : cases) {
        MainWindow& w = open_main_window(1, 0, c.language);
        int calculator = 0, modem = 0;
        w.services.show_calculator = [&] { ++calculator; };
        w.services.show_modem_window = [&] { ++modem; };
        w.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
        QTest::keyClick(&w, c.key, Qt::AltModifier);
        QTest::qWait(20);
        const bool calculator_key = QLatin1String(c.entry) == QLatin1String("calculator");
        EXPECT_EQ(fields(calculator, modem), fields(calculator_key ? 1 : 0, calculator_key ? 0 : 1))
            << c.language << " " << c.entry;
        w.close();
        flush();
    }
}
