#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTemporaryDir>

#include "FileActionsFixture.h"
#include "app/CalculatorDialog.h"
#include "app/FilePage.h"
#include "app/FolderPlaces.h"
#include "app/MainWindow.h"
#include "app/ParamPage.h"
#include "app/RemarksPage.h"
#include "app/SessionFileActions.h"
#include "model/SessionModel.h"

namespace dyno {
namespace {

TEST(FolderPlaces, RootHomeThenMountedMediaEachOnce) {
    const QStringList mounts{"/",
                             "/boot/efi",
                             "/media/ole/STICK",
                             "/run/media/ole/CARD",
                             "/mnt/share/",
                             "/mnt/share",
                             "/proc",
                             "/home/ole",
                             "/media/"};
    EXPECT_EQ(
        folderPlaces("/home/ole/", mounts),
        (QStringList{"/", "/home/ole", "/media/ole/STICK", "/run/media/ole/CARD", "/mnt/share"}));
    EXPECT_EQ(folderPlaces("/", {}), QStringList{"/"});
}

TEST(FolderPlaces, FolderBelongsToTheLongestPlaceAboveIt) {
    const QStringList places{"/", "/home/ole", "/media/ole/STICK"};
    EXPECT_EQ(placeOfFolder(places, "/home/ole/runs/2007"), "/home/ole");
    EXPECT_EQ(placeOfFolder(places, "/home/ole"), "/home/ole");
    EXPECT_EQ(placeOfFolder(places, "/home/olet"), "/") << "a name prefix is no folder above";
    EXPECT_EQ(placeOfFolder(places, "/media/ole/STICK/runs/"), "/media/ole/STICK");
    EXPECT_EQ(placeOfFolder({"/home/ole"}, "/etc"), "");
}

// The window routes F5 (with any modifier) to saving session 1 and F8 to the
// calculator.
TEST(MainWindowKeys, ShiftF5SavesSession1LikeF5AndF8ShowsTheCalculator) {
    QTemporaryDir folder;
    auto model = SessionModel::create();
    MainWindow window(*model, folder.path());
    window.filePage()->setInitialFolder(folder.path());
    int asked = 0;
    window.sessionFileActions()->setSaveNameQuestion(
        [&](const QString& start, const std::function<void(const QString&)>& save) {
            ++asked;
            save(QDir(start).filePath(QStringLiteral("key%1").arg(asked)));
        });
    auto* make = window.remarksPage()->findChild<QComboBox*>("makebox1");
    make->setEditText("Aprilia");

    QKeyEvent f5(QEvent::KeyPress, Qt::Key_F5, Qt::NoModifier);
    QApplication::sendEvent(make, &f5);
    QKeyEvent shiftF5(QEvent::KeyPress, Qt::Key_F5, Qt::ShiftModifier);
    QApplication::sendEvent(make, &shiftF5);
    EXPECT_EQ(asked, 2);
    EXPECT_TRUE(QFile::exists(QDir(folder.path()).filePath("key1.zsd")));
    EXPECT_TRUE(QFile::exists(QDir(folder.path()).filePath("key2.zsd")));
    EXPECT_EQ(model->slot(1).make.view(), "Aprilia");

    QKeyEvent ctrlF8(QEvent::KeyPress, Qt::Key_F8, Qt::ControlModifier);
    QApplication::sendEvent(make, &ctrlF8);
    testing::click(*window.paramPage(), "calculatorbutton");
    const auto calculators = window.findChildren<CalculatorDialog*>("RxCalculator1");
    ASSERT_EQ(calculators.size(), 1) << "F8 and the button show the same calculator";
    EXPECT_TRUE(calculators.front()->isVisible());
    calculators.front()->close();
}

}  // namespace
}  // namespace dyno
