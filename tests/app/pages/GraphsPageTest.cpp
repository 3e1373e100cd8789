// The Graphs page as the workshop uses it: the controls other code finds by name,
// "Update Display" drawing into the paint boxes, the one-shot Clear and Copy boxes,
// the presets writing the Param. page limits, and the mouse on the graph: the
// right-button cursor readout and the left-button zoom.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <memory>

#include "app/FileActionsFixture.h"
#include "app/pages/ControlLookup.h"
#include "app/pages/GraphsPage.h"
#include "app/pages/ParamPage.h"
#include "app/pages/SetupPage.h"
#include "display/GraphImageSupport.h"
#include "display/GraphPalette.h"
#include "display/SyntheticRuns.h"
#include "model/SessionModel.h"
#include "model/TextNumbers.h"

namespace dyno {
namespace {

using testing::click;
using testing::control;
using testing::setText;
using testing::text;

// The page on a window with the Param. and Setup pages it reads.
class GraphsPageTest : public ::testing::Test {
  protected:
    GraphsPageTest() {
        auto* param = new ParamPage(&window);
        auto* setup = new SetupPage(&window);
        page = new GraphsPage(*model, scaleInForce, *param, *setup, standIn.lock, &window);
        setScale({"0", "150", "0", "20", "0", "10000"});
    }

    void setScale(const std::array<QString, 6>& texts) {
        const char* boxes[] = {"startkmhedit", "endkmhedit",   "starthpedit",
                               "endhpedit",    "startrpmedit", "endrpmedit"};
        for (std::size_t i = 0; i < texts.size(); ++i) setText(window, boxes[i], texts[i]);
    }

    void record(int slot) {
        graph_testing::recordSyntheticRun(model->slot(slot), 0,
                                          graph_testing::syntheticRunOfSlot(slot));
    }

    void chooseRun(int slot, int item) {
        const auto name = QStringLiteral("test%1group").arg(slot).toLatin1();
        controls::radioItems(control<QGroupBox>(*page, name.constData()))[item]->click();
    }

    int chosenRun(int slot) const {
        int index = -2;
        const QByteArray name = QStringLiteral("test%1group").arg(slot).toLatin1();
        controls::readItemIndex(page, name.constData(), index);
        return index;
    }

    bool drawn(int slot) const {
        return !graph_testing::pixelsOfColour(page->images().graph, graph::powerColour(slot))
                    .empty();
    }

    QCheckBox* box(const char* name) const { return control<QCheckBox>(*page, name); }

    void mouse(QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held, QPoint at) {
        QWidget* grafwin = control<QWidget>(*page, "grafwin");
        QMouseEvent event(type, QPointF(at), grafwin->mapToGlobal(QPointF(at)), button, held,
                          Qt::NoModifier);
        QApplication::sendEvent(grafwin, &event);
    }
    void press(Qt::MouseButton button, QPoint at) {
        mouse(QEvent::MouseButtonPress, button, button, at);
    }
    void move(Qt::MouseButton held, QPoint at) { mouse(QEvent::MouseMove, Qt::NoButton, held, at); }
    void release(Qt::MouseButton button, QPoint at) {
        mouse(QEvent::MouseButtonRelease, button, Qt::NoButton, at);
    }

    std::unique_ptr<SessionModel> model = SessionModel::create();
    GraphScale scaleInForce{};
    RecordingMessageSink messages;
    testing::StandInSlot1 standIn{messages};
    QWidget window;
    GraphsPage* page = nullptr;
};

// Other pages, the settings file and the print find these controls by name.
TEST(GraphsPageControls, NamesCaptionsDefaultsAndHints) {
    auto model = SessionModel::create();
    GraphScale scale;
    ParamPage param;
    SetupPage setup;
    RecordingMessageSink messages;
    testing::StandInSlot1 standIn{messages};
    GraphsPage page(*model, scale, param, setup, standIn.lock);
    EXPECT_EQ(page.objectName(), "grafside1");
    const std::pair<const char*, QRect> paintBoxes[] = {{"grafwin", {161, 4, 600, 400}},
                                                        {"lodret", {140, 0, 21, 415}},
                                                        {"vandret", {160, 406, 601, 15}},
                                                        {"lodret2", {764, 0, 18, 415}},
                                                        {"data1", {0, 0, 133, 97}}};
    for (const auto& [name, geometry] : paintBoxes) {
        EXPECT_EQ(control<QWidget>(page, name)->geometry(), geometry) << name;
    }

    struct Check {
        QString name, caption, hint;
        bool checked;
    };
    std::vector<Check> checks{
        {"fixed_gearing_check", "Fixed Gearing", "", false},
        {"copy12", "Copy sess. 1->2", "Copy test1 (red) to test2 (blue)", false},
        {"copy13", "Copy sess. 1->3", "Copy test1 (red) to test3 (green)", false},
        {"copy14", "Copy sess. 1->4", "Copy test1 (red) to test3 (purple)", false}};
    const char* colourNames[] = {"red", "blue", "green", "purple"};
    for (int s = 1; s <= 4; ++s) {
        const QString n = QString::number(s);
        checks.push_back({"test" + n + "hp", "Hp", "Display Hp graph", true});
        checks.push_back({"test" + n + "tq", "Tq", "Display torque graph", false});
        checks.push_back({"reset" + n, "Clear",
                          QStringLiteral("Deselect display of %1 graph").arg(colourNames[s - 1]),
                          false});

        auto* group = control<QGroupBox>(page, ("test" + n + "group").toLatin1().constData());
        EXPECT_EQ(group->title(), "Test " + n);
        EXPECT_EQ(group->toolTip(), "Choose which run to display");
        EXPECT_EQ(group->palette().color(QPalette::WindowText), graph::legendColour(s));
        const auto items = controls::radioItems(group);
        ASSERT_EQ(items.size(), 3);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(items[i]->text(), QStringLiteral(" %1").arg(i + 1));
            EXPECT_EQ(items[i]->isChecked(), s == 1 && i == 0) << "only slot 1 shows run 1";
        }
        auto* remark = control<QLineEdit>(page, ("remarkline" + n).toLatin1().constData());
        EXPECT_TRUE(remark->isReadOnly());
        EXPECT_EQ(remark->focusPolicy(), Qt::NoFocus);
        EXPECT_EQ(remark->width(), 301);
    }
    for (const Check& check : checks) {
        auto* box = control<QCheckBox>(page, check.name.toLatin1().constData());
        EXPECT_EQ(box->text(), check.caption);
        EXPECT_EQ(box->toolTip(), check.hint);
        EXPECT_EQ(box->isChecked(), check.checked) << check.name.toStdString();
    }

    const auto scaleItems = controls::radioItems(control<QGroupBox>(page, "scalegroup"));
    ASSERT_EQ(scaleItems.size(), 2);
    EXPECT_EQ(scaleItems[0]->text() + "|" + scaleItems[1]->text(), "Speed|Speed + Rpm");
    EXPECT_TRUE(scaleItems[0]->isChecked());
    EXPECT_TRUE(control<QPushButton>(page, "updatebutton")->isDefault());
    EXPECT_TRUE(control<QWidget>(page, "bypass")->isHidden());
    EXPECT_TRUE(control<QWidget>(page, "smooth_value")->isHidden());
    const std::pair<const char*, const char*> buttons[] = {
        {"updatebutton", "Update Display"}, {"printbutton", "Print"},
        {"button50kmh", "0 - 50 Kmh"},      {"button250kmh", "0 - 250 Kmh"},
        {"button10000rpm", "10.000 Rpm"},   {"button15000rpm", "15.000 Rpm"},
        {"button5hp", "0 - 5 Hp"},          {"button50hp", "0 - 50 Hp"}};
    for (const auto& [name, caption] : buttons) {
        EXPECT_EQ(control<QPushButton>(page, name)->text(), caption);
    }
}

TEST_F(GraphsPageTest, UpdateDrawsTheChosenRunsAndEveryControlRedraws) {
    record(1);
    record(2);
    model->slot(1).remarkLine1.assign("Stage 2 exhaust");
    click(*page, "updatebutton");
    EXPECT_TRUE(drawn(1));
    EXPECT_FALSE(drawn(2)) << "no run chosen in slot 2";
    EXPECT_EQ(scaleInForce, (GraphScale{0, 150, 0, 20, 0, 10000}));
    EXPECT_EQ(text(*page, "remarkline1"), "Stage 2 exhaust");
    const auto shown = [this](const char* box) {
        return control<QWidget>(*page, box)->grab().toImage().convertToFormat(QImage::Format_RGB32);
    };
    EXPECT_EQ(shown("grafwin"), page->images().graph);
    EXPECT_EQ(shown("data1"), page->images().legend);

    chooseRun(2, 0);
    EXPECT_TRUE(drawn(2));
    box("test2hp")->click();
    EXPECT_FALSE(drawn(2)) << "Hp unticked: slot 2's power curve is gone";
    const QImage emptyRpmStrip = page->images().rpmLabels;
    controls::radioItems(control<QGroupBox>(*page, "scalegroup"))[1]->click();
    EXPECT_NE(page->images().rpmLabels, emptyRpmStrip) << "Speed + Rpm: engine-speed numbers";
}

TEST_F(GraphsPageTest, ClearAndCopyBoxesActOnceAndAreUnticked) {
    record(1);
    record(2);
    chooseRun(2, 0);
    ASSERT_TRUE(drawn(2));

    box("reset2")->click();  // its click runs the update
    EXPECT_EQ(chosenRun(2), -1);
    EXPECT_FALSE(box("reset2")->isChecked());
    EXPECT_FALSE(drawn(2));
    EXPECT_TRUE(page->graphState().selections[1].plotted) << "readout and legend stay";
    EXPECT_EQ(chosenRun(1), 0) << "other slots keep their run";

    int remarksStored = 0;
    page->setStoreRemarksOfSession1([&] { ++remarksStored; });
    QSignalSpy copied(page, &GraphsPage::sessionCopied);
    box("copy13")->setChecked(true);
    box("copy14")->setChecked(true);
    EXPECT_EQ(model->slot(3).run(0).rollerPeriods[10], 0) << "ticking alone copies nothing";
    click(*page, "updatebutton");
    for (int slot : {3, 4}) {
        EXPECT_EQ(model->slot(slot).run(0).rollerPeriods[10],
                  model->slot(1).run(0).rollerPeriods[10]);
    }
    EXPECT_EQ(remarksStored, 2);
    ASSERT_EQ(copied.count(), 2);
    EXPECT_EQ(copied.at(0).at(0).toInt(), 3);
    EXPECT_EQ(copied.at(1).at(0).toInt(), 4);
    EXPECT_FALSE(box("copy13")->isChecked());
    EXPECT_FALSE(box("copy14")->isChecked());

    const std::int32_t copiedPeriod = model->slot(3).run(0).rollerPeriods[10];
    model->slot(1).run(0).rollerPeriods[10] = copiedPeriod + 1000;
    click(*page, "updatebutton");
    EXPECT_EQ(model->slot(3).run(0).rollerPeriods[10], copiedPeriod) << "the copy acted once";
    EXPECT_EQ(copied.count(), 2);
}

TEST_F(GraphsPageTest, PresetsWriteTheParamLimitsAndCaptionsFollowTheUnits) {
    setText(window, "endhpedit", "37");
    click(*page, "button250kmh");
    EXPECT_EQ(text(window, "startkmhedit"), "0");
    EXPECT_EQ(text(window, "endkmhedit"), "250");
    EXPECT_EQ(text(window, "endhpedit"), "37") << "the other axes keep their limits";
    EXPECT_EQ(scaleInForce, (GraphScale{0, 250, 0, 37, 0, 10000})) << "and the graph redrew";
    setText(window, "startrpmedit", "3000");
    click(*page, "button15000rpm");
    EXPECT_EQ(text(window, "startrpmedit"), "0");
    EXPECT_EQ(text(window, "endrpmedit"), "15000");

    control<QCheckBox>(window, "kwflagbox")->setChecked(true);
    control<QCheckBox>(window, "mphflagbox")->setChecked(true);
    page->relabelUnits();
    EXPECT_EQ(control<QPushButton>(*page, "button100kmh")->text(), "0-100 Mph");
    EXPECT_EQ(control<QPushButton>(*page, "button20hp")->text(), "0 - 20 Kw");
    EXPECT_EQ(control<QPushButton>(*page, "button10000rpm")->text(), "10.000 Rpm");
    for (const char* name : {"test1hp", "test2hp", "test3hp", "test4hp"}) {
        EXPECT_EQ(box(name)->text(), "Kw");
    }
    click(*page, "button50kmh");
    EXPECT_EQ(text(window, "endkmhedit"), "50") << "50 mph, not converted";

    control<QCheckBox>(window, "kwflagbox")->setChecked(false);
    control<QCheckBox>(window, "mphflagbox")->setChecked(false);
    window.show();  // entering the page relabels it
    EXPECT_EQ(control<QPushButton>(*page, "button100kmh")->text(), "0-100 Kph");
    EXPECT_EQ(box("test3hp")->text(), "Hp");
}

TEST_F(GraphsPageTest, RightButtonShowsTheReadingsOfTheColumnUnderTheCursor) {
    record(1);
    record(2);
    chooseRun(2, 0);
    box("test2tq")->setChecked(true);
    click(*page, "updatebutton");
    const QImage plain = page->images().graph;
    const GraphState& state = page->graphState();

    press(Qt::RightButton, {300, 200});
    EXPECT_NE(page->images().graph.pixel(300, 250), plain.pixel(300, 250)) << "line inverted";
    move(Qt::RightButton, {320, 200});
    EXPECT_EQ(page->images().graph.pixel(300, 250), plain.pixel(300, 250)) << "old line removed";
    EXPECT_EQ(page->images().graph.pixel(320, 250), plain.pixel(320, 250) ^ 0x00FFFFFFu);

    const CursorReadout& readout = page->cursorReadout();
    ASSERT_TRUE(readout[0] && readout[1]);
    EXPECT_FALSE(readout[2] || readout[3]) << "slots never plotted show nothing";
    EXPECT_EQ(readout[0]->power.toStdString(), formatFixed(state.tables[0].powerAtColumn[320], 1));
    EXPECT_FALSE(readout[0]->torque);
    ASSERT_TRUE(readout[1]->torque);
    EXPECT_EQ(readout[1]->torque->toStdString(),
              formatFixed(state.tables[1].torqueAtColumn[320], 1));
    EXPECT_GT(state.tables[0].powerAtColumn[320], 1.0) << "column 320 lies on the curve";

    // The readings are written top left in the slots' colours.
    QImage expected = plain;
    {
        QPainter painter(&expected);
        drawCursorReadout(painter, readout);
    }
    const QRect readoutArea(0, 0, 120, 80);
    EXPECT_EQ(page->images().graph.copy(readoutArea), expected.copy(readoutArea));

    move(Qt::RightButton, {900, 200});
    EXPECT_EQ(page->cursorReadout()[0]->power.toStdString(),
              formatFixed(state.tables[0].powerAtColumn[599], 1))
        << "outside the graph the nearest column is read";

    release(Qt::RightButton, {900, 200});
    EXPECT_EQ(page->images().graph, plain) << "the release redraws: line and texts gone";
    EXPECT_FALSE(page->cursorReadout()[0]);
}

TEST_F(GraphsPageTest, LeftDragZoomsOnceWithoutTouchingTheParamLimits) {
    record(1);
    click(*page, "updatebutton");
    const QImage plain = page->images().graph;

    press(Qt::LeftButton, {100, 100});
    EXPECT_EQ(page->images().graph, plain) << "nothing is drawn at the press";
    const auto inverted = [&](int x, int y) {
        return page->images().graph.pixel(x, y) == (plain.pixel(x, y) ^ 0x00FFFFFFu);
    };
    move(Qt::LeftButton, {200, 200});
    EXPECT_TRUE(inverted(100, 150) && inverted(150, 100)) << "left and top edges of the band";
    move(Qt::LeftButton, {300, 300});
    EXPECT_EQ(page->images().graph.copy(195, 110, 10, 80), plain.copy(195, 110, 10, 80))
        << "the band's old right edge is removed";
    EXPECT_TRUE(inverted(100, 250) && inverted(250, 100)) << "the band follows the mouse";
    release(Qt::LeftButton, {300, 300});

    EXPECT_EQ(scaleInForce, (GraphScale{20, 80, 5, 15, 0, 10000}));
    EXPECT_EQ(text(window, "startkmhedit"), "0");
    EXPECT_EQ(text(window, "endkmhedit"), "150");
    EXPECT_EQ(text(window, "starthpedit"), "0");
    EXPECT_EQ(text(window, "endhpedit"), "20");
    const QImage zoomed = page->images().graph;
    const QImage zoomedLabels = page->images().axisLabels;

    // The zoomed picture is the one the limits 20..80 km/h and 5..15 hp draw.
    setScale({"20", "80", "5", "15", "0", "10000"});
    click(*page, "updatebutton");
    EXPECT_EQ(page->images().graph, zoomed);
    EXPECT_EQ(page->images().axisLabels, zoomedLabels);

    // The next update reads the Param. page again.
    setScale({"0", "150", "0", "20", "0", "10000"});
    press(Qt::LeftButton, {100, 100});
    release(Qt::LeftButton, {300, 300});
    click(*page, "updatebutton");
    EXPECT_EQ(scaleInForce, (GraphScale{0, 150, 0, 20, 0, 10000}));
    EXPECT_EQ(page->images().graph, plain);
}

}  // namespace
}  // namespace dyno
