#pragma once

#include <string_view>

namespace dyno {

// Captions of the program's message boxes.
inline constexpr std::string_view kDynoCaption = "VKR dyno";
inline constexpr std::string_view kFileErrorCaption = "File error";

// The icon a modal message carries.
enum class MessageKind { Information, Warning, Error };

// Where the core's modal messages go ("File error", "VKR dyno", ...). The window
// shows a message box and waits for it to be closed; dynotool writes a line to
// stderr; tests record what was shown. The core calls it at the moment the
// message box would appear, so the order of messages and model changes is kept.
class MessageSink {
  public:
    virtual ~MessageSink() = default;
    virtual void show(MessageKind kind, std::string_view caption, std::string_view text) = 0;
};

}  // namespace dyno
