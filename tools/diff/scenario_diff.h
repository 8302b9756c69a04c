// `scenario_tool diff A B`: two directories, each holding one compiled
// scenario (or the one named), or two compiled files of one kind, compared
// file by file: a title a file ("track VALDORNO_2417.dat: equal" or
// ": differs"), then its changes, at most kMaxChangeLines of them. When both
// directories hold the descriptions, their changes come first, record by
// record, and the files' changes are only counted unless `cells` is set.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json_fwd.hpp>

#include "disk/disk.h"

namespace lorvena {

inline constexpr size_t kMaxChangeLines = 40;

// One compiled file of each side compared.
struct FileDiff {
  std::string kind;  // "track", "table" or "plan"
  std::string a, b;  // the two files' paths
  std::vector<std::string> changes;  // every change, in the order of the file
  bool listed = true;  // false: the text only counts the changes
};

struct ScenarioDiff {
  std::string text;
  bool differ = false;
  // The descriptions' changes record by record, when both sides hold them.
  std::optional<std::vector<std::string>> records;
  std::vector<FileDiff> files;
  std::optional<std::string> plan_only_in;  // "A" or "B" when one side has no plan
};

// The diff as one JSON object: differ; descriptions (null, or the record
// changes); files, each with kind, a, b, equal, change_count and, when the
// cells are listed, every change (not cut as the text's list is);
// plan_only_in.
nlohmann::ordered_json diff_value(const ScenarioDiff& d);

// Operands that do not name two directories or two files of one kind, and
// directories without the scenario to compare, throw UsageError; a file that
// cannot be read throws FileSystemError, one that does not decode DecodeError.
// `name` and `train` (both or neither) choose the scenario in directories.
ScenarioDiff diff_scenarios(Disk& disk, const std::filesystem::path& a, const std::filesystem::path& b,
                            const std::optional<std::string>& name, const std::optional<std::string>& train,
                            bool cells = true);

}  // namespace lorvena
