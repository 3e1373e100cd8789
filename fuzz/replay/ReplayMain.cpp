// Runs a fuzz target without libFuzzer: every file of the corpus folder given on
// the command line, then a fixed series of pseudo-random inputs, so CI exercises
// the target under the sanitizers with gcc alone.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <random>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
    std::size_t files = 0;
    for (int a = 1; a < argc; ++a) {
        std::filesystem::path folder(argv[a]);
        if (!std::filesystem::is_directory(folder)) continue;
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            if (!entry.is_regular_file()) continue;
            std::ifstream in(entry.path(), std::ios::binary);
            std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                            std::istreambuf_iterator<char>());
            LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
            ++files;
        }
    }
    // Fixed seed: the same inputs on every run, so a failure reproduces.
    std::mt19937 random(20261208u);
    std::vector<std::uint8_t> bytes;
    for (int round = 0; round < 2000; ++round) {
        bytes.resize(random() % 4096);
        for (auto& b : bytes) b = static_cast<std::uint8_t>(random());
        LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    }
    std::cout << "replayed " << files << " corpus files and 2000 generated inputs\n";
    return 0;
}
