#pragma once

#include <string>
#include <string_view>

// The session record and both settings files hold texts as single-byte Windows-1252
// (the Western code page of the PCs the dyno has always run on); the window and the
// command-line tool work in UTF-8. These two conversions sit between them.
namespace dyno {

// One byte per character. A character the code page does not have, and every byte
// of malformed UTF-8, becomes "?", so a converted text is never longer in bytes than
// it is in characters and a stored field can be cut by counting bytes.
std::string toWindows1252(std::string_view utf8);

// UTF-8 of single-byte text. The five bytes the code page leaves undefined (0x81,
// 0x8D, 0x8F, 0x90, 0x9D) become the control characters of the same number, as
// Windows itself converts them, so every byte survives a round trip.
std::string fromWindows1252(std::string_view bytes);

}  // namespace dyno
