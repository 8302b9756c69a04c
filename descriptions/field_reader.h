// Reads a description text one delimited field at a time: text fields
// (optionally in double quotes) and decimal integer fields, each ended by a
// comma or a line end. A field that cannot be read throws ReadFailure.
// The syntax, for authors: docs/descriptions.md.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace lorvena {

class ReadFailure : public std::runtime_error {
 public:
  explicit ReadFailure(const std::string& what) : std::runtime_error(what) {}
};

class FieldReader {
 public:
  explicit FieldReader(std::string_view text) : text_(text) {}

  bool at_end() const { return pos_ >= text_.size(); }
  size_t offset() const { return pos_; }

  std::string read_text();
  int64_t read_number();

  // A number that must fit the given range, as the member it goes into.
  int64_t read_number_in(int64_t low, int64_t high);
  int32_t read_long() { return static_cast<int32_t>(read_number_in(INT32_MIN, INT32_MAX)); }
  int16_t read_short() { return static_cast<int16_t>(read_number_in(INT16_MIN, INT16_MAX)); }
  uint8_t read_byte() { return static_cast<uint8_t>(read_number_in(0, 255)); }

 private:
  bool at_blank() const;
  bool at_line_end() const;
  void skip_blanks();
  void consume_line_end();
  void require_field();

  std::string_view text_;
  size_t pos_ = 0;
};

// Keyword tests: does `field` contain `word`?
bool contains(std::string_view field, std::string_view word);
bool contains_ci(std::string_view field, std::string_view word);

}  // namespace lorvena
