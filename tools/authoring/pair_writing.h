// Writes a description pair into an author's folder for `new` and
// `decompile`: the folder made when missing, each file durable, and never
// over a file already there unless the author says so.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "disk/disk.h"

namespace lorvena {

enum class Overwrite { kNever, kYes };

// Writes NAME_linea.txt and NAME_TRAIN-.txt into `dir` and returns their
// paths. With Overwrite::kNever, a file already there (found in the same step
// as the file takes its name) is FileInTheWay, and the pair's other file,
// if this call made it, is taken away again: nothing is left written.
std::vector<std::filesystem::path> write_pair(Disk& disk, const std::filesystem::path& dir, const std::string& name,
                                              const std::string& train, const std::string& line_text,
                                              const std::string& train_text, Overwrite overwrite);

}  // namespace lorvena
