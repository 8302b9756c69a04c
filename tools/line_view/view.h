// The line view: one self-contained HTML page (style, script and data
// inline, nothing loaded from the network) with the plan and the values and
// objects of the line against the chainage, to zoom and pan, each object's
// record on hover, the diagnostics at their chainage and the stations' table.
#pragma once

#include <string>
#include <vector>

#include "tools/diagnosing/author_compile.h"
#include "tools/diagnosing/diagnostic.h"

namespace lorvena {

std::string view_html(const CompileResult& result, const std::vector<Diagnostic>& diagnostics,
                      const std::string& line_file, const std::string& train_file);

// The same page around data made already (view_data_json).
std::string view_html_of(const CompileResult& result, const std::string& data_json);

}  // namespace lorvena
