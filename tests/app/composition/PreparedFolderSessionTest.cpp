// A first day in a folder the program prepared itself, the demo's way and the
// menu's way: three simulated runs, "Update Display" draws the power curve and the
// printout names the workshop. The prepared settings must never be worse than no
// settings file at all.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include "app/RecordingMessageSink.h"
#include "app/SimulatedSessionWindow.h"
#include "app/acquisition/K40Session.h"
#include "app/acquisition/TestControl.h"
#include "app/composition/MainWindow.h"
#include "app/composition/ProgramParts.h"
#include "app/files/ReportPrinting.h"
#include "app/pages/GraphsPage.h"
#include "app/pages/InfoPage.h"
#include "app/pages/TestPage.h"
#include "app/system/StartFolder.h"
#include "display/GraphImageSupport.h"
#include "display/GraphPalette.h"
#include "files/SettingsFileCodec.h"
#include "model/SessionModel.h"
#include "print/ReportFiles.h"
#include "support/PdfText.h"
#include "widgets/ShadowLabel.h"

namespace dyno {
namespace {

class PreparedFolderSession : public ::testing::TestWithParam<FirstK40Port> {};

TEST_P(PreparedFolderSession, DrawsTheFirstSessionAndPrintsTheWorkshopsName) {
    QTemporaryDir folder;
    ASSERT_EQ(prepareStartFolder(folder.path(), GetParam()), std::nullopt);
    DynoSettings prepared;
    ASSERT_FALSE(
        readSettingsFile(QDir(folder.path()).filePath("vkr_dyno.ini").toStdString(), prepared)
            .error);
    DynoSettings expected = firstStartSettings();
    expected.initialFolder = kFirstTestFolderName;
    if (GetParam() == FirstK40Port::Simulated) expected.serialPortName = "SIM";
    EXPECT_EQ(prepared, expected) << "a start without a settings file, plus the test folder";

    RecordingMessageSink messages;
    // The menu's folder keeps the window's port; the simulated electronics answer
    // on every port here, so no serial device is opened.
    ProgramOptions options = testing::fastSimulatedSession();
    options.messages = &messages;
    ProgramParts parts(options);
    auto model = SessionModel::create();
    MainWindow window(parts, *model, folder.path());
    window.setSettingsMessageSink(messages);
    ASSERT_FALSE(window.startUp(CardBusOpener{}, false));
    testing::takeSessionMessages(window, messages);
    EXPECT_EQ(window.infoPage()->companyName(), "Your company");
    EXPECT_EQ(window.infoPage()->phone(), "1234567890");
    const auto* analogScroll = window.findChild<QScrollBar*>("scrollbar1");
    EXPECT_EQ(analogScroll->maximum(), 800) << "the start-up leaves the Analog page its range";

    QKeyEvent f3(QEvent::KeyPress, Qt::Key_F3, Qt::NoModifier);
    QApplication::sendEvent(&window, &f3);
    auto* remote = window.findChild<ShadowLabel*>("remotetext");
    ASSERT_TRUE(QTest::qWaitFor([&] { return remote->text() == "Test session finished"; }, 60'000))
        << remote->text().toStdString();

    QKeyEvent f2(QEvent::KeyPress, Qt::Key_F2, Qt::NoModifier);
    QApplication::sendEvent(&window, &f2);
    EXPECT_GT(
        graph_testing::pixelsOfColour(window.graphsPage()->images().graph, graph::powerColour(1))
            .size(),
        100u)
        << "the power curve of run 1 on the graph";

    // The page "Print" would send to the printer now, as a PDF.
    const QString pdf = QDir(folder.path()).filePath("first.pdf");
    ASSERT_TRUE(writeReportPdf(pdf, window.reportPrinting()->currentReport(), reportPageLayout()));
    const std::string text = testing::pdfText(pdf.toStdString());
    EXPECT_NE(text.find("Measured by Your company tel.1234567890 on the VKR Korvalis."),
              std::string::npos)
        << text;
    EXPECT_TRUE(messages.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(DemoAndMenu, PreparedFolderSession,
                         ::testing::Values(FirstK40Port::Simulated, FirstK40Port::WindowDefault),
                         [](const ::testing::TestParamInfo<FirstK40Port>& param) {
                             return param.param == FirstK40Port::Simulated ? "Demo" : "Menu";
                         });

}  // namespace
}  // namespace dyno
