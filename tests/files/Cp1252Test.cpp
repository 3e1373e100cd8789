#include "model/Cp1252.h"

#include <gtest/gtest.h>

#include <string>

namespace dyno {
namespace {

TEST(Cp1252, EveryByteSurvivesTheWayThroughUtf8) {
    std::string all;
    for (int b = 1; b < 256; ++b) all.push_back(static_cast<char>(b));
    EXPECT_EQ(toWindows1252(fromWindows1252(all)), all);
}

TEST(Cp1252, WorkshopTextsConvertBothWays) {
    // Euro sign, curly quote and Y-umlaut sit in the 0x80..0x9F row that differs
    // from Latin-1; the Danish letters are Latin-1.
    const std::string utf8 = "\xE2\x82\xAC 12 \xE2\x80\x99s \xC3\x86\xC3\x98\xC3\x85 \xC5\xB8";
    const std::string bytes = "\x80 12 \x92s \xC6\xD8\xC5 \x9F";
    EXPECT_EQ(toWindows1252(utf8), bytes);
    EXPECT_EQ(fromWindows1252(bytes), utf8);
}

TEST(Cp1252, UndefinedBytesBecomeTheirControlCharacters) {
    EXPECT_EQ(fromWindows1252("\x81\x8D\x8F\x90\x9D"), "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D");
}

TEST(Cp1252, CharactersTheCodePageLacksBecomeOneQuestionMarkEach) {
    EXPECT_EQ(toWindows1252("\xCE\xA9 1"), "? 1");  // Greek omega
    EXPECT_EQ(toWindows1252("a\xF0\x9F\x98\x80"
                            "b"),
              "a?b");  // outside the BMP
    EXPECT_EQ(toWindows1252("\xE2\x82\xAC\xE2\x82\xAC"), "\x80\x80");
}

TEST(Cp1252, MalformedUtf8IsReplacedWithoutSwallowingTheNextCharacter) {
    EXPECT_EQ(toWindows1252("\xC3"
                            "A"),
              "?A");                             // cut two-byte sequence
    EXPECT_EQ(toWindows1252("\xC0\xAF"), "??");  // overlong slash
    EXPECT_EQ(toWindows1252("\xE0\x80\xAF"
                            "x"),
              "?x");                                // overlong three-byte form
    EXPECT_EQ(toWindows1252("\xED\xA0\x80"), "?");  // UTF-16 surrogate
    EXPECT_EQ(toWindows1252("\x80"
                            "z"),
              "?z");                                    // stray continuation byte
    EXPECT_EQ(toWindows1252("\xF4\x90\x80\x80"), "?");  // beyond U+10FFFF
    EXPECT_EQ(toWindows1252("\xE2\x82"), "?");          // text ends inside a character
}

}  // namespace
}  // namespace dyno
