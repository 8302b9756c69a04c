// Replays fuzz inputs without libFuzzer: every file of the directories given
// goes through the same compile as under the fuzzer. A seed named
// "e<code>_..." must end with that recorded error ("e1250_...": that fatal
// error); other files (crash inputs kept as regressions) only must not fail.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "disk/scratch_dir.h"
#include "fuzz/compile_input.h"

namespace fs = std::filesystem;
using lorvena::fuzz::Outcome;

namespace {

std::optional<std::string> expected_code(const std::string& name) {
  if (name.size() < 2 || name[0] != 'e') return std::nullopt;
  size_t end = name.find('_');
  std::string digits = name.substr(1, end == std::string::npos ? std::string::npos : end - 1);
  if (digits.empty() || !std::all_of(digits.begin(), digits.end(), ::isdigit)) return std::nullopt;
  return std::to_string(std::stoi(digits));
}

std::string reached(const Outcome& outcome) {
  return outcome.fatal.empty() ? std::to_string(outcome.err_code) : outcome.fatal;
}

std::vector<fs::path> inputs_in(const std::vector<fs::path>& dirs) {
  std::vector<fs::path> files;
  for (const fs::path& dir : dirs)
    for (const auto& entry : fs::directory_iterator(dir))
      if (entry.is_regular_file() && entry.path().filename().string()[0] != '.') files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<fs::path> dirs(argv + 1, argv + argc);
  lorvena::ScratchDir work("lorvena-replay-");
  int failures = 0;
  std::vector<fs::path> files = inputs_in(dirs);
  for (const fs::path& file : files) {
    std::ifstream in(file, std::ios::binary);
    std::string input(std::istreambuf_iterator<char>(in), {});
    Outcome outcome = lorvena::fuzz::compile_input(input, work.path());
    std::optional<std::string> expected = expected_code(file.filename().string());
    bool ok = !expected || *expected == reached(outcome);
    std::printf("%s %s: %s\n", ok ? "ok  " : "FAIL", file.filename().c_str(), reached(outcome).c_str());
    if (!ok) ++failures;
  }
  std::printf("%zu inputs, %d failed\n", files.size(), failures);
  return files.empty() || failures != 0 ? 1 : 0;
}
