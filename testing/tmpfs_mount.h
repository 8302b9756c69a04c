// A tmpfs mounted over a test's directory, in a mount namespace private to
// the test process: a read-only file system, or a small one that fills up.
// Mounting needs the right to; where the process lacks it, mounted() is
// false and why() says what failed.
#pragma once

#include <filesystem>
#include <string>

namespace lorvena::testing {

class TmpfsMount {
 public:
  // `options` as for mount(8): "ro" or "size=65536".
  TmpfsMount(const std::filesystem::path& dir, const std::string& options);
  ~TmpfsMount();
  TmpfsMount(const TmpfsMount&) = delete;
  TmpfsMount& operator=(const TmpfsMount&) = delete;

  bool mounted() const { return mounted_; }
  const std::string& why() const { return why_; }

 private:
  std::filesystem::path dir_;
  bool mounted_ = false;
  std::string why_;
};

}  // namespace lorvena::testing
