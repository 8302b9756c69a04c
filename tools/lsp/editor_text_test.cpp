#include "tools/lsp/editor_text.h"

#include <gtest/gtest.h>

#include "tools/lsp/document_uri.h"

namespace lorvena {
namespace {

// "è" is one byte in Windows-1252 and one UTF-16 unit; "€" is byte 0x80;
// "😀" has no byte there and takes two UTF-16 units.
TEST(EditorText, Utf8AndWindows1252MapExactly) {
  EditorText t = EditorText::from_utf8("a\xC3\xA8,\xE2\x82\xAC x\r\nb\xF0\x9F\x98\x80,c\rd\ne");
  EXPECT_EQ(t.cp1252(), "a\xE8,\x80 x\r\nb?,c\rd\ne");
  EXPECT_EQ(t.line_count(), 4);
  EXPECT_EQ(t.line_1252(1), "b?,c");
  ASSERT_EQ(t.unmappable().size(), 1u);
  EXPECT_EQ(t.unmappable()[0].line, 1);
  EXPECT_EQ(t.unmappable()[0].character, 1);
  // Byte column 4 of line 2 is "c": UTF-16 unit 4 after the two-unit character.
  EXPECT_EQ(t.position(2, 4).line, 1);
  EXPECT_EQ(t.position(2, 4).character, 4);
  EXPECT_EQ(t.offset({1, 4}), 8 + 3);
  EXPECT_EQ(t.offset({1, 2}), 8 + 1);  // inside the two-unit character: at it
  EXPECT_EQ(t.line_end(1).character, 5);
}

TEST(EditorText, PlacesPastTheEndAreClamped) {
  EditorText t = EditorText::from_1252("ab\ncd");
  EXPECT_EQ(t.offset({0, 99}), 2);
  EXPECT_EQ(t.offset({7, 0}), 5);
  EXPECT_EQ(t.offset({-1, -1}), 0);
  EXPECT_EQ(t.position(9, 9).line, 1);
  EXPECT_EQ(t.position(9, 9).character, 2);
  EXPECT_EQ(t.position(0, 0).character, 0);
  EditorText empty = EditorText::from_utf8("");
  EXPECT_EQ(empty.line_count(), 1);
  EXPECT_EQ(empty.position(3, 3).character, 0);
}

TEST(EditorText, Windows1252RoundTripsThroughUtf8) {
  std::string all;
  for (int c = 1; c < 256; ++c) all.push_back(static_cast<char>(c));
  EditorText from_disk = EditorText::from_1252(all);
  EditorText back = EditorText::from_utf8(from_disk.utf8());
  EXPECT_EQ(back.cp1252(), all);
  EXPECT_TRUE(back.unmappable().empty());
}

// Ranged changes in UTF-16 units land on the right bytes, across lines and
// beside or over characters of two units.
TEST(EditorText, RangedChangesApplyAtUtf16Places) {
  const std::string smile = "\xF0\x9F\x98\x80", grin = "\xF0\x9F\x98\x81", euro = "\xE2\x82\xAC";
  EditorText t = EditorText::from_utf8("a" + smile + "b,c\r\nde\nf");
  // From "b" (unit 3, after the two-unit character) to after "d": the line break goes.
  EditorText joined = t.edited({0, 3}, {1, 1}, "X" + euro);
  EXPECT_EQ(joined.utf8(), "a" + smile + "X" + euro + "e\nf");
  EXPECT_EQ(joined.cp1252(), "a?X\x80" "e\nf");
  EXPECT_EQ(joined.line_count(), 2);
  // The two-unit character itself replaced by another, and one added after "X".
  EditorText swapped = joined.edited({0, 1}, {0, 3}, grin).edited({0, 4}, {0, 4}, smile);
  EXPECT_EQ(swapped.utf8(), "a" + grin + "X" + smile + euro + "e\nf");
  ASSERT_EQ(swapped.unmappable().size(), 2u);
  EXPECT_EQ(swapped.unmappable()[1].character, 4);
  // A line break inserted; places past the end are taken at the end.
  EditorText split = swapped.edited({0, 4}, {0, 4}, "\r\n").edited({9, 0}, {9, 9}, "!");
  EXPECT_EQ(split.utf8(), "a" + grin + "X\r\n" + smile + euro + "e\nf!");
  EXPECT_EQ(split.line_1252(1), "?\x80" "e");
  // Characters the disk holds as one byte each come back the same.
  EditorText disk = EditorText::from_1252("\x80\x81\xE8z").edited({0, 3}, {0, 4}, "y");
  EXPECT_EQ(disk.cp1252(), "\x80\x81\xE8y");
}

TEST(DocumentUri, PathsAndUrisConvertBothWays) {
  EXPECT_EQ(uri_path("file:///home/a%20b/citt%C3%A0_linea.txt"), "/home/a b/città_linea.txt");
  EXPECT_EQ(path_uri("/home/a b/città_linea.txt"), "file:///home/a%20b/citt%C3%A0_linea.txt");
  EXPECT_EQ(uri_path("file:///x/%zz"), "/x/%zz");
  EXPECT_EQ(uri_path("file:///x/citt%c3%a0%2c%2C"), "/x/città,,");  // escapes in lower case too
  EXPECT_EQ(uri_path("untitled:1"), "untitled:1");
}

}  // namespace
}  // namespace lorvena
