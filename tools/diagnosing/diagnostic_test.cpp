#include "tools/diagnosing/diagnostic.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

namespace lorvena {
namespace {

Diagnostic error_at(int64_t line) { return {Severity::kError, "E16", "a/B_linea.txt", line, 3, "taken"}; }
Diagnostic warning() { return {Severity::kWarning, "W-range", "B_1-.txt", 7, 1, "too far"}; }
Diagnostic note() { return {Severity::kNote, "E16", "a/B_linea.txt", 2, 1, "the other one"}; }

TEST(Diagnostics, OneLineEachThenTheCountsInWords) {
  struct {
    std::vector<Diagnostic> list;
    std::string text;
  } cases[] = {
      {{}, "0 errors, 0 warnings\n"},
      {{error_at(5)}, "a/B_linea.txt:5:3: error: taken [E16]\n1 error, 0 warnings\n"},
      {{warning()}, "B_1-.txt:7:1: warning: too far [W-range]\n0 errors, 1 warning\n"},
      {{error_at(5), note(), error_at(9), warning(), warning()},
       "a/B_linea.txt:5:3: error: taken [E16]\n"
       "a/B_linea.txt:2:1: note: the other one [E16]\n"
       "a/B_linea.txt:9:3: error: taken [E16]\n"
       "B_1-.txt:7:1: warning: too far [W-range]\n"
       "B_1-.txt:7:1: warning: too far [W-range]\n"
       "2 errors, 2 warnings\n"},
      // A whole file, and no file at all.
      {{{Severity::kError, "E102", "B_linea.txt", 0, 0, "no header"}, {Severity::kNote, "", "", 0, 0, "stopped"}},
       "B_linea.txt: error: no header [E102]\nnote: stopped\n1 error, 0 warnings\n"},
  };
  for (const auto& c : cases) EXPECT_EQ(diagnostics_text(c.list), c.text);
}

TEST(Diagnostics, JsonListsEachWithItsPlaceOrNull) {
  std::vector<Diagnostic> list = {error_at(5), {Severity::kWarning, "W-encoding", "", 0, 0, "say \"Citt\xC3\xA0\"\t"}};
  EXPECT_EQ(nlohmann::json::parse(diagnostics_json(list)),
            nlohmann::json::parse(
                "[{\"file\": \"a/B_linea.txt\", \"line\": 5, \"column\": 3, \"severity\": \"error\", \"code\": \"E16\", "
                "\"message\": \"taken\"}, "
                "{\"file\": null, \"line\": null, \"column\": null, \"severity\": \"warning\", \"code\": \"W-encoding\", "
                "\"message\": \"say \\\"Citt\xC3\xA0\\\"\\u0009\"}]"));
  EXPECT_EQ(diagnostics_json({}), "[]");
}

}  // namespace
}  // namespace lorvena
