#pragma once

#include <cstdint>
#include <string_view>

namespace dyno {

// A colour as 0xRRGGBB.
enum class Rgb : std::uint32_t {
    Black = 0x000000,
    Red = 0xFF0000,
    Lime = 0x00FF00,
    Green = 0x008000,
    Blue = 0x0000FF,
    Yellow = 0xFFFF00,
    Aqua = 0x00FFFF,
};

// The two dials of the Speed page.
enum class Dial { Speed, Rpm };

// The live drawing on the Speed page. Needles and markers are drawn straight onto
// the page and not kept as state: a needle is moved by drawing it black at its old
// position and yellow at the new one.
class LiveDisplay {
  public:
    virtual ~LiveDisplay() = default;
    // A line from the dial's centre to its needle table entry at `position` (0..320,
    // one degree each, 0 pointing straight down). Yellow draws, black erases.
    virtual void drawNeedle(Dial dial, int position, Rgb colour) = 0;
    // The K40 marker above level bar 1 or 2: erased at `oldPosition`, drawn at
    // `position` (both 0..296, pixels from the bar's left end).
    virtual void moveK40Marker(int channel, int oldPosition, int position) = 0;
};

// What a test sequence tells the rider: the large label `remotetext` and the run
// number in `digit`.
class SequenceView {
  public:
    virtual ~SequenceView() = default;
    virtual void showRemoteText(std::string_view text, Rgb shadow, Rgb font) = 0;
    // A new text in the shadow and font colours the label shows already, whichever
    // sequence gave them.
    virtual void showRemoteTextInLastColours(std::string_view text) = 0;
    virtual void showDigit(int digit) = 0;
};

}  // namespace dyno
