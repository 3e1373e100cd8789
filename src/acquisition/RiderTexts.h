#pragma once

#include <string_view>

namespace dyno {

// What `remotetext` tells the rider in a test of either electronics: the same words
// on the K40's Speed page as on the card's.
inline constexpr std::string_view kPressRemoteText = "Press remote to start test sequence";
inline constexpr std::string_view kTestRunningText = "Test running";
inline constexpr std::string_view kSessionFinishedText = "Test session finished";

}  // namespace dyno
