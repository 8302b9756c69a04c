// The train description of the scenario: the fixed text the compiler reads back
// for the train's data, adhesion, line speeds, stations and signals.
#pragma once

#include <filesystem>
#include <string_view>

#include "disk/disk.h"

namespace lorvena {

// Replaces dir/<scenario name>_<train number>-.txt with the train description
// (not flushed: the compile reads it back and deletes it).
void dati_treno(Disk& disk, const std::filesystem::path& dir, std::string_view scenario_name,
                std::string_view train_number);

}  // namespace lorvena
