// The KOVEX tab: its texts and commands as plain rules, and its sequences against the simulated
// unit's command log - Get Traces, dragging and sending points, Set and Default KOVEX, a CSO
// unit, a cancelled confirmation and a dead line - and its boxes holding the loaded set.
#include "../parameters/parameters_test_support.h"
#include "fields.h"
#include "simulated_unit.h"
#include "test_files.h"

#include "echo/echo_page.h"
#include "echo/echo_state.h"
#include "echo/kovex_page.h"
#include "echo/kovex_points.h"
#include "echo/kovex_rules.h"
#include "parameters/parameter_file.h"
#include "parameters/parameter_file_commands.h"
#include "parameters/parameter_rows.h"
#include "parameters/parameter_screen.h"
#include "platform/program_folder.h"
#include "platform/vb.h"
#include "shell/definitions_table.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <qcustomplot.h>

using unitsim::Misbehaviour;

namespace {

TEST(KovexRules, OnlyChangedPointsAreSentWithTheirFetchedSample) {
    // Moved points rounded and at their fetched samples run in KovexTest.DraggedPointsAreSent...
    EXPECT_EQ(kovex_point_commands({{0, 500, 500}, {3, 200, -12.6}}), QStringList({"/Y3:-13"}));
}

TEST(KovexRules, RightClickTextsAreCappedAndTheLossKeepsItsLeadingZero) {
    platform::number_separators() = {",", "."};
    const struct {
        double x, y;
        const char* limit;
        const char* loss;
    } cases[] = {{0.5, 300.4, "300", "0.5"}, {2.345, 0.2, "0", "2.35"}, {12, 1200, "999", "7.5"},
                 {3, 450.5, "451", "3"}};
    for (const auto& c : cases) {
        EXPECT_EQ(kovex_limit_text(c.y, 999), c.limit);
        EXPECT_EQ(kovex_loss_text(c.x, 7.5), c.loss);
    }
    platform::number_separators() = {};
}

TEST(KovexRules, ReadoutTextPickingAndDragging) {
    platform::number_separators() = {};
    EXPECT_EQ(kovex_annotation(0, 2.25, 42), "Xducer - KOVEX=042,Loss=2.3");
    EXPECT_EQ(kovex_annotation(3, 2.25, 42), "Tx - KOVEX=042,Perdita=2.3");
    const std::vector<QPointF> at = {{10, 10}, {20, 10}, {30, 10}};
    EXPECT_EQ(std::tuple(pick_point(at, {21, 12}, 6), pick_point(at, {25, 30}, 6)),
              std::tuple(1, -1));
    EXPECT_EQ(dragged_value(1200, 999), 999);
    EXPECT_EQ(dragged_value(-40, 999), -40) << "there is no lower cap";
}

class KovexTest : public SimulatedUnitTest {
protected:
    void SetUp() override {
        SimulatedUnitTest::SetUp();
        reset_echo_state();
        platform::number_separators() = {};
        shell().login_passcode = "318406";
        definitions_table()[104].value_text = "1";
        sim->unit().echo().set_level_mm(2000);
        sim->unit().echo().set_sample_count(100);
        // The parameter rows the tab's boxes show, as the catalogue gives them.
        parameter_rows().create_rows(KovexPage::parameters());
        make_tab();
    }
    void make_tab() {
        kovex.reset();
        page.reset();
        echo_page = std::make_unique<EchoPage>();
        page = std::make_unique<KovexPage>(*echo_page);
        page->resize(1100, 600);
        page->show();
        KovexHooks hooks;
        hooks.show_wait = [this](const QString& t) { waits << t.trimmed(); };
        hooks.hide_wait = [this] { ++hidden; };
        kovex = std::make_unique<KovexPoints>(*page, hooks);
    }
    void TearDown() override {
        kovex.reset();
        page.reset();
        echo_page.reset();
        reset_parameter_rows();
        reset_parameter_screen_hooks();
        reset_parameter_state();
        if (!saved_folder.isNull()) {
            platform::set_program_folder(saved_folder);
            definitions_table() = DefinitionsTable{};
        }
        definitions_table()[104].value_text.clear();
        SimulatedUnitTest::TearDown();
    }
    // The shipped catalogue and texts with every parameter at its default, rows for every
    // defined parameter with their edit check (none, as before a set is loaded, without
    // `with_rows`), and the tab made again on them.
    void use_shipped_catalogue(bool with_rows = true) {
        saved_folder = platform::program_folder();
        platform::set_program_folder(QUILLARN_DATA_DIR);
        load_shipped_catalogue();
        for (int P = 20; P <= 999; ++P) {
            DefinitionRecord& r = rec(P);
            r.present = !r.lookup_code.isEmpty();
            r.unit_value = r.present ? r.default_value : NO_VALUE;
            r.value_text = r.present ? platform::number_text_c(r.default_value) : "NO";
        }
        rec(926).value_text = "2.0.5";
        if (with_rows)
            ensure_parameter_rows();
        make_tab();
    }
    // Types into the tab's box of P and presses Enter, as the user does.
    void type(int P, const QString& text) {
        QLineEdit* b = page->parameter_boxes.at(P);
        b->selectAll();
        QTest::keyClicks(b, text);
        QTest::keyClick(b, Qt::Key_Return);
    }
    // The commands after the log-on's identification.
    QStringList after(const QString& first) const {
        const QStringList all = received();
        const qsizetype at = all.lastIndexOf(first);
        return at < 0 ? QStringList() : all.mid(at);
    }
    QPointF pixel_of(int point) const {
        QCustomPlot* c = page->kovex_chart;
        c->replot();
        const auto it = c->graph(1)->data()->constBegin() + point;
        return {c->xAxis->coordToPixel(it->key), c->yAxis->coordToPixel(it->value)};
    }
    void drag(int point, double to_value) {
        QCustomPlot* c = page->kovex_chart;
        const QPointF from = pixel_of(point);
        kovex->kovex_chart_click(Qt::LeftButton, from);
        ASSERT_EQ(kovex->grabbed_point_index(), point);
        kovex->kovex_chart_hover({from.x(), c->yAxis->coordToPixel(to_value)});
        kovex->kovex_cursor_reset();
    }

    std::unique_ptr<EchoPage> echo_page;
    std::unique_ptr<KovexPage> page;
    std::unique_ptr<KovexPoints> kovex;
    QStringList waits;
    int hidden = 0;
    QString saved_folder;
};

TEST_F(KovexTest, GetTracesDrawsTheRawEchoAndTheKovexCurveAndUnmovedPointsStayUnsent) {
    kovex->Command17_Click();
    EXPECT_EQ(after("/ECHORAW1"), QStringList({"/ECHORAW1", "/ECHOKOVEX1"}));
    EXPECT_EQ(std::tuple(page->kovex_chart->graph(0)->dataCount(), page->kovex_chart->graph(1)->dataCount(),
                         kovex->points().size()),
              std::tuple(100, 100, 100u));
    EXPECT_FALSE(link().point_transfer_active || link().echo_online)
        << "the link stayed in echo mode without live monitoring";
    EXPECT_TRUE(page->view_points_box->isEnabled() && page->default_kovex_button->isEnabled());
    EXPECT_FALSE(page->send_points_button->isEnabled()) << "Send Points offered with View Points off";
    EXPECT_TRUE(waits.last() == ui_text(1238).trimmed() && hidden >= 1);

    sim->clear_received();
    kovex->Command14_Click();
    EXPECT_EQ(after("/LOADQUICK").mid(0, 3), QStringList({"/LOADQUICK", "/LOADNORM", "/ECHORAW1"}))
        << "points were sent that nobody moved";
}

TEST_F(KovexTest, DraggedPointsAreSentAndTheUnitsCurveFollows) {
    kovex->Command17_Click();
    page->view_points_box->setChecked(true);
    EXPECT_TRUE(page->send_points_button->isEnabled() && !page->set_kovex_button->isEnabled());
    drag(40, 700);
    drag(60, 0.2);
    const int v40 = static_cast<int>(std::round(kovex->points()[40].value));
    EXPECT_NEAR(v40, 700, 5);
    sim->clear_received();
    kovex->Command14_Click();
    const QStringList sent = after("/LOADQUICK");
    ASSERT_GE(sent.size(), 6);
    EXPECT_EQ(sent.mid(0, 4), QStringList({"/LOADQUICK", QStringLiteral("/Y40:%1").arg(v40),
                                           "/Y60:0", "/LOADNORM"}))
        << "only the two moved points, each at the sample it was fetched as";
    EXPECT_EQ(std::tuple(int(echo_state().traces.at(40, 3)), int(echo_state().traces.at(60, 3))),
              std::tuple(v40, 0))
        << "the next fetch did not show the new points";
    EXPECT_FALSE(page->view_points_box->isChecked());
}

TEST_F(KovexTest, RightClicksFillThePointBoxesInTurnAndSetKovexSendsTheSet) {
    kovex->Command17_Click();
    page->point_options[7]->setChecked(true);
    QCustomPlot* c = page->kovex_chart;
    c->replot();
    kovex->kovex_chart_click(Qt::RightButton,
                             {c->xAxis->coordToPixel(2.0), c->yAxis->coordToPixel(400)});
    EXPECT_NEAR(page->parameter_boxes[184]->text().toDouble(), 400, 3);
    EXPECT_NEAR(page->parameter_boxes[185]->text().toDouble(), 2.0, 0.03);
    EXPECT_TRUE(page->point_options[0]->isChecked()) << "point 8 is followed by point 1";
    for (int p : KovexPage::parameters())
        if (page->parameter_boxes[p]->text().isEmpty())
            parameter_rows().set_text(p, "1");
    parameter_rows().set_text(83, "0"); // not above 0: not sent
    sim->clear_received();
    dialogs.answers = {platform::Answer::Ok};
    kovex->Command16_Click();
    QStringList expected = {"/LOADQUICK", "/p41:1", "/p81:1", "/p82:1", "/p84:1"};
    for (int p = 109; p <= 112; ++p)
        expected << QStringLiteral("/p%1:1").arg(p);
    for (int p = 170; p <= 185; ++p)
        expected << QStringLiteral("/p%1:%2").arg(p).arg(page->parameter_boxes[p]->text());
    expected << "/p905:1" << "/LOADNORM" << "/p20:2" << "/ECHORAW1";
    EXPECT_EQ(after("/LOADQUICK").mid(0, expected.size()), expected);
    EXPECT_EQ(sim->unit().echo().rebuilds(), 1);
}

// A cancelled confirmation of Set or Default KOVEX sends nothing, and neither does Enter.
TEST_F(KovexTest, DefaultKovexRestoresTheUnitsSetAndReadsItBack) {
    kovex->Command17_Click();
    page->point_options[5]->setChecked(true);
    sim->clear_received();
    kovex->Command16_Click();
    kovex->Command15_Click();
    EXPECT_TRUE(received().isEmpty()) << "Enter changed the unit's KOVEX curve";
    dialogs.answers = {platform::Answer::Cancel, platform::Answer::Cancel};
    kovex->Command16_Click();
    kovex->Command15_Click();
    EXPECT_TRUE(received().isEmpty());
    dialogs.answers = {platform::Answer::Ok};
    kovex->Command15_Click();
    QStringList expected = {"/p20:3", "/LOADQUICK", "/p41", "/p81", "/p82", "/p83", "/p84"};
    for (int p = 170; p <= 185; ++p)
        expected << QStringLiteral("/p%1").arg(p);
    for (int p = 109; p <= 112; ++p)
        expected << QStringLiteral("/p%1").arg(p);
    expected << "/p905" << "/LOADNORM" << "/ECHORAW1";
    EXPECT_EQ(after("/p20:3").mid(0, expected.size()), expected);
    EXPECT_EQ(sim->unit().echo().restores(), 1);
    EXPECT_EQ(page->parameter_boxes[170]->text() + " " + page->parameter_boxes[171]->text(), "810 0.5");
    EXPECT_TRUE(page->point_options[0]->isChecked());
}

TEST_F(KovexTest, ADeadLineEndsTheSequenceAtItsFirstFailedCommand) {
    kovex->Command17_Click();
    page->view_points_box->setChecked(true);
    drag(10, 600);
    drag(20, 600);
    sim->clear_received();
    sim->misbehave_on("/Y*", Misbehaviour::silence());
    kovex->Command14_Click();
    finish_put_back();
    EXPECT_EQ(received().filter("/Y").size(), 3) << "the second point was still sent";
    EXPECT_EQ(received().filter("/Y")[0], received().filter("/Y")[2]);
    EXPECT_EQ(dialogs.messages().size(), 1) << "one message for a dead line";
    EXPECT_FALSE(link().point_transfer_active);
    EXPECT_FALSE(received().contains("/ECHORAW1"));
    EXPECT_EQ(fields(received().last(), sim->unit().quick_mode()), fields("/LOADNORM", false))
        << "a unit still on the line was left in quick-load mode";
}

TEST_F(KovexTest, GetTracesWithoutTracesIsToldAndLeavesTheKeysAsTheyWere) {
    struct Case {
        const char* command;
        Misbehaviour fault;
        const char* message;
    };
    const Case cases[] = {
        {"/ECHORAW1", Misbehaviour::garbage(), "The unit's answer could not be read"},
        {"/ECHOKOVEX1", Misbehaviour::garbage(), "The unit's answer could not be read"},
        {"/ECHORAW1", Misbehaviour::silence(), "No reply from the unit"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        make_tab();
        dialogs.prompts.clear();
        sim->misbehave_on(c.command, c.fault, 1);
        kovex->Command17_Click();
        ASSERT_EQ(dialogs.messages().size(), 1) << "Get Traces failed without a word";
        EXPECT_TRUE(dialogs.messages()[0].startsWith(c.message))
            << dialogs.messages()[0].toStdString();
        const std::array<QWidget*, 4> keys = {page->send_points_button, page->default_kovex_button, page->set_kovex_button,
                                              page->view_points_box};
        for (QWidget* key : keys)
            EXPECT_FALSE(key->isEnabled()) << key->objectName().toStdString();
        EXPECT_TRUE(kovex->points().empty() && !link().point_transfer_active);
        EXPECT_GE(hidden, 1) << "the wait message stayed";
    }
}

// The tab's boxes are the loaded set's own: a set shows there as soon as it is loaded, Set KOVEX
// sends what both pages show, and what is typed on the tab or read by Default KOVEX is in the set
// the next save writes.
TEST_F(KovexTest, TheBoxesHoldTheLoadedSetOnBothPagesAndInTheNextSave) {
    use_shipped_catalogue();
    QList<QByteArray> set = par_line().split(',');
    for (const auto& [name, p41] : {std::pair{"12.par", "12"}, std::pair{"30.par", "30"}}) {
        set[41 - 20] = p41;
        testfiles::write_bytes(dir.filePath(name), set.join(','));
    }
    ASSERT_TRUE(openparamfile(dir.filePath("12.par"), true));
    EXPECT_EQ(page->parameter_boxes[41]->text(), "12") << "the tab was empty before Get Traces";
    kovex->Command17_Click();
    ASSERT_TRUE(openparamfile(dir.filePath("30.par"), true));
    EXPECT_EQ(page->parameter_boxes[41]->text(), "30") << "the tab kept the set before";
    type(81, "7");
    EXPECT_EQ(parameter_rows().text(81), "7") << "typed on the tab, not on the parameter page";
    type(81, "7,5"); // no number where the decimal separator is "."
    QApplication::processEvents();
    EXPECT_EQ(fields(parameter_rows().text(81), page->parameter_boxes[81]->selectedText()),
              fields("7", "7"))
        << "after the refusal the tab's box must hold the old value, selected for the correction";
    const QString p82 = page->parameter_boxes[82]->text();
    // Emptied: nothing is stored, and the stored value shows again on both pages.
    page->parameter_boxes[82]->selectAll();
    QTest::keyClick(page->parameter_boxes[82], Qt::Key_Backspace);
    ASSERT_EQ(parameter_rows().text(82), "") << "the box was not emptied";
    QTest::keyClick(page->parameter_boxes[82], Qt::Key_Return);
    EXPECT_EQ(fields(parameter_rows().text(82), page->parameter_boxes[82]->text()), fields(p82, p82))
        << "the emptied box does not show the value the set still holds";

    // Typed and not left: Set KOVEX refuses it first, and asks and sends nothing.
    QLineEdit* p81 = page->parameter_boxes[81];
    p81->setFocus();
    p81->selectAll();
    QTest::keyClicks(p81, "7,5");
    sim->clear_received();
    dialogs.prompts.clear();
    dialogs.answers = {platform::Answer::Ok};
    kovex->Command16_Click();
    QApplication::processEvents();
    EXPECT_EQ(fields(dialogs.messages().size(), received().join(' '), p81->selectedText()),
              fields(1, "", "7"))
        << "Set KOVEX went on after refusing what was typed: "
        << dialogs.messages().join(" | ").toStdString();

    sim->clear_received();
    dialogs.answers = {platform::Answer::Ok};
    kovex->Command16_Click();
    const QStringList sent = after("/LOADQUICK");
    EXPECT_TRUE(sent.contains("/p41:30") && sent.contains("/p81:7") &&
                sent.contains("/p82:" + p82))
        << "Set KOVEX sent: " << sent.join(' ').toStdString();

    // The unit's own first limit is 810; the sets hold 0.
    dialogs.answers = {platform::Answer::Ok};
    kovex->Command15_Click();
    EXPECT_EQ(fields(parameter_rows().text(170), page->parameter_boxes[170]->text()),
              fields("810", "810"));
    dialogs.files.push_back(dir.filePath("saved.par"));
    saveparameterstofile_Click();
    QFile f(dir.filePath("saved.par"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QList<QByteArray> saved = f.readAll().split(',');
    EXPECT_EQ(fields(saved[41 - 20], saved[81 - 20], saved[82 - 20], saved[170 - 20]),
              fields("30", "7", p82, "810"))
        << "the save wrote KOVEX values the unit no longer has";
}

TEST_F(KovexTest, DefaultKovexBeforeAnySetIsLoadedShowsTheUnitsValuesOnBothPages) {
    use_shipped_catalogue(false);
    dialogs.answers = {platform::Answer::Ok};
    kovex->Command15_Click();
    EXPECT_EQ(fields(parameter_rows().text(170), page->parameter_boxes[170]->text(),
                     parameter_rows().text(171), page->parameter_boxes[171]->text()),
              fields("810", "810", "0.5", "0.5"))
        << "the unit's KOVEX set was read and shown on neither page";
}

TEST_F(KovexTest, ACsoUnitEditsItsSetButNotItsPoints) {
    make_unit(unitsim::UnitKind::Cso);
    sim->unit().echo().set_sample_count(50);
    make_tab();
    page->view_points_box->setChecked(true);
    QApplication::processEvents();
    auto* boxes = page->findChild<QWidget*>("kovex_boxes");
    const auto places = [&] {
        const QRect key = page->get_traces_button->geometry();
        const QPoint at = boxes->mapTo(page.get(), QPoint());
        return fields(key.x(), key.y(), key.width(), at.x(), at.y());
    };
    const auto before = places();
    kovex->Command17_Click();
    QApplication::processEvents();
    EXPECT_EQ(places(), before) << "the buttons or the boxes moved under the user's mouse";
    EXPECT_TRUE(link().cso_unit);
    EXPECT_EQ(std::tuple(page->view_points_box->isChecked(), page->view_points_box->isEnabled(),
                         page->view_points_box->isHidden(), page->send_points_button->isEnabled()),
              std::tuple(false, false, true, false));
    EXPECT_TRUE(page->set_kovex_button->isEnabled() && page->default_kovex_button->isEnabled());
}

} // namespace
