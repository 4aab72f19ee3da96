#pragma once
// A clean run for every shell test: fresh state, a temporary program folder and local data folder,
// scripted dialogs and a chosen locale. Nothing touches the real home folder.

#include "platform/dialogs.h"
#include "platform/program_folder.h"
#include "platform/sysinfo.h"
#include "platform/vb.h"
#include "shell/definitions_table.h"
#include "shell/shell_state.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

class ShellTest : public ::testing::Test {
protected:
    QTemporaryDir tmp;
    platform::ScopedScriptedDialogs dialogs;
    QString program;  // the program folder
    QString appdata;  // the local application data folder (made by the program when missing)

    void SetUp() override {
        ASSERT_TRUE(tmp.isValid());
        reset_shell_state();
        for (auto& record : definitions_table())
            record.text.clear();
        program = tmp.filePath("program");
        appdata = tmp.filePath("share");
        ASSERT_TRUE(QDir().mkpath(program));
        platform::set_program_folder(program);
        set_locale("English");
        platform::number_separators() = {};
    }

    void TearDown() override {
        platform::reset_system_info();
        platform::set_program_folder(QString());
        platform::number_separators() = {};
        platform::set_application_title(QString());
    }

    void set_locale(const QString& language, const QString& decimal = ".",
                    const QString& thousands = ",") {
        platform::SystemInfo info;
        info.language_name = language;
        info.decimal_separator = decimal;
        info.thousands_separator = thousands;
        info.computer_name = "bench-pc";
        info.user_name = "tester";
        info.local_appdata = appdata;
        platform::set_system_info(info);
    }

    QString ini() const { return program + "/general.ini"; }

    static void write_file(const QString& path, const QByteArray& bytes) {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
        f.write(bytes);
    }

    static QString read_file(const QString& path) {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(f.readAll());
    }

    // The pictures and lang.def as they ship, in this test's program folder.
    void install_shipped_files() {
        const QString shipped = QStringLiteral(QUILLARN_DATA_DIR);
        for (const char* name : {"Images/d_painting.jpg", "Images/t_painting.jpg",
                                 "pordyvastrelo2.jpg", "veltolog.ico", "quillarn.ico",
                                 "hartym.ico"}) {
            QDir().mkpath(QFileInfo(program + "/" + name).absolutePath());
            ASSERT_TRUE(QFile::copy(shipped + "/" + name, program + "/" + name)) << name;
        }
    }

    void write_language_file(const QByteArray& bytes) {
        write_file(program + "/Quillarn Version Definitions/lang.def", bytes);
    }
};
