#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFont>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>
#include <vector>

#include "app/FileActionsFixture.h"
#include "app/composition/MainWindow.h"
#include "app/dialogs/CalculatorDialog.h"
#include "app/files/SessionFileActions.h"
#include "app/pages/FilePage.h"
#include "app/pages/ParamPage.h"
#include "app/pages/RemarksPage.h"
#include "app/system/FolderPlaces.h"
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

QString makeFolderWithFile(const QTemporaryDir& root, const QString& folder, const QString& file) {
    QDir(root.path()).mkpath(folder);
    const QString path = QDir(root.path()).filePath(folder);
    QFile(QDir(path).filePath(file)).open(QIODevice::WriteOnly);
    return path;
}

TEST(FilePage, ArrowKeysInTheFolderTreeListTheFolderAsAClickDoes) {
    QTemporaryDir root;
    const QString first = makeFolderWithFile(root, "a", "in_a.zsd");
    makeFolderWithFile(root, "b", "in_b.zsd");
    FilePage page({root.path()});
    page.showFolder(first);
    auto* tree = page.findChild<QTreeView*>("DirectoryListBox1");
    ASSERT_TRUE(QTest::qWaitFor([&] { return tree->model()->rowCount(tree->rootIndex()) == 2; }));
    page.showFolder(first);
    ASSERT_TRUE(page.selectFile("in_a.zsd"));

    tree->setFocus();
    QTest::keyClick(tree, Qt::Key_Down);
    EXPECT_EQ(page.currentFolder(), QDir(root.path()).filePath("b"));
    EXPECT_TRUE(page.selectFile("in_b.zsd"));
    EXPECT_FALSE(page.selectFile("in_a.zsd"));
}

TEST(FilePage, TheLoadLineNeverMovesAButton) {
    QTemporaryDir root;
    FilePage page({root.path()});
    page.resize(785, 540);  // the File page inside the window
    QFont windowFace = page.font();
    windowFace.setPixelSize(13);
    page.setFont(windowFace);  // as the window sets it after building its pages
    page.show();
    const auto buttonPlaces = [&] {
        QApplication::processEvents();
        std::vector<QPoint> places;
        for (const char* name :
             {"loadred", "loadblue", "loadgreen", "loadlilla", "savefile", "findsessions"}) {
            const auto* button = page.findChild<QPushButton*>(name);
            EXPECT_NE(button, nullptr) << name;
            if (button != nullptr) places.push_back(button->mapTo(&page, QPoint(0, 0)));
        }
        return places;
    };
    const std::vector<QPoint> empty = buttonPlaces();
    page.showLoaded(QStringLiteral("a_rather_long_session_name_from_the_workshop.zsd"), 2);
    EXPECT_EQ(buttonPlaces(), empty);
    page.clearLoaded();
    EXPECT_EQ(buttonPlaces(), empty);
}

TEST(FilePage, WhatAKilledSaveLeftIsNotListed) {
    QTemporaryDir root;
    const QString folder = makeFolderWithFile(root, "runs", "run.zsd");
    QFile(QDir(folder).filePath("run.zsd.Ab12Cd")).open(QIODevice::WriteOnly);
    QFile(QDir(folder).filePath("run.zsd.old")).open(QIODevice::WriteOnly);
    FilePage page({root.path()});
    page.showFolder(folder);
    EXPECT_TRUE(page.selectFile("run.zsd"));
    EXPECT_TRUE(page.selectFile("run.zsd.old"));
    EXPECT_FALSE(page.selectFile("run.zsd.Ab12Cd"));
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
