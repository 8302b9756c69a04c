// The compiled scenarios a directory holds: a table NAME_TRAIN.sim with its
// track NAME_TRAIN.dat, and the plan NAME_linea.dat when there is one.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "disk/disk.h"

namespace lorvena {

struct CompiledScenario {
  std::string stem;   // NAME_TRAIN
  std::string track;  // file names in the directory
  std::string table;
  std::string plan;  // "" when the directory holds none
};

// Every table with its track in `dir`, sorted by file name (FileSystemError
// when the directory cannot be listed). NAME is not told from TRAIN in NAME_TRAIN, so the
// plan is the longest NAME_linea.dat whose NAME_ begins the stem.
std::vector<CompiledScenario> compiled_scenarios_in(Disk& disk, const std::filesystem::path& dir);

// The files of NAME with TRAIN in `dir`, or nothing when its table or track
// is not there.
std::optional<CompiledScenario> compiled_scenario(Disk& disk, const std::filesystem::path& dir,
                                                  const std::string& name, const std::string& train);

}  // namespace lorvena
