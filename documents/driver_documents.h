// The three documents for the driver: the train card, the slowdown order and
// the scenario notes, each a fixed text written beside the program.
#pragma once

#include <filesystem>
#include <string_view>

namespace lorvena {

void dati_scheda(const std::filesystem::path& dir, std::string_view scenario_name,
                 std::string_view train_number);
void dati_rallentamenti(const std::filesystem::path& dir, std::string_view scenario_name,
                        std::string_view train_number);
void dati_note(const std::filesystem::path& dir, std::string_view scenario_name,
               std::string_view train_number);

}  // namespace lorvena
