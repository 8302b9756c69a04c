// The starting pair of `scenario_tool new`: a short invented line and train
// that compile clean, with a comment before each record saying what it and
// its fields are. Nothing is written over an existing file.
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "disk/disk.h"

namespace lorvena {

struct StarterPair {
  std::string line;   // NAME_linea.txt, CR LF, Windows-1252 (plain ASCII)
  std::string train;  // NAME_TRAIN-.txt
};

StarterPair starter_pair();

class ExistingFile : public std::runtime_error {
 public:
  explicit ExistingFile(const std::string& what) : std::runtime_error(what) {}
};

// Writes the pair into `dir` as NAME_linea.txt and NAME_TRAIN-.txt and
// returns their paths. Throws ExistingFile, without writing anything,
// when either file is already there (FileSystemError when a write fails).
std::vector<std::filesystem::path> write_starter_pair(Disk& disk, const std::filesystem::path& dir,
                                                      const std::string& name, const std::string& train);

}  // namespace lorvena
