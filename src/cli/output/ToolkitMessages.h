#pragma once

// The toolkit's own chatter (a missing runtime folder, font fallbacks) is no part
// of a script's stderr: dynotool reports its failures in its own one-line reasons.
// Critical and fatal messages still go to stderr; everything else only when the
// environment sets DYNOTOOL_DEBUG.
namespace dyno::cli {

void quietToolkitMessages();

}  // namespace dyno::cli
