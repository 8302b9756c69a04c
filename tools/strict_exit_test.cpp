// --Werror: a pair that only warns fails `check` and `compile` with exit 1,
// and a clean pair still passes.
#include <gtest/gtest.h>

#include "disk/file_names.h"
#include "testing/example_pair.h"
#include "testing/test_files.h"
#include "testing/tool_run.h"

namespace lorvena {
namespace {

using testing::tool;

// The example pair with the first speed limit moved from 0 to 1000 m: it
// compiles, with a warning.
void warned_copy(const ScratchDir& dir) {
  std::string train = train_description_name(testing::kExampleName, testing::kExampleTrain);
  std::string line = line_description_name(testing::kExampleName);
  testing::write_bytes(dir / line, testing::read_bytes(testing::examples_dir() / line));
  std::string text = testing::read_bytes(testing::examples_dir() / train);
  std::string from = "velocita,       0,    70";
  size_t at = text.find(from);
  ASSERT_NE(at, std::string::npos);
  testing::write_bytes(dir / train, text.replace(at, from.size(), "velocita,    1000,    70"));
}

TEST(StrictExit, WarningsFailOnlyWithWerror) {
  ScratchDir warned, out;
  warned_copy(warned);
  std::string dir = warned.path().string(), ex = testing::examples_dir().string();
  const char* name = testing::kExampleName;
  const char* train = testing::kExampleTrain;

  testing::ToolRun plain = tool({"check", dir, name, train});
  EXPECT_EQ(plain.status, 0);
  EXPECT_NE(plain.err.find("W-no-start-speed"), std::string::npos) << plain.err;
  EXPECT_EQ(tool({"check", dir, name, train, "--Werror"}).status, 1);
  EXPECT_EQ(tool({"compile", dir, name, train, "--out", out.path().string(), "--Werror"}).status, 1);
  EXPECT_EQ(tool({"check", ex, name, train, "--Werror"}).status, 0);
}

}  // namespace
}  // namespace lorvena
