#pragma once

#include <QGuiApplication>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/options/Arguments.h"

// What the drawing commands (graph, analog) share: the run choice per archive,
// comma lists of whole numbers, and a GUI application without a screen.
namespace dyno::cli {

// "--run N" for every file, or "N1,N2,.." with one run (1..3) per file; run 1 when
// the option is absent.
std::vector<int> runsOf(const Arguments& arguments, std::size_t files);

// "--NAME A,B,.." as whole numbers within minimum..maximum; nothing when absent.
std::optional<std::vector<int>> numberListOf(const Arguments& arguments, const std::string& name,
                                             int minimum, int maximum);

// "--NAME N" as one whole number within minimum..maximum, `fallback` when absent.
int numberOf(const Arguments& arguments, const std::string& name, int minimum, int maximum,
             int fallback);

// The drawing needs fonts, hence a GUI application; the tool never opens a window.
// Nothing when the process has one already.
std::unique_ptr<QGuiApplication> headlessApplication();

}  // namespace dyno::cli
