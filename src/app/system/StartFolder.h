#pragma once

#include <QString>
#include <optional>

// The folder the program works in. Started from a terminal it is the current
// folder; started from the desktop menu (--user-folder) it is the workshop's own
// folder under the user's data folder, made on the first start with what a first
// test needs: the settings files, the print logo and a folder for the sessions.
// The demo (--demo) prepares the current folder the same way.
namespace dyno {

// Where the sessions of a prepared folder go, relative to it (so the settings stay
// valid when the folder moves, and fit the settings file's 40 characters).
inline constexpr const char* kFirstTestFolderName = "Tests";

// $XDG_DATA_HOME/vkr_dyno, or ~/.local/share/vkr_dyno.
QString userStartFolder();

// The K40 port a prepared folder's settings choose: the window's default, or the
// simulated electronics ("SIM") for the demo, which then needs no dyno at all.
enum class FirstK40Port { WindowDefault, Simulated };

// Makes `folder` and whatever of its contents is missing: "vkr_dyno.ini" with the
// first-start settings (those of a start without it), the port `port` and the test
// folder "Tests"; "vkr_dyno.ana" with the page's defaults; the print logo
// "vkrprint.bmp" drawn from the program's emblem and the folder "Tests"; for the
// demo, "vkr_dyno_analysis.ini" with channel 3 calibrated as the simulated lambda
// controller's air-fuel ratio and shown. Existing files are left as they are.
// Returns what failed.
std::optional<QString> prepareStartFolder(const QString& folder,
                                          FirstK40Port port = FirstK40Port::WindowDefault);

// Prepares the user's folder and makes it the current folder; returns what failed.
std::optional<QString> enterUserStartFolder();

}  // namespace dyno
