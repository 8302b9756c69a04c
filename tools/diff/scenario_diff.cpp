#include "tools/diff/scenario_diff.h"

#include <algorithm>
#include <cerrno>

#include <nlohmann/json.hpp>

#include "disk/file_names.h"
#include "disk/file_system.h"
#include "tools/compiled/compiled_decode.h"
#include "tools/diff/compiled_diff.h"
#include "tools/diff/compiled_scenarios.h"
#include "tools/diff/record_diff.h"
#include "tools/input/arguments.h"
#include "tools/text/messages.h"

namespace lorvena {
namespace fs = std::filesystem;

namespace {

// Whether `path` is a folder; a usage error when nothing is there.
bool is_folder(Disk& disk, const fs::path& path) {
  FileStatus status;
  int number = disk.status(path, status);
  if (number == ENOENT || number == ENOTDIR) throw UsageError(trf("{0} does not exist", path.string()));
  if (number != 0) throw FileSystemError(FileAction::kRead, path, number);
  return status.type == FileStatus::Type::kDirectory;
}

std::string kind_noun(CompiledKind kind) {
  switch (kind) {
    case CompiledKind::kTrack: return "track";
    case CompiledKind::kTable: return "table";
    case CompiledKind::kPlan: return "plan";
  }
  return {};
}

// A file's title, then its changes cut at kMaxChangeLines, or only how
// many there are when `cells` is false.
void add_file(ScenarioDiff& d, const std::string& title, const std::vector<std::string>& changes, bool cells) {
  d.files.back().changes = changes;
  d.files.back().listed = cells;
  if (changes.empty()) {
    d.text += title + ": equal\n";
    return;
  }
  d.differ = true;
  if (!cells) {
    d.text += title + ": differs (" + std::to_string(changes.size()) + (changes.size() == 1 ? " change; --cells lists it)\n" : " changes; --cells lists them)\n");
    return;
  }
  d.text += title + ": differs\n";
  size_t shown = std::min(changes.size(), kMaxChangeLines);
  for (size_t i = 0; i < shown; ++i) d.text += "  " + changes[i] + "\n";
  if (changes.size() > shown) d.text += "  ... and " + std::to_string(changes.size() - shown) + " more\n";
}

void compare(Disk& disk, ScenarioDiff& d, CompiledKind kind, const fs::path& a, const fs::path& b, bool cells = true) {
  std::string a_name = a.filename().string(), b_name = b.filename().string();
  std::string title = kind_noun(kind) + " " + a_name + (a_name == b_name ? "" : " -> " + b_name);
  CompiledBytes a_file{a.string(), read_file(disk, a)}, b_file{b.string(), read_file(disk, b)};
  d.files.push_back({kind_noun(kind), a.string(), b.string(), {}, cells});
  add_file(d, title, compiled_changes(kind, a_file, b_file), cells);
}

CompiledScenario scenario_in(Disk& disk, const fs::path& dir, const std::optional<std::string>& name,
                             const std::optional<std::string>& train) {
  if (name) {
    std::optional<CompiledScenario> s = compiled_scenario(disk, dir, *name, *train);
    if (!s)
      throw UsageError(trf("no compiled scenario {0} {1} in {2} ({3} with {4})", *name, *train, dir.string(),
                           table_file_name(*name, *train), track_file_name(*name, *train)));
    return *s;
  }
  std::vector<CompiledScenario> all = compiled_scenarios_in(disk, dir);
  if (all.empty())
    throw UsageError(trf("no compiled scenario (a NAME_TRAIN.sim with its NAME_TRAIN.dat) in {0}", dir.string()));
  if (all.size() == 1) return all[0];
  std::string stems;
  for (const CompiledScenario& s : all) stems += (stems.empty() ? "" : ", ") + s.stem;
  throw UsageError(trf("{0} holds more than one compiled scenario ({1}); choose one with --name NAME --train TRAIN, or "
                       "compare two files",
                       dir.string(), stems));
}

// The descriptions the scenario was compiled from, when `dir` holds both:
// NAME from --name, or from the plan's name, or the split of NAME_TRAIN
// whose two descriptions are there.
std::optional<DescriptionTexts> descriptions_in(Disk& disk, const fs::path& dir, const CompiledScenario& s,
                                               const std::optional<std::string>& name) {
  std::vector<std::string> names;
  if (name) names.push_back(*name);
  else if (!s.plan.empty()) names.push_back(s.plan.substr(0, s.plan.size() - std::string("_linea.dat").size()));
  for (size_t at = s.stem.find('_'); !name && at != std::string::npos; at = s.stem.find('_', at + 1))
    names.push_back(s.stem.substr(0, at));
  for (const std::string& n : names) {
    if (n.size() + 1 >= s.stem.size()) continue;
    fs::path line = join_path(dir, line_description_name(n));
    fs::path train = join_path(dir, train_description_name(n, s.stem.substr(n.size() + 1)));
    if (file_exists(disk, line) && file_exists(disk, train))
      return DescriptionTexts{line.string(), read_file(disk, line), train.string(), read_file(disk, train)};
  }
  return std::nullopt;
}

// The records' changes when both directories hold the descriptions; then the
// compiled files' cells are listed only when `cells` asks for them.
bool add_records(Disk& disk, ScenarioDiff& d, const fs::path& a, const fs::path& b, const CompiledScenario& in_a,
                 const CompiledScenario& in_b, const std::optional<std::string>& name) {
  std::optional<DescriptionTexts> da = descriptions_in(disk, a, in_a, name), db = descriptions_in(disk, b, in_b, name);
  if (!da || !db) return false;
  std::vector<std::string> changes = record_changes(*da, *db);
  d.records = changes;
  d.text += "descriptions: " + std::string(changes.empty() ? "equal" : "differ") + "\n";
  for (const std::string& c : changes) d.text += "  " + c + "\n";
  d.differ = d.differ || !changes.empty();
  return true;
}

ScenarioDiff diff_directories(Disk& disk, const fs::path& a, const fs::path& b, const std::optional<std::string>& name,
                              const std::optional<std::string>& train, bool cells) {
  CompiledScenario in_a = scenario_in(disk, a, name, train), in_b = scenario_in(disk, b, name, train);
  ScenarioDiff d;
  cells = !add_records(disk, d, a, b, in_a, in_b, name) || cells;
  compare(disk, d, CompiledKind::kTrack, join_path(a, in_a.track), join_path(b, in_b.track), cells);
  compare(disk, d, CompiledKind::kTable, join_path(a, in_a.table), join_path(b, in_b.table), cells);
  if (!in_a.plan.empty() && !in_b.plan.empty()) {
    compare(disk, d, CompiledKind::kPlan, join_path(a, in_a.plan), join_path(b, in_b.plan), cells);
  } else if (in_a.plan.empty() && in_b.plan.empty()) {
    d.text += "plan: in neither directory\n";
  } else {
    d.differ = true;
    d.plan_only_in = in_a.plan.empty() ? "B" : "A";
    d.text += "plan " + (in_a.plan.empty() ? in_b.plan + ": only in B\n" : in_a.plan + ": only in A\n");
  }
  return d;
}

std::string kind_with_article(CompiledKind kind) {
  switch (kind) {
    case CompiledKind::kTrack: return std::string(tr("a track (.dat)"));
    case CompiledKind::kTable: return std::string(tr("a table (.sim)"));
    case CompiledKind::kPlan: return std::string(tr("a plan (_linea.dat)"));
  }
  return {};
}

ScenarioDiff diff_files(Disk& disk, const fs::path& a, const fs::path& b) {
  CompiledKind kind_a = compiled_kind(a.filename().string()), kind_b = compiled_kind(b.filename().string());
  if (kind_a != kind_b)
    throw UsageError(trf("{0} is {1} and {2} {3}: diff compares two files of one kind", a.string(),
                         kind_with_article(kind_a), b.string(), kind_with_article(kind_b)));
  ScenarioDiff d;
  compare(disk, d, kind_a, a, b);
  return d;
}

}  // namespace

nlohmann::ordered_json diff_value(const ScenarioDiff& d) {
  nlohmann::ordered_json out;
  out["differ"] = d.differ;
  out["descriptions"] = d.records ? nlohmann::ordered_json(*d.records) : nlohmann::ordered_json();
  nlohmann::ordered_json files = nlohmann::ordered_json::array();
  for (const FileDiff& f : d.files) {
    nlohmann::ordered_json one;
    one["kind"] = f.kind;
    one["a"] = f.a;
    one["b"] = f.b;
    one["equal"] = f.changes.empty();
    one["change_count"] = f.changes.size();
    if (f.listed) one["changes"] = f.changes;
    files.push_back(std::move(one));
  }
  out["files"] = std::move(files);
  out["plan_only_in"] = d.plan_only_in ? nlohmann::ordered_json(*d.plan_only_in) : nlohmann::ordered_json();
  return out;
}

ScenarioDiff diff_scenarios(Disk& disk, const fs::path& a, const fs::path& b, const std::optional<std::string>& name,
                            const std::optional<std::string>& train, bool cells) {
  if (name.has_value() != train.has_value()) throw UsageError(std::string(tr("--name and --train go together")));
  bool a_dir = is_folder(disk, a), b_dir = is_folder(disk, b);
  if (a_dir && b_dir) return diff_directories(disk, a, b, name, train, cells);
  if (a_dir || b_dir)
    throw UsageError(trf("diff compares two directories or two files; {0} is a directory and {1} is not",
                         (a_dir ? a : b).string(), (a_dir ? b : a).string()));
  if (name)
    throw UsageError(std::string(tr("--name and --train choose a scenario in two directories, not between two files")));
  return diff_files(disk, a, b);
}

}  // namespace lorvena
