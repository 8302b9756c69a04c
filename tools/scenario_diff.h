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

#include "files/disk.h"

namespace lorvena {

inline constexpr size_t kMaxChangeLines = 40;

struct ScenarioDiff {
  std::string text;
  bool differ = false;
};

// Operands that do not name two directories or two files of one kind, and
// directories without the scenario to compare, throw UsageError; a file that
// cannot be read throws FileSystemError, one that does not decode DecodeError.
// `name` and `train` (both or neither) choose the scenario in directories.
ScenarioDiff diff_scenarios(Disk& disk, const std::filesystem::path& a, const std::filesystem::path& b,
                            const std::optional<std::string>& name, const std::optional<std::string>& train,
                            bool cells = true);

}  // namespace lorvena
