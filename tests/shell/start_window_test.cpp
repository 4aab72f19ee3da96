#include "shell/start_window.h"
#include "shell_test_support.h"

#include <QApplication>
#include <QFrame>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

void flush_deletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

class StartWindowTest : public ShellTest {
protected:
    int main_window_opened = 0;
    int access_level_when_opened = -1;

    void SetUp() override {
        ShellTest::SetUp();
        set_main_window_opener([this] {
            ++main_window_opened;
            access_level_when_opened = shell().access_level;
        });
        install_shipped_files();
        write_language_file("1139,logged in,angemeldet,connecte,collegato,conectado\r\n"
                            "1266,Engineer,Ingenieur,Ingenieur,Ingegnere,Ingeniero\r\n"
                            "1378,User,Benutzer,Utilisateur,Utente,Usuario\r\n");
    }
    void TearDown() override {
        if (start_window_loaded())
            start_window().close();
        set_main_window_opener({});
        flush_deletes();
        ShellTest::TearDown();
    }

    // Types a passcode and presses Enter, as a user at the start window would.
    void log_in(const QString& typed) {
        StartWindow& w = start_window();
        w.show();
        QTest::mouseClick(w.cmdOK, Qt::LeftButton);
        QTest::keyClicks(w.Text2, typed);
        QTest::keyClick(w.Text2, Qt::Key_Return);
        flush_deletes();
    }
};

} // namespace

TEST_F(StartWindowTest, FirstOkAsksForThePasscodeInTheUsersLanguage) {
    set_locale("German");
    StartWindow& w = start_window();
    w.show();
    EXPECT_FALSE(w.Frame1->isVisible()) << "the passcode frame shows before OK was pressed";
    EXPECT_NE(w.cmdOK->text(), "OK");
    EXPECT_FALSE(w.Image1->pixmap().isNull()) << "the start picture is missing";
    EXPECT_EQ(w.windowTitle(), "QuillarnPC");

    QTest::mouseClick(w.cmdOK, Qt::LeftButton);

    // Enter logs in, the passcode does not show as typed, the first OK does not log in.
    EXPECT_EQ(fields(w.Frame1->isVisible(), w.cmdOK->text(), w.cmdOK->isDefault(), w.Label4->text(),
                     w.Label3->text(), w.Text2->echoMode() == QLineEdit::Password, w.Text2->text(),
                     shell().access_level),
              fields(true, "OK", true, "Passwort",
                     "Bitte geben Sie das Passwort ein und druecken dann Enter", true, "", 0));
}

TEST_F(StartWindowTest, EnterInThePasscodeBoxLogsInAndOpensTheMainWindow) {
    const std::pair<const char*, int> cases[] = {{" 318406 ", 1}, {"905173", 2}, {"", 3}};
    for (const auto& [typed, level] : cases) {
        SCOPED_TRACE(typed);
        reset_shell_state();
        main_window_opened = 0;
        log_in(typed);

        // The start window closes and the main window opens once, after the level was set.
        EXPECT_EQ(
            fields(shell().access_level, shell().login_passcode, shell().login_passcode_copy,
                   start_window_loaded(), main_window_opened, access_level_when_opened),
            fields(level, QString(typed).trimmed(), QString(typed).trimmed(), false, 1, level));
    }
    EXPECT_TRUE(dialogs.prompts.empty());
}

TEST_F(StartWindowTest, AboutBoxClosesOnOkWithoutTouchingTheLogIn) {
    shell().access_level = 2;
    shell().about_box_mode = true;
    StartWindow& w = start_window();
    w.show();
    EXPECT_EQ(w.cmdOK->text(), "OK");
    QTest::mouseClick(w.cmdOK, Qt::LeftButton);
    flush_deletes();
    EXPECT_FALSE(start_window_loaded());
    EXPECT_EQ(shell().access_level, 2);
    EXPECT_EQ(main_window_opened, 0) << "the About box opened another main window";
}

TEST_F(StartWindowTest, MissingStartPictureStillOpensTheWindow) {
    QFile::remove(program + "/Images/d_painting.jpg");
    StartWindow& w = start_window();
    w.show();
    EXPECT_EQ(w.Image1->text(), "QuillarnPC");
    log_in("318406");
    EXPECT_EQ(shell().access_level, 1);
}

TEST(ShippedPictures, StartPicturesAndIconsAreReadableAndSmall) {
    for (const char* name : SHIPPED_PICTURES) {
        const QString path = QStringLiteral(QUILLARN_DATA_DIR "/") + name;
        QImageReader reader(path);
        EXPECT_FALSE(reader.read().isNull()) << name << ": " << reader.errorString();
        EXPECT_LT(QFileInfo(path).size(), 100 * 1024) << name;
    }
}
