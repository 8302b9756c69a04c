#include "compiler/storing.h"

#include <array>

namespace lorvena {
namespace {

using namespace cell_kind;

int64_t cell_index(int64_t position) { return nearest(static_cast<double>(position) / 50.0 + 1.0); }

}  // namespace

error::Code memo_montagna(Scenario& m, int32_t inizio, int32_t fine, int32_t& tipo) {
  bool tunnel = false;
  if (tipo > 10) {
    tipo -= 10;
    tunnel = true;
  }
  m.mountain_count += 1;
  size_t here = static_cast<size_t>(m.mountain_count);
  m.mountain_start.resize(here + 1);
  m.mountain_end.resize(here + 1);
  m.mountain_tunnel.resize(here + 1);
  m.mountain_start[here] = inizio;
  m.mountain_end[here] = fine;
  m.mountain_tunnel[here] = tunnel ? 1 : 0;
  if (m.mountain_count > 1 && fit<int32_t>(int64_t{inizio} - m.mountain_end[here - 1]) <= 150) tipo = 3;

  // The kind is stored cell by cell: a mountain without cells stores none,
  // whatever its kind.
  int64_t first = nearest(inizio / 50.0);
  int64_t last = nearest(fine / 50.0 - 1.0);
  int64_t n = 0;
  for (int64_t c = first; c <= last; ++c) {
    ++n;
    TrackCell& cell = cell_at(m, c);
    cell.landscape = fit<uint8_t>(tipo);
    if (tunnel && n % 4 == 0 && cell.kind == kNone && (c - 4) * 50 < fine) cell.kind = kTunnelMarker;
  }
  return error::kNone;
}

error::Code memo_rallentamento(Scenario& m, int32_t x, int32_t v, int32_t l, int32_t f_tt, int32_t f_ta,
                               int32_t d_v) {
  bool warned = x > 1500;
  int32_t board = warned ? fit<int32_t>(int64_t{x} - 1200) : 0;  // used only when warned
  TrackCell* warning = nullptr;
  if (warned) {
    warning = &cell_at(m, nearest(board / 50.0 + 1.0));
    if (!is_free(*warning)) return m.record_error(error::kWarningBoardCellTaken);
  } else {
    f_ta = 0;
  }
  TrackCell& start = cell_at(m, cell_index(x));
  if (!is_free(start)) return m.record_error(error::kSlowdownStartCellTaken);
  TrackCell& end = cell_at(m, cell_index(fit<int32_t>(int64_t{x} + l)));
  if (!is_free(end)) return m.record_error(error::kSlowdownEndCellTaken);

  // Value by value over the three cells: a value that does not fit stops
  // the store with the values before it written.
  end.kind = kSlowdownEnd;
  start.kind = kSlowdownStart;
  if (warned) warning->kind = kWarningBoard;
  if (d_v != 0)
    for (TrackCell* cell : {&end, &start, warning})
      if (cell != nullptr) cell->param2 = fit<int16_t>(d_v);
  for (TrackCell* cell : {warning, &start, &end})
    if (cell != nullptr) cell->param1 = fit<int16_t>(v);
  start.param3 = fit<int16_t>(f_tt);
  end.param3 = fit<int16_t>(f_tt);

  if (f_ta == 0) return error::kNone;
  int64_t h = nearest(board / 50.0);
  for (int64_t i = 0; i < 4; ++i)
    if (!is_free(cell_at(m, h - i))) return m.record_error(error::kApproachCellTaken);
  for (int64_t i = 0; i < 4; ++i) {
    TrackCell& cell = cell_at(m, h - i);
    cell.kind = kApproach;
    cell.param1 = static_cast<int16_t>(i + 1);
    if (d_v != 0) cell.param2 = static_cast<int16_t>(i + 1);
  }
  return error::kNone;
}

error::Code memo_segnale(Scenario& m, SignalRecord& s) {
  int64_t j = cell_index(s.posizione);
  TrackCell& cell = cell_at(m, j);
  if (!is_free(cell)) return m.record_error(error::kSignalCellTaken);
  cell.kind = kSignal;
  cell.param4 = fit<int16_t>(int64_t{s.rapp} * 10 + int64_t{s.sx} * 3 + s.dx);
  cell.param1 = fit<int16_t>(int64_t{s.s1} * 10 + s.d1);
  cell.param2 = fit<int16_t>(int64_t{s.s2} * 10 + s.d2);
  cell.param3 = fit<int16_t>(int64_t{s.s3} * 10 + s.d3);
  if (s.tempo >= 1 && s.tempo <= 100) s.tempo = 101;
  cell.timing = s.sx == 2 ? low_byte(s.tempo) : 0;
  for (int64_t b = 1; b <= 4; ++b)
    cell_at(m, j - 2 * b).approach = fit<uint8_t>(int64_t{s.sx} * 30 + int64_t{s.dx} * 10 + b);
  return error::kNone;
}

error::Code memo_indicatori_v_max(Scenario& m, const IndicatorRecord& b) {
  TrackCell& cell = cell_at(m, cell_index(b.posizione));
  if (!is_free(cell)) return m.record_error(error::kIndicatorCellTaken);
  cell.kind = kSpeedIndicator;
  cell.param1 = fit<int16_t>(nearest(b.vad / 5.0 + b.vas * 20.0));
  cell.param2 = fit<int16_t>(nearest(b.vbd / 5.0 + b.vbs * 20.0));
  cell.param3 = fit<int16_t>(nearest(b.vcd / 5.0 + b.vcs * 20.0));
  cell.param4 = fit<int16_t>(int64_t{b.strisces} * 10 + b.strisced);
  return error::kNone;
}

namespace {

struct Triplet {
  int32_t inizio, fine, posizione;
};

Triplet triplet_of(const TableEntry& e) { return {e.inizio, e.fine, e.posizione}; }

// The new order of the three references, as indices into {81, 82, 83}, or
// nothing when every value must become 0.
bool reference_order(const std::array<Triplet, 3>& t, std::array<int, 3>& order) {
  // Two 32-bit additions, each checked where it happens.
  int64_t first = fit<int32_t>(int64_t{t[0].inizio} + t[1].inizio);
  int64_t sum = fit<int32_t>(first + t[2].inizio);
  if (sum != 0) {
    for (int top = 0; top < 3; ++top) {
      int a = top == 0 ? 1 : 0;
      int b = top == 2 ? 1 : 2;
      if (t[top].inizio <= t[a].inizio || t[top].inizio <= t[b].inizio) continue;
      // On a tie the later of the two entries goes second.
      bool a_second = t[a].inizio > t[b].inizio;
      order = a_second ? std::array<int, 3>{top, a, b} : std::array<int, 3>{top, b, a};
      return true;
    }
    return false;
  }
  bool hit = false;
  if (t[0].fine >= 1) order = {0, 1, 2}, hit = true;
  if (t[1].fine > 0) order = {1, 0, 2}, hit = true;
  if (t[2].fine > 0) order = {2, 1, 0}, hit = true;
  return hit;
}

}  // namespace

void progressive_ordina(Scenario& m) {
  std::array<Triplet, 3> t{triplet_of(m.table[81]), triplet_of(m.table[82]), triplet_of(m.table[83])};
  std::array<int, 3> order{};
  bool keep = reference_order(t, order);
  for (int slot = 0; slot < 3; ++slot) {
    TableEntry& e = m.table[81 + slot];
    Triplet v = keep ? t[order[slot]] : Triplet{0, 0, 0};
    e.inizio = v.inizio;
    e.fine = v.fine;
    e.posizione = v.posizione;
  }
  // Only once all three are in order: a +100 that overflows leaves them so.
  for (int slot = 0; slot < 3; ++slot) {
    TableEntry& e = m.table[81 + slot];
    if (e.posizione == 1) e.fine = fit<int32_t>(int64_t{e.fine} + 100);
  }
}

}  // namespace lorvena
