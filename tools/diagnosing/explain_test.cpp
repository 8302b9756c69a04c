#include "tools/diagnosing/explain.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "testing/test_files.h"
#include "tools/diagnosing/error_texts.h"
#include "tools/diagnosing/warning_texts.h"

namespace lorvena {
namespace {

std::filesystem::path docs_dir() {
  return std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() / "docs";
}

// The text between the records markers, without the blank lines around it.
std::string records_part(const std::string& doc) {
  const std::string begin = "<!-- records:begin -->\n", end = "<!-- records:end -->";
  size_t from = doc.find(begin), to = doc.find(end);
  if (from == std::string::npos || to == std::string::npos || to < from) return "(no records markers)";
  std::string part = doc.substr(from + begin.size(), to - from - begin.size());
  while (!part.empty() && part.front() == '\n') part.erase(0, 1);
  while (part.size() > 1 && part[part.size() - 1] == '\n' && part[part.size() - 2] == '\n') part.pop_back();
  return part;
}

TEST(Explain, TheDocsHoldTheRecordReferenceOfTheTable) {
  std::string doc = testing::read_bytes(docs_dir() / "descriptions.md");
  EXPECT_TRUE(records_part(doc) == records_markdown())
      << "docs/descriptions.md differs from the record table (descriptions/record_formats.cpp): run "
         "scripts/update_records_doc.sh, which writes `scenario_tool explain --markdown` between the records markers";
}

TEST(Explain, ErrorsWarningsAndRecordsByAnyOfTheirNames) {
  struct {
    std::string topic;
    std::string first_line;  // empty: nothing to explain
  } cases[] = {
      {"16", "E16: signal on an occupied cell"},
      {"E16", "E16: signal on an occupied cell"},
      {"e1250", "E1250: fatal: an object in the cell at chainage 50 m takes the slot of the integrity stamp"},
      {"W-off-step", "W-off-step: a chainage or length off its step: the compile rounds it to the nearest cell of 50 m."},
      {"off-step", "W-off-step: a chainage or length off its step: the compile rounds it to the nearest cell of 50 m."},
      {"segnale", "### segnale"},
      {"SEGNALE", "### segnale"},
      {"curvad4", "### curva"},
      {"numero vetture", "### vetture"},
      {"progressiva chilometrica due", "### progressiva chilometrica"},
      {"sfondo", "### sfondo"},
      {"14", ""},
      {"E", ""},
      {"99999999999", ""},
      {"nothing", ""},
  };
  for (const auto& c : cases) {
    std::optional<std::string> text = explain(c.topic);
    if (c.first_line.empty()) {
      EXPECT_FALSE(text) << c.topic;
      continue;
    }
    ASSERT_TRUE(text) << c.topic;
    EXPECT_EQ(text->substr(0, text->find('\n')), c.first_line) << c.topic;
  }
}

TEST(Explain, EveryErrorAndWarningSaysWhatToDo) {
  for (const ErrorText& e : error_texts()) {
    std::string text = explain(std::to_string(e.code)).value_or("");
    EXPECT_NE(text.find("What to do: "), std::string::npos) << e.code;
    EXPECT_FALSE(e.advice.empty()) << e.code;
  }
  for (const WarningText& w : warning_texts()) {
    std::string text = explain(w.code).value_or("");
    EXPECT_NE(text.find("What to do: " + std::string(w.advice)), std::string::npos) << w.code;
  }
  // Which records give an error comes from the table.
  EXPECT_NE(explain("16")->find("Records that give it: segnale (explain KEYWORD)."), std::string::npos);
  EXPECT_NE(explain("22")->find("Records that give it: stazione "), std::string::npos);
  EXPECT_EQ(explain("101")->find("Records that give it"), std::string::npos);
}

}  // namespace
}  // namespace lorvena
