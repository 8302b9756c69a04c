// Helpers for tests that read back a written text document: its CR LF lines,
// the comma-separated fields of a line, and integer fields as the reader sees them.
#pragma once

#include <charconv>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lorvena::testing {

// The lines of a document whose every line ends with CR LF; nullopt when a
// line lacks its CR LF or holds a stray CR or LF.
inline std::optional<std::vector<std::string>> crlf_lines(std::string_view bytes) {
  std::vector<std::string> lines;
  while (!bytes.empty()) {
    const size_t end = bytes.find("\r\n");
    if (end == std::string_view::npos) return std::nullopt;
    std::string_view line = bytes.substr(0, end);
    if (line.find_first_of("\r\n") != std::string_view::npos) return std::nullopt;
    lines.emplace_back(line);
    bytes.remove_prefix(end + 2);
  }
  return lines;
}

inline std::vector<std::string> split_fields(std::string_view line) {
  std::vector<std::string> fields;
  size_t start = 0;
  for (size_t comma = line.find(','); comma != std::string_view::npos; comma = line.find(',', start)) {
    fields.emplace_back(line.substr(start, comma - start));
    start = comma + 1;
  }
  fields.emplace_back(line.substr(start));
  return fields;
}

// An integer field with its blanks removed; an empty field is 0; nullopt when
// the field is not a whole number.
inline std::optional<int> field_int(std::string_view field) {
  const size_t first = field.find_first_not_of(' ');
  if (first == std::string_view::npos) return 0;
  field = field.substr(first, field.find_last_not_of(' ') - first + 1);
  int value = 0;
  const auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), value);
  if (ec != std::errc() || end != field.data() + field.size()) return std::nullopt;
  return value;
}

}  // namespace lorvena::testing
