#pragma once

#include <string>
#include <vector>

#include "model/MessageSink.h"

namespace dyno {

// Keeps the messages the window would have shown, in order.
class RecordingMessageSink : public MessageSink {
  public:
    struct Message {
        MessageKind kind;
        std::string caption;
        std::string text;
        friend bool operator==(const Message&, const Message&) = default;
    };

    void show(MessageKind kind, std::string_view caption, std::string_view text) override {
        messages.push_back({kind, std::string(caption), std::string(text)});
    }

    std::vector<Message> messages;
};

}  // namespace dyno
