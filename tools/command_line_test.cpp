#include "tools/command_line.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <sstream>

#include "compiler/integrity_codes.h"
#include "disk/file_names.h"
#include "testing/example_pair.h"
#include "testing/test_files.h"
#include "testing/tool_run.h"
#include "tools/compiled/compiled_decode.h"

namespace lorvena {
namespace {

using testing::tool;
using testing::ToolRun;

// A copy of the example pair with one text replaced in the train description.
void broken_copy(const ScratchDir& dir, const std::string& from, const std::string& to) {
  std::string train = train_description_name(testing::kExampleName, testing::kExampleTrain);
  std::string line = line_description_name(testing::kExampleName);
  testing::write_bytes(dir / line, testing::read_bytes(testing::examples_dir() / line));
  std::string text = testing::read_bytes(testing::examples_dir() / train);
  size_t at = text.find(from);
  ASSERT_NE(at, std::string::npos);
  testing::write_bytes(dir / train, text.replace(at, from.size(), to));
}

TEST(CommandLine, CompileCheckAndExitStatus) {
  ScratchDir out, broken;
  std::string ex = testing::examples_dir().string();
  ToolRun ok = tool({"compile", ex, testing::kExampleName, testing::kExampleTrain, "--out", out.path().string()});
  EXPECT_EQ(ok.status, 0);
  EXPECT_EQ(ok.out.substr(0, 9), "no error\n");
  EXPECT_EQ(testing::list_files(out.path()), "VALDORNO_2417.dat|VALDORNO_2417.sim|VALDORNO_linea.dat");

  ToolRun check = tool({"check", ex, testing::kExampleName, testing::kExampleTrain});
  EXPECT_EQ(check.status, 0);
  EXPECT_NE(check.out.find("stations: 3\nsign boards: 2\nslowdowns: 1\nmarkers placed by the walk: 6\n"),
            std::string::npos);

  // The second signal moved onto the first one's cell.
  broken_copy(broken, "segnale,    4300,", "segnale,    2400,");
  ToolRun bad = tool({"compile", broken.path().string(), testing::kExampleName, testing::kExampleTrain, "--no-plan",
                  "--json"});
  EXPECT_EQ(bad.status, 1);
  nlohmann::json report = nlohmann::json::parse(bad.out);
  EXPECT_EQ(report["err_code"], 16);
  EXPECT_EQ(report["err_pos"], 2400);
  EXPECT_EQ(report["fatal"], false);
  EXPECT_EQ(report["file"], "VALDORNO_2417-.txt");
  EXPECT_EQ(report["line"], 23);
  EXPECT_EQ(report["column"], 52);
  EXPECT_FALSE(std::filesystem::exists(broken / "VALDORNO_linea.dat"));  // --no-plan
  EXPECT_TRUE(std::filesystem::exists(broken / "VALDORNO_2417.dat"));
}

TEST(CommandLine, WrongUseAndUnreadableFilesExitWith2) {
  ScratchDir dir;
  testing::write_bytes(dir / "x.dat", "short");
  const std::vector<std::vector<std::string>> runs = {
      {},
      {"make"},
      {"compile", "dir", "name"},
      {"compile", "dir", "name", "train", "--out"},
      {"draw", "dir", "name", "train"},
      {"dump", (dir / "x.dat").string()},
      {"dump", (dir / "missing.sim").string()},
      {"dump", (dir / "x.dat").string(), "--csv", "--json"},
  };
  for (const auto& args : runs) {
    ToolRun r = tool(args);
    EXPECT_EQ(r.status, 2) << ::testing::PrintToString(args);
    EXPECT_FALSE(r.err.empty());
  }
}

// What people type to learn a tool: help on standard output and exit 0;
// mistakes on standard error and exit 2, with nothing on standard output.
TEST(CommandLine, HelpVersionAndOptionsAsPeopleExpect) {
  ScratchDir out;
  std::string ex = testing::examples_dir().string();
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string out_has;  // on standard output, or on standard error when status is 2
  };
  const std::vector<Case> cases = {
      {{"--help"}, 0, "usage: scenario_tool COMMAND"},
      {{"-h"}, 0, "usage: scenario_tool COMMAND"},
      {{"help"}, 0, "  scenario_tool draw DIR NAME TRAIN --out FILE.svg [--color WHEN]\n"},
      {{"help", "compile"}, 0, "usage: scenario_tool compile DIR NAME TRAIN [--no-plan] [--out DIR] [--json]"},
      {{"compile", "--help"}, 0, "  --no-plan       leave out the plan"},
      {{"dump", "-h"}, 0, "usage: scenario_tool dump FILE [--csv] [--json]"},
      {{"draw", "--help"}, 0, "usage: scenario_tool draw DIR NAME TRAIN --out FILE.svg"},
      {{"--version"}, 0, "scenario_tool 1."},
      {{"help", "make"}, 2, "unknown command make"},
      {{"check", ex, "VALDORNO", "2417", "--json"}, 2, "unknown option --json"},
      {{"dump", "x.sim", "--no-plan"}, 2, "unknown option --no-plan"},
      {{"compile", ex, "VALDORNO", "2417", "--json=yes"}, 2, "--json takes no value"},
      {{"compile", ex, "VALDORNO", "2417", "--out="}, 2, "--out needs DIR"},
      {{"draw", ex, "VALDORNO", "2417"}, 2, "--out FILE.svg is required"},
      {{"compile", ex, "VALDORNO"}, 2, "compile expects DIR NAME TRAIN"},
      {{"check", ex, "VALDORNO", "2417", "--color=yes"}, 2, "--color takes auto, always or never, not 'yes'"},
  };
  for (const Case& c : cases) {
    ToolRun r = tool(c.args);
    std::string where = ::testing::PrintToString(c.args);
    EXPECT_EQ(r.status, c.status) << where;
    const std::string& shown = c.status == 2 ? r.err : r.out;
    EXPECT_NE(shown.find(c.out_has), std::string::npos) << where << "\n" << shown;
    EXPECT_TRUE(c.status == 2 ? r.out.empty() : r.err.empty()) << where;
  }
  ToolRun joined = tool({"compile", ex, "VALDORNO", "2417", "--out=" + out.path().string()});
  EXPECT_EQ(joined.status, 0) << joined.err;
  EXPECT_EQ(testing::list_files(out.path()), "VALDORNO_2417.dat|VALDORNO_2417.sim|VALDORNO_linea.dat");
  // Both formats asked for is a wrong command line even for a file that reads.
  ToolRun both = tool({"dump", (out.path() / "VALDORNO_2417.dat").string(), "--csv", "--json"});
  EXPECT_EQ(both.status, 2);
  EXPECT_NE(both.err.find("--csv or --json, not both"), std::string::npos) << both.err;
  EXPECT_EQ(both.out, "");
}

// draw and view tell the diagnostics as check does, on standard error, and
// still write their output.
TEST(CommandLine, DrawAndViewPrintTheDiagnosticsAsCheckDoes) {
  ScratchDir dir;
  broken_copy(dir, "velocita,       0,    70", "velocita,      500,    70");
  std::string d = dir.path().string();
  ToolRun check = tool({"check", d, testing::kExampleName, testing::kExampleTrain});
  ASSERT_NE(check.err.find("[W-no-start-speed]\n"), std::string::npos) << check.err;
  ASSERT_NE(check.err.find("\n0 errors, 1 warning\n"), std::string::npos) << check.err;
  ToolRun draw = tool({"draw", d, testing::kExampleName, testing::kExampleTrain, "--out", (dir / "l.svg").string()});
  ToolRun view = tool({"view", d, testing::kExampleName, testing::kExampleTrain, "--out", (dir / "l.html").string()});
  for (const ToolRun* r : {&draw, &view}) {
    EXPECT_EQ(r->status, 0);
    EXPECT_EQ(r->err, check.err);
  }
  EXPECT_TRUE(std::filesystem::exists(dir / "l.svg"));
  EXPECT_TRUE(std::filesystem::exists(dir / "l.html"));
}

// check FILE: either description's path finds its pair; a path that finds
// none says why and exits 2.
TEST(CommandLine, CheckFindsThePairOfEitherDescription) {
  ScratchDir dir;
  broken_copy(dir, "velocita,       0,    70", "velocita,      500,    70");
  std::string line = (dir / "VALDORNO_linea.txt").string(), train = (dir / "VALDORNO_2417-.txt").string();
  ToolRun by_pair = tool({"check", dir.path().string(), "VALDORNO", "2417"});
  for (const std::string& file : {line, train}) {
    ToolRun r = tool({"check", file});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, by_pair.err);
    EXPECT_EQ(r.out, by_pair.out);
  }
  testing::write_bytes(dir / "VALDORNO_88-.txt", "[generale]\r\n");
  testing::write_bytes(dir / "ALTROVE_1-.txt", "[generale]\r\n");
  const std::vector<std::pair<std::string, std::string>> refused = {
      {line, "VALDORNO has several trains in " + dir.path().string() + " (2417 88)"},
      {(dir / "ALTROVE_1-.txt").string(), "no line description ALTROVE_linea.txt beside"},
      {(dir / "NULLA_linea.txt").string(), "NULLA_linea.txt does not exist"},
      {(dir / "VALDORNO_88-.txt").string() + "x", "does not exist"},
  };
  for (const auto& [file, says] : refused) {
    ToolRun r = tool({"check", file});
    EXPECT_EQ(r.status, 2) << file;
    EXPECT_NE(r.err.find(says), std::string::npos) << r.err;
  }
  testing::write_bytes(dir / "notes.txt", "");
  EXPECT_NE(tool({"check", (dir / "notes.txt").string()}).err.find("is neither a line description"), std::string::npos);
  EXPECT_EQ(tool({"compile", line}).status, 2);  // only check takes a file
}

// A NAME or TRAIN that names no pair in DIR: nothing compiled, nothing
// written, and the pairs that are there listed.
TEST(CommandLine, MissingPairWritesNothingAndListsThePairsPresent) {
  ScratchDir dir;
  for (const std::string& name : {line_description_name("VALDORNO"), train_description_name("VALDORNO", "2417")})
    testing::write_bytes(dir / name, testing::read_bytes(testing::examples_dir() / name));
  testing::write_bytes(dir / train_description_name("VALDORNO", "88"), "[generale]\r\n");
  testing::write_bytes(dir / train_description_name("ALTROVE", "1"), "[generale]\r\n");  // no line
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"compile", dir.path().string(), "VALDORNO", "2418"},
           {"check", dir.path().string(), "VALDORNI", "2417"},
           {"draw", dir.path().string(), "ALTROVE", "1", "--out", (dir / "x.svg").string()}}) {
    ToolRun r = tool(args);
    EXPECT_EQ(r.status, 2) << args[2];
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find(": missing\n"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find(":\n  VALDORNO 2417\n  VALDORNO 88\n"), std::string::npos) << r.err;
  }
  EXPECT_EQ(testing::list_files(dir.path()), "ALTROVE_1-.txt|VALDORNO_2417-.txt|VALDORNO_88-.txt|VALDORNO_linea.txt");
}

// Names typed in UTF-8 are compiled in Windows-1252, as the installer writes
// them: the integrity codes summed over "città" use the single byte E0.
TEST(CommandLine, NamesAreCompiledInWindows1252) {
  ScratchDir dir, out;
  const std::string name = "CITT\xC3\x80", train = "4316";  // "CITTÀ" in UTF-8
  testing::write_bytes(dir / line_description_name(name),
                       testing::read_bytes(testing::examples_dir() / line_description_name("VALDORNO")));
  testing::write_bytes(dir / train_description_name(name, train),
                       testing::read_bytes(testing::examples_dir() / train_description_name("VALDORNO", "2417")));
  ToolRun r = tool({"compile", dir.path().string(), name, train, "--no-plan", "--out", out.path().string()});
  ASSERT_EQ(r.status, 0) << r.err;
  std::string sim = testing::read_bytes(out / table_file_name(name, train));
  Scenario expected;
  expected.table[kScenarioEntry].nome = "CITT\xC0";
  expected.table[kTrainEntry].nome = train;
  std::string code_text = lower_1252(expected.table[kTrainEntry].nome + expected.table[kScenarioEntry].nome);
  ASSERT_EQ(code_text.substr(0, 9), "4316citt\xE0");
  std::array<TableEntry, kTableSize> table = decode_table(sim);
  EXPECT_EQ(table[kScenarioEntry].nome, "CITT\xC0");
  EXPECT_EQ(table[kScenarioEntry].ora, codice_gara_st(expected));
}

}  // namespace
}  // namespace lorvena
