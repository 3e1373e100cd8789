// Test entry for the folders that need an event loop but no window: serial ports,
// timers and socket notifiers; in folders of the test run's own.
#include <gtest/gtest.h>

#include <QCoreApplication>

#include "support/PrivateUserFolders.h"

int main(int argc, char** argv) {
    const dyno::testing::PrivateUserFolders folders;
    QCoreApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
