// Two decoded compiled files of one kind compared field by field, in words an
// author reads: "cell 49 (2450 m): signal -> free", "entry 3 PIANELLO: time
// 08:15:00 -> 08:20:00", "plan points 1201..1450 m: differ (max 0.37 m)".
// Neighbouring cells or plan points with the same change share one line.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "compiler/model.h"
#include "tools/compiled/compiled_decode.h"

namespace lorvena {

// One line a change, in the order of the file; none when the two are equal.
std::vector<std::string> track_changes(const std::vector<TrackCell>& a, const std::vector<TrackCell>& b);
std::vector<std::string> table_changes(const std::array<TableEntry, kTableSize>& a,
                                       const std::array<TableEntry, kTableSize>& b);
std::vector<std::string> plan_changes(const PlanColumns& a, const PlanColumns& b);

struct CompiledBytes {
  std::string name;  // as messages show the file
  std::string bytes;
};

// Both files decoded as `kind` and compared; a file that does not decode
// throws DecodeError with its name.
std::vector<std::string> compiled_changes(CompiledKind kind, const CompiledBytes& a, const CompiledBytes& b);

}  // namespace lorvena
