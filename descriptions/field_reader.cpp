#include "descriptions/field_reader.h"

#include <algorithm>

#include "descriptions/translatable.h"

namespace lorvena {

bool FieldReader::at_blank() const {
  return !at_end() && (text_[pos_] == ' ' || text_[pos_] == '\t');
}

bool FieldReader::at_line_end() const {
  return !at_end() && (text_[pos_] == '\r' || text_[pos_] == '\n');
}

void FieldReader::skip_blanks() {
  while (at_blank()) ++pos_;
}

void FieldReader::consume_line_end() {
  if (text_[pos_] == '\r') {
    ++pos_;
    if (!at_end() && text_[pos_] == '\n') ++pos_;
  } else {
    ++pos_;
  }
}

void FieldReader::require_field() {
  if (at_end()) throw ReadFailure(N_("read past the end of the file"));
}

std::string FieldReader::read_text() {
  require_field();
  skip_blanks();
  if (!at_end() && text_[pos_] == '"') {
    size_t close = text_.find('"', pos_ + 1);
    size_t stop = close == std::string_view::npos ? text_.size() : close;
    std::string field(text_.substr(pos_ + 1, stop - pos_ - 1));
    pos_ = stop == text_.size() ? stop : stop + 1;
    while (!at_end() && text_[pos_] != ',' && !at_line_end()) ++pos_;
    if (!at_end()) text_[pos_] == ',' ? void(++pos_) : consume_line_end();
    return field;
  }
  size_t start = pos_;
  while (!at_end() && text_[pos_] != ',' && !at_line_end()) ++pos_;
  std::string_view field = text_.substr(start, pos_ - start);
  while (!field.empty() && (field.back() == ' ' || field.back() == '\t')) field.remove_suffix(1);
  if (!at_end()) text_[pos_] == ',' ? void(++pos_) : consume_line_end();
  return std::string(field);
}

int64_t FieldReader::read_number() {
  require_field();
  skip_blanks();
  size_t start = pos_;
  while (!at_end() && text_[pos_] != ',' && !at_blank() && !at_line_end()) ++pos_;
  std::string_view field = text_.substr(start, pos_ - start);
  skip_blanks();
  if (!at_end() && text_[pos_] == ',') {
    ++pos_;
  } else if (at_line_end()) {
    consume_line_end();
  }
  if (field.empty()) return 0;
  bool negative = field.front() == '-';
  if (field.front() == '-' || field.front() == '+') field.remove_prefix(1);
  if (field.empty()) throw ReadFailure(N_("not a number"));
  int64_t value = 0;
  for (char c : field) {
    if (c < '0' || c > '9') throw ReadFailure(N_("not a number"));
    if (value > (INT64_MAX - 9) / 10) throw ReadFailure(N_("number too large"));
    value = value * 10 + (c - '0');
  }
  return negative ? -value : value;
}

int64_t FieldReader::read_number_in(int64_t low, int64_t high) {
  int64_t value = read_number();
  if (value < low || value > high) throw ReadFailure(N_("number out of range"));
  return value;
}

namespace {
char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
}  // namespace

bool contains(std::string_view field, std::string_view word) {
  return field.find(word) != std::string_view::npos;
}

bool contains_ci(std::string_view field, std::string_view word) {
  auto hit = std::search(field.begin(), field.end(), word.begin(), word.end(),
                         [](char a, char b) { return lower(a) == lower(b); });
  return hit != field.end() || word.empty();
}

}  // namespace lorvena
