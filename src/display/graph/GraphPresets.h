#pragma once

#include <array>
#include <string_view>

#include "display/graph/GraphUpdate.h"

// The eleven scale buttons of the Graphs page: each sets one axis to 0 .. its value
// (in the unit shown: "0-50 Mph" means 50 mph) and redraws.
namespace dyno {

enum class ScaleAxis { speed, rpm, power };

struct ScalePreset {
    std::string_view button;  // control name
    ScaleAxis axis;
    int end;
};

inline constexpr std::array<ScalePreset, 11> kScalePresets{{
    {"button50kmh", ScaleAxis::speed, 50},
    {"button100kmh", ScaleAxis::speed, 100},
    {"button150kmh", ScaleAxis::speed, 150},
    {"button200kmh", ScaleAxis::speed, 200},
    {"button250kmh", ScaleAxis::speed, 250},
    {"button10000rpm", ScaleAxis::rpm, 10000},
    {"button15000rpm", ScaleAxis::rpm, 15000},
    {"button5hp", ScaleAxis::power, 5},
    {"button10hp", ScaleAxis::power, 10},
    {"button20hp", ScaleAxis::power, 20},
    {"button50hp", ScaleAxis::power, 50},
}};

// The caption before the page is first entered ("0 - 50 Kmh", "10.000 Rpm", "0 - 5 Hp").
std::string initialCaption(const ScalePreset& preset);

// The caption once the page has been entered with the unit boxes as they are:
// "0-50 Kph" or "0-50 Mph", "0 - 5 Hp" or "0 - 5 Kw"; the rpm buttons keep theirs.
std::string unitCaption(const ScalePreset& preset, bool powerInKw, bool speedInMph);

// The caption of the slots' power boxes: "Hp" or "Kw".
std::string_view powerBoxCaption(bool powerInKw);

// Writes 0 and the preset's end into the two boxes of its axis; the page then runs
// the update.
void applyPreset(const ScalePreset& preset, ScaleTexts& texts);

}  // namespace dyno
