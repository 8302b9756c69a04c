// The summary of a compile that writes nothing: how many cells of each kind,
// stations, sign boards, slowdowns and walk markers the model holds.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "compiler/model.h"

namespace lorvena {

struct Summary {
  std::map<uint8_t, int64_t> cells;  // kind -> count, kinds other than 0
  int stations = 0;
  int signs = 0;
  int slowdowns = 0;
  int markers = 0;  // placed by the walk
};

Summary summarize(const Scenario& m, int markers);

// One line a count, stable for diffs.
std::string summary_text(const Summary& s);

}  // namespace lorvena
