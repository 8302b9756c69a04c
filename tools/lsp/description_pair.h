// The description pair an edited file belongs to, found from its name:
// NAME_linea.txt is the line of NAME, NAME_TRAIN-.txt a train of it. The
// other file of the pair is an open document or a file beside it.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "disk/disk.h"

namespace lorvena {

struct PairFiles {
  std::filesystem::path dir;
  std::string name;   // as the files are named (UTF-8)
  std::string train;  // empty: no train description beside a line description
  std::filesystem::path line_path() const;
  std::filesystem::path train_path() const;
};

// Is there such a file, open in the editor or on disk?
using FileKnown = std::function<bool(const std::filesystem::path&)>;

// Nothing when the name is neither a line nor a train description. A line's
// train: the first of the trains beside it (open ones first).
std::optional<PairFiles> pair_of(Disk& disk, const std::filesystem::path& file, const FileKnown& open,
                                 const FileKnown& on_disk);

}  // namespace lorvena
