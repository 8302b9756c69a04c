// What a scenario table entry holds, told from its members and its place:
// the table is cleared before reading, so an entry holding something was written.
#pragma once

#include <string>

#include "compiler/model.h"

namespace lorvena {

// Any member other than `nome` non-zero.
inline bool has_values(const TableEntry& e) {
  return e.tipo != 0 || e.inizio != 0 || e.fine != 0 || e.posizione != 0 || e.flag1 != 0 || e.val1 != 0 ||
         e.val2 != 0 || e.val3 != 0 || e.val4 != 0 || e.val5 != 0 || e.flag2 != 0 || e.flag3 != 0 ||
         e.flag4 != 0 || e.flag5 != 0 || e.ora != 0;
}

inline bool is_cleared(const TableEntry& e) { return !has_values(e) && e.nome.empty(); }

// What entry `index` is for: "unused" (0), "station", "sign", "empty",
// "kilometre reference" (81 to 83), "line", "scenario" or "train".
inline std::string entry_role(size_t index, const TableEntry& e) {
  if (index == 0) return "unused";
  if (index >= 81 && index <= 83) return "kilometre reference";
  if (index == kLineEntry) return "line";
  if (index == kScenarioEntry) return "scenario";
  if (index == kTrainEntry) return "train";
  if (has_values(e)) return "station";
  return e.nome.empty() ? "empty" : "sign";
}

}  // namespace lorvena
