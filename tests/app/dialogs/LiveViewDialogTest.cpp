// The rider's live view set up from the Analysis page: "Apply" serves it where the
// dialog says and shows the address with the code, a bad port is refused, the choice
// is kept in the Analysis page's file; and "Show each run as it arrives" has the
// Graphs page follow a session run by run.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>

#include "app/RecordingMessageSink.h"
#include "app/SimulatedSessionWindow.h"
#include "app/acquisition/RiderLiveView.h"
#include "app/composition/MainWindow.h"
#include "app/composition/ProgramParts.h"
#include "app/dialogs/LiveViewDialog.h"
#include "app/files/SettingsFiles.h"
#include "app/pages/AnalysisPage.h"
#include "app/pages/ControlLookup.h"
#include "app/pages/GraphsPage.h"
#include "app/pages/SpeedPage.h"
#include "files/AnalysisSettingsFile.h"
#include "model/SessionModel.h"
#include "widgets/ShadowLabel.h"

namespace dyno {
namespace {

// A port nothing on this PC listens on just now.
quint16 freePort() {
    QTcpServer probe;
    EXPECT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
    return probe.serverPort();
}

TEST(LiveViewDialog, ApplyServesTheViewShowsItsAddressAndKeepsTheChoice) {
    QTemporaryDir startDir;
    RecordingMessageSink messages;
    ProgramOptions options;
    options.messages = &messages;
    ProgramParts parts(options);
    auto model = SessionModel::create();
    MainWindow window(parts, *model, startDir.path());
    LiveViewDialog& dialog = *window.liveViewDialog();
    dialog.showSettings(window.analysisPage()->settings().liveView);
    EXPECT_EQ(controls::find<QLabel>(&dialog, "liveviewaddress")->text(), "The live view is off.");

    controls::find<QLineEdit>(&dialog, "liveviewport")->setText("70000");
    controls::find<QCheckBox>(&dialog, "liveviewon")->setChecked(true);
    controls::find<QPushButton>(&dialog, "liveviewapply")->click();
    EXPECT_EQ(controls::find<QLabel>(&dialog, "liveviewaddress")->text(),
              "The port is a whole number of 1 to 65535.");
    EXPECT_FALSE(window.riderLiveView().isRunning());

    const quint16 port = freePort();
    controls::find<QLineEdit>(&dialog, "liveviewport")->setText(QString::number(port));
    controls::find<QComboBox>(&dialog, "liveviewreach")->setCurrentIndex(0);  // this PC only
    controls::find<QPushButton>(&dialog, "liveviewapply")->click();
    ASSERT_TRUE(window.riderLiveView().isRunning())
        << window.riderLiveView().errorText().toStdString();
    const QString code = window.riderLiveView().accessCode();
    EXPECT_EQ(controls::find<QLabel>(&dialog, "liveviewaddress")->text(),
              QStringLiteral("http://127.0.0.1:%1/?code=%2\nAccess code %2").arg(port).arg(code));
    EXPECT_FALSE(controls::find<QLabel>(&dialog, "liveviewqr")->pixmap().isNull());

    const auto kept =
        readAnalysisSettingsFile(window.settingsFiles()->analysisSettingsPath().toStdString());
    ASSERT_TRUE(kept.ok());
    EXPECT_TRUE(kept.value().settings.liveView.isOn);
    EXPECT_EQ(kept.value().settings.liveView.port, port);
    EXPECT_EQ(kept.value().settings.liveView.reach, LiveViewReach::thisPcOnly);

    controls::find<QCheckBox>(&dialog, "liveviewon")->setChecked(false);
    controls::find<QPushButton>(&dialog, "liveviewapply")->click();
    EXPECT_FALSE(window.riderLiveView().isRunning());
    EXPECT_TRUE(messages.messages.empty());
}

// A K40 session on the simulated dyno, with or without the Graphs page following it:
// how many runs the Graphs page showed as they arrived.
int runsShownAsTheyArrive(bool showEachRun) {
    QTemporaryDir startDir;
    RecordingMessageSink messages;
    auto model = SessionModel::create();
    ProgramOptions options = testing::fastSimulatedSession();
    ProgramParts parts(options);
    MainWindow window(parts, *model, startDir.path());
    testing::takeSessionMessages(window, messages);
    LiveViewSettings liveView;
    liveView.showEachRun = showEachRun;
    window.analysisPage()->setLiveViewSettings(liveView);
    // A copy the user ticked and has not carried out waits for the user's own update.
    controls::find<QCheckBox>(&window, "copy12")->setChecked(true);
    std::vector<int> runsShown;
    std::vector<double> weightsWhenShown;
    const auto noteShownRun = [&] {
        const DisplaySelection& slot1 = window.graphsPage()->graphState().selections[0];
        if (slot1.plotted && (runsShown.empty() || slot1.plottedRun != runsShown.back())) {
            runsShown.push_back(slot1.plottedRun);
            weightsWhenShown.push_back(model->slot(1).values.rollerWeight());
        }
    };
    QObject::connect(window.speedPage(), &SpeedPage::riderInstructionShown, noteShownRun);
    QKeyEvent f3(QEvent::KeyPress, Qt::Key_F3, Qt::NoModifier);
    QApplication::sendEvent(&window, &f3);
    auto* remote = window.findChild<ShadowLabel*>("remotetext");
    EXPECT_TRUE(QTest::qWaitFor([&] { return remote->text() == "Test session finished"; }, 90'000));
    QTest::qWait(50);
    noteShownRun();

    EXPECT_EQ(model->slot(2).leadingPeriods(0), 0) << "nothing copied into slot 2";
    EXPECT_TRUE(controls::find<QCheckBox>(&window, "copy12")->isChecked());
    if (showEachRun) {
        EXPECT_EQ(runsShown, (std::vector<int>{0, 1, 2}));
        // The last run is drawn from the finished session, stamped with its set-up.
        EXPECT_FALSE(weightsWhenShown.empty());
        EXPECT_NE(model->slot(1).values.rollerWeight(), 0.0);
        if (!weightsWhenShown.empty()) {
            EXPECT_EQ(weightsWhenShown.back(), model->slot(1).values.rollerWeight());
        }
    }
    return static_cast<int>(runsShown.size());
}

TEST(LiveViewDialog, ShowEachRunAsItArrivesHasTheGraphsPageFollowTheSession) {
    EXPECT_EQ(runsShownAsTheyArrive(true), 3) << "runs 1, 2 and 3, each after its Data OK";
    EXPECT_EQ(runsShownAsTheyArrive(false), 0);
}

}  // namespace
}  // namespace dyno
