// The train description reader: the train's general values, line speeds and
// adhesion, the clock and sand, signals, slowdowns, marker cells and stations.
#include "compiler/description_reading.h"
#include "compiler/readers.h"
#include "compiler/storing.h"
#include "disk/file_names.h"

namespace lorvena {
namespace {

using namespace cell_kind;

// Track a station needs after its position: (posizione + this) / 50 must be
// a cell of the track.
constexpr int32_t kStationReach = 800;
// Station kinds below this one are stops: a stop cell and approach marks.
constexpr uint8_t kFirstNonStopKind = 25;
// Kinds whose area runs from posizione - length to posizione + kShortAreaTail,
// with no approach marks.
constexpr uint8_t kTailStationKind = 5;
constexpr uint8_t kTailStationKindToo = 6;
constexpr int32_t kShortAreaTail = 150;
// Kinds whose area runs length either side of posizione.
constexpr uint8_t kWideStationKind = 7;
constexpr uint8_t kWideStationKindToo = 8;
// A platform shorter than this clears the entry's flag5.
constexpr int32_t kShortestFlag5Platform = 600;
// The least distance from one station's area end to the next one's start.
constexpr int32_t kLeastStationGap = 350;
// The approach marks: 81 to 84 in the four cells before a stop cell.
constexpr uint8_t kApproachMarkBase = 80;
constexpr int kApproachMarks = 4;

// A cell stores a speed in steps of this many km/h.
constexpr double kSpeedStep = 5.0;

uint8_t speed_byte(int32_t v) { return fit<uint8_t>(nearest(v / kSpeedStep)); }

bool is_stop(uint8_t tipo) { return tipo < kFirstNonStopKind; }
bool has_tail_area(uint8_t tipo) { return tipo == kTailStationKind || tipo == kTailStationKindToo; }

class TrainReader {
 public:
  TrainReader(Scenario& m, FieldReader& in) : m_(m), in_(in) {}

  void run() {
    while (!in_.at_end())
      if (contains_ci(in_.read_text(), "[generale]")) break;
    if (!read_body(in_, [this](const std::string& f) { return record(f); })) return;
    closing_fills();
    check_kilometre_references();
  }

 private:
  Next record(const std::string& f) {
    TableEntry& train = m_.table[kTrainEntry];
    if (contains_ci(f, "frenata") && contains_ci(f, "massa")) m_.table[kLineEntry].inizio = in_.read_long();
    else if (contains_ci(f, "vetture")) m_.table[kLineEntry].posizione = in_.read_long();
    else if (contains_ci(f, "velocit")) return line_speed();
    else if (contains_ci(f, "aderenza")) return adhesion();
    else if (contains_ci(f, "orologio")) {
      train.val3 = in_.read_short();
      train.val4 = in_.read_short();
      train.val5 = in_.read_short();
    } else if (contains_ci(f, "sabbia")) train.val1 = in_.read_short();
    else if (contains_ci(f, "segnale")) return signal();
    else if (contains_ci(f, "rallentamento")) return slowdown();
    else if (contains_ci(f, "abbattimento")) return marker();
    else if (contains_ci(f, "stazione")) return station();
    return Next::kGoOn;
  }

  Next line_speed() {
    int32_t c = in_.read_long();
    int32_t v = in_.read_long();
    if (beyond_line(m_, c)) return Next::kEndBody;
    int64_t k = nearest(c / 50.0);
    if (k > 0) fill_cells(m_, speed_cursor_, k, m_.track_upper_bound(), store_speed());
    previous_speed_ = v;
    return Next::kGoOn;
  }

  Next adhesion() {
    int32_t c = in_.read_long();
    int32_t percent = in_.read_long();
    if (beyond_line(m_, c)) return Next::kEndBody;
    int64_t k = nearest(c / 50.0);
    if (k > 0) fill_cells(m_, adhesion_cursor_, k, kNoFillBound, store_adhesion());
    previous_adhesion_ = percent;
    return Next::kGoOn;
  }

  Next signal() {
    SignalRecord s{};
    for (int32_t* value : {&s.posizione, &s.sx, &s.s1, &s.s2, &s.s3, &s.rapp, &s.dx, &s.d1, &s.d2, &s.d3,
                           &s.tempo})
      *value = in_.read_long();
    if (beyond_line(m_, s.posizione)) return Next::kEndBody;
    if (error::Code e = memo_segnale(m_, s)) return stop(m_, e, s.posizione);
    return Next::kGoOn;
  }

  Next slowdown() {
    int32_t x = in_.read_long(), v = in_.read_long(), l = in_.read_long();
    int32_t f_tt = in_.read_long(), f_ta = in_.read_long(), d_v = in_.read_long();
    if (beyond_line(m_, x)) return Next::kEndBody;
    if (error::Code e = memo_rallentamento(m_, x, v, l, f_tt, f_ta, d_v)) return stop(m_, e, x);
    return Next::kGoOn;
  }

  Next marker() {
    int32_t c = in_.read_long();
    int32_t n = in_.read_long();
    if (beyond_line(m_, c)) return Next::kEndBody;
    TrackCell& cell = cell_at(m_, nearest(c / 50.0));
    if (!is_free(cell)) return stop(m_, error::kMarkerCellTaken, c);
    if (n < 1) {
      cell.kind = kLowMarker;
    } else {
      cell.kind = kMarker;
      cell.param1 = fit<int16_t>(n);
    }
    return Next::kGoOn;
  }

  // A station is read straight into its table entry, so what was read stays
  // there when a later check stops the reading.
  Next station() {
    TableEntry& e = entry_at(m_, station_counter_);
    e.posizione = in_.read_long();
    if (fit<int32_t>(int64_t{e.posizione} + kStationReach) / 50.0 > static_cast<double>(upper_bound())) {
      m_.record_error(error::kBeyondLine, e.posizione);
      return Next::kEndBody;
    }
    if (e.posizione % 50 != 0) return stop(m_, error::kStationOffStep, e.posizione);
    e.tipo = in_.read_byte();
    int32_t length = in_.read_long();
    if (length % 100 != 0) return stop(m_, error::kPlatformOffStep, e.posizione);
    read_station_values(e);
    set_station_area(e, length);
    if (length < kShortestFlag5Platform) e.flag5 = 0;
    if (station_counter_ == 1) e.flag4 = 0, e.flag5 = 0;
    if (is_stop(e.tipo) && !has_tail_area(e.tipo)) mark_station_approach(e);
    if (is_stop(e.tipo)) {
      double stop_cell = e.fine / 50.0 - 1.0;
      if (!(stop_cell > 1.0)) return stop(m_, error::kStationEndTooEarly);
      TrackCell& cell = cell_at(m_, nearest(stop_cell));
      cell.kind = kStationStop;
      cell.param1 = fit<int16_t>(station_counter_);
    }
    if (station_counter_ > 1 && fit<int32_t>(int64_t{e.inizio} - kLeastStationGap) < previous_station_end_)
      return stop(m_, error::kStationsTooClose, e.posizione);
    previous_station_end_ = e.fine;
    station_counter_ += 1;
    if (station_counter_ >= m_.next_sign_slot) return stop(m_, error::kTooManyStations);
    return Next::kGoOn;
  }

  void read_station_values(TableEntry& e) {
    e.flag1 = in_.read_byte();
    e.flag5 = in_.read_byte();
    e.flag4 = in_.read_byte();
    e.val1 = in_.read_short();
    e.val2 = in_.read_short();
    e.flag2 = in_.read_byte();
    e.val3 = in_.read_short();
    e.val4 = in_.read_short();
    e.val5 = in_.read_short();
    e.flag3 = in_.read_byte();
    int64_t hours = in_.read_long();
    int64_t minutes = in_.read_long();
    int64_t seconds = in_.read_long();
    // In 32-bit steps: a step that overflows cannot be read.
    int64_t in_minutes = fit<int32_t>(fit<int32_t>(hours * 60) + minutes);
    e.ora = fit<int32_t>(fit<int32_t>(in_minutes * 60) + seconds);
    store_name(e, in_.read_text());
  }

  static void set_station_area(TableEntry& e, int32_t length) {
    int64_t pos = e.posizione;
    if (has_tail_area(e.tipo)) {
      e.fine = fit<int32_t>(pos + kShortAreaTail);
      e.inizio = fit<int32_t>(pos - length);
      e.flag4 = 0;
    } else if (e.tipo == kWideStationKind || e.tipo == kWideStationKindToo) {
      e.inizio = fit<int32_t>(pos - length);
      e.fine = fit<int32_t>(pos + length);
      e.flag4 = 0;
    } else {
      e.inizio = fit<int32_t>(nearest(pos - length / 2.0));
      e.fine = fit<int32_t>(nearest(pos + length / 2.0 + (e.flag4 != 0 ? 50 : 0)));
    }
  }

  void mark_station_approach(const TableEntry& e) {
    for (int k = 1; k <= kApproachMarks; ++k) {
      double at = e.fine / 50.0 - k - 1;
      if (at > 1.0) cell_at(m_, nearest(at)).approach = static_cast<uint8_t>(kApproachMarkBase + k);
    }
  }

  int64_t upper_bound() const {
    if (m_.track.empty()) throw MissingLineLength("no track: the line length is missing");
    return m_.track_upper_bound();
  }

  void closing_fills() {
    int64_t last = upper_bound() - 2;
    fill_cells(m_, speed_cursor_, last, kNoFillBound, store_speed());
    fill_cells(m_, adhesion_cursor_, last, kNoFillBound, store_adhesion());
  }

  // The last speed and adhesion read, as a cell stores them. Each converts
  // (and may throw ReadFailure) at every cell it fills, as it is written.
  std::function<void(TrackCell&)> store_speed() const {
    return [v = previous_speed_](TrackCell& cell) { cell.speed_limit = speed_byte(v); };
  }
  std::function<void(TrackCell&)> store_adhesion() const {
    return [a = previous_adhesion_](TrackCell& cell) { cell.adhesion = low_byte(a); };
  }

  void check_kilometre_references() {
    for (int entry = 81; entry <= 83; ++entry)
      if (m_.table[entry].inizio % 50 != 0 || m_.table[entry].fine % 50 != 0)
        m_.record_error(error::kReferenceOffStep);
  }

  Scenario& m_;
  FieldReader& in_;
  int64_t speed_cursor_ = 0;
  int64_t adhesion_cursor_ = 0;
  int32_t previous_speed_ = 0;
  int32_t previous_adhesion_ = 0;
  int32_t station_counter_ = 1;
  int32_t previous_station_end_ = 0;
};

}  // namespace

void read_train_description(Disk& disk, Scenario& m, const std::filesystem::path& dir, CompileMode mode) {
  std::string name = train_description_name(m.scenario_name, m.train_number);
  read_description(disk, m, dir, name, mode, [&m](FieldReader& in) { TrainReader(m, in).run(); });
}

}  // namespace lorvena
