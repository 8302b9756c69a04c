// Reads a description as the compiler's readers do (the same field reader,
// the same keyword tests in the same order, from the record table) without
// compiling it: every record with the place and text of each field, the
// fields that cannot be read and why, and warnings for what the format
// accepts but an author almost never means.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "descriptions/record_formats.h"
#include "tools/diagnosing/diagnostic.h"
#include "tools/text/text_lines.h"

namespace lorvena {

struct ReadField {
  int64_t offset = 0;  // its first byte, after the blanks before it
  std::string text;    // as written (a number up to its delimiter), Windows-1252
  int64_t value = 0;   // a number's value
};

// A field the reader cannot read: the compile stops there with error 25.
struct ReadProblem {
  size_t field = 0;    // index into the record's format fields
  int64_t stop = 0;    // where the reader stands after the failed read
  std::string reason;  // UTF-8, e.g. "'x' is not a number"
  int64_t offset = -1;  // where the field starts; -1 when it was not reached
  bool shifted = false;  // a value glued to the keyword moved every field on by one
};

struct LintRecord {
  const RecordFormat* format = nullptr;
  int64_t offset = 0;  // the keyword field's first byte
  std::string keyword;
  std::vector<ReadField> fields;
  int64_t end = 0;  // where the reader stands after the record
  // The bytes [offset, blank_end) hold the record: blanked, the reader skips it.
  int64_t blank_end = 0;
  std::optional<ReadProblem> problem;

  int64_t number(size_t field) const { return fields.at(field).value; }
  bool complete() const { return !problem.has_value(); }
};

// The first record written above [generale], which the reader skips.
struct RecordAbove {
  int64_t offset = 0;
  std::string keyword;  // as diagnostics name it: "velocita", "curvas3"
};

struct DescriptionLint {
  std::string file;  // as diagnostics name it
  std::string_view text;
  TextLines lines{""};
  bool general_found = false;
  std::vector<LintRecord> records;  // in reading order
  std::vector<Diagnostic> warnings;
  std::optional<RecordAbove> first_above_general;

  Diagnostic at(int64_t offset, Severity severity, std::string_view code, std::string message) const;
};

// `text` must outlive the result. `plan`: whether curves are read.
DescriptionLint lint_line(std::string_view text, const std::string& file, bool plan);
DescriptionLint lint_train(std::string_view text, const std::string& file);

// The record of `lint` whose bytes hold `offset` (the reader stopped inside
// it or just after it), or null.
const LintRecord* record_at(const DescriptionLint& lint, int64_t offset);

// "segnale at 2400 m", "stazione 'PIANELLO' at 1000 m": how diagnostics name
// a record; record_name adds its line, for a record named at another place.
std::string record_word(const LintRecord& r);  // "segnale", "curvas3"
std::string record_label(const LintRecord& r);
std::string record_name(const DescriptionLint& lint, const LintRecord& r);
// "field 4 (s2)"
std::string field_name(const LintRecord& r, size_t field);

// Where a diagnostic about field `field` of `r` is placed: where the field
// starts, when it was read on the record's own line; else the record's own
// start (a field taken from a later line is one the record left out).
int64_t field_offset(const DescriptionLint& lint, const LintRecord& r, size_t field);

// "a segnale", "an indicatori_vmax".
std::string with_article(std::string_view word);

// `bytes` of a description as UTF-8 for a message, quoted.
std::string in_quotes(std::string_view bytes);

}  // namespace lorvena
