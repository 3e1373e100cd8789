#include "library/LibraryLocation.h"

#include <cstdlib>

namespace dyno {

std::filesystem::path defaultLibraryFile() {
    std::filesystem::path data;
    // An XDG folder must be absolute; a relative one is to be ignored.
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && xdg[0] == '/') {
        data = xdg;
    } else if (const char* home = std::getenv("HOME"); home && home[0] != '\0') {
        data = std::filesystem::path(home) / ".local" / "share";
    } else {
        data = std::filesystem::temp_directory_path();
    }
    return data / "vkr_dyno" / "session-library.sqlite";
}

}  // namespace dyno
