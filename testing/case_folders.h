// Fresh folders for the fault walks, one a case, the one before taken away.
// They live on a tmpfs where the process may mount one: its flushes cost
// nothing, where a disk's would make the hundreds of runs take many times
// longer (they still pass there).
#pragma once

#include <filesystem>
#include <string>

#include "disk/scratch_dir.h"
#include "testing/tmpfs_mount.h"

namespace lorvena::testing {

class CaseFolders {
 public:
  // `size` as mount(8) takes it: "256m".
  explicit CaseFolders(const std::string& size);
  std::filesystem::path fresh();

 private:
  ScratchDir root_;
  TmpfsMount tmpfs_;
  int made_ = 0;
};

// The file a temporary file is written for (its name, a dot, sixteen hex
// digits and ".tmp"); `name` itself when it is no temporary.
std::string without_temporary_tail(const std::string& name);

}  // namespace lorvena::testing
