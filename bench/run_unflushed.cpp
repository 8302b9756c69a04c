// The installer's complete run on a disk that skips the flushes and does
// every other call as the program does: what the run costs without them, for
// the whole-process timings. Never shipped.
#include <cstdio>

#include "app/form1.h"
#include "app/platform_native.h"
#include "disk/system_disk.h"

namespace {

class UnflushedDisk : public lorvena::SystemDisk {
 public:
  int sync(lorvena::FileHandle) override { return 0; }
  int sync_directory(const std::filesystem::path&) override { return 0; }
};

}  // namespace

int main() {
  lorvena::NativePlatform platform(lorvena::executable_directory(), stdout, stderr);
  UnflushedDisk disk;
  return lorvena::run_installer(platform, disk);
}
