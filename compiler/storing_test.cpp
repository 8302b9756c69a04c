#include "compiler/storing.h"

#include <gtest/gtest.h>

#include "descriptions/field_reader.h"

namespace lorvena {
namespace {

using namespace cell_kind;

Scenario track_of(int32_t length) {
  Scenario m;
  size_model(m, length);
  return m;
}

TEST(MemoRallentamento, WarningBoardAndApproachOnlyBeyond1500) {
  Scenario at1500 = track_of(5000);
  EXPECT_EQ(memo_rallentamento(at1500, 1500, 60, 500, 7, 1, 0), 0);
  EXPECT_EQ(at1500.track[31].kind, kSlowdownStart);
  EXPECT_EQ(at1500.track[41].kind, kSlowdownEnd);
  EXPECT_EQ(at1500.track[31].param3, 7);
  for (const TrackCell& c : at1500.track) EXPECT_TRUE(c.kind != kWarningBoard && c.kind != kApproach);

  Scenario at1550 = track_of(5000);
  EXPECT_EQ(memo_rallentamento(at1550, 1550, 60, 500, 0, 1, 9), 0);
  EXPECT_EQ(at1550.track[8].kind, kWarningBoard);  // nearest(350 / 50 + 1)
  EXPECT_EQ(at1550.track[8].param1, 60);
  EXPECT_EQ(at1550.track[8].param2, 9);
  for (int i = 0; i < 4; ++i) {
    const TrackCell& c = at1550.track[static_cast<size_t>(7 - i)];
    EXPECT_EQ(c.kind, kApproach);
    EXPECT_EQ(c.param1, i + 1);
    EXPECT_EQ(c.param2, i + 1);
  }
}

TEST(MemoRallentamento, NoSecondValueWhenDvIsZero) {
  Scenario m = track_of(5000);
  EXPECT_EQ(memo_rallentamento(m, 1550, 60, 500, 0, 1, 0), 0);
  for (int c : {8, 32, 42}) EXPECT_EQ(m.track[static_cast<size_t>(c)].param2, 0) << c;  // board, start, end
  for (int i = 0; i < 4; ++i) {
    const TrackCell& c = m.track[static_cast<size_t>(7 - i)];
    EXPECT_EQ(c.kind, kApproach);
    EXPECT_EQ(c.param1, i + 1);
    EXPECT_EQ(c.param2, 0);
  }
}

TEST(MemoRallentamento, ShortSlowdownEndsAsStartInOneCell) {
  Scenario m = track_of(5000);
  EXPECT_EQ(memo_rallentamento(m, 2000, 30, 20, 0, 0, 0), 0);
  EXPECT_EQ(m.track[41].kind, kSlowdownStart);
  EXPECT_EQ(m.track[41].param1, 30);
}

TEST(MemoRallentamento, OccupiedCellsGiveTheirErrorsAndEarlierCellsStay) {
  struct Case {
    int occupied;
    int32_t error;
  };
  // x = 3000, l = 1000: warning 37, start 61, end 81, approach 36..33;
  // cell 32, next to the last approach cell, is none of them.
  const Case cases[] = {{37, 17}, {61, 18}, {81, 19}, {34, 20}, {33, 20}, {32, 0}};
  for (const Case& c : cases) {
    Scenario m = track_of(5000);
    m.track[static_cast<size_t>(c.occupied)].kind = kSignal;
    EXPECT_EQ(memo_rallentamento(m, 3000, 50, 1000, 0, 1, 0), c.error) << c.occupied;
    EXPECT_EQ(m.err_code, c.error);
    if (c.error == 20) {
      EXPECT_EQ(m.track[61].kind, kSlowdownStart);
    }
    if (c.error == 0) {
      EXPECT_EQ(m.track[33].kind, kApproach);
    }
  }
}

TEST(MemoSegnale, PacksAspectsTimingAndApproachMarks) {
  struct Case {
    int32_t tempo, timing;
  };
  for (Case c : {Case{0, 0}, Case{1, 101}, Case{100, 101}, Case{101, 101}, Case{230, 230}, Case{300, 44}}) {
    Scenario m = track_of(5000);
    SignalRecord s{1000, 2, 4, 1, 2, 3, 2, 3, 1, 5, c.tempo};
    ASSERT_EQ(memo_segnale(m, s), 0);
    const TrackCell& cell = m.track[21];
    EXPECT_EQ(cell.kind, kSignal);
    EXPECT_EQ(cell.param1, 43);
    EXPECT_EQ(cell.param2, 11);
    EXPECT_EQ(cell.param3, 25);
    EXPECT_EQ(cell.param4, 38);
    EXPECT_EQ(cell.timing, c.timing) << c.tempo;
    for (int b = 1; b <= 4; ++b) EXPECT_EQ(m.track[static_cast<size_t>(21 - 2 * b)].approach, 80 + b);
  }
  Scenario m = track_of(5000);
  SignalRecord s{1000, 1, 4, 1, 0, 0, 2, 3, 1, 0, 50};
  memo_segnale(m, s);
  EXPECT_EQ(m.track[21].timing, 0);  // timing only for sx = 2
}

TEST(MemoSegnale, OccupiedCellAndMarksBeforeTheTrackStart) {
  Scenario m = track_of(5000);
  m.track[21].kind = kSpeedIndicator;
  SignalRecord s{1000, 2, 4, 1, 0, 0, 2, 3, 1, 0, 0};
  EXPECT_EQ(memo_segnale(m, s), 16);
  SignalRecord early{100, 2, 4, 1, 0, 0, 2, 3, 1, 0, 0};  // cell 3: marks at 1, -1
  EXPECT_THROW(memo_segnale(m, early), ReadFailure);
}

TEST(MemoIndicatori, PacksBothSidesAndRefusesOccupiedCells) {
  Scenario m = track_of(5000);
  EXPECT_EQ(memo_indicatori_v_max(m, {500, 60, 70, 75, 1, 60, 70, 75, 2}), 0);
  const TrackCell& c = m.track[11];
  EXPECT_EQ(c.kind, kSpeedIndicator);
  EXPECT_EQ(c.param1, 1212);
  EXPECT_EQ(c.param2, 1414);
  EXPECT_EQ(c.param3, 1515);
  EXPECT_EQ(c.param4, 12);
  EXPECT_EQ(memo_indicatori_v_max(m, {500, 80, 85, 85, 0, 0, 0, 0, 0}), 21);
  EXPECT_THROW(memo_indicatori_v_max(m, {900, 2000, 0, 0, 0, 0, 0, 0, 0}), ReadFailure);
}

TEST(MemoMontagna, TunnelMarkersEveryFourthFreeCellAndCloseMountains) {
  Scenario m = track_of(5000);
  m.track[43].kind = kSignal;
  int32_t tipo = 11;
  memo_montagna(m, 1800, 2400, tipo);  // cells 36..47
  EXPECT_EQ(tipo, 1);
  for (int c = 36; c <= 47; ++c) EXPECT_EQ(m.track[static_cast<size_t>(c)].landscape, 1);
  EXPECT_EQ(m.track[39].kind, kTunnelMarker);
  EXPECT_EQ(m.track[43].kind, kSignal);
  EXPECT_EQ(m.track[47].kind, kTunnelMarker);
  EXPECT_EQ(m.track[48].landscape, 0);

  int32_t close = 2;
  memo_montagna(m, 2550, 2700, close);  // 150 m after the previous end
  EXPECT_EQ(close, 3);
  int32_t far = 2;
  memo_montagna(m, 2851, 3000, far);
  EXPECT_EQ(far, 2);
  EXPECT_EQ(m.mountain_count, 3);
  EXPECT_EQ(m.mountain_end[3], 3000);
}

// A mountain covers cells nearest(inizio / 50) to nearest(fine / 50 - 1),
// halves to even; a tunnel marks every fourth of them.
TEST(MemoMontagna, TunnelCellsEndAtTheMountainsLastCell) {
  struct Case {
    int32_t inizio, fine;
    int first, last;
    std::vector<int> markers;
  };
  const Case cases[] = {
      {1800, 2026, 36, 40, {39}},    // 39.52 rounds up
      {1800, 2024, 36, 39, {39}},    // 39.48 rounds down: the marker on the last cell
      {1775, 1975, 36, 38, {}},      // 35.5 and 38.5 both to even
      {1825, 2075, 36, 40, {39}},    // 36.5 to 36, 40.5 to 40
      {1800, 2600, 36, 51, {39, 43, 47, 51}},
  };
  for (const Case& c : cases) {
    Scenario m = track_of(5000);
    int32_t tipo = 12;
    memo_montagna(m, c.inizio, c.fine, tipo);
    std::vector<int> covered, markers;
    for (int i = 0; i <= 240; ++i) {
      const TrackCell& cell = m.track[static_cast<size_t>(i)];
      if (cell.landscape == 2) covered.push_back(i);
      if (cell.kind == kTunnelMarker) markers.push_back(i);
    }
    EXPECT_EQ(covered.front(), c.first) << c.fine;
    EXPECT_EQ(covered.back(), c.last) << c.fine;
    EXPECT_EQ(covered.size(), static_cast<size_t>(c.last - c.first + 1)) << c.fine;
    EXPECT_EQ(markers, c.markers) << c.fine;
  }
}

TEST(ProgressiveOrdina, OrdersByStartThenByEnd) {
  struct Case {
    std::array<int32_t, 9> in;  // inizio, fine, posizione of 81, 82, 83
    std::array<int32_t, 9> out;
  };
  const Case cases[] = {
      {{10, 1, 0, 30, 3, 0, 20, 2, 0}, {30, 3, 0, 20, 2, 0, 10, 1, 0}},
      {{30, 1, 0, 10, 2, 0, 10, 3, 0}, {30, 1, 0, 10, 3, 0, 10, 2, 0}},  // tie: 83 to 82
      {{10, 1, 0, 30, 2, 0, 10, 3, 0}, {30, 2, 0, 10, 3, 0, 10, 1, 0}},  // tie: 83 to 82
      {{10, 1, 0, 10, 2, 0, 30, 3, 0}, {30, 3, 0, 10, 2, 0, 10, 1, 0}},  // tie: 82 to 82
      {{30, 1, 0, 30, 2, 0, 10, 3, 0}, {0, 0, 0, 0, 0, 0, 0, 0, 0}},     // no strict largest
      {{0, 5, 0, 0, 0, 0, 0, 0, 0}, {0, 5, 0, 0, 0, 0, 0, 0, 0}},
      {{0, 5, 0, 0, 6, 0, 0, 0, 0}, {0, 6, 0, 0, 5, 0, 0, 0, 0}},
      {{0, 5, 0, 0, 6, 0, 0, 7, 0}, {0, 7, 0, 0, 6, 0, 0, 5, 0}},
      {{0, 0, 0, 0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0, 0, 0, 0}},
      {{0, 50, 1, 0, 0, 0, 0, 0, 0}, {0, 150, 1, 0, 0, 0, 0, 0, 0}},  // posizione 1 adds 100
      // Starts summing to 0 and only 81's end set: all three kept where they are.
      {{-20, 50, 2, 20, 0, 3, 0, -50, 4}, {-20, 50, 2, 20, 0, 3, 0, -50, 4}},
  };
  for (const Case& c : cases) {
    Scenario m;
    for (int e = 0; e < 3; ++e) {
      m.table[81 + e].inizio = c.in[3 * e];
      m.table[81 + e].fine = c.in[3 * e + 1];
      m.table[81 + e].posizione = c.in[3 * e + 2];
    }
    progressive_ordina(m);
    std::array<int32_t, 9> got{};
    for (int e = 0; e < 3; ++e) {
      got[3 * e] = m.table[81 + e].inizio;
      got[3 * e + 1] = m.table[81 + e].fine;
      got[3 * e + 2] = m.table[81 + e].posizione;
    }
    EXPECT_EQ(got, c.out);
  }
}

}  // namespace
}  // namespace lorvena
