// The compiler at its limits: the longest line with its plan, one metre more,
// and descriptions of hundreds of thousands of records, which are either
// stored or stopped by a recorded error.
#include <gtest/gtest.h>

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

std::string repeated(int count, const std::function<std::string(int)>& record) {
  std::string text;
  for (int i = 0; i < count; ++i) text += record(i);
  return text;
}

TEST(Limits, HundredsOfThousandsOfRecords) {
  const int kMany = 300000;
  struct Case {
    std::string name;
    std::string line;
    std::string train;
    int32_t err_code;
  };
  const Case cases[] = {
      // Mountains have no fixed capacity: all are stored.
      {"mountains",
       line_text(repeated(kMany, [](int i) { return "montagna, " + std::to_string(3 * i) + ", 40, 2\r\n"; }), 1000000),
       "", 0},
      // 80 table entries hold sign texts; the next sign has no entry.
      {"sign boards",
       line_text(repeated(kMany, [](int i) { return "cartello_indicatore, " + std::to_string(100 + 50 * (i % 19000)) +
                                                    ", (S)\r\n"; }),
                 1000000),
       "", 25},
      // Each gradient record fills at least one cell: the track runs out.
      {"gradients", line_text(repeated(kMany, [](int i) { return "pendenza, " + std::to_string(3 * i) + ", 1\r\n"; }),
                              1000000),
       "", 25},
      // Stations share the table with the sign texts: the 80th finds no entry.
      {"stations", line_text("", 1000000),
       repeated(kMany, [](int i) {
         return "stazione, " + std::to_string(1000 + 450 * i) + ", 30, 100, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, S\r\n";
       }),
       10},
      {"a sign text too long for its 16-bit length",
       line_text("cartello_indicatore, 1000, " + std::string(70000, 'S') + "\r\n", 1000000), "", 25},
      {"signals on one cell", line_text("", 1000000),
       repeated(kMany, [](int) { return std::string("segnale, 5000, 2, 4, 0, 0, 0, 2, 2, 0, 0, 0\r\n"); }), 16},
  };
  for (const Case& c : cases) {
    CompileFixture f;
    f.compile(c.line, train_text(c.train), 0);
    EXPECT_EQ(f.model.err_code, c.err_code) << c.name;
    EXPECT_EQ(read_bytes(f.dir / "LORVENA PF_4316.dat").size(), f.model.track.size() * 15) << c.name;
    if (c.err_code == 0) {
      EXPECT_EQ(f.model.mountain_count, kMany) << c.name;
    }
  }
}

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
