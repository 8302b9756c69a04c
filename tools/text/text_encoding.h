// Scenario text is Windows-1252; what the authors' tool prints (reports,
// dumps, JSON, SVG) is UTF-8. Conversions and the escapes of JSON and XML.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace lorvena {

std::string utf8_from_1252(std::string_view text);

// The inverse for characters that Windows-1252 holds; others become '?'.
std::string cp1252_from_utf8(std::string_view text);

// The exact inverse: nothing when `text` is not well-formed UTF-8 or holds a
// character that Windows-1252 has no byte for.
std::optional<std::string> exact_1252_from_utf8(std::string_view text);

// The first character of well-formed UTF-8 `text` that Windows-1252 has no
// byte for: its offset and code point; nothing when every character has one.
struct Unconvertible {
  size_t offset = 0;
  uint32_t code_point = 0;
};
std::optional<Unconvertible> first_without_1252(std::string_view text);

// Is `text` well-formed UTF-8 (shortest forms, no surrogates)?
bool is_utf8(std::string_view text);

// A JSON string literal (quotes included) of a UTF-8 text.
std::string json_string(std::string_view utf8);

// Text escaped for XML character data and attribute values.
std::string xml_escape(std::string_view utf8);

}  // namespace lorvena
