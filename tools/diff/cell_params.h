// What a track cell's four values mean for its kind, as the readers fill
// them in: how diff names a changed value ("speed 30 -> 50" rather than
// "param1 30 -> 50").
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace lorvena {

// The names of param1..param4 for `kind`; "param1".. where a value means
// nothing particular for it.
std::array<std::string, 4> param_names(uint8_t kind);

}  // namespace lorvena
