#include "fuzz/compile_input.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "compiler/compiler.h"
#include "compiler/fatal_error.h"
#include "compiler/packing.h"
#include "disk/file_names.h"
#include "disk/file_system.h"
#include "disk/system_disk.h"

namespace lorvena::fuzz {
namespace fs = std::filesystem;
namespace {

[[noreturn]] void violated(const std::string& what) {
  std::fprintf(stderr, "fuzz check failed: %s\n", what.c_str());
  std::abort();
}

void write_file(const fs::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) violated("cannot write " + path.string());
}

std::string file_content(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) violated("missing " + path.string());
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The size of the plan file: each of the two columns holds one tagged
// element per point: an integer for the origin, a double for a computed
// point, an empty tag for the rest.
uintmax_t plan_size(const Plan& p) {
  uintmax_t points = static_cast<uintmax_t>(p.upper_bound() + 1);
  uintmax_t origin = p.origin_set ? 2 : 0;
  uintmax_t computed = p.next > 2 ? static_cast<uintmax_t>(p.next - 2) : 0;
  uintmax_t empty = points - origin - computed;
  return 2 * (origin * kIntegerElementBytes + computed * kDoubleElementBytes + empty * kTagBytes);
}

// A compiled file must hold exactly what the model says: never cut short.
void check_compiled_files(const Scenario& m, const fs::path& dir) {
  if (file_content(join_path(dir, track_file_name(m.scenario_name, m.train_number))) != track_bytes(m))
    violated("track file differs from the model");
  if (file_content(join_path(dir, table_file_name(m.scenario_name, m.train_number))) != table_bytes(m))
    violated("table file differs from the model");
  fs::path plan = join_path(dir, plan_file_name(m.scenario_name));
  if (m.write_profile == 0) {
    if (fs::exists(plan)) violated("plan file written without write_profile");
    return;
  }
  std::error_code ec;
  if (fs::file_size(plan, ec) != plan_size(m.profile)) violated("plan file has the wrong size");
}

void check_leftovers(const Scenario& m, const fs::path& dir) {
  if (fs::exists(join_path(dir, line_description_name(m.scenario_name))))
    violated("line description not deleted");
  for (const auto& entry : fs::directory_iterator(dir))
    if (entry.path().extension() == ".tmp") violated("temporary file left: " + entry.path().string());
}

void empty_directory(const fs::path& dir) {
  for (const auto& entry : fs::directory_iterator(dir)) fs::remove_all(entry.path());
}

}  // namespace

Outcome compile_input(std::string_view input, const fs::path& dir) {
  Outcome outcome;
  if (input.empty()) return outcome;
  uint8_t flags = static_cast<uint8_t>(input.front());
  input.remove_prefix(1);
  size_t split = input.find('\0');
  std::string_view line = input.substr(0, split);
  std::string_view train = split == std::string_view::npos ? std::string_view{} : input.substr(split + 1);

  Scenario m;
  m.scenario_name = "LORVENA PF";
  m.train_number = "4316";
  if (!(flags & kNoLine)) write_file(join_path(dir, line_description_name(m.scenario_name)), line);
  if (!(flags & kNoTrain))
    write_file(join_path(dir, train_description_name(m.scenario_name, m.train_number)), train);

  try {
    SystemDisk disk;
    memorizza_percorso(disk, m, dir, (flags & kWriteProfile) ? 1 : 0, CompileMode::kCopies);
    if (!m.track.empty()) check_compiled_files(m, dir);
  } catch (const FatalError& e) {
    outcome.fatal = e.number();
  } catch (const std::exception& e) {
    violated(std::string("unexpected exception: ") + e.what());
  }
  outcome.err_code = m.err_code;
  check_leftovers(m, dir);
  empty_directory(dir);
  return outcome;
}

}  // namespace lorvena::fuzz
