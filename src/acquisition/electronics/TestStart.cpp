#include "acquisition/electronics/TestStart.h"

#include "model/TextNumbers.h"

namespace dyno {

PreparedTestStart prepareTestStart(const TestStartEntries& entries, const TestStartInForce& inForce,
                                   bool isRevCounterCheck) {
    PreparedTestStart prepared{inForce.dyno, inForce.rpm, {}, {}, {}, {}, {}};
    const auto dynoModel = static_cast<DynoModel>(
        isKnownDynoModel(entries.dynoModelIndex) ? entries.dynoModelIndex : 0);
    const Electronics electronics = electronicsOf(entries.electronicsIndex);

    const BarMarkerTexts markers{entries.markers.posA1, entries.markers.posA2,
                                 entries.markers.posB1, entries.markers.posB2};
    const DynoPreparation dyno = prepareDyno(inForce.dyno, dynoModel, electronics, markers);
    if (!dyno.markerError.empty()) {
        prepared.error = dyno.markerError;
        return prepared;
    }
    prepared.dyno = dyno.constants;

    const RpmPreparation rpm =
        prepareRpm(entries.testTypes, entries.userDegreesText, dynoModel, inForce.rpm);
    if (rpm.isUserDegreesOutOfRange) {
        prepared.error = "User defined degrees must be a whole number from 0 to " +
                         std::to_string(maxUserDegrees(dynoModel));
        return prepared;
    }
    prepared.rpm = rpm.constants;

    std::array<ChannelEntries, kAnalogChannels> channels{};
    for (std::size_t c = 0; c < channels.size(); ++c) {
        const ChannelEntryTexts& typed = entries.channels[c];
        channels[c] = {typed.gainText, typed.gainMode, typed.offsetText, typed.offsetMode,
                       typed.isInvertTicked};
    }
    prepared.channels = prepareChannels(channels);

    K40Start& k40 = prepared.k40;
    k40.portName = entries.portName;
    k40.isRevCounterCheck = isRevCounterCheck;
    k40.rpmRegistration = prepared.rpm.rpmRegistration;
    k40.recording = entries.recording;
    k40.recording.transferDelay = inForce.transferDelay;
    k40.dial = {prepared.dyno.speedDialConstant, prepared.rpm.rpmDialConstant,
                prepared.rpm.rpmSampleConstant};
    k40.session.dynoModel = dynoModel;
    k40.session.electronics = electronics;
    k40.session.gearbox = entries.gearbox;
    k40.session.rollerWeightKg = leadingNumber(entries.rollerWeightText);
    k40.session.rollerCode = inForce.rollerCode;
    k40.session.speedDialConstant = prepared.dyno.speedDialConstant;
    const StationRequest station = prepareStationRequest(entries, inForce);
    k40.weather = station.k40Weather;

    CardStart& card = prepared.card;
    card.isRevCounterCheck = isRevCounterCheck;
    card.cardBase = inForce.cardBase;
    card.remoteButtonMask = inForce.remoteButtonMask;
    card.remoteButtonDelayMs = inForce.remoteButtonDelayMs;
    card.settleDelaySteps = inForce.settleDelaySteps;
    card.speedInMph = entries.isSpeedInMph;
    card.rpm = prepared.rpm;
    card.channels = entries.recording.analogChannels;
    card.channelSettings = prepared.channels;
    card.session = k40.session;
    card.weather = station.cardWeather;
    prepared.cardChoice = station.cardChoice;
    return prepared;
}

StationRequest prepareStationRequest(const TestStartEntries& entries,
                                     const TestStartInForce& inForce) {
    StationRequest request;
    request.portName = entries.portName;
    request.transferDelay = inForce.transferDelay;
    request.k40Weather = {inForce.weatherConstants, entries.airUnits, entries.standard};
    if (isKnownDynoModel(entries.dynoModelIndex)) {
        request.cardChoice.dynoModel = static_cast<DynoModel>(entries.dynoModelIndex);
    }
    request.cardChoice.rollerCode = inForce.rollerCode;
    request.cardChoice.base = inForce.cardBase;
    CardWeatherSetup& weather = request.cardWeather;
    weather.isStationConnected = entries.recording.isWeatherStationConnected;
    weather.constants = inForce.weatherConstants;
    weather.options = {entries.airUnits, entries.standard};
    weather.pressureScale = inForce.cardPressureScale;
    weather.settleDelaySteps = inForce.settleDelaySteps;
    return request;
}

std::optional<Electronics> namedElectronicsOf(int electronicsIndex) {
    if (!isKnownElectronics(electronicsIndex)) return std::nullopt;
    return static_cast<Electronics>(electronicsIndex);
}

Electronics electronicsOf(int electronicsIndex) {
    return namedElectronicsOf(electronicsIndex).value_or(Electronics::Card);
}

}  // namespace dyno
