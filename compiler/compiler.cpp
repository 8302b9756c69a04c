#include "compiler/compiler.h"

#include "compiler/codes.h"
#include "compiler/compiled_files.h"
#include "compiler/placement.h"
#include "compiler/readers.h"

namespace lorvena {

void memorizza_dati(Scenario& m, const std::filesystem::path& dir) {
  read_line_description(m, dir);
  if (m.err_code == error::kNone || m.err_code == error::kBeyondLine) read_train_description(m, dir);
}

int memorizza_percorso(Scenario& m, const std::filesystem::path& dir, int32_t j) {
  start_compile(m, j);
  memorizza_dati(m, dir);
  // A reading that stopped before the line length sized the track leaves
  // nothing to walk, stamp or write.
  if (m.track.empty()) return 0;
  int placed = place_markers(m);
  stamp_codes(m);
  write_compiled_files(m, dir);
  return placed;
}

}  // namespace lorvena
