// The Analog page in the window: which controls redraw, the right-button cursor, and
// the picture compared pixel for pixel with what `dynotool analog` writes.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QGroupBox>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QSpinBox>
#include <QTemporaryDir>
#include <cmath>
#include <functional>
#include <memory>

#include "app/FileActionsFixture.h"
#include "app/RecordingMessageSink.h"
#include "app/composition/MainWindow.h"
#include "app/pages/AdSettingsPage.h"
#include "app/pages/AnalogPage.h"
#include "app/pages/ControlLookup.h"
#include "display/SyntheticRuns.h"
#include "display/graph/GraphCursor.h"
#include "files/AnalogSettingsFileCodec.h"
#include "files/SessionArchive.h"
#include "files/SessionLoading.h"
#include "model/SessionModel.h"
#include "support/DynotoolRun.h"
#include "support/StandInElectronics.h"

namespace dyno {
namespace {

using testing::control;

// A full-length run with all five channels recorded: slow waves of different speeds.
void recordSession(TestSession& session, int slot) {
    graph_testing::recordSyntheticRun(session, 0, graph_testing::syntheticRunOfSlot(slot));
    for (int c = 0; c < kAnalogChannels; ++c) {
        auto& samples = session.analogSamples[0][static_cast<std::size_t>(c)];
        for (std::size_t i = 0; i < samples.size(); ++i) {
            const double wave = std::sin(0.01 * (c + 1) * static_cast<double>(i) + slot);
            samples[i] = static_cast<std::uint16_t>(512 + 100 * c - 50 + 300 * wave);
        }
    }
}

// Pixels whose colours differ; the first few are printed.
int differingPixels(const QImage& a, const QImage& b) {
    int count = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            if (a.pixelColor(x, y) == b.pixelColor(x, y)) continue;
            if (++count <= 5) {
                ADD_FAILURE() << "(" << x << "," << y
                              << "): " << a.pixelColor(x, y).name().toStdString() << " against "
                              << b.pixelColor(x, y).name().toStdString();
            }
        }
    }
    return count;
}

QRadioButton* item(const AnalogPage& page, const char* group, int index) {
    return controls::radioItems(control<QGroupBox>(page, group))[index];
}

void sendMouse(AnalogPage& page, QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held,
               QPoint at) {
    QWidget* anawin = control<QWidget>(page, "anawin");
    QMouseEvent event(type, QPointF(at), anawin->mapToGlobal(QPointF(at)), button, held,
                      Qt::NoModifier);
    QApplication::sendEvent(anawin, &event);
}

class AnalogPageRedraws : public ::testing::Test {
  protected:
    AnalogPageRedraws() {
        recordSession(model->slot(1), 1);
        page.setOtherPagesReader([this](AnalogView&) { ++redraws; });
    }

    std::unique_ptr<SessionModel> model = SessionModel::create();
    RecordingMessageSink messages;
    testing::StandInSlot1 standIn{messages};
    AnalogPage page{*model, standIn.lock};
    int redraws = 0;
};

TEST_F(AnalogPageRedraws, EveryChoiceOfThePageRedrawsOnceAndAChannelBoxWaitsForUpdate) {
    for (int s = 1; s <= 4; ++s) {
        control<QSpinBox>(page, QStringLiteral("move%1").arg(s).toLatin1().constData())
            ->setValue(10 * s);
    }
    const std::vector<std::pair<const char*, std::function<void()>>> triggers{
        {"update_anawin", [&] { testing::click(page, "update_anawin"); }},
        {"vskala", [&] { item(page, "vskala", 1)->click(); }},
        {"ana_grafsel2", [&] { item(page, "ana_grafsel2", 2)->click(); }},
        {"left_scale", [&] { item(page, "left_scale", 3)->click(); }},
        {"move3", [&] { control<QSpinBox>(page, "move3")->setValue(55); }},
        {"reset_tests", [&] { testing::click(page, "reset_tests"); }},
        {"zoomupdown", [&] { control<QSpinBox>(page, "zoomupdown")->setValue(4); }},
        {"scrollbar1", [&] { control<QScrollBar>(page, "scrollbar1")->setValue(120); }},
    };
    for (const auto& [name, trigger] : triggers) {
        redraws = 0;
        trigger();
        EXPECT_EQ(redraws, 1) << name;
    }
    redraws = 0;
    control<QCheckBox>(page, "dana2")->click();
    EXPECT_EQ(redraws, 0);
}

TEST_F(AnalogPageRedraws, RightButtonAtZoom2FirstRedrawsAtZoom1ThenShowsTheCursor) {
    control<QCheckBox>(page, "dana1")->setChecked(true);
    page.redraw();
    const QImage atZoom2 = page.images().plot.copy();

    sendMouse(page, QEvent::MouseButtonPress, Qt::RightButton, Qt::RightButton, {250, 200});
    EXPECT_EQ(control<QSpinBox>(page, "zoomupdown")->value(), 1);
    EXPECT_EQ(control<QScrollBar>(page, "scrollbar1")->pageStep(), 600);
    QImage withoutLine = page.images().plot.copy();
    {
        QPainter painter(&withoutLine);
        drawInvertedCursorLine(painter, 250);
    }
    sendMouse(page, QEvent::MouseButtonRelease, Qt::RightButton, Qt::NoButton, {250, 200});
    const QImage atZoom1 = page.images().plot.copy();
    EXPECT_NE(atZoom1, atZoom2);
    EXPECT_EQ(withoutLine, atZoom1);
}

TEST(AnalogPageWindow, DrawsTheSamePictureAsDynotoolAnalog) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    auto model = SessionModel::create();
    MainWindow window{*model, folder.path()};
    std::vector<std::string> archives;
    for (int s = 1; s <= 2; ++s) {
        TestSession saved;
        recordSession(saved, s);
        archives.push_back(QDir(folder.path()).filePath("s%1.zsd").arg(s).toStdString());
        ASSERT_TRUE(saveSessionArchive(archives.back(), saved, SavedAirData{}).ok());
        // Loaded as the tool loads it: the archive keeps channels 1 to 3 only.
        ASSERT_TRUE(loadSessionFile(archives.back(), model->slot(s)).ok());
    }
    // Channel settings away from the defaults, in the A/D Sett. page and in a file.
    AnalogChannelTextSet channels = defaultAnalogChannelTexts();
    channels[1].factorText = "2";
    channels[1].offsetText = "40";
    channels[1].offsetUse = 1;
    channels[2].isInverted = true;
    channels[3].delayText = "0.5";
    channels[4].factorText = "3";
    channels[4].factorUse = 1;
    channels[2].topValue = "100";
    channels[2].unitText = "Deg.";
    window.adSettingsPage()->showChannelTexts(channels);
    const std::string anaFile = QDir(folder.path()).filePath("channels.ana").toStdString();
    ASSERT_TRUE(saveAnalogSettingsFile(anaFile, channels).ok());
    window.programState().graphScale.endHp = 16;
    controls::writeChecked(&window, "kwflagbox", true);

    AnalogPage& page = *window.analogPage();
    for (int c : {1, 2, 3, 4, 5}) {
        control<QCheckBox>(page, QStringLiteral("dana%1").arg(c).toLatin1().constData())
            ->setChecked(true);
    }
    item(page, "ana_grafsel2", 1)->click();
    item(page, "left_scale", 2)->click();
    control<QSpinBox>(page, "move2")->setValue(40);
    control<QScrollBar>(page, "scrollbar1")->setValue(30);
    control<QSpinBox>(page, "zoomupdown")->setValue(3);
    page.redraw();

    const std::string png = QDir(folder.path()).filePath("analog.png").toStdString();
    const auto run = testing::runDynotool({"analog",
                                           archives[0],
                                           archives[1],
                                           "--out",
                                           png,
                                           "--channels",
                                           "1,2,3,4,5",
                                           "--left-scale",
                                           "3",
                                           "--shift",
                                           "0,40",
                                           "--offset",
                                           "30",
                                           "--zoom",
                                           "3",
                                           "--end-hp",
                                           "16",
                                           "--kw",
                                           "--ad-settings",
                                           anaFile});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    const QImage drawn(QString::fromStdString(png));
    const QImage shown = page.images().panel();
    ASSERT_EQ(drawn.size(), shown.size());
    EXPECT_EQ(differingPixels(drawn, shown), 0);
}

}  // namespace
}  // namespace dyno
