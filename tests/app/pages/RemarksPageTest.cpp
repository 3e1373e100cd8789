#include <gtest/gtest.h>

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <memory>

#include "app/FileActionsFixture.h"
#include "app/pages/RemarksPage.h"
#include "model/TestSession.h"

namespace dyno {
namespace {

using testing::control;
using testing::setText;

TEST(RemarksPage, FourPanelsWithSession1AsTheEntryFields) {
    RemarksPage page;
    QStringList titles;
    for (auto* panel : page.findChildren<QGroupBox*>()) titles.append(panel->title());
    EXPECT_EQ(titles, (QStringList{"Test Session 1", "Test Session 2", "Test Session 3",
                                   "Test Session 4"}));

    auto* make = control<QComboBox>(page, "makebox1");
    EXPECT_TRUE(make->isEditable()) << "free text allowed";
    EXPECT_EQ(make->currentText(), "");
    QStringList makes;
    for (int i = 0; i < make->count(); ++i) makes.append(make->itemText(i));
    EXPECT_EQ(makes, (QStringList{"Aprilia", "BMW", "Buell", "Cagiva", "Ducati", "H.D.", "Honda",
                                  "Husqvarna", "Kawasaki", "KTM", "Moto Guzzi", "Mz", "Suzuki",
                                  "Yamaha"}));
    EXPECT_FALSE(control<QLineEdit>(page, "remarklinebox1c")->isReadOnly());
    EXPECT_TRUE(control<QLineEdit>(page, "remarklinebox4c")->isReadOnly());

    QSignalSpy save(&page, &RemarksPage::saveSession1Requested);
    testing::click(page, "savetestsession1");
    EXPECT_EQ(save.count(), 1);
}

TEST(RemarksPage, StoreRemarksOfSession1CutsToTheStoredWidths) {
    RemarksPage page;
    const QString remark66(66, QLatin1Char('r'));
    setText(page, "remarklinebox1a", remark66);
    setText(page, "remarklinebox1b", remark66 + QStringLiteral("X"));
    setText(page, "makebox1", QStringLiteral("Peugeot Motocycles Ltd"));  // not in the list
    setText(page, "modelbox1", QStringLiteral("Speedfight 2 LC 50 ccm"));
    setText(page, "ownerbox1", QStringLiteral("J\u00F8rgen M\u00F8ller-Andersen Jr"));

    auto slot1 = std::make_unique<TestSession>();
    slot1->remarkLine3.assign("left from an earlier session");
    page.storeRemarksOfSession1(*slot1);

    EXPECT_EQ(slot1->remarkLine1.view(), remark66.toStdString());
    EXPECT_EQ(slot1->remarkLine2.view(), remark66.toStdString()) << "the 67th character is lost";
    EXPECT_TRUE(slot1->remarkLine3.empty()) << "an empty box clears the stored line";
    EXPECT_EQ(slot1->make.view(), "Peugeot Motocycles L");
    EXPECT_EQ(slot1->model.view(), "Speedfight 2 LC 50 c");
    // Windows-1252 has one byte per character, so the cut counts characters.
    EXPECT_EQ(slot1->owner.view(), "J\xF8rgen M\xF8ller-Andersen");
}

}  // namespace
}  // namespace dyno
