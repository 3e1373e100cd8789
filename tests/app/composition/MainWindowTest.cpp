#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>
#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

#include "app/RecordingMessageSink.h"
#include "app/composition/MainWindow.h"
#include "app/composition/PageList.h"
#include "app/dialogs/PrintOptionsDialog.h"
#include "app/pages/GraphsPage.h"
#include "app/pages/InfoPage.h"
#include "app/system/SingleInstanceGuard.h"
#include "model/SessionModel.h"

namespace dyno {
namespace {

TEST(MainWindow, ElevenPagesInOrderWithInfoShownFirst) {
    auto model = SessionModel::create();
    MainWindow window(*model, QDir::currentPath());
    EXPECT_EQ(window.windowTitle(), "VKR Korvalis 2.32");
    EXPECT_EQ(window.size(), QSize(791, 574));
    EXPECT_EQ(window.minimumSize(), window.maximumSize()) << "fixed size";
    EXPECT_FALSE(window.windowFlags() & Qt::WindowMaximizeButtonHint);

    QTabWidget* pages = window.pages();
    ASSERT_EQ(pages->count(), 11);
    const char* captions[] = {"Graphs", "Test",  "File",   "Param.",    "Remarks", "Setup",
                              "Info",   "Speed", "Analog", "A/D Sett.", "Analysis"};
    for (int i = 0; i < 11; ++i) EXPECT_EQ(pages->tabText(i), captions[i]);
    EXPECT_EQ(pages->widget(10)->objectName(), "analysisside");
    EXPECT_EQ(pages->widget(5)->objectName(), "TabSheet1");
    EXPECT_EQ(pages->currentIndex(), 6);
    EXPECT_EQ(pages->currentWidget()->objectName(), "TabSheet2");
    EXPECT_TRUE(pages->tabBar()->font().bold());
}

TEST(MainWindow, FunctionKeysActWithAnyModifierEvenInsideAnEditBox) {
    auto model = SessionModel::create();
    MainWindow window(*model, QDir::currentPath());
    auto* edit = new QLineEdit(window.pages()->widget(0));
    QSignalSpy spy(&window, &MainWindow::functionKeyPressed);

    QKeyEvent shiftF5(QEvent::KeyPress, Qt::Key_F5, Qt::ShiftModifier);
    QApplication::sendEvent(edit, &shiftF5);
    QKeyEvent ctrlF2(QEvent::KeyPress, Qt::Key_F2, Qt::ControlModifier);
    QApplication::sendEvent(edit, &ctrlF2);
    QKeyEvent letter(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    QApplication::sendEvent(edit, &letter);

    ASSERT_EQ(spy.count(), 2);
    EXPECT_EQ(spy.at(0).at(0).value<FunctionKeyAction>(), FunctionKeyAction::SaveSession1);
    EXPECT_EQ(spy.at(1).at(0).value<FunctionKeyAction>(), FunctionKeyAction::UpdateDisplay);
    EXPECT_EQ(edit->text(), "a") << "other keys reach the control unchanged";
}

TEST(MainWindow, F9PrintsLikeThePrintButtonAndTheWeightOverrideStartsOff) {
    auto model = SessionModel::create();
    MainWindow window(*model, QDir::currentPath());
    QSignalSpy print(window.graphsPage(), &GraphsPage::printRequested);
    // The print options dialog comes up; closing it prints nothing.
    QTimer::singleShot(0, window.printOptionsDialog(), &QDialog::reject);
    QKeyEvent altF9(QEvent::KeyPress, Qt::Key_F9, Qt::AltModifier);
    QApplication::sendEvent(window.pages()->widget(3), &altF9);
    EXPECT_EQ(print.count(), 1);

    auto* override = window.findChild<QCheckBox*>("update_test_weight");
    ASSERT_NE(override, nullptr);
    EXPECT_FALSE(override->isChecked()) << "loaded sessions keep their own roller weight";
    EXPECT_EQ(override->text(), "Update loaded tests with Rollerweight");
}

TEST(SingleInstanceGuard, SecondCopyIsRefusedUntilTheFirstEnds) {
    QTemporaryDir folder;
    {
        SingleInstanceGuard first(folder.path());
        ASSERT_TRUE(first.acquire());
        SingleInstanceGuard second(folder.path());
        EXPECT_FALSE(second.acquire());
        EXPECT_EQ(second.problem(), "") << "another copy runs: no problem to name";
    }
    SingleInstanceGuard again(folder.path());
    EXPECT_TRUE(again.acquire()) << "starting again after the first copy ended works";
}

TEST(SingleInstanceGuard, ALockThatCannotBeWrittenIsNamedNotTakenForAnotherCopy) {
    QTemporaryDir home;
    const QString folder = QDir(home.path()).filePath("lock");
    SingleInstanceGuard guard(folder);
    ASSERT_EQ(guard.folder(), folder);
    ASSERT_TRUE(QDir(folder).removeRecursively());
    EXPECT_FALSE(guard.acquire());
    EXPECT_TRUE(guard.problem().startsWith("The program's lock cannot be made in " + folder))
        << guard.problem().toStdString();
}

TEST(SingleInstanceGuard, LockLeftByACrashedCopyIsTakenOver) {
    QTemporaryDir folder;
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // The "crashed copy": takes the lock and dies without releasing it.
        SingleInstanceGuard crashed(folder.path());
        _exit(crashed.acquire() ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ASSERT_TRUE(QFile::exists(QDir(folder.path()).filePath("vkrdynok40.lock")));

    SingleInstanceGuard guard(folder.path());
    EXPECT_TRUE(guard.acquire());
}

TEST(MainWindow, StartUpTakesThePrintLogoFromTheStartDirectory) {
    QTemporaryDir startDirectory;
    QImage logo(40, 20, QImage::Format_RGB32);
    logo.fill(Qt::red);
    ASSERT_TRUE(logo.save(QDir(startDirectory.path()).filePath("vkrprint.bmp")));
    auto model = SessionModel::create();
    MainWindow window(*model, startDirectory.path());
    RecordingMessageSink messages;
    window.setSettingsMessageSink(messages);
    ASSERT_FALSE(window.startUp(CardBusOpener{}));
    EXPECT_EQ(window.infoPage()->printLogo().size(), QSize(40, 20));
    EXPECT_EQ(window.infoPage()->printLogo().pixelColor(5, 5), QColor(Qt::red));
    EXPECT_EQ(window.infoPage()->smallPrintLogo().size(), QSize(205, 93))
        << "the report's small picture is the program's own";

    QTemporaryDir withoutLogo;
    MainWindow plain(*model, withoutLogo.path());
    plain.setSettingsMessageSink(messages);
    ASSERT_FALSE(plain.startUp(CardBusOpener{})) << "a missing logo does not stop the start";
    EXPECT_TRUE(plain.infoPage()->printLogo().isNull());
}

}  // namespace
}  // namespace dyno
