#include "tools/diff/record_diff.h"

#include <algorithm>

#include "tools/diagnosing/description_lint.h"
#include "tools/text/text_encoding.h"

namespace lorvena {
namespace {

struct Side {
  const DescriptionLint* lint;
  std::vector<const LintRecord*> left;  // not yet matched
};

std::string text_of(const ReadField& f) { return utf8_from_1252(f.text); }

bool has_chainage(const LintRecord& r) { return !r.fields.empty() && !r.format->fields.empty() && r.format->fields[0].chainage; }

// Field `k` as written, with its unit: "5400 m", "50 km/h".
std::string value(const LintRecord& r, size_t k) {
  std::string unit = k < r.format->fields.size() ? std::string(r.format->fields[k].unit) : "";
  return text_of(r.fields[k]) + (unit.empty() ? "" : " " + unit);
}

std::string name_of(const LintRecord& r, size_t k) {
  return k < r.format->fields.size() ? std::string(r.format->fields[k].name) : "field " + std::to_string(k + 1);
}

bool same_fields(const LintRecord& a, const LintRecord& b, size_t from) {
  if (a.format != b.format || a.fields.size() != b.fields.size()) return false;
  for (size_t k = from; k < a.fields.size(); ++k)
    if (a.fields[k].text != b.fields[k].text) return false;
  return true;
}

int64_t line_of(const Side& s, const LintRecord& r) { return s.lint->lines.line_of(r.offset); }

std::string head(const Side& s, const LintRecord& r) {
  return utf8_from_1252(r.keyword) + ", line " + std::to_string(line_of(s, r));
}

// Removes from both sides each pair `match` accepts (the first in B for
// each record of A, in order) and tells it with `tell`.
template <typename Match, typename Tell>
void pair_off(Side& a, Side& b, Match match, Tell tell) {
  for (size_t i = 0; i < a.left.size();) {
    size_t j = 0;
    while (j < b.left.size() && !match(*a.left[i], *b.left[j])) ++j;
    if (j == b.left.size()) {
      ++i;
      continue;
    }
    tell(*a.left[i], *b.left[j]);
    a.left.erase(a.left.begin() + int64_t(i));
    b.left.erase(b.left.begin() + int64_t(j));
  }
}

// The values of a record after its chainage, those with a unit: "50 km/h".
std::string with_units(const LintRecord& r) {
  std::string out;
  for (size_t k = has_chainage(r) ? 1 : 0; k < r.fields.size(); ++k)
    if (k < r.format->fields.size() && !r.format->fields[k].unit.empty()) out += ", " + value(r, k);
  return out;
}

std::string placed(const LintRecord& r) { return has_chainage(r) ? " at " + value(r, 0) : ""; }

std::vector<std::string> changes(const DescriptionLint& la, const DescriptionLint& lb) {
  Side a{&la, {}}, b{&lb, {}};
  for (const LintRecord& r : la.records) if (r.format && !r.fields.empty()) a.left.push_back(&r);
  for (const LintRecord& r : lb.records) if (r.format && !r.fields.empty()) b.left.push_back(&r);
  std::vector<std::pair<int64_t, std::string>> told;  // B's line (A's for a removed record), the words
  pair_off(a, b, [](const LintRecord& x, const LintRecord& y) { return same_fields(x, y, 0); },
           [](const LintRecord&, const LintRecord&) {});
  pair_off(a, b, [](const LintRecord& x, const LintRecord& y) { return has_chainage(x) && same_fields(x, y, 1); },
           [&](const LintRecord& x, const LintRecord& y) {
             told.push_back({line_of(b, y), head(b, y) + ": " + text_of(x.fields[0]) + " -> " + value(y, 0)});
           });
  auto same_place = [](const LintRecord& x, const LintRecord& y) {
    return x.format == y.format && (!has_chainage(x) || x.fields[0].text == y.fields[0].text);
  };
  pair_off(a, b, same_place, [&](const LintRecord& x, const LintRecord& y) {
    std::string words;
    for (size_t k = 0; k < std::max(x.fields.size(), y.fields.size()); ++k) {
      std::string from = k < x.fields.size() ? value(x, k) : "(none)", to = k < y.fields.size() ? value(y, k) : "(none)";
      if (from != to) words += (words.empty() ? "" : ", ") + name_of(k < y.fields.size() ? y : x, k) + " " + from + " -> " + to;
    }
    told.push_back({line_of(b, y), head(b, y) + placed(y) + ": " + words});
  });
  for (const LintRecord* r : a.left)
    told.push_back({line_of(a, *r), utf8_from_1252(r->keyword) + " removed" + placed(*r) + with_units(*r) + " (line " +
                                        std::to_string(line_of(a, *r)) + " of A)"});
  for (const LintRecord* r : b.left)
    told.push_back({line_of(b, *r), utf8_from_1252(r->keyword) + " added" + placed(*r) + with_units(*r) + ", line " +
                                        std::to_string(line_of(b, *r))});
  std::stable_sort(told.begin(), told.end(), [](const auto& p, const auto& q) { return p.first < q.first; });
  std::vector<std::string> out;
  for (auto& [line, words] : told) out.push_back(words);
  return out;
}

}  // namespace

std::vector<std::string> record_changes(const DescriptionTexts& a, const DescriptionTexts& b) {
  std::vector<std::string> out;
  DescriptionLint la = lint_line(a.line_text, a.line_file, true), lb = lint_line(b.line_text, b.line_file, true);
  for (std::string& c : changes(la, lb)) out.push_back(b.line_file + ": " + c);
  DescriptionLint ta = lint_train(a.train_text, a.train_file), tb = lint_train(b.train_text, b.train_file);
  for (std::string& c : changes(ta, tb)) out.push_back(b.train_file + ": " + c);
  return out;
}

}  // namespace lorvena
