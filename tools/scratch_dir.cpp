#include "tools/scratch_dir.h"

#include <random>
#include <string>

#include "sources/file_system.h"

namespace lorvena {
namespace fs = std::filesystem;

ScratchDir::ScratchDir() {
  std::random_device seed;
  std::mt19937_64 random(seed());
  fs::path base = fs::temp_directory_path();
  for (int attempt = 0; attempt < 100; ++attempt) {
    fs::path candidate = base / ("scenario-tool-" + std::to_string(random()));
    std::error_code ec;
    if (fs::create_directory(candidate, ec)) {
      fs::permissions(candidate, fs::perms::owner_all, fs::perm_options::replace, ec);
      path_ = candidate;
      return;
    }
  }
  throw FileSystemError(75, "cannot create a scratch directory in " + base.string());
}

ScratchDir::~ScratchDir() {
  std::error_code ec;
  fs::remove_all(path_, ec);
}

}  // namespace lorvena
