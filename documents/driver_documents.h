// The three documents for the driver: the train card, the slowdown order and
// the scenario notes, each a fixed text written beside the program and
// flushed to stable storage: they are what the run leaves.
#pragma once

#include <filesystem>
#include <string_view>

#include "disk/disk.h"

namespace lorvena {

void dati_scheda(Disk& disk, const std::filesystem::path& dir, std::string_view scenario_name,
                 std::string_view train_number);
void dati_rallentamenti(Disk& disk, const std::filesystem::path& dir, std::string_view scenario_name,
                        std::string_view train_number);
void dati_note(Disk& disk, const std::filesystem::path& dir, std::string_view scenario_name,
               std::string_view train_number);

}  // namespace lorvena
