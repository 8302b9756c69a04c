#include "tools/diagnosing/report.h"

#include <algorithm>

#include <nlohmann/json.hpp>

#include "disk/file_names.h"
#include "tools/diagnosing/error_texts.h"
#include "tools/text/json_text.h"
#include "tools/text/messages.h"

namespace lorvena {

TextPosition text_position(std::string_view text, int64_t offset) {
  size_t end = static_cast<size_t>(std::clamp<int64_t>(offset, 0, static_cast<int64_t>(text.size())));
  if (end > 0 && text[end - 1] == '\n') --end;
  if (end > 0 && text[end - 1] == '\r') --end;
  else if (end > 0 && text[end - 1] == ',') --end;
  return TextLines(text).at(static_cast<int64_t>(end));
}

namespace {

std::string_view description_text(const CompileResult& r) {
  const Scenario& m = r.model;
  if (m.stop_file == line_description_name(m.scenario_name)) return r.line_text;
  return r.train_text;
}

}  // namespace

ErrorReport make_report(const CompileResult& result) {
  const Scenario& m = result.model;
  ErrorReport report;
  for (const auto& path : result.written) report.files.push_back(path.string());
  report.code = m.err_code;
  report.pos = m.err_pos;
  if (!result.fatal.empty()) {
    report.fatal = true;
    report.fatal_code = std::stoi(result.fatal);
  }
  bool while_reading = error_text(m.err_code).stage == ErrorStage::kReading;
  if (m.err_code != 0 && while_reading && !m.stop_file.empty() && m.stop_offset >= 0) {
    report.file = m.stop_file;
    report.at = text_position(description_text(result), m.stop_offset);
  }
  return report;
}

std::string report_text(const ErrorReport& r) {
  std::string out;
  if (r.code == 0 && !r.fatal) out += std::string(tr("no error")) + "\n";
  if (r.code != 0) {
    ErrorText t = error_text(r.code);
    out += trf("error {0}: {1}\n", r.code, t.meaning);
    if (t.has_chainage) out += trf("chainage: {0} m\n", r.pos);
    if (!r.file.empty())
      out += trf("reading stopped: {0}, line {1}, column {2} (after the last field read)\n", r.file, r.at.line,
                 r.at.column);
  }
  if (r.fatal) {
    out += trf("error {0}: {1}\n", r.fatal_code, error_text(r.fatal_code).meaning);
    out += tr("fatal error: no compiled file written\n");
  }
  for (const std::string& f : r.files) out += trf("written: {0}\n", f);
  return out;
}

nlohmann::ordered_json report_value(const ErrorReport& r) {
  bool located = !r.file.empty();
  auto located_or_null = [located](auto value) { return located ? nlohmann::ordered_json(value) : nlohmann::ordered_json(); };
  nlohmann::ordered_json out;
  out["err_code"] = r.code;
  out["err_pos"] = r.pos;
  out["fatal"] = r.fatal;
  out["fatal_code"] = r.fatal ? nlohmann::ordered_json(r.fatal_code) : nlohmann::ordered_json();
  out["meaning"] = r.code == 0 ? tr("no error") : error_text(r.code).meaning;
  out["file"] = located_or_null(r.file);
  out["line"] = located_or_null(r.at.line);
  out["column"] = located_or_null(r.at.column);
  out["files"] = r.files;
  out["errors"] = count_of(r.diagnostics, Severity::kError);
  out["warnings"] = count_of(r.diagnostics, Severity::kWarning);
  out["diagnostics"] = diagnostics_value(r.diagnostics);
  return out;
}

std::string report_json(const ErrorReport& r) { return json_text(report_value(r)) + "\n"; }

// An error the tool finds (a scenario no train can drive) fails as one the compile records.
int report_status(const ErrorReport& r) {
  return r.code == 0 && !r.fatal && count_of(r.diagnostics, Severity::kError) == 0 ? 0 : 1;
}

}  // namespace lorvena
