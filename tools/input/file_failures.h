// A file-system failure or a file found in the way, told to the author in
// the language the tool speaks: what the tool was doing, the file, and the
// system's own words, which stay as the system gives them.
#pragma once

#include <string>

#include "disk/file_system.h"

namespace lorvena {

// "cannot write FILE: No space left on device"; in English, what() itself.
std::string told(const FileSystemError& e);

// "FILE is already there".
std::string told(const FileInTheWay& e);

}  // namespace lorvena
