#include "disk/scratch_dir.h"

#include <cerrno>
#include <random>

#include "disk/file_system.h"

namespace lorvena {
namespace fs = std::filesystem;

ScratchDir::ScratchDir(std::string_view prefix) {
  std::random_device seed;
  std::mt19937_64 random(seed());
  fs::path base = fs::temp_directory_path();
  std::error_code ec;
  for (int attempt = 0; attempt < 100; ++attempt) {
    fs::path candidate = base / (std::string(prefix) + std::to_string(random()));
    if (fs::create_directory(candidate, ec)) {
      fs::permissions(candidate, fs::perms::owner_all, fs::perm_options::replace, ec);
      path_ = candidate;
      return;
    }
  }
  throw FileSystemError(FileAction::kWrite, base, ec ? ec.value() : EEXIST);
}

// A test may have left the directory read-only: it is made writable again
// so that everything in it can go.
ScratchDir::~ScratchDir() {
  std::error_code ec;
  fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
  fs::remove_all(path_, ec);
}

}  // namespace lorvena
