// `diff` with a path that is not there names it, instead of calling it "not a
// directory".
#include <gtest/gtest.h>

#include "testing/example_pair.h"
#include "testing/test_files.h"
#include "testing/tool_run.h"

namespace lorvena {
namespace {

TEST(MissingOperand, DiffSaysWhichPathDoesNotExist) {
  ScratchDir dir;
  std::string absent = (dir / "absent").string(), ex = testing::examples_dir().string();
  for (const std::vector<std::string>& args : {std::vector<std::string>{"diff", absent, ex},
                                               std::vector<std::string>{"diff", ex, absent}}) {
    testing::ToolRun run = testing::tool(args);
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find(absent + " does not exist"), std::string::npos) << run.err;
  }
}

}  // namespace
}  // namespace lorvena
