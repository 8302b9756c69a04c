#include "tools/picture/line_features.h"

#include <algorithm>
#include <cmath>

#include "tools/compiled/table_entries.h"

namespace lorvena {
namespace {

using namespace cell_kind;

// Objects read from a description stand in the cell one past their chainage.
int32_t object_chainage(size_t cell) { return static_cast<int32_t>(cell) * 50 - 50; }


SpeedBoard speed_board(size_t cell, const TrackCell& c) {
  SpeedBoard b{object_chainage(cell), {}, {}};
  const int16_t params[3] = {c.param1, c.param2, c.param3};
  for (int k = 0; k < 3; ++k) {
    b.left[k] = params[k] / 100 * 5;
    b.right[k] = params[k] % 100 * 5;
  }
  return b;
}

// The slowdown starting at `start`: it ends at the next end cell, or in its
// own cell when it is shorter than one cell.
Stretch slowdown_from(const Scenario& m, size_t start) {
  const TrackCell& s = m.track[start];
  size_t end = start;
  for (size_t c = start + 1; c < m.track.size(); ++c) {
    if (m.track[c].kind == kSlowdownStart) break;  // this one was shorter than a cell
    if (m.track[c].kind == kSlowdownEnd) {
      end = c;
      break;
    }
  }
  return {object_chainage(start), object_chainage(end), s.param1};
}

// The curvature at plan point i: how far the direction turns from the metre
// before it to the metre after it (positive to the right), per metre.
double curvature_at(const Plan& p, size_t i) {
  double ax = p.x[i] - p.x[i - 1], ay = p.y[i] - p.y[i - 1];
  double bx = p.x[i + 1] - p.x[i], by = p.y[i + 1] - p.y[i];
  double square = ax * ax + ay * ay;
  return square > 0 ? -(ax * by - ay * bx) / square : 0;
}

// The plan's curves: runs of points turning the same way at one curvature.
std::vector<Curve> plan_curves(const Plan& p, int32_t length) {
  std::vector<Curve> curves;
  if (!p.origin_set || p.next < 4) return curves;
  size_t last = static_cast<size_t>(std::min<int64_t>(p.next - 2, length));
  double run_q = 0;
  for (size_t i = 2; i <= last; ++i) {
    double q = curvature_at(p, i);
    if (std::abs(q) < 1e-5) q = 0;
    bool continues = q != 0 && run_q != 0 && std::abs(q - run_q) < 1e-6;
    if (continues) {
      curves.back().end = static_cast<int32_t>(i + 1);
    } else if (q != 0) {
      curves.push_back({static_cast<int32_t>(i), static_cast<int32_t>(i + 1), q > 0,
                        static_cast<int32_t>(std::lround(1 / std::abs(q)))});
    }
    run_q = q;
  }
  return curves;
}

}  // namespace

LineFeatures line_features(const Scenario& m) {
  LineFeatures f;
  f.length = m.table[kLineEntry].fine;
  for (int32_t e = 1; e < m.next_sign_slot && e < kTableSize; ++e) {
    const TableEntry& entry = m.table[static_cast<size_t>(e)];
    if (!is_cleared(entry)) f.stations.push_back({entry.posizione, entry.nome, entry.ora});
  }
  for (size_t c = 0; c < m.track.size(); ++c) {
    const TrackCell& cell = m.track[c];
    switch (cell.kind) {
      case kSignal: f.signals.push_back(object_chainage(c)); break;
      case kSlowdownStart: f.slowdowns.push_back(slowdown_from(m, c)); break;
      case kWarningBoard: f.warnings.push_back({object_chainage(c), object_chainage(c), cell.param1}); break;
      case kSpeedIndicator: f.speed_boards.push_back(speed_board(c, cell)); break;
      case kSignBoard: {
        bool in_table = cell.param1 > 0 && cell.param1 < kTableSize;
        f.signs.push_back({object_chainage(c), in_table ? m.table[static_cast<size_t>(cell.param1)].nome : ""});
        break;
      }
      default: break;
    }
  }
  for (int32_t k = 1; k <= m.mountain_count && static_cast<size_t>(k) < m.mountain_tunnel.size(); ++k)
    if (m.mountain_tunnel[static_cast<size_t>(k)] != 0)
      f.tunnels.push_back({m.mountain_start[static_cast<size_t>(k)], m.mountain_end[static_cast<size_t>(k)]});
  f.curves = plan_curves(m.profile, f.length);
  return f;
}

}  // namespace lorvena
