#include <gtest/gtest.h>

#include <cmath>

#include "testing/compile_fixture.h"

namespace lorvena {
namespace {

using namespace cell_kind;
using testing::CompileFixture;
using testing::line_text;
using testing::train_text;

const std::string kEmptyTrain = train_text("");

std::string general(std::string_view rows) {
  return "[generale]\r\nlunghezza percorso,    5000\r\n" + std::string(rows) + "[curve]\r\n[fine]\r\n";
}

// Records that change the model when read: each error case puts one after
// the record that fails, so a reader that goes on after an error is caught.
const std::string kAfterGeneral = "sfondo uno,    7\r\n";
const std::string kAfterBody = "cartello_indicatore,  4000,   (DOPO)\r\n";

bool read_a_record_after_the_error(const Scenario& m) {
  for (const TableEntry& e : m.table)
    if (e.nome == "(DOPO)") return true;
  return m.table[kScenarioEntry].inizio == 7;
}

TEST(LineReader, EachRecordedErrorStopsTheReadingAndDeletesTheLineFile) {
  struct Case {
    std::string name;
    std::optional<std::string> line;
    int32_t err_code;
    int32_t err_pos;  // -1: not set
  };
  const Case cases[] = {
      {"length over the limit",
       "[generale]\r\nlunghezza percorso, 1000001\r\n" + kAfterGeneral + "[curve]\r\n" + kAfterBody, 1, -1},
      {"negative length", "[generale]\r\nlunghezza percorso, -50\r\n" + kAfterGeneral + "[curve]\r\n", 1, -1},
      {"cab start off the step", general("ripetizione segnali 4 codici,    25,    100\r\n" + kAfterGeneral), 3, -1},
      {"cab end off the step", general("ripetizione segnali 4 codici,    0,    125\r\n" + kAfterGeneral), 4, -1},
      {"cab without code count", general("ripetizione segnali codici,    0,    100\r\n" + kAfterGeneral), 5, -1},
      {"sign on an indicator",
       line_text("indicatori_vmax,  500,  60,  70,  75,  0,  60,  70,  75,  0\r\n"
                 "cartello_indicatore,  500,   (X)\r\n" + kAfterBody),
       6, 500},
      {"record beyond the line", line_text("pendenza,  11950,   3\r\n" + kAfterBody), 15, 11950},
      {"sign board beyond the line", line_text("cartello_indicatore,  11950,   (X)\r\n" + kAfterBody), 15, 11950},
      {"missing file", std::nullopt, 101, -1},
      {"no general header", "[curve]\r\ncurvad3,  100,  50\r\n" + kAfterBody, 102, -1},
      {"curve without class", line_text("curvad,  100,  50\r\n" + kAfterBody), 103, -1},
      {"indicator on an indicator",
       line_text("indicatori_vmax,  500,  60,  70,  75,  0,  ,  ,  ,  0\r\n"
                 "indicatori_vmax,  520,  60,  70,  75,  0,  ,  ,  ,  0\r\n" + kAfterBody),
       21, 520},
      {"unparsable number", line_text("pendenza,  1x00,   3\r\n" + kAfterBody), 25, -1},
      {"record cut short", line_text("") + "montagna,  100", 25, -1},
  };
  for (const Case& c : cases) {
    CompileFixture f;
    f.model.err_pos = -1;
    f.compile(c.line, kEmptyTrain);
    EXPECT_EQ(f.model.err_code, c.err_code) << c.name;
    EXPECT_EQ(f.model.err_pos, c.err_pos) << c.name;
    EXPECT_FALSE(read_a_record_after_the_error(f.model)) << c.name;
    EXPECT_FALSE(std::filesystem::exists(f.line_path())) << c.name;
    // Only an unreadable description takes the train description with it.
    bool train_left = c.err_code != 25 && c.err_code != 15;
    EXPECT_EQ(std::filesystem::exists(f.train_path()), train_left) << c.name;
  }
}

TEST(LineReader, ARecordBeyondTheLineEndsTheBodyButTheClosingFillsRun) {
  CompileFixture f;
  f.compile(line_text("pendenza,  0,  7\r\ncurvad3,  100,  100\r\npendenza,  11950,   3\r\n" + kAfterBody),
            kEmptyTrain);
  EXPECT_EQ(f.model.err_code, 15);
  EXPECT_FALSE(read_a_record_after_the_error(f.model));
  EXPECT_EQ(f.model.track[0].gradient, 107);
  EXPECT_EQ(f.model.track[237].gradient, 107);
  EXPECT_EQ(f.model.profile.next, 11999);  // the plan runs on straight to L + 6998
  EXPECT_NEAR(f.model.profile.x[11998] - f.model.profile.x[11997], f.model.profile.x[300] - f.model.profile.x[299],
              1e-9);
}

TEST(LineReader, LengthLimitAndTrackSize) {
  CompileFixture f;
  f.compile(line_text("", 1000000), kEmptyTrain, 0);
  EXPECT_EQ(f.model.err_code, 0);
  EXPECT_EQ(f.model.track.size(), 20141u);
  EXPECT_EQ(f.model.table[84].fine, 1000000);
}

TEST(LineReader, GeneralBlockValues) {
  CompileFixture f;
  f.compile(general("progressiva chilometrica uno,    0,    300,    1\r\n"
                    "sfondo uno,    1\r\nsfondo due,    2\r\nsfondo tre,    3\r\n"
                    "Sfondo UNO,    9\r\n"  // the scenery words are case-sensitive
                    "ripetizione segnali 9 codici,    50,    27000\r\n"),
            kEmptyTrain);
  EXPECT_EQ(f.model.err_code, 0);
  const TableEntry& scenery = f.model.table[85];
  EXPECT_EQ(scenery.inizio, 1);
  EXPECT_EQ(scenery.posizione, 2);
  EXPECT_EQ(scenery.fine, 3);
  EXPECT_EQ(scenery.nome, "LORVENA PF");
  EXPECT_EQ(f.model.table[86].inizio, 50);
  EXPECT_EQ(f.model.table[86].fine, 27000);
  EXPECT_EQ(f.model.table[86].posizione, 9);
  EXPECT_EQ(f.model.table[86].nome, "4316");
  EXPECT_EQ(f.model.table[81].fine, 400);  // the only reference, moved first, +100 for posizione 1
}

TEST(LineReader, HeadersAndKeywordsInCapitals) {
  CompileFixture f;
  f.compile("[GENERALE]\r\nLUNGHEZZA PERCORSO,    5000\r\n[CURVE]\r\nPENDENZA,  100,  4\r\n",
            "[GENERALE]\r\nVETTURE,    4\r\n");
  ASSERT_EQ(f.model.err_code, 0);
  EXPECT_EQ(f.model.table[kLineEntry].fine, 5000);
  EXPECT_EQ(f.model.track[5].gradient, 104);
  EXPECT_EQ(f.model.table[kLineEntry].posizione, 4);
}

TEST(LineReader, CabSignallingEndZeroMeansNoCodes) {
  CompileFixture f;
  f.compile(general("ripetizione segnali 4 codici,    0,    0\r\n"), kEmptyTrain);
  EXPECT_EQ(f.model.err_code, 0);
  EXPECT_EQ(f.model.table[86].posizione, 0);
}

TEST(LineReader, GradientFill) {
  CompileFixture f;
  f.compile(line_text("pendenza,   0,    7\r\n"      // k = 0 writes nothing
                      "pendenza,  200,   -3\r\n"     // cells 0..3 get 7
                      "pendenza,  200,   5\r\n"      // same chainage: one cell (4) with -3
                      "pendenza,  500,   1\r\n"),    // cells 5..9 get 5
            kEmptyTrain);
  ASSERT_EQ(f.model.err_code, 0);
  const auto& t = f.model.track;
  for (int c = 0; c <= 3; ++c) EXPECT_EQ(t[static_cast<size_t>(c)].gradient, 107) << c;
  EXPECT_EQ(t[4].gradient, 97);
  for (int c = 5; c <= 9; ++c) EXPECT_EQ(t[static_cast<size_t>(c)].gradient, 105) << c;
  EXPECT_EQ(t[10].gradient, 101);     // closing fill with the last value
  EXPECT_EQ(t[237].gradient, 101);
  EXPECT_EQ(t[238].gradient, 0);      // the fill stops two cells before the end
}

TEST(LineReader, CurvesBuildThePlanAndTurnBySide) {
  CompileFixture f;
  f.compile(line_text("curvad3,  100,  100\r\ncurvas3,  300,  100\r\n"), kEmptyTrain);
  ASSERT_EQ(f.model.err_code, 0);
  const Plan& p = f.model.profile;
  EXPECT_EQ(p.next, 11999);  // filled up to L + 6998
  EXPECT_EQ(p.x[100], 0.0);
  EXPECT_EQ(p.y[100], 100.0);
  // The first turning step, by hand: heading (0, 1), q = 0.0004 to the right.
  EXPECT_EQ(p.x[101], 0.0004);
  EXPECT_EQ(p.y[101], 101.0);
  EXPECT_GT(p.x[200], p.x[150]);  // a right curve turns from +y towards +x
  double right_heading = p.x[201] - p.x[200];
  double end_heading = p.x[401] - p.x[400];
  EXPECT_GT(right_heading, 0.0);
  EXPECT_LT(std::abs(end_heading), right_heading / 100);  // the left curve turns it back
}

struct Curve {
  int64_t s, n;
  double q;
};

// The plan point by point as written down for the format: straight up to a
// curve's start s, turning by q from s + 1 to s + n, each point from the two
// before it.
std::pair<std::vector<double>, std::vector<double>> plan_by_hand(const std::vector<Curve>& curves, int64_t last) {
  std::vector<double> x{0, 0}, y{0, 1};
  for (int64_t i = 2; i <= last; ++i) {
    double q = 0;
    for (const Curve& c : curves)
      if (i > c.s && i <= c.s + c.n) q = c.q;
    double dx = x.back() - x[x.size() - 2];
    double dy = y.back() - y[y.size() - 2];
    x.push_back((x.back() + dx) + q * dy);
    y.push_back((y.back() + dy) - q * dx);
  }
  return {x, y};
}

TEST(LineReader, PlanPointsAsWrittenDown) {
  struct Case {
    std::string name;
    std::string rows;
    std::vector<Curve> curves;
  };
  const Case cases[] = {
      {"a right curve, then a left one", "curvad3,  100,  100\r\ncurvas3,  300,  100\r\n",
       {{100, 100, 0.0004}, {300, 100, -0.0004}}},
      {"a curve one metre after the one before", "curvad3,  100,  100\r\ncurvas5,  201,  50\r\n",
       {{100, 100, 0.0004}, {201, 50, -0.002}}},
      {"a curve at the end of the one before", "curvad6,  100,  100\r\ncurvad1,  200,  30\r\n",
       {{100, 100, 0.003}, {200, 30, 0.0001}}},
  };
  for (const Case& c : cases) {
    CompileFixture f;
    f.compile(line_text(c.rows), kEmptyTrain);
    ASSERT_EQ(f.model.err_code, 0) << c.name;
    const Plan& p = f.model.profile;
    ASSERT_EQ(p.next, 11999) << c.name;
    auto [x, y] = plan_by_hand(c.curves, 11998);
    for (size_t i = 0; i <= 11998; ++i) {
      ASSERT_EQ(p.x[i], x[i]) << c.name << " x of metre " << i;
      ASSERT_EQ(p.y[i], y[i]) << c.name << " y of metre " << i;
    }
  }
}

TEST(LineReader, PlanPointsWorkedOutByHand) {
  CompileFixture f;
  f.compile(line_text("curvad6,  10,  5\r\n"), kEmptyTrain);
  ASSERT_EQ(f.model.err_code, 0);
  const Plan& p = f.model.profile;
  // Metre 13 turns from a heading (0.006, 0.999991): dy is no longer 1.
  EXPECT_NEAR(p.x[13], 0.009 + 0.006 + 0.003 * 0.999991, 1e-15);
  EXPECT_NEAR(p.y[13], 11.999991 + 0.999991 - 0.003 * 0.006, 1e-12);
  // After the curve the heading (dx, dy) stays as metre 15 left it.
  EXPECT_NEAR(p.x[16] - p.x[15], p.x[15] - p.x[14], 1e-15);
  EXPECT_NEAR(p.y[16] - p.y[15], p.y[15] - p.y[14], 1e-15);
  EXPECT_NEAR(p.x[15] - p.x[14], 0.015, 1e-6);  // five turns of 0.003
}

// A reading that stopped after the length but before the plan's origin:
// the plan file holds only empty elements.
TEST(LineReader, PlanWithoutItsOriginIsWrittenEmpty) {
  CompileFixture f;
  f.compile(general("ripetizione segnali 4 codici,    25,    100\r\n"), kEmptyTrain);
  EXPECT_EQ(f.model.err_code, 3);
  EXPECT_FALSE(f.model.profile.origin_set);
  std::string plan = testing::read_bytes(f.dir / "LORVENA PF_linea.dat");
  EXPECT_EQ(plan, std::string(2 * 12001 * 2, '\0'));
}

TEST(LineReader, CurvesAreSkippedWithoutThePlan) {
  CompileFixture f;
  f.compile(line_text("curvad,  100,  50\r\n"), kEmptyTrain, 0);  // no class: not read at all
  EXPECT_EQ(f.model.err_code, 0);
  EXPECT_TRUE(f.model.profile.x.empty());
  EXPECT_FALSE(f.exists("LORVENA PF_linea.dat"));
}

TEST(LineReader, PlanBeyondItsLimitIsError103) {
  CompileFixture f;
  f.compile(line_text("curvad3,  999000,  5000\r\n", 1000000), kEmptyTrain);
  EXPECT_EQ(f.model.err_code, 103);
  EXPECT_EQ(f.model.profile.next, 1000001);
}

TEST(LineReader, SignBoardsTakeSlotsDownwardsAndReplaceTunnelMarkers) {
  CompileFixture f;
  f.compile(line_text("montagna,   1000,  2000,  11\r\n"
                      "cartello_indicatore,  1100,   (IMBOCCO)( NOVE  )\r\n"  // cell 23, a tunnel marker
                      "cartello_indicatore,  3000,   \"(A, B)\"\r\n"),
            kEmptyTrain);
  ASSERT_EQ(f.model.err_code, 0);
  EXPECT_EQ(f.model.track[23].kind, kSignBoard);
  EXPECT_EQ(f.model.track[23].param1, 80);
  EXPECT_EQ(f.model.table[80].nome, "(IMBOCCO)( NOVE  )");
  EXPECT_EQ(f.model.track[61].param1, 79);
  EXPECT_EQ(f.model.table[79].nome, "(A, B)");
  EXPECT_EQ(f.model.track[27].kind, kTunnelMarker);
}

// Dividers here hold keywords, so a divider that is read as a record shows:
// its values would be the next fields, or the record after it would be lost.
TEST(LineReader, DividerFieldsAreSkippedUpToTheirLimit) {
  const std::string ten_dividers = [] {
    std::string d;
    for (int i = 0; i < 10; ++i) d += "- sfondo uno -,";
    return d;
  }();
  struct Case {
    std::string name;
    std::string line;
    int scenery;   // entry 85's inizio
    int gradient;  // cell 5, after the closing fill
  };
  const Case cases[] = {
      {"one divider in the body", line_text("-- pendenza --\r\npendenza,  100,  4\r\n"), 0, 104},
      {"two dividers in the body", line_text("- pendenza -, - pendenza -, pendenza,  100,  4\r\n"), 0, 104},
      {"a third is the keyword", line_text("- a -, - b -, - pendenza -,  100,  4\r\n"), 0, 104},
      {"ten dividers in the general block",
       "[generale]\r\nlunghezza percorso, 5000\r\n" + ten_dividers + "sfondo uno, 7\r\n[curve]\r\n", 7, 100},
      {"an eleventh is the keyword",
       "[generale]\r\nlunghezza percorso, 5000\r\n- a -,- a -,- a -,- a -,- a -,- a -,- a -,- a -,- a -,- a -,"
       "- sfondo uno -, 7\r\n[curve]\r\n",
       7, 100},
      {"a divider at the end of the file", line_text("pendenza,  100,  4\r\n") + "- pendenza -", 0, 104},
      {"unknown keywords", line_text("nota, 12\r\npendenza,  100,  4\r\n"), 0, 104},
  };
  for (const Case& c : cases) {
    CompileFixture f;
    f.compile(c.line, kEmptyTrain);
    EXPECT_EQ(f.model.err_code, 0) << c.name;
    EXPECT_EQ(f.model.table[kScenarioEntry].inizio, c.scenery) << c.name;
    EXPECT_EQ(f.model.track[5].gradient, c.gradient) << c.name;
  }
}

}  // namespace
}  // namespace lorvena
