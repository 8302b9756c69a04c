#include "tools/lsp/editor_text.h"

#include <algorithm>

#include "tools/text/text_encoding.h"

namespace lorvena {
namespace {

// The length of the UTF-8 sequence that starts with `lead`; 1 for a byte
// that starts none (taken alone).
size_t sequence_length(unsigned char lead) {
  if (lead < 0x80) return 1;
  if ((lead & 0xE0) == 0xC0) return 2;
  if ((lead & 0xF0) == 0xE0) return 3;
  if ((lead & 0xF8) == 0xF0) return 4;
  return 1;
}

// The five bytes Windows-1252 leaves unused are read from disk as the C1
// control characters of their value (U+0081 ...): written back as those bytes,
// a file keeps them.
std::optional<char> unused_byte(std::string_view one) {
  if (one.size() != 2 || static_cast<unsigned char>(one[0]) != 0xC2) return std::nullopt;
  unsigned char b = static_cast<unsigned char>(one[1]);
  if (b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D) return static_cast<char>(b);
  return std::nullopt;
}

}  // namespace

EditorText EditorText::from_utf8(std::string_view utf8) {
  EditorText t;
  t.utf8_ = std::string(utf8);
  t.cp1252_.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) {
    unsigned char lead = static_cast<unsigned char>(utf8[i]);
    size_t n = std::min(sequence_length(lead), utf8.size() - i);
    std::string_view one = utf8.substr(i, n);
    i += n;
    if (n == 1 && lead < 0x80) {
      t.cp1252_.push_back(static_cast<char>(lead));
      continue;
    }
    if (n == 4) t.wide_.push_back(static_cast<int64_t>(t.cp1252_.size()));
    if (std::optional<char> unused = unused_byte(one)) {
      t.cp1252_.push_back(*unused);
      continue;
    }
    std::optional<std::string> byte = exact_1252_from_utf8(one);
    if (byte && byte->size() == 1) {
      t.cp1252_ += *byte;
      continue;
    }
    t.unmappable_.push_back({-1, static_cast<int64_t>(t.cp1252_.size())});  // an offset until the lines are known
    t.cp1252_.push_back('?');
  }
  t.index_lines();
  for (EditorPosition& p : t.unmappable_) {
    int64_t at = p.character;
    auto line = std::upper_bound(t.starts_.begin(), t.starts_.end(), at) - t.starts_.begin() - 1;
    p = {line, t.width(t.starts_[static_cast<size_t>(line)], at)};
  }
  return t;
}

// Each character of the Windows-1252 text is one sequence of the UTF-8 text,
// cut as from_utf8 cuts them.
size_t EditorText::utf8_offset(int64_t offset_1252) const {
  size_t at = 0;
  for (int64_t k = 0; k < offset_1252 && at < utf8_.size(); ++k)
    at += std::min(sequence_length(static_cast<unsigned char>(utf8_[at])), utf8_.size() - at);
  return at;
}

EditorText EditorText::edited(EditorPosition from, EditorPosition to, std::string_view utf8) const {
  size_t a = utf8_offset(offset(from));
  size_t b = std::max(a, utf8_offset(offset(to)));
  std::string text = utf8_.substr(0, a);
  text += utf8;
  text.append(utf8_, b);
  return from_utf8(text);
}

EditorText EditorText::from_1252(std::string_view bytes) {
  EditorText t;
  t.cp1252_ = std::string(bytes);
  t.utf8_ = utf8_from_1252(bytes);
  t.index_lines();
  return t;
}

// Lines end at CR LF, LF or CR, as both the field reader and the editor count them.
void EditorText::index_lines() {
  starts_ = {0};
  const std::string& s = cp1252_;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] != '\r' && s[i] != '\n') continue;
    ends_.push_back(static_cast<int64_t>(i));
    if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n') ++i;
    starts_.push_back(static_cast<int64_t>(i + 1));
  }
  ends_.push_back(static_cast<int64_t>(s.size()));
}

int64_t EditorText::start(int64_t line) const {
  if (line < 0) return 0;
  if (line >= line_count()) return static_cast<int64_t>(cp1252_.size());
  return starts_[static_cast<size_t>(line)];
}

int64_t EditorText::length(int64_t line) const {
  if (line < 0 || line >= line_count()) return 0;
  return ends_[static_cast<size_t>(line)] - starts_[static_cast<size_t>(line)];
}

// UTF-16 code units of the bytes [from, to).
int64_t EditorText::width(int64_t from, int64_t to) const {
  auto a = std::lower_bound(wide_.begin(), wide_.end(), from);
  auto b = std::lower_bound(wide_.begin(), wide_.end(), to);
  return (to - from) + (b - a);
}

std::string_view EditorText::line_1252(int64_t line) const {
  return std::string_view(cp1252_).substr(static_cast<size_t>(start(line)), static_cast<size_t>(length(line)));
}

EditorPosition EditorText::position(int64_t line, int64_t column) const {
  int64_t l = std::clamp<int64_t>(line - 1, 0, line_count() - 1);
  int64_t c = std::clamp<int64_t>(column - 1, 0, length(l));
  return {l, width(start(l), start(l) + c)};
}

EditorPosition EditorText::line_end(int64_t line) const {
  int64_t l = std::clamp<int64_t>(line, 0, line_count() - 1);
  return {l, width(start(l), start(l) + length(l))};
}

int64_t EditorText::units_at(EditorPosition p) const {
  return std::binary_search(wide_.begin(), wide_.end(), offset(p)) ? 2 : 1;
}

int64_t EditorText::offset(EditorPosition p) const {
  if (p.line < 0) return 0;
  if (p.line >= line_count()) return static_cast<int64_t>(cp1252_.size());
  int64_t s = start(p.line), e = s + length(p.line);
  int64_t units = 0;
  for (int64_t at = s; at < e; ++at) {
    int64_t w = std::binary_search(wide_.begin(), wide_.end(), at) ? 2 : 1;
    if (units + w > p.character) return at;
    units += w;
  }
  return e;
}

}  // namespace lorvena
