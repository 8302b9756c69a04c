#include "tools/diff/compiled_scenarios.h"

#include <set>

#include "disk/file_names.h"
#include "tools/input/description_pairs.h"

namespace lorvena {
namespace {

constexpr std::string_view kTableTail = ".sim";

std::string plan_for(const std::set<std::string>& names, const std::string& stem) {
  std::string tail = plan_file_name(""), best;
  for (const std::string& file : names) {
    if (file.size() <= tail.size() || !file.ends_with(tail)) continue;
    std::string head = file.substr(0, file.size() - tail.size()) + "_";
    if (stem.size() > head.size() && stem.starts_with(head) && file.size() > best.size()) best = file;
  }
  return best;
}

}  // namespace

std::vector<CompiledScenario> compiled_scenarios_in(Disk& disk, const std::filesystem::path& dir) {
  std::set<std::string> names = file_names(disk, dir);
  std::vector<CompiledScenario> found;
  for (const std::string& file : names) {
    if (file.size() <= kTableTail.size() || !file.ends_with(kTableTail)) continue;
    std::string stem = file.substr(0, file.size() - kTableTail.size());
    if (names.count(stem + ".dat") == 0) continue;
    found.push_back({stem, stem + ".dat", file, plan_for(names, stem)});
  }
  return found;
}

std::optional<CompiledScenario> compiled_scenario(Disk& disk, const std::filesystem::path& dir,
                                                  const std::string& name, const std::string& train) {
  std::set<std::string> names = file_names(disk, dir);
  CompiledScenario s{name + "_" + train, track_file_name(name, train), table_file_name(name, train),
                     plan_file_name(name)};
  if (names.count(s.track) == 0 || names.count(s.table) == 0) return std::nullopt;
  if (names.count(s.plan) == 0) s.plan.clear();
  return s;
}

}  // namespace lorvena
