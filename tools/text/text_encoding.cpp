#include "tools/text/text_encoding.h"

#include <array>
#include <cstdint>
#include <cstdio>

namespace lorvena {
namespace {

// Code points of bytes 0x80..0x9F; 0 where Windows-1252 leaves the byte unused.
constexpr std::array<uint16_t, 32> kHigh = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

uint32_t code_point(unsigned char byte) {
  if (byte < 0x80 || byte >= 0xA0) return byte;
  uint16_t mapped = kHigh[byte - 0x80];
  return mapped != 0 ? mapped : byte;  // unused bytes keep their value
}

void append_utf8(std::string& out, uint32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

// The byte for a code point, or -1 when Windows-1252 has none.
int exact_byte_for(uint32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<int>(cp);
  for (size_t i = 0; i < kHigh.size(); ++i)
    if (kHigh[i] == cp) return static_cast<int>(0x80 + i);
  return -1;
}

// Decodes one well-formed UTF-8 sequence at `at`, advancing it; -1 when
// the bytes there are not one.
int64_t next_code_point(std::string_view text, size_t& at) {
  unsigned char lead = static_cast<unsigned char>(text[at]);
  size_t extra = lead < 0x80 ? 0 : lead >= 0xC2 && lead < 0xE0 ? 1 : lead >= 0xE0 && lead < 0xF0 ? 2
                 : lead >= 0xF0 && lead < 0xF5                 ? 3
                                                               : 4;
  if (extra == 4 || text.size() - at <= extra) return -1;
  uint32_t cp = extra == 0 ? lead : lead & (0x3F >> extra);
  for (size_t k = 1; k <= extra; ++k) {
    unsigned char next = static_cast<unsigned char>(text[at + k]);
    if ((next & 0xC0) != 0x80) return -1;
    cp = (cp << 6) | (next & 0x3F);
  }
  static constexpr uint32_t kShortest[] = {0, 0x80, 0x800, 0x10000};
  if (cp < kShortest[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return -1;
  at += extra + 1;
  return cp;
}

char byte_for(uint32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<char>(cp);
  for (size_t i = 0; i < kHigh.size(); ++i)
    if (kHigh[i] == cp) return static_cast<char>(0x80 + i);
  if (cp >= 0x80 && cp < 0xA0) return static_cast<char>(cp);
  return '?';
}

}  // namespace

std::string utf8_from_1252(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) append_utf8(out, code_point(static_cast<unsigned char>(c)));
  return out;
}

std::string cp1252_from_utf8(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size();) {
    unsigned char lead = static_cast<unsigned char>(text[i]);
    size_t extra = lead < 0x80 ? 0 : lead < 0xE0 ? 1 : lead < 0xF0 ? 2 : 3;
    uint32_t cp = extra == 0 ? lead : lead & (0x3F >> extra);
    for (size_t k = 1; k <= extra && i + k < text.size(); ++k)
      cp = (cp << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
    out.push_back(byte_for(cp));
    i += extra + 1;
  }
  return out;
}

std::optional<std::string> exact_1252_from_utf8(std::string_view text) {
  std::string out;
  for (size_t at = 0; at < text.size();) {
    int64_t cp = next_code_point(text, at);
    int byte = cp < 0 ? -1 : exact_byte_for(static_cast<uint32_t>(cp));
    if (byte < 0) return std::nullopt;
    out.push_back(static_cast<char>(byte));
  }
  return out;
}

std::optional<Unconvertible> first_without_1252(std::string_view text) {
  for (size_t at = 0; at < text.size();) {
    size_t start = at;
    int64_t cp = next_code_point(text, at);
    if (cp < 0) return std::nullopt;
    if (exact_byte_for(static_cast<uint32_t>(cp)) < 0) return Unconvertible{start, static_cast<uint32_t>(cp)};
  }
  return std::nullopt;
}

bool is_utf8(std::string_view text) {
  for (size_t at = 0; at < text.size();)
    if (next_code_point(text, at) < 0) return false;
  return true;
}

std::string json_string(std::string_view utf8) {
  std::string out = "\"";
  for (char c : utf8) {
    unsigned char u = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out.push_back('\\');
      out.push_back(c);
    } else if (u < 0x20) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\u%04x", u);
      out += buf;
    } else {
      out.push_back(c);
    }
  }
  return out + "\"";
}

std::string xml_escape(std::string_view utf8) {
  std::string out;
  for (char c : utf8) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&apos;"; break;
      default:
        // Control characters are not allowed in XML text.
        if (static_cast<unsigned char>(c) < 0x20 && c != '\t') out.push_back(' ');
        else out.push_back(c);
    }
  }
  return out;
}

}  // namespace lorvena
