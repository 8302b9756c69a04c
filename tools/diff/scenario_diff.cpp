#include "tools/diff/scenario_diff.h"

#include <algorithm>
#include <cerrno>

#include <nlohmann/json.hpp>

#include "disk/file_names.h"
#include "compiler/packing.h"
#include "disk/file_system.h"
#include "tools/compiled/compiled_decode.h"
#include "tools/diff/compiled_diff.h"
#include "tools/diff/compiled_scenarios.h"
#include "tools/diff/record_diff.h"
#include "tools/diagnosing/author_compile.h"
#include "tools/input/arguments.h"
#include "tools/input/description_pairs.h"
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

void compare(ScenarioDiff& d, CompiledKind kind, const CompiledBytes& a, const CompiledBytes& b, bool cells = true) {
  std::string a_name = fs::path(a.name).filename().string(), b_name = fs::path(b.name).filename().string();
  std::string title = kind_noun(kind) + " " + a_name + (a_name == b_name ? "" : " -> " + b_name);
  d.files.push_back({kind_noun(kind), a.name, b.name, {}, cells});
  add_file(d, title, compiled_changes(kind, a, b), cells);
}

void compare(Disk& disk, ScenarioDiff& d, CompiledKind kind, const fs::path& a, const fs::path& b, bool cells = true) {
  compare(d, kind, {a.string(), read_file(disk, a)}, {b.string(), read_file(disk, b)}, cells);
}

// One directory of a diff: its compiled files, or, when it holds none, the
// files its descriptions compile to (in memory, with the plan).
struct Side {
  CompiledBytes track, table;
  std::optional<CompiledBytes> plan;
  std::optional<DescriptionTexts> descriptions;
  std::optional<std::string> compiled_from;  // "NAME TRAIN" when compiled here
};

std::optional<CompiledScenario> scenario_in(Disk& disk, const fs::path& dir, const std::optional<std::string>& name,
                                            const std::optional<std::string>& train) {
  if (name) return compiled_scenario(disk, dir, *name, *train);
  std::vector<CompiledScenario> all = compiled_scenarios_in(disk, dir);
  if (all.empty()) return std::nullopt;
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

Side compiled_side(Disk& disk, const fs::path& dir, const CompiledScenario& s, const std::optional<std::string>& name) {
  Side side{{join_path(dir, s.track).string(), read_file(disk, join_path(dir, s.track))},
            {join_path(dir, s.table).string(), read_file(disk, join_path(dir, s.table))},
            std::nullopt, descriptions_in(disk, dir, s, name), std::nullopt};
  if (!s.plan.empty()) side.plan = CompiledBytes{join_path(dir, s.plan).string(), read_file(disk, join_path(dir, s.plan))};
  return side;
}

// The one description pair of `dir` (or the one named), compiled in memory.
// A directory without either, or whose pair compiles with an error, cannot
// be compared.
Side described_side(Disk& disk, const fs::path& dir, const std::optional<std::string>& name,
                    const std::optional<std::string>& train) {
  std::vector<DescriptionPair> pairs = pairs_in(disk, dir);
  if (name) std::erase_if(pairs, [&](const DescriptionPair& p) { return p.name != *name || p.train != *train; });
  if (pairs.empty())
    throw UsageError(name ? trf("no compiled scenario (a NAME_TRAIN.sim with its NAME_TRAIN.dat) and no description "
                                "pair {0} {1} in {2}",
                                *name, *train, dir.string())
                          : trf("no compiled scenario (a NAME_TRAIN.sim with its NAME_TRAIN.dat) and no description "
                                "pair in {0}",
                                dir.string()));
  if (pairs.size() > 1) {
    std::string list;
    for (const DescriptionPair& p : pairs) list += (list.empty() ? "" : ", ") + p.name + " " + p.train;
    throw UsageError(trf("{0} holds more than one description pair ({1}); choose one with --name NAME --train TRAIN",
                         dir.string(), list));
  }
  const DescriptionPair& p = pairs.front();
  fs::path line = join_path(dir, line_description_name(p.name));
  fs::path train_file = join_path(dir, train_description_name(p.name, p.train));
  DescriptionTexts texts{line.string(), read_file(disk, line), train_file.string(), read_file(disk, train_file)};
  CompileResult r = compile_texts({dir, p.name, p.train, true, std::nullopt}, texts.line_text, texts.train_text);
  if (r.model.err_code != 0 || !r.fatal.empty() || r.model.track.empty())
    throw UsageError(r.fatal.empty() ? trf("the descriptions {0} {1} in {2} compile with error {3} (scenario_tool check "
                                           "tells it); diff compares what compiles clean",
                                           p.name, p.train, dir.string(), r.model.err_code)
                                     : trf("the descriptions {0} {1} in {2} compile with fatal error {3} (scenario_tool "
                                           "check tells it); diff compares what compiles clean",
                                           p.name, p.train, dir.string(), r.fatal));
  std::string plan;
  pack_plan(r.model.profile, [&](std::string_view piece) { plan.append(piece); });
  return {{join_path(dir, track_file_name(p.name, p.train)).string(), track_bytes(r.model)},
          {join_path(dir, table_file_name(p.name, p.train)).string(), table_bytes(r.model)},
          CompiledBytes{join_path(dir, plan_file_name(p.name)).string(), std::move(plan)},
          std::move(texts),
          p.name + " " + p.train};
}

Side side_in(Disk& disk, const fs::path& dir, const std::optional<std::string>& name,
             const std::optional<std::string>& train) {
  if (std::optional<CompiledScenario> s = scenario_in(disk, dir, name, train)) return compiled_side(disk, dir, *s, name);
  return described_side(disk, dir, name, train);
}

// The records' changes when both directories hold the descriptions; then the
// compiled files' cells are listed only when `cells` asks for them.
bool add_records(ScenarioDiff& d, const Side& a, const Side& b) {
  if (!a.descriptions || !b.descriptions) return false;
  std::vector<std::string> changes = record_changes(*a.descriptions, *b.descriptions);
  d.records = changes;
  d.text += "descriptions: " + std::string(changes.empty() ? "equal" : "differ") + "\n";
  for (const std::string& c : changes) d.text += "  " + c + "\n";
  d.differ = d.differ || !changes.empty();
  return true;
}

ScenarioDiff diff_directories(Disk& disk, const fs::path& a, const fs::path& b, const std::optional<std::string>& name,
                              const std::optional<std::string>& train, bool cells) {
  Side in_a = side_in(disk, a, name, train), in_b = side_in(disk, b, name, train);
  ScenarioDiff d;
  for (const auto& [side, label] : {std::pair{&in_a, "A"}, std::pair{&in_b, "B"}})
    if (side->compiled_from) d.text += std::string(label) + ": compiled from the descriptions " + *side->compiled_from + "\n";
  cells = !add_records(d, in_a, in_b) || cells;
  compare(d, CompiledKind::kTrack, in_a.track, in_b.track, cells);
  compare(d, CompiledKind::kTable, in_a.table, in_b.table, cells);
  if (in_a.plan && in_b.plan) {
    compare(d, CompiledKind::kPlan, *in_a.plan, *in_b.plan, cells);
  } else if (!in_a.plan && !in_b.plan) {
    d.text += "plan: in neither directory\n";
  } else {
    d.differ = true;
    d.plan_only_in = in_a.plan ? "A" : "B";
    std::string only = fs::path((in_a.plan ? in_a.plan : in_b.plan)->name).filename().string();
    d.text += "plan " + only + ": only in " + *d.plan_only_in + "\n";
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
