// Compiles hand-written description pairs in a fresh directory, for tests.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "compiler/model.h"
#include "disk/system_disk.h"
#include "testing/test_files.h"

namespace lorvena::testing {

// A line description: "[generale]", the length, then `body` and "[fine]".
std::string line_text(std::string_view body, int length = 5000);

// A train description: "[generale]", then `body` and "[fine]".
std::string train_text(std::string_view body);

class CompileFixture {
 public:
  CompileFixture();

  // Writes the descriptions (nothing written for std::nullopt) and compiles.
  // Returns the number of markers placed.
  int compile(std::optional<std::string> line, std::optional<std::string> train, int32_t j = 1);

  std::string line_path() const;
  std::string train_path() const;
  bool exists(std::string_view name) const;

  ScratchDir dir;
  Scenario model;
  SystemDisk disk;
};

}  // namespace lorvena::testing
