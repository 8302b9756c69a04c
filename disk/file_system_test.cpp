#include "disk/file_system.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace lorvena
