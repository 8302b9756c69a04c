// The commands that write descriptions keep the author's files: `new` and
// `decompile` write over none unless told to and make a missing folder; `fmt`
// rewrites the file a link leads to, keeps its permissions and leaves one
// with other hard links; and what the tool prints must reach its reader.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>

#include "disk/file_names.h"
#include "disk/scratch_dir.h"
#include "testing/example_pair.h"
#include "testing/test_files.h"
#include "testing/tool_run.h"

namespace lorvena {
namespace {

namespace fs = std::filesystem;
using testing::tool;
using testing::ToolRun;

const std::string kName = testing::kExampleName, kTrain = testing::kExampleTrain;
const std::string kLine = line_description_name(kName), kTrainFile = train_description_name(kName, kTrain);

uint32_t mode_of(const fs::path& path) {
  struct stat info;
  return ::stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

// The arguments that write the pair into `out`: `new`, or `decompile` of the
// example compiled into `compiled`.
std::vector<std::string> writing(const std::string& command, const fs::path& compiled, const fs::path& out) {
  if (command == "new") return {"new", out.string(), kName, kTrain};
  return {"decompile", compiled.string(), kName, kTrain, "--out", out.string()};
}

TEST(AuthorFiles, NewAndDecompileWriteOverNothingUnlessForcedAndMakeTheirFolder) {
  ScratchDir compiled;
  ASSERT_EQ(tool({"compile", testing::examples_dir().string(), kName, kTrain, "--out", compiled.path().string()}).status, 0);
  for (const std::string command : {"new", "decompile"}) {
    for (const std::string& there : {kLine, kTrainFile}) {
      SCOPED_TRACE(command + " with " + there + " there");
      ScratchDir dir;
      testing::write_bytes(dir / there, "the author's own\r\n");
      ToolRun refused = tool(writing(command, compiled.path(), dir.path()));
      EXPECT_EQ(refused.status, 2);
      EXPECT_NE(refused.err.find(there + " is already there: nothing written (--force writes over it)"),
                std::string::npos) << refused.err;
      EXPECT_EQ(testing::list_files(dir.path()), there);
      EXPECT_EQ(testing::read_bytes(dir / there), "the author's own\r\n");
      std::vector<std::string> forced = writing(command, compiled.path(), dir.path());
      forced.push_back("--force");
      ToolRun written = tool(forced);
      EXPECT_EQ(written.status, 0) << written.err;
      EXPECT_NE(testing::read_bytes(dir / there), "the author's own\r\n");
    }
    ScratchDir dir;
    ToolRun made = tool(writing(command, compiled.path(), dir / "a" / "b"));
    EXPECT_EQ(made.status, 0) << command << ": " << made.err;
    EXPECT_EQ(testing::list_files(dir / "a" / "b"), kTrainFile + "|" + kLine);
  }
}

// The example with its columns undone: fmt rewrites it.
void untidy_pair(const fs::path& dir) {
  for (const std::string& f : {kLine, kTrainFile}) {
    std::string text = testing::read_bytes(testing::examples_dir() / f);
    for (size_t at = text.find("  "); at != std::string::npos; at = text.find("  ", at)) text.erase(at, 1);
    testing::write_bytes(dir / f, text);
  }
}

TEST(AuthorFiles, FmtRewritesThroughALinkKeepsPermissionsAndLeavesHardLinks) {
  ScratchDir dir, kept;
  untidy_pair(kept.path());
  const std::string untidy_line = testing::read_bytes(kept / kLine);
  fs::rename(kept / kLine, kept / "line.txt");
  fs::create_symlink(kept / "line.txt", dir / kLine);
  fs::copy_file(kept / kTrainFile, dir / kTrainFile);
  ASSERT_EQ(::chmod((kept / "line.txt").c_str(), 0600), 0);
  ASSERT_EQ(::chmod((dir / kTrainFile).c_str(), 0444), 0);
  ToolRun formatted = tool({"fmt", dir.path().string(), kName, kTrain});
  ASSERT_EQ(formatted.status, 0) << formatted.err;
  EXPECT_TRUE(fs::is_symlink(dir / kLine));
  EXPECT_NE(testing::read_bytes(kept / "line.txt"), untidy_line);
  EXPECT_EQ(mode_of(kept / "line.txt"), 0600u);
  EXPECT_EQ(mode_of(dir / kTrainFile), 0444u);
  EXPECT_EQ(tool({"fmt", "--check", dir.path().string(), kName, kTrain}).status, 0);

  ScratchDir linked;
  untidy_pair(linked.path());
  fs::create_hard_link(linked / kLine, linked / "elsewhere.txt");
  const std::string before = testing::read_bytes(linked / kLine);
  ToolRun refused = tool({"fmt", linked.path().string(), kName, kTrain});
  EXPECT_EQ(refused.status, 2);
  EXPECT_NE(refused.err.find("hard links"), std::string::npos) << refused.err;
  EXPECT_EQ(testing::read_bytes(linked / kLine), before);
  EXPECT_EQ(testing::read_bytes(linked / "elsewhere.txt"), before);
}

// Output that cannot be written fails the command, whatever it printed.
TEST(AuthorFiles, AStandardOutputThatCannotBeWrittenFailsTheCommand) {
  const fs::path exe = testing::built_program("scenario_tool");
  ASSERT_FALSE(exe.empty()) << "LORVENA_PF_EXE is not set: run the tests through ctest";
  ScratchDir dir;
  ASSERT_EQ(tool({"compile", testing::examples_dir().string(), kName, kTrain, "--out", dir.path().string()}).status, 0);
  const std::string dump = "'" + exe.string() + "' dump --json '" + (dir / track_file_name(kName, kTrain)).string() + "'";
  const std::string err = (dir / "err.txt").string();
  int full = std::system((dump + " > /dev/full 2> '" + err + "'").c_str());
  ASSERT_TRUE(WIFEXITED(full));
  EXPECT_EQ(WEXITSTATUS(full), 3);
  EXPECT_NE(testing::read_bytes(err).find("scenario_tool: cannot write standard output"), std::string::npos)
      << testing::read_bytes(err);
  int fine = std::system((dump + " > /dev/null").c_str());
  EXPECT_EQ(WEXITSTATUS(fine), 0);
}

}  // namespace
}  // namespace lorvena
