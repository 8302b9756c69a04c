// `check --format json|sarif` and `--color`: the same diagnostics as the
// text, as values a program reads; colour only where it is asked for.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "disk/file_names.h"
#include "testing/example_pair.h"
#include "testing/test_files.h"
#include "testing/tool_run.h"
#include "tools/diagnosing/findings_sarif.h"

namespace lorvena {
namespace {

using testing::tool;
using Json = nlohmann::json;

// The example pair in a folder named with a blank, with two mistakes: a
// letter for a number (error 25) and a speed off the 5 km/h step (a warning).
std::string broken_pair(const ScratchDir& dir) {
  std::filesystem::path pair = dir / "my pair";
  std::filesystem::create_directory(pair);
  std::string line = line_description_name(testing::kExampleName);
  std::string train = train_description_name(testing::kExampleName, testing::kExampleTrain);
  testing::write_bytes(pair / line, testing::read_bytes(testing::examples_dir() / line));
  std::string text = testing::read_bytes(testing::examples_dir() / train);
  for (auto [from, to] : {std::pair<std::string, std::string>{"sabbia,    150", "sabbia,    x"},
                          {"velocita,    1000,    90", "velocita,    1000,    93"}})
    text.replace(text.find(from), from.size(), to);
  testing::write_bytes(pair / train, text);
  return pair.string();
}

TEST(CheckFormats, JsonAndSarifCarryTheDiagnosticsOfTheText) {
  ScratchDir dir;
  std::string pair = broken_pair(dir);
  const char* name = testing::kExampleName;
  const char* train = testing::kExampleTrain;

  testing::ToolRun json_run = tool({"check", pair, name, train, "--format", "json"});
  EXPECT_EQ(json_run.status, 1);
  EXPECT_EQ(json_run.err, "");  // the diagnostics travel in the JSON
  Json report = Json::parse(json_run.out);
  EXPECT_EQ(report["err_code"], 25);
  EXPECT_EQ(report["files"], Json::array());
  Json compiled = Json::parse(tool({"compile", pair, name, train, "--json", "--out", dir.path().string()}).out);
  EXPECT_EQ(report["diagnostics"], compiled["diagnostics"]);
  const Json& diagnostics = report["diagnostics"];
  ASSERT_EQ(diagnostics.size(), 2u) << report;

  testing::ToolRun sarif_run = tool({"check", pair, name, train, "--format=sarif"});
  EXPECT_EQ(sarif_run.status, 1);
  Json sarif = Json::parse(sarif_run.out);
  EXPECT_EQ(sarif["version"], "2.1.0");
  const Json& run = sarif["runs"][0];
  EXPECT_EQ(run["tool"]["driver"]["name"], "scenario_tool");
  ASSERT_EQ(run["results"].size(), diagnostics.size());
  for (size_t i = 0; i < diagnostics.size(); ++i) {
    const Json& result = run["results"][i];
    const Json& d = diagnostics[i];
    SCOPED_TRACE(d.dump());
    EXPECT_EQ(result["ruleId"], d["code"]);
    EXPECT_EQ(run["tool"]["driver"]["rules"][result["ruleIndex"].get<size_t>()]["id"], d["code"]);
    EXPECT_EQ(result["level"], d["severity"]);
    EXPECT_EQ(result["message"]["text"], d["message"]);
    const Json& place = result["locations"][0]["physicalLocation"];
    EXPECT_EQ(place["artifactLocation"]["uri"], path_uri(d["file"].get<std::string>()));
    EXPECT_EQ(place["region"]["startLine"], d["line"]);
    EXPECT_EQ(place["region"]["startColumn"], d["column"]);
  }
  EXPECT_EQ(diagnostics[0]["severity"], "error");
  EXPECT_EQ(run["tool"]["driver"]["rules"][0]["defaultConfiguration"]["level"], "error");

  EXPECT_EQ(tool({"check", pair, name, train, "--format", "xml"}).status, 2);
}

TEST(CheckFormats, PathsBecomeUriReferences) {
  struct {
    std::string path, uri;
  } cases[] = {
      {"pairs/VALDORNO_linea.txt", "pairs/VALDORNO_linea.txt"},
      {"/tmp/my pair/A_1-.txt", "file:///tmp/my%20pair/A_1-.txt"},
      {"p <!--&\"]]>'/x#?%.txt", "p%20%3C%21--%26%22%5D%5D%3E%27/x%23%3F%25.txt"},
      {"citt\xC3\xA0/x.txt", "citt%C3%A0/x.txt"},
      {"C:\\pairs\\x.txt", "file:///C:/pairs/x.txt"},
  };
  for (const auto& c : cases) EXPECT_EQ(path_uri(c.path), c.uri) << c.path;
}

TEST(CheckFormats, ColourOnlyWhenAskedOrOnATerminal) {
  ScratchDir dir;
  std::string pair = broken_pair(dir);
  std::vector<std::string> check = {"check", pair, testing::kExampleName, testing::kExampleTrain};
  auto with = [&check](const std::string& option) {
    std::vector<std::string> args = check;
    if (!option.empty()) args.push_back(option);
    return args;
  };
  const std::string red = "\x1b[1;31merror:\x1b[0m";
  EXPECT_EQ(tool(with("")).err.find('\x1b'), std::string::npos);  // not a terminal
  EXPECT_EQ(tool(with("--color=never")).err.find('\x1b'), std::string::npos);
  EXPECT_NE(tool(with("--color=always")).err.find(red), std::string::npos);
  EXPECT_EQ(tool(with("--color=sometimes")).status, 2);

  std::ostringstream out, err;
  run_tool(with("--color=auto"), out, err, Terminal{false, true, false});
  EXPECT_NE(err.str().find(red), std::string::npos) << err.str();
  std::ostringstream out2, err2;
  run_tool(with(""), out2, err2, Terminal{true, true, true});  // NO_COLOR
  EXPECT_EQ(err2.str().find('\x1b'), std::string::npos) << err2.str();
  // The plain text is the diagnostic, its source line and its caret.
  std::string text = err2.str();
  size_t at = text.find("my pair/VALDORNO_2417-.txt:4:12: error: ");
  ASSERT_NE(at, std::string::npos) << text;
  size_t next = text.find('\n', at) + 1;
  EXPECT_EQ(text.substr(next, 28), " sabbia,    x\n            ^\n") << text;
}

}  // namespace
}  // namespace lorvena
