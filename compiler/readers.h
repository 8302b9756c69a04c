// The two description readers, which `memorizza_dati` runs in turn: the line
// description first, then the train description. Each deletes its file when
// done with it and records what went wrong in the model's error state.
// Every record they read: docs/descriptions.md.
#pragma once

#include <filesystem>

#include "compiler/compile_mode.h"
#include "compiler/model.h"
#include "disk/disk.h"

namespace lorvena {

void read_line_description(Disk& disk, Scenario& m, const std::filesystem::path& dir, CompileMode mode);
void read_train_description(Disk& disk, Scenario& m, const std::filesystem::path& dir, CompileMode mode);

}  // namespace lorvena
