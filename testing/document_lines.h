// Splits a written text document back into its lines, for tests that check
// a document's layout line by line.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lorvena::testing {

// The lines of bytes cut at every CR LF. A final piece without CR LF comes
// back as a last line, so a missing line end shows up as an extra line; a
// lone CR or LF stays inside its line.
inline std::vector<std::string> crlf_lines(std::string_view bytes) {
  std::vector<std::string> lines;
  while (!bytes.empty()) {
    size_t end = bytes.find("\r\n");
    if (end == std::string_view::npos) {
      lines.emplace_back(bytes);
      break;
    }
    lines.emplace_back(bytes.substr(0, end));
    bytes.remove_prefix(end + 2);
  }
  return lines;
}

}  // namespace lorvena::testing
