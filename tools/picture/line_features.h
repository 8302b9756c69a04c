// What stands along a compiled line, read from the model: stations, signals,
// sign boards, slowdowns with their warning boards, maximum-speed boards,
// tunnels and the curves of the plan, each at its chainage in metres.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "compiler/model.h"

namespace lorvena {

struct StationMark {
  int32_t chainage;
  std::string name;  // Windows-1252, as in the description
  int32_t ora;
};

struct SignMark {
  int32_t chainage;
  std::string text;
};

struct Stretch {
  int32_t start;
  int32_t end;
  int32_t speed = 0;  // slowdowns only
};

struct SpeedBoard {
  int32_t chainage;
  // Left-track speeds A, B, C and right-track speeds, km/h, taken back from
  // the cell on the assumption that speeds are multiples of 5 below 500.
  int32_t left[3];
  int32_t right[3];
};

// A stretch where the plan turns one way at one curvature.
struct Curve {
  int32_t start;
  int32_t end;
  bool right;      // turning right (a "d" curve), else left ("s")
  int32_t radius;  // metres
};

struct LineFeatures {
  int32_t length = 0;
  std::vector<StationMark> stations;
  std::vector<int32_t> signals;
  std::vector<SignMark> signs;
  std::vector<Stretch> slowdowns;
  std::vector<Stretch> warnings;  // start = end = the board; speed of the slowdown
  std::vector<SpeedBoard> speed_boards;
  std::vector<Stretch> tunnels;
  std::vector<Curve> curves;  // none without a plan
};

LineFeatures line_features(const Scenario& m);

}  // namespace lorvena
