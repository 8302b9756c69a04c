#include "tools/compiled/summary.h"

#include "tools/compiled/cell_kinds.h"
#include "tools/compiled/table_entries.h"
#include "tools/text/messages.h"

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
  std::string out = std::string(tr("cells:")) + "\n";
  if (s.cells.empty()) out += "  " + std::string(tr("none")) + "\n";
  for (const auto& [kind, count] : s.cells) out += "  " + kind_words(kind) + ": " + std::to_string(count) + "\n";
  out += trf("stations: {0}\n", s.stations);
  out += trf("sign boards: {0}\n", s.signs);
  out += trf("slowdowns: {0}\n", s.slowdowns);
  out += trf("markers placed by the walk: {0}\n", s.markers);
  return out;
}

}  // namespace lorvena
