// The compiler at its limits: the longest line with its plan, one metre more,
// and descriptions of hundreds of thousands of records, which are either
// stored or stopped by a recorded error.
#include <gtest/gtest.h>

#include <array>
#include <functional>

#include "testing/compile_fixture.h"

namespace lorvena {
namespace {

using testing::CompileFixture;
using testing::line_text;
using testing::read_bytes;
using testing::train_text;

TEST(Limits, LongestLineCompilesWithItsPlan) {
  CompileFixture f;
  f.compile(line_text("curvas6,  500000,  2000\r\n", 1000000), train_text(""), 1);
  EXPECT_EQ(f.model.err_code, 0);
  ASSERT_EQ(f.model.track.size(), 20141u);
  EXPECT_EQ(read_bytes(f.dir / "LORVENA PF_4316.dat").size(), 20141u * 15);
  // 1007001 points a column: the two origin integers (4 bytes each), the
  // computed points up to the upper bound minus 2 (10 bytes), two empty (2).
  ASSERT_EQ(f.model.profile.next, 1006999);
  EXPECT_EQ(read_bytes(f.dir / "LORVENA PF_linea.dat").size(), 2u * (2 * 4 + 1006997 * 10 + 2 * 2));
}

TEST(Limits, OneMetreLongerIsError1AndCompilesNothing) {
  CompileFixture f;
  f.compile(line_text("", 1000001), train_text(""), 1);
  EXPECT_EQ(f.model.err_code, 1);
  EXPECT_EQ(testing::list_files(f.dir.path()), "LORVENA PF_4316-.txt");
}

TEST(Limits, LineOfLengthZero) {
  CompileFixture f;
  f.compile(line_text("", 0), train_text(""), 1);
  EXPECT_EQ(f.model.err_code, 0);
  EXPECT_EQ(f.model.table[kLineEntry].fine, 0);
  ASSERT_EQ(f.model.track.size(), 141u);  // 7000 / 50 = 140
  EXPECT_EQ(read_bytes(f.dir / "LORVENA PF_4316.dat").size(), 141u * 15);
  EXPECT_EQ(read_bytes(f.dir / "LORVENA PF_linea.dat").size(), 2u * (2 * 4 + 6997 * 10 + 2 * 2));
}

std::string signs(int count) {
  std::string text;
  for (int i = 0; i < count; ++i)
    text += "cartello_indicatore, " + std::to_string(100 + 50 * i) + ", (S" + std::to_string(i) + ")\r\n";
  return text;
}

TEST(Limits, SignTextsFillEntries80DownTo0) {
  CompileFixture f;
  f.compile(line_text(signs(81)), train_text(""), 0);
  EXPECT_EQ(f.model.err_code, 0);
  EXPECT_EQ(f.model.table[80].nome, "(S0)");
  EXPECT_EQ(f.model.table[0].nome, "(S80)");
  EXPECT_EQ(f.model.track[nearest(4100 / 50.0 + 1)].param1, 0);  // the 81st sign board points at entry 0

  CompileFixture more;
  more.compile(line_text(signs(82)), train_text(""), 0);
  EXPECT_EQ(more.model.err_code, 25);
}

// A table entry's name that runs across the 64 KiB the table is written in
// at a time comes out whole.
TEST(Limits, NameAcrossTheWriteBufferIsWrittenWhole) {
  auto text = [](char first) {
    std::string t;
    for (int i = 0; i < 40000; ++i) t += static_cast<char>(first + i % 23);
    return t;
  };
  const std::string a = text('A'), b = text('a');
  CompileFixture f;
  f.compile(line_text("cartello_indicatore, 1000, " + a + "\r\ncartello_indicatore, 2000, " + b + "\r\n"),
            train_text(""), 0);
  ASSERT_EQ(f.model.err_code, 0);
  std::string sim = read_bytes(f.dir / "LORVENA PF_4316.sim");
  ASSERT_EQ(sim.size(), 2958u + 80000 + 10 + 4);
  // Entry 79 holds the second text, entry 80 the first, which crosses 65536.
  size_t entry79 = 79 * 34;
  EXPECT_EQ(sim.substr(entry79 + 14, 2), std::string("\x40\x9C", 2));  // 40000
  EXPECT_EQ(sim.substr(entry79 + 16, 40000), b);
  size_t entry80 = entry79 + 34 + 40000;
  EXPECT_EQ(sim.substr(entry80 + 14, 2), std::string("\x40\x9C", 2));
  EXPECT_LT(entry80 + 16, 65536u);
  EXPECT_GT(entry80 + 16 + 40000, 65536u);
  EXPECT_EQ(sim.substr(entry80 + 16, 40000), a);
  EXPECT_EQ(sim.substr(entry80 + 16 + 40000, 18), std::string(18, '\0'));  // the rest of entry 80
}

// The three kilometre references read into 81, 82, 83 by their word, then
// ordered by their start.
TEST(Limits, KilometreReferences) {
  struct Case {
    std::string name;
    std::string rows;
    std::array<int32_t, 9> table;  // inizio, fine, posizione of 81, 82, 83
    int32_t err_code;
  };
  const Case cases[] = {
      {"all three",
       "progressiva chilometrica tre, 100, 200, 1\r\nprogressiva chilometrica due, 300, 400, 0\r\n"
       "progressiva chilometrica uno, 200, 50, 1\r\n",
       {300, 400, 0, 200, 150, 1, 100, 300, 1}, 0},
      {"one with a start", "progressiva chilometrica uno, 150, 300, 0\r\n", {150, 300, 0, 0, 0, 0, 0, 0, 0}, 0},
      {"a start off the step", "progressiva chilometrica due, 120, 300, 0\r\n", {120, 300, 0, 0, 0, 0, 0, 0, 0},
       2},
  };
  for (const Case& c : cases) {
    CompileFixture f;
    f.compile("[generale]\r\nlunghezza percorso, 5000\r\n" + c.rows + "[curve]\r\n", train_text(""), 0);
    EXPECT_EQ(f.model.err_code, c.err_code) << c.name;
    std::array<int32_t, 9> got{};
    for (int e = 0; e < 3; ++e) {
      const TableEntry& t = f.model.table[static_cast<size_t>(81 + e)];
      got[3 * e] = t.inizio, got[3 * e + 1] = t.fine, got[3 * e + 2] = t.posizione;
    }
    EXPECT_EQ(got, c.table) << c.name;
  }
}

std::string repeated(int count, const std::function<std::string(int)>& record) {
  std::string text;
  for (int i = 0; i < count; ++i) text += record(i);
  return text;
}

constexpr int kMany = 300000;
constexpr size_t kManyRecordCases = 6;

struct ManyRecords {
  std::string name;
  // Each description is made only by the test that compiles it: several megabytes.
  std::function<std::string()> line;
  std::function<std::string()> train;
  int32_t err_code;
};

std::string line_of(std::function<std::string(int)> record) { return line_text(repeated(kMany, record), 1000000); }

ManyRecords many_records(size_t index) {
  auto nothing = [] { return std::string(); };
  auto empty_line = [] { return line_text("", 1000000); };
  const ManyRecords cases[] = {
      // Mountains have no fixed capacity: all are stored.
      {"mountains",
       [] { return line_of([](int i) { return "montagna, " + std::to_string(3 * i) + ", 40, 2\r\n"; }); }, nothing,
       0},
      // Sign texts take entries 80 down to 0: the 82nd sign has no entry.
      {"sign boards",
       [] {
         return line_of(
             [](int i) { return "cartello_indicatore, " + std::to_string(100 + 50 * (i % 19000)) + ", (S)\r\n"; });
       },
       nothing, 25},
      // Each gradient record fills at least one cell: the track runs out.
      {"gradients", [] { return line_of([](int i) { return "pendenza, " + std::to_string(3 * i) + ", 1\r\n"; }); },
       nothing, 25},
      // Stations share the table with the sign texts: the 80th finds no entry.
      {"stations", empty_line,
       [] {
         return repeated(kMany, [](int i) {
           return "stazione, " + std::to_string(1000 + 450 * i) + ", 30, 100, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, S\r\n";
         });
       },
       10},
      {"a sign text too long for its 16-bit length",
       [] { return line_text("cartello_indicatore, 1000, " + std::string(70000, 'S') + "\r\n", 1000000); }, nothing,
       25},
      {"signals on one cell", empty_line,
       [] {
         return repeated(kMany, [](int) { return std::string("segnale, 5000, 2, 4, 0, 0, 0, 2, 2, 0, 0, 0\r\n"); });
       },
       16},
  };
  static_assert(sizeof(cases) / sizeof(cases[0]) == kManyRecordCases);
  return cases[index];
}

// One test per case, so that ctest runs them side by side.
class HundredsOfThousandsOfRecords : public ::testing::TestWithParam<size_t> {};

TEST_P(HundredsOfThousandsOfRecords, CompileWithinTheirLimits) {
  const ManyRecords c = many_records(GetParam());
  CompileFixture f;
  f.compile(c.line(), train_text(c.train()), 0);
  EXPECT_EQ(f.model.err_code, c.err_code) << c.name;
  EXPECT_EQ(read_bytes(f.dir / "LORVENA PF_4316.dat").size(), f.model.track.size() * 15) << c.name;
  if (c.err_code == 0) {
    EXPECT_EQ(f.model.mountain_count, kMany) << c.name;
  }
}

INSTANTIATE_TEST_SUITE_P(Limits, HundredsOfThousandsOfRecords, ::testing::Range<size_t>(0, kManyRecordCases));

// The readers compute in 32-bit integers: a step whose result leaves
// -2147483648..2147483647 cannot be read (error 25), even where a wider
// result would have been accepted or reported as something else.
TEST(Limits, A32BitStepThatOverflowsIsUnreadable) {
  const std::string station_head = "stazione, 2000, 12, 400, 0, 0, 0, 1, 1, 0, 4, 1, 1, 1, ";
  struct Case {
    std::string name;
    std::string line_general;  // after the length, before the body
    std::string line_body;
    std::string train_body;
  };
  const Case cases[] = {
      {"a record's position plus its margin", "", "pendenza, 2147483600, 1\r\n", ""},
      {"a curve's end", "", "curvad1, 100, 2147483647\r\n", ""},
      {"a gradient plus 100, at the next gradient", "", "pendenza, 1000, 2147483600\r\npendenza, 2000, 5\r\n", ""},
      {"a gradient plus 100, at the closing fill", "", "pendenza, 1000, 2147483548\r\n", ""},
      {"the gap after a mountain", "", "montagna, 1000, -2147483000, 1\r\nmontagna, 1000, 1200, 1\r\n", ""},
      {"the sum of the kilometre references",
       "progressiva chilometrica tre, 2000000000, 0, 0\r\nprogressiva chilometrica due, 2000000000, 0, 0\r\n"
       "progressiva chilometrica uno, -2000000000, 0, 0\r\n",
       "", ""},
      {"a station's position plus its margin", "", "", "stazione, 2147483000, 12, 400\r\n"},
      {"a station's hours in minutes", "", "", station_head + "35791395, -2147483640, 0, S\r\n"},
  };
  for (const Case& c : cases) {
    CompileFixture f;
    std::string line = "[generale]\r\nlunghezza percorso, 5000\r\n" + c.line_general + "[curve]\r\n" +
                       c.line_body + "[fine]\r\n";
    f.compile(line, train_text(c.train_body), 1);
    EXPECT_EQ(f.model.err_code, 25) << c.name;
  }
}

}  // namespace
}  // namespace lorvena
