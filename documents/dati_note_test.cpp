#include <gtest/gtest.h>

#include <cctype>
#include <regex>
#include <string>
#include <vector>

#include "disk/system_disk.h"
#include "disk/text_document.h"
#include "documents/driver_documents.h"
#include "testing/document_lines.h"
#include "testing/test_files.h"

namespace lorvena {
namespace {


constexpr std::string_view kFileName = "LORVENA PF_4316_note.txt";
constexpr size_t kWidth = 79;

std::string written_notes(const ScratchDir& dir) {
  SystemDisk disk;
  dati_note(disk, dir.path(), "LORVENA PF", "4316");
  return testing::read_bytes(dir / kFileName);
}

bool is_prose_line(int n) { return (n >= 1 && n <= 21) || (n >= 23 && n <= 34); }

std::string_view first_word(std::string_view line) { return line.substr(0, line.find(' ')); }

std::string_view without_trailing_blanks(std::string_view line) {
  while (!line.empty() && line.back() == ' ') line.remove_suffix(1);
  return line;
}

// A plain address: one '@', a non-empty local part, no blanks, under domain.
bool is_address_under(std::string_view line, std::string_view domain) {
  size_t at = line.find('@');
  if (at == 0 || at == std::string_view::npos) return false;
  if (line.find_first_of("@ ", at + 1) != std::string_view::npos) return false;
  if (line.substr(0, at).find(' ') != std::string_view::npos) return false;
  return line.substr(at + 1) == domain;
}

TEST(DatiNote, HoldsTwoProseBlocksThenTheAuthor) {
  ScratchDir dir;
  const std::string bytes = written_notes(dir);
  ASSERT_TRUE(bytes.ends_with("\r\n"));
  const std::vector<std::string> lines = testing::crlf_lines(bytes);
  ASSERT_EQ(lines.size(), 38u);

  for (int n = 1; n <= 38; ++n) {
    const std::string& line = lines[n - 1];
    SCOPED_TRACE("line " + std::to_string(n) + ": " + line);
    EXPECT_LE(line.size(), kWidth);
    EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos);
    if (!is_prose_line(n)) continue;
    EXPECT_FALSE(without_trailing_blanks(line).empty());
    EXPECT_NE(line.front(), ' ');
  }
  EXPECT_EQ(lines[21], "");
  EXPECT_EQ(lines[34], "");
  EXPECT_NE(lines[0].find("4316"), std::string::npos);

  const std::string& author = lines[35];
  EXPECT_NE(author.find(' '), std::string::npos) << author;
  EXPECT_EQ(author.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz '"),
            std::string::npos)
      << author;
  EXPECT_TRUE(is_address_under(lines[36], "example.org")) << lines[36];
  EXPECT_TRUE(is_address_under(lines[37], "example.com")) << lines[37];
}

// Each prose line is as full as the width allows: the next line's first word
// would not have fitted after it.
TEST(DatiNote, WrapsProseAtWordBoundariesAsLateAsTheWidthAllows) {
  ScratchDir dir;
  const std::vector<std::string> lines = testing::crlf_lines(written_notes(dir));
  ASSERT_EQ(lines.size(), 38u);
  for (int n = 1; n <= 33; ++n) {
    if (!is_prose_line(n) || !is_prose_line(n + 1)) continue;
    std::string_view line = without_trailing_blanks(lines[n - 1]);
    std::string_view next_word = first_word(lines[n]);
    EXPECT_GT(line.size() + 1 + next_word.size(), kWidth) << "line " << n << ": " << line;
  }
}

// A prose line keeps the one blank after its last word where that word ends a
// sentence and the block goes on; no other line ends with a blank.
TEST(DatiNote, KeepsTheBlankAfterASentenceThatEndsALineInsideABlock) {
  ScratchDir dir;
  const std::vector<std::string> lines = testing::crlf_lines(written_notes(dir));
  ASSERT_EQ(lines.size(), 38u);
  int kept_first = 0, kept_second = 0;
  for (int n = 1; n <= 38; ++n) {
    const std::string& line = lines[n - 1];
    const std::string_view words = without_trailing_blanks(line);
    const bool block_goes_on = is_prose_line(n) && is_prose_line(n + 1);
    const size_t blanks = block_goes_on && words.ends_with('.') ? 1 : 0;
    EXPECT_EQ(line.size() - words.size(), blanks) << "line " << n << ": " << line;
    if (blanks == 1) (n <= 21 ? kept_first : kept_second) += 1;
  }
  EXPECT_GE(kept_first, 1);
  EXPECT_GE(kept_second, 1);
}

std::string upper(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

std::string trimmed(std::string_view text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return "";
  return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

// The first block read as one text, in capitals: lines joined by one blank.
std::string first_block(const std::vector<std::string>& lines) {
  std::string text;
  for (int n = 1; n <= 21; ++n) text += std::string(without_trailing_blanks(lines[n - 1])) + " ";
  return upper(text);
}

// The notes name each stop of the train card (a row with an arrival and a
// departure time) and the arrival, with the kilometre the card gives, and
// the multiple unit of the card's header.
TEST(DatiNote, NamesTheCardsStopsWhereTheyAreAndItsMultipleUnit) {
  ScratchDir dir;
  SystemDisk disk;
  dati_scheda(disk, dir.path(), "LORVENA PF", "4316");
  const std::vector<std::string> card =
      testing::crlf_lines(testing::read_bytes(dir / "LORVENA PF_4316_scheda_treno.txt"));
  const std::string notes = first_block(testing::crlf_lines(written_notes(dir)));
  ASSERT_EQ(card.size(), 71u);

  const std::regex stop_times(R"(\d\d\.\d\d +\d\d\.\d\d)");
  std::vector<std::string> named;  // "NAME (KM 43.800)"
  for (size_t n = 16; n <= 55; ++n) {
    const std::string& row = card[n - 1];
    const bool arrival = n == 55;
    if (!arrival && !std::regex_search(row.substr(48, 19), stop_times)) continue;
    named.push_back(upper(trimmed(row.substr(25, 22))) + " (KM " + trimmed(row.substr(14, 8)) + ")");
  }
  ASSERT_EQ(named.size(), 4u);  // three stops and the arrival
  EXPECT_EQ(named.back(), "LORVENA P.F. (KM 87.800)");
  for (const std::string& place : named) EXPECT_NE(notes.find(place), std::string::npos) << place;
  EXPECT_NE(notes.find("TRE FERMATE"), std::string::npos);

  const std::string unit = trimmed(card[9].substr(60, 17));
  EXPECT_EQ(unit, "Ale 801/940");
  EXPECT_NE(notes.find(upper(unit)), std::string::npos);
}

TEST(DatiNote, WritesAccentedLettersAsSingleWindows1252Bytes) {
  ScratchDir dir;
  const std::string bytes = written_notes(dir);
  for (unsigned char accented : {0xE0, 0xE8, 0xEC, 0xF2, 0xF9})
    EXPECT_NE(bytes.find(static_cast<char>(accented)), std::string::npos) << std::hex << int(accented);
  // Every multi-byte UTF-8 sequence is two or more bytes of 0x80 and above in a row.
  for (size_t i = 0; i + 1 < bytes.size(); ++i) {
    bool high = static_cast<unsigned char>(bytes[i]) >= 0x80;
    bool next_high = static_cast<unsigned char>(bytes[i + 1]) >= 0x80;
    EXPECT_FALSE(high && next_high) << "at byte " << i;
  }
  EXPECT_EQ(bytes.find(kEndMarker), std::string::npos);
}

TEST(DatiNote, ReplacesALongerFileCompletely) {
  ScratchDir fresh;
  const std::string expected = written_notes(fresh);

  ScratchDir dir;
  testing::write_bytes(dir / kFileName, std::string(expected.size() * 3, 'z'));
  EXPECT_EQ(written_notes(dir), expected);
  EXPECT_EQ(testing::list_files(dir.path()), kFileName);
}

TEST(DatiNote, NamesTheFileAfterTheScenarioAndTheTrain) {
  ScratchDir dir;
  SystemDisk disk;
  dati_note(disk, dir.path(), "ALTRA", "12");
  EXPECT_EQ(testing::list_files(dir.path()), "ALTRA_12_note.txt");
}

}  // namespace
}  // namespace lorvena
