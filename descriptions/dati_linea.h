// The line description of the scenario: the fixed text the compiler reads back
// to build the track (curves, gradients, mountains, speed boards, sign boards).
#pragma once

#include <filesystem>
#include <string_view>

#include "disk/disk.h"

namespace lorvena {

// Replaces dir/<scenario name>_linea.txt with the line description (not
// flushed: the compile reads it back and deletes it).
void dati_linea(Disk& disk, const std::filesystem::path& dir, std::string_view scenario_name);

}  // namespace lorvena
