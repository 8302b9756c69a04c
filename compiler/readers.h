// The two description readers, which `memorizza_dati` runs in turn: the line
// description first, then the train description. Each deletes its file when
// done with it and records what went wrong in the model's error state.
// Every record they read: docs/descriptions.md.
#pragma once

#include <filesystem>

#include "compiler/model.h"

namespace lorvena {

void read_line_description(Scenario& m, const std::filesystem::path& dir);
void read_train_description(Scenario& m, const std::filesystem::path& dir);

}  // namespace lorvena
