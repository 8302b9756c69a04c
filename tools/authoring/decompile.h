// `scenario_tool decompile`: from a compiled track, table and (optionally)
// plan, the description pair an author would write for them, checked by
// compiling it again: what no description can produce is named by its place.
#pragma once

#include <optional>
#include <string>
#include <vector>


namespace lorvena {

struct CompiledInput {
  std::string name;   // as typed (UTF-8)
  std::string train;
  std::string track;  // the files' bytes
  std::string table;
  std::optional<std::string> plan;
};

struct Decompiled {
  std::string line;   // the two descriptions, CR LF, Windows-1252
  std::string train;
  std::vector<std::string> mismatches;  // places where a compile of them differs; empty: same bytes
};

// Throws DecodeError for a file that is not a compiled file of its kind.
Decompiled decompile(const CompiledInput& input);

}  // namespace lorvena
