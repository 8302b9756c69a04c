// `--lang it|en`: the same mistake gives the same codes at the same places,
// the same exit status and the same JSON and SARIF members in both
// languages; only the words change, and in Italian none stays English.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <regex>

#include "disk/file_names.h"
#include "testing/example_pair.h"
#include "testing/test_files.h"
#include "testing/tool_run.h"
#include "tools/diagnosing/error_texts.h"
#include "tools/diagnosing/warning_texts.h"
#include "tools/text/language.h"

namespace lorvena {
namespace {

using testing::tool;
using Json = nlohmann::json;

// The worked example's five mistakes: an off-step kilometre reference, two
// stations too close, a minute past 59, two signals in one cell and a
// misspelt keyword.
std::string broken_pair(const ScratchDir& dir) {
  std::string line = line_description_name(testing::kExampleName);
  std::string train = train_description_name(testing::kExampleName, testing::kExampleTrain);
  auto edited = [](std::string text, const std::vector<std::pair<std::string, std::string>>& edits) {
    for (const auto& [from, to] : edits) text.replace(text.find(from), from.size(), to);
    return text;
  };
  testing::write_bytes(dir / line, edited(testing::read_bytes(testing::examples_dir() / line),
                                          {{"progressiva chilometrica uno,    0", "progressiva chilometrica uno,    125"}}));
  testing::write_bytes(dir / train, edited(testing::read_bytes(testing::examples_dir() / train),
                                           {{"stazione,    5800", "stazione,    1450"},
                                            {"8,22, 0, Costalunga", "8,75, 0, Costalunga"},
                                            {"segnale,    4300,", "segnale,    2400,"},
                                            {"segnale,   10200", "segnal,   10200"}}));
  return dir.path().string();
}

// Words that an Italian text holds only when something was left untranslated.
void expect_no_english(const std::string& text) {
  static const std::regex english(R"(\b(the|is|of|at|and|with|not|before|after|cell|line|field)\b)");
  std::smatch m;
  EXPECT_FALSE(std::regex_search(text, m, english)) << "'" << m.str() << "' in: " << text;
}

struct DiagnosticLine {
  std::string place, severity, message, code;
};

// "FILE:LINE:COLUMN: severity: message [code]" lines of a run's standard error.
std::vector<DiagnosticLine> diagnostic_lines(const std::string& err) {
  static const std::regex line(R"(^(\S+:\d+:\d+): (error|warning|note): (.*) \[([^\]]+)\]$)");
  std::vector<DiagnosticLine> out;
  std::istringstream in(err);
  for (std::string l; std::getline(in, l);) {
    std::smatch m;
    if (std::regex_match(l, m, line)) out.push_back({m[1], m[2], m[3], m[4]});
  }
  return out;
}

TEST(LanguageOption, TheSameMistakesGiveTheSameCodesAndPlacesInBothLanguages) {
  ScratchDir dir;
  std::string pair = broken_pair(dir);
  const char* name = testing::kExampleName;
  const char* train = testing::kExampleTrain;
  testing::ToolRun english = tool({"check", pair, name, train, "--lang", "en"});
  testing::ToolRun italian = tool({"--lang", "it", "check", pair, name, train});
  EXPECT_EQ(english.status, 1);
  EXPECT_EQ(italian.status, english.status);
  EXPECT_EQ(english.err, tool({"check", pair, name, train}).err);  // English without --lang

  std::vector<DiagnosticLine> en = diagnostic_lines(english.err), it = diagnostic_lines(italian.err);
  ASSERT_EQ(en.size(), 7u) << english.err;
  ASSERT_EQ(it.size(), en.size()) << italian.err;
  for (size_t i = 0; i < en.size(); ++i) {
    EXPECT_EQ(it[i].place, en[i].place);
    EXPECT_EQ(it[i].severity, en[i].severity);  // what problem matchers read stays
    EXPECT_EQ(it[i].code, en[i].code);
    EXPECT_NE(it[i].message, en[i].message);
    expect_no_english(it[i].message);
  }
  EXPECT_NE(italian.err.find("4 errori, 1 avviso"), std::string::npos) << italian.err;
  EXPECT_NE(italian.out.find("errore 22: "), std::string::npos) << italian.out;
  EXPECT_NE(italian.out.find("progressiva: 1450 m"), std::string::npos) << italian.out;

  Json en_json = Json::parse(tool({"check", pair, name, train, "--format", "json"}).out);
  Json it_json = Json::parse(tool({"check", pair, name, train, "--format", "json", "--lang=it"}).out);
  ASSERT_EQ(it_json["diagnostics"].size(), en_json["diagnostics"].size());
  for (size_t i = 0; i < en_json["diagnostics"].size(); ++i) {
    Json a = en_json["diagnostics"][i], b = it_json["diagnostics"][i];
    EXPECT_NE(a["message"], b["message"]);
    a.erase("message"), b.erase("message");
    EXPECT_EQ(a, b);
  }
  for (Json* j : {&en_json, &it_json}) j->erase("diagnostics"), j->erase("meaning");
  EXPECT_EQ(it_json, en_json);  // the same members with the same values

  Json en_sarif = Json::parse(tool({"check", pair, name, train, "--format", "sarif"}).out)["runs"][0];
  Json it_sarif = Json::parse(tool({"check", pair, name, train, "--format", "sarif", "--lang", "it"}).out)["runs"][0];
  EXPECT_FALSE(en_sarif.contains("language"));
  EXPECT_EQ(it_sarif["language"], "it-IT");
  ASSERT_EQ(it_sarif["results"].size(), en_sarif["results"].size());
  for (size_t i = 0; i < en_sarif["results"].size(); ++i) {
    EXPECT_EQ(it_sarif["results"][i]["ruleId"], en_sarif["results"][i]["ruleId"]);
    EXPECT_EQ(it_sarif["results"][i]["locations"], en_sarif["results"][i]["locations"]);
  }
  for (const Json& rule : it_sarif["tool"]["driver"]["rules"]) expect_no_english(rule["shortDescription"]["text"]);
}

// Every error and warning `explain` knows, and every record, is told in
// Italian, with the codes as they are.
TEST(LanguageOption, ExplainTellsEveryTopicInItalian) {
  std::vector<std::string> topics;
  for (const ErrorText& e : error_texts()) topics.push_back("E" + std::to_string(e.code));
  for (const WarningText& w : warning_texts()) topics.push_back(std::string(w.code));
  for (const std::string& topic : topics) {
    testing::ToolRun en = tool({"explain", topic}), it = tool({"explain", topic, "--lang", "it"});
    EXPECT_EQ(it.status, 0);
    EXPECT_NE(it.out, en.out) << topic;
    EXPECT_EQ(it.out.substr(0, topic.size() + 1), topic + ":");
    EXPECT_NE(it.out.find("Cosa fare: "), std::string::npos) << it.out;
  }
  testing::ToolRun record = tool({"--lang", "it", "explain", "segnale"});
  EXPECT_NE(record.out.find("| # | campo | unità | intervallo | significato |"), std::string::npos) << record.out;
  EXPECT_NE(record.out.find("il primo codice del lato destro"), std::string::npos) << record.out;
}

TEST(LanguageOption, ChoosesTheLanguageWhereverItStandsAndRefusesAnOther) {
  std::string italian = tool({"--lang", "it", "explain", "E25"}).out;
  EXPECT_EQ(tool({"explain", "E25", "--lang", "it"}).out, italian);
  EXPECT_EQ(tool({"explain", "--lang=it", "E25"}).out, italian);
  EXPECT_NE(italian.find("descrizione illeggibile"), std::string::npos) << italian;
  EXPECT_EQ(tool({"--lang", "it", "--lang", "en", "explain", "E25"}).out, tool({"explain", "E25"}).out);

  testing::ToolRun other = tool({"--lang", "de", "explain", "E25"});
  EXPECT_EQ(other.status, 2);
  EXPECT_EQ(other.err, "scenario_tool: --lang takes it or en, not 'de'\nTry 'scenario_tool --help'.\n");
  EXPECT_EQ(tool({"explain", "E25", "--lang"}).status, 2);
  EXPECT_EQ(tool({"--lang", "it", "nonsense"}).err,
            "scenario_tool: comando sconosciuto nonsense\nProvate 'scenario_tool --help'.\n");
  EXPECT_NE(tool({"--lang", "it", "--help"}).out.find("uso: scenario_tool COMMAND"), std::string::npos);
  // The run leaves the language it was started in.
  EXPECT_EQ(language(), Language::kEnglish);
}

}  // namespace
}  // namespace lorvena
