#pragma once

// The test run's own home, data, settings, cache and runtime folders, made fresh
// for each test program and removed when it ends. A workshop runs the tests on the
// PC that drives its dyno: nothing a test does may reach the user's own session
// library, settings or lock, whatever the code under test looks up.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace dyno::testing {

class PrivateUserFolders {
  public:
    PrivateUserFolders() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "dyno_test_home_XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) std::abort();
        root_ = pattern;
        const std::pair<const char*, const char*> folders[] = {
            {"HOME", "home"},
            {"XDG_DATA_HOME", "home/.local/share"},
            {"XDG_CONFIG_HOME", "home/.config"},
            {"XDG_CACHE_HOME", "home/.cache"},
            {"XDG_RUNTIME_DIR", "runtime"}};
        for (const auto& [variable, folder] : folders) {
            const std::filesystem::path path = root_ / folder;
            std::filesystem::create_directories(path);
            ::chmod(path.c_str(), 0700);
            ::setenv(variable, path.c_str(), 1);
        }
    }
    ~PrivateUserFolders() {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    PrivateUserFolders(const PrivateUserFolders&) = delete;
    PrivateUserFolders& operator=(const PrivateUserFolders&) = delete;

  private:
    std::filesystem::path root_;
};

}  // namespace dyno::testing
