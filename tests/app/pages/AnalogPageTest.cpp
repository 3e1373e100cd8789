// The Analog page's controls as other code finds them: their component names and
// kinds, the start-up choices, the reach of the offset, zoom and scroll controls,
// and "Reset tests" putting every slot back to offset 0.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QStringList>
#include <functional>
#include <memory>

#include "app/FileActionsFixture.h"
#include "app/RecordingMessageSink.h"
#include "app/pages/AnalogPage.h"
#include "app/pages/ControlLookup.h"
#include "display/GraphPalette.h"
#include "model/SessionModel.h"
#include "support/StandInElectronics.h"

namespace dyno {
namespace {

using testing::control;

class AnalogPageTest : public ::testing::Test {
  protected:
    QSpinBox* move(int slot) const {
        return control<QSpinBox>(page, QStringLiteral("move%1").arg(slot).toLatin1().constData());
    }
    QSpinBox* zoom() const { return control<QSpinBox>(page, "zoomupdown"); }
    QScrollBar* scrollbar() const { return control<QScrollBar>(page, "scrollbar1"); }

    QStringList itemCaptions(const char* name) const {
        QStringList captions;
        if (auto* group = control<QGroupBox>(page, name)) {
            for (QRadioButton* item : controls::radioItems(group)) captions << item->text();
        }
        return captions;
    }

    int chosenItem(const char* name) const {
        int index = -2;
        EXPECT_TRUE(controls::readItemIndex(&page, name, index)) << name;
        return index;
    }

    std::unique_ptr<SessionModel> model = SessionModel::create();
    RecordingMessageSink messages;
    testing::StandInSlot1 standIn{messages};
    AnalogPage page{*model, standIn.lock};
};

TEST_F(AnalogPageTest, EveryControlIsFoundByItsComponentNameAsItsKind) {
    EXPECT_EQ(page.objectName(), QStringLiteral("analogside"));
    const std::vector<std::pair<const char*, std::function<bool(QObject*)>>> expected{
        {"anawin", [](QObject* o) { return qobject_cast<QWidget*>(o) != nullptr; }},
        {"lskala", [](QObject* o) { return qobject_cast<QWidget*>(o) != nullptr; }},
        {"hskala", [](QObject* o) { return qobject_cast<QWidget*>(o) != nullptr; }},
        {"update_anawin", [](QObject* o) { return qobject_cast<QPushButton*>(o) != nullptr; }},
        {"reset_tests", [](QObject* o) { return qobject_cast<QPushButton*>(o) != nullptr; }},
        {"vskala", [](QObject* o) { return qobject_cast<QGroupBox*>(o) != nullptr; }},
        {"left_scale", [](QObject* o) { return qobject_cast<QGroupBox*>(o) != nullptr; }},
        {"zoomupdown", [](QObject* o) { return qobject_cast<QSpinBox*>(o) != nullptr; }},
        {"scrollbar1", [](QObject* o) { return qobject_cast<QScrollBar*>(o) != nullptr; }},
    };
    for (const auto& [name, isRightKind] : expected) {
        const auto found = page.findChildren<QObject*>(QString::fromLatin1(name));
        ASSERT_EQ(found.size(), 1) << name;
        EXPECT_TRUE(isRightKind(found.front())) << name;
    }
    for (int c = 1; c <= 5; ++c) {
        const auto name = QStringLiteral("dana%1").arg(c);
        auto* box = page.findChild<QCheckBox*>(name);
        ASSERT_NE(box, nullptr) << name.toStdString();
        EXPECT_EQ(box->text(), QStringLiteral("Ch. %1").arg(c));
        EXPECT_FALSE(box->isChecked()) << name.toStdString();
    }
    for (int s = 1; s <= 4; ++s) {
        EXPECT_NE(page.findChild<QGroupBox*>(QStringLiteral("ana_grafsel%1").arg(s)), nullptr) << s;
        EXPECT_NE(move(s), nullptr) << s;
    }
}

TEST_F(AnalogPageTest, PaintBoxesSitAroundTheBlackPlot) {
    QWidget* anawin = control<QWidget>(page, "anawin");
    ASSERT_NE(anawin, nullptr);
    EXPECT_EQ(anawin->geometry(), QRect(44, 2, 600, 400));
    EXPECT_EQ(page.images().plot.pixelColor(300, 200), QColor(Qt::black));
    EXPECT_EQ(control<QWidget>(page, "lskala")->geometry(), QRect(4, 0, 37, 421));
    EXPECT_EQ(control<QWidget>(page, "hskala")->geometry(), QRect(648, 0, 41, 421));
}

TEST_F(AnalogPageTest, ButtonsCarryTheirCaptions) {
    EXPECT_EQ(control<QPushButton>(page, "update_anawin")->text(), QStringLiteral("Update"));
    EXPECT_EQ(control<QPushButton>(page, "reset_tests")->text(), QStringLiteral("Reset tests"));
}

TEST_F(AnalogPageTest, RunChoicesStartWithOnlySlot1OnRun1) {
    EXPECT_EQ(chosenItem("ana_grafsel1"), 1);
    EXPECT_EQ(chosenItem("ana_grafsel2"), 0);
    EXPECT_EQ(chosenItem("ana_grafsel3"), 0);
    EXPECT_EQ(chosenItem("ana_grafsel4"), 0);
    EXPECT_EQ(itemCaptions("ana_grafsel1"), (QStringList{" 0 ", " 1", " 2", " 3"}));
    for (const char* name : {"ana_grafsel2", "ana_grafsel3", "ana_grafsel4"}) {
        EXPECT_EQ(itemCaptions(name), (QStringList{" 0", " 1", " 2", " 3"})) << name;
        EXPECT_EQ(control<QGroupBox>(page, name)->title(), QStringLiteral("Run nr.")) << name;
    }
}

TEST_F(AnalogPageTest, RunChoicesAreWrittenInTheirSlotColours) {
    for (int s = 1; s <= 4; ++s) {
        auto* group = page.findChild<QGroupBox*>(QStringLiteral("ana_grafsel%1").arg(s));
        ASSERT_NE(group, nullptr);
        EXPECT_EQ(group->palette().color(QPalette::WindowText), graph::legendColour(s)) << s;
    }
}

TEST_F(AnalogPageTest, ScaleChoicesStartOnPowerAndChannel1) {
    EXPECT_EQ(chosenItem("vskala"), 0);
    EXPECT_EQ(itemCaptions("vskala"), (QStringList{"Hp", "Speed"}));
    EXPECT_EQ(control<QGroupBox>(page, "vskala")->title(), QStringLiteral("V. scale"));
    EXPECT_EQ(chosenItem("left_scale"), 0);
    EXPECT_EQ(itemCaptions("left_scale"),
              (QStringList{"Ch. 1", "Ch. 2", "Ch. 3", "Ch. 4", "Ch. 5"}));
    EXPECT_EQ(control<QGroupBox>(page, "left_scale")->title(), QStringLiteral("Left scale"));
}

TEST_F(AnalogPageTest, RunChoiceStaysSingleWithinItsSlot) {
    auto* group = control<QGroupBox>(page, "ana_grafsel2");
    controls::radioItems(group)[3]->click();
    EXPECT_EQ(chosenItem("ana_grafsel2"), 3);
    EXPECT_EQ(chosenItem("ana_grafsel1"), 1);
}

TEST_F(AnalogPageTest, SlotOffsetsReachFrom0To800) {
    for (int s = 1; s <= 4; ++s) {
        QSpinBox* offset = move(s);
        ASSERT_NE(offset, nullptr);
        EXPECT_EQ(offset->value(), 0) << s;
        offset->setValue(900);
        EXPECT_EQ(offset->value(), 800) << s;
        offset->setValue(-5);
        EXPECT_EQ(offset->value(), 0) << s;
    }
}

TEST_F(AnalogPageTest, ZoomStartsAt2AndStaysWithin1To10) {
    QSpinBox* z = zoom();
    ASSERT_NE(z, nullptr);
    EXPECT_EQ(z->value(), 2);
    EXPECT_EQ(z->toolTip(), QStringLiteral("Horizontal zoom"));
    z->setValue(0);
    EXPECT_EQ(z->value(), 1);
    z->setValue(11);
    EXPECT_EQ(z->value(), 10);
    bool labelled = false;
    for (QLabel* l : page.findChildren<QLabel*>()) {
        labelled = labelled || (l->buddy() == z && l->text() == QStringLiteral("Zoom"));
    }
    EXPECT_TRUE(labelled);
}

TEST_F(AnalogPageTest, MoveLabelsNameTheirSlots) {
    for (int s = 1; s <= 4; ++s) {
        QLabel* found = nullptr;
        for (QLabel* l : page.findChildren<QLabel*>()) {
            if (l->buddy() == move(s)) found = l;
        }
        ASSERT_NE(found, nullptr) << s;
        EXPECT_EQ(found->text(), QStringLiteral("Move test %1").arg(s));
        EXPECT_EQ(found->palette().color(QPalette::WindowText), graph::powerColour(s)) << s;
    }
}

TEST_F(AnalogPageTest, ScrollBarStepsBy10And100OverSamples0To800) {
    QScrollBar* bar = scrollbar();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->orientation(), Qt::Horizontal);
    EXPECT_EQ(bar->value(), 0);
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(bar->value(), 10);
    // The trough moves 100 samples at every zoom; the thumb is 600 / zoom samples.
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(bar->value(), 110);
    EXPECT_EQ(bar->pageStep(), 300);
    zoom()->setValue(3);
    EXPECT_EQ(bar->pageStep(), 200);
    bar->triggerAction(QAbstractSlider::SliderPageStepSub);
    EXPECT_EQ(bar->value(), 10);
    bar->triggerAction(QAbstractSlider::SliderPageStepSub);
    EXPECT_EQ(bar->value(), 0);
    bar->setValue(750);
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(bar->value(), 800) << "the last offset dynotool analog reaches too";
    bar->setValue(5000);
    EXPECT_EQ(bar->value(), 800);
    bar->setValue(-1);
    EXPECT_EQ(bar->value(), 0);
}

TEST_F(AnalogPageTest, ResetTestsPutsEverySlotBackTo0) {
    for (int s = 1; s <= 4; ++s) move(s)->setValue(100 * s + 7);
    scrollbar()->setValue(200);
    zoom()->setValue(5);
    testing::click(page, "reset_tests");
    for (int s = 1; s <= 4; ++s) EXPECT_EQ(move(s)->value(), 0) << s;
    EXPECT_EQ(scrollbar()->value(), 200);
    EXPECT_EQ(zoom()->value(), 5);
}

}  // namespace
}  // namespace dyno
