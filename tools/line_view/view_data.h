// What the line view page shows, as one JSON object written by the tool and
// read by the page's script: the values of every cell, the plan, the objects
// along the line each tied to the description record it comes from (keyword,
// values, file and line), and the diagnostics with their chainage.
#pragma once

#include <string>
#include <vector>

#include "tools/diagnosing/author_compile.h"
#include "tools/diagnosing/diagnostic.h"

namespace lorvena {

// `line_file` and `train_file` name the descriptions as the diagnostics do.
std::string view_data_json(const CompileResult& result, const std::vector<Diagnostic>& diagnostics,
                           const std::string& line_file, const std::string& train_file);

}  // namespace lorvena
