#include "tools/diagnosing/diagnostic.h"

#include <algorithm>

#include <nlohmann/json.hpp>

#include "tools/diagnosing/source_excerpt.h"
#include "tools/text/json_text.h"
#include "tools/text/messages.h"
#include "tools/text/terminal_colour.h"

namespace lorvena {
namespace {

// "1 error", "2 warnings".
std::string counted(int64_t n, std::string_view one, std::string_view many) { return trf(n == 1 ? one : many, n); }

std::string place(const Diagnostic& d, bool colour) {
  if (d.file.empty()) return "";
  if (d.line == 0) return painted(d.file + ":", kPlaceColour, colour) + " ";
  return painted(d.file + ":" + std::to_string(d.line) + ":" + std::to_string(d.column) + ":", kPlaceColour, colour) +
         " ";
}

std::string_view severity_colour(Severity s) {
  switch (s) {
    case Severity::kError: return kErrorColour;
    case Severity::kWarning: return kWarningColour;
    case Severity::kNote: return kNoteColour;
  }
  return "";
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

// Appended rather than `"E" + std::to_string(code)`, which GCC 12's -Wrestrict
// misreads in the Windows builds.
std::string error_code_name(int32_t code) {
  std::string name = "E";
  name += std::to_string(code);
  return name;
}

std::string diagnostic_line(const Diagnostic& d, bool colour) {
  std::string_view paint = severity_colour(d.severity);
  std::string out = place(d, colour) + painted(std::string(severity_name(d.severity)) + ":", paint, colour) + " " +
                    d.message;
  if (!d.code.empty()) out += " [" + painted(d.code, paint, colour) + "]";
  return out + "\n";
}

int64_t count_of(const std::vector<Diagnostic>& list, Severity severity) {
  return std::count_if(list.begin(), list.end(), [severity](const Diagnostic& d) { return d.severity == severity; });
}

std::string diagnostics_summary(const std::vector<Diagnostic>& list) {
  return counted(count_of(list, Severity::kError), N_("{0} error"), N_("{0} errors")) + ", " +
         counted(count_of(list, Severity::kWarning), N_("{0} warning"), N_("{0} warnings")) + "\n";
}

std::string diagnostics_text(const std::vector<Diagnostic>& list, const SourceTexts& sources, bool colour) {
  std::string out;
  for (const Diagnostic& d : list) {
    out += diagnostic_line(d, colour);
    auto source = sources.find(d.file);
    if (source != sources.end() && d.line > 0) out += source_excerpt(source->second, d.line, d.column, colour);
  }
  return out + diagnostics_summary(list);
}

nlohmann::ordered_json diagnostics_value(const std::vector<Diagnostic>& list) {
  nlohmann::ordered_json all = nlohmann::ordered_json::array();
  for (const Diagnostic& d : list) {
    bool placed = d.line > 0;
    nlohmann::ordered_json one;
    one["file"] = d.file.empty() ? nlohmann::ordered_json() : nlohmann::ordered_json(d.file);
    one["line"] = placed ? nlohmann::ordered_json(d.line) : nlohmann::ordered_json();
    one["column"] = placed ? nlohmann::ordered_json(d.column) : nlohmann::ordered_json();
    one["severity"] = severity_name(d.severity);
    one["code"] = d.code;
    one["message"] = d.message;
    all.push_back(std::move(one));
  }
  return all;
}

std::string diagnostics_json(const std::vector<Diagnostic>& list) { return json_text(diagnostics_value(list)); }

}  // namespace lorvena
