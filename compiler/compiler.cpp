#include "compiler/compiler.h"

#include "compiler/integrity_codes.h"
#include "compiler/packing.h"
#include "compiler/placement.h"
#include "compiler/readers.h"

namespace lorvena {

void memorizza_dati(Disk& disk, Scenario& m, const std::filesystem::path& dir, CompileMode mode) {
  read_line_description(disk, m, dir, mode);
  if (m.err_code == error::kNone || m.err_code == error::kBeyondLine) read_train_description(disk, m, dir, mode);
}

int memorizza_percorso(Disk& disk, Scenario& m, const std::filesystem::path& dir, int32_t j, CompileMode mode) {
  start_compile(m, j);
  memorizza_dati(disk, m, dir, mode);
  // A reading that stopped before the line length sized the track leaves
  // nothing to walk, stamp or write.
  if (m.track.empty()) return 0;
  int placed = place_markers(m);
  stamp_codes(m);
  write_compiled_files(disk, m, dir, mode == CompileMode::kInstallerRun ? Flush::kYes : Flush::kNo);
  return placed;
}

}  // namespace lorvena
