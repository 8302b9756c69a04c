// What a store that stops part-way leaves in the compiled files: values are
// stored one at a time, in a fixed order, and a value that does not fit (or
// a 32-bit step that overflows) stops the reading with what came before it
// written. The files are read back with the authors' tool's decoder.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "testing/compile_fixture.h"
#include "tools/compiled/compiled_decode.h"

namespace lorvena {
namespace {

using testing::CompileFixture;
using testing::line_text;
using testing::read_bytes;
using testing::train_text;

const std::string kTrackFile = "LORVENA PF_4316.dat";
const std::string kTableFile = "LORVENA PF_4316.sim";

struct Cell {
  size_t index;
  int kind, param1, param2, param3, landscape;
};

std::string cell_text(const TrackCell& c) {
  return "kind " + std::to_string(c.kind) + ", params " + std::to_string(c.param1) + " " +
         std::to_string(c.param2) + " " + std::to_string(c.param3) + ", landscape " +
         std::to_string(c.landscape);
}

std::string cell_text(const Cell& c) {
  return cell_text(TrackCell{.kind = static_cast<uint8_t>(c.kind),
                             .param1 = static_cast<int16_t>(c.param1),
                             .param2 = static_cast<int16_t>(c.param2),
                             .param3 = static_cast<int16_t>(c.param3),
                             .landscape = static_cast<uint8_t>(c.landscape)});
}

std::string sign(int pos, size_t text_length) {
  return "cartello_indicatore, " + std::to_string(pos) + ", " + std::string(text_length, 'S') + "\r\n";
}

// x = 3000, l = 1000: warning board in cell 37, start 61, end 81.
std::string slowdown(int v, int f_tt, int d_v) {
  return "rallentamento, 3000, " + std::to_string(v) + ", 1000, " + std::to_string(f_tt) + ", 0, " +
         std::to_string(d_v) + "\r\n";
}

TEST(StoreOrder, WhatAStoppedStoreLeavesInTheTrackFile) {
  const std::string indicator = "indicatori_vmax, 1000, 60, 70, 75, 0, 60, 70, 75, 0\r\n";
  struct Case {
    std::string name;
    std::string line_body;
    std::string train_body;
    int32_t err_code;
    std::vector<Cell> cells;  // as the track file holds them afterwards
  };
  const Case cases[] = {
      // A mountain's kind is stored cell by cell, after the closeness rule.
      {"a mountain without cells stores no kind", "montagna, 100, 100, 300\r\n", "", 0, {{2, 0, 0, 0, 0, 0}}},
      {"a kind beyond a byte stops at the first cell", "montagna, 100, 300, 300\r\n", "", 25,
       {{2, 0, 0, 0, 0, 0}, {5, 0, 0, 0, 0, 0}}},
      {"a close mountain's kind becomes 3 before it is stored",
       "montagna, 100, 300, 1\r\nmontagna, 400, 600, 300\r\n", "", 0,
       {{8, 0, 0, 0, 0, 3}, {11, 11, 0, 0, 0, 3}}},
      // A slowdown writes the kinds, then d_v, then the speed, then f_tt.
      {"a slowdown that fits", "", slowdown(60, 5, 7), 0,
       {{37, 4, 60, 7, 0, 0}, {61, 3, 60, 7, 5, 0}, {81, 2, 60, 7, 5, 0}}},
      {"a d_v beyond 16 bits leaves the kinds", "", slowdown(60, 5, 40000), 25,
       {{37, 4, 0, 0, 0, 0}, {61, 3, 0, 0, 0, 0}, {81, 2, 0, 0, 0, 0}}},
      {"a speed beyond 16 bits leaves d_v", "", slowdown(40000, 5, 7), 25,
       {{37, 4, 0, 7, 0, 0}, {61, 3, 0, 7, 0, 0}, {81, 2, 0, 7, 0, 0}}},
      {"an f_tt beyond 16 bits leaves d_v and the speed", "", slowdown(60, 40000, 7), 25,
       {{37, 4, 60, 7, 0, 0}, {61, 3, 60, 7, 0, 0}, {81, 2, 60, 7, 0, 0}}},
      // A sign's text is checked where it is stored: after the bounds and
      // free-cell tests, and after the cell's kind and slot.
      {"an over-long sign text on a taken cell", indicator + sign(1000, 65536), "", 6,
       {{21, 6, 1212, 1414, 1515, 0}}},
      {"an over-long sign text beyond the line", sign(12000, 65536), "", 15, {}},
      {"an over-long sign text on a free cell", sign(1000, 65536), "", 25, {{21, 14, 80, 0, 0, 0}}},
      // 32-bit steps: an overflow is error 25 where it happens.
      {"the gap after a mountain overflows before the next is stored",
       "montagna, 1000, -2147483000, 1\r\nmontagna, 1000, 1200, 1\r\n", "", 25, {{20, 0, 0, 0, 0, 0}}},
      {"a station's start minus 350 overflows", "",
       "stazione, 4000, 30, 100, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, A\r\n"
       "stazione, -2147483600, 30, 0, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, B\r\n",
       25, {}},
  };
  for (const Case& c : cases) {
    CompileFixture f;
    f.compile(line_text(c.line_body), train_text(c.train_body), 0);
    EXPECT_EQ(f.model.err_code, c.err_code) << c.name;
    std::vector<TrackCell> track = decode_track(read_bytes(f.dir / kTrackFile));
    for (const Cell& want : c.cells) {
      ASSERT_LT(want.index, track.size()) << c.name;
      EXPECT_EQ(cell_text(track[want.index]), cell_text(want)) << c.name << ", cell " << want.index;
    }
  }
}

// A curve's end is start + length in 32 bits: at the longest line, without
// that step the plan would run on to its limit (error 103).
TEST(StoreOrder, ACurveEndThatOverflowsStopsAfterTheStraight) {
  CompileFixture f;
  f.compile(line_text("curvad1, 100, 2147483647\r\n", 1000000), train_text(""), 1);
  EXPECT_EQ(f.model.err_code, 25);
  EXPECT_EQ(f.model.profile.next, 101);
}

// The kilometre references are summed in two 32-bit steps, then ordered,
// then given +100 where `posizione` is 1: an overflow at any step is error 25
// with what was stored before it kept.
TEST(StoreOrder, KilometreReferencesStopWhereA32BitStepOverflows) {
  struct Case {
    std::string name;
    std::string rows;
    int32_t err_code;
    std::array<int32_t, 9> table;  // inizio, fine, posizione of 81, 82, 83
  };
  const Case cases[] = {
      {"the first addition overflows",
       "progressiva chilometrica tre, 2147483600, 0, 0\r\nprogressiva chilometrica due, 100, 0, 0\r\n", 25,
       {2147483600, 0, 0, 100, 0, 0, 0, 0, 0}},
      {"the second addition overflows: nothing is reordered",
       "progressiva chilometrica tre, 100, 0, 0\r\nprogressiva chilometrica uno, 2147483600, 0, 0\r\n", 25,
       {100, 0, 0, 0, 0, 0, 2147483600, 0, 0}},
      // The largest start on the 50 m step that still fits.
      {"the second addition fits",
       "progressiva chilometrica tre, 100, 0, 0\r\nprogressiva chilometrica uno, 2147483500, 0, 0\r\n", 0,
       {2147483500, 0, 0, 100, 0, 0, 0, 0, 0}},
      {"the +100 overflows after the order is stored",
       "progressiva chilometrica uno, 50, 2147483600, 1\r\n", 25, {50, 2147483600, 1, 0, 0, 0, 0, 0, 0}},
      {"the +100 fits", "progressiva chilometrica uno, 50, 2147483500, 1\r\n", 0,
       {50, 2147483600, 1, 0, 0, 0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    CompileFixture f;
    f.compile("[generale]\r\nlunghezza percorso, 5000\r\n" + c.rows + "[curve]\r\n[fine]\r\n", train_text(""), 0);
    EXPECT_EQ(f.model.err_code, c.err_code) << c.name;
    std::array<TableEntry, kTableSize> table = decode_table(read_bytes(f.dir / kTableFile));
    std::array<int32_t, 9> got{};
    for (size_t i = 0; i < 3; ++i) {
      got[3 * i] = table[81 + i].inizio;
      got[3 * i + 1] = table[81 + i].fine;
      got[3 * i + 2] = table[81 + i].posizione;
    }
    EXPECT_EQ(got, c.table) << c.name;
  }
}

// A name or sign text is written with a 16-bit length: a longer one is
// error 25 before it is stored, the entry keeps the name it had, and the
// table file reads back.
TEST(StoreOrder, OverLongNamesAreNotStoredAndTheTableReadsBack) {
  const std::string station_head = "stazione, 2000, 30, 400, 0,0,0, 0,0,0, 0,0,0, 0, 17,42,0, ";
  struct Case {
    std::string name;
    std::string line_body;
    std::string train_body;
    int32_t err_code;
    size_t entry;
    size_t name_length;
  };
  const Case cases[] = {
      {"a sign text of 65535 bytes", sign(1000, 65535), "", 0, 80, 65535},
      {"a sign text of 65536 bytes", sign(1000, 65536), "", 25, 80, 0},
      {"a station name of 65535 bytes", "", station_head + std::string(65535, 'N') + "\r\n", 0, 1, 65535},
      {"a station name of 65536 bytes", "", station_head + std::string(65536, 'N') + "\r\n", 25, 1, 0},
  };
  for (const Case& c : cases) {
    CompileFixture f;
    f.compile(line_text(c.line_body), train_text(c.train_body), 0);
    EXPECT_EQ(f.model.err_code, c.err_code) << c.name;
    std::array<TableEntry, kTableSize> table;
    ASSERT_NO_THROW(table = decode_table(read_bytes(f.dir / kTableFile))) << c.name;
    EXPECT_EQ(table[c.entry].nome.size(), c.name_length) << c.name;
    EXPECT_EQ(table[kTrainEntry].nome, "4316") << c.name;  // the entries after it read back too
  }
  // What the station read before its name stays in its entry.
  CompileFixture f;
  f.compile(line_text(""), train_text(station_head + std::string(65536, 'N') + "\r\n"), 0);
  std::array<TableEntry, kTableSize> table = decode_table(read_bytes(f.dir / kTableFile));
  EXPECT_EQ(table[1].posizione, 2000);
  EXPECT_EQ(table[1].tipo, 30);
  EXPECT_EQ(table[1].ora, (17 * 60 + 42) * 60);
}

}  // namespace
}  // namespace lorvena
