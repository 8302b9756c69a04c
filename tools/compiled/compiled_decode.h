// Reads the compiled files back: the track (.dat), the table (.sim) and the
// plan (_linea.dat), the inverse of their packing. A file that does not have
// its layout throws DecodeError. The layouts: docs/compiled-files.md.
#pragma once

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "compiler/model.h"

namespace lorvena {

class DecodeError : public std::runtime_error {
 public:
  explicit DecodeError(const std::string& what) : std::runtime_error(what) {}
};

enum class CompiledKind { kTrack, kTable, kPlan };

// By the name the compiler gives each file.
CompiledKind compiled_kind(std::string_view file_name);

struct PlanValue {
  uint16_t tag = 0;  // 0 empty, 2 integer, 5 double
  double value = 0;
};

struct PlanColumns {
  std::vector<PlanValue> x;
  std::vector<PlanValue> y;
};

std::vector<TrackCell> decode_track(std::string_view bytes);
std::array<TableEntry, kTableSize> decode_table(std::string_view bytes);
PlanColumns decode_plan(std::string_view bytes);

}  // namespace lorvena
