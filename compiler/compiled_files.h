// The compiled scenario: the plan of the line, the scenario table and the
// track, each packed little-endian member by member with no gaps.
#pragma once

#include <filesystem>
#include <string>

#include "compiler/model.h"
#include "sources/file_system.h"

namespace lorvena {

// Element tags of the plan file.
inline constexpr uint16_t kTagEmpty = 0;
inline constexpr uint16_t kTagInteger = 2;
inline constexpr uint16_t kTagDouble = 5;

// Each file's bytes, handed to `sink` in pieces of a bounded size.
void pack_plan(const Profile& profile, const ByteSink& sink);
void pack_table(const Scenario& m, const ByteSink& sink);
void pack_track(const Scenario& m, const ByteSink& sink);

// Each file's bytes, whole.
std::string plan_bytes(const Profile& profile);
std::string table_bytes(const Scenario& m);
std::string track_bytes(const Scenario& m);

// Writes the plan (only when write_profile is set), the table and the track,
// each replacing its file atomically.
void write_compiled_files(const Scenario& m, const std::filesystem::path& dir);

}  // namespace lorvena
