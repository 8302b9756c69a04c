// A deterministic generator of large, dense and valid description pairs: for a
// line length it lays out curves, gradients, mountains, indicators, signals,
// slowdowns with warning boards and stations so that the pair compiles clean.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace lorvena::testing {

struct GeneratedScenario {
  std::string line;   // the line description text
  std::string train;  // the train description text
  int blocks = 0;     // repeated 3200 m sections, each with two signals and a slowdown
  int stations = 0;
  int signs = 0;
  int markers = 0;    // markers the placement walk will place
};

// The shortest line that holds one section.
inline constexpr int32_t kShortestGeneratedLine = 3400;

// The same text for the same length, every time. `length` in metres, from
// kShortestGeneratedLine up to 1000000.
GeneratedScenario generate_scenario(int32_t length);

// Writes the pair into `dir` under the names the compiler reads for the
// given scenario name and train number.
void write_generated_scenario(const GeneratedScenario& scenario, const std::filesystem::path& dir,
                              std::string_view scenario_name, std::string_view train_number);

}  // namespace lorvena::testing
