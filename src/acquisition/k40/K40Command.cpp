#include "acquisition/k40/K40Command.h"

namespace dyno {

namespace {

K40Command commandOf(std::uint8_t code, std::uint8_t transferDelay) {
    K40Command command;
    command.bytes[0] = code;
    command.bytes[7] = transferDelay;
    command.bytes[9] = K40Command::kEnd;
    return command;
}

}  // namespace

K40Command K40Command::start(TestMode mode, const K40Recording& recording) {
    K40Command command = commandOf(static_cast<std::uint8_t>(mode), recording.transferDelay);
    for (std::size_t c = 0; c < recording.analogChannels.size(); ++c) {
        command.bytes[1 + c] = recording.analogChannels[c] ? 1 : 0;
    }
    command.bytes[6] = recording.isWeatherStationConnected ? 1 : 0;
    return command;
}

K40Command K40Command::weatherRequest(std::uint8_t transferDelay) {
    return commandOf(kWeatherRequest, transferDelay);
}

K40Command K40Command::startUp(std::uint8_t transferDelay) {
    return commandOf(kStartUp, transferDelay);
}

}  // namespace dyno
