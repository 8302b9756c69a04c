// The example description pair kept in examples/, for the tools' tests.
#pragma once

#include <filesystem>

namespace lorvena::testing {

inline std::filesystem::path examples_dir() {
  return std::filesystem::path(__FILE__).parent_path().parent_path() / "examples";
}
inline constexpr const char* kExampleName = "VALDORNO";
inline constexpr const char* kExampleTrain = "2417";

}  // namespace lorvena::testing
