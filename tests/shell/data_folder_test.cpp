#include "shell/data_folder.h"
#include "shell/list_control.h"
#include "shell_test_support.h"

#include <QComboBox>
#include <QListWidget>
#include <QSignalSpy>

TEST_F(ShellTest, DataFolderFallsBackToTheFirstBrandThenToTheProgramFolder) {
    EXPECT_EQ(get_data_folder(9, "QuillarnPC"), appdata + "/Dravik/QuillarnPC");
    EXPECT_TRUE(QFileInfo(appdata + "/Dravik/QuillarnPC").isDir());

    platform::SystemInfo info = platform::system_info();
    for (const QString& unusable : {QString(), tmp.filePath("blocked/share")}) {
        write_bytes(tmp.filePath("blocked"), "a file where a folder should be");
        info.local_appdata = unusable;
        platform::set_system_info(info);
        EXPECT_EQ(get_data_folder(1, "QuillarnPC"), program) << unusable;
    }
    EXPECT_EQ(get_local_appdata(), "-1");

    info.local_appdata = appdata;
    platform::set_system_info(info);
    write_bytes(appdata + "/Tamzo", "a file named like the brand folder");
    EXPECT_EQ(get_data_folder(1, "QuillarnPC"), program);
    EXPECT_TRUE(dialogs.prompts.empty());
}

TEST_F(ShellTest, SystemInfoGivesLocaleNamesAndSeparators) {
    set_locale(" German ", ",", ".");
    read_system_info();
    EXPECT_EQ(fields(shell().locale_language_name, shell().decimal_separator,
                     shell().thousands_separator, shell().computer_name, shell().user_name),
              fields("GERMAN", ",", ".", "bench-pc", "tester"));
    EXPECT_EQ(platform::to_double("1.234,5").value_or(0), 1234.5)
        << "numbers typed in the user's locale are misread";

    const QString nbsp = QString(QChar(0x00A0));
    set_locale("French", ",", nbsp);
    read_system_info();
    EXPECT_EQ(shell().thousands_separator, nbsp) << "the no-break space separator was lost";
}

TEST_F(ShellTest, FileExistsOnlyForPlainFilesAndTextIsCutAtNul) {
    write_bytes(program + "/general.ini", "[General]\n");
    write_bytes(program + "/.hidden", "x");
    EXPECT_TRUE(file_exists(program + "/general.ini"));
    for (const QString& no :
         {program, program + "/missing.ini", program + "/.hidden", QString(), QString("/dev/null")})
        EXPECT_FALSE(file_exists(no)) << no;

    EXPECT_EQ(cut_at_nul(QString("abc") + QChar(0) + "junk"), "abc");
    EXPECT_EQ(cut_at_nul("no terminator"), "");
}

TEST(ListControl, FillSelectsByExactTextOrByIndexAsAUserWould) {
    const QStringList units = {"metres", "cm", "mm", "feet", "inches"};
    // clang-format off
    const struct { const char* select_text; int index, selected; } cases[] = {
        {"FEET", 0, -1}, {"mm", -5, 2}, {"#NoIndex", 2, 2}, {"#NoIndex", -1, -1}, {"#NoIndex", 9, -1}};
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.select_text) + " " + std::to_string(c.index));
        QComboBox combo;
        combo.addItem("stale");
        QSignalSpy combo_changed(&combo, &QComboBox::currentIndexChanged);
        fill_list_control(combo, units, c.select_text, static_cast<int16_t>(c.index));
        EXPECT_EQ(fields(combo.count(), combo.currentIndex(), combo_changed.count()),
                  fields(5, c.selected, c.selected >= 0 ? 1 : 0));

        QListWidget list;
        QSignalSpy list_changed(&list, &QListWidget::currentRowChanged);
        fill_list_control(list, units, c.select_text, static_cast<int16_t>(c.index));
        EXPECT_EQ(fields(list.count(), list.currentRow(), list_changed.count()),
                  fields(5, c.selected, c.selected >= 0 ? 1 : 0));
    }
}
