// A fresh private directory under the system's temporary directory, removed
// with its content when the object goes.
#pragma once

#include <filesystem>

namespace lorvena {

class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace lorvena
