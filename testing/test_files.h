// Small file helpers for the tests: whole-file reads and writes with plain
// streams (independent of the code under test) and a directory listing.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "disk/scratch_dir.h"

namespace lorvena::testing {

std::string read_bytes(const std::filesystem::path& path);
void write_bytes(const std::filesystem::path& path, std::string_view bytes);

// The names of the files in a directory, sorted.
std::string list_files(const std::filesystem::path& dir);

}  // namespace lorvena::testing
