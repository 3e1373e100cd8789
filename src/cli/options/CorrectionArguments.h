#pragma once

#include <ostream>
#include <string>
#include <string_view>

#include "evaluation/CorrectionStandard.h"
#include "model/MessageSink.h"

namespace dyno::cli {

// --standard: 0..4 as the Param. page's `corrchoice` numbers them, or the name as
// its list shows it ("SAE STP", ..., "ISO 1585"). Anything else is a usage error.
CorrectionStandard standardArgument(const std::string& text);

// The program's message boxes as lines on stderr: "warning: VKR dyno: ...".
class StreamMessageSink : public MessageSink {
  public:
    explicit StreamMessageSink(std::ostream& err) : err_(err) {}
    void show(MessageKind kind, std::string_view caption, std::string_view text) override;

  private:
    std::ostream& err_;
};

}  // namespace dyno::cli
