#include "tools/diagnostics.h"

#include <algorithm>

#include "tools/text_encoding.h"

namespace lorvena {
namespace {

std::string counted(int64_t n, const std::string& what) {
  return std::to_string(n) + " " + what + (n == 1 ? "" : "s");
}

std::string place(const Diagnostic& d) {
  if (d.file.empty()) return "";
  if (d.line == 0) return d.file + ": ";
  return d.file + ":" + std::to_string(d.line) + ":" + std::to_string(d.column) + ": ";
}

}  // namespace

std::string_view severity_name(Severity s) {
  switch (s) {
    case Severity::kError: return "error";
    case Severity::kWarning: return "warning";
    case Severity::kNote: return "note";
  }
  return "";
}

std::string error_code_name(int32_t code) { return "E" + std::to_string(code); }

std::string diagnostic_line(const Diagnostic& d) {
  std::string out = place(d) + std::string(severity_name(d.severity)) + ": " + d.message;
  if (!d.code.empty()) out += " [" + d.code + "]";
  return out + "\n";
}

int64_t count_of(const std::vector<Diagnostic>& list, Severity severity) {
  return std::count_if(list.begin(), list.end(), [severity](const Diagnostic& d) { return d.severity == severity; });
}

std::string diagnostics_summary(const std::vector<Diagnostic>& list) {
  return counted(count_of(list, Severity::kError), "error") + ", " +
         counted(count_of(list, Severity::kWarning), "warning") + "\n";
}

std::string diagnostics_text(const std::vector<Diagnostic>& list) {
  std::string out;
  for (const Diagnostic& d : list) out += diagnostic_line(d);
  return out + diagnostics_summary(list);
}

std::string diagnostics_json(const std::vector<Diagnostic>& list) {
  std::string out = "[";
  for (size_t i = 0; i < list.size(); ++i) {
    const Diagnostic& d = list[i];
    bool placed = d.line > 0;
    out += i ? ", " : "";
    out += "{\"file\": " + (d.file.empty() ? "null" : json_string(d.file));
    out += ", \"line\": " + (placed ? std::to_string(d.line) : "null");
    out += ", \"column\": " + (placed ? std::to_string(d.column) : "null");
    out += ", \"severity\": " + json_string(severity_name(d.severity));
    out += ", \"code\": " + json_string(d.code);
    out += ", \"message\": " + json_string(d.message) + "}";
  }
  return out + "]";
}

}  // namespace lorvena
