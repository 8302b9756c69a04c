#include "tools/compiled/summary.h"

#include "tools/compiled/cell_kinds.h"
#include "tools/compiled/table_entries.h"

namespace lorvena {

Summary summarize(const Scenario& m, int markers) {
  Summary s;
  for (const TrackCell& c : m.track)
    if (c.kind != cell_kind::kNone) ++s.cells[c.kind];
  s.signs = kFirstSignSlot - m.next_sign_slot;
  // Stations fill the entries from 1 up to the first sign slot; the table is
  // cleared before reading, so any entry holding something is a station.
  for (int32_t e = 1; e < m.next_sign_slot && e < kTableSize; ++e)
    if (!is_cleared(m.table[static_cast<size_t>(e)])) ++s.stations;
  s.slowdowns = static_cast<int>(s.cells.count(cell_kind::kSlowdownStart) ? s.cells[cell_kind::kSlowdownStart] : 0);
  s.markers = markers;
  return s;
}

std::string summary_text(const Summary& s) {
  std::string out = "cells:\n";
  if (s.cells.empty()) out += "  none\n";
  for (const auto& [kind, count] : s.cells) out += "  " + kind_name(kind) + ": " + std::to_string(count) + "\n";
  out += "stations: " + std::to_string(s.stations) + "\n";
  out += "sign boards: " + std::to_string(s.signs) + "\n";
  out += "slowdowns: " + std::to_string(s.slowdowns) + "\n";
  out += "markers placed by the walk: " + std::to_string(s.markers) + "\n";
  return out;
}

}  // namespace lorvena
