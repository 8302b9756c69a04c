#include "tools/diagnosing/source_excerpt.h"

#include <algorithm>

#include "tools/text/terminal_colour.h"
#include "tools/text/text_encoding.h"
#include "tools/text/text_lines.h"

namespace lorvena {
namespace {

// C0 controls, DEL, and the bytes Windows-1252 leaves unused, which read as
// C1 controls.
bool is_control(unsigned char b) {
  return (b < 0x20 && b != '\t') || b == 0x7F || b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D;
}

std::string shown_line(std::string_view line) {
  std::string shown(line);
  for (char& c : shown)
    if (is_control(static_cast<unsigned char>(c))) c = '?';
  return utf8_from_1252(shown);
}

// The field from `start` up to its comma or the line's end, its trailing blanks left out.
size_t field_length(std::string_view line, size_t start) {
  size_t end = std::min(line.find(',', start), line.size());
  while (end > start + 1 && (line[end - 1] == ' ' || line[end - 1] == '\t')) --end;
  return std::max<size_t>(end - start, 1);
}

}  // namespace

std::string source_excerpt(std::string_view text, int64_t line, int64_t column, bool colour) {
  TextLines lines(text);
  int64_t start = lines.line_start(line);
  if (start < 0) return "";
  std::string_view source = text.substr(static_cast<size_t>(start), static_cast<size_t>(lines.line_end(start) - start));
  size_t at = static_cast<size_t>(std::clamp<int64_t>(column - 1, 0, static_cast<int64_t>(source.size())));
  std::string caret;
  for (size_t i = 0; i < at; ++i) caret += source[i] == '\t' ? '\t' : ' ';
  caret += '^';
  caret += std::string(field_length(source, at) - 1, '~');
  return " " + shown_line(source) + "\n " + painted(caret, kCaretColour, colour) + "\n";
}

}  // namespace lorvena
