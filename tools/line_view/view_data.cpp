#include "tools/line_view/view_data.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <optional>

#include <nlohmann/json.hpp>

#include "tools/compiled/dump.h"
#include "tools/diagnosing/description_lint.h"
#include "tools/picture/line_features.h"
#include "tools/picture/svg_writer.h"
#include "tools/text/text_encoding.h"
#include "tools/timetable/timetable.h"

namespace lorvena {
namespace {

// Members keep the order they are written in.
using Json = nlohmann::ordered_json;

// The plan is sent as at most this many points.
constexpr int64_t kPlanPoints = 4000;

std::string text(const std::string& text_1252) { return utf8_from_1252(text_1252); }

template <typename T, typename F>
Json json_list(const std::vector<T>& items, F item) {
  Json out = Json::array();
  for (const T& it : items) out.push_back(item(it));
  return out;
}

// A plan coordinate to a tenth of a metre, the value the decimal "%.1f" reads as.
double tenths(double value) { return std::strtod(fmt(value).c_str(), nullptr); }

// A record's chainage: its first value, when the record's format says it is one.
std::optional<int64_t> record_chainage(const LintRecord& r) {
  if (!r.complete() || r.fields.empty() || r.format->fields.empty() || !r.format->fields[0].chainage)
    return std::nullopt;
  return r.number(0);
}

struct IndexedRecord {
  const DescriptionLint* lint;
  const LintRecord* record;
};

// Every complete record of both descriptions, and which one an object of
// the compiled line comes from.
class RecordIndex {
 public:
  RecordIndex(const DescriptionLint& line, const DescriptionLint& train) : lints_{&line, &train} {
    for (const DescriptionLint* lint : {&line, &train})
      for (const LintRecord& r : lint->records)
        if (r.complete()) {
          if (std::optional<int64_t> at = record_chainage(r)) by_chainage_.emplace_back(*at, records_.size());
          records_.push_back({lint, &r});
        }
    std::sort(by_chainage_.begin(), by_chainage_.end());
  }

  // The record whose keyword holds `word` and whose chainage is nearest
  // `chainage`, no farther than `reach` metres (of two as near, the one read
  // first); -1 when none is. Looked up among the records by chainage.
  int64_t find(std::string_view word, int64_t chainage, int64_t reach = 50) const {
    int64_t best = -1, best_distance = reach + 1;
    auto it = std::lower_bound(by_chainage_.begin(), by_chainage_.end(), std::pair<int64_t, size_t>{chainage - reach, 0});
    for (; it != by_chainage_.end() && it->first <= chainage + reach; ++it) {
      if (records_[it->second].record->keyword.find(word) == std::string::npos) continue;
      int64_t distance = std::llabs(it->first - chainage), k = int64_t(it->second);
      if (distance < best_distance || (distance == best_distance && k < best)) best = k, best_distance = distance;
    }
    return best;
  }

  // The chainage of the record a diagnostic points at, if it has one: an
  // unreadable record's too, when its chainage was read before the fault.
  std::optional<int64_t> chainage_of(const Diagnostic& d) const {
    for (const DescriptionLint* lint : lints_) {
      if (!same_file(lint->file, d.file)) continue;
      for (const LintRecord& r : lint->records) {
        if (lint->lines.line_of(r.offset) != d.line) continue;
        if (r.complete()) return record_chainage(r);
        bool read = !r.fields.empty() && r.problem->field > 0 && !r.format->fields.empty() && r.format->fields[0].chainage;
        return read ? std::optional<int64_t>(r.number(0)) : std::nullopt;
      }
    }
    return std::nullopt;
  }

  // The two descriptions' names, which records point at by index.
  Json files_json() const { return Json::array({lints_[0]->file, lints_[1]->file}); }

  // Each record as [file, line, keyword, format, values]: the index of its
  // file, of its format in `formats`, and its values as written (an array,
  // not an object: a long line has thousands of records).
  Json json(const std::vector<const RecordFormat*>& formats) const {
    return json_list(records_, [&](const IndexedRecord& r) {
      int64_t format = std::find(formats.begin(), formats.end(), r.record->format) - formats.begin();
      return Json::array({r.lint == lints_[0] ? 0 : 1, r.lint->lines.line_of(r.record->offset), text(r.record->keyword),
                          format, json_list(r.record->fields, [](const ReadField& f) { return text(f.text); })});
    });
  }

 private:
  static bool same_file(const std::string& a, const std::string& b) {
    return std::filesystem::path(a).filename() == std::filesystem::path(b).filename();
  }
  std::vector<const DescriptionLint*> lints_;
  std::vector<IndexedRecord> records_;
  std::vector<std::pair<int64_t, size_t>> by_chainage_;  // (chainage, index in records_), sorted
};

// The record table's field names and units, for the page to name each value.
Json formats_json(const std::vector<const RecordFormat*>& formats) {
  return json_list(formats, [](const RecordFormat* f) {
    return Json{{"keyword", f->keyword}, {"fields", json_list(f->fields, [](const FieldFormat& ff) {
                                           return Json::array({ff.name, ff.unit});
                                         })}};
  });
}

// After an error that stopped the reading, the cells past the last one whose
// `value` was filled hold 0: the first of them, or -1.
template <typename F>
int64_t unread_from(const CompileResult& result, size_t cells, F value) {
  size_t end = std::min(cells, result.model.track.size());
  if (result.recorded.empty() && result.fatal.empty()) return -1;
  size_t c = end;
  while (c > 0 && value(result.model.track[c - 1]) == 0) --c;
  return c == end ? -1 : int64_t(c);
}

Json unread_json(const CompileResult& result, size_t cells) {
  return Json{{"speed", unread_from(result, cells, [](const TrackCell& c) { return c.speed_limit; })},
              {"adhesion", unread_from(result, cells, [](const TrackCell& c) { return c.adhesion; })}};
}

size_t cell_count(const Scenario& m, int64_t length) {
  return std::min<size_t>(m.track.size(), size_t(std::max<int64_t>(length, 0) / 50) + 1);
}

// One cell value along the line as runs: [value, how many cells], in order.
template <typename F>
Json runs_json(const Scenario& m, size_t cells, F value) {
  Json out = Json::array();
  for (size_t c = 0; c < cells;) {
    size_t end = c + 1;
    while (end < cells && value(m.track[end]) == value(m.track[c])) ++end;
    out.push_back(Json::array({value(m.track[c]), int64_t(end - c)}));
    c = end;
  }
  return out;
}

Json cells_json(const Scenario& m, int64_t length) {
  size_t cells = cell_count(m, length);
  return Json{{"gradient", runs_json(m, cells, [](const TrackCell& c) { return int64_t(c.gradient) - 100; })},
              {"speed", runs_json(m, cells, [](const TrackCell& c) { return int64_t(c.speed_limit) * 5; })},
              {"adhesion", runs_json(m, cells, [](const TrackCell& c) { return int64_t(c.adhesion); })}};
}

// [chainage, x, y] every few metres, from the start of the line to its end.
Json plan_json(const Scenario& m, int64_t length) {
  const Plan& p = m.profile;
  Json out = Json::array();
  if (!p.origin_set || p.next <= 2) return out;
  int64_t last = std::min<int64_t>(length, p.next - 1);
  int64_t step = std::max<int64_t>(1, last / kPlanPoints);
  for (int64_t i = 0; i <= last; i = (i == last ? last + 1 : std::min(i + step, last)))
    out.push_back(Json::array({i, tenths(p.x[size_t(i)]), tenths(p.y[size_t(i)])}));
  return out;
}

// The fastest run's speed in km/h every `step` metres from `from`, its last
// metre included: every 10 m, or fewer points on a long run.
Json run_json(const FastestRun& run) {
  int64_t length = static_cast<int64_t>(run.speed.size()) - 1;
  int64_t step = std::max<int64_t>(10, (length / 20000 / 10 + 1) * 10);
  Json speeds = Json::array();
  for (int64_t i = 0; i <= length; i = i == length ? length + 1 : std::min(i + step, length))
    speeds.push_back(std::round(static_cast<double>(run.speed[static_cast<size_t>(i)]) * 36) / 10);
  return Json{{"from", run.from}, {"step", step}, {"speeds", speeds}};
}

// When the fastest run reaches a station, "" when it does not.
std::string earliest_text(const FastestRun& run, const StationMark& s) {
  for (const RunStation& r : run.stations) {
    if (r.chainage != s.chainage || r.name != s.name) continue;
    std::optional<int64_t> at = earliest_seconds(r);
    return at ? clock_time(static_cast<int32_t>(*at)) : "";
  }
  return "";
}

// The objects along the line, each with the index of its record (-1: none found).
void add_features(Json& out, const LineFeatures& f, const RecordIndex& index, const FastestRun* run) {
  out["stations"] = json_list(f.stations, [&](const StationMark& s) {
    return Json{{"at", s.chainage}, {"name", text(s.name)}, {"time", s.ora != 0 ? clock_time(s.ora) : ""},
                {"rec", index.find("stazione", s.chainage)}, {"earliest", run != nullptr ? earliest_text(*run, s) : ""}};
  });
  out["signals"] = json_list(f.signals, [&](int32_t at) { return Json{{"at", at}, {"rec", index.find("segnale", at)}}; });
  out["signs"] = json_list(f.signs, [&](const SignMark& s) {
    return Json{{"at", s.chainage}, {"text", text(s.text)}, {"rec", index.find("cartello", s.chainage)}};
  });
  out["slowdowns"] = json_list(f.slowdowns, [&](const Stretch& s) {
    return Json{{"start", s.start}, {"end", s.end}, {"speed", s.speed}, {"rec", index.find("rallentamento", s.start)}};
  });
  // A warning board stands 1200 m before its slowdown's start.
  out["warnings"] = json_list(f.warnings, [&](const Stretch& w) {
    return Json{{"at", w.start}, {"rec", index.find("rallentamento", w.start + 1200)}};
  });
  out["boards"] = json_list(f.speed_boards, [&](const SpeedBoard& b) {
    return Json{{"at", b.chainage}, {"speeds", Json::array({b.left[0], b.left[1], b.left[2]})},
                {"rec", index.find("indicatori", b.chainage)}};
  });
  out["tunnels"] = json_list(f.tunnels, [&](const Stretch& t) {
    return Json{{"start", t.start}, {"end", t.end}, {"rec", index.find("montagna", t.start)}};
  });
  out["curves"] = json_list(f.curves, [&](const Curve& c) {
    return Json{{"start", c.start}, {"end", c.end}, {"right", c.right}, {"radius", c.radius},
                {"rec", index.find("curva", c.start, 2)}};
  });
}

Json diagnostics_json(const std::vector<Diagnostic>& list, const RecordIndex& index) {
  return json_list(list, [&](const Diagnostic& d) {
    std::optional<int64_t> at = index.chainage_of(d);
    std::string line = diagnostic_line(d);
    line.pop_back();  // its newline
    return Json{{"severity", severity_name(d.severity)}, {"text", line}, {"code", d.code}, {"file", d.file},
                {"line", d.line}, {"column", d.column}, {"message", d.message},
                {"at", at ? Json(*at) : Json(nullptr)}};
  });
}

}  // namespace

std::string view_data_json(const CompileResult& result, const std::vector<Diagnostic>& diagnostics,
                           const std::string& line_file, const std::string& train_file) {
  const Scenario& m = result.model;
  LineFeatures f = line_features(m);
  DescriptionLint line = lint_line(result.line_text, line_file, true);
  DescriptionLint train = lint_train(result.train_text, train_file);
  RecordIndex index(line, train);
  int64_t length = std::max<int64_t>(f.length, 50);
  std::vector<const RecordFormat*> formats;
  for (const RecordFormat& format : record_formats()) formats.push_back(&format);
  Json out{{"name", text(m.scenario_name)},
           {"train", text(m.train_number)},
           {"length", length},
           {"cells", cells_json(m, length)},
           {"unreadFrom", unread_json(result, cell_count(m, length))},
           {"plan", plan_json(m, length)}};
  // The run needs the whole line: none after an error that stopped the reading.
  std::optional<FastestRun> run;
  if (result.recorded.empty() && result.fatal.empty()) run = fastest_run(m);
  out["run"] = run ? run_json(*run) : Json(nullptr);
  add_features(out, f, index, run ? &*run : nullptr);
  out["formats"] = formats_json(formats);
  out["files"] = index.files_json();
  out["records"] = index.json(formats);
  out["diagnostics"] = diagnostics_json(diagnostics, index);
  // Bytes that are not UTF-8 (a file name, a message quoting one) read as U+FFFD, as the page would show them.
  return out.dump(-1, ' ', false, Json::error_handler_t::replace);
}

}  // namespace lorvena
