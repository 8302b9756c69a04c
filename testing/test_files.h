// Small file helpers for the tests: whole-file reads and writes with plain
// streams (independent of the code under test), a directory listing and
// where the build put its programs.
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

// A program of the build, which puts it beside the LORVENA PF program that
// ctest names in LORVENA_PF_EXE; empty when that is not set.
std::filesystem::path built_program(std::string_view name);

}  // namespace lorvena::testing
