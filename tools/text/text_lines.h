// The lines of a description as the field reader sees them (a line ends at
// CR LF, LF or CR): the line and column of a byte offset, and where a line
// ends and the next begins.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace lorvena {

struct TextPosition {
  int64_t line = 0;    // 1-based
  int64_t column = 0;  // 1-based, in bytes
};

class TextLines {
 public:
  explicit TextLines(std::string_view text);

  TextPosition at(int64_t offset) const;
  int64_t line_of(int64_t offset) const { return at(offset).line; }
  // The offset of the line end (or the end of the text) of the line holding `offset`.
  int64_t line_end(int64_t offset) const;
  // The first offset of the next line (or the end of the text).
  int64_t next_line_start(int64_t offset) const;
  // The first offset of 1-based `line`, or -1 when the text has no such line.
  int64_t line_start(int64_t line) const;

 private:
  std::string_view text_;
  std::vector<int64_t> starts_;  // the first offset of each line
};

}  // namespace lorvena
