// The words a player reads when the disk ends the run: which file and folder,
// what happened and what to do, in Italian, then the system's own number and
// text on a line of their own for whoever helps. The same on every platform.
#pragma once

#include <string>

#include "disk/file_system.h"

namespace lorvena {

// Lines joined by "\n", in UTF-8, with no line end after the last.
std::string run_time_message(const FileSystemError& e);

}  // namespace lorvena
