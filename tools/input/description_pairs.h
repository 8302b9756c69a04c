// The description pairs an author keeps in a directory: a line description
// NAME_linea.txt with one train description NAME_TRAIN-.txt each, as the
// authors' tool lists them when the pair it was asked for is not there.
#pragma once

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "disk/disk.h"

namespace lorvena {

struct DescriptionPair {
  std::string name;
  std::string train;
};

// The names in `dir`; FileSystemError when it cannot be listed.
std::set<std::string> file_names(Disk& disk, const std::filesystem::path& dir);

// Every complete pair in `dir`, sorted by name, then train.
std::vector<DescriptionPair> pairs_in(Disk& disk, const std::filesystem::path& dir);

}  // namespace lorvena
