#include "tools/timetable/running_time.h"

#include <algorithm>
#include <cmath>

#include "tools/compiled/table_entries.h"

namespace lorvena {
namespace {

constexpr double kKmh = 1 / 3.6;  // m/s in one km/h
// The least deceleration a braking curve is drawn with: where the brakes
// cannot hold the train at all, its curve runs back a long way, not forever.
constexpr double kLeastBraking = 0.01;

// Slower than this, away from a stop, the train is taken to stand: it would
// take minutes a metre.
constexpr double kLeastSpeed = 0.01;

// What one metre of the track holds: the cell it lies in.
class Metres {
 public:
  explicit Metres(const Scenario& m) : m_(m) {}
  const TrackCell& at(int64_t metre) const {
    int64_t cell = std::clamp<int64_t>(metre / 50, 0, m_.track_upper_bound());
    return m_.track[static_cast<size_t>(cell)];
  }
  double gradient(int64_t metre) const { return static_cast<double>(at(metre).gradient) - 100; }
  int adhesion(int64_t metre) const { return at(metre).adhesion; }

 private:
  const Scenario& m_;
};

double adhesion_coefficient(const TrainModel& model, const TrainData& train, int adhesion) {
  return model.adhesion_full * adhesion / 100.0 * (train.sand ? model.sand_gain : 1.0);
}

// The slowdowns' limits laid over the line's, in km/h at each metre of [first, last].
void lay_slowdowns(const Scenario& m, int64_t first, int64_t last, std::vector<float>& kmh) {
  const std::vector<TrackCell>& t = m.track;
  for (size_t s = 0; s < t.size(); ++s) {
    if (t[s].kind != cell_kind::kSlowdownStart) continue;
    size_t e = s;
    for (size_t c = s + 1; c < t.size() && t[c].kind != cell_kind::kSlowdownStart; ++c)
      if (t[c].kind == cell_kind::kSlowdownEnd) {
        e = c;
        break;
      }
    // Objects stand in the cell one past their chainage.
    int64_t start = std::max<int64_t>(50 * (static_cast<int64_t>(s) - 1), first);
    int64_t end = std::min<int64_t>(50 * (static_cast<int64_t>(e) - 1), last);
    for (int64_t x = start; x <= end; ++x) {
      float& limit = kmh[static_cast<size_t>(x - first)];
      limit = std::min(limit, static_cast<float>(std::max<int16_t>(t[s].param1, 0)));
    }
  }
}

std::vector<RunStation> table_stations(const Scenario& m) {
  std::vector<RunStation> out;
  for (int32_t e = 1; e < kFirstSignSlot; ++e) {
    const TableEntry& entry = m.table[static_cast<size_t>(e)];
    if (!has_values(entry)) continue;
    RunStation s;
    s.entry = e;
    s.name = entry.nome;
    s.chainage = entry.posizione;
    s.stop_at = entry.tipo < 25 ? 50 * nearest(entry.fine / 50.0 - 1) : entry.posizione;
    if (entry.ora != 0) s.scheduled = entry.ora;
    out.push_back(std::move(s));
  }
  return out;
}

int32_t clock_seconds(const Scenario& m) {
  const TableEntry& t = m.table[kTrainEntry];
  return (t.val3 * 60 + t.val4) * 60 + t.val5;
}

class Runner {
 public:
  Runner(const Scenario& m, const TrainModel& model)
      : m_(m), metres_(m), model_(model), train_(train_data(m)) {
    // What each cell gives, worked out once: the grip of the driven axles,
    // the braking and the gradient's pull, in m/s².
    for (const TrackCell& c : m.track) {
      double gradient = static_cast<double>(c.gradient) - 100;
      grip_.push_back(adhesion_coefficient(model_, train_, c.adhesion) * model_.driven_share * model_.gravity);
      pull_.push_back(model_.gravity * gradient / 1000);
      brake_.push_back(std::max(braking_at(model_, train_, c.adhesion, gradient), kLeastBraking));
    }
    power_ = model_.full_power_kmh * kKmh;
  }

  FastestRun run() {
    run_.stations = table_stations(m_);
    choose_range();
    if (run_.to <= run_.from) return finish_without_run();
    ceiling_ = speed_ceiling(m_, run_.from, run_.to, model_.coach_length * static_cast<double>(train_.coaches));
    mark_stops();
    forward();
    backward();
    timing();
    return std::move(run_);
  }

 private:
  bool stops_at(const RunStation& s) const { return s.scheduled.has_value() && s.stop_at > run_.from; }

  void choose_range() {
    int64_t last_metre = 50 * m_.track_upper_bound();
    int64_t length = std::clamp<int64_t>(m_.table[kLineEntry].fine, 0, last_metre);
    run_.from = run_.stations.empty() ? 0 : std::clamp<int64_t>(run_.stations.front().stop_at, 0, last_metre);
    int64_t last_stop = -1;
    for (const RunStation& s : run_.stations)
      if (stops_at(s)) last_stop = std::max(last_stop, std::min(s.stop_at, last_metre));
    run_.to = last_stop >= 0 ? last_stop : length;
    int32_t clock = clock_seconds(m_);
    if (clock == 0 && !run_.stations.empty() && run_.stations.front().scheduled)
      clock = *run_.stations.front().scheduled;
    run_.start_time = clock;
  }

  FastestRun finish_without_run() {
    run_.to = run_.from;
    run_.speed.assign(1, 0.0f);
    timing();
    return std::move(run_);
  }

  size_t index(int64_t metre) const { return static_cast<size_t>(metre - run_.from); }
  size_t cell_of(int64_t metre) const { return std::min(static_cast<size_t>(metre / 50), grip_.size() - 1); }

  void mark_stops() {
    stop_.assign(ceiling_.size(), 0);
    for (const RunStation& s : run_.stations)
      if (stops_at(s) && s.stop_at <= run_.to) stop_[index(s.stop_at)] = 1;
  }

  // As fast as the traction allows, from a stand at the start and at each stop.
  void forward() {
    size_t n = ceiling_.size();
    forward_.assign(n, 0.0f);
    double v = 0;
    for (size_t i = 1; i < n; ++i) {
      int64_t x = run_.from + static_cast<int64_t>(i) - 1;
      size_t c = cell_of(x);
      double pull = v > power_ ? model_.traction * power_ / v : model_.traction;
      double a = std::min(pull, grip_[c]) - pull_[c];
      double v2 = v * v + 2 * a;
      double next = std::min(v2 > 0 ? std::sqrt(v2) : 0.0, static_cast<double>(ceiling_[i]));
      if (next < kLeastSpeed && stop_[i] == 0) {
        stall(run_.from + static_cast<int64_t>(i));
        forward_.resize(i + 1);
        return;
      }
      v = stop_[i] != 0 ? 0 : next;
      forward_[i] = static_cast<float>(v);
    }
  }

  void stall(int64_t at) {
    run_.stalled_at = at;
    run_.stall = ceiling_[index(at)] <= 0          ? StallCause::kNoSpeed
                 : metres_.adhesion(at - 1) == 0 ? StallCause::kNoAdhesion
                                                 : StallCause::kCannotClimb;
  }

  // Braking curves back from each stop and each lower limit.
  // Worked in squared speeds, so that the square roots wait for the end.
  void backward() {
    size_t n = forward_.size();
    bool ends_standing = run_.stalled_at.has_value() || stop_[n - 1] != 0;
    std::vector<double> back(n);
    back[n - 1] = ends_standing ? 0.0 : static_cast<double>(ceiling_[n - 1]) * ceiling_[n - 1];
    for (size_t i = n - 1; i-- > 0;) {
      double limit = static_cast<double>(ceiling_[i]) * ceiling_[i];
      double v2 = back[i + 1] + 2 * brake_[cell_of(run_.from + static_cast<int64_t>(i))];
      back[i] = stop_[i] != 0 ? 0.0 : std::min(v2, limit);
    }
    run_.speed.resize(n);
    for (size_t i = 0; i < n; ++i) run_.speed[i] = std::min(forward_[i], static_cast<float>(std::sqrt(back[i])));
  }

  // The clock along the run: each metre at the mean of its two ends' speeds.
  void timing() {
    std::vector<RunStation*> order;
    for (RunStation& s : run_.stations) order.push_back(&s);
    std::stable_sort(order.begin(), order.end(), [](const RunStation* a, const RunStation* b) { return a->stop_at < b->stop_at; });
    size_t next = 0;
    double t = run_.start_time;
    int64_t reached = run_.from + static_cast<int64_t>(run_.speed.size()) - 1;
    for (size_t i = 0;; ++i) {
      int64_t x = run_.from + static_cast<int64_t>(i);
      for (; next < order.size() && order[next]->stop_at <= x; ++next) t = arrive(*order[next], t, x);
      if (x >= reached) break;
      double mean = (static_cast<double>(run_.speed[i]) + run_.speed[i + 1]) / 2;
      if (mean <= 0) break;
      t += 1 / mean;
    }
  }

  // The time at which the train leaves a station it reaches at `t`.
  double arrive(RunStation& s, double t, int64_t x) {
    if (s.stop_at < x) return t;  // behind the start
    s.earliest = t;
    bool start = x == run_.from;
    if (!start && !stops_at(s)) return t;
    double leave = start ? t : t + model_.dwell;
    if (s.scheduled) leave = std::max(leave, static_cast<double>(*s.scheduled));
    s.departure = leave;
    return leave;
  }

  const Scenario& m_;
  Metres metres_;
  TrainModel model_;
  TrainData train_;
  FastestRun run_;
  std::vector<float> ceiling_;
  std::vector<float> forward_;
  std::vector<char> stop_;
  std::vector<double> grip_, pull_, brake_;  // by cell
  double power_ = 0;                          // m/s: full power up to this speed
};

}  // namespace

TrainData train_data(const Scenario& m) {
  return {static_cast<double>(m.table[kLineEntry].inizio), m.table[kLineEntry].posizione,
          m.table[kTrainEntry].val1 > 0};
}

double traction_at(const TrainModel& model, const TrainData& train, double speed, int adhesion, double gradient) {
  double power = model.full_power_kmh * kKmh;
  double pull = speed > power ? model.traction * power / speed : model.traction;
  double grip = adhesion_coefficient(model, train, adhesion) * model.driven_share * model.gravity;
  return std::min(pull, grip) - model.gravity * gradient / 1000;
}

double braking_at(const TrainModel& model, const TrainData& train, int adhesion, double gradient) {
  double brakes = train.braked_percent * model.braking_per_percent;
  double grip = adhesion_coefficient(model, train, adhesion) * model.gravity;
  return std::min(brakes, grip) + model.gravity * gradient / 1000;
}

double steepest_climb(const TrainModel& model, const TrainData& train, int adhesion) {
  return 1000 * (traction_at(model, train, 0, adhesion, 0) / model.gravity);
}

double steepest_descent(const TrainModel& model, const TrainData& train, int adhesion) {
  return 1000 * (braking_at(model, train, adhesion, 0) / model.gravity);
}

std::vector<float> speed_ceiling(const Scenario& m, int64_t from, int64_t to, double train_length) {
  int64_t back = std::max<int64_t>(0, static_cast<int64_t>(std::ceil(train_length)));
  int64_t first = std::max<int64_t>(0, from - back);
  Metres metres(m);
  std::vector<float> kmh(static_cast<size_t>(to - first + 1));
  for (int64_t x = first; x <= to; ++x) kmh[static_cast<size_t>(x - first)] = static_cast<float>(metres.at(x).speed_limit * 5);
  lay_slowdowns(m, first, to, kmh);
  // The least limit over the train's length behind each metre: a window
  // minimum, the candidates kept in rising order from `head` on.
  std::vector<float> out(static_cast<size_t>(to - from + 1));
  std::vector<uint32_t> window(kmh.size());
  size_t head = 0, tail = 0;
  for (size_t i = 0; i < kmh.size(); ++i) {
    while (tail > head && kmh[window[tail - 1]] >= kmh[i]) --tail;
    window[tail++] = static_cast<uint32_t>(i);
    while (static_cast<int64_t>(window[head]) < static_cast<int64_t>(i) - back) ++head;
    int64_t x = first + static_cast<int64_t>(i);
    if (x >= from) out[static_cast<size_t>(x - from)] = static_cast<float>(kmh[window[head]] * kKmh);
  }
  return out;
}

std::optional<int64_t> braking_distance(const Scenario& m, const TrainModel& model, const TrainData& train,
                                        int64_t from, double speed, double target, int64_t reach) {
  Metres metres(m);
  double v2 = speed * speed;
  for (int64_t d = 0; d <= reach; ++d) {
    if (v2 <= target * target) return d;
    int64_t x = from + d;
    v2 -= 2 * std::max(braking_at(model, train, metres.adhesion(x), metres.gradient(x)), kLeastBraking);
  }
  return std::nullopt;
}

FastestRun fastest_run(const Scenario& m, const TrainModel& model) {
  if (m.track.empty()) return {};
  return Runner(m, model).run();
}

}  // namespace lorvena
