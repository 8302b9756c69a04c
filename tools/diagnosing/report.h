// What a compile tells its author: the recorded error with its meaning, the
// chainage, and the file, line and column where the reader stopped; or "no
// error". Printed as text or as one JSON object.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json_fwd.hpp>

#include "tools/diagnosing/author_compile.h"
#include "tools/diagnosing/diagnostic.h"
#include "tools/text/text_lines.h"

namespace lorvena {

// The line and column just after the last field read before `offset`: the
// delimiter (comma or line end) that the reader consumed last is stepped back
// over, so a record that stopped the reader is reported on its own line.
// Lines end at CR LF, LF or CR, as the field reader reads them.
TextPosition text_position(std::string_view text, int64_t offset);

// err_code and err_pos as the compile recorded them; after a fatal error,
// those recorded before it, and the fatal error's own number.
struct ErrorReport {
  int32_t code = 0;
  int32_t pos = 0;
  bool fatal = false;
  int32_t fatal_code = 0;
  std::string file;  // empty when the error was not found while reading
  TextPosition at;
  std::vector<std::string> files;  // compiled files written
  std::vector<Diagnostic> diagnostics;
};

ErrorReport make_report(const CompileResult& result);

std::string report_text(const ErrorReport& report);
// One JSON object: err_code, err_pos, fatal, fatal_code, meaning, file, line,
// column, files, errors, warnings and the diagnostics.
nlohmann::ordered_json report_value(const ErrorReport& report);
std::string report_json(const ErrorReport& report);

// 0 when the compile recorded no error, else 1.
int report_status(const ErrorReport& report);

}  // namespace lorvena
