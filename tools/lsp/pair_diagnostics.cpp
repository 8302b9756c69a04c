#include "tools/lsp/pair_diagnostics.h"

#include <algorithm>
#include <set>

#include "disk/file_names.h"
#include "tools/diagnosing/author_compile.h"
#include "tools/diagnosing/find_problems.h"
#include "tools/text/text_encoding.h"

namespace lorvena {
namespace {

nlohmann::json position_json(EditorPosition p) { return {{"line", p.line}, {"character", p.character}}; }

int lsp_severity(Severity s) {
  switch (s) {
    case Severity::kError: return 1;
    case Severity::kWarning: return 2;
    case Severity::kNote: return 3;
  }
  return 1;
}

}  // namespace

PairDiagnostics diagnose_pair(const PairFiles& pair, const std::optional<std::string>& line_text,
                              const std::optional<std::string>& train_text) {
  CompileRequest request{pair.dir, pair.name, pair.train, true, std::nullopt};
  CompileResult first = compile_texts(request, line_text, train_text);
  Diagnosis diagnosis = diagnose(request, first);
  std::string train_file = pair.train_path().string();
  PairDiagnostics out;
  for (Diagnostic& d : diagnosis.list) (d.file == train_file ? out.train : out.line).push_back(std::move(d));
  return out;
}

nlohmann::json field_range(const EditorText& text, int64_t line, int64_t column) {
  if (line <= 0) line = 1;
  EditorPosition start = text.position(line, 1);
  EditorPosition end = text.line_end(start.line);
  if (column > 0) {
    std::string_view l = text.line_1252(start.line);
    size_t from = std::min(static_cast<size_t>(column - 1), l.size());
    size_t to = l.find(',', from);
    if (to == std::string_view::npos) to = l.size();
    while (to > from && (l[to - 1] == ' ' || l[to - 1] == '\t')) --to;
    if (to == from) to = std::min(from + 1, l.size());
    start = text.position(line, static_cast<int64_t>(from) + 1);
    end = text.position(line, static_cast<int64_t>(to) + 1);
  }
  return {{"start", position_json(start)}, {"end", position_json(end)}};
}

namespace {

nlohmann::json lsp_diagnostic(const Diagnostic& d, const EditorText& text) {
  nlohmann::json out = {{"range", field_range(text, d.line, d.column)},
                        {"severity", lsp_severity(d.severity)},
                        {"source", "scenario_tool"},
                        {"message", d.message}};
  if (!d.code.empty()) out["code"] = d.code;
  return out;
}

}  // namespace

nlohmann::json lsp_diagnostics(const std::vector<Diagnostic>& list, const EditorText& text) {
  nlohmann::json out = nlohmann::json::array();
  for (const Diagnostic& d : list) out.push_back(lsp_diagnostic(d, text));
  return out;
}

}  // namespace lorvena
