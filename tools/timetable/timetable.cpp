#include "tools/timetable/timetable.h"

#include <algorithm>
#include <cmath>

#include "tools/compiled/dump.h"
#include "tools/text/messages.h"
#include "tools/text/text_encoding.h"

namespace lorvena {
namespace {

// Characters, not bytes, so that accented names keep the columns.
size_t shown_width(const std::string& utf8) {
  return static_cast<size_t>(std::count_if(utf8.begin(), utf8.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

std::string left(const std::string& utf8, size_t width) {
  size_t w = shown_width(utf8);
  return utf8 + std::string(w < width ? width - w : 0, ' ');
}

std::string right(const std::string& text, size_t width) {
  return std::string(text.size() < width ? width - text.size() : 0, ' ') + text;
}

std::string what(const FastestRun& run, const RunStation& s) {
  if (s.stop_at < run.from) return "behind the start";
  if (!s.earliest) return "not reached";
  if (s.stop_at == run.from) return "start";
  return s.departure ? "stop" : "passes";
}

// "PIANELLO (stop at " or "(": where the run starts.
std::string start_name(const FastestRun& run) {
  for (const RunStation& s : run.stations)
    if (s.stop_at == run.from) return utf8_from_1252(s.name) + " (stop at ";
  return "(";
}

}  // namespace

std::optional<int64_t> earliest_seconds(const RunStation& s) {
  if (!s.earliest) return std::nullopt;
  return static_cast<int64_t>(std::ceil(*s.earliest - 1e-6));
}

std::optional<int64_t> margin_seconds(const RunStation& s) {
  std::optional<int64_t> e = earliest_seconds(s);
  if (!e || !s.scheduled) return std::nullopt;
  return *s.scheduled - *e;
}

std::string margin_text(int64_t seconds) {
  std::string sign = seconds < 0 ? "-" : "+";
  int64_t s = std::llabs(seconds);
  char buf[32];
  if (s >= 3600)
    std::snprintf(buf, sizeof buf, "%lld:%02lld:%02lld", static_cast<long long>(s / 3600),
                  static_cast<long long>(s / 60 % 60), static_cast<long long>(s % 60));
  else
    std::snprintf(buf, sizeof buf, "%lld:%02lld", static_cast<long long>(s / 60), static_cast<long long>(s % 60));
  return sign + buf;
}

std::string stall_text(const FastestRun& run) {
  if (!run.stalled_at) return "";
  if (run.stall == StallCause::kNoSpeed)
    return trf("the train comes to a stand at {0} m, where the speed limit is 0 km/h", *run.stalled_at);
  if (run.stall == StallCause::kNoAdhesion)
    return trf("the train comes to a stand at {0} m, where the adhesion is 0: the wheels find no grip", *run.stalled_at);
  return trf("the train comes to a stand at {0} m, on a climb steeper than it can pull on", *run.stalled_at);
}

std::string timetable_text(const Scenario& m, const FastestRun& run, const TrainModel& model) {
  TrainData train = train_data(m);
  std::string out = utf8_from_1252(m.scenario_name) + ", train " + utf8_from_1252(m.train_number) +
                    ": the fastest run from " + start_name(run) + std::to_string(run.from) + " m) at " +
                    clock_time(static_cast<int32_t>(run.start_time)) + "; braked mass " +
                    std::to_string(static_cast<int64_t>(train.braked_percent)) + " %, " +
                    std::to_string(train.coaches) + " coaches (" +
                    std::to_string(static_cast<int64_t>(model.coach_length * static_cast<double>(train.coaches))) +
                    " m), " + (train.sand ? "sand" : "no sand") + "\n";
  size_t width = 7;
  for (const RunStation& s : run.stations) width = std::max(width, shown_width(utf8_from_1252(s.name)));
  out += left("station", width) + "   chainage  scheduled   earliest     margin\n";
  for (const RunStation& s : run.stations) {
    std::optional<int64_t> earliest = earliest_seconds(s), margin = margin_seconds(s);
    out += left(utf8_from_1252(s.name), width) + right(std::to_string(s.chainage) + " m", 11) +
           right(s.scheduled ? clock_time(*s.scheduled) : "-", 11) +
           right(earliest ? clock_time(static_cast<int32_t>(*earliest)) : "-", 11) +
           right(margin ? margin_text(*margin) : "-", 11) + "  " + what(run, s) + "\n";
  }
  if (run.stalled_at) out += stall_text(run) + "\n";
  return out;
}

}  // namespace lorvena
