#pragma once

// Runs the dynotool binary as a script would, for black-box tests: the words are
// quoted for the shell, stdout and stderr are captured, the exit status returned.
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace dyno::testing {

struct ToolRun {
    int exitStatus = -1;
    std::string out;
    std::string err;
};

inline std::string shellQuoted(const std::string& word) {
    std::string quoted = "'";
    for (const char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// Runs `words` (a program and its arguments) as a shell would.
inline ToolRun runProgram(const std::vector<std::string>& words) {
    static int runNumber = 0;
    const std::filesystem::path errPath =
        std::filesystem::temp_directory_path() /
        ("dynotool_stderr_" + std::to_string(::getpid()) + "_" + std::to_string(++runNumber));
    std::string command;
    for (const std::string& word : words)
        command += (command.empty() ? "" : " ") + shellQuoted(word);
    command += " 2>" + shellQuoted(errPath.string());

    ToolRun run;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return run;
    char buffer[4096];
    while (const std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) {
        run.out.append(buffer, n);
    }
    const int status = ::pclose(pipe);
    run.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream err(errPath);
    run.err.assign(std::istreambuf_iterator<char>(err), std::istreambuf_iterator<char>());
    std::filesystem::remove(errPath);
    return run;
}

inline ToolRun runDynotool(const std::vector<std::string>& words) {
    std::vector<std::string> command{DYNOTOOL_PATH};
    command.insert(command.end(), words.begin(), words.end());
    return runProgram(command);
}

}  // namespace dyno::testing
