#include "testing/file_size_limit.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>

#include "disk/scratch_dir.h"

namespace lorvena::testing {
namespace {

// Writes one byte at `offset` of a fresh file (sparse: nothing before it
// takes room); the errno of a failed write, 0 when it succeeded.
int write_byte_at(off_t offset) {
  ScratchDir dir;
  int fd = open((dir.path() / "sparse").c_str(), O_WRONLY | O_CREAT, 0600);
  if (fd < 0) return errno;
  int result = pwrite(fd, "x", 1, offset) == 1 ? 0 : errno;
  close(fd);
  return result;
}

TEST(FileSizeLimit, AWritePastTheLimitFailsAndIsNoted) {
  rlimit limit{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &limit), 0);
  EXPECT_LE(limit.rlim_cur, kFileSizeLimit);
  EXPECT_EQ(write_byte_at(static_cast<off_t>(limit.rlim_cur) - 1), 0);
  EXPECT_FALSE(take_file_size_limit_reached());
  EXPECT_EQ(write_byte_at(static_cast<off_t>(limit.rlim_cur)), EFBIG);
  EXPECT_TRUE(take_file_size_limit_reached());
}

TEST(FileSizeLimit, ALowerCapFailsTheWriteWithoutReachingTheLimit) {
  {
    ScopedFileSizeCap cap(4096);
    EXPECT_EQ(write_byte_at(4095), 0);
    EXPECT_EQ(write_byte_at(4096), EFBIG);
  }
  EXPECT_FALSE(take_file_size_limit_reached());
  EXPECT_EQ(write_byte_at(4096), 0);
}

}  // namespace
}  // namespace lorvena::testing
