// The libFuzzer entry point: every input is one compile of a description
// pair in a private directory (see compile_input.h for the input layout).
#include <stdlib.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "fuzz/compile_input.h"

namespace {

// A fresh directory for the whole fuzzing process, removed when it exits.
class WorkDirectory {
 public:
  WorkDirectory() {
    std::string pattern = (std::filesystem::temp_directory_path() / "lorvena-fuzz-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) abort();
    path_ = pattern;
  }
  ~WorkDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const WorkDirectory dir;
  lorvena::fuzz::compile_input(std::string_view(reinterpret_cast<const char*>(data), size), dir.path());
  return 0;
}
