#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QTemporaryDir>

#include "app/RecordingMessageSink.h"
#include "app/SettingsWindow.h"
#include "app/pages/AdSettingsPage.h"
#include "app/pages/ControlLookup.h"
#include "model/TextNumbers.h"

namespace dyno {
namespace {

using Message = RecordingMessageSink::Message;

QString textOf(const QObject* page, const QString& name) {
    auto* edit = page->findChild<QLineEdit*>(name);
    return edit != nullptr ? edit->text() : QStringLiteral("<missing %1>").arg(name);
}

void setText(const QObject* page, const QString& name, const QString& text) {
    auto* edit = page->findChild<QLineEdit*>(name);
    ASSERT_NE(edit, nullptr) << name.toStdString();
    edit->setText(text);
}

int itemOf(const QObject* page, const QString& name) {
    int index = -2;
    controls::readItemIndex(page, name.toLatin1().constData(), index);
    return index;
}

TEST(AdSettingsPage, FiveChannelsWithTheWindowDefaults) {
    AdSettingsPage page;
    EXPECT_EQ(page.objectName(), "ad_settings");
    EXPECT_EQ(page.saveSettingsButton()->text(), "Save settings");
    EXPECT_EQ(page.saveSettingsButton()->objectName(), "save_ad_settings");
    for (int n = 1; n <= 5; ++n) {
        SCOPED_TRACE(n);
        EXPECT_EQ(textOf(&page, QStringLiteral("mul%1edit").arg(n)), "1");
        EXPECT_EQ(textOf(&page, QStringLiteral("plus%1edit").arg(n)), "0");
        EXPECT_EQ(textOf(&page, QStringLiteral("delay%1edit").arg(n)), "0");
        EXPECT_EQ(textOf(&page, QStringLiteral("textedit%1").arg(n)), "Volt");
        EXPECT_EQ(itemOf(&page, QStringLiteral("mulch%1group").arg(n)), 0);
        EXPECT_EQ(itemOf(&page, QStringLiteral("plusch%1group").arg(n)), 0);
        auto* invert = page.findChild<QCheckBox*>(QStringLiteral("invert%1").arg(n));
        ASSERT_NE(invert, nullptr);
        EXPECT_EQ(invert->text(), "Invert");
        EXPECT_FALSE(invert->isChecked());
    }
    auto* mulch = page.findChild<QGroupBox*>("mulch3group");
    const auto mulItems = controls::radioItems(mulch);
    ASSERT_EQ(mulItems.size(), 2);
    EXPECT_EQ(mulItems[0]->text(), "Mul.");
    EXPECT_EQ(mulItems[1]->text(), "Div.");
    const auto plusItems = controls::radioItems(page.findChild<QGroupBox*>("plusch3group"));
    ASSERT_EQ(plusItems.size(), 2);
    EXPECT_EQ(plusItems[0]->text(), "Add");
    EXPECT_EQ(plusItems[1]->text(), "Sub.");

    EXPECT_EQ(textOf(&page, "slutvalueedit1"), "5");
    EXPECT_EQ(textOf(&page, "startvalueedit1"), "0");
    const char* labels[] = {"4,5", "4", "3,5", "3", "2,5", "2", "1,5", "1", "0,5"};
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(textOf(&page, QStringLiteral("Edit%1").arg(i + 1)), labels[i]);
    EXPECT_EQ(textOf(&page, "slutvalueedit2"), "");
    EXPECT_EQ(textOf(&page, "startvalueedit5"), "");
}

TEST(AdSettingsPage, StoredChoicesGoInAsItemIndexes) {
    AdSettingsPage page;
    AnalogChannelTextSet channels = page.channelTexts();
    channels[0].factorUse = 1;
    channels[1].factorUse = 2;   // beyond the last item: the last item
    channels[2].factorUse = -1;  // below 0: nothing chosen
    channels[3].offsetUse = 7;
    page.showChannelTexts(channels);
    const AnalogChannelTextSet shown = page.channelTexts();
    EXPECT_EQ(shown[0].factorUse, 1);
    EXPECT_EQ(shown[1].factorUse, 1);
    EXPECT_EQ(shown[2].factorUse, -1);
    EXPECT_EQ(shown[3].offsetUse, 1);
    EXPECT_EQ(shown[4].factorUse, 0);

    channels[2].factorUse = 0;  // and a group left empty takes a choice again
    page.showChannelTexts(channels);
    EXPECT_EQ(page.channelTexts()[2].factorUse, 0);
}

TEST(AdSettingsPage, ScaleLabelsSkipEdit28AndEdit38) {
    AdSettingsPage page;
    int labels = 0;
    for (int n = 1; n <= 50; ++n) {
        if (page.findChild<QLineEdit*>(QStringLiteral("Edit%1").arg(n)) != nullptr) ++labels;
    }
    EXPECT_EQ(labels, 45);
    EXPECT_EQ(page.findChild<QLineEdit*>("Edit28"), nullptr);
    EXPECT_EQ(page.findChild<QLineEdit*>("Edit38"), nullptr);
    // Channel 4's top label is Edit29, channel 5's bottom label Edit47.
    AnalogChannelTextSet texts = page.channelTexts();
    texts[3].scaleLabels[0] = "c4top";
    texts[4].scaleLabels[8] = "c5low";
    texts[2].scaleLabels[8] = "c3low";
    page.showChannelTexts(texts);
    EXPECT_EQ(textOf(&page, "Edit29"), "c4top");
    EXPECT_EQ(textOf(&page, "Edit47"), "c5low");
    EXPECT_EQ(textOf(&page, "Edit27"), "c3low");
}

class AnalogSettingsFile : public ::testing::Test {
  protected:
    AnalogSettingsFile() : window(startDir.path(), startDir.path()) {}
    QByteArray fileBytes() const {
        QFile file(QDir(startDir.path()).filePath("vkr_dyno.ana"));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir startDir;
    SettingsWindow window;
    RecordingMessageSink& messages = window.messages;
    SettingsFiles& files = window.files;
};

TEST_F(AnalogSettingsFile, SavedChannelsComeBackOnTheNextStart) {
    AdSettingsPage page;
    setText(&page, "mul1edit", "1.1");
    setText(&page, "mul2edit", "4.5");
    setText(&page, "plus3edit", "0.5");
    setText(&page, "delay5edit", "-2.25");
    controls::writeItemIndex(&page, "mulch2group", 1);
    controls::writeItemIndex(&page, "plusch4group", 1);
    page.findChild<QCheckBox*>("invert5")->setChecked(true);
    setText(&page, "Edit10", "ABCDEFG");
    setText(&page, "textedit3", "Bar");
    setText(&page, "slutvalueedit4", "100");
    ASSERT_TRUE(files.saveAnalogSettings(page));
    EXPECT_TRUE(messages.messages.empty()) << "no confirmation";
    EXPECT_EQ(fileBytes().size(), 390);

    AdSettingsPage next;
    files.readAnalogSettings(next);
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_EQ(textOf(&next, "mul1edit"), "1.10000002384186") << "stored as binary32";
    EXPECT_EQ(textOf(&next, "mul2edit"), "4.5");
    EXPECT_EQ(textOf(&next, "plus3edit"), "0.5");
    EXPECT_EQ(textOf(&next, "delay5edit"), "-2.25");
    EXPECT_EQ(itemOf(&next, "mulch2group"), 1);
    EXPECT_EQ(itemOf(&next, "mulch1group"), 0);
    EXPECT_EQ(itemOf(&next, "plusch4group"), 1);
    EXPECT_TRUE(next.findChild<QCheckBox*>("invert5")->isChecked());
    EXPECT_FALSE(next.findChild<QCheckBox*>("invert4")->isChecked());
    EXPECT_EQ(textOf(&next, "Edit10"), "ABCDE") << "labels keep 5 characters";
    EXPECT_EQ(textOf(&next, "textedit3"), "Bar");
    EXPECT_EQ(textOf(&next, "slutvalueedit4"), "100");
    EXPECT_EQ(textOf(&next, "Edit5"), "2,5");
    AnalogChannelTextSet expected = page.channelTexts();
    expected[0].factorText = "1.10000002384186";
    expected[1].scaleLabels[0] = "ABCDE";
    EXPECT_EQ(next.channelTexts(), expected);
}

TEST_F(AnalogSettingsFile, MissingFileIsReportedAndTheDefaultsStay) {
    AdSettingsPage page;
    files.readAnalogSettings(page);
    EXPECT_EQ(messages.messages,
              std::vector<Message>({{MessageKind::Error, "File error", "Cannot read .ana file"}}));
    EXPECT_EQ(page.channelTexts(), defaultAnalogChannelTexts());
}

TEST_F(AnalogSettingsFile, FactorThatIsNotANumberSavesNothing) {
    AdSettingsPage page;
    ASSERT_TRUE(files.saveAnalogSettings(page));
    const QByteArray before = fileBytes();
    setText(&page, "plus2edit", "1.5");
    setText(&page, "delay4edit", "1,5");
    EXPECT_FALSE(files.saveAnalogSettings(page));
    EXPECT_EQ(messages.messages,
              std::vector<Message>({{MessageKind::Error, "vkr_dyno", notAFloatMessage("1,5")}}));
    EXPECT_EQ(fileBytes(), before);

    files.setDecimalSeparator(',');
    setText(&page, "plus2edit", "1,5");
    EXPECT_TRUE(files.saveAnalogSettings(page)) << "with a comma locale \"1,5\" is a number";
}

TEST_F(AnalogSettingsFile, CommaLocaleSavesTheFactorsItRestoredWithAPoint) {
    AdSettingsPage page;
    setText(&page, "mul1edit", "1.1");
    ASSERT_TRUE(files.saveAnalogSettings(page));
    files.setDecimalSeparator(',');
    AdSettingsPage next;
    files.readAnalogSettings(next);
    ASSERT_EQ(textOf(&next, "mul1edit"), "1.10000002384186");
    EXPECT_TRUE(files.saveAnalogSettings(next)) << "the program reads back what it shows";
    EXPECT_TRUE(messages.messages.empty());
}

}  // namespace
}  // namespace dyno
