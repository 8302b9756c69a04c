// A description as the editor holds it (UTF-8, positions counted in UTF-16
// code units from 0) and as the compile reads it (Windows-1252, one byte a
// character): the two texts and the exact mapping of places between them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lorvena {

struct EditorPosition {
  int64_t line = 0;       // 0-based
  int64_t character = 0;  // 0-based, in UTF-16 code units
};

class EditorText {
 public:
  // A character Windows-1252 has no byte for becomes '?' in the compiled
  // text and is listed in unmappable().
  static EditorText from_utf8(std::string_view utf8);
  static EditorText from_1252(std::string_view bytes);
  // The text with the range [from, to) replaced by `utf8`, as an editor's
  // ranged change asks; places past a line's or the text's end are clamped.
  EditorText edited(EditorPosition from, EditorPosition to, std::string_view utf8) const;

  const std::string& utf8() const { return utf8_; }
  const std::string& cp1252() const { return cp1252_; }
  const std::vector<EditorPosition>& unmappable() const { return unmappable_; }

  int64_t line_count() const { return static_cast<int64_t>(starts_.size()); }
  // A line of the Windows-1252 text without its line end; empty past the end.
  std::string_view line_1252(int64_t line) const;
  // A 1-based line and 1-based byte column as the tool counts them, clamped
  // to the text.
  EditorPosition position(int64_t line, int64_t column) const;
  // The end of a 0-based line.
  EditorPosition line_end(int64_t line) const;
  // The byte offset of an editor position in the Windows-1252 text; a place
  // past the end of its line or of the text is clamped there.
  int64_t offset(EditorPosition p) const;
  // The UTF-16 code units of the character at a position: 2 outside the BMP.
  int64_t units_at(EditorPosition p) const;
  // The 0-based byte column of an editor position within its line (clamped).
  int64_t column(EditorPosition p) const { return offset(p) - start(p.line); }

 private:
  void index_lines();
  int64_t start(int64_t line) const;
  int64_t length(int64_t line) const;
  int64_t width(int64_t from, int64_t to) const;
  size_t utf8_offset(int64_t offset_1252) const;

  std::string utf8_;
  std::string cp1252_;
  std::vector<int64_t> starts_;  // each line's first byte in cp1252_
  std::vector<int64_t> ends_;    // each line's end, before its line break
  // The offsets in cp1252_ of characters of two UTF-16 code units, ascending.
  std::vector<int64_t> wide_;
  std::vector<EditorPosition> unmappable_;
};

}  // namespace lorvena
