#include "files/SettingsFileCodec.h"

#include <gtest/gtest.h>

#include "ArchiveFixtures.h"
#include "SessionFixtures.h"
#include "model/TextNumbers.h"

namespace dyno {
namespace {

using testing::ByteImage;
using testing::fileBytes;
using testing::ScratchFolder;
using testing::writeFile;

// Settings as a workshop might have set them up: a K80 with heavy roller and disc
// brake, imperial units, company name one character too long for the file.
DynoSettings workshopSettings() {
    DynoSettings s;
    s.startSpeedText = "10";
    s.endSpeedText = "120 km/h";  // the leading number counts
    s.startPowerText = "-2";
    s.endPowerText = "25";
    s.startRpmText = "1000";
    s.endRpmText = "16000";
    s.companyName = "Hansen Motor Aps 20c";
    s.companyPhone = "+45 12 34 56 78";
    s.initialFolder = std::string("D:\\Dyno\\Kunder\\") + std::string(25, 'x');  // 40 characters
    s.printOwnerName = false;
    s.printHeader = true;
    s.powerInKw = true;
    s.correctionStandard = 4;
    s.speedInMph = true;
    s.torqueInFtLbs = true;
    s.cardAddressChoice = 1;
    s.useFahrenheit = true;
    s.useInchHg = true;
    s.printLineWidthText = "2";
    s.useOptimisedButtonDelay = true;
    s.buttonWaitText = "5010";
    s.dynoModel = 2;
    s.rollerWeightText = "184.5";
    s.rollerType = 1;
    s.rollerSpecs = 2;
    s.electronicsType = 0;
    s.weatherStationConnected = true;
    s.serialPortName = "COM3";
    s.weatherHumidityConstantText = "0.25";
    s.weatherPressureConstantText = "1013.5";
    s.weatherTemperatureConstantText = "-3";
    s.transferDelayText = "35";
    return s;
}

std::vector<std::uint8_t> handBuiltImage() {
    ByteImage image(182);
    const std::int32_t limits[] = {10, 120, -2, 25, 1000, 16000};
    for (std::size_t i = 0; i < 6; ++i) image.putInt32(4 * i, limits[i]);
    image.putBytes(24, "Hansen Motor Aps 20");
    image.putBytes(44, "+45 12 34 56 78");
    image.putBytes(60, std::string("D:\\Dyno\\Kunder\\") + std::string(25, 'x'));
    image.putInt32(100, 0);
    image.putInt32(104, 1);
    image.putInt16(108, 1);
    image.putInt16(110, 4);
    image.putInt16(112, 1);
    image.putInt16(114, 1);
    image.putInt16(116, 1);
    image.putInt16(118, 1);
    image.putInt16(120, 1);
    image.putInt16(122, 2);
    image.putInt16(124, 1);
    image.putInt32(126, 5010);
    image.putInt16(130, 2);
    image.putFloat64(132, 184.5);
    image.putInt16(140, 62);  // K80 50 + heavy roller 10 + disc brake 2
    image.putInt16(144, 0);
    image.putInt16(146, 1);
    image.putBytes(148, "COM3");
    image.putFloat64(156, 0.25);
    image.putFloat64(164, 1013.5);
    image.putFloat64(172, -3.0);
    image.putInt16(180, 35);
    return image.bytes();
}

TEST(SettingsFileCodec, ImageMatchesTheHandBuiltLayout) {
    const auto encoded = encodeSettingsFile(workshopSettings());
    ASSERT_TRUE(encoded.ok());
    EXPECT_EQ(encoded.value().bytes, handBuiltImage());
    const auto& inForce = encoded.value().inForce;
    EXPECT_EQ(inForce.rollerCode, 62);
    EXPECT_EQ(inForce.graphLimits, (std::array<std::int32_t, 6>{10, 120, -2, 25, 1000, 16000}));
    EXPECT_EQ(inForce.weatherPressureConstant, 1013.5);
    EXPECT_EQ(inForce.transferDelay, 35);
}

TEST(SettingsFileCodec, ProgramWrittenFileRestoresTheSameSettingsAndBytes) {
    const auto first = encodeSettingsFile(workshopSettings()).value().bytes;
    DynoSettings restored;
    const auto inForce = decodeSettingsFile(first, restored);
    EXPECT_EQ(restored.companyName, "Hansen Motor Aps 20");
    EXPECT_EQ(restored.endSpeedText, "120");
    EXPECT_EQ(restored.rollerType, 1);
    EXPECT_EQ(restored.rollerSpecs, 2);
    EXPECT_EQ(restored.rollerWeightText, "184.5");
    EXPECT_EQ(restored.weatherHumidityConstantText, "0.25");
    EXPECT_EQ(inForce.rollerCode, 62);
    EXPECT_EQ(inForce.weatherTemperatureConstant, -3.0);
    EXPECT_EQ(inForce.paramTemperatureText, "77");  // Fahrenheit flag 1
    EXPECT_EQ(encodeSettingsFile(restored).value().bytes, first);

    DynoSettings again;
    decodeSettingsFile(encodeSettingsFile(restored).value().bytes, again);
    EXPECT_EQ(again, restored);
}

TEST(SettingsFileCodec, WorkshopTextsAreStoredAsWindows1252) {
    DynoSettings s = workshopSettings();
    s.companyName = "S\xC3\xB8ren's Scooter \xE2\x82\xAC";  // Søren's Scooter €
    const auto bytes = encodeSettingsFile(s).value().bytes;
    EXPECT_EQ(std::string(bytes.begin() + 24, bytes.begin() + 41), "S\xF8ren's Scooter \x80");
    DynoSettings restored;
    decodeSettingsFile(bytes, restored);
    EXPECT_EQ(restored.companyName, s.companyName);
}

TEST(SettingsFileCodec, RollerCodesReadBackByTheirTable) {
    struct Case {
        int code, type, specs;
    };
    for (const Case c :
         {Case{3, 0, 3}, Case{12, 1, 2}, Case{23, 2, 3}, Case{31, 3, 1}, Case{45, 0, -5},
          Case{52, 0, 2}, Case{62, 1, 2}, Case{70, 2, 0}, Case{83, 3, 3}}) {
        DynoSettings s;
        applyRollerCode(c.code, s);
        EXPECT_EQ(s.rollerType, c.type) << c.code;
        EXPECT_EQ(s.rollerSpecs, c.specs) << c.code;
    }
    DynoSettings kept;
    kept.rollerType = 2;
    kept.rollerSpecs = 1;
    applyRollerCode(95, kept);
    EXPECT_EQ(kept.rollerType, 2);
    EXPECT_EQ(kept.rollerSpecs, 1);
    EXPECT_EQ(rollerCodeOf(1, 3, 0), 30);
    EXPECT_EQ(rollerCodeOf(2, 0, 3), 53);
}

// Codes no program writes but a foreign or damaged file may hold: read and saved
// again they keep the roller they read as, and a second save changes nothing (a K80
// code below -10 used to move up by 50 on every save).
TEST(SettingsFileCodec, OddRollerCodesKeepTheirRollerThroughEverySave) {
    for (const int model : {0, 1, 2}) {
        for (const int code :
             {-32768, -41, -40, -15, -11, -10, -1, 9, 17, 39, 40, 45, 49, 89, 90, 32767}) {
            ByteImage image(182);
            image.bytes() = handBuiltImage();
            image.putInt16(130, static_cast<std::int16_t>(model));
            image.putInt16(140, static_cast<std::int16_t>(code));
            DynoSettings read;
            decodeSettingsFile(image.bytes(), read);
            const auto saved = encodeSettingsFile(read).value().bytes;
            DynoSettings reread;
            decodeSettingsFile(saved, reread);
            EXPECT_EQ(reread.rollerType, read.rollerType) << model << " " << code;
            EXPECT_EQ(reread.rollerSpecs, read.rollerSpecs) << model << " " << code;
            EXPECT_EQ(encodeSettingsFile(reread).value().bytes, saved) << model << " " << code;
        }
    }
}

TEST(SettingsFileCodec, ForeignValuesAreNormalisedAsTheControlsTakeThem) {
    auto bytes = handBuiltImage();
    ByteImage patch(182);
    patch.bytes() = bytes;
    patch.putInt32(100, 2);    // print owner: any non-zero is on
    patch.putInt16(108, 2);    // kW: only exactly 1 is on
    patch.putInt16(118, 2);    // Fahrenheit 2: off, and the Param. box keeps its text
    patch.putInt16(142, 777);  // reserved
    patch.putInt16(140, 95);   // roller code beyond the table
    DynoSettings s;
    s.rollerType = 3;
    const auto inForce = decodeSettingsFile(patch.bytes(), s);
    EXPECT_TRUE(s.printOwnerName);
    EXPECT_FALSE(s.powerInKw);
    EXPECT_FALSE(s.useFahrenheit);
    EXPECT_FALSE(inForce.paramTemperatureText.has_value());
    EXPECT_EQ(inForce.paramPressureText, "29.15");
    EXPECT_EQ(s.rollerType, 3);
    EXPECT_EQ(inForce.rollerCode, 95);
    const auto rewritten = encodeSettingsFile(s).value().bytes;
    EXPECT_EQ(rewritten[142], 0);
    EXPECT_EQ(rewritten[143], 0);
}

TEST(SettingsFileCodec, NoFileGivesFirstStartDefaultsAndKeepsOtherControls) {
    DynoSettings s;
    s.powerInKw = true;  // as the user left the box before the read
    const auto inForce = decodeSettingsFile({}, s);
    EXPECT_EQ(s.startSpeedText, "0");
    EXPECT_EQ(s.endSpeedText, "100");
    EXPECT_EQ(s.endPowerText, "10");
    EXPECT_EQ(s.endRpmText, "15000");
    EXPECT_EQ(s.companyName, "Your company");
    EXPECT_EQ(s.companyPhone, "1234567890");
    EXPECT_EQ(s.initialFolder, "C:\\");
    EXPECT_EQ(s.buttonWaitText, "400");
    EXPECT_TRUE(s.powerInKw);
    EXPECT_EQ(s.weatherPressureConstantText, "250");  // the box keeps its text...
    EXPECT_EQ(inForce.weatherPressureConstant, 0.0);  // ...while 0 is in force
    EXPECT_EQ(inForce.transferDelay, 20);
    EXPECT_EQ(inForce.rollerCode, 0);
}

TEST(SettingsFileCodec, ShortFileGivesDefaultsForTheFieldsItLacks) {
    auto bytes = handBuiltImage();
    bytes.resize(111);  // ends inside the correction standard
    DynoSettings s;
    const auto inForce = decodeSettingsFile(bytes, s);
    EXPECT_EQ(s.companyName, "Hansen Motor Aps 20");
    EXPECT_TRUE(s.powerInKw);
    EXPECT_EQ(s.correctionStandard, 3);
    EXPECT_FALSE(s.speedInMph);
    EXPECT_EQ(s.rollerType, 0);
    EXPECT_EQ(s.buttonWaitText, "400");
    EXPECT_EQ(inForce.graphLimits[5], 16000);
    EXPECT_EQ(inForce.transferDelay, 20);
}

TEST(SettingsFileCodec, RestoredDoublesShowFifteenSignificantDigits) {
    ByteImage image(182);
    image.putFloat64(132, static_cast<double>(1.1f));
    image.putFloat64(164, 1.0 / 3);
    DynoSettings s;
    decodeSettingsFile(image.bytes(), s);
    EXPECT_EQ(s.rollerWeightText, "1.10000002384186");
    EXPECT_EQ(s.weatherPressureConstantText, "0.333333333333333");
}

TEST(SettingsFileCodec, ConversionErrorsStopTheSaveAndLeaveTheOldFile) {
    ScratchFolder folder;
    const auto file = folder / "vkr_dyno.ini";
    ASSERT_TRUE(saveSettingsFile(file, workshopSettings()).ok());
    const auto before = fileBytes(file);

    DynoSettings bad = workshopSettings();
    bad.weatherPressureConstantText = "1013,5";
    const auto failed = saveSettingsFile(file, bad);
    ASSERT_FALSE(failed.ok());
    EXPECT_TRUE(failed.error().isConversionError);
    EXPECT_EQ(failed.error().message, notAFloatMessage("1013,5"));
    EXPECT_EQ(fileBytes(file), before);

    bad = workshopSettings();
    bad.transferDelayText = "20 ms";
    EXPECT_EQ(saveSettingsFile(file, bad).error().message, notAnIntegerMessage("20 ms"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);

    // With the user's decimal comma "1013,5" is a number, and so still is the point
    // the program shows restored numbers with.
    EXPECT_TRUE(saveSettingsFile(file, workshopSettings(), ',').ok());
    DynoSettings commaSettings = workshopSettings();
    commaSettings.weatherHumidityConstantText = "0,25";
    commaSettings.weatherPressureConstantText = "1013,5";
    EXPECT_EQ(saveSettingsFile(file, commaSettings, ',').value().weatherPressureConstant, 1013.5);
}

TEST(SettingsFileCodec, TransferDelayInForceIsItsLowByte) {
    DynoSettings s = workshopSettings();
    s.transferDelayText = "300";
    const auto encoded = encodeSettingsFile(s).value();
    EXPECT_EQ(encoded.inForce.transferDelay, 44);
    DynoSettings restored;
    EXPECT_EQ(decodeSettingsFile(encoded.bytes, restored).transferDelay, 44);
    EXPECT_EQ(restored.transferDelayText, "44");
}

TEST(SettingsFile, SavedFileIsReadAtTheNextStart) {
    ScratchFolder folder;
    const auto file = folder / "vkr_dyno.ini";
    ASSERT_TRUE(saveSettingsFile(file, workshopSettings()).ok());
    EXPECT_EQ(fileBytes(file).size(), 182u);
    DynoSettings s;
    const auto read = readSettingsFile(file, s);
    EXPECT_FALSE(read.error.has_value());
    EXPECT_EQ(s.serialPortName, "COM3");
    EXPECT_EQ(read.inForce.rollerCode, 62);

    DynoSettings missing;
    const auto none = readSettingsFile(folder / "nothing.ini", missing);
    ASSERT_TRUE(none.error.has_value());
    EXPECT_EQ(none.error->message, "Cannot read ini file");
    EXPECT_EQ(missing.companyName, "Your company");

    const auto unwritable = saveSettingsFile(folder / "no" / "vkr_dyno.ini", workshopSettings());
    ASSERT_FALSE(unwritable.ok());
    EXPECT_EQ(unwritable.error().message, "Cannot save ini file");
}

TEST(SettingsFile, PortNameLongerThanItsFieldIsRefusedNotCut) {
    DynoSettings s = workshopSettings();
    s.serialPortName = "ttyUSB1";
    const auto fits = encodeSettingsFile(s);
    ASSERT_TRUE(fits.ok()) << "seven characters keep their terminator";
    EXPECT_EQ(std::string(fits.value().bytes.begin() + 148, fits.value().bytes.begin() + 156),
              std::string("ttyUSB1\0", 8));

    ScratchFolder folder;
    const auto file = folder / "vkr_dyno.ini";
    ASSERT_TRUE(saveSettingsFile(file, s).ok());
    s.serialPortName = "ttyUSB12";  // cut, it would name another real port
    const auto refused = saveSettingsFile(file, s);
    ASSERT_FALSE(refused.ok());
    EXPECT_NE(refused.error().message.find("ttyUSB12"), std::string::npos);
    EXPECT_NE(refused.error().message.find(" 7 characters"), std::string::npos);
    DynoSettings kept;
    ASSERT_FALSE(readSettingsFile(file, kept).error);
    EXPECT_EQ(kept.serialPortName, "ttyUSB1") << "the file on disk is unchanged";
}

}  // namespace
}  // namespace dyno
