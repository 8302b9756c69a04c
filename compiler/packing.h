// The compiled scenario: the plan of the line, the scenario table and the
// track, each packed little-endian member by member with no gaps (the
// layouts: docs/compiled-files.md).
#pragma once

#include <filesystem>
#include <string>

#include "compiler/compiled_format.h"
#include "compiler/model.h"
#include "disk/file_system.h"

namespace lorvena {

// Each file's bytes, handed to `sink` in pieces of a bounded size.
void pack_plan(const Plan& profile, const ByteSink& sink);
void pack_table(const Scenario& m, const ByteSink& sink);
void pack_track(const Scenario& m, const ByteSink& sink);

// Each file's bytes, whole.
std::string table_bytes(const Scenario& m);
std::string track_bytes(const Scenario& m);

// Writes the plan (only when write_profile is set), the table and the track,
// each replacing its file atomically.
void write_compiled_files(Disk& disk, const Scenario& m, const std::filesystem::path& dir, Flush flush);

}  // namespace lorvena
