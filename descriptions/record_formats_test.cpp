// The record table against the compiler's readers: every record takes as many
// fields as the table lists, the keyword as written is recognised in its
// section, and each field is read with the storage the table gives it.
#include "descriptions/record_formats.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "testing/compile_fixture.h"

namespace lorvena {
namespace {

using testing::CompileFixture;

// A value each field takes without complaint: records at 2000 m, on every step.
int64_t good_value(const FieldFormat& f) {
  if (f.chainage) return 2000;
  if (f.step != 0) return std::max<int64_t>(f.step, f.low - f.low % f.step);
  if (f.low <= 0 && f.high >= 0) return 0;
  return f.low;
}

struct Built {
  std::string text;
  std::vector<size_t> field_ends;  // offsets just after each field's comma, in `text`
};

// The record as one line's worth of fields, each ended by a comma, starting at
// offset `at` of the description.
Built record_fields(const RecordFormat& f, size_t at, size_t count, size_t odd_field = SIZE_MAX, int64_t odd = 0) {
  Built b{std::string(f.keyword) + ", ", {}};
  for (size_t i = 0; i < count; ++i) {
    const FieldFormat& field = f.fields[i];
    b.text += field.storage == Storage::kText ? "T" : std::to_string(i == odd_field ? odd : good_value(field));
    b.text += ", ";
    b.field_ends.push_back(at + b.text.size() - 1);
  }
  return b;
}

// A pair holding `record` followed, on the same line, by a record whose
// effect shows in the model: the reading went on past the record.
struct Pair {
  std::string line, train;
  size_t record_at;  // where the record starts, in its description
};

const std::string kLineHead = "[generale]\r\nlunghezza percorso, 12000\r\n";

Pair pair_for(const RecordFormat& f) {
  switch (f.section) {
    case Section::kLineGeneral:
      return {kLineHead + "@" + "sfondo due, 77\r\n[curve]\r\n[fine]\r\n", testing::train_text(""), kLineHead.size()};
    case Section::kLineBody:
      return {kLineHead + "[curve]\r\n@cartello_indicatore, 4000, SENTINEL\r\n[fine]\r\n", testing::train_text(""),
              kLineHead.size() + 9};
    case Section::kTrain:
      return {testing::line_text(""), "[generale]\r\n@sabbia, 77\r\n[fine]\r\n", 12};
  }
  return {};
}

bool reading_went_on(const Scenario& m, Section section) {
  if (section == Section::kLineGeneral) return m.table[kScenarioEntry].posizione == 77;
  if (section == Section::kTrain) return m.table[kTrainEntry].val1 == 77;
  return std::any_of(m.table.begin(), m.table.end(), [](const TableEntry& e) { return e.nome == "SENTINEL"; });
}

// Compiles the pair with `fields` in place of the "@".
CompileFixture& compile(CompileFixture& fx, Pair pair, const std::string& fields, Section section) {
  std::string& text = section == Section::kTrain ? pair.train : pair.line;
  text.replace(text.find('@'), 1, fields);
  fx.compile(pair.line, pair.train, 1);
  return fx;
}

TEST(RecordFormats, EachRecordTakesTheFieldsTheTableLists) {
  for (const RecordFormat& f : record_formats()) {
    SCOPED_TRACE(f.keyword);
    Pair pair = pair_for(f);
    {
      CompileFixture fx;
      compile(fx, pair, record_fields(f, pair.record_at, f.fields.size()).text, f.section);
      EXPECT_EQ(fx.model.err_code, 0) << "at " << fx.model.stop_offset;
      EXPECT_TRUE(reading_went_on(fx.model, f.section));
    }
    // One number fewer: the reader takes the next record's keyword for it.
    std::vector<size_t> numbers;
    for (size_t i = 0; i < f.fields.size(); ++i)
      if (f.fields[i].storage != Storage::kText) numbers.push_back(i);
    Built fewer{std::string(f.keyword) + ", ", {}};
    for (size_t i = 0; i < f.fields.size(); ++i) {
      if (i == numbers.back()) continue;
      fewer.text += (f.fields[i].storage == Storage::kText ? "T" : std::to_string(good_value(f.fields[i]))) + ", ";
    }
    CompileFixture fx;
    compile(fx, pair, fewer.text, f.section);
    EXPECT_EQ(fx.model.err_code, 25);
  }
}

TEST(RecordFormats, KeywordsAreRecognisedWhereTheTableSays) {
  for (const RecordFormat& f : record_formats()) {
    EXPECT_EQ(match_keyword(f.section, f.keyword, true), &f) << f.keyword;
    for (Section other : {Section::kLineGeneral, Section::kLineBody, Section::kTrain})
      if (other != f.section) {
        EXPECT_EQ(match_keyword(other, f.keyword, true), nullptr) << f.keyword;
      }
  }
  const RecordFormat* curve = match_keyword(Section::kLineBody, "curvas3", true);
  ASSERT_NE(curve, nullptr);
  EXPECT_EQ(curve->heading, "curva");
  EXPECT_EQ(match_keyword(Section::kLineBody, "curvas3", false), nullptr);
  EXPECT_EQ(match_keyword(Section::kLineGeneral, "Progressiva chilometrica uno", true), nullptr);
  EXPECT_EQ(match_keyword(Section::kLineGeneral, "LUNGHEZZA PERCORSO", true)->heading, "lunghezza percorso");
}

// A value one past what the field's storage holds cannot be read, and the
// reader stops right after that field; a value past a narrower storage reads.
TEST(RecordFormats, EachFieldIsReadWithTheStorageTheTableGives) {
  for (const RecordFormat& f : record_formats()) {
    for (size_t i = 0; i < f.fields.size(); ++i) {
      const FieldFormat& field = f.fields[i];
      if (field.storage == Storage::kText) continue;
      SCOPED_TRACE(std::string(f.keyword) + " " + std::string(field.name));
      Pair pair = pair_for(f);
      Built over = record_fields(f, pair.record_at, f.fields.size(), i, storage_high(field.storage) + 1);
      CompileFixture fx;
      compile(fx, pair, over.text, f.section);
      EXPECT_EQ(fx.model.err_code, 25);
      EXPECT_EQ(fx.model.stop_offset, static_cast<int64_t>(over.field_ends[i]));
      if (field.storage == Storage::kByte || i + 1 == f.fields.size()) continue;
      // Past the narrower storage the field itself reads; a value that large
      // may still be refused later, when the whole record is stored.
      int64_t wide = field.storage == Storage::kLong ? INT16_MAX + 1 : 256;
      Built past = record_fields(f, pair.record_at, f.fields.size(), i, wide);
      CompileFixture fits;
      compile(fits, pair, past.text, f.section);
      EXPECT_FALSE(fits.model.err_code == 25 && fits.model.stop_offset == static_cast<int64_t>(past.field_ends[i]));
    }
  }
}

}  // namespace
}  // namespace lorvena
