// The decompile fuzz target's input layout: two 4-byte little-endian sizes
// (track, table), the track, the table, then the plan (none when nothing is
// left). Sizes beyond the bytes there are cut to what is there.
#pragma once

#include <algorithm>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "tools/authoring/decompile.h"

namespace lorvena::fuzz {

// Nothing for an input shorter than its two sizes.
inline std::optional<CompiledInput> decompile_input(std::string_view data) {
  if (data.size() < 8) return std::nullopt;
  auto size_at = [&](size_t at) {
    size_t v = 0;
    for (size_t k = 0; k < 4; ++k) v |= size_t{static_cast<unsigned char>(data[at + k])} << (8 * k);
    return v;
  };
  std::string_view rest = data.substr(8);
  size_t track = std::min(size_at(0), rest.size());
  size_t table = std::min(size_at(4), rest.size() - track);
  CompiledInput in{"FUZZ", "1", std::string(rest.substr(0, track)), std::string(rest.substr(track, table)),
                   std::nullopt};
  if (track + table < rest.size()) in.plan = std::string(rest.substr(track + table));
  return in;
}

}  // namespace lorvena::fuzz
