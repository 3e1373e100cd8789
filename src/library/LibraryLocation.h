#pragma once

#include <filesystem>

namespace dyno {

// Where the session index lives when none is named: the user's data folder
// ($XDG_DATA_HOME, else ~/.local/share), in a folder of the program's own.
std::filesystem::path defaultLibraryFile();

}  // namespace dyno
