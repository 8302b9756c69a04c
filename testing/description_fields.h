// Helpers for tests that read back a written description: its line ends, the
// comma-separated fields of a line, and integer fields as the reader sees them.
#pragma once

#include <charconv>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lorvena::testing {

// True when the document is not empty and every line of it ends with CR LF,
// with no CR or LF anywhere else.
inline bool ends_every_line_with_crlf(std::string_view bytes) {
  if (bytes.size() < 2 || bytes.substr(bytes.size() - 2) != "\r\n") return false;
  size_t pairs = 0, singles = 0;
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\r' || bytes[i] == '\n') ++singles;
    if (bytes.substr(i, 2) == "\r\n") ++pairs;
  }
  return singles == 2 * pairs;
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
