// The line description reader: the general block (length, kilometre
// references, scenery, cab signalling), then gradients, the plan from the
// curves, mountains, maximum-speed indicators and sign boards.
#include <algorithm>
#include <array>

#include "compiler/description_reading.h"
#include "compiler/readers.h"
#include "compiler/storing.h"
#include "descriptions/translatable.h"
#include "disk/file_names.h"
#include "disk/file_system.h"

namespace lorvena {
namespace {

// A cell stores a gradient plus this, so that a level track is 100.
constexpr int32_t kGradientZero = 100;

using namespace cell_kind;

constexpr std::array<double, 6> kCurvature = {0.0001, 0.0002, 0.0004, 0.001, 0.002, 0.003};
constexpr int32_t kMaxPlanPoints = 1000000;

class LineReader {
 public:
  LineReader(Scenario& m, FieldReader& in) : m_(m), in_(in) {}

  void run() {
    if (!find_general()) {
      m_.record_error(error::kNoGeneralHeader);
      return;
    }
    if (!general_block()) return;
    progressive_ordina(m_);
    if (m_.write_profile != 0) set_plan_origin();
    if (!read_body(in_, [this](const std::string& f) { return body_record(f); })) return;
    closing_fills();
  }

 private:
  bool find_general() {
    while (!in_.at_end())
      if (contains_ci(in_.read_text(), "[generale]")) return true;
    return false;
  }

  static bool is_header(std::string_view field) {
    size_t first = field.find_first_not_of(" \t");
    return first != std::string_view::npos && field[first] != '-' && contains(field, "[") &&
           contains(field, "]");
  }

  // False when the reading stops with an error.
  bool general_block() {
    std::string field;
    while (next_keyword(in_, field, 10)) {
      if (general_record(field) == Next::kStop) return false;
      if (is_header(field)) return true;
    }
    return true;
  }

  void read_triplet(TableEntry& e) {
    e.inizio = in_.read_long();
    e.fine = in_.read_long();
    e.posizione = in_.read_long();
  }

  Next general_record(const std::string& f) {
    if (contains_ci(f, "percorso") && contains_ci(f, "lunghezza")) return line_length();
    if (contains(f, "progressiva") && contains(f, "tre")) read_triplet(m_.table[81]);
    else if (contains(f, "progressiva") && contains(f, "due")) read_triplet(m_.table[82]);
    else if (contains(f, "progressiva") && contains(f, "uno")) read_triplet(m_.table[83]);
    else if (contains(f, "sfondo") && contains(f, "uno")) m_.table[kScenarioEntry].inizio = in_.read_long();
    else if (contains(f, "sfondo") && contains(f, "due")) m_.table[kScenarioEntry].posizione = in_.read_long();
    else if (contains(f, "sfondo") && contains(f, "tre")) m_.table[kScenarioEntry].fine = in_.read_long();
    else if (contains(f, "segnali") && contains(f, "ripetizione")) return cab_signalling(f);
    return Next::kGoOn;
  }

  Next line_length() {
    int32_t length = in_.read_long();
    m_.table[kLineEntry].fine = length;
    if (length < 0 || length > kMaxLineLength) return stop(m_, error::kLineLength);
    size_model(m_, length);
    return Next::kGoOn;
  }

  Next cab_signalling(const std::string& f) {
    TableEntry& e = m_.table[kTrainEntry];
    e.inizio = in_.read_long();
    e.fine = in_.read_long();
    if (e.inizio % 50 != 0) return stop(m_, error::kCabStartOffStep);
    if (e.fine % 50 != 0) return stop(m_, error::kCabEndOffStep);
    if (contains(f, "4")) e.posizione = 4;
    else if (contains(f, "9")) e.posizione = 9;
    else return stop(m_, error::kCabCodeCount);
    if (e.fine == 0) e.posizione = 0;
    return Next::kGoOn;
  }

  void set_plan_origin() {
    Plan& p = m_.profile;
    if (p.upper_bound() < 1) throw MissingLineLength(N_("no plan: the line length is missing"));
    p.x[0] = 0, p.y[0] = 0, p.x[1] = 0, p.y[1] = 1;
    p.origin_set = true;
  }

  Next body_record(const std::string& f) {
    if (contains_ci(f, "pendenza")) return gradient();
    if (contains_ci(f, "curva") && m_.write_profile != 0) return curve(f);
    if (contains_ci(f, "montagna")) return mountain();
    if (contains_ci(f, "indicatori_v")) return indicator();
    if (contains_ci(f, "cartello") && contains_ci(f, "indicat")) return sign_board();
    return Next::kGoOn;
  }

  Next gradient() {
    int32_t c = in_.read_long();
    int32_t g = in_.read_long();
    if (beyond_line(m_, c)) return Next::kEndBody;
    int64_t k = nearest(c / 50.0);
    if (k > 0) fill_cells(m_, gradient_cursor_, k, kNoFillBound, store_gradient());
    previous_gradient_ = g;
    return Next::kGoOn;
  }

  Next curve(const std::string& f) {
    int32_t s = in_.read_long();
    int32_t n = in_.read_long();
    if (beyond_line(m_, s)) return Next::kEndBody;
    double q = 0;
    for (char digit = '1'; digit <= '6' && q == 0; ++digit)
      if (f.find(digit) != std::string::npos) q = kCurvature[static_cast<size_t>(digit - '1')];
    if (q == 0) return stop(m_, error::kCurveOrPlan);
    if (contains_ci(f, "s")) q = -q;
    if (!extend_plan_to(s, 0.0)) return Next::kStop;
    if (!extend_plan_to(fit<int32_t>(int64_t{s} + n), q)) return Next::kStop;
    return Next::kGoOn;
  }

  // Extends the plan metre by metre up to point `last` at curvature q (0:
  // straight). False once it passes the plan's limit (error 103); a point
  // beyond the plan array cannot be read.
  bool extend_plan_to(int64_t last, double q) {
    Plan& p = m_.profile;
    while (p.next <= last) {
      if (p.next < 2 || p.next > p.upper_bound()) throw ReadFailure(N_("plan point outside the plan"));
      extend_plan(std::min({last, p.upper_bound(), int64_t{kMaxPlanPoints}}), q);
      if (p.next <= kMaxPlanPoints) continue;
      m_.record_error(error::kCurveOrPlan);
      return false;
    }
    return true;
  }

  // Points next..last, each from the two before it; the caller keeps `last`
  // inside the plan array.
  void extend_plan(int64_t last, double q) {
    Plan& p = m_.profile;
    size_t at = static_cast<size_t>(p.next);
    double x0 = p.x[at - 2], y0 = p.y[at - 2];
    double x1 = p.x[at - 1], y1 = p.y[at - 1];
    for (; at <= static_cast<size_t>(last); ++at) {
      double dx = x1 - x0;
      double dy = y1 - y0;
      x0 = x1, y0 = y1;
      x1 = (x1 + dx) + q * dy;
      y1 = (y1 + dy) - q * dx;
      p.x[at] = x1;
      p.y[at] = y1;
    }
    p.next = static_cast<int64_t>(at);
  }

  Next mountain() {
    int32_t start = in_.read_long();
    int32_t end = in_.read_long();
    int32_t kind = in_.read_long();
    if (beyond_line(m_, start)) return Next::kEndBody;
    if (error::Code e = memo_montagna(m_, start, end, kind)) return stop(m_, e, start);
    return Next::kGoOn;
  }

  Next indicator() {
    IndicatorRecord b{};
    for (int32_t* value : {&b.posizione, &b.vas, &b.vbs, &b.vcs, &b.strisces, &b.vad, &b.vbd, &b.vcd,
                           &b.strisced})
      *value = in_.read_long();
    if (beyond_line(m_, b.posizione)) return Next::kEndBody;
    if (error::Code e = memo_indicatori_v_max(m_, b)) return stop(m_, e, b.posizione);
    return Next::kGoOn;
  }

  Next sign_board() {
    int32_t p = in_.read_long();
    std::string text = in_.read_text();
    if (beyond_line(m_, p)) return Next::kEndBody;
    TrackCell& cell = cell_at(m_, nearest(p / 50.0 + 1.0));
    if (!is_free(cell)) return stop(m_, error::kSignCellTaken, p);
    cell.kind = kSignBoard;
    cell.param1 = fit<int16_t>(m_.next_sign_slot);
    store_name(entry_at(m_, m_.next_sign_slot), std::move(text));
    m_.next_sign_slot -= 1;
    return Next::kGoOn;
  }

  void closing_fills() {
    int64_t last = m_.track_upper_bound() - 2;
    fill_cells(m_, gradient_cursor_, last, kNoFillBound, store_gradient());
    if (m_.write_profile == 0) return;
    int64_t last_point = m_.profile.upper_bound() - 2;
    if (m_.profile.next <= last_point) extend_plan(last_point, 0.0);
  }

  // The last gradient read, as a cell stores it: offset by kGradientZero.
  std::function<void(TrackCell&)> store_gradient() const {
    return [g = previous_gradient_](TrackCell& cell) {
      cell.gradient = low_byte(fit<int32_t>(int64_t{g} + kGradientZero));
    };
  }

  Scenario& m_;
  FieldReader& in_;
  int64_t gradient_cursor_ = 0;
  int32_t previous_gradient_ = 0;
};

}  // namespace

void read_line_description(Disk& disk, Scenario& m, const std::filesystem::path& dir, CompileMode mode) {
  m.table[kScenarioEntry].nome = m.scenario_name;
  m.table[kTrainEntry].nome = m.train_number;
  std::string name = line_description_name(m.scenario_name);
  // The installer's run has just written it: missing, it is a disk failure.
  if (mode == CompileMode::kCopies && !file_exists(disk, join_path(dir, name))) {
    m.record_error(error::kLineMissing);
    return;
  }
  read_description(disk, m, dir, name, mode, [&m](FieldReader& in) { LineReader(m, in).run(); });
}

}  // namespace lorvena
