// Test entry for the folders that paint: a QApplication on the offscreen platform
// unless the environment names another one (Xvfb runs set QT_QPA_PLATFORM=xcb), in
// folders of the test run's own.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

#include "support/PrivateUserFolders.h"

int main(int argc, char** argv) {
    const dyno::testing::PrivateUserFolders folders;
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
