#include "descriptions/field_reader.h"

#include <gtest/gtest.h>

#include <vector>

namespace lorvena {
namespace {

std::vector<int64_t> numbers(std::string_view text, int count) {
  FieldReader in(text);
  std::vector<int64_t> out;
  for (int i = 0; i < count; ++i) out.push_back(in.read_number());
  return out;
}

TEST(FieldReader, ReadsNumbersAcrossCommasBlanksAndLineEnds) {
  struct Case {
    std::string_view text;
    std::vector<int64_t> expected;
  };
  const Case cases[] = {
      {"  1500,   -15\r\n", {1500, -15}},
      {"500,  ,  ,  ,  0\r\n", {500, 0, 0, 0, 0}},
      {",  ,", {0, 0}},
      {"17              41            45 \r\n", {17, 41, 45}},
      {"1\n2\r3\r\n4", {1, 2, 3, 4}},
      {"+7,-0", {7, 0}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(numbers(c.text, static_cast<int>(c.expected.size())), c.expected) << c.text;
  }
}

TEST(FieldReader, BlankSeparatedClockLineLeavesNextLineIntact) {
  FieldReader in("orologio,    17              41            45 \r\nsabbia,    200\r\n");
  EXPECT_EQ(in.read_text(), "orologio");
  EXPECT_EQ(in.read_number(), 17);
  EXPECT_EQ(in.read_number(), 41);
  EXPECT_EQ(in.read_number(), 45);
  EXPECT_EQ(in.read_text(), "sabbia");
  EXPECT_EQ(in.read_number(), 200);
  EXPECT_TRUE(in.at_end());
}

TEST(FieldReader, ReadsTextFields) {
  FieldReader in(
      "cartello_indicatore,  19950,   (Cippo Km.)( 20+000  )\r\n"
      "\"a, quoted\" trailing,next\n"
      "\r\n"
      "  last  ");
  EXPECT_EQ(in.read_text(), "cartello_indicatore");
  EXPECT_EQ(in.read_number(), 19950);
  EXPECT_EQ(in.read_text(), "(Cippo Km.)( 20+000  )");
  EXPECT_EQ(in.read_text(), "a, quoted");
  EXPECT_EQ(in.read_text(), "next");
  EXPECT_EQ(in.read_text(), "");  // a read at a line end
  EXPECT_EQ(in.read_text(), "last");
  EXPECT_TRUE(in.at_end());
}

TEST(FieldReader, WhereATextFieldEnds) {
  struct Case {
    std::string_view text;
    std::vector<std::string> fields;
  };
  const Case cases[] = {
      {"\"quoted\",next\r\n", {"quoted", "next"}},        // the comma right after the quote
      {"\"a, b\"\r\nnext", {"a, b", "next"}},             // the line end right after the quote
      {"odd   ,next", {"odd", "next"}},                    // three trailing blanks
      {"odd \t \r\nnext", {"odd", "next"}},               // blank, tab, blank
      {"  x,  \"y\"  ,z", {"x", "y", "z"}},
  };
  for (const Case& c : cases) {
    FieldReader in(c.text);
    std::vector<std::string> got;
    while (!in.at_end()) got.push_back(in.read_text());
    EXPECT_EQ(got, c.fields) << c.text;
  }
}

TEST(FieldReader, UnterminatedQuoteRunsToEndOfFile) {
  FieldReader in("\"open to the end");
  EXPECT_EQ(in.read_text(), "open to the end");
  EXPECT_TRUE(in.at_end());
}

TEST(FieldReader, KeywordValuesMayFollowOnLaterLines) {
  FieldReader in("curvad6\r\n1450\r\n,100\r\n");
  EXPECT_EQ(in.read_text(), "curvad6");
  EXPECT_EQ(in.read_number(), 1450);
  EXPECT_EQ(in.read_number(), 0);  // the line end after 1450 was consumed with it
  EXPECT_EQ(in.read_number(), 100);
}

TEST(FieldReader, FailsPastEndAndOnBadNumbers) {
  for (std::string_view bad : {"12a", "1.5", "--3", "-", "\"7\"", "99999999999999999999"}) {
    FieldReader in(bad);
    EXPECT_THROW(in.read_number(), ReadFailure) << bad;
  }
  FieldReader empty("");
  EXPECT_THROW(empty.read_text(), ReadFailure);
  EXPECT_THROW(empty.read_number(), ReadFailure);
  FieldReader one("5\r\n");
  EXPECT_EQ(one.read_number(), 5);
  EXPECT_THROW(one.read_number(), ReadFailure);
}

// The digits stop being taken, with nothing wrapped, just below the largest
// 64-bit value: every digit is taken while a 9 after it would still fit.
TEST(FieldReader, LargestReadableNumberAndTheFirstBeyondIt) {
  EXPECT_EQ(numbers("9223372036854775799,-9223372036854775799", 2),
            (std::vector<int64_t>{9223372036854775799, -9223372036854775799}));
  for (std::string_view bad : {"9223372036854775800", "-9223372036854775800", "9223372036854775807"}) {
    FieldReader in(bad);
    EXPECT_THROW(in.read_number(), ReadFailure) << bad;
  }
}

TEST(FieldReader, NarrowReadsRejectValuesThatDoNotFit) {
  FieldReader in("255,256,-1,32767,32768,2147483647,2147483648");
  EXPECT_EQ(in.read_byte(), 255);
  EXPECT_THROW(in.read_byte(), ReadFailure);
  EXPECT_THROW(in.read_byte(), ReadFailure);
  EXPECT_EQ(in.read_short(), 32767);
  EXPECT_THROW(in.read_short(), ReadFailure);
  EXPECT_EQ(in.read_long(), 2147483647);
  EXPECT_THROW(in.read_long(), ReadFailure);
}

TEST(Keywords, SubstringTestsWithAndWithoutCase) {
  EXPECT_TRUE(contains_ci("Lunghezza PERCORSO", "percorso"));
  EXPECT_TRUE(contains("progressiva chilometrica tre", "tre"));
  EXPECT_FALSE(contains("progressiva chilometrica TRE", "tre"));
  EXPECT_FALSE(contains_ci("cartello_indicatore", "indicatori_v"));
  EXPECT_TRUE(contains_ci("indicatori_vmax", "indicatori_v"));
  EXPECT_FALSE(contains_ci("indicatori_vmax", "cartello"));
}

}  // namespace
}  // namespace lorvena
