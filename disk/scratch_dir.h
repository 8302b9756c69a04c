// A fresh private directory under the system's temporary directory, removed
// with its content when the object goes: the authors' tool compiles there,
// and every test and fuzz run works in one.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace lorvena {

class ScratchDir {
 public:
  explicit ScratchDir(std::string_view prefix = "lorvena-");
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(std::string_view name) const { return path_ / std::string(name); }

 private:
  std::filesystem::path path_;
};

}  // namespace lorvena
