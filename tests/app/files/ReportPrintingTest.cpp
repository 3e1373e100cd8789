// The window's print: "Print" (or F9) presets the remark lines, the print options
// dialog's OK leads to the printer, here a PDF file; and the window and
// `dynotool report` give the same page for the same sessions and settings.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QKeyEvent>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTimer>
#include <filesystem>

#include "app/composition/MainWindow.h"
#include "app/dialogs/PrintOptionsDialog.h"
#include "app/files/ReportPrinting.h"
#include "app/pages/ControlLookup.h"
#include "app/pages/GraphsPage.h"
#include "app/pages/RemarksPage.h"
#include "model/SessionModel.h"
#include "print/ReportFiles.h"
#include "support/DynotoolRun.h"
#include "support/PdfText.h"
#include "support/ReportSessions.h"

namespace dyno {
namespace {

class WindowPrint : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(sessions.saveInto(*model, "window_print_"));
        folder = sessions.folder;
        archives = sessions.archives;
        for (int s = 1; s <= 4; ++s) {
            window.remarksPage()->showSessionTexts(s, model->slot(s));
            controls::writeItemIndex(&window, ("test" + std::to_string(s) + "group").c_str(), 0);
        }
        // The scale dynotool takes by default.
        const char* boxes[] = {"startkmhedit", "endkmhedit",   "starthpedit",
                               "endhpedit",    "startrpmedit", "endrpmedit"};
        const char* limits[] = {"0", "150", "0", "20", "0", "10000"};
        for (int i = 0; i < 6; ++i)
            controls::writeText(&window, boxes[i], QString::fromLatin1(limits[i]));
        controls::writeItemIndex(&window, "test1group", 0);
        static_cast<QPushButton*>(controls::find<QWidget>(&window, "updatebutton"))->click();
    }

    // Presses F9 and answers the print options dialog with OK (or closes it).
    void pressF9Answering(bool ok) {
        PrintOptionsDialog* options = window.printOptionsDialog();
        QTimer::singleShot(0, options, [options, ok] {
            if (ok) {
                options->findChild<QPushButton*>(QStringLiteral("Button1"))->click();
            } else {
                options->reject();
            }
        });
        QKeyEvent f9(QEvent::KeyPress, Qt::Key_F9, Qt::NoModifier);
        QApplication::sendEvent(window.graphsPage(), &f9);
    }

    testing::ReportSessions sessions;
    std::unique_ptr<SessionModel> model = SessionModel::create();
    MainWindow window{*model, QDir::currentPath()};
    std::filesystem::path folder;
    std::vector<std::string> archives;
};

TEST_F(WindowPrint, F9ThenOkPrintsToTheChosenFileAndCancelPrintsNothing) {
    const QString pdf = QString::fromStdString((folder / "window.pdf").string());
    int printersAsked = 0;
    window.reportPrinting()->setPrinterChooser([&](QPrinter& printer) {
        ++printersAsked;
        EXPECT_EQ(printer.resolution(), 600);
        EXPECT_EQ(printer.docName(), "vkr print");
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        return true;
    });

    pressF9Answering(false);
    EXPECT_EQ(printersAsked, 0);
    EXPECT_FALSE(QFileInfo::exists(pdf));

    pressF9Answering(true);
    EXPECT_EQ(printersAsked, 1);
    for (int slot = 1; slot <= 4; ++slot) {
        EXPECT_EQ(window.printOptionsDialog()->remarkLines(slot), 1) << "plotted: one line";
    }
    const std::string text = testing::pdfText(pdf.toStdString());
    for (const char* word : {"Make1", "Remark1", "Make4", "Remark4", "Measured by Your company"}) {
        EXPECT_NE(text.find(word), std::string::npos) << word << " in:\n" << text;
    }
}

TEST_F(WindowPrint, PreviewShowsThePageBeforeAnyPrinterIsAsked) {
    bool previewShown = false;
    QTimer::singleShot(0, &window, [&] {
        auto* preview = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
        previewShown = preview != nullptr;
        if (preview != nullptr) preview->reject();
    });
    window.printOptionsDialog()->findChild<QPushButton*>(QStringLiteral("previewbutton"))->click();
    EXPECT_TRUE(previewShown);
}

TEST_F(WindowPrint, WindowAndDynotoolGiveTheSamePage) {
    // dynotool in a folder without settings file or logo: the first-start defaults,
    // which the window's controls show before a settings file is read.
    const std::string png = (folder / "tool.png").string();
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(folder);
    const auto run = testing::runDynotool(
        {"report", archives[0], archives[1], archives[2], archives[3], "--out", png});
    std::filesystem::current_path(before);
    ASSERT_EQ(run.exitStatus, 0) << run.err;

    for (int slot = 1; slot <= 4; ++slot) window.printOptionsDialog()->setRemarkLines(slot, 1);
    const QImage fromWindow =
        reportImage(window.reportPrinting()->currentReport(), reportPageLayout());
    const QImage fromTool =
        QImage(QString::fromStdString(png)).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(fromTool.size(), fromWindow.size());
    EXPECT_TRUE(fromTool == fromWindow);
}

}  // namespace
}  // namespace dyno
