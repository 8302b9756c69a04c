// `scenario_tool new`: the pair it writes compiles with no error and no
// warning, and it never writes over a file that is there.
#include "tools/authoring/new_pair.h"

#include <gtest/gtest.h>

#include "disk/file_names.h"
#include "disk/scratch_dir.h"
#include "testing/test_files.h"
#include "testing/tool_run.h"

namespace lorvena {
namespace {

using testing::tool;

TEST(NewPair, CompilesWithNoErrorAndNoWarningAndCommentsEveryRecord) {
  ScratchDir dir;
  testing::ToolRun made = tool({"new", dir.path().string(), "MIRTOVALLE", "101"});
  ASSERT_EQ(made.status, 0) << made.err;
  testing::ToolRun checked = tool({"check", dir.path().string(), "MIRTOVALLE", "101"});
  EXPECT_EQ(checked.status, 0) << checked.err;
  EXPECT_NE(checked.err.find("0 errors, 0 warnings"), std::string::npos) << checked.err;
  for (const std::string& text : {starter_pair().line, starter_pair().train}) {
    EXPECT_EQ(text.find('"'), std::string::npos);
    size_t comments = 0;
    for (size_t at = text.find("\r\n--"); at != std::string::npos; at = text.find("\r\n--", at + 1)) ++comments;
    EXPECT_GE(comments, 5u);
  }
}

TEST(NewPair, RefusesToWriteOverEitherFile) {
  for (bool line_there : {true, false}) {
    ScratchDir dir;
    std::filesystem::path there =
        dir.path() / (line_there ? line_description_name("X") : train_description_name("X", "1"));
    testing::write_bytes(there, "mine");
    testing::ToolRun made = tool({"new", dir.path().string(), "X", "1"});
    EXPECT_EQ(made.status, 2);
    EXPECT_NE(made.err.find("already there"), std::string::npos) << made.err;
    EXPECT_EQ(testing::read_bytes(there), "mine");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
  }
}

}  // namespace
}  // namespace lorvena
