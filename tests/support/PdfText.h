#pragma once

// The text of a PDF as `pdftotext -layout` reads it back: lines of the page in
// order, words of a line left to right. A form feed ends each page.
#include <cstdio>
#include <string>

namespace dyno::testing {

inline std::string pdfText(const std::string& pdf) {
    std::string text;
    FILE* pipe = ::popen(("pdftotext -layout '" + pdf + "' -").c_str(), "r");
    if (pipe == nullptr) return text;
    char buffer[4096];
    while (const std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) text.append(buffer, n);
    ::pclose(pipe);
    return text;
}

}  // namespace dyno::testing
