// Formatting works on whole lines. The description is read as the compile
// reads it (tools/diagnosing/description_lint.h); a line the reading takes as exactly one
// record, from its first field to its line end, is written again from the
// record's fields, and nothing else changes. The result is then compiled
// against the original as the last word on whether the meaning was kept.
#include "tools/authoring/format_pair.h"

#include <algorithm>
#include <map>
#include <optional>
#include <vector>

#include "compiler/packing.h"
#include "descriptions/field_reader.h"
#include "disk/file_names.h"
#include "tools/diagnosing/author_compile.h"
#include "tools/diagnosing/description_lint.h"
#include "tools/text/ascii_text.h"
#include "tools/text/messages.h"
#include "tools/text/text_encoding.h"
#include "tools/text/text_lines.h"

namespace lorvena {
namespace {

struct SourceLine {
  size_t start = 0;
  size_t end = 0;   // its line end, or the end of the text
  size_t next = 0;  // the next line's first byte, or the end of the text
};

std::vector<SourceLine> split_lines(std::string_view text) {
  std::vector<SourceLine> lines;
  for (size_t at = 0; at < text.size();) {
    size_t end = std::min(text.find_first_of("\r\n", at), text.size());
    size_t next = end;
    if (next < text.size()) next += text.compare(next, 2, "\r\n") == 0 ? 2 : 1;
    lines.push_back({at, end, next});
    at = next;
  }
  return lines;
}

std::string_view trim_right(std::string_view s) {
  size_t last = s.find_last_not_of(" \t");
  return last == std::string_view::npos ? std::string_view() : s.substr(0, last + 1);
}

// The curve's keyword from what the reader takes of it: an `s` anywhere
// turns left, and the class is the first of the digits 1 to 6 present.
std::string curve_keyword(std::string_view written) {
  std::string kw = contains_ci(written, "s") ? "curvas" : "curvad";
  for (char digit = '1'; digit <= '6'; ++digit)
    if (written.find(digit) != std::string_view::npos) return kw + digit;
  return std::string(trimmed(written));
}

// The keyword as the record table spells it, when that reads as the same
// record. A keyword with a bracket, a dash or a double quote stays as
// written: those change how the reader takes the fields around it.
std::string canonical_keyword(const LintRecord& r) {
  std::string_view written = trimmed(r.keyword);
  if (written.find_first_of("[]-\"") != std::string_view::npos) return std::string(written);
  std::string kw(r.format->keyword);
  if (r.format->heading == "curva") kw = curve_keyword(written);
  if (r.format->heading == "ripetizione segnali")
    kw = contains(written, "4") ? "ripetizione segnali 4 codici" : "ripetizione segnali 9 codici";
  if (match_keyword(r.format->section, kw, true) != r.format) return std::string(written);
  return kw;
}

// A record that fills its line, ready to be written again.
struct Row {
  std::string_view heading;
  std::string keyword;
  std::vector<std::string> cells;  // numbers as written; a text as written, quotes and all
  bool ends_in_text = false;
};

// The row of record `r`, when it is the whole of its line: nothing but blanks
// before its keyword, its reading ends at the line end, and only its last
// field may be a text.
std::optional<Row> whole_line_row(std::string_view text, const SourceLine& l, const LintRecord& r) {
  if (!r.complete() || r.fields.size() != r.format->fields.size()) return std::nullopt;
  if (!trimmed(text.substr(l.start, static_cast<size_t>(r.offset) - l.start)).empty()) return std::nullopt;
  if (static_cast<size_t>(r.end) != l.next) return std::nullopt;
  Row row{r.format->heading, canonical_keyword(r), {}, false};
  for (size_t i = 0; i < r.fields.size(); ++i) {
    bool is_text = r.format->fields[i].storage == Storage::kText;
    if (is_text && i + 1 != r.fields.size()) return std::nullopt;
    size_t from = static_cast<size_t>(r.fields[i].offset);
    if (from > l.end) return std::nullopt;
    row.cells.push_back(is_text ? std::string(trim_right(text.substr(from, l.end - from))) : r.fields[i].text);
    row.ends_in_text = is_text;
  }
  return row;
}

// Rows of one kind in a run, with only blank and comment lines between them,
// share their column widths.
bool keeps_run_open(std::string_view line) {
  std::string_view t = trimmed(line);
  return t.empty() || t.front() == '-';
}

std::string rendered(const Row& row, size_t keyword_width, const std::vector<size_t>& widths) {
  std::string out = row.keyword + ",";
  out.resize(std::max(out.size(), keyword_width), ' ');
  for (size_t i = 0; i < row.cells.size(); ++i) {
    if (i > 0) out += ",";
    out += "  ";
    bool text = row.ends_in_text && i + 1 == row.cells.size();
    if (!text && row.cells[i].size() < widths[i]) out.append(widths[i] - row.cells[i].size(), ' ');
    out += row.cells[i];
  }
  return std::string(trim_right(out));
}

void render_run(const std::vector<std::pair<size_t, Row>>& run, std::vector<std::string>& out) {
  size_t keyword_width = 0;
  std::vector<size_t> widths;
  for (const auto& [line, row] : run) {
    keyword_width = std::max(keyword_width, row.keyword.size() + 1);
    widths.resize(std::max(widths.size(), row.cells.size()), 0);
    for (size_t i = 0; i < row.cells.size(); ++i) widths[i] = std::max(widths[i], row.cells[i].size());
  }
  for (const auto& [line, row] : run) out[line] = rendered(row, keyword_width, widths);
}

// The rows of the records that fill their lines, by line index.
std::map<size_t, Row> whole_line_rows(std::string_view text, const std::vector<SourceLine>& lines,
                                      const DescriptionLint& lint) {
  std::map<size_t, Row> rows;
  size_t li = 0;
  for (const LintRecord& r : lint.records) {
    while (li < lines.size() && lines[li].next <= static_cast<size_t>(r.offset)) ++li;
    if (li == lines.size()) break;
    if (std::optional<Row> row = whole_line_row(text, lines[li], r)) rows.emplace(li, std::move(*row));
  }
  return rows;
}

// Writes each row into `out`, aligned with the rows of its run.
void align_runs(const std::map<size_t, Row>& rows, std::vector<std::string>& out) {
  std::vector<std::pair<size_t, Row>> run;
  for (size_t i = 0; i < out.size(); ++i) {
    auto it = rows.find(i);
    if (it == rows.end() && keeps_run_open(out[i])) continue;
    bool joins = it != rows.end() && !run.empty() && run.front().second.heading == it->second.heading &&
                 run.front().second.cells.size() == it->second.cells.size();
    if (!joins) {
      render_run(run, out);
      run.clear();
    }
    if (it != rows.end()) run.emplace_back(i, it->second);
  }
  render_run(run, out);
}

std::string line_place(std::string_view text, size_t offset) {
  TextPosition p = TextLines(text).at(static_cast<int64_t>(offset));
  return trf("line {0}, column {1}", p.line, p.column);
}

std::string hex(uint32_t code_point) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string out;
  for (int shift = code_point > 0xFFFF ? 20 : 12; shift >= 0; shift -= 4) out += kDigits[(code_point >> shift) & 0xF];
  return "U+" + out;
}

std::string plan_bytes(const Plan& plan) {
  std::string bytes;
  pack_plan(plan, [&](std::string_view piece) { bytes.append(piece); });
  return bytes;
}

std::string error_place(const CompileResult& r, const PairTexts& pair, const std::string& name,
                        const std::string& train) {
  const Scenario& m = r.model;
  std::string text = r.fatal.empty() ? trf("error {0}", m.err_code) : trf("fatal error {0}", r.fatal);
  if (m.err_code != 0 && m.err_pos != 0) text += trf(" at {0} m", m.err_pos);
  if (m.stop_file.empty() || m.stop_offset < 0) return text;
  bool line = m.stop_file == line_description_name(exact_1252_from_utf8(name).value_or(name));
  std::string_view source = line ? pair.line : pair.train;
  std::string file = line ? line_description_name(name) : train_description_name(name, train);
  size_t offset = std::min(static_cast<size_t>(m.stop_offset), source.size());
  return text + trf(" (the reading stopped at {0}, {1})", file, line_place(source, offset));
}

// The first compiled file that differs between the two compiles, or "".
std::string first_change(const CompileResult& a, const CompileResult& b, bool plan) {
  if (a.model.err_code != b.model.err_code || a.fatal != b.fatal) return std::string(tr("the errors"));
  if (track_bytes(a.model) != track_bytes(b.model)) return std::string(tr("the track"));
  if (table_bytes(a.model) != table_bytes(b.model)) return std::string(tr("the table"));
  if (plan && plan_bytes(a.model.profile) != plan_bytes(b.model.profile)) return std::string(tr("the plan"));
  return "";
}

}  // namespace

std::string description_1252(std::string_view bytes, const std::string& file) {
  bool high = std::any_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
  if (!high || !is_utf8(bytes)) return std::string(bytes);
  if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
  if (std::optional<Unconvertible> u = first_without_1252(bytes)) {
    std::string character(bytes.substr(u->offset, u->code_point < 0x800 ? 2 : u->code_point < 0x10000 ? 3 : 4));
    throw FormatRefused(trf("{0}, {1}: '{2}' ({3}) has no Windows-1252 form; descriptions are Windows-1252: replace "
                            "it, nothing written",
                            file, line_place(bytes, u->offset), character, hex(u->code_point)));
  }
  return *exact_1252_from_utf8(bytes);
}

std::string format_description(std::string_view text, bool line) {
  DescriptionLint lint = line ? lint_line(text, "", true) : lint_train(text, "");
  std::vector<SourceLine> lines = split_lines(text);
  std::vector<std::string> out;
  for (const SourceLine& l : lines) out.emplace_back(text.substr(l.start, l.end - l.start));
  align_runs(whole_line_rows(text, lines, lint), out);
  std::string result;
  for (const std::string& l : out) result += l + "\r\n";
  return result;
}

FormattedPair format_pair(const std::string& name, const std::string& train, const PairTexts& original) {
  PairTexts source{description_1252(original.line, line_description_name(name)),
                   description_1252(original.train, train_description_name(name, train))};
  CompileRequest request{".", name, train, true, std::nullopt};
  CompileResult before = compile_texts(request, source.line, source.train);
  FormattedPair result{{}, source.line != original.line, source.train != original.train, false};
  if (result.line_converted || result.train_converted) {
    CompileResult as_is = compile_texts(request, original.line, original.train);
    result.names_change = !first_change(as_is, before, true).empty();
  }
  if (before.model.err_code != 0 || !before.fatal.empty())
    throw FormatRefused(trf("the pair compiles with {0}: fmt formats only a pair without errors (scenario_tool check "
                            "tells them); nothing written",
                            error_place(before, source, name, train)));

  PairTexts& formatted = result.texts;
  formatted = {format_description(source.line, true), format_description(source.train, false)};
  for (bool plan : {true, false}) {
    request.plan = plan;
    CompileResult a = plan ? std::move(before) : compile_texts(request, source.line, source.train);
    CompileResult b = compile_texts(request, formatted.line, formatted.train);
    std::string change = first_change(a, b, plan);
    if (!change.empty())
      throw FormatRefused(trf(plan ? N_("formatting would change {0} the pair compiles to; nothing written")
                                   : N_("formatting would change {0} the pair compiles to without the plan; nothing written"),
                              change));
  }
  return result;
}

}  // namespace lorvena
