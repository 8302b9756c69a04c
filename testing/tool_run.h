// The authors' tool run inside a test, its exit status and both outputs
// captured.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "tools/command_line.h"

namespace lorvena::testing {

struct ToolRun {
  int status;
  std::string out, err;
};

inline ToolRun tool(const std::vector<std::string>& args) {
  std::ostringstream out, err;
  int status = run_tool(args, out, err);
  return {status, out.str(), err.str()};
}

}  // namespace lorvena::testing
