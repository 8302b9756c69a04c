// One fuzz input compiled end to end: the input is split into a line and a
// train description, both are written into a directory and compiled there,
// and what the compile leaves behind is checked.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace lorvena::fuzz {

// Input layout: the first byte holds flags (bit 0: `write_profile` on,
// bit 1: no line description, bit 2: no train description); the rest is the
// line description, a NUL byte, then the train description.
inline constexpr uint8_t kWriteProfile = 1;
inline constexpr uint8_t kNoLine = 2;
inline constexpr uint8_t kNoTrain = 4;

struct Outcome {
  int32_t err_code = 0;
  std::string fatal;  // the number of a fatal error, empty if none
};

// Compiles `input` in `dir` (an empty directory, emptied again afterwards).
// Anything that must never happen (an exception other than a fatal error, a
// file left cut short, a temporary file left behind, a description not
// deleted) aborts the process with a message.
Outcome compile_input(std::string_view input, const std::filesystem::path& dir);

}  // namespace lorvena::fuzz
