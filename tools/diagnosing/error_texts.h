// The compiler's error numbers for authors: a stable one-line meaning
// (English, or Italian from the catalogue when the tool speaks it), where the
// error is found (reading, the placement walk, fatal) and whether it is
// recorded with a chainage. The table for authors: docs/authors-guide.md.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace lorvena {

enum class ErrorStage { kReading, kWalk, kFatal };

struct ErrorText {
  int32_t code;
  ErrorStage stage;
  bool has_chainage;
  std::string_view meaning;
  std::string_view advice;  // what an author does about it
};

// Every known error, in number order.
const std::vector<ErrorText>& error_texts();

// The entry for `code`; an "unknown error" entry for a number not listed.
ErrorText error_text(int32_t code);

}  // namespace lorvena
