// The description pairs an author keeps in a directory: a line description
// NAME_linea.txt with one train description NAME_TRAIN-.txt each, as the
// authors' tool lists them when the pair it was asked for is not there.
#pragma once

#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace lorvena {

struct DescriptionPair {
  std::string name;
  std::string train;
};

// The names of the regular files in `dir`; none when it cannot be read.
std::set<std::string> file_names(const std::filesystem::path& dir);

// Every complete pair in `dir`, sorted by name, then train; none when the
// directory cannot be read.
std::vector<DescriptionPair> pairs_in(const std::filesystem::path& dir);

}  // namespace lorvena
