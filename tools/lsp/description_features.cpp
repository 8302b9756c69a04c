#include "tools/lsp/description_features.h"

#include <array>
#include <regex>

#include "tools/diagnosing/explain.h"
#include "tools/text/ascii_text.h"
#include "tools/text/messages.h"
#include "tools/text/text_encoding.h"

namespace lorvena {
namespace {

using nlohmann::json;

// The headers a reader knows, in the descriptions they head.
constexpr std::array<std::string_view, 10> kLineHeaders = {"[generale]", "[curve]",       "[pendenze]", "[montagne]",
                                                           "[cartelli]", "[indicazioni]", "[segnali]",  "[codici]",
                                                           "[rallentamento]", "[fine]"};
constexpr std::array<std::string_view, 6> kTrainHeaders = {"[generale]", "[aderenze]",     "[vel_limite]",
                                                           "[stazioni]", "[rallentamenti]", "[fine]"};

bool is_header(std::string_view line) { return trimmed(line).substr(0, 1) == "["; }

EditorPosition position_of(const json& p) { return {p.at("line").get<int64_t>(), p.at("character").get<int64_t>()}; }

json position_json(EditorPosition p) { return {{"line", p.line}, {"character", p.character}}; }

json line_range(const EditorText& text, int64_t line) {
  return {{"start", position_json({line, 0})}, {"end", position_json(text.line_end(line))}};
}

// The index of the field that holds byte `column` of `line` (0: the keyword).
size_t field_index(std::string_view line, size_t column) {
  size_t index = 0;
  bool quoted = false;
  for (size_t i = 0; i < column && i < line.size(); ++i) {
    if (line[i] == '"') quoted = !quoted;
    if (line[i] == ',' && !quoted) ++index;
  }
  return index;
}

std::string first_field(std::string_view line) { return std::string(trimmed(line.substr(0, line.find(',')))); }

std::string field_markdown(const RecordFormat& f, size_t index) {
  const FieldFormat& field = f.fields.at(index - 1);
  std::string out = trf("**{0}** of {1} (field {2})", tr(field.name), f.keyword, index + 1);
  if (!field.unit.empty()) out += trf(", in {0}", field.unit);
  if (field.storage != Storage::kText) out += "\n\n" + trf("range {0} to {1}", field.low, field.high);
  if (field.step > 0) out += trf(", a multiple of {0}", field.step);
  if (!field.limits.empty()) out += "\n\n" + std::string(tr(field.limits));
  if (!field.meaning.empty()) out += "\n\n" + std::string(tr(field.meaning));
  return out;
}

json completion_item(std::string_view label, int kind, std::string_view detail) {
  return {{"label", label}, {"kind", kind}, {"detail", detail}};
}

}  // namespace

DocumentKind kind_of(const std::filesystem::path& file) {
  std::string f = file.filename().string();
  auto ends = [&](std::string_view e) { return f.size() > e.size() && f.compare(f.size() - e.size(), e.size(), e) == 0; };
  if (ends("_linea.txt")) return DocumentKind::kLine;
  if (ends("-.txt")) return DocumentKind::kTrain;
  return DocumentKind::kOther;
}

Section section_at(const EditorText& text, DocumentKind kind, int64_t line) {
  if (kind != DocumentKind::kLine) return Section::kTrain;
  bool general = false, body = false;
  for (int64_t l = 0; l < line && l < text.line_count(); ++l) {
    if (!is_header(text.line_1252(l))) continue;
    if (general) body = true;
    general = true;
  }
  return body ? Section::kLineBody : Section::kLineGeneral;
}

json hover(const EditorText& text, DocumentKind kind, const json& position) {
  EditorPosition p = position_of(position);
  if (kind == DocumentKind::kOther || p.line < 0 || p.line >= text.line_count()) return nullptr;
  std::string_view line = text.line_1252(p.line);
  if (is_header(line)) return nullptr;
  const RecordFormat* f = match_keyword(section_at(text, kind, p.line), first_field(line), true);
  if (f == nullptr) return nullptr;
  size_t index = field_index(line, static_cast<size_t>(text.column(p)));
  std::string markdown;
  if (index == 0) markdown = explain(f->keyword).value_or(std::string(tr(f->meaning)));
  else if (index <= f->fields.size()) markdown = field_markdown(*f, index);
  else return nullptr;
  return {{"contents", {{"kind", "markdown"}, {"value", markdown}}}, {"range", line_range(text, p.line)}};
}

json completion(const EditorText& text, DocumentKind kind, const json& position) {
  json items = json::array();
  if (kind == DocumentKind::kOther) return items;
  EditorPosition p = position_of(position);
  Section section = section_at(text, kind, p.line);
  for (const RecordFormat& f : record_formats())
    if (f.section == section) items.push_back(completion_item(utf8_from_1252(f.keyword), 14, f.heading));
  if (kind == DocumentKind::kLine)
    for (std::string_view h : kLineHeaders) items.push_back(completion_item(h, 9, tr("section header")));
  else
    for (std::string_view h : kTrainHeaders) items.push_back(completion_item(h, 9, tr("section header")));
  return items;
}

// Sections with their stations and signals inside.
json document_symbols(const EditorText& text, DocumentKind kind) {
  json out = json::array();
  if (kind == DocumentKind::kOther) return out;
  for (int64_t l = 0; l < text.line_count(); ++l) {
    std::string_view line = text.line_1252(l);
    std::string name = utf8_from_1252(trimmed(line));
    if (is_header(line)) {
      out.push_back({{"name", name}, {"kind", 3}, {"range", line_range(text, l)},
                     {"selectionRange", line_range(text, l)}, {"children", json::array()}});
      continue;
    }
    std::string keyword = first_field(line);
    bool station = keyword == "stazione", signal = keyword.rfind("segnale", 0) == 0;
    if ((!station && !signal) || out.empty()) continue;
    size_t comma = line.find(',');
    std::string detail = utf8_from_1252(trimmed(line.substr(comma == std::string_view::npos ? line.size() : comma + 1)));
    out.back()["children"].push_back({{"name", keyword}, {"detail", detail}, {"kind", station ? 20 : 24},
                                      {"range", line_range(text, l)}, {"selectionRange", line_range(text, l)}});
  }
  return out;
}

// Each diagnostic that proposes a word gets the fix that writes it there.
json code_actions(const json& uri, const json& context) {
  // The proposal as the diagnostics word it in either language.
  static const std::regex kProposal("(?:did you mean|intendevate) '([^']*)'");
  json out = json::array();
  for (const json& d : context.value("diagnostics", json::array())) {
    std::string message = d.value("message", "");
    std::smatch m;
    if (!std::regex_search(message, m, kProposal)) continue;
    json edit = {{"range", d.at("range")}, {"newText", m[1].str()}};
    out.push_back({{"title", trf("write '{0}'", m[1].str())},
                   {"kind", "quickfix"},
                   {"diagnostics", json::array({d})},
                   {"isPreferred", true},
                   {"edit", {{"changes", {{uri.get<std::string>(), json::array({edit})}}}}}});
  }
  return out;
}

}  // namespace lorvena
