// What a scenario table entry holds, told from its members: the table is
// cleared before reading, so an entry holding something was written.
#pragma once

#include "compiler/model.h"

namespace lorvena {

// Any member other than `nome` non-zero.
inline bool has_values(const TableEntry& e) {
  return e.tipo != 0 || e.inizio != 0 || e.fine != 0 || e.posizione != 0 || e.flag1 != 0 || e.val1 != 0 ||
         e.val2 != 0 || e.val3 != 0 || e.val4 != 0 || e.val5 != 0 || e.flag2 != 0 || e.flag3 != 0 ||
         e.flag4 != 0 || e.flag5 != 0 || e.ora != 0;
}

inline bool is_cleared(const TableEntry& e) { return !has_values(e) && e.nome.empty(); }

}  // namespace lorvena
