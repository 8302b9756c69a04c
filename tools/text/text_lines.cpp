#include "tools/text/text_lines.h"

#include <algorithm>

namespace lorvena {

TextLines::TextLines(std::string_view text) : text_(text), starts_{0} {
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    starts_.push_back(static_cast<int64_t>(i + 1));
  }
}

TextPosition TextLines::at(int64_t offset) const {
  offset = std::clamp<int64_t>(offset, 0, static_cast<int64_t>(text_.size()));
  auto next = std::upper_bound(starts_.begin(), starts_.end(), offset);
  int64_t line = next - starts_.begin();
  return {line, offset - starts_[static_cast<size_t>(line - 1)] + 1};
}

int64_t TextLines::line_end(int64_t offset) const {
  size_t end = text_.find_first_of("\r\n", static_cast<size_t>(std::max<int64_t>(offset, 0)));
  return end == std::string_view::npos ? static_cast<int64_t>(text_.size()) : static_cast<int64_t>(end);
}

int64_t TextLines::next_line_start(int64_t offset) const {
  auto next = std::upper_bound(starts_.begin(), starts_.end(), std::max<int64_t>(offset, 0));
  return next == starts_.end() ? static_cast<int64_t>(text_.size()) : *next;
}

int64_t TextLines::line_start(int64_t line) const {
  if (line < 1 || line > static_cast<int64_t>(starts_.size())) return -1;
  return starts_[static_cast<size_t>(line - 1)];
}

}  // namespace lorvena
