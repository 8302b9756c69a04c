#include "tools/lsp/description_pair.h"

#include "disk/file_names.h"
#include "tools/input/description_pairs.h"

namespace lorvena {
namespace {

constexpr std::string_view kLineEnd = "_linea.txt";
constexpr std::string_view kTrainEnd = "-.txt";

bool ends_with(const std::string& s, std::string_view end) {
  return s.size() > end.size() && s.compare(s.size() - end.size(), end.size(), end) == 0;
}

std::optional<PairFiles> line_pair(Disk& disk, const std::filesystem::path& dir, const std::string& name,
                                   const FileKnown& open) {
  PairFiles p{dir, name, ""};
  std::string prefix = name + "_";
  for (const std::string& f : file_names(disk, dir)) {
    if (f.size() <= prefix.size() || f.compare(0, prefix.size(), prefix) != 0 || !ends_with(f, kTrainEnd)) continue;
    std::string train = f.substr(prefix.size(), f.size() - prefix.size() - kTrainEnd.size());
    if (train == "linea" || train.empty()) continue;
    if (p.train.empty()) p.train = train;
    if (open(dir / f)) return PairFiles{dir, name, train};
  }
  return p;
}

}  // namespace

std::filesystem::path PairFiles::line_path() const { return dir / (name + std::string(kLineEnd)); }
std::filesystem::path PairFiles::train_path() const { return dir / (name + "_" + train + std::string(kTrainEnd)); }

std::optional<PairFiles> pair_of(Disk& disk, const std::filesystem::path& file, const FileKnown& open,
                                 const FileKnown& on_disk) {
  std::filesystem::path dir = file.parent_path();
  std::string f = file.filename().string();
  if (ends_with(f, kLineEnd)) return line_pair(disk, dir, f.substr(0, f.size() - kLineEnd.size()), open);
  if (!ends_with(f, kTrainEnd)) return std::nullopt;
  std::string stem = f.substr(0, f.size() - kTrainEnd.size());
  size_t cut = stem.rfind('_');
  if (cut == std::string::npos || cut == 0 || cut + 1 == stem.size()) return std::nullopt;
  // NAME may hold '_' itself: the pair is the split whose line description exists.
  for (size_t at = cut; at != std::string::npos && at > 0; at = stem.rfind('_', at - 1)) {
    PairFiles p{dir, stem.substr(0, at), stem.substr(at + 1)};
    if (open(p.line_path()) || on_disk(p.line_path())) return p;
    if (at == 0) break;
  }
  return PairFiles{dir, stem.substr(0, cut), stem.substr(cut + 1)};
}

}  // namespace lorvena
