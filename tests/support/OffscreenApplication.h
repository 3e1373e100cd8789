#pragma once

// The command-line tests draw in process to compare with the tool's pictures; the
// drawing needs fonts, hence a GUI application on the offscreen platform.
#include <QGuiApplication>
#include <memory>

namespace dyno::testing {

// A new application, or nothing when the process has one already.
inline std::unique_ptr<QGuiApplication> offscreenApplication() {
    if (QGuiApplication::instance() != nullptr) return nullptr;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "test_cli";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}

}  // namespace dyno::testing
