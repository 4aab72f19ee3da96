// The CSO logger's packed log set-up page: the packing arithmetic, and the page with its help.
#include "logging_test.h"

namespace {

using cso::FrameRect;

TEST(CsoPacking, KeptFramesCloseUpBesideAndBelowEachOther) {
    cso::PackInput in;
    in.frame11_left = 120;
    in.frame0 = {900, 200, 2000, 3000};
    in.frame3_top = 260;
    in.lowest_box_bottom = {{3, 700}, {2, 900}, {6, 500}, {7, 1000}};
    const std::map<int, FrameRect> expected = {
        {0, {120, 200, 1800, 3000}},  {3, {1970, 260, 1600, 760}},   {2, {3620, 260, 1200, 960}},
        {6, {1970, 1070, 2850, 560}}, {7, {1970, 1680, 2850, 1060}},
    };
    const auto frames = cso::packed_frames(in);
    EXPECT_EQ(frames, expected);
}

// The page test below shows the user's part; a language without one sees the whole page.
TEST(CsoHelp, ALanguageWithoutAPartSeesTheWholePage) {
    const QString page =
        "<h3><a name=\"en\"></a>Help</h3><p>one</p><h3><a name=\"de\"></a>Hilfe</h3>";
    EXPECT_EQ(fields(cso::help_section(page, 3), cso::help_section("plain", 1)),
              fields(page, "plain"));
}

class CsoScreenTest : public ::testing::Test {
protected:
    void SetUp() override {
        reset_shell_state();
        ASSERT_TRUE(dir.isValid());
        platform::set_program_folder(dir.path());
    }
    void TearDown() override { platform::set_program_folder(QString()); }
    QTemporaryDir dir;
};

TEST_F(CsoScreenTest, ThePageShowsTheHelpInTheUsersLanguageBesideThePackedFrames) {
    QFile f(dir.filePath("help.htm"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("<h3><a name=\"en\"></a>Setting up</h3><h3><a name=\"de\"></a>Einrichten</h3>");
    f.close();
    shell().language_index = 1;
    LogSetupPage page;
    QTextBrowser* browser = pack_cso_screen(page);
    ASSERT_NE(browser, nullptr);
    EXPECT_EQ(browser->objectName(), "WebBrowser1");
    EXPECT_TRUE(browser->toPlainText().contains("Einrichten") &&
                !browser->toPlainText().contains("Setting up"));
    EXPECT_GE(page.channel_frames[0]->minimumWidth(), 120) << "1800 twips";
    page.resize(1000, 600);
    page.show();
    EXPECT_EQ(page.channel_frames[6]->width(), page.channel_frames[7]->width());
    EXPECT_EQ(page.channel_frames[6]->x(), page.channel_frames[3]->x()) << "frame 6 stands under frame 3";
    EXPECT_GT(page.channel_frames[2]->x(), page.channel_frames[3]->x()) << "frame 2 stands right of frame 3";
    for (int c : {2, 3, 17, 21})
        EXPECT_GE(page.channel_boxes[c]->width(), page.channel_boxes[c]->sizeHint().width())
            << "channel " << c << " has its caption cut";
}

TEST_F(CsoScreenTest, AMissingHelpPageIsSaidInTheBrowser) {
    LogSetupPage page;
    QTextBrowser* browser = pack_cso_screen(page);
    EXPECT_TRUE(browser->toPlainText().contains("help.htm"))
        << browser->toPlainText().toStdString();
}

} // namespace
