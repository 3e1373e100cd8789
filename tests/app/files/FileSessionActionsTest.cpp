#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "app/FileActionsFixture.h"
#include "files/SessionFixtures.h"
#include "model/TestSession.h"

namespace dyno {
namespace {

using testing::click;
using testing::control;
using testing::setText;
using testing::text;

QByteArray fileBytes(const QString& file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString& file, const QByteArray& bytes) {
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

class FileSessionActions : public testing::SessionPagesFixture {
  protected:
    FileSessionActions() {
        auto recorded = testing::recordedSession();
        model->slot(1) = *recorded;
        setText(remarksPage, "makebox1", "Vespa");
        setText(remarksPage, "modelbox1", "ET4 50");
        setText(remarksPage, "ownerbox1", QStringLiteral("Ole S\u00F8rensen"));
        setText(remarksPage, "remarklinebox1a", "Polini kit, 19 mm carburettor");
        setText(remarksPage, "remarklinebox1b", "Main jet 84");
        setText(remarksPage, "remarklinebox1c", "Rollers 6 g");
        setText(paramPage, "baroedit", "1013");
        setText(paramPage, "tempedit", "21");
        setText(paramPage, "fugtedit", "44");
    }

    QCheckBox* inchHg() { return control<QCheckBox>(paramPage, "inchhgcheck"); }
    QCheckBox* fahrenheit() { return control<QCheckBox>(paramPage, "fahrenheitcheck"); }
    QComboBox* corrchoice() { return control<QComboBox>(paramPage, "corrchoice"); }
};

TEST_F(FileSessionActions, SavedSessionLoadsIntoSlot3WithoutTouchingTheParamPage) {
    saveAs("run");
    ASSERT_TRUE(QFile::exists(path("run.zsd")));
    EXPECT_EQ(model->slot(1).make.view(), "Vespa") << "the save stored the Remarks boxes first";

    setText(paramPage, "baroedit", "990");
    corrchoice()->setCurrentIndex(0);
    loadInto("run.zsd", 3);
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_EQ(filePage.loadedText(),
              "run.zsd is loaded into Test session 3. Choose its run on the Graphs page.");

    const TestSession& slot3 = model->slot(3);
    const TestSession& slot1 = model->slot(1);
    EXPECT_EQ(slot3.rollerPeriods, slot1.rollerPeriods);
    EXPECT_EQ(slot3.header, slot1.header);
    EXPECT_EQ(slot3.correctionFactor, slot1.correctionFactor);
    EXPECT_EQ(slot3.owner.view(), "Ole S\xF8rensen");

    EXPECT_EQ(text(remarksPage, "makebox3"), "Vespa");
    EXPECT_EQ(text(remarksPage, "ownerbox3"), QStringLiteral("Ole S\u00F8rensen"));
    EXPECT_EQ(text(remarksPage, "remarklinebox3a"), "Polini kit, 19 mm carburettor");
    EXPECT_EQ(text(remarksPage, "remarklinebox3c"), "Rollers 6 g");
    EXPECT_EQ(text(remarksPage, "barobox3"), "1013");
    EXPECT_EQ(text(remarksPage, "fugtbox3"), "44");

    EXPECT_EQ(text(paramPage, "baroedit"), "990");
    EXPECT_EQ(corrchoice()->currentIndex(), 0);
    EXPECT_EQ(text(remarksPage, "barobox1"), "");

    // A test recording into slot 1 leaves the line about slot 3; one into slot 3 ends it.
    filePage.slotOverwritten(1);
    EXPECT_FALSE(filePage.loadedText().isEmpty());
    filePage.slotOverwritten(3);
    EXPECT_EQ(filePage.loadedText(), "");

    loadInto("run.zsd", 3);
    writeFile(path("bad.zsd"), QByteArray("PK\x03\x04 this is no zip archive"));
    loadInto("bad.zsd", 2);
    EXPECT_EQ(filePage.loadedText(), "") << "the failed load is not taken for the one before";
}

TEST_F(FileSessionActions, SlotOneIsNeitherLoadedNorSavedWhileATestReceivesIntoIt) {
    saveAs("earlier");
    standIn.k40.isBusy = true;  // a packet of the run is being handled
    sink.messages.clear();
    model->slot(1).rollerPeriods[0] = 4242;  // the run arriving now

    loadInto("earlier.zsd", 1);
    EXPECT_EQ(model->slot(1).rollerPeriods[0], 4242) << "the run being received stays";
    saveAs("during");
    EXPECT_FALSE(QFile::exists(path("during.zsd")));
    loadInto("earlier.zsd", 2);
    EXPECT_NE(model->slot(2).make.view(), "") << "other slots load as usual";
    const RecordingMessageSink::Message busy{MessageKind::Warning, "VKR dyno",
                                             std::string(kSlot1BusyText)};
    EXPECT_EQ(sink.messages, std::vector<RecordingMessageSink::Message>({busy, busy}));

    standIn.k40.isBusy = false;
    saveAs("after");
    EXPECT_TRUE(QFile::exists(path("after.zsd")));
}

TEST_F(FileSessionActions, LoadIntoSlot1FillsTheParamPageInTheChosenUnits) {
    model->slot(1).header.words[SessionHeader::kCorrectionStandard] = 1;
    model->slot(1).correctionFactor = 1.0371;
    saveAs("run");
    model->slot(1).correctionFactor = 1.0;
    model->slot(1).header.words[SessionHeader::kCorrectionStandard] = 3;
    setText(remarksPage, "makebox1", "");

    inchHg()->setChecked(true);
    fahrenheit()->setChecked(true);
    loadInto("run.zsd", 1);
    ASSERT_TRUE(sink.messages.empty());
    EXPECT_EQ(model->slot(1).correctionFactor, 1.0371);
    EXPECT_EQ(text(paramPage, "baroedit"), "29.82");  // 1013 mbar
    EXPECT_EQ(text(paramPage, "tempedit"), "70");     // 21 C is 69.8 F
    EXPECT_EQ(text(paramPage, "fugtedit"), "44");
    EXPECT_EQ(corrchoice()->currentIndex(), 1);
    EXPECT_EQ(text(paramPage, "correctionedit"), "1.037");
    EXPECT_EQ(text(remarksPage, "barobox1"), "29.82");
    EXPECT_EQ(text(remarksPage, "tempbox1"), "70");
    EXPECT_EQ(text(remarksPage, "makebox1"), "Vespa");
}

TEST_F(FileSessionActions, SaveStoresTheParamEntriesNotTheAirOfSlot1) {
    model->slot(1).airPressure = 500;
    inchHg()->setChecked(true);  // Fahrenheit stays off: 21 is Celsius
    setText(paramPage, "baroedit", "29.44");
    setText(paramPage, "fugtedit", "55 %");
    saveAs("air");
    loadInto("air.zsd", 2);
    EXPECT_NEAR(model->slot(2).airPressure, 1000.0, 1e-9);
    EXPECT_EQ(model->slot(2).airTemperature, 21.0);
    EXPECT_EQ(model->slot(2).airHumidity, 55.0);
    EXPECT_EQ(text(remarksPage, "barobox2"), "29.44") << "shown in the chosen unit";
    EXPECT_EQ(model->slot(1).airPressure, 500.0) << "saving leaves slot 1's air data";
}

TEST_F(FileSessionActions, DamagedArchiveIsReportedAndLeavesSlotAndBoxesAlone) {
    auto before = testing::recordedSession();
    model->slot(2) = *before;
    remarksPage.showSessionTexts(2, *before);
    writeFile(path("bad.zsd"), QByteArray("PK\x03\x04 this is no zip archive"));

    loadInto("bad.zsd", 2);
    // Selecting the file previews it, then the button loads it: both fail.
    ASSERT_EQ(sink.messages.size(), 2u);
    for (const auto& message : sink.messages) {
        EXPECT_EQ(message.kind, MessageKind::Error);
        EXPECT_EQ(message.caption, "File error");
        EXPECT_EQ(message.text, "Cannot read zipfile");
    }
    const TestSession& slot2 = model->slot(2);
    EXPECT_EQ(slot2.rollerPeriods, before->rollerPeriods);
    EXPECT_EQ(slot2.analogSamples, before->analogSamples);
    EXPECT_EQ(slot2.correctionFactor, before->correctionFactor);
    EXPECT_EQ(slot2.remarkLine1, before->remarkLine1);
    EXPECT_EQ(text(remarksPage, "makebox2"), "Piaggio-like");
    EXPECT_EQ(text(filePage, "readfiledate"), "") << "the preview keeps its old content";
}

TEST_F(FileSessionActions, PlainFilesPreviewAsTextAndAreNeverLoaded) {
    saveAs("run");
    ASSERT_TRUE(QFile::copy(path("run.zsd"), path("RUN.ZSD")));
    QByteArray notes("Remember the rollers");
    notes.append('\0');
    notes.append("after the zero");
    writeFile(path("notes.txt"), notes);
    const auto slot4Before = model->slot(4).rollerPeriods;

    loadInto("notes.txt", 4);
    EXPECT_EQ(control<QPlainTextEdit>(filePage, "readfilememo")->toPlainText(),
              "Remember the rollers");
    loadInto("RUN.ZSD", 4);  // capitals: not an archive name
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_EQ(model->slot(4).rollerPeriods, slot4Before);
    EXPECT_EQ(text(remarksPage, "makebox4"), "");
}

TEST_F(FileSessionActions, PreviewShowsRemarkAndTheFileTime) {
    saveAs("run");
    const QDateTime written(QDate(2007, 7, 29), QTime(9, 5, 5));
    {
        QFile file(path("run.zsd"));
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(written, QFileDevice::FileModificationTime));
    }
    filePage.refresh();
    ASSERT_TRUE(filePage.selectFile("run.zsd"));
    EXPECT_EQ(control<QPlainTextEdit>(filePage, "readfilememo")->toPlainText(),
              "Polini kit, 19 mm carburettor");
    EXPECT_EQ(text(filePage, "readfiletime"), "9:5:4") << "seconds in two-second steps";
    EXPECT_EQ(text(filePage, "readfiledate"), "7/29/2007");
}

TEST_F(FileSessionActions, ArchiveNameRuleAndTheSecondOverwriteQuestion) {
    setText(remarksPage, "makebox1", "Not stored");
    click(remarksPage, "savetestsession1");  // the dialog is cancelled
    EXPECT_TRUE(QDir(folder.path()).entryList(QDir::Files).isEmpty());
    EXPECT_NE(model->slot(1).make.view(), "Not stored");

    saveAs("test.ZSD");
    EXPECT_TRUE(QFile::exists(path("test.ZSD.zsd"))) << "the mark is case-sensitive";
    saveAs("run.zsd");
    saveAs("run.zsd");  // the dialog itself asked about this one
    EXPECT_TRUE(overwriteQuestions.empty());
    const QByteArray firstSave = fileBytes(path("run.zsd"));

    // run.zsd.old becomes run.zsd, which exists and nobody was asked about.
    setText(remarksPage, "remarklinebox1a", "Second try");
    overwriteAnswer = false;
    saveAs("run.zsd.old");
    ASSERT_EQ(overwriteQuestions.size(), 1u);
    EXPECT_EQ(overwriteQuestions[0], path("run.zsd"));
    EXPECT_EQ(fileBytes(path("run.zsd")), firstSave) << "answered no: nothing written";
    EXPECT_FALSE(QFile::exists(path("run.zsd.old")));
    EXPECT_NE(model->slot(1).remarkLine1.view(), "Second try");

    overwriteAnswer = true;
    saveAs("run");
    ASSERT_EQ(overwriteQuestions.size(), 2u);
    loadInto("run.zsd", 2);
    EXPECT_EQ(model->slot(2).remarkLine1.view(), "Second try");
    EXPECT_TRUE(sink.messages.empty());
}

TEST_F(FileSessionActions, SaveDialogStartsWhereTheLastSaveWentAndTheListShowsIt) {
    ASSERT_TRUE(QDir(folder.path()).mkdir("bikes"));
    chosenName = "first";
    click(filePage, "savefile");
    EXPECT_TRUE(filePage.selectFile("first.zsd")) << "the list shows the new archive";
    chosenName = "bikes/second";
    click(filePage, "savefile");
    chosenName = "third";
    click(filePage, "savefile");
    ASSERT_EQ(dialogFolders.size(), 3u);
    EXPECT_EQ(dialogFolders[0], folder.path());
    EXPECT_EQ(dialogFolders[1], folder.path());
    EXPECT_EQ(dialogFolders[2], path("bikes"));
    EXPECT_TRUE(QFile::exists(path("bikes/second.zsd")));
    EXPECT_TRUE(QFile::exists(path("bikes/third.zsd")));
}

TEST_F(FileSessionActions, FailedLoadAndSaveShowTheProgramsFileErrors) {
    filePage.refresh();
    click(filePage, "loadblue");  // nothing selected
    saveAs("no such folder/run");
    // The failed save moved the dialog's folder to the missing one.
    writeFile(path("letter.zsd"), "Dear customer");
    saveAs(path("letter.zsd"));
    ASSERT_EQ(sink.messages.size(), 3u);
    EXPECT_EQ(sink.messages[0].text, "Cannot read file");
    // The library's reason on a second line.
    EXPECT_EQ(sink.messages[1].text.rfind("Cannot save file\n", 0), 0u) << sink.messages[1].text;
    EXPECT_GT(sink.messages[1].text.size(), std::string("Cannot save file\n").size());
    EXPECT_EQ(sink.messages[1].caption, "File error");
    EXPECT_EQ(sink.messages[2].text, "Cannot save file\nNot a zip archive");

    // An empty file is no damaged archive: the save makes it one.
    writeFile(path("touched.zsd"), "");
    saveAs(path("touched.zsd"));
    EXPECT_EQ(sink.messages.size(), 3u);
    loadInto("touched.zsd", 2);
    EXPECT_EQ(sink.messages.size(), 3u);
    EXPECT_EQ(model->slot(2).make.view(), "Vespa");
}

TEST_F(FileSessionActions, AStoredFactorThatIsNoNumberLoadsAsOneWithTheWarningAndKeepsItsBytes) {
    const double stored = std::nan("");
    model->slot(1).correctionFactor = stored;
    saveAs("damaged");
    model->slot(1).correctionFactor = 1.02;
    loadInto("damaged.zsd", 1);
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].caption, "VKR dyno");
    EXPECT_EQ(sink.messages[0].text, "The correctionfactor is out of limits, changed to 1.00");
    EXPECT_EQ(text(paramPage, "correctionedit"), "1.000");
    EXPECT_EQ(std::memcmp(&model->slot(1).correctionFactor, &stored, sizeof stored), 0);
}

TEST_F(FileSessionActions, InitialFolderThatDoesNotExistFallsBackToHome) {
    writeFile(path("a.zsd"), "x");
    filePage.setInitialFolder(folder.path());
    EXPECT_TRUE(filePage.selectFile("a.zsd"));
    filePage.setInitialFolder(QStringLiteral("C:\\"));
    EXPECT_EQ(filePage.currentFolder(), QDir::homePath());
    EXPECT_EQ(filePage.saveFolder(), QDir::homePath());
}

}  // namespace
}  // namespace dyno
