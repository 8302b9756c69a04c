#include "tools/diagnosing/description_lint.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <map>
#include <optional>

#include "descriptions/field_reader.h"
#include "tools/diagnosing/warning_texts.h"
#include "tools/text/ascii_text.h"
#include "tools/text/messages.h"
#include "tools/text/text_encoding.h"

namespace lorvena {
namespace {

constexpr size_t kLongestText = 65535;
constexpr std::array<std::string_view, 14> kHeaders = {
    "[generale]", "[curve]",         "[pendenze]", "[montagne]",     "[cartelli]",
    "[indicazioni]", "[fine]",       "[aderenze]", "[vel_limite]",   "[stazioni]",
    "[rallentamenti]", "[segnali]", "[codici]",   "[rallentamento]"};

bool is_blank(char c) { return c == ' ' || c == '\t'; }
bool is_line_end(char c) { return c == '\r' || c == '\n'; }

bool looks_like_header(std::string_view field) { return contains(field, "[") && contains(field, "]"); }

// The reader's own test for the header that ends the line's general block.
bool ends_general_block(std::string_view field) {
  size_t first = field.find_first_not_of(" \t");
  return first != std::string_view::npos && field[first] != '-' && looks_like_header(field);
}

bool looks_like_number(std::string_view field) {
  std::string t(trimmed(field));
  if (!t.empty() && (t[0] == '+' || t[0] == '-')) t.erase(0, 1);
  return !t.empty() && std::all_of(t.begin(), t.end(), [](char c) { return c >= '0' && c <= '9'; });
}

size_t edit_distance(std::string_view a, std::string_view b) {
  std::vector<size_t> row(b.size() + 1);
  for (size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (size_t i = 1; i <= a.size(); ++i) {
    size_t diagonal = row[0];
    row[0] = i;
    for (size_t j = 1; j <= b.size(); ++j) {
      size_t above = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
      diagonal = above;
    }
  }
  return row[b.size()];
}

// "7:55" or "7:55:30": a time written as a clock shows it.
std::optional<std::vector<std::string>> clock_parts(std::string_view t) {
  std::vector<std::string> parts(1);
  for (char c : t) {
    if (c == ':') parts.emplace_back();
    else if (c >= '0' && c <= '9' && parts.back().size() < 2) parts.back() += c;
    else return std::nullopt;
  }
  bool filled = std::none_of(parts.begin(), parts.end(), [](const std::string& p) { return p.empty(); });
  if (parts.size() < 2 || parts.size() > 3 || !filled) return std::nullopt;
  if (parts.size() == 2) parts.push_back("0");
  for (std::string& p : parts) p = std::to_string(std::stoi(p));
  return parts;
}

// What to write instead of a time in one field.
std::string clock_advice(std::string_view text) {
  std::optional<std::vector<std::string>> parts = clock_parts(text);
  if (!parts) return "";
  return trf("; write hours, minutes and seconds as three fields: {0}, {1}, {2}", (*parts)[0], (*parts)[1], (*parts)[2]);
}

// A whole text that is valid UTF-8 with at least one multi-byte character.
bool is_utf8_text(std::string_view s) {
  bool multi = std::any_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
  return multi && is_utf8(s);
}

class Linter {
 public:
  Linter(DescriptionLint& out, bool plan) : out_(out), text_(out.text), in_(out.text), plan_(plan) {}

  void line() {
    byte_order_mark();
    if (!find_general({Section::kLineGeneral, Section::kLineBody})) return;
    general_block();
    body(Section::kLineBody);
    finish_encoding();
  }

  void train() {
    byte_order_mark();
    if (!find_general({Section::kTrain})) return no_general();
    body(Section::kTrain);
    finish_encoding();
  }

 private:
  int64_t pos() const { return base_ + static_cast<int64_t>(in_.offset()); }
  bool at_end() const { return in_.at_end(); }
  void seek(int64_t to) {
    base_ = to;
    in_ = FieldReader(text_.substr(static_cast<size_t>(to)));
  }
  int64_t field_start() const {
    size_t at = static_cast<size_t>(pos());
    while (at < text_.size() && is_blank(text_[at])) ++at;
    return static_cast<int64_t>(at);
  }
  int64_t line_of(int64_t offset) const { return out_.lines.line_of(offset); }

  void warn(int64_t offset, std::string_view code, std::string message) {
    out_.warnings.push_back(out_.at(offset, Severity::kWarning, code, std::move(message)));
  }

  // The file's name, as a conversion command would be typed in its directory.
  std::string base_name() const {
    size_t slash = out_.file.find_last_of("/\\");
    std::string name = slash == std::string::npos ? out_.file : out_.file.substr(slash + 1);
    bool plain = std::all_of(name.begin(), name.end(), [](char c) {
      return std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '_' || c == '-';
    });
    return plain ? name : "'" + name + "'";
  }

  void byte_order_mark() {
    if (text_.substr(0, 3) != "\xEF\xBB\xBF") return;
    encoding_warning_ = out_.warnings.size();
    warn(0, warning::kEncoding,
         trf("the file starts with a UTF-8 byte order mark: it was saved as UTF-8, but descriptions are read as "
             "Windows-1252; convert it without the mark: tail -c +4 {0} | iconv -f UTF-8 -t WINDOWS-1252 > "
             "converted.txt",
             base_name()));
  }

  // A UTF-8 text is one symptom of a file saved as UTF-8: the first one is
  // warned with the conversion, the others counted into it.
  void utf8_text(const LintRecord& r, size_t i, const ReadField& field) {
    const std::string& text = field.text;
    if (encoding_warning_) {
      ++utf8_texts_;
      return;
    }
    encoding_warning_ = out_.warnings.size();
    warn(field.offset, warning::kEncoding,
         trf("{0}: the {1} is UTF-8 text ('{2}'); descriptions are read as Windows-1252, so it is compiled as {3}; "
             "convert the file: iconv -f UTF-8 -t WINDOWS-1252 {4} > converted.txt",
             record_word(r), tr(r.format->fields[i].name), text, in_quotes(text), base_name()));
  }

  void finish_encoding() {
    if (!encoding_warning_ || utf8_texts_ == 0) return;
    bool mark = text_.starts_with("\xEF\xBB\xBF");
    std::string_view pattern = utf8_texts_ == 1 ? (mark ? N_(" ({0} text in UTF-8 in this file)")
                                                        : N_(" ({0} text in UTF-8 in this file besides this one)"))
                                                : (mark ? N_(" ({0} texts in UTF-8 in this file)")
                                                        : N_(" ({0} texts in UTF-8 in this file besides this one)"));
    out_.warnings[*encoding_warning_].message += trf(pattern, utf8_texts_);
  }

  // Skips up to [generale] as the reader does, noting the records it skips.
  bool find_general(std::initializer_list<Section> sections) {
    int above = 0;
    while (!at_end()) {
      int64_t at = field_start();
      std::string field = in_.read_text();
      if (contains_ci(field, "[generale]")) {
        if (above > 0) above_general(above);
        return out_.general_found = true;
      }
      if (looks_like_header(field)) {
        header(field, at);
        continue;
      }
      if (contains(field, "-")) continue;
      for (Section section : sections) {
        const RecordFormat* f = match_keyword(section, field, true);
        if (f == nullptr) continue;
        std::string word = f->heading == f->keyword ? std::string(f->keyword) : utf8_from_1252(trimmed(field));
        if (above++ == 0) out_.first_above_general = {at, word};
        break;
      }
    }
    return false;
  }

  // Records above [generale]: one warning, at the first of them.
  void above_general(int above) {
    const auto& [at, keyword] = *out_.first_above_general;
    std::string_view pattern =
        above == 1   ? N_("{0} stands above [generale], before which nothing is read: it is skipped; move [generale] up "
                          "to the line before it")
        : above == 2 ? N_("{0} stands above [generale], before which nothing is read: it is skipped with the other "
                          "record above it; move [generale] up to the line before it")
                     : N_("{0} stands above [generale], before which nothing is read: it is skipped with the {1} other "
                          "records above it; move [generale] up to the line before it");
    warn(at, warning::kWrongSection, trf(pattern, keyword, above - 1));
  }

  void no_general() {
    if (general_misspelt_) return;  // the unknown header's warning says it
    std::string message(tr("no [generale] header: nothing in the train description is read"));
    int64_t at = -1;
    if (out_.first_above_general) {
      at = out_.first_above_general->offset;
      message += trf("; add [generale] on the line before this {0} record", out_.first_above_general->keyword);
    }
    warn(at, warning::kNoGeneral, message);
  }

  // Reads the next keyword field as the reader does, skipping up to
  // `dividers` fields that hold "-".
  bool next_keyword(std::string& field, int64_t& at, int dividers, Section section) {
    if (at_end()) return false;
    at = field_start();
    field = in_.read_text();
    for (int skipped = 0; skipped < dividers && contains(field, "-"); ++skipped) {
      divider(field, at, section);
      comment_line_ = line_of(at);
      if (at_end()) return false;
      at = field_start();
      field = in_.read_text();
    }
    return true;
  }

  void divider(const std::string& field, int64_t at, Section section) {
    std::string t(trimmed(field));
    if (t.empty() || t[0] == '-' || looks_like_number(t)) return;
    if (const RecordFormat* f = match_keyword(section, field, true)) {
      skipped_line_ = line_of(at);  // its values are skipped with it, without a word each
      warn(at, warning::kDividerKeyword,
           trf("{0} holds '-', so it is skipped as a comment and the {1} record with it", in_quotes(field), f->keyword));
    }
  }

  void general_block() {
    std::string field;
    int64_t at = 0;
    while (next_keyword(field, at, 10, Section::kLineGeneral)) {
      if (const RecordFormat* f = match_keyword(Section::kLineGeneral, field, plan_)) record(*f, field, at);
      else unknown(field, at, Section::kLineGeneral);
      if (ends_general_block(field)) return;
    }
  }

  void body(Section section) {
    std::string field;
    int64_t at = 0;
    while (next_keyword(field, at, 2, section)) {
      if (const RecordFormat* f = match_keyword(section, field, plan_)) record(*f, field, at);
      else unknown(field, at, section);
    }
  }

  void header(const std::string& field, int64_t at) {
    std::string name = ascii_lower(trimmed(field));
    if (std::find(kHeaders.begin(), kHeaders.end(), name) != kHeaders.end()) return;
    std::string message = trf("unknown header {0}", in_quotes(trimmed(field)));
    for (std::string_view known : kHeaders) {
      if (edit_distance(name, known) > 2) continue;
      message += trf("; did you mean '{0}'?", known);
      if (known == "[generale]") message += tr(" Nothing is read before [generale]"), general_misspelt_ = true;
      break;
    }
    warn(at, warning::kUnknownSection, message);
  }

  // A field that no keyword test of `section` passes: the reader skips it.
  void unknown(const std::string& field, int64_t at, Section section) {
    std::string t(trimmed(field));
    if (t.empty()) return;
    int64_t line = line_of(at);
    if (line == skipped_line_) return;
    skipped_line_ = line;
    if (line == comment_line_)
      return warn(at, warning::kCommentComma,
                  trf("{0} follows a comma in a comment line: the comma ends the comment's field, so this is read as "
                      "a keyword (and skipped, being none); write the comment without commas",
                      in_quotes(t)));
    if (line == record_line_) return extra(field, at);
    if (looks_like_header(field)) return header(field, at);
    if (!plan_ && match_keyword(section, field, true) != nullptr) return;  // a curve, without the plan
    if (looks_like_number(t))
      return warn(at, warning::kExtraField, trf("stray field {0} is skipped", in_quotes(t)));
    warn_unknown(t, at, section);
  }

  void extra(const std::string& field, int64_t at) {
    if (last_was_text_)
      return warn(at, warning::kTextComma,
                  trf("{0}: the {1} ends at the comma, so {2} is kept and {3} is skipped; put the whole {1} in "
                      "double quotes",
                      last_keyword_, last_text_name_, in_quotes(last_text_), in_quotes(trimmed(field))));
    warn(at, warning::kExtraField,
         trf("extra field {0} after a complete {1} record is skipped", in_quotes(trimmed(field)), last_keyword_));
  }

  void warn_unknown(const std::string& t, int64_t at, Section section) {
    if (section == Section::kLineGeneral) {
      for (const RecordFormat& f : record_formats()) {
        if (f.section != Section::kLineGeneral || !f.case_sensitive) continue;
        bool all = std::all_of(f.words.begin(), f.words.end(), [&](std::string_view w) { return contains_ci(t, w); });
        if (all)
          return warn(at, warning::kKeywordCase,
                      trf("{0} is not read: the keyword '{1}' must be written in lower case", in_quotes(t), f.keyword));
      }
    }
    for (const RecordFormat& f : record_formats()) {
      if (f.section == section || !keyword_matches(f, t)) continue;
      return warn(at, warning::kWrongSection,
                  trf("{0} is a record of the {1}; here, in the {2}, it is skipped", in_quotes(t),
                      tr(section_name(f.section)), tr(section_name(section))) +
                      header_advice(f, section));
    }
    std::string message = trf("{0} is no keyword of the {1}: it is skipped with the values after it", in_quotes(t),
                              tr(section_name(section)));
    if (const RecordFormat* f = one_edit_off(t, section)) {
      out_.warnings.push_back(out_.at(at, Severity::kError, warning::kMisspeltKeyword,
                                      message + trf(", so the scenario lacks this {0} record; did you mean '{1}'?",
                                                    f->heading, f->keyword)));
      return;
    }
    if (const RecordFormat* f = closest(t, section)) message += trf("; did you mean '{0}'?", f->keyword);
    warn(at, warning::kUnknownKeyword, message);
  }

  // The general block ends at the first header after [generale]: a body
  // record above it needs one, named here as the example pair names it.
  static std::string header_advice(const RecordFormat& f, Section section) {
    if (section != Section::kLineGeneral || f.section != Section::kLineBody) return "";
    static const std::map<std::string_view, std::string_view> headers = {
        {"curva", "[curve]"}, {"pendenza", "[pendenze]"}, {"montagna", "[montagne]"},
        {"indicatori_vmax", "[cartelli]"}, {"cartello_indicatore", "[indicazioni]"}};
    auto it = headers.find(f.heading);
    std::string header = it == headers.end() ? "[curve]" : std::string(it->second);
    return trf("; the general block runs up to the first header, so add a header such as {0} before it", header);
  }

  // The keyword of `section` that `t` is one letter off (one added, left out
  // or changed), blanks between words counted as one.
  static const RecordFormat* one_edit_off(const std::string& t, Section section) {
    std::string word;
    for (char c : ascii_lower(t))
      if (!is_blank(c) || (!word.empty() && word.back() != ' ')) word += is_blank(c) ? ' ' : c;
    for (const RecordFormat& f : record_formats())
      if (f.section == section && edit_distance(word, f.keyword) == 1) return &f;
    return nullptr;
  }

  // A keyword of `section` that `t` resembles: one of its words in it, or
  // its first word at most two letters away.
  static const RecordFormat* closest(const std::string& t, Section section) {
    std::string word = ascii_lower(t.substr(0, t.find_first_of(" \t")));
    for (const RecordFormat& f : record_formats()) {
      if (f.section != section) continue;
      std::string first = std::string(f.keyword.substr(0, f.keyword.find(' ')));
      if (word.size() >= 4 && edit_distance(word, first) <= 2) return &f;
      if (f.words.size() > 1 && std::any_of(f.words.begin(), f.words.end(),
                                            [&](std::string_view w) { return w.size() > 4 && contains_ci(t, w); }))
        return &f;
    }
    return nullptr;
  }

  void record(const RecordFormat& format, const std::string& keyword, int64_t at) {
    LintRecord r;
    r.format = &format;
    r.offset = at;
    r.keyword = keyword;
    if (looks_like_header(keyword))
      warn(at, warning::kHeaderIsRecord,
           trf("the header {0} holds '{1}', so it is read as {2} record; its values come from what follows",
               in_quotes(trimmed(keyword)), format.words.front(), with_article(format.keyword)));
    if (line_of(at) == comment_line_)
      warn(at, warning::kCommentComma,
           trf("{0} follows a comma in a comment line: the comma ends the comment's field, so this is read as {1} "
               "record; write the comment without commas",
               in_quotes(trimmed(keyword)), with_article(format.keyword)));
    for (size_t i = 0; i < format.fields.size() && !r.problem; ++i) read_field(r, i);
    bool glued = glued_value(r);
    r.end = pos();
    record_line_ = -1;
    last_keyword_ = record_word(r);
    if (r.problem) {
      r.blank_end = out_.lines.line_end(at);
      out_.records.push_back(std::move(r));
      seek(out_.lines.next_line_start(at));
      return;
    }
    r.blank_end = r.end;
    if (!glued) layout(r);
    const ReadField& last = r.fields.back();
    record_line_ = line_of(last.offset);
    last_was_text_ = format.fields.back().storage == Storage::kText;
    last_text_ = last.text;
    last_text_name_ = tr(format.fields.back().name);
    out_.records.push_back(std::move(r));
  }

  // `velocita    7000, 100`: a keyword with a number after it and no comma
  // between them. The number is read as part of the keyword, and every
  // value of the record one field later than written.
  bool glued_value(LintRecord& r) {
    // Their keywords hold a digit of their own: the curve's class, the number of codes.
    if (r.format->heading == "curva" || r.format->heading == "ripetizione segnali") return false;
    std::string k(trimmed(r.keyword));
    size_t gap = k.find_last_of(" \t");
    if (gap == std::string::npos || !looks_like_number(k.substr(gap + 1))) return false;
    std::string head(trimmed(std::string_view(k).substr(0, gap)));
    std::string value = k.substr(gap + 1);
    if (!keyword_matches(*r.format, head)) return false;
    std::string cause = trf("no comma after the keyword: {0} is read as the keyword, so {1} is not read as a value and "
                            "each value after it is read one field later",
                            in_quotes(k), value);
    std::string fix = trf("; write '{0}, {1}, ...'", utf8_from_1252(head), value);
    if (r.problem) r.problem->reason = cause + " (" + r.problem->reason + ")" + fix, r.problem->shifted = true;
    else warn(r.offset, warning::kMissingComma, record_word(r) + ": " + cause + fix);
    return true;
  }

  void layout(const LintRecord& r) {
    int64_t line = line_of(r.offset);
    for (size_t i = 0; i < r.fields.size(); ++i) {
      if (line_of(r.fields[i].offset) == line) continue;
      warn(r.offset, warning::kSpansLines,
           trf("{0}: {1} is read from line {2} ({3}); the record has {4} of its {5} values on its own line",
               record_word(r), field_name(r, i), line_of(r.fields[i].offset),
               r.fields[i].text.empty() ? std::string(tr("an empty field")) : in_quotes(r.fields[i].text), i,
               r.fields.size()));
      return;
    }
  }

  void read_field(LintRecord& r, size_t i) {
    const FieldFormat& f = r.format->fields[i];
    ReadField field;
    field.offset = field_start();
    if (at_end()) return fail(r, i, trf("the file ends inside the record: {0} is missing", field_name(r, i)));
    if (f.storage == Storage::kText) return read_text_field(r, i, field);
    size_t stop = text_.find_first_of(", \t\r\n", static_cast<size_t>(field.offset));
    field.text = std::string(text_.substr(static_cast<size_t>(field.offset),
                                          (stop == std::string_view::npos ? text_.size() : stop) -
                                              static_cast<size_t>(field.offset)));
    try {
      field.value = read_number(f.storage);
    } catch (const ReadFailure& e) {
      std::string what = e.what();
      std::string shown = field.text.empty() ? std::string(tr("an empty field")) : in_quotes(field.text);
      std::string detail = what == "not a number"
                               ? trf("{0} is not a number", shown) + clock_advice(field.text)
                               : trf("{0} is out of the range the reader takes, {1}", field.text, storage_range(f.storage));
      return fail(r, i, where(r, i, field.offset) + ": " + detail + elsewhere(r, field.offset), field.offset);
    }
    missing_comma(r, field);
    r.fields.push_back(std::move(field));
  }

  // "field 11 (tempo)", and the line it was taken from when that is not the record's own.
  std::string where(const LintRecord& r, size_t i, int64_t offset) const {
    std::string name = field_name(r, i);
    if (line_of(offset) == line_of(r.offset)) return name;
    return trf("{0}, taken from line {1}", name, line_of(offset));
  }

  std::string elsewhere(const LintRecord& r, int64_t offset) const {
    if (line_of(offset) == line_of(r.offset)) return "";
    size_t own = 0;
    while (own < r.fields.size() && line_of(r.fields[own].offset) == line_of(r.offset)) ++own;
    return trf("; the record has {0} of its {1} values on its own line", own, r.format->fields.size());
  }

  int64_t read_number(Storage storage) {
    switch (storage) {
      case Storage::kShort: return in_.read_short();
      case Storage::kByte: return in_.read_byte();
      default: return in_.read_long();
    }
  }

  static std::string storage_range(Storage storage) {
    return trf("{0} to {1}", storage_low(storage), storage_high(storage));
  }

  void missing_comma(const LintRecord& r, const ReadField& field) {
    if (r.format->blank_separated) return;
    size_t at = static_cast<size_t>(field.offset) + field.text.size();
    while (at < text_.size() && is_blank(text_[at])) ++at;
    if (at >= text_.size() || text_[at] == ',' || is_line_end(text_[at])) return;
    warn(field.offset, warning::kMissingComma,
         trf("{0}: no comma after {1}, so {2} is read as the next field", record_word(r), in_quotes(field.text),
             in_quotes(text_.substr(at, std::min<size_t>(text_.find_first_of(", \t\r\n", at), text_.size()) - at))));
  }

  void read_text_field(LintRecord& r, size_t i, ReadField& field) {
    field.text = in_.read_text();
    // A sign's text is checked where it is stored (tools/diagnosing/record_cells.cpp).
    if (field.text.size() > kLongestText && r.format->heading != "cartello_indicatore")
      return fail(r, i, trf("{0} is {1} bytes long; at most 65535 can be stored", field_name(r, i), field.text.size()),
                  field.offset);
    quotes(r, field);
    if (is_utf8_text(field.text)) utf8_text(r, i, field);
    r.fields.push_back(std::move(field));
  }

  void quotes(const LintRecord& r, const ReadField& field) {
    size_t open = static_cast<size_t>(field.offset);
    if (open >= text_.size() || text_[open] != '"') return;
    size_t close = text_.find('"', open + 1);
    size_t line_end = text_.find_first_of("\r\n", open);
    if (close == std::string_view::npos || (line_end != std::string_view::npos && close > line_end)) {
      warn(field.offset, warning::kQuote,
           trf("{0}: the double quote at column {1} is not closed on its line; the text runs on to the next double "
               "quote in the file",
               record_word(r), out_.lines.at(static_cast<int64_t>(open)).column));
      return;
    }
    size_t after = close + 1;
    size_t stop = std::min(text_.find_first_of(",\r\n", after), text_.size());
    std::string rest(trimmed(text_.substr(after, stop - after)));
    if (!rest.empty())
      warn(field.offset, warning::kQuote,
           trf("{0}: {1} after the closing double quote is skipped", record_word(r), in_quotes(rest)));
  }

  void fail(LintRecord& r, size_t i, std::string reason, int64_t field = -1) {
    r.problem = ReadProblem{i, pos(), std::move(reason), field};
  }

  DescriptionLint& out_;
  std::string_view text_;
  FieldReader in_;
  int64_t base_ = 0;
  bool plan_;
  int64_t record_line_ = -1;   // the line on which the last record's values end
  int64_t skipped_line_ = -1;  // the last line on which a field was skipped
  int64_t comment_line_ = -1;  // the last line on which a comment field was skipped
  bool last_was_text_ = false;
  std::string last_text_;
  std::string last_text_name_;
  std::string last_keyword_;
  bool general_misspelt_ = false;             // a header warned as a misspelt [generale]
  std::optional<size_t> encoding_warning_;  // index of the file's W-encoding warning
  int utf8_texts_ = 0;                       // UTF-8 texts not warned on their own
};

}  // namespace

Diagnostic DescriptionLint::at(int64_t offset, Severity severity, std::string_view code, std::string message) const {
  Diagnostic d{severity, std::string(code), file, 0, 0, std::move(message)};
  if (offset < 0) return d;
  TextPosition p = lines.at(offset);
  d.line = p.line;
  d.column = p.column;
  return d;
}

DescriptionLint lint_line(std::string_view text, const std::string& file, bool plan) {
  DescriptionLint out{file, text, TextLines(text), false, {}, {}, {}};
  Linter(out, plan).line();
  return out;
}

DescriptionLint lint_train(std::string_view text, const std::string& file) {
  DescriptionLint out{file, text, TextLines(text), false, {}, {}, {}};
  Linter(out, true).train();
  return out;
}

const LintRecord* record_at(const DescriptionLint& lint, int64_t offset) {
  for (const LintRecord& r : lint.records)
    if (offset > r.offset && offset <= r.end) return &r;
  return nullptr;
}

std::string record_word(const LintRecord& r) {
  // Records that share a heading differ in their keyword: name them as written.
  if (r.format->heading == r.format->keyword) return std::string(r.format->keyword);
  return utf8_from_1252(trimmed(r.keyword));
}

std::string record_label(const LintRecord& r) {
  std::string name = record_word(r);
  const std::vector<FieldFormat>& fields = r.format->fields;
  if (r.complete() && r.format->heading == "stazione") name += " " + in_quotes(r.fields.back().text);
  if (!r.fields.empty() && fields.front().chainage) name += trf(" at {0} m", r.number(0));
  return name;
}

std::string record_name(const DescriptionLint& lint, const LintRecord& r) {
  return trf("{0} (line {1})", record_label(r), lint.lines.line_of(r.offset));
}

std::string field_name(const LintRecord& r, size_t field) {
  return trf("field {0} ({1})", field + 1, tr(r.format->fields.at(field).name));
}

int64_t field_offset(const DescriptionLint& lint, const LintRecord& r, size_t field) {
  int64_t at = r.offset;
  if (field < r.fields.size()) at = r.fields[field].offset;
  else if (r.problem && r.problem->field == field && r.problem->offset >= 0) at = r.problem->offset;
  return lint.lines.line_of(at) == lint.lines.line_of(r.offset) ? at : r.offset;
}

std::string in_quotes(std::string_view bytes) { return "'" + utf8_from_1252(bytes) + "'"; }

// Italian messages put their own article before the word.
std::string with_article(std::string_view word) {
  if (language() == Language::kItalian) return std::string(word);
  bool vowel = !word.empty() && std::string_view("aeiouAEIOU").find(word.front()) != std::string_view::npos;
  return (vowel ? "an " : "a ") + std::string(word);
}

}  // namespace lorvena
