#include <gtest/gtest.h>

#include <array>

#include "testing/compile_fixture.h"

namespace lorvena {
namespace {

using namespace cell_kind;
using testing::CompileFixture;
using testing::line_text;
using testing::train_text;

const std::string kLine = line_text("");  // 5000 m: cells 0..240

// A station row: position, kind, platform length, flag5, flag4, then the name.
std::string station(int pos, int kind, int length, int flag5 = 1, int flag4 = 0) {
  return "stazione,  " + std::to_string(pos) + ", " + std::to_string(kind) + ",  " + std::to_string(length) +
         ",  3, " + std::to_string(flag5) + ", " + std::to_string(flag4) +
         ",  1,1,7,  4,1,1,    60,  17,42, 5, NOME " + std::to_string(pos) + "\r\n";
}

// Read, it sets the number of coaches: each error case puts it after the
// record that fails, so a reader that goes on after an error is caught.
const std::string kAfter = "vetture,  9\r\n";

TEST(TrainReader, EachRecordedErrorStopsTheReadingAndDeletesTheTrainFile) {
  std::string signs;
  for (int i = 0; i < 78; ++i) signs += "cartello_indicatore,  " + std::to_string(100 * i + 1000) + ",   (S)\r\n";
  struct Case {
    std::string name;
    std::string line;
    std::string train;
    int32_t err_code;
    int32_t err_pos;  // -1: not set
  };
  const Case cases[] = {
      // Found after the reading: the records before it were all read.
      {"reference off the step",
       "[generale]\r\nlunghezza percorso, 5000\r\nprogressiva chilometrica uno, 25, 0, 0\r\n[curve]\r\n", "", 2,
       -1},
      {"signal on a signal", kLine,
       "segnale, 1000, 2, 4, 0, 0, 0, 2, 2, 0, 0, 0\r\nsegnale, 1010, 2, 4, 0, 0, 0, 2, 2, 0, 0, 0\r\n" + kAfter, 16,
       1010},
      {"slowdown start taken", kLine,
       "segnale, 3000, 2, 4, 0, 0, 0, 2, 2, 0, 0, 0\r\nrallentamento, 3000, 30, 500, 0, 0, 0\r\n" + kAfter, 18, 3000},
      {"marker on a marker", kLine, "abbattimento, 1000, 2\r\nabbattimento, 1010, 0\r\n" + kAfter, 7, 1010},
      {"station off the step", kLine, station(1025, 12, 300) + kAfter, 8, 1025},
      {"platform off the step", kLine, station(1000, 12, 350) + kAfter, 9, 1000},
      {"too many stations", line_text(signs), station(1000, 26, 300) + kAfter, 10, -1},
      {"record beyond the line", kLine, "velocita,  11950,  50\r\n" + kAfter, 15, 11950},
      {"station beyond the line", kLine, station(11250, 12, 300) + kAfter, 15, 11250},
      {"stations too close", kLine, station(1000, 12, 300) + station(1600, 12, 300) + kAfter, 22, 1600},
      {"station end too early", kLine, station(0, 12, 100) + kAfter, 24, -1},
      {"station stop on cell 1", kLine, station(50, 12, 100) + kAfter, 24, -1},
      {"speed too high for a byte", kLine, "velocita, 0, 1300\r\nvelocita, 500, 50\r\n" + kAfter, 25, -1},
      {"bad number", kLine, "sabbia, 2o0\r\n" + kAfter, 25, -1},
      {"clock beyond 16 bits", kLine, "orologio, 17, 41, 40000\r\n" + kAfter, 25, -1},
  };
  for (const Case& c : cases) {
    CompileFixture f;
    f.model.err_pos = -1;
    f.compile(c.line, train_text(c.train));
    EXPECT_EQ(f.model.err_code, c.err_code) << c.name;
    EXPECT_EQ(f.model.err_pos, c.err_pos) << c.name;
    EXPECT_EQ(f.model.table[kLineEntry].posizione, 0) << c.name << ": a record after the error was read";
    EXPECT_FALSE(std::filesystem::exists(f.train_path())) << c.name;
    EXPECT_FALSE(std::filesystem::exists(f.line_path())) << c.name;
  }
}

TEST(TrainReader, ARecordBeyondTheLineEndsTheBodyButTheClosingFillsRun) {
  for (std::string beyond : {std::string("velocita,  11950,  60\r\n"), station(11250, 12, 300)}) {
    CompileFixture f;
    f.compile(kLine, train_text("velocita,  0,  50\r\naderenza,  0,  80\r\n" + beyond + kAfter));
    EXPECT_EQ(f.model.err_code, 15) << beyond;
    EXPECT_EQ(f.model.table[kLineEntry].posizione, 0) << beyond;
    EXPECT_EQ(f.model.track[0].speed_limit, 10) << beyond;
    EXPECT_EQ(f.model.track[237].speed_limit, 10) << beyond;
    EXPECT_EQ(f.model.track[237].adhesion, 80) << beyond;
  }
}

TEST(TrainReader, MissingTrainFileIsARecordedError) {
  CompileFixture f;
  f.compile(kLine, std::nullopt);
  EXPECT_EQ(f.model.err_code, 25);
}

TEST(TrainReader, RunsAfterALineRecordBeyondTheLine) {
  CompileFixture f;
  f.compile(line_text("pendenza,  20000,  3\r\n"), train_text("vetture, 4\r\nsegnale, 1000, 2, 4, 0, 0, 0, 2, 2, 0, 0, 0\r\n"));
  EXPECT_EQ(f.model.err_code, 15);
  EXPECT_EQ(f.model.table[84].posizione, 4);
  EXPECT_EQ(f.model.track[21].kind, kSignal);  // error 15 does not stop the first signal
}

TEST(TrainReader, GeneralValuesAndSectionHeaders) {
  CompileFixture f;
  f.compile(kLine, train_text("numero vetture,    4\r\npercentuale massa frenata,    105\r\nsabbia,    200\r\n"
                              "orologio,    17              41            45 \r\n"
                              "[aderenze]\r\n[vel_limite]\r\n[stazioni]\r\n[rallentamenti]\r\n[segnali]\r\n[codici]\r\n"));
  ASSERT_EQ(f.model.err_code, 0);
  const TableEntry& train = f.model.table[86];
  EXPECT_EQ(f.model.table[84].posizione, 4);
  EXPECT_EQ(f.model.table[84].inizio, 105);
  EXPECT_EQ(train.val1, 200);
  EXPECT_EQ(train.val3, 17);
  EXPECT_EQ(train.val4, 41);
  EXPECT_EQ(train.val5, 45);
  for (const TrackCell& c : f.model.track) EXPECT_TRUE(c.kind == kNone || c.kind == kMarker);
}

// Up to two dividers before a keyword; these hold one, so a divider read as
// a record would take the next field as its value.
TEST(TrainReader, DividerFieldsAreSkippedUpToTwo) {
  struct Case {
    std::string body;
    int32_t coaches;
  };
  const Case cases[] = {
      {"- vetture -, - vetture -, vetture, 4\r\n", 4},
      {"- a -, - b -, - vetture -, 4\r\n", 4},  // the third is the keyword
      {"vetture, 4\r\n- vetture -", 4},         // a divider at the end of the file
  };
  for (const Case& c : cases) {
    CompileFixture f;
    f.compile(kLine, "[generale]\r\n" + c.body);
    EXPECT_EQ(f.model.err_code, 0) << c.body;
    EXPECT_EQ(f.model.table[kLineEntry].posizione, c.coaches) << c.body;
  }
}

TEST(TrainReader, SpeedAndAdhesionFills) {
  CompileFixture f;
  std::string repeated;
  for (int i = 0; i < 10; ++i) repeated += "velocita,  11900,  60\r\n";
  f.compile(kLine, train_text("velocita, 0, 85\r\naderenza, 0, 100\r\nvelocita, 1000, 105\r\naderenza, 500, 73\r\n" +
                              repeated));
  ASSERT_EQ(f.model.err_code, 0);
  const auto& t = f.model.track;
  EXPECT_EQ(t[0].speed_limit, 17);  // the first record's speed, written by the second
  EXPECT_EQ(t[19].speed_limit, 17);
  EXPECT_EQ(t[20].speed_limit, 21);
  EXPECT_EQ(t[237].speed_limit, 21);
  EXPECT_EQ(t[238].speed_limit, 12);   // repeated records walk the cursor on ...
  EXPECT_EQ(t[239].speed_limit, 12);
  EXPECT_EQ(t[240].speed_limit, 12);   // ... to the upper bound, where the closing fill writes once
  EXPECT_EQ(t[9].adhesion, 100);
  EXPECT_EQ(t[10].adhesion, 73);
  EXPECT_EQ(t[237].adhesion, 73);
  EXPECT_EQ(t[238].adhesion, 0);
}

// Cells before the first adhesion record hold 0; a record one cell on writes
// the previous value into cell 0, one at 0 writes nothing.
TEST(TrainReader, AdhesionBeforeAndRightAfterTheFirstRecord) {
  struct Case {
    std::string records;
    std::array<int, 5> cells;  // the adhesion of cells 0, 1, 2, 9 and 10
  };
  const Case cases[] = {
      {"aderenza, 500, 73\r\n", {0, 0, 0, 0, 73}},
      {"aderenza, 0, 40\r\naderenza, 50, 90\r\n", {40, 90, 90, 90, 90}},
      {"aderenza, 0, 40\r\naderenza, 100, 90\r\n", {40, 40, 90, 90, 90}},
  };
  for (const Case& c : cases) {
    CompileFixture f;
    f.compile(kLine, train_text(c.records));
    ASSERT_EQ(f.model.err_code, 0) << c.records;
    const auto& t = f.model.track;
    std::array<int, 5> got{t[0].adhesion, t[1].adhesion, t[2].adhesion, t[9].adhesion, t[10].adhesion};
    EXPECT_EQ(got, c.cells) << c.records;
  }
}

TEST(TrainReader, AdhesionPastTheTrackIsAReadFailure) {
  std::string repeated;
  for (int i = 0; i < 10; ++i) repeated += "aderenza,  11900,  60\r\n";
  CompileFixture f;
  f.compile(kLine, train_text(repeated));
  EXPECT_EQ(f.model.err_code, 25);
}

TEST(TrainReader, MarkerKindsByValue) {
  CompileFixture f;
  f.compile(kLine, train_text("abbattimento, 1000, 0\r\nabbattimento, 2000, 7\r\n"));
  ASSERT_EQ(f.model.err_code, 0);
  EXPECT_EQ(f.model.track[20].kind, kLowMarker);
  EXPECT_EQ(f.model.track[40].kind, kMarker);
  EXPECT_EQ(f.model.track[40].param1, 7);
}

TEST(TrainReader, StationAreasMarksAndFlags) {
  CompileFixture f;
  f.compile(kLine, train_text(station(1000, 12, 600, 1, 1) + station(2500, 12, 600, 1, 1) +
                              station(3500, 5, 300, 1, 1) + station(4500, 7, 200) + station(5500, 26, 300) +
                              station(6500, 22, 400)));
  ASSERT_EQ(f.model.err_code, 0);
  struct Expected {
    int entry, inizio, fine, flag4, flag5;
  };
  const Expected expected[] = {
      {1, 700, 1350, 0, 0},   // the first station's flags are cleared, its area still extended
      {2, 2200, 2850, 1, 1},  // extended by 50 m
      {3, 3200, 3650, 0, 0},  // kinds 5 and 6: 150 m beyond the stop, no extension
      {4, 4300, 4700, 0, 0},  // kinds 7 and 8: the length on both sides; flag5 cleared below 600 m
      {5, 5350, 5650, 0, 0},
      {6, 6300, 6700, 0, 0},
  };
  for (const Expected& e : expected) {
    const TableEntry& s = f.model.table[static_cast<size_t>(e.entry)];
    EXPECT_EQ(s.inizio, e.inizio) << e.entry;
    EXPECT_EQ(s.fine, e.fine) << e.entry;
    EXPECT_EQ(s.flag4, e.flag4) << e.entry;
    EXPECT_EQ(s.flag5, e.flag5) << e.entry;
  }
  const TableEntry& second = f.model.table[2];
  EXPECT_EQ(second.flag1, 3);
  EXPECT_EQ(second.val1, 1);
  EXPECT_EQ(second.flag2, 7);
  EXPECT_EQ(second.flag3, 60);
  EXPECT_EQ(second.ora, (17 * 60 + 42) * 60 + 5);
  EXPECT_EQ(second.nome, "NOME 2500");

  const auto& t = f.model.track;
  EXPECT_EQ(t[56].kind, kStationStop);  // nearest(2850 / 50 - 1)
  EXPECT_EQ(t[56].param1, 2);
  for (int k = 1; k <= 4; ++k) EXPECT_EQ(t[static_cast<size_t>(56 - k)].approach, 80 + k);
  EXPECT_EQ(t[72].kind, kStationStop);    // kind 5 gets its stop cell ...
  EXPECT_EQ(t[71].approach, 0);           // ... but no approach marks
  for (int c = 100; c <= 115; ++c) EXPECT_NE(t[static_cast<size_t>(c)].kind, kStationStop);  // kind 26
}

// Which station kinds get a stop cell and approach marks, and where: the
// station under test comes second, so its flags are kept as read.
TEST(TrainReader, StationKindsStopCellsAndApproachMarks) {
  struct Case {
    std::string name;
    std::string stations;
    int fine, flag4;
    int stop;            // the stop cell, -1: none
    int first_approach;  // the cell marked 81, then 82..84 below it; -1: none
  };
  const std::string first = station(1000, 26, 300);
  const Case cases[] = {
      {"kind 24", first + station(3000, 24, 200), 3100, 0, 61, 60},
      {"kind 25", first + station(3000, 25, 200), 3100, 0, -1, -1},
      {"kind 6", first + station(3000, 6, 200, 1, 1), 3150, 0, 62, -1},
      {"kind 7 with flag4", first + station(3000, 7, 200, 1, 1), 3200, 0, 63, 62},
      {"kind 8 with flag4", first + station(3000, 8, 200, 1, 1), 3200, 0, 63, 62},
      {"kind 12 with flag4", first + station(3000, 12, 200, 1, 1), 3150, 1, 62, 61},
      // Ends at 300 m: marks on cells 4, 3, 2; none on cell 1.
      {"near the start", station(250, 12, 100), 300, 0, 5, 4},
  };
  for (const Case& c : cases) {
    CompileFixture f;
    f.compile(kLine, train_text(c.stations));
    ASSERT_EQ(f.model.err_code, 0) << c.name;
    int entry = c.first_approach == 4 ? 1 : 2;
    const TableEntry& e = f.model.table[static_cast<size_t>(entry)];
    EXPECT_EQ(e.fine, c.fine) << c.name;
    EXPECT_EQ(e.flag4, c.flag4) << c.name;
    std::vector<int> stops, marks;
    for (size_t i = 0; i < f.model.track.size(); ++i) {
      const TrackCell& cell = f.model.track[i];
      if (cell.kind == kStationStop) {
        stops.push_back(static_cast<int>(i));
        EXPECT_EQ(cell.param1, entry) << c.name;
      }
      if (cell.approach != 0) marks.push_back(static_cast<int>(i) * 100 + cell.approach);
    }
    EXPECT_EQ(stops, c.stop < 0 ? std::vector<int>{} : std::vector<int>{c.stop}) << c.name;
    // Exactly four marks, cell by cell: 100 * cell + mark.
    std::vector<int> expected;
    if (c.first_approach >= 0)
      for (int k = 4; k >= 1; --k)
        if (c.first_approach - k + 1 > 1) expected.push_back((c.first_approach - k + 1) * 100 + 80 + k);
    EXPECT_EQ(marks, expected) << c.name;
  }
}

TEST(TrainReader, StationsNeed350MetresBetweenThem) {
  // Areas start and end on 50 m steps, so the gap below 350 m is 300 m.
  for (int gap : {350, 300}) {
    CompileFixture f;
    // first station ends at 1150; the second starts at its position - 150
    f.compile(kLine, train_text(station(1000, 12, 300) + station(1150 + gap + 150, 12, 300)));
    EXPECT_EQ(f.model.err_code, gap == 350 ? 0 : 22) << gap;
  }
}

TEST(TrainReader, StationThatFillsTheTableIsStored) {
  std::string signs;
  for (int i = 0; i < 77; ++i) signs += "cartello_indicatore,  " + std::to_string(100 * i + 1000) + ",   (S)\r\n";
  CompileFixture f;
  f.compile(line_text(signs, 20000), train_text(station(10000, 26, 300) + station(11000, 26, 300)));
  EXPECT_EQ(f.model.err_code, 10);
  EXPECT_EQ(f.model.table[2].nome, "NOME 11000");
  EXPECT_EQ(f.model.table[3].nome, "");
  EXPECT_EQ(f.model.table[4].nome, "(S)");
}

}  // namespace
}  // namespace lorvena
