#include "tools/view_data.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <optional>

#include "tools/description_lint.h"
#include "tools/dump.h"
#include "tools/line_features.h"
#include "tools/svg_writer.h"
#include "tools/text_encoding.h"

namespace lorvena {
namespace {

// The plan is sent as at most this many points.
constexpr int64_t kPlanPoints = 4000;

std::string quoted(const std::string& text_1252) { return json_string(utf8_from_1252(text_1252)); }

template <typename T, typename F>
std::string json_list(const std::vector<T>& items, F item) {
  std::string out = "[";
  for (size_t k = 0; k < items.size(); ++k) out += (k == 0 ? "" : ",") + item(items[k]);
  return out + "]";
}

std::string number(int64_t value) { return std::to_string(value); }

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
        if (r.complete()) records_.push_back({lint, &r});
  }

  // The record whose keyword holds `word` and whose chainage is nearest
  // `chainage`, no farther than `reach` metres; -1 when none is.
  int64_t find(std::string_view word, int64_t chainage, int64_t reach = 50) const {
    int64_t best = -1, best_distance = reach + 1;
    for (size_t k = 0; k < records_.size(); ++k) {
      std::optional<int64_t> at = record_chainage(*records_[k].record);
      if (!at || records_[k].record->keyword.find(word) == std::string::npos) continue;
      int64_t distance = std::llabs(*at - chainage);
      if (distance < best_distance) best = int64_t(k), best_distance = distance;
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
  std::string files_json() const {
    return "[" + json_string(lints_[0]->file) + "," + json_string(lints_[1]->file) + "]";
  }

  // Each record with the index of its file and of its format in `formats`.
  std::string json(const std::vector<const RecordFormat*>& formats) const {
    return json_list(records_, [&](const IndexedRecord& r) {
      std::string values = json_list(r.record->fields, [](const ReadField& f) { return quoted(f.text); });
      int64_t format = std::find(formats.begin(), formats.end(), r.record->format) - formats.begin();
      return "{\"file\":" + number(r.lint == lints_[0] ? 0 : 1) + ",\"line\":" +
             number(r.lint->lines.line_of(r.record->offset)) + ",\"keyword\":" + quoted(r.record->keyword) +
             ",\"format\":" + number(format) + ",\"values\":" + values + "}";
    });
  }

 private:
  static bool same_file(const std::string& a, const std::string& b) {
    return std::filesystem::path(a).filename() == std::filesystem::path(b).filename();
  }
  std::vector<const DescriptionLint*> lints_;
  std::vector<IndexedRecord> records_;
};

// The record table's field names and units, for the page to name each value.
std::string formats_json(const std::vector<const RecordFormat*>& formats) {
  return json_list(formats, [](const RecordFormat* f) {
    return "{\"keyword\":" + json_string(f->keyword) + ",\"fields\":" + json_list(f->fields, [](const FieldFormat& ff) {
             return "[" + json_string(ff.name) + "," + json_string(ff.unit) + "]";
           }) + "}";
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

std::string unread_json(const CompileResult& result, size_t cells) {
  return "{\"speed\":" + number(unread_from(result, cells, [](const TrackCell& c) { return c.speed_limit; })) +
         ",\"adhesion\":" + number(unread_from(result, cells, [](const TrackCell& c) { return c.adhesion; })) + "}";
}

size_t cell_count(const Scenario& m, int64_t length) {
  return std::min<size_t>(m.track.size(), size_t(std::max<int64_t>(length, 0) / 50) + 1);
}

// One cell value along the line as runs: [value, how many cells], in order.
template <typename F>
std::string runs_json(const Scenario& m, size_t cells, F value) {
  std::string out;
  for (size_t c = 0; c < cells;) {
    size_t end = c + 1;
    while (end < cells && value(m.track[end]) == value(m.track[c])) ++end;
    out += (c == 0 ? "[" : ",[") + number(value(m.track[c])) + "," + number(int64_t(end - c)) + "]";
    c = end;
  }
  return "[" + out + "]";
}

std::string cells_json(const Scenario& m, int64_t length) {
  size_t cells = cell_count(m, length);
  return "{\"gradient\":" + runs_json(m, cells, [](const TrackCell& c) { return int64_t(c.gradient) - 100; }) +
         ",\"speed\":" + runs_json(m, cells, [](const TrackCell& c) { return int64_t(c.speed_limit) * 5; }) +
         ",\"adhesion\":" + runs_json(m, cells, [](const TrackCell& c) { return int64_t(c.adhesion); }) + "}";
}

// [chainage, x, y] every few metres, from the start of the line to its end.
std::string plan_json(const Scenario& m, int64_t length) {
  const Plan& p = m.profile;
  if (!p.origin_set || p.next <= 2) return "[]";
  int64_t last = std::min<int64_t>(length, p.next - 1);
  int64_t step = std::max<int64_t>(1, last / kPlanPoints);
  std::string out = "[";
  for (int64_t i = 0; i <= last; i = (i == last ? last + 1 : std::min(i + step, last))) {
    out += (i == 0 ? "[" : ",[") + number(i) + "," + fmt(p.x[size_t(i)]) + "," + fmt(p.y[size_t(i)]) + "]";
  }
  return out + "]";
}

std::string features_json(const LineFeatures& f, const RecordIndex& index) {
  auto rec = [](int64_t k) { return ",\"rec\":" + number(k); };
  std::string out;
  out += ",\"stations\":" + json_list(f.stations, [&](const StationMark& s) {
    return "{\"at\":" + number(s.chainage) + ",\"name\":" + quoted(s.name) + ",\"time\":" +
           json_string(s.ora != 0 ? clock_time(s.ora) : "") + rec(index.find("stazione", s.chainage)) + "}";
  });
  out += ",\"signals\":" + json_list(f.signals, [&](int32_t at) {
    return "{\"at\":" + number(at) + rec(index.find("segnale", at)) + "}";
  });
  out += ",\"signs\":" + json_list(f.signs, [&](const SignMark& s) {
    return "{\"at\":" + number(s.chainage) + ",\"text\":" + quoted(s.text) + rec(index.find("cartello", s.chainage)) +
           "}";
  });
  out += ",\"slowdowns\":" + json_list(f.slowdowns, [&](const Stretch& s) {
    return "{\"start\":" + number(s.start) + ",\"end\":" + number(s.end) + ",\"speed\":" + number(s.speed) +
           rec(index.find("rallentamento", s.start)) + "}";
  });
  // A warning board stands 1200 m before its slowdown's start.
  out += ",\"warnings\":" + json_list(f.warnings, [&](const Stretch& w) {
    return "{\"at\":" + number(w.start) + rec(index.find("rallentamento", w.start + 1200)) + "}";
  });
  out += ",\"boards\":" + json_list(f.speed_boards, [&](const SpeedBoard& b) {
    return "{\"at\":" + number(b.chainage) + ",\"speeds\":[" + number(b.left[0]) + "," + number(b.left[1]) + "," +
           number(b.left[2]) + "]" + rec(index.find("indicatori", b.chainage)) + "}";
  });
  out += ",\"tunnels\":" + json_list(f.tunnels, [&](const Stretch& t) {
    return "{\"start\":" + number(t.start) + ",\"end\":" + number(t.end) + rec(index.find("montagna", t.start)) + "}";
  });
  out += ",\"curves\":" + json_list(f.curves, [&](const Curve& c) {
    return "{\"start\":" + number(c.start) + ",\"end\":" + number(c.end) + ",\"right\":" +
           (c.right ? "true" : "false") + ",\"radius\":" + number(c.radius) + rec(index.find("curva", c.start, 2)) +
           "}";
  });
  return out;
}

std::string diagnostics_json(const std::vector<Diagnostic>& list, const RecordIndex& index) {
  return json_list(list, [&](const Diagnostic& d) {
    std::optional<int64_t> at = index.chainage_of(d);
    std::string text = diagnostic_line(d);
    text.pop_back();  // its newline
    return "{\"severity\":" + json_string(severity_name(d.severity)) + ",\"text\":" + json_string(text) +
           ",\"code\":" + json_string(d.code) +
           ",\"file\":" + json_string(d.file) + ",\"line\":" + number(d.line) + ",\"column\":" + number(d.column) +
           ",\"message\":" + json_string(d.message) + ",\"at\":" + (at ? number(*at) : "null") + "}";
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
  return "{\"name\":" + quoted(m.scenario_name) + ",\"train\":" + quoted(m.train_number) +
         ",\"length\":" + number(length) + ",\"cells\":" + cells_json(m, length) +
         ",\"unreadFrom\":" + unread_json(result, cell_count(m, length)) + ",\"plan\":" + plan_json(m, length) +
         features_json(f, index) + ",\"formats\":" + formats_json(formats) + ",\"files\":" + index.files_json() + ",\"records\":" + index.json(formats) +
         ",\"diagnostics\":" + diagnostics_json(diagnostics, index) + "}";
}

}  // namespace lorvena
