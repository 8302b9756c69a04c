#include "tools/text/text_encoding.h"

#include <gtest/gtest.h>

namespace lorvena {
namespace {

// Names typed on a UTF-8 command line must come out byte for byte as the
// installer writes them, or not at all.
TEST(TextEncoding, ExactWindows1252FromUtf8) {
  struct Case {
    std::string utf8;
    std::optional<std::string> cp1252;
    bool well_formed = true;  // as UTF-8,, whether or not Windows-1252 holds it
  };
  const std::vector<Case> cases = {
      {"LORVENA PF", "LORVENA PF"},
      {"CITT\xC3\x80", "CITT\xC0"},          // À
      {"\xE2\x82\xAC 5", "\x80 5"},          // the euro sign lives at 0x80
      {"\xC5\x93uvre", "\x9Cuvre"},          // œ
      {"\xC3\xBF", "\xFF"},                  // ÿ
      {"\xC5\x82", std::nullopt},            // ł: no Windows-1252 byte
      {"\xC2\x81", std::nullopt},            // U+0081: a byte Windows-1252 leaves unused
      {"\xF0\x9F\x9A\x82", std::nullopt},    // a character beyond the BMP
      {"CITT\xC0", std::nullopt, false},            // already Windows-1252: not UTF-8
      {"\xC3", std::nullopt, false},                // cut short
      {"\xC0\x80", std::nullopt, false},            // overlong
      {"\xED\xA0\x80", std::nullopt, false},        // a surrogate
  };
  for (const Case& c : cases) {
    EXPECT_EQ(exact_1252_from_utf8(c.utf8), c.cp1252) << ::testing::PrintToString(c.utf8);
    EXPECT_EQ(is_utf8(c.utf8), c.well_formed) << ::testing::PrintToString(c.utf8);
    if (c.cp1252) {
      EXPECT_EQ(utf8_from_1252(*c.cp1252), c.utf8);
    }
  }
}

}  // namespace
}  // namespace lorvena
