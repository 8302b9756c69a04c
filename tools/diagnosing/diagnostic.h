// One problem found in an author's descriptions, printed the way compilers
// print them and editors and CI read them:
//   FILE:LINE:COLUMN: error|warning|note: message [code]
// with the source line and a caret under the field when the text is at hand,
// then one closing line "N errors, M warnings". Also as a JSON array.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json_fwd.hpp>

namespace lorvena {

enum class Severity { kError, kWarning, kNote };

struct Diagnostic {
  Severity severity = Severity::kError;
  std::string code;     // "E16" for a compile error, "W-off-step" for a warning
  std::string file;     // the description's file name; empty when none applies
  int64_t line = 0;     // 1-based; 0 when the problem is the whole file
  int64_t column = 0;
  std::string message;  // UTF-8
};

// "error", "warning" or "note".
std::string_view severity_name(Severity s);

// "E16" for error 16.
std::string error_code_name(int32_t code);

// `colour` paints the place, the severity and the code as compilers do.
std::string diagnostic_line(const Diagnostic& d, bool colour = false);

// The descriptions' texts (Windows-1252) by the file names the diagnostics give.
using SourceTexts = std::map<std::string, std::string_view, std::less<>>;

// Every diagnostic on its own line, each followed by its source line and
// caret when `sources` holds its file, then "N errors, M warnings".
std::string diagnostics_text(const std::vector<Diagnostic>& list, const SourceTexts& sources = {},
                             bool colour = false);
std::string diagnostics_summary(const std::vector<Diagnostic>& list);
// One object a diagnostic: file, line, column (null when the diagnostic is
// not placed), severity, code, message.
nlohmann::ordered_json diagnostics_value(const std::vector<Diagnostic>& list);
std::string diagnostics_json(const std::vector<Diagnostic>& list);

int64_t count_of(const std::vector<Diagnostic>& list, Severity severity);

}  // namespace lorvena
