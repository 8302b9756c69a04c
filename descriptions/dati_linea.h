// The line description of the scenario: the fixed text the compiler reads back
// to build the track (curves, gradients, mountains, speed boards, sign boards).
#pragma once

#include <filesystem>
#include <string_view>

namespace lorvena {

// Replaces dir/<scenario name>_linea.txt with the line description.
void dati_linea(const std::filesystem::path& dir, std::string_view scenario_name);

}  // namespace lorvena
