#include "compiler/compiler.h"

#include "compiler/codes.h"
#include "compiler/compiled_files.h"
#include "compiler/placement.h"
#include "compiler/readers.h"

namespace lorvena {

int memorizza_percorso(Scenario& m, const std::filesystem::path& dir, int32_t j) {
  m.write_profile = j;
  m.err_code = 0;
  m.stop_file.clear();
  m.stop_offset = -1;
  clear_table(m);
  m.track.clear();
  m.profile = Plan{};
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
