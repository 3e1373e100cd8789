#pragma once

#include <array>

namespace dyno {

// What the Graphs page shows of one session slot. The update sets the run and the
// Hp/Tq choice from the slot's controls; the plot step sets the rest.
struct DisplaySelection {
    std::array<bool, 3> runShown{};  // at most one: the run chosen in the slot's group
    bool powerShown = false;         // the slot's Hp (Kw) box
    bool torqueShown = false;        // the slot's Tq box
    // Set when the slot is plotted and never reset while the program runs: a slot
    // cleared from the display keeps its legend line and cursor readout.
    bool plotted = false;
    int plottedRun = 0;  // 0..2
    bool legendShown = false;

    // The run chosen, or -1 when the slot's group has nothing selected.
    int selectedRun() const {
        for (int r = 0; r < 3; ++r) {
            if (runShown[static_cast<std::size_t>(r)]) return r;
        }
        return -1;
    }
};

}  // namespace dyno
