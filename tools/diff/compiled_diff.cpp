#include "tools/diff/compiled_diff.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdio>
#include <functional>

#include "compiler/compiled_format.h"
#include "tools/compiled/cell_kinds.h"
#include "tools/compiled/dump.h"
#include "tools/compiled/table_entries.h"
#include "tools/diff/cell_params.h"
#include "tools/text/messages.h"
#include "tools/text/text_encoding.h"

namespace lorvena {
namespace {

constexpr int64_t kCellMetres = 50;

using Parts = std::vector<std::string>;

std::string changed(const std::string& what, int64_t a, int64_t b, const std::string& unit = "") {
  return a == b ? "" : what + " " + std::to_string(a) + " -> " + std::to_string(b) + unit;
}

void add_change(Parts& parts, const std::string& what, int64_t a, int64_t b) {
  if (a != b) parts.push_back(changed(what, a, b));
}

std::string joined(const Parts& parts) {
  std::string out;
  for (const std::string& p : parts) out += (out.empty() ? "" : ", ") + p;
  return out;
}

// Neighbouring items whose change reads the same: items first to last.
struct Run {
  size_t first;
  size_t last;
  std::string change;
};

std::vector<Run> runs(size_t count, const std::function<std::string(size_t)>& change_of) {
  std::vector<Run> out;
  for (size_t i = 0; i < count; ++i) {
    std::string change = change_of(i);
    if (change.empty()) continue;
    if (!out.empty() && out.back().last + 1 == i && out.back().change == change) out.back().last = i;
    else out.push_back({i, i, std::move(change)});
  }
  return out;
}

std::string range(size_t first, size_t last) {
  return first == last ? std::to_string(first) : std::to_string(first) + ".." + std::to_string(last);
}

// Where two files of different lengths end: the line length sets it (a track
// and a plan run a fixed distance past the line's end), so every item from
// the shorter file's empty tail on changed with the length, and is told as one
// line. `empty_from`: where the shorter file's trailing empty items start.
std::string length_end(const std::string& what, size_t a_size, size_t b_size, size_t empty_from, int64_t metres_each,
                       const std::string& items) {
  size_t shorter = std::min(a_size, b_size);
  auto end_of = [&](size_t size) { return std::to_string(int64_t(size - 1) * metres_each) + " m"; };
  std::string words = "the end of the " + what + ", where the line length puts it: A's runs to " + end_of(a_size) +
                      ", B's to " + end_of(b_size);
  if (empty_from < shorter)
    words += " with its last " + std::to_string(shorter - empty_from) + " " + items + " empty";
  return words;
}

// --- the track ----------------------------------------------------------------

std::string cells_label(size_t first, size_t last) {
  int64_t from = static_cast<int64_t>(first) * kCellMetres, to = static_cast<int64_t>(last) * kCellMetres;
  std::string metres = first == last ? std::to_string(from) : std::to_string(from) + ".." + std::to_string(to);
  return (first == last ? "cell " : "cells ") + range(first, last) + " (" + metres + " m)";
}

std::string kind_label(uint8_t kind) { return kind == cell_kind::kNone ? "free" : kind_name(kind); }

bool holds_nothing(const TrackCell& c) {
  return c.kind == cell_kind::kNone && c.param1 == 0 && c.param2 == 0 && c.param3 == 0 && c.param4 == 0;
}

bool all_zero(const TrackCell& c) {
  return holds_nothing(c) && c.timing == 0 && c.approach == 0 && c.landscape == 0 && c.speed_limit == 0 &&
         c.gradient == 0 && c.adhesion == 0;
}

// The object in the cell, its timing and its approach mark.
std::string object_change(const TrackCell& a, const TrackCell& b) {
  Parts parts;
  if (a.kind != b.kind) parts.push_back(kind_label(a.kind) + " -> " + kind_label(b.kind));
  // An object taken away leaves its values 0: the kind says it all.
  if (a.kind == b.kind || !holds_nothing(b)) {
    std::array<std::string, 4> names = param_names(holds_nothing(b) ? a.kind : b.kind);
    add_change(parts, names[0], a.param1, b.param1);
    add_change(parts, names[1], a.param2, b.param2);
    add_change(parts, names[2], a.param3, b.param3);
    add_change(parts, names[3], a.param4, b.param4);
  }
  add_change(parts, "timing", a.timing, b.timing);
  add_change(parts, "approach mark", a.approach, b.approach);
  return joined(parts);
}

// What changed in a cell, one aspect at a time, so that a profile changed
// along many cells reads as one line beside the objects within it.
using CellAspect = std::string (*)(const TrackCell&, const TrackCell&);
constexpr CellAspect kCellAspects[] = {
    object_change,
    [](const TrackCell& a, const TrackCell& b) { return changed("landscape", a.landscape, b.landscape); },
    [](const TrackCell& a, const TrackCell& b) {
      return changed("speed", a.speed_limit * 5, b.speed_limit * 5, " km/h");
    },
    [](const TrackCell& a, const TrackCell& b) {
      return changed("gradient", a.gradient - 100, b.gradient - 100, " \u2030");
    },
    [](const TrackCell& a, const TrackCell& b) { return changed("adhesion", a.adhesion, b.adhesion, " %"); },
};

// --- the table ----------------------------------------------------------------

// A name as a JSON string: its quotes and control characters escaped, so
// that no name can end its quotes early or drive the terminal.
std::string quoted(const std::string& name_1252) { return json_string(utf8_from_1252(name_1252)); }

std::string entry_label(size_t index, const TableEntry& a, const TableEntry& b) {
  const std::string& name = a.nome.empty() ? b.nome : a.nome;
  std::string label = "entry " + std::to_string(index);
  if (!name.empty()) return label + " " + quoted(name).substr(1, quoted(name).size() - 2);
  return label + " (" + entry_role(index, is_cleared(a) ? b : a) + ")";
}

std::string entry_change(size_t index, const TableEntry& a, const TableEntry& b) {
  Parts parts;
  add_change(parts, "tipo", a.tipo, b.tipo);
  add_change(parts, "inizio", a.inizio, b.inizio);
  add_change(parts, "fine", a.fine, b.fine);
  add_change(parts, "posizione", a.posizione, b.posizione);
  add_change(parts, "flag1", a.flag1, b.flag1);
  if (a.nome != b.nome) parts.push_back("nome " + quoted(a.nome) + " -> " + quoted(b.nome));
  add_change(parts, "val1", a.val1, b.val1);
  add_change(parts, "val2", a.val2, b.val2);
  add_change(parts, "val3", a.val3, b.val3);
  add_change(parts, "val4", a.val4, b.val4);
  add_change(parts, "val5", a.val5, b.val5);
  add_change(parts, "flag2", a.flag2, b.flag2);
  add_change(parts, "flag3", a.flag3, b.flag3);
  add_change(parts, "flag4", a.flag4, b.flag4);
  add_change(parts, "flag5", a.flag5, b.flag5);
  bool station = entry_role(index, a) == "station" || entry_role(index, b) == "station";
  if (a.ora != b.ora && station) parts.push_back("time " + clock_time(a.ora) + " -> " + clock_time(b.ora));
  else add_change(parts, "ora", a.ora, b.ora);
  return joined(parts);
}

// --- the plan -----------------------------------------------------------------

bool same(const PlanValue& a, const PlanValue& b) {
  return a.tag == b.tag && std::bit_cast<uint64_t>(a.value) == std::bit_cast<uint64_t>(b.value);
}

bool computed(const PlanValue& x, const PlanValue& y) { return x.tag != kTagEmpty && y.tag != kTagEmpty; }

std::string element_name(uint16_t tag) {
  return tag == kTagInteger ? "integer" : tag == kTagDouble ? "double" : "empty";
}

// Points that moved all read "differ"; the distance is told per run.
std::string point_change(const PlanColumns& a, const PlanColumns& b, size_t m) {
  const PlanValue &ax = a.x[m], &ay = a.y[m], &bx = b.x[m], &by = b.y[m];
  if (same(ax, bx) && same(ay, by)) return {};
  bool in_a = computed(ax, ay), in_b = computed(bx, by);
  if (in_a != in_b) return in_a ? "computed -> empty" : "empty -> computed";
  bool same_values = ax.value == bx.value && ay.value == by.value;
  if (in_a && same_values && ax.tag != bx.tag)
    return "stored as " + element_name(ax.tag) + " -> " + element_name(bx.tag);
  if (in_a && same_values && ay.tag != by.tag)
    return "stored as " + element_name(ay.tag) + " -> " + element_name(by.tag);
  return "differ";
}

double distance(const PlanColumns& a, const PlanColumns& b, size_t m) {
  if (!computed(a.x[m], a.y[m]) || !computed(b.x[m], b.y[m])) return 0;
  return std::hypot(b.x[m].value - a.x[m].value, b.y[m].value - a.y[m].value);
}

std::string metres(double d) {
  char buf[32];
  if (d == 0) return "0";
  std::snprintf(buf, sizeof buf, d >= 0.01 && d < 1e9 ? "%.2f" : "%.2g", d);
  return buf;
}

std::string points_label(size_t first, size_t last) {
  return (first == last ? "plan point " : "plan points ") + range(first, last) + " m";
}

std::string plan_run_text(const PlanColumns& a, const PlanColumns& b, const Run& r) {
  std::string label = points_label(r.first, r.last) + ": ";
  if (r.change != "differ") return label + r.change;
  double most = 0;
  for (size_t m = r.first; m <= r.last; ++m) {
    double d = distance(a, b, m);
    if (std::isnan(d) || d > most) most = d;
    if (std::isnan(most)) break;
  }
  return label + (r.first == r.last ? "differs by " + metres(most) + " m" : "differ (max " + metres(most) + " m)");
}

template <typename Decode>
auto decoded(const CompiledBytes& file, const char* what, Decode decode) {
  try {
    return decode(file.bytes);
  } catch (const DecodeError& e) {
    throw DecodeError(trf("{0}: not a compiled {1}: {2}", file.name, tr(what), e.what()));
  }
}

}  // namespace

std::vector<std::string> track_changes(const std::vector<TrackCell>& a, const std::vector<TrackCell>& b) {
  const std::vector<TrackCell>& shorter = a.size() < b.size() ? a : b;
  size_t common = shorter.size();
  if (a.size() != b.size())
    while (common > 0 && all_zero(shorter[common - 1])) --common;
  std::vector<Run> all;
  for (CellAspect aspect : kCellAspects)
    for (Run& r : runs(common, [&](size_t i) { return aspect(a[i], b[i]); })) all.push_back(std::move(r));
  std::stable_sort(all.begin(), all.end(), [](const Run& x, const Run& y) { return x.first < y.first; });
  std::vector<std::string> lines;
  for (size_t i = 0; i < all.size(); ++i) {
    const Run& r = all[i];
    bool same_cells = i > 0 && all[i - 1].first == r.first && all[i - 1].last == r.last;
    if (same_cells) lines.back() += ", " + r.change;
    else lines.push_back(cells_label(r.first, r.last) + ": " + r.change);
  }
  if (a.size() != b.size())
    lines.push_back(cells_label(common, std::max(a.size(), b.size()) - 1) + ": " +
                    length_end("track", a.size(), b.size(), common, kCellMetres, "cells"));
  return lines;
}

std::vector<std::string> table_changes(const std::array<TableEntry, kTableSize>& a,
                                       const std::array<TableEntry, kTableSize>& b) {
  std::vector<std::string> lines;
  for (size_t i = 0; i < a.size(); ++i) {
    std::string change = entry_change(i, a[i], b[i]);
    if (!change.empty()) lines.push_back(entry_label(i, a[i], b[i]) + ": " + change);
  }
  return lines;
}

std::vector<std::string> plan_changes(const PlanColumns& a, const PlanColumns& b) {
  const PlanColumns& shorter = a.x.size() < b.x.size() ? a : b;
  size_t common = shorter.x.size();
  if (a.x.size() != b.x.size())
    while (common > 0 && !computed(shorter.x[common - 1], shorter.y[common - 1])) --common;
  std::vector<std::string> lines;
  for (const Run& r : runs(common, [&](size_t m) { return point_change(a, b, m); }))
    lines.push_back(plan_run_text(a, b, r));
  if (a.x.size() != b.x.size())
    lines.push_back(points_label(common, std::max(a.x.size(), b.x.size()) - 1) + ": " +
                    length_end("plan", a.x.size(), b.x.size(), common, 1, "points"));
  return lines;
}

std::vector<std::string> compiled_changes(CompiledKind kind, const CompiledBytes& a, const CompiledBytes& b) {
  switch (kind) {
    case CompiledKind::kTrack:
      return track_changes(decoded(a, N_("track"), decode_track), decoded(b, N_("track"), decode_track));
    case CompiledKind::kTable:
      return table_changes(decoded(a, N_("table"), decode_table), decoded(b, N_("table"), decode_table));
    case CompiledKind::kPlan:
      return plan_changes(decoded(a, N_("plan"), decode_plan), decoded(b, N_("plan"), decode_plan));
  }
  return {};
}

}  // namespace lorvena
