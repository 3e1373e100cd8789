#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace dyno {

// Roller codes of a K80 count from 50, its standard roller; K70 codes count from 0.
inline constexpr std::int16_t kK80RollerCodeOffset = 50;

// The program settings as the window's controls hold them: edit boxes as the texts
// typed (UTF-8), combo boxes and radio groups as item indexes, check boxes as
// states. This is exactly what "vkr_dyno.ini" stores and restores; the values the
// program holds as current numbers (graph scale, roller code, weather constants,
// transfer delay) come out of the settings file codec alongside it.
// Defaults are the window's own, as the controls show them before any file is read.
struct DynoSettings {
    // Setup page graph limits (`inistartkmhedit` .. `iniendrpmedit`); stored as
    // whole numbers, restored into these and the Param. page's limit boxes.
    std::string startSpeedText;
    std::string endSpeedText;
    std::string startPowerText;
    std::string endPowerText;
    std::string startRpmText;
    std::string endRpmText;

    std::string companyName;   // `firmanavnedit`, 19 characters stored
    std::string companyPhone;  // `tlfedit`, 15 characters stored
    std::string initialFolder = "Name of initial test folder";  // `initialdiredit`, 40 stored

    bool printOwnerName = true;  // "Print owner name"
    bool printHeader = false;    // "Print header"
    bool powerInKw = false;      // "Show power as KW"
    int correctionStandard = 3;  // `corrchoice`: "SAE STP", "SAE J1349", "DIN", "EEC", "ISO 1585"
    bool speedInMph = false;     // "Show speed as MPH"
    bool torqueInFtLbs = false;  // "Torque displayed as Ft.lbs"
    int cardAddressChoice = 0;   // advanced setup "I/O adress": 0 = 1B0..1BB, 1 = 1F0..1FB
    bool useFahrenheit = false;  // "Use Fahrenheit"
    bool useInchHg = false;      // "Use Inch - HG"
    std::string printLineWidthText = "3";
    bool useOptimisedButtonDelay = false;  // "Use optimized testbutton delay"
    std::string buttonWaitText = "400";    // `waitbutton_edit`, remote button delay in ms

    int dynoModel = 0;                     // "K40", "K70", "K80"
    std::string rollerWeightText = "184";  // kg
    int rollerType =
        0;  // "Standard roller", "Heavy roller", "Standard + Eddy Br.", "Heavy + Eddy Br."
    int rollerSpecs =
        0;  // "Roller -extras", "Roller w. Starter", "Roller w. Disc Br.", "Roller w. both"
    int electronicsType = 1;               // "K80/K70 type card", "USB/Serial interface"
    bool weatherStationConnected = false;  // "Weatherstation connected"
    std::string serialPortName = "COM1";   // `comedit`, the K40's port

    // Weather station constants (`weatherfugtedit`, `weatherbaroedit`, `weathertempedit`).
    std::string weatherHumidityConstantText = "250";
    std::string weatherPressureConstantText = "250";
    std::string weatherTemperatureConstantText = "250";

    std::string transferDelayText = "20";  // "USB data transfer delay", 0..255

    friend bool operator==(const DynoSettings&, const DynoSettings&) = default;
};

// One analog channel as the "A/D Sett." page holds it; "vkr_dyno.ana" stores five.
// (The numeric scaling taken from these texts at a test start is ChannelSettings.)
struct AnalogChannelTexts {
    std::string factorText = "1";            // "* / factor"
    std::string offsetText = "0";            // "+ - factor"
    std::string delayText = "0";             // "delay"
    int factorUse = 0;                       // 0 "Mul.", 1 "Div."
    int offsetUse = 0;                       // 0 "Add", 1 "Sub."
    bool isInverted = false;                 // "Invert"
    std::string topValue;                    // "Top value"
    std::array<std::string, 9> scaleLabels;  // from the top down
    std::string bottomValue;                 // "B. value"
    std::string unitText = "Volt";           // "Text"

    friend bool operator==(const AnalogChannelTexts&, const AnalogChannelTexts&) = default;
};

inline constexpr int kAnalogSettingsChannels = 5;
using AnalogChannelTextSet = std::array<AnalogChannelTexts, kAnalogSettingsChannels>;

// The page as it starts: channel 1 scaled 0..5 volts in half-volt steps, the
// others without scale labels.
inline AnalogChannelTextSet defaultAnalogChannelTexts() {
    AnalogChannelTextSet channels;
    channels[0].topValue = "5";
    channels[0].scaleLabels = {"4,5", "4", "3,5", "3", "2,5", "2", "1,5", "1", "0,5"};
    channels[0].bottomValue = "0";
    return channels;
}

}  // namespace dyno
