// The layout of every record of the two descriptions, in one table: the words
// its keyword field is recognised by (in the order the readers test them) and
// its value fields with unit, range and step. The authors' tool checks
// descriptions against it and explains records from it, and the record
// reference of docs/descriptions.md is generated from it.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace lorvena {

// Where a record stands: the line description's general block (before its
// first header after "[generale]"), the line description's body, or the
// train description (after its "[generale]").
enum class Section { kLineGeneral, kLineBody, kTrain };

// How the reader takes a value: a 32-bit, 16-bit or byte integer, or a text.
// A number outside what its storage holds cannot be read (error 25).
enum class Storage { kLong, kShort, kByte, kText };

struct FieldFormat {
  std::string_view name;
  std::string_view unit;  // "m", "km/h", "‰", "%", "s", "h", "min", or "" for none
  Storage storage;
  std::string_view limits;  // what the compile takes, beyond the storage, in words
  // The values an author means: outside them the compile still takes the
  // value and the checks warn. The storage's own range means no warning.
  int64_t low;
  int64_t high;
  int32_t step;         // the value should be a multiple of it (0: any)
  int32_t step_error;   // the error the compile records off the step (0: it rounds, a warning)
  int32_t range_error;  // the error the compile records outside low..high (0: a warning)
  bool chainage;        // a chainage on the line: should not lie past its end
  std::string_view meaning;
};

// Errors a record can give, with what they mean for it: "11 and 13 (...)".
struct ErrorNote {
  std::vector<int32_t> codes;
  std::string_view note;
};

struct RecordFormat {
  std::string_view keyword;  // as the writers spell it
  std::string_view heading;  // its name in the reference; records that differ only in a keyword word share it
  Section section;
  std::vector<std::string_view> words;  // the keyword field contains each
  bool case_sensitive;
  bool plan_only;        // read only when the plan of the line is built
  bool blank_separated;  // its numbers may stand apart with blanks alone
  std::string_view keyword_note;  // what else the keyword field must hold or carries
  std::string_view meaning;
  std::vector<FieldFormat> fields;
  std::vector<ErrorNote> errors;
  std::string_view remark;  // said after its errors
};

// Every record, grouped by section, each group in the reader's test order.
const std::vector<RecordFormat>& record_formats();

// The first record of `section` whose keyword test `field` passes, as the
// reader tests it; null for none. `plan` is whether the plan is built.
const RecordFormat* match_keyword(Section section, std::string_view field, bool plan);

// Does `field` pass the keyword test of `format`?
bool keyword_matches(const RecordFormat& format, std::string_view field);

// The error numbers of a record, in the order its notes give them.
std::vector<int32_t> error_codes(const RecordFormat& format);

// "line description, general block" ...
std::string_view section_name(Section section);

// "32-bit", "16-bit", "byte", "text".
std::string_view storage_name(Storage storage);
int64_t storage_low(Storage storage);
int64_t storage_high(Storage storage);

}  // namespace lorvena
