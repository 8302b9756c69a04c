#include "tools/lsp/pair_diagnostics.h"

#include <regex>
#include <set>

#include "tools/author_compile.h"
#include "tools/diagnosis.h"
#include "files/scenario_files.h"
#include "tools/lsp/memory_disk.h"
#include "tools/text_encoding.h"

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

// The compiled files (and their temporary names while written): a diagnosis
// reads only the compile's model, so their bytes need not be kept.
MemoryDisk::Keeps descriptions_only(const PairFiles& pair) {
  std::string name = exact_1252_from_utf8(pair.name).value_or(pair.name);
  std::string train = exact_1252_from_utf8(pair.train).value_or(pair.train);
  std::set<std::string> compiled;
  for (const std::string& f : {plan_file_name(name), table_file_name(name, train), track_file_name(name, train)}) {
    compiled.insert(f);
    compiled.insert(f + ".tmp");
  }
  return [compiled](const std::filesystem::path& path) { return compiled.count(path.filename().string()) == 0; };
}

}  // namespace

PairDiagnostics diagnose_pair(Disk& disk, const PairFiles& pair, const std::optional<std::string>& line_text,
                              const std::optional<std::string>& train_text) {
  CompileRequest request{pair.dir, pair.name, pair.train, true, std::nullopt};
  MemoryDisk memory(disk, descriptions_only(pair));
  CompileResult first = compile_texts(memory, request, line_text, train_text);
  Diagnosis diagnosis = diagnose(memory, request, first);
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

// A message that names a value field ("field 1 (start)") of the record at
// its place points there: the column of that field on the record's line.
int64_t named_field_column(const Diagnostic& d, const EditorText& text) {
  static const std::regex kField("field ([0-9]{1,3}) \\(");
  std::smatch m;
  if (d.line <= 0 || d.column <= 0 || !std::regex_search(d.message, m, kField)) return d.column;
  std::string_view line = text.line_1252(d.line - 1);
  size_t at = static_cast<size_t>(d.column - 1);
  for (int n = std::stoi(m[1].str()); n > 0 && at < line.size(); --n) {
    at = line.find(',', at);
    if (at == std::string_view::npos) return d.column;
    ++at;
  }
  while (at < line.size() && (line[at] == ' ' || line[at] == '\t')) ++at;
  return at < line.size() ? static_cast<int64_t>(at) + 1 : d.column;
}

nlohmann::json lsp_diagnostic(const Diagnostic& d, const EditorText& text) {
  nlohmann::json out = {{"range", field_range(text, d.line, named_field_column(d, text))},
                        {"severity", lsp_severity(d.severity)},
                        {"source", "scenario_tool"},
                        {"message", d.message}};
  if (!d.code.empty()) out["code"] = d.code;
  return out;
}

}  // namespace lorvena
