#include "compiler/placement.h"

#include <gtest/gtest.h>

namespace lorvena {
namespace {

using namespace cell_kind;

class Walk : public ::testing::Test {
 protected:
  Walk() { reset(); }

  void reset() {
    m = Scenario{};
    size_model(m, 5000);  // cells 0..240, the walk covers 1..238
  }

  TrackCell& at(int c) { return m.track[static_cast<size_t>(c)]; }
  void put(int c, uint8_t kind, int16_t param1 = 0) {
    at(c).kind = kind;
    at(c).param1 = param1;
  }
  bool marker(int c) { return at(c).kind == kMarker && at(c).param1 == kMarkerValue; }
  std::vector<int> markers() {
    std::vector<int> out;
    for (int c = 0; c <= 240; ++c)
      if (at(c).kind == kMarker) out.push_back(c);
    return out;
  }

  Scenario m;
};

TEST_F(Walk, SignalBehindWarningBoardGetsMarkerBeforeIt) {
  put(22, kWarningBoard);
  put(20, kSignal);
  EXPECT_EQ(place_markers(m), 1);
  EXPECT_EQ(markers(), std::vector<int>{19});
}

TEST_F(Walk, SignalWithBothCellsTakenIsError11) {
  put(22, kWarningBoard);
  put(10, kSignal);
  put(9, kSpeedIndicator);
  put(8, kSignBoard);
  place_markers(m);
  EXPECT_EQ(m.err_code, 11);
  EXPECT_EQ(m.err_pos, 500);
}

TEST_F(Walk, LookBackStopsThreeCellsFromTheStart) {
  put(5, kWarningBoard);
  put(2, kSignal);  // i - a = 2 is not looked at
  place_markers(m);
  EXPECT_TRUE(markers().empty());
  EXPECT_EQ(m.err_code, 0);
}

TEST_F(Walk, ExistingMarkerBeforeSignalIsLoweredNotRaised) {
  for (int behind : {1, 2}) {
    for (int16_t value : {200, 100}) {
      reset();
      put(30, kWarningBoard);
      put(20, kSignal);
      put(19, kSpeedIndicator);
      put(18, kSpeedIndicator);
      put(20 - behind, kMarker, value);  // k - 1 or, with k - 1 taken, k - 2
      place_markers(m);
      EXPECT_EQ(at(20 - behind).param1, value == 200 ? 180 : 100) << behind;
      EXPECT_EQ(m.err_code, 0) << behind;
    }
  }
  EXPECT_EQ(minimo(180, 200), 180);
  EXPECT_EQ(minimo(180, 100), 100);
  EXPECT_EQ(minimo(180, 180), 180);
}

TEST_F(Walk, LookBackGroupsBeforeASlowdownStart) {
  put(7, kSlowdownStart, 120);
  put(8, kSlowdownEnd);
  put(30, kSlowdownStart, 120);
  put(25, kSignal);  // first choice of B1 taken: the marker goes to 24
  put(31, kSlowdownEnd);
  place_markers(m);
  // start 7 gets none (B1 needs i > 7); start 30 gets one in each group
  EXPECT_EQ(markers(), (std::vector<int>{12, 19, 24}));
  EXPECT_EQ(m.err_code, 0);
}

TEST_F(Walk, StartAtCell8GetsB1MarkerAtCell3) {
  put(8, kSlowdownStart, 120);
  put(9, kSlowdownEnd);
  place_markers(m);
  EXPECT_EQ(markers(), std::vector<int>{3});
}

TEST_F(Walk, FullLookBackGroupIsError12) {
  put(40, kSlowdownStart, 120);
  put(41, kSlowdownEnd);
  for (int c : {29, 28, 27}) put(c, kSignBoard);
  place_markers(m);
  EXPECT_EQ(m.err_code, 12);
  EXPECT_EQ(m.err_pos, 2000);
}

TEST_F(Walk, SlowSlowdownGetsMarkerEvery8Cells) {
  for (int16_t speed : {110, 109}) {
    reset();
    put(30, kSlowdownStart, speed);
    put(55, kSlowdownEnd);
    place_markers(m);
    std::vector<int> along;
    for (int c : markers())
      if (c > 30) along.push_back(c);
    EXPECT_EQ(along, speed == 110 ? std::vector<int>{} : (std::vector<int>{38, 46, 54})) << speed;
  }
}

TEST_F(Walk, ShiftedMarkerRestartsTheCount) {
  put(30, kSlowdownStart, 50);
  put(38, kSignBoard);
  put(37, kSignBoard);  // neither 38 nor 37: the marker goes to 39, the count to -1
  put(60, kSlowdownEnd);
  place_markers(m);
  std::vector<int> along;
  for (int c : markers())
    if (c > 30) along.push_back(c);
  EXPECT_EQ(along, (std::vector<int>{39, 47, 55}));

  reset();
  put(30, kSlowdownStart, 50);
  put(38, kSignBoard);  // the marker goes to 37 and the next comes 7 steps later
  put(60, kSlowdownEnd);
  place_markers(m);
  along.clear();
  for (int c : markers())
    if (c > 30) along.push_back(c);
  EXPECT_EQ(along, (std::vector<int>{37, 45, 53}));
}

TEST_F(Walk, NoFreeCellAlongTheSlowdownIsError13AndStopsTheMarkers) {
  put(30, kSlowdownStart, 50);
  for (int c : {37, 38, 39}) put(c, kSignBoard);
  put(60, kSlowdownEnd);
  place_markers(m);
  EXPECT_EQ(m.err_code, 13);
  EXPECT_EQ(m.err_pos, 1900);
  for (int c : markers()) EXPECT_LT(c, 30);
}

TEST_F(Walk, MarkerBeforeTheSignalAfterTheSlowdown) {
  put(30, kSlowdownStart, 120);  // no walk: the window starts from the end cell
  put(40, kSlowdownEnd);
  put(50, kSignal);
  place_markers(m);
  EXPECT_TRUE(marker(49));
  put(80, kSlowdownStart, 120);
  put(90, kSlowdownEnd);
  put(103, kSignal);  // 13 cells on: outside the window
  place_markers(m);
  EXPECT_FALSE(marker(102));
}

TEST_F(Walk, SlowdownWithoutEndStopsAtTheTrackEnd) {
  put(200, kSlowdownStart, 50);
  put(239, kSignal);
  place_markers(m);
  EXPECT_TRUE(marker(208));
  EXPECT_TRUE(marker(232));
  EXPECT_FALSE(marker(238));  // no end cell: no window before the signal
  EXPECT_EQ(m.err_code, 0);
}

// The walk's corners, one case a row: the cells put on an empty track, every
// marker afterwards and the error recorded. Slowdowns here are fast (120)
// unless said, so only the look-back groups and the window after them place.
TEST_F(Walk, Corners) {
  struct Put {
    int cell;
    uint8_t kind;
    int16_t param1 = 0;
  };
  struct Case {
    std::string name;
    std::vector<Put> cells;
    std::vector<int> markers;
    int32_t err_code = 0;
    int32_t err_pos = 0;
  };
  auto slowdown = [](int start, int end, std::vector<Put> more = {}, int16_t speed = 120) {
    more.push_back({start, kSlowdownStart, speed});
    more.push_back({end, kSlowdownEnd});
    return more;
  };
  const Case cases[] = {
      {"first choices", slowdown(40, 41), {22, 29, 35}},
      {"B1 second choice", slowdown(40, 41, {{35, kSignBoard}}), {22, 29, 34}},
      {"B1 third choice", slowdown(40, 41, {{35, kSignBoard}, {34, kSignBoard}}), {22, 29, 33}},
      {"B2 second choice", slowdown(40, 41, {{29, kSignBoard}}), {22, 28, 35}},
      {"B2 third choice", slowdown(40, 41, {{29, kSignBoard}, {28, kSignBoard}}), {22, 27, 35}},
      {"B3 second choice", slowdown(40, 41, {{22, kSignBoard}}), {21, 29, 35}},
      {"B3 third choice", slowdown(40, 41, {{22, kSignBoard}, {21, kSignBoard}}), {20, 29, 35}},
      {"B3 with no free cell", slowdown(40, 41, {{22, kSignBoard}, {21, kSignBoard}, {20, kSignBoard}}),
       {29, 35}, 12, 2000},
      {"start at 13: no B2", slowdown(13, 14), {8}},
      {"start at 14: B2 from cell 3", slowdown(14, 15), {3, 9}},
      {"start at 20: no B3", slowdown(20, 21), {9, 15}},
      {"start at 21: B3 from cell 3", slowdown(21, 22), {3, 10, 16}},
      {"signal directly behind a board", {{30, kWarningBoard}, {29, kSignal}}, {28}},
      {"signal at cell 3, 20 behind a board", {{23, kWarningBoard}, {3, kSignal}}, {2}},
      {"signal 21 behind a board", {{24, kWarningBoard}, {3, kSignal}}, {}},
      {"window: the cell before the signal taken", slowdown(30, 31, {{40, kSignal}, {39, kSignBoard}}),
       {12, 19, 25, 38}},
      {"window: both cells taken", slowdown(30, 31, {{40, kSignal}, {39, kSignBoard}, {38, kSignBoard}}),
       {12, 19, 25}, 13, 1550},
      {"start on the walk's last cell", slowdown(238, 240), {220, 227, 233}},
      {"start after the walk's last cell", slowdown(239, 240), {}},
      {"slow slowdown ending on the track's last cell", slowdown(224, 240, {}, 50), {206, 213, 219, 232, 239}},
  };
  for (const Case& c : cases) {
    reset();
    for (const Put& p : c.cells) put(p.cell, p.kind, p.param1);
    place_markers(m);
    EXPECT_EQ(markers(), c.markers) << c.name;
    EXPECT_EQ(m.err_code, c.err_code) << c.name;
    EXPECT_EQ(m.err_pos, c.err_pos) << c.name;
  }
}

}  // namespace
}  // namespace lorvena
