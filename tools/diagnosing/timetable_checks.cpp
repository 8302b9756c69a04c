#include "tools/diagnosing/timetable_checks.h"

#include <algorithm>
#include <cmath>

#include "tools/compiled/dump.h"
#include "tools/diagnosing/warning_texts.h"
#include "tools/text/messages.h"
#include "tools/text/text_encoding.h"
#include "tools/timetable/timetable.h"

namespace lorvena {
namespace {

constexpr size_t kStationHours = 13;
constexpr int64_t kWarningBoardDistance = 1200;

std::string metres(int64_t m) { return trf("{0} m", m); }

std::string clock(int64_t seconds) { return clock_time(static_cast<int32_t>(seconds)); }

// The station records in the order the table holds them: entry 1, 2, ...
std::vector<const LintRecord*> station_records(const DescriptionLint& train) {
  std::vector<const LintRecord*> out;
  for (const LintRecord& r : train.records)
    if (r.complete() && r.format->heading == "stazione") out.push_back(&r);
  return out;
}

}  // namespace

// A station reached after its time is told where its own leg is too short
// for the run: from the stop before it, leaving at that stop's time (or at
// the start), the train needs longer than the timetable gives. A lateness
// that only carries on from a stop before is told there, once.
std::vector<Diagnostic> check_timetable(const Scenario&, const FastestRun& run, const DescriptionLint& train,
                                        const TrainModel&) {
  std::vector<Diagnostic> out;
  std::vector<const LintRecord*> records = station_records(train);
  std::optional<int32_t> before;        // the time of the station before, as written
  const RunStation* left = nullptr;     // the stop (or the start) the train last left
  bool unreached_told = false;
  for (const RunStation& s : run.stations) {
    size_t k = static_cast<size_t>(s.entry - 1);
    const RunStation* from = left;
    if (s.departure) left = &s;
    if (k >= records.size() || !s.scheduled) continue;
    const LintRecord& r = *records[k];
    bool backwards = before && *s.scheduled < *before;  // W-times-backwards tells it
    before = s.scheduled;
    // Before the clock starts: W-clock-late or W-time tells it.
    if (s.stop_at <= run.from || backwards || *s.scheduled < run.start_time) continue;
    Diagnostic d = train.at(field_offset(train, r, kStationHours), Severity::kWarning, warning::kTimetable, "");
    if (!s.earliest) {
      if (unreached_told) continue;
      unreached_told = true;
      d.message = trf("{0}: the train cannot get there to keep its time {1}: {2}", record_label(r), clock(*s.scheduled),
                      stall_text(run));
      out.push_back(std::move(d));
      continue;
    }
    std::optional<int64_t> margin = margin_seconds(s);
    if (!margin || *margin >= 0 || from == nullptr || !from->departure) continue;
    double leave = from->scheduled ? std::max<double>(*from->scheduled, run.start_time) : *from->departure;
    auto needs = static_cast<int64_t>(std::ceil(*s.earliest - *from->departure - 1e-6));
    auto given = static_cast<int64_t>(*s.scheduled - leave);
    if (needs <= given) continue;
    d.message = trf("{0}: the train needs {1} from {2} ({3}) to here, and its time {4} gives it {5}; it arrives at {6} "
                    "at the earliest (`scenario_tool timetable`); give it a later time",
                    record_label(r), margin_text(needs).substr(1), utf8_from_1252(from->name), metres(from->chainage),
                    clock(*s.scheduled), margin_text(given).substr(1), clock(*earliest_seconds(s)));
    out.push_back(std::move(d));
  }
  return out;
}

std::vector<Diagnostic> check_slowdown_braking(const Scenario& m, const DescriptionLint& train,
                                               const TrainModel& model) {
  std::vector<Diagnostic> out;
  TrainData data = train_data(m);
  int64_t last_metre = 50 * m.track_upper_bound();
  for (const LintRecord& r : train.records) {
    if (!r.complete() || r.format->heading != "rallentamento") continue;
    int64_t start = r.number(0), speed = r.number(1);
    if (start <= 1500 || speed <= 0) continue;  // no warning board; E-slowdown-stop
    int64_t board = start - kWarningBoardDistance;
    if (board < 0 || board > last_metre) continue;
    int64_t line = m.track[static_cast<size_t>(board / 50)].speed_limit * 5;
    if (line <= speed) continue;
    double from = static_cast<double>(line) / 3.6, to = static_cast<double>(speed) / 3.6;
    if (braking_distance(m, model, data, board, from, to, kWarningBoardDistance)) continue;
    std::optional<int64_t> needs = braking_distance(m, model, data, board, from, to, last_metre - board);
    std::string after = needs ? trf("only {0} after it", metres(*needs)) : std::string(tr("not before the end of the line"));
    out.push_back(train.at(r.offset, Severity::kWarning, warning::kSlowdownBraking,
                           trf("{0}: braking from the line's {1} km/h at its warning board ({2}) brings the train down "
                               "to {3} km/h {4}, past the slowdown's start {5} after the board; lower the line's speed "
                               "before the board or move the slowdown",
                               record_label(r), line, metres(board), speed, after, metres(kWarningBoardDistance))));
  }
  return out;
}

}  // namespace lorvena
