#include "tools/line_features.h"

#include "tools/table_entries.h"

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
  return f;
}

}  // namespace lorvena
