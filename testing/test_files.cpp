#include "testing/test_files.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace lorvena::testing {
namespace fs = std::filesystem;

std::string read_bytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path.string());
  // In bulk: a character at a time is slow in an unoptimised build.
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void write_bytes(const fs::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

std::string list_files(const fs::path& dir) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  std::ostringstream out;
  for (size_t i = 0; i < names.size(); ++i) out << (i ? "|" : "") << names[i];
  return out.str();
}

fs::path built_program(std::string_view name) {
  const char* installer = std::getenv("LORVENA_PF_EXE");
  if (installer == nullptr) return {};
  return fs::path(installer).parent_path() / std::string(name);
}

}  // namespace lorvena::testing
