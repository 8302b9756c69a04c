#include "testing/tmpfs_mount.h"

#include <sched.h>
#include <sys/mount.h>

#include <cerrno>
#include <cstring>

namespace lorvena::testing {

TmpfsMount::TmpfsMount(const std::filesystem::path& dir, const std::string& options) : dir_(dir) {
  // The mount must not show outside this process, nor outlive it.
  if (unshare(CLONE_NEWNS) != 0) {
    why_ = std::string("unshare: ") + std::strerror(errno);
    return;
  }
  if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
    why_ = std::string("private /: ") + std::strerror(errno);
    return;
  }
  unsigned long flags = options == "ro" ? MS_RDONLY : 0;
  std::string data = options == "ro" ? "" : options;
  if (mount("tmpfs", dir.c_str(), "tmpfs", flags, data.c_str()) != 0) {
    why_ = std::string("mount tmpfs: ") + std::strerror(errno);
    return;
  }
  mounted_ = true;
}

TmpfsMount::~TmpfsMount() {
  if (mounted_) umount2(dir_.c_str(), MNT_DETACH);
}

}  // namespace lorvena::testing
