#include "tools/input/description_pairs.h"

#include <algorithm>

#include "disk/file_names.h"
#include "disk/file_system.h"

namespace lorvena {
namespace fs = std::filesystem;

std::set<std::string> file_names(Disk& disk, const fs::path& dir) {
  std::vector<std::string> names = list_folder(disk, dir);
  return {names.begin(), names.end()};
}

namespace {

// The scenario name of a line description's file name, or "" for another file.
std::string line_name(const std::string& file) {
  std::string tail = line_description_name("");
  if (file.size() <= tail.size() || !file.ends_with(tail)) return {};
  return file.substr(0, file.size() - tail.size());
}

}  // namespace

std::vector<DescriptionPair> pairs_in(Disk& disk, const fs::path& dir) {
  std::set<std::string> names = file_names(disk, dir);
  std::vector<DescriptionPair> pairs;
  for (const std::string& file : names) {
    std::string name = line_name(file);
    if (name.empty()) continue;
    std::string head = name + "_", tail = "-.txt";
    for (const std::string& other : names) {
      if (other.size() <= head.size() + tail.size()) continue;
      if (!other.starts_with(head) || !other.ends_with(tail)) continue;
      std::string train = other.substr(head.size(), other.size() - head.size() - tail.size());
      if (other == train_description_name(name, train)) pairs.push_back({name, train});
    }
  }
  std::sort(pairs.begin(), pairs.end(), [](const DescriptionPair& a, const DescriptionPair& b) {
    return a.name != b.name ? a.name < b.name : a.train < b.train;
  });
  return pairs;
}

}  // namespace lorvena
