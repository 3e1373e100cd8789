// The Graphs page inside the main window: F2 is "Update Display" from anywhere in
// the window, a copy carries the Remarks page's texts of session 1, and a picture
// of four sessions on top of each other.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <cstdlib>

#include "app/composition/MainWindow.h"
#include "app/pages/ControlLookup.h"
#include "app/pages/GraphsPage.h"
#include "display/GraphImageSupport.h"
#include "display/GraphPalette.h"
#include "display/SyntheticRuns.h"
#include "model/SessionModel.h"

namespace dyno {
namespace {

class GraphsPageInWindow : public ::testing::Test {
  protected:
    GraphsPageInWindow() {
        for (int s = 1; s <= 4; ++s) {
            graph_testing::recordSyntheticRun(model->slot(s), 0,
                                              graph_testing::syntheticRunOfSlot(s));
        }
        const char* boxes[] = {"startkmhedit", "endkmhedit",   "starthpedit",
                               "endhpedit",    "startrpmedit", "endrpmedit"};
        const char* limits[] = {"0", "120", "0", "20", "0", "10000"};
        for (int i = 0; i < 6; ++i) {
            controls::writeText(&window, boxes[i], QString::fromLatin1(limits[i]));
        }
    }

    GraphsPage& page() { return *window.graphsPage(); }
    QWidget* named(const char* name) { return controls::find<QWidget>(&window, name); }

    std::unique_ptr<SessionModel> model = SessionModel::create();
    MainWindow window{*model, QDir::currentPath()};
};

TEST_F(GraphsPageInWindow, F2UpdatesLikeTheButtonFromAnotherPage) {
    const QImage before = page().images().graph;
    QWidget* elsewhere = named("tempedit");  // on the Param. page
    ASSERT_NE(elsewhere, nullptr);
    QKeyEvent f2(QEvent::KeyPress, Qt::Key_F2, Qt::NoModifier);
    QApplication::sendEvent(elsewhere, &f2);
    const QImage afterF2 = page().images().graph;
    EXPECT_NE(afterF2, before);
    EXPECT_FALSE(graph_testing::pixelsOfColour(afterF2, graph::powerColour(1)).empty());
    EXPECT_EQ(window.programState().graphScale, (GraphScale{0, 120, 0, 20, 0, 10000}));

    controls::writeText(&window, "endhpedit", QStringLiteral("30"));
    QApplication::sendEvent(elsewhere, &f2);
    const QImage rescaled = page().images().graph;
    static_cast<QPushButton*>(named("updatebutton"))->click();
    EXPECT_EQ(page().images().graph, rescaled) << "F2 and the button draw the same";
    EXPECT_NE(rescaled, afterF2);
}

TEST_F(GraphsPageInWindow, CopyCarriesSession1sRemarksIntoTheTargetSlotsBoxes) {
    controls::writeText(&window, "makebox1", QStringLiteral("Piaggio"));
    controls::writeText(&window, "remarklinebox1a", QStringLiteral("70 cc kit, 19 mm carb"));
    controls::writeChecked(&window, "copy12", true);
    static_cast<QPushButton*>(named("updatebutton"))->click();

    EXPECT_EQ(model->slot(2).make.view(), "Piaggio");
    QString shown;
    ASSERT_TRUE(controls::readText(&window, "makebox2", shown));
    EXPECT_EQ(shown, "Piaggio");
    ASSERT_TRUE(controls::readText(&window, "remarklinebox2a", shown));
    EXPECT_EQ(shown, "70 cc kit, 19 mm carb");
    ASSERT_TRUE(controls::readText(&window, "remarkline1", shown));
    EXPECT_EQ(shown, "70 cc kit, 19 mm carb") << "the legend shows slot 1's first remark";
}

// Four sessions on top of each other, power and torque, with the engine-speed scale.
// Set DYNO_SCREENSHOT_DIR to keep the picture as graphs-page.png.
TEST_F(GraphsPageInWindow, FourOverlaidSessionsAppearOnThePage) {
    const char* remarks[] = {"Stock, 19 mm carb", "70 cc kit", "70 cc kit, sport exhaust",
                             "70 cc kit, sport exhaust, 21 mm carb"};
    for (int s = 1; s <= 4; ++s) model->slot(s).remarkLine1.assign(remarks[s - 1]);
    window.pages()->setCurrentWidget(&page());
    window.show();
    for (int s = 2; s <= 4; ++s) {
        const QByteArray group = QStringLiteral("test%1group").arg(s).toLatin1();
        controls::writeItemIndex(&window, group.constData(), 0);
    }
    controls::writeChecked(&window, "test1tq", true);
    controls::writeItemIndex(&window, "scalegroup", 1);
    page().updateDisplay();

    const QImage shot = page().grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage graph = shot.copy(QRect(QPoint(161, 4), QSize(600, 400)));
    EXPECT_EQ(graph, page().images().graph) << "the paint box sits at (161,4)";
    for (int s = 1; s <= 4; ++s) {
        EXPECT_FALSE(graph_testing::pixelsOfColour(graph, graph::powerColour(s)).empty()) << s;
        QString remark;
        const QByteArray box = QStringLiteral("remarkline%1").arg(s).toLatin1();
        ASSERT_TRUE(controls::readText(&window, box.constData(), remark));
        EXPECT_EQ(remark, remarks[s - 1]) << "every slot has its legend line";
    }
    if (const char* folder = std::getenv("DYNO_SCREENSHOT_DIR")) {
        const QString path = QDir(QString::fromLocal8Bit(folder)).filePath("graphs-page.png");
        EXPECT_TRUE(page().grab().save(path)) << path.toStdString();
    }
}

}  // namespace
}  // namespace dyno
