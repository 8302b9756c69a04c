// The diagnostics as one SARIF 2.1.0 log, the form code-scanning services
// and editors read: one run of scenario_tool, a rule for each code met (its
// meaning, its advice, `scenario_tool explain CODE`), and a result for each
// diagnostic at its file, line and column.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json_fwd.hpp>

#include "tools/diagnosing/diagnostic.h"

namespace lorvena {

nlohmann::ordered_json findings_sarif(const std::vector<Diagnostic>& list, std::string_view tool_version);

// A path as a URI reference: a relative path stays relative, an absolute
// one becomes a file: URI; every byte but the unreserved ones and '/' is
// percent-encoded. Backslashes (Windows) become '/'.
std::string path_uri(std::string_view path);

}  // namespace lorvena
