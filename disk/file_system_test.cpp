#include "disk/file_system.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "disk/system_disk.h"
#include "testing/faulty_disk.h"
#include "testing/test_files.h"

namespace lorvena {
namespace {

using testing::DiskFault;
using testing::DiskOp;

// A producer that would go on far longer than any file: the first failed
// write must end it there, with nothing left on the disk.
TEST(ReplaceFile, AFailedWriteEndsTheProducerThere) {
  for (int failing_call : {1, 3}) {
    SCOPED_TRACE("write " + std::to_string(failing_call) + " fails");
    ScratchDir dir;
    SystemDisk real;
    testing::FaultyDisk disk(real, DiskFault{DiskOp::kWrite, failing_call, ENOSPC});
    int pieces = 0;
    try {
      replace_file_with(disk, dir / "plan.dat", [&pieces](const ByteSink& sink) {
        for (int i = 0; i < 100000; ++i, ++pieces) sink("0123456789");
      }, Flush::kYes);
      ADD_FAILURE() << "the failed write was not reported";
    } catch (const FileSystemError& e) {
      EXPECT_EQ(e.number(), ENOSPC);
    }
    EXPECT_EQ(pieces, failing_call - 1);
    EXPECT_EQ(testing::list_files(dir.path()), "");
  }
}

namespace fs = std::filesystem;

uint32_t mode_of(const fs::path& path) {
  struct stat info;
  return ::stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

// A replacement reaches the file a link leads to and leaves the link; the
// new file has the old one's permissions, read-only and private ones too.
TEST(ReplaceFile, WritesThroughALinkAndKeepsThePermissions) {
  for (uint32_t mode : {0444u, 0600u, 0640u}) {
    SCOPED_TRACE(mode);
    ScratchDir dir;
    SystemDisk disk;
    testing::write_bytes(dir / "real.txt", "old");
    ASSERT_EQ(::chmod((dir / "real.txt").c_str(), mode), 0);
    fs::create_symlink("real.txt", dir / "link.txt");
    replace_file(disk, dir / "link.txt", "new", Flush::kYes);
    EXPECT_TRUE(fs::is_symlink(dir / "link.txt"));
    EXPECT_EQ(testing::read_bytes(dir / "real.txt"), "new");
    EXPECT_EQ(mode_of(dir / "real.txt"), mode);
    EXPECT_EQ(testing::list_files(dir.path()), "link.txt|real.txt");
  }
}

// The temporary file is made new under a name no one can foresee: a file
// or a link planted under the old fixed name is neither followed nor taken
// away. What a stopped run left under a name of its own making goes; a link
// left there goes without its target.
TEST(ReplaceFile, FollowsNoPlantedNameAndTakesAwayWhatAStoppedRunLeft) {
  ScratchDir dir, elsewhere;
  SystemDisk disk;
  testing::write_bytes(elsewhere / "victim.txt", "keep me");
  testing::write_bytes(dir / "out.dat.tmp", "someone's");
  fs::create_symlink(elsewhere / "victim.txt", dir / "out.dat.0123456789abcdef.tmp");
  testing::write_bytes(dir / "out.dat.fedcba9876543210.tmp", "cut sho");
  fs::create_symlink(elsewhere / "victim.txt", dir / "out.dat.tmp2");
  replace_file(disk, dir / "out.dat", "whole", Flush::kNo);
  EXPECT_EQ(testing::read_bytes(dir / "out.dat"), "whole");
  EXPECT_EQ(testing::read_bytes(dir / "out.dat.tmp"), "someone's");
  EXPECT_EQ(testing::read_bytes(elsewhere / "victim.txt"), "keep me");
  EXPECT_EQ(testing::list_files(dir.path()), "out.dat|out.dat.tmp|out.dat.tmp2");
}

// A new file never takes the place of anything there, a link whose target is
// gone included, and leaves nothing behind when it cannot.
TEST(CreateFile, RefusesANameThatIsTaken) {
  for (std::string_view there : {"file", "link", "dangling link"}) {
    SCOPED_TRACE(there);
    ScratchDir dir;
    SystemDisk disk;
    testing::write_bytes(dir / "mine.txt", "mine");
    if (there == "file") testing::write_bytes(dir / "new.txt", "mine too");
    if (there == "link") fs::create_symlink("mine.txt", dir / "new.txt");
    if (there == "dangling link") fs::create_symlink("gone.txt", dir / "new.txt");
    EXPECT_THROW(create_file(disk, dir / "new.txt", "starter", Flush::kYes), FileInTheWay);
    EXPECT_EQ(testing::read_bytes(dir / "mine.txt"), "mine");
    if (there == "file") EXPECT_EQ(testing::read_bytes(dir / "new.txt"), "mine too");
    else EXPECT_TRUE(fs::is_symlink(dir / "new.txt"));
    EXPECT_EQ(testing::list_files(dir.path()), "mine.txt|new.txt");
  }
  ScratchDir dir;
  SystemDisk disk;
  create_file(disk, dir / "new.txt", "starter", Flush::kYes);
  EXPECT_EQ(testing::read_bytes(dir / "new.txt"), "starter");
}

// A rewrite is for the bytes the caller read: a file changed since, or one
// whose hard links a new file would split, is left as it is.
TEST(RewriteFile, LeavesAFileThatChangedOrHasHardLinks) {
  ScratchDir dir;
  SystemDisk disk;
  testing::write_bytes(dir / "edited.txt", "saved since");
  EXPECT_THROW(rewrite_file(disk, dir / "edited.txt", "read before", "formatted"), FileInTheWay);
  EXPECT_EQ(testing::read_bytes(dir / "edited.txt"), "saved since");
  testing::write_bytes(dir / "linked.txt", "read before");
  fs::create_hard_link(dir / "linked.txt", dir / "other.txt");
  EXPECT_THROW(rewrite_file(disk, dir / "linked.txt", "read before", "formatted"), FileInTheWay);
  EXPECT_EQ(testing::read_bytes(dir / "other.txt"), "read before");
  EXPECT_EQ(testing::list_files(dir.path()), "edited.txt|linked.txt|other.txt");
  testing::write_bytes(dir / "plain.txt", "read before");
  rewrite_file(disk, dir / "plain.txt", "read before", "formatted");
  EXPECT_EQ(testing::read_bytes(dir / "plain.txt"), "formatted");
}

// A failure to tell whether a file is there is a failure, never "absent".
TEST(FileExists, AFailedLookIsAFailureNotAnAbsence) {
  ScratchDir dir;
  SystemDisk real;
  testing::write_bytes(dir / "there.txt", "x");
  EXPECT_TRUE(file_exists(real, dir / "there.txt"));
  EXPECT_FALSE(file_exists(real, dir / "gone.txt"));
  testing::FaultyDisk failing(real, DiskFault{DiskOp::kStatus, 1, EIO});
  EXPECT_THROW(file_exists(failing, dir / "there.txt"), FileSystemError);
  testing::FaultyDisk failing_open(real, DiskFault{DiskOp::kOpenRead, 1, EIO});
  EXPECT_THROW(read_file_if_there(failing_open, dir / "gone.txt"), FileSystemError);
  EXPECT_FALSE(read_file_if_there(real, dir / "gone.txt"));
}

}  // namespace
}  // namespace lorvena
