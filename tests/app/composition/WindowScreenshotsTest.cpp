// Every page shown in turn in a started window. With DYNO_SCREENSHOT_DIR set the
// pages are also written as PNG files (run under Xvfb with QT_QPA_PLATFORM=xcb for
// pictures as a desktop shows them).
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QTabWidget>
#include <QTemporaryDir>
#include <set>

#include "app/RecordingMessageSink.h"
#include "app/composition/MainWindow.h"
#include "app/composition/PageList.h"
#include "model/SessionModel.h"

namespace dyno {
namespace {

TEST(WindowScreenshots, EveryPageShowsItsOwnContent) {
    QTemporaryDir startDirectory;
    MainWindow window(startDirectory.path());  // owns its model, as the program's does
    RecordingMessageSink messages;
    window.setSettingsMessageSink(messages);
    ASSERT_FALSE(window.startUp(CardBusOpener{}));
    window.show();

    const QString folder = qEnvironmentVariable("DYNO_SCREENSHOT_DIR");
    std::set<QByteArray> distinctPages;
    for (int page = 0; page < window.pages()->count(); ++page) {
        window.pages()->setCurrentIndex(page);
        QApplication::processEvents();
        const QImage image = window.grab().toImage();
        EXPECT_EQ(image.size(), QSize(MainWindow::kClientWidth, MainWindow::kClientHeight));
        distinctPages.insert(QByteArray(reinterpret_cast<const char*>(image.constBits()),
                                        static_cast<int>(image.sizeInBytes())));
        if (!folder.isEmpty()) {
            const QString name = QString::fromLatin1(kPages[static_cast<std::size_t>(page)].caption)
                                     .remove(u'.')
                                     .replace(u'/', u'-')
                                     .replace(u' ', u'-');
            image.save(QDir(folder).filePath(QStringLiteral("%1-%2.png").arg(page + 1).arg(name)));
        }
    }
    EXPECT_EQ(distinctPages.size(), 11u) << "no page is blank or a copy of another";
}

}  // namespace
}  // namespace dyno
