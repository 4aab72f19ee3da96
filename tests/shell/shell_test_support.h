#pragma once
// A clean run for every shell test: fresh state, a temporary program folder and local data folder,
// scripted dialogs and a chosen locale. Nothing touches the real home folder.
#include "fields.h"
#include "platform/dialogs.h"
#include "platform/program_folder.h"
#include "platform/sysinfo.h"
#include "platform/vb.h"
#include "shell/definitions_table.h"
#include "shell/shell_state.h"
#include "test_files.h"

#include <QTemporaryDir>

using testfiles::read_bytes;
using testfiles::write_bytes;

// The start pictures and icons that ship with the program.
inline constexpr const char* SHIPPED_PICTURES[] = {"Images/d_painting.jpg", "Images/t_painting.jpg",
                                                   "pordyvastrelo2.jpg",    "veltolog.ico",
                                                   "quillarn.ico",          "hartym.ico"};

class ShellTest : public ::testing::Test {
protected:
    QTemporaryDir tmp;
    platform::ScopedScriptedDialogs dialogs;
    QString program = tmp.filePath("program"); // the program folder
    QString appdata = tmp.filePath("share");   // made by the program when missing

    void SetUp() override {
        ASSERT_TRUE(tmp.isValid());
        reset_shell_state();
        for (auto& record : definitions_table())
            record.text.clear();
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
        write_bytes(path, bytes);
    }
    static QString read_file(const QString& path) {
        return QFile::exists(path) ? QString::fromUtf8(read_bytes(path)) : QString();
    }

    // The pictures as they ship, in this test's program folder.
    void install_shipped_files() {
        QDir().mkpath(program + "/Images");
        for (const char* name : SHIPPED_PICTURES)
            ASSERT_TRUE(QFile::copy(QUILLARN_DATA_DIR "/" + QString(name), program + "/" + name))
                << name;
    }
    void write_language_file(const QByteArray& bytes) {
        write_bytes(program + "/Quillarn Version Definitions/lang.def", bytes);
    }
};
