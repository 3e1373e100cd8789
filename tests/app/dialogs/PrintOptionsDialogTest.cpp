#include <gtest/gtest.h>

#include <QDir>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

#include "app/composition/MainWindow.h"
#include "app/dialogs/PrintOptionsDialog.h"
#include "model/SessionModel.h"

namespace dyno {
namespace {

TEST(PrintOptionsDialog, MadeWithTheWindowWithOneLineChoicePerSession) {
    auto model = SessionModel::create();
    MainWindow window(*model, QDir::currentPath());
    PrintOptionsDialog* dialog = window.printOptionsDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), "Choose number of remarklines to print");
    EXPECT_EQ(dialog->printFont().family(), "Times New Roman");
    EXPECT_EQ(dialog->printFont().pointSize(), 10);
    ASSERT_NE(dialog->findChild<QPushButton*>("Button1"), nullptr);
    EXPECT_EQ(dialog->findChild<QPushButton*>("fontbutton")->text(), "Change printfont");

    const char* captions[] = {"Test 1 (red)", "Test 2 (blue)", "Test 3 (green)", "Test 4 (purple)"};
    for (int slot = 1; slot <= 4; ++slot) {
        auto* group = dialog->findChild<QGroupBox*>(QStringLiteral("prt%1").arg(slot));
        ASSERT_NE(group, nullptr);
        EXPECT_EQ(group->title(), captions[slot - 1]);
        const auto items = group->findChildren<QRadioButton*>();
        ASSERT_EQ(items.size(), 4);
        EXPECT_EQ(items[3]->text(), " 3 Lines");
        EXPECT_EQ(dialog->remarkLines(slot), 0) << "nothing chosen prints no remark lines";
        items[static_cast<qsizetype>(slot - 1)]->setChecked(true);
    }
    for (int slot = 1; slot <= 4; ++slot) EXPECT_EQ(dialog->remarkLines(slot), slot - 1);
}

}  // namespace
}  // namespace dyno
