#include "display/graph/GraphPresets.h"

#include <string>

#include "model/TextNumbers.h"

namespace dyno {

namespace {

// "10.000 Rpm": thousands with a point, as the buttons have always read.
std::string rpmCaption(int end) {
    return formatFixed(end / 1000, 0) + ".000 Rpm";
}

}  // namespace

std::string initialCaption(const ScalePreset& preset) {
    const std::string end = formatFixed(preset.end, 0);
    switch (preset.axis) {
        case ScaleAxis::speed: return "0 - " + end + " Kmh";
        case ScaleAxis::rpm: return rpmCaption(preset.end);
        case ScaleAxis::power: return "0 - " + end + " Hp";
    }
    return {};
}

std::string unitCaption(const ScalePreset& preset, bool powerInKw, bool speedInMph) {
    const std::string end = formatFixed(preset.end, 0);
    switch (preset.axis) {
        case ScaleAxis::speed: return "0-" + end + (speedInMph ? " Mph" : " Kph");
        case ScaleAxis::rpm: return rpmCaption(preset.end);
        case ScaleAxis::power: return "0 - " + end + (powerInKw ? " Kw" : " Hp");
    }
    return {};
}

std::string_view powerBoxCaption(bool powerInKw) {
    return powerInKw ? "Kw" : "Hp";
}

void applyPreset(const ScalePreset& preset, ScaleTexts& texts) {
    const std::string end = formatFixed(preset.end, 0);
    switch (preset.axis) {
        case ScaleAxis::speed:
            texts.startKmh = "0";
            texts.endKmh = end;
            break;
        case ScaleAxis::rpm:
            texts.startRpm = "0";
            texts.endRpm = end;
            break;
        case ScaleAxis::power:
            texts.startHp = "0";
            texts.endHp = end;
            break;
    }
}

}  // namespace dyno
