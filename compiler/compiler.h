// The compiler's driver: reads both descriptions into the model, walks the
// track placing markers, stamps the integrity codes and writes the compiled
// files into `dir`.
#pragma once

#include <cstdint>
#include <filesystem>

#include "compiler/compile_mode.h"
#include "compiler/model.h"
#include "disk/disk.h"

namespace lorvena {

// Reads both descriptions: the train description only when the line ended
// with no error or with a record beyond the line.
void memorizza_dati(Disk& disk, Scenario& m, const std::filesystem::path& dir, CompileMode mode);

// `j` non-zero builds and writes the plan of the line. Recorded errors stay in
// m.err_code / m.err_pos; a reserved-slot conflict throws FatalError before
// any compiled file is written; a file-system failure throws FileSystemError.
// `mode` says how a description that cannot be read is taken and whether the
// compiled files are flushed. Returns the number of markers the walk placed.
int memorizza_percorso(Disk& disk, Scenario& m, const std::filesystem::path& dir, int32_t j, CompileMode mode);

}  // namespace lorvena
