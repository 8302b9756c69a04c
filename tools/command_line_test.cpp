#include "tools/command_line.h"

#include <gtest/gtest.h>

#include <sstream>

#include "files/scenario_files.h"
#include "testing/test_files.h"
#include "testing/example_pair.h"

namespace lorvena {
namespace {


struct ToolRun {
  int status;
  std::string out, err;
};

ToolRun tool(const std::vector<std::string>& args) {
  std::ostringstream out, err;
  int status = run_tool(args, out, err);
  return {status, out.str(), err.str()};
}

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
  EXPECT_EQ(bad.out.rfind("{\"err_code\": 16, \"err_pos\": 2400, \"fatal\": false, ", 0), 0u);
  EXPECT_NE(bad.out.find("\"file\": \"VALDORNO_2417-.txt\", \"line\": 23, \"column\": 52"), std::string::npos);
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

}  // namespace
}  // namespace lorvena
