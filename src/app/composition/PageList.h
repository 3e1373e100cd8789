#pragma once

#include <array>

namespace dyno {

// The main window's pages in tab order: caption and component name, the name the
// workshop's tests and tools know each page by.
struct PageEntry {
    const char* caption;
    const char* componentName;
};

inline constexpr std::array<PageEntry, 11> kPages{{
    {"Graphs", "grafside1"},
    {"Test", "testside1"},
    {"File", "readside1"},
    {"Param.", "TabSheet5"},
    {"Remarks", "remarkspage"},
    {"Setup", "TabSheet1"},
    {"Info", "TabSheet2"},
    {"Speed", "speedopage"},
    {"Analog", "analogside"},
    {"A/D Sett.", "ad_settings"},
    {"Analysis", "analysisside"},
}};

inline constexpr int kInfoPageIndex = 6;  // the page shown first

}  // namespace dyno
