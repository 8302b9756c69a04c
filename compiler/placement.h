// The placement walk: markers (kind 12, value 180) at fixed distances before
// slowdown warning boards, slowdown starts and the signal after a slowdown,
// and every 400 m along a slow slowdown. Where no free cell is left it
// records error 11, 12 or 13 and goes on.
#pragma once

#include <cstdint>

#include "compiler/model.h"

namespace lorvena {

// y when x > y, else x (so x on a tie).
int16_t minimo(int16_t x, int16_t y);

inline constexpr int16_t kMarkerValue = 180;

// Walks cells 1 to the highest index - 2 once. Returns the markers placed.
int place_markers(Scenario& m);

}  // namespace lorvena
