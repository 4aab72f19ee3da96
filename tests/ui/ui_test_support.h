#pragma once
// A clean run for every main window test: fresh state, a temporary program folder holding the
// shipped language file and icons, scripted dialogs, and a program end that is only counted.

#include "parameters/parameter_state.h"
#include "../shell/shell_test_support.h"
#include "link/link_state.h"
#include "logging/log_setup_state.h"
#include "shell/start_window.h"
#include "shell/settings_keys.h"
#include "ui/main_window.h"
#include "ui/main_window_state.h"

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QtTest/qtestspontaneevent.h>

class UiTest : public ShellTest {
protected:
    int program_ended = 0;

    void SetUp() override {
        ShellTest::SetUp();
        install_shipped_files();
        const QString definitions = "/Quillarn Version Definitions/";
        QDir().mkpath(program + definitions);
        for (const char* name : {"lang.def", "access_vars.def"})
            ASSERT_TRUE(
                QFile::copy(QUILLARN_DATA_DIR + definitions + name, program + definitions + name))
                << name;
        reset_log_setup_state();
        reset_link_state();
        reset_main_window_state();
        reset_parameter_state();
        set_program_ender([this] { ++program_ended; });
        platform::set_command_line(QString());
    }

    void TearDown() override {
        if (form1_loaded())
            main_window().close();
        flush();
        set_program_ender({});
        set_main_window_opener({});
        platform::set_command_line(QString());
        ShellTest::TearDown();
    }

    static void flush() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }

    // general.ini of a user who chose this identity, mode and language, and any further lines.
    void write_settings(int software_mode, int operation_mode, int language = 0,
                        const QByteArray& more = {}) {
        write_file(ini(),
                   "[General]\r\nLanguage=" + QByteArray::number(language) +
                       "\r\nStartLogo=0\r\nSoftware Mode=" + QByteArray::number(software_mode) +
                       "\r\nMode Operation=" + QByteArray::number(operation_mode) + "\r\n" + more);
    }

    // The main window as a user at `level` gets it, loaded but not yet shown, after the start
    // window settled the identity, the title and the data folder.
    MainWindow& open_main_window(int software_mode, int operation_mode, int language = 0, int level = 1,
                            const QByteArray& more_settings = {}) {
        write_settings(software_mode, operation_mode, language, more_settings);
        start_window();
        start_window().close();
        flush();
        shell().access_level = static_cast<int16_t>(level);
        return main_window();
    }
};

// A key that writes nothing (a modifier) pressed and released alone, as the window system gives it
// to the focus widget `w`: the press is first offered as a shortcut override.
inline void key_alone(QWidget* w, Qt::Key key, bool press = true, bool release = true) {
    for (const QEvent::Type type : {QEvent::ShortcutOverride, QEvent::KeyPress, QEvent::KeyRelease})
        if (type == QEvent::KeyRelease ? release : press) {
            QKeyEvent e(type, key, Qt::NoModifier);
            e.ignore();
            QSpontaneKeyEvent::setSpontaneous(&e);
            QApplication::instance()->notify(w, &e);
        }
}
