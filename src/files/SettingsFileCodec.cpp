#include "files/SettingsFileCodec.h"

#include <fstream>

#include "files/AtomicFileWrite.h"
#include "files/ByteReader.h"
#include "files/ByteWriter.h"
#include "model/Cp1252.h"
#include "model/DynoSettings.h"
#include "model/TextNumbers.h"

namespace dyno {

namespace {

// Text fields: stored characters and field size.
constexpr std::size_t kCompanyChars = 19, kCompanyField = 20;
constexpr std::size_t kPhoneChars = 15, kPhoneField = 16;
constexpr std::size_t kFolderChars = 40, kFolderField = 40;
// A port name of eight characters would have no terminator and run into the next
// field for any reader that expects one; seven always leave it.
constexpr std::size_t kPortChars = 7, kPortField = 8;

constexpr int kK80 = 2;
constexpr int kLowestK80RollerCode = 40;

std::string numberText(std::int64_t value) {
    return std::to_string(value);
}

std::string storedText(const std::string& utf8) {
    return toWindows1252(utf8);
}

void putGraphLimits(ByteWriter& out, const DynoSettings& s, SettingsInForce& inForce) {
    const std::string* texts[] = {&s.startSpeedText, &s.endSpeedText, &s.startPowerText,
                                  &s.endPowerText,   &s.startRpmText, &s.endRpmText};
    for (std::size_t i = 0; i < 6; ++i) {
        inForce.graphLimits[i] = leadingInteger(*texts[i]);
        out.putInt32(inForce.graphLimits[i]);
    }
}

std::int16_t flag16(bool on) {
    return on ? 1 : 0;
}

// The defaults of a start without settings file: the fields the file would set and
// the values in force (roller code 0). Controls the file does not reach keep the
// window's defaults.
SettingsInForce applyFirstStartDefaults(DynoSettings& s) {
    SettingsInForce inForce;
    std::string* texts[] = {&s.startSpeedText, &s.endSpeedText, &s.startPowerText,
                            &s.endPowerText,   &s.startRpmText, &s.endRpmText};
    for (std::size_t i = 0; i < 6; ++i) *texts[i] = numberText(inForce.graphLimits[i]);
    s.companyName = "Your company";
    s.companyPhone = "1234567890";
    s.initialFolder = "C:\\";
    s.cardAddressChoice = 0;
    s.buttonWaitText = "400";
    return inForce;
}

// A check box stored as int16 is on only for exactly 1 (a foreign 2 leaves it off).
// Returns whether the file held the field.
bool readFlag16(ByteReader& in, bool& box) {
    std::int16_t stored = 0;
    if (!in.readInt16(stored)) return false;
    box = stored == 1;
    return true;
}

void readIndex16(ByteReader& in, int& index) {
    std::int16_t stored = 0;
    if (in.readInt16(stored)) index = stored;
}

void readText(ByteReader& in, std::string& text, std::size_t field) {
    std::string stored;
    if (in.readText(stored, field, field)) text = fromWindows1252(stored);
}

void readRestoredDouble(ByteReader& in, std::string& text, double* inForce) {
    double stored = 0.0;
    if (!in.readFloat64(stored)) return;
    text = formatGeneral15(stored);
    if (inForce != nullptr) *inForce = stored;
}

}  // namespace

std::string portNameTooLongMessage(std::string_view portName) {
    return "The port name \"" + std::string(portName) + "\" is longer than the " +
           std::to_string(kPortChars) +
           " characters the settings file keeps. The settings were not saved.";
}

std::int16_t rollerCodeOf(int dynoModel, int rollerType, int rollerSpecs) {
    int code = rollerSpecs;
    if (rollerType >= 1 && rollerType <= 3) code += 10 * rollerType;
    // The K80 codes are told from the K70's by their range (40 and up). A standard
    // roller whose specs index lies more than ten below the list (only a foreign file
    // gives one) would land among the K70 codes and read back as another roller, then
    // move by 50 again at the next save: such a code is stored as it was read.
    if (dynoModel == kK80 && code + kK80RollerCodeOffset >= kLowestK80RollerCode)
        code += kK80RollerCodeOffset;
    return static_cast<std::int16_t>(code);
}

void applyRollerCode(int code, DynoSettings& s) {
    if (code >= 90) return;
    // K70 codes count from 0, K80 codes from 50. Codes 40..49 are never written;
    // they read as a standard roller with a negative specs index, as they always have.
    const int k80Base = code >= kLowestK80RollerCode ? kK80RollerCodeOffset : 0;
    const int withinModel = code - k80Base;
    const bool isStandardRoller = code < 10 || (code >= kLowestK80RollerCode && code < 60);
    s.rollerType = isStandardRoller ? 0 : withinModel / 10;
    s.rollerSpecs = isStandardRoller ? withinModel : withinModel % 10;
}

FileResult<EncodedSettings> encodeSettingsFile(const DynoSettings& s, char decimalSeparator) {
    EncodedSettings encoded;
    SettingsInForce& inForce = encoded.inForce;

    // The strict conversions first: a box that is not a number stops the save before
    // anything is written.
    const std::string* constantTexts[] = {&s.weatherHumidityConstantText,
                                          &s.weatherPressureConstantText,
                                          &s.weatherTemperatureConstantText};
    double* constants[] = {&inForce.weatherHumidityConstant, &inForce.weatherPressureConstant,
                           &inForce.weatherTemperatureConstant};
    for (std::size_t i = 0; i < 3; ++i) {
        const auto value = strictDecimal(*constantTexts[i], decimalSeparator);
        if (!value) return FileError{notAFloatMessage(*constantTexts[i]), "", true};
        *constants[i] = *value;
    }
    // A longer port name would be cut to another port ("ttyUSB12" to "ttyUSB1").
    if (const std::string port = storedText(s.serialPortName); port.size() > kPortChars) {
        return FileError{portNameTooLongMessage(s.serialPortName), "", false};
    }
    const auto delay = strictInteger(s.transferDelayText);
    if (!delay) return FileError{notAnIntegerMessage(s.transferDelayText), "", true};
    const auto storedDelay = static_cast<std::int16_t>(*delay);
    inForce.transferDelay = static_cast<std::uint8_t>(storedDelay & 0xFF);
    inForce.rollerCode = rollerCodeOf(s.dynoModel, s.rollerType, s.rollerSpecs);

    ByteWriter out(kSettingsFileSize);
    putGraphLimits(out, s, inForce);
    out.putText(storedText(s.companyName), kCompanyChars, kCompanyField);
    out.putText(storedText(s.companyPhone), kPhoneChars, kPhoneField);
    out.putText(storedText(s.initialFolder), kFolderChars, kFolderField);
    out.putInt32(s.printOwnerName ? 1 : 0);
    out.putInt32(s.printHeader ? 1 : 0);
    out.putInt16(flag16(s.powerInKw));
    out.putInt16(static_cast<std::int16_t>(s.correctionStandard));
    out.putInt16(flag16(s.speedInMph));
    out.putInt16(flag16(s.torqueInFtLbs));
    out.putInt16(static_cast<std::int16_t>(s.cardAddressChoice));
    out.putInt16(flag16(s.useFahrenheit));
    out.putInt16(flag16(s.useInchHg));
    out.putInt16(static_cast<std::int16_t>(leadingInteger(s.printLineWidthText)));
    out.putInt16(flag16(s.useOptimisedButtonDelay));
    out.putInt32(leadingInteger(s.buttonWaitText));
    out.putInt16(static_cast<std::int16_t>(s.dynoModel));
    out.putFloat64(leadingNumber(s.rollerWeightText));
    out.putInt16(inForce.rollerCode);
    out.putInt16(0);  // reserved
    out.putInt16(static_cast<std::int16_t>(s.electronicsType));
    out.putInt16(flag16(s.weatherStationConnected));
    out.putText(storedText(s.serialPortName), kPortChars, kPortField);
    for (const double* constant : constants) out.putFloat64(*constant);
    out.putInt16(storedDelay);
    encoded.bytes = out.take();
    return encoded;
}

SettingsInForce decodeSettingsFile(std::span<const std::uint8_t> bytes, DynoSettings& s) {
    SettingsInForce inForce = applyFirstStartDefaults(s);
    ByteReader in(bytes);

    std::string* limitTexts[] = {&s.startSpeedText, &s.endSpeedText, &s.startPowerText,
                                 &s.endPowerText,   &s.startRpmText, &s.endRpmText};
    for (std::size_t i = 0; i < 6; ++i) {
        if (in.readInt32(inForce.graphLimits[i]))
            *limitTexts[i] = numberText(inForce.graphLimits[i]);
    }
    readText(in, s.companyName, kCompanyField);
    readText(in, s.companyPhone, kPhoneField);
    readText(in, s.initialFolder, kFolderField);
    // The two int32 check boxes count any non-zero value.
    std::int32_t stored32 = 0;
    if (in.readInt32(stored32)) s.printOwnerName = stored32 != 0;
    if (in.readInt32(stored32)) s.printHeader = stored32 != 0;
    readFlag16(in, s.powerInKw);
    readIndex16(in, s.correctionStandard);
    readFlag16(in, s.speedInMph);
    readFlag16(in, s.torqueInFtLbs);
    readIndex16(in, s.cardAddressChoice);
    if (readFlag16(in, s.useFahrenheit) && s.useFahrenheit) inForce.paramTemperatureText = "77";
    if (readFlag16(in, s.useInchHg) && s.useInchHg) inForce.paramPressureText = "29.15";
    std::int16_t stored16 = 0;
    if (in.readInt16(stored16)) s.printLineWidthText = numberText(stored16);
    readFlag16(in, s.useOptimisedButtonDelay);
    if (in.readInt32(stored32)) s.buttonWaitText = numberText(stored32);
    readIndex16(in, s.dynoModel);
    readRestoredDouble(in, s.rollerWeightText, nullptr);
    // Read or defaulted, the code sets the roller choices (a code of 90 and above
    // leaves them as the window holds them).
    in.readInt16(inForce.rollerCode);
    applyRollerCode(inForce.rollerCode, s);
    in.skip(2);  // reserved
    readIndex16(in, s.electronicsType);
    readFlag16(in, s.weatherStationConnected);
    readText(in, s.serialPortName, kPortField);
    readRestoredDouble(in, s.weatherHumidityConstantText, &inForce.weatherHumidityConstant);
    readRestoredDouble(in, s.weatherPressureConstantText, &inForce.weatherPressureConstant);
    readRestoredDouble(in, s.weatherTemperatureConstantText, &inForce.weatherTemperatureConstant);
    if (in.readInt16(stored16)) {
        inForce.transferDelay = static_cast<std::uint8_t>(stored16 & 0xFF);
        s.transferDelayText = numberText(inForce.transferDelay);
    }
    return inForce;
}

DynoSettings firstStartSettings() {
    DynoSettings settings;
    decodeSettingsFile({}, settings);
    return settings;
}

FileResult<SettingsInForce> saveSettingsFile(const std::filesystem::path& file,
                                             const DynoSettings& settings, char decimalSeparator) {
    auto encoded = encodeSettingsFile(settings, decimalSeparator);
    if (!encoded) return encoded.error();
    auto written = writeFileAtomically(file, encoded.value().bytes, kCannotSaveIniFile);
    if (!written) return written.error();
    return encoded.value().inForce;
}

FileResult<> createSettingsFile(const std::filesystem::path& file, const DynoSettings& settings) {
    auto encoded = encodeSettingsFile(settings);
    if (!encoded) return encoded.error();
    return createFileAtomically(file, encoded.value().bytes, kCannotSaveIniFile);
}

SettingsFileRead readSettingsFile(const std::filesystem::path& file, DynoSettings& settings) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return {decodeSettingsFile({}, settings),
                FileError{kCannotReadIniFile, "cannot open " + file.string()}};
    }
    // The file is read only as far as its layout goes; anything after it is not ours.
    std::vector<std::uint8_t> bytes(kSettingsFileSize);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return {decodeSettingsFile(bytes, settings), std::nullopt};
}

}  // namespace dyno
