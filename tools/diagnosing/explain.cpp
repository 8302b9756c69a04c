#include "tools/diagnosing/explain.h"

#include <algorithm>
#include <vector>

#include "descriptions/record_formats.h"
#include "tools/diagnosing/diagnostic.h"
#include "tools/diagnosing/error_texts.h"
#include "tools/diagnosing/warning_texts.h"
#include "tools/text/ascii_text.h"
#include "tools/text/messages.h"

namespace lorvena {
namespace {

using Group = std::vector<const RecordFormat*>;

// The records in table order, those sharing a heading together.
std::vector<Group> groups() {
  std::vector<Group> out;
  for (const RecordFormat& f : record_formats()) {
    if (!out.empty() && out.back().front()->heading == f.heading) out.back().push_back(&f);
    else out.push_back({&f});
  }
  return out;
}

std::string code(std::string_view word) { return "`" + std::string(word) + "`"; }

std::string joined(const std::vector<std::string>& parts, std::string_view last_glue) {
  std::string out;
  for (size_t i = 0; i < parts.size(); ++i)
    out += (i == 0 ? "" : i + 1 == parts.size() ? std::string(last_glue) : std::string(", ")) + parts[i];
  return out;
}

// "contains `progressiva` and `tre`, `due` or `uno`, lower case"
std::string keyword_test(const Group& g) {
  const RecordFormat& first = *g.front();
  std::vector<std::string> common, varying;
  for (std::string_view w : first.words) {
    bool everywhere = std::all_of(g.begin(), g.end(), [w](const RecordFormat* f) {
      return std::find(f->words.begin(), f->words.end(), w) != f->words.end();
    });
    if (everywhere) common.push_back(code(w));
  }
  for (const RecordFormat* f : g)
    for (std::string_view w : f->words)
      if (std::find(common.begin(), common.end(), code(w)) == common.end()) varying.push_back(code(w));
  if (!varying.empty()) common.push_back(joined(varying, tr(" or ")));
  std::string out = trf(first.case_sensitive ? N_("contains {0}, lower case") : N_("contains {0}, any case"),
                        joined(common, tr(" and ")));
  if (!first.keyword_note.empty()) out += ", " + std::string(tr(first.keyword_note));
  return out;
}

bool narrower_than_storage(const FieldFormat& f) {
  if (f.storage == Storage::kText) return false;
  bool unbounded = f.low <= INT32_MIN && f.high >= INT32_MAX;
  return !unbounded && (f.low > storage_low(f.storage) || f.high < storage_high(f.storage));
}

std::string range_column(const FieldFormat& f) {
  std::vector<std::string> parts;
  std::string first = f.storage == Storage::kText ? "" : std::string(tr(storage_name(f.storage)));
  if (!f.limits.empty()) first += (first.empty() ? "" : ", ") + std::string(tr(f.limits));
  parts.push_back(first);
  if (f.step != 0)
    parts.push_back(f.step_error != 0 ? trf("a multiple of {0} (else error {1})", f.step, f.step_error)
                                      : trf("a multiple of {0} (else a warning)", f.step));
  if (f.chainage) {
    parts.push_back(std::string(tr("a warning below 0 or past *L*")));
  } else if (f.range_error != 0) {
    parts.push_back(trf("{0} to {1} (else error {2})", f.low, f.high, f.range_error));
  } else if (narrower_than_storage(f)) {
    parts.push_back(trf("a warning outside {0} to {1}", f.low, f.high));
  }
  std::string out;
  for (const std::string& p : parts)
    if (!p.empty()) out += (out.empty() ? "" : "; ") + p;
  return out;
}

std::string cell(std::string_view text) {
  std::string out(text.empty() ? "—" : text);
  for (size_t at = out.find('|'); at != std::string::npos; at = out.find('|', at + 2)) out.replace(at, 1, "\\|");
  return out;
}

std::string errors_line(const RecordFormat& f) {
  std::vector<std::string> items;
  for (const ErrorNote& e : f.errors) {
    std::vector<std::string> numbers;
    for (int32_t c : e.codes) numbers.push_back(std::to_string(c));
    items.push_back(joined(numbers, tr(" and ")) + (e.note.empty() ? "" : " (" + std::string(tr(e.note)) + ")"));
  }
  std::string out(tr("Errors: "));
  for (size_t i = 0; i < items.size(); ++i) out += (i ? "; " : "") + items[i];
  out += ".";
  if (!f.remark.empty()) out += " " + std::string(tr(f.remark));
  return out + "\n";
}

std::string group_markdown(const Group& g) {
  const RecordFormat& f = *g.front();
  std::string out = "### " + std::string(f.heading) + "\n\n";
  out += std::string(tr("| # | field | unit | range | meaning |")) + "\n|---|---|---|---|---|\n";
  out += "| 0 | " + std::string(tr("keyword")) + " | — | " + cell(keyword_test(g)) + " | " +
         std::string(tr(section_name(f.section))) + ": " + cell(tr(f.meaning)) + " |\n";
  for (size_t i = 0; i < f.fields.size(); ++i) {
    const FieldFormat& field = f.fields[i];
    out += "| " + std::to_string(i + 1) + " | " + std::string(tr(field.name)) + " | " + cell(field.unit) + " | " +
           cell(range_column(field)) + " | " + cell(tr(field.meaning)) + " |\n";
  }
  return out + "\n" + errors_line(f);
}

// The group whose heading or keyword is `topic`, or else whose keyword test it passes.
const Group* record_group(const std::vector<Group>& all, std::string_view topic) {
  std::string t = ascii_lower(topic);
  for (const Group& g : all)
    for (const RecordFormat* f : g)
      if (t == f->heading || t == f->keyword) return &g;
  for (const Group& g : all)
    for (const RecordFormat* f : g)
      if (keyword_matches(*f, topic) || keyword_matches(*f, t)) return &g;
  return nullptr;
}

std::optional<int32_t> error_number(std::string_view topic) {
  if (!topic.empty() && (topic[0] == 'E' || topic[0] == 'e')) topic.remove_prefix(1);
  if (topic.empty() || topic.size() > 6 || !std::all_of(topic.begin(), topic.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return std::nullopt;
  int32_t n = std::stoi(std::string(topic));
  for (const ErrorText& e : error_texts())
    if (e.code == n) return n;
  return std::nullopt;
}

std::string_view stage_text(const ErrorText& e) {
  switch (e.stage) {
    case ErrorStage::kReading: return tr("Found while reading the descriptions");
    case ErrorStage::kWalk: return tr("Found by the placement walk after reading; the compile goes on");
    case ErrorStage::kFatal: return tr("Fatal: no compiled file is written");
  }
  return "";
}

std::string explain_error(int32_t n) {
  ErrorText e = error_text(n);
  std::string out = error_code_name(n) + ": " + std::string(e.meaning) + "\n";
  bool chainage = e.has_chainage && e.stage != ErrorStage::kFatal;
  out += std::string(stage_text(e)) + (chainage ? std::string(tr("; recorded with a chainage.\n")) : ".\n");
  out += trf("What to do: {0}.\n", e.advice);
  std::vector<std::string> records;
  for (const Group& g : groups()) {
    std::vector<int32_t> codes = error_codes(*g.front());
    if (std::find(codes.begin(), codes.end(), n) != codes.end()) records.push_back(std::string(g.front()->heading));
  }
  if (!records.empty()) out += trf("Records that give it: {0} (explain KEYWORD).\n", joined(records, ", "));
  return out;
}

std::string explain_warning(const WarningText& w) {
  std::string_view kind = is_tool_error(w.code)
                              ? tr("An error the compile does not record: it writes its files all the same, but no "
                                   "train can drive them as written; check and compile exit with 1.\n")
                              : tr("A warning never changes what the compile writes.\n");
  return std::string(w.code) + ": " + std::string(w.meaning) + ".\n" + trf("What to do: {0}.\n", w.advice) +
         std::string(kind);
}

}  // namespace

std::string records_markdown() {
  std::string out;
  bool first = true;
  for (const Group& g : groups()) {
    out += (first ? "" : "\n") + group_markdown(g);
    first = false;
  }
  return out;
}

std::optional<std::string> explain(std::string_view topic) {
  if (std::optional<int32_t> n = error_number(topic)) return explain_error(*n);
  for (const WarningText& w : warning_texts())
    if (ascii_lower(w.code) == ascii_lower(topic) || ascii_lower(w.code.substr(2)) == ascii_lower(topic)) return explain_warning(w);
  std::vector<Group> all = groups();
  if (const Group* g = record_group(all, topic)) return group_markdown(*g);
  return std::nullopt;
}

std::string explain_topics() {
  std::string out(tr("errors:"));
  for (const ErrorText& e : error_texts()) out += " " + error_code_name(e.code);
  for (const WarningText& w : warning_texts())
    if (is_tool_error(w.code)) out += " " + std::string(w.code);
  out += "\n" + std::string(tr("warnings:"));
  for (const WarningText& w : warning_texts())
    if (!is_tool_error(w.code)) out += " " + std::string(w.code);
  out += "\n" + std::string(tr("records:"));
  for (const Group& g : groups()) out += " '" + std::string(g.front()->heading) + "'";
  return out + "\n";
}

}  // namespace lorvena
