#include "testing/case_folders.h"

namespace lorvena::testing {
namespace fs = std::filesystem;

CaseFolders::CaseFolders(const std::string& size) : tmpfs_(root_.path(), "size=" + size) {}

fs::path CaseFolders::fresh() {
  fs::remove_all(root_ / ("case" + std::to_string(made_)));
  fs::path dir = root_ / ("case" + std::to_string(++made_));
  fs::create_directory(dir);
  return dir;
}

std::string without_temporary_tail(const std::string& name) {
  const std::string suffix = ".tmp";
  const size_t tag = 1 + 16;
  if (name.size() <= suffix.size() + tag || !name.ends_with(suffix)) return name;
  return name.substr(0, name.size() - suffix.size() - tag);
}

}  // namespace lorvena::testing
