// The authors' tool's commands: compile, check, dump, draw, view, explain and help. Exit
// status 0 when nothing was recorded, 1 when the compile recorded an error or
// a fatal one, 2 for a wrong command line, a description pair that is not
// there or a file that cannot be read or written, 3 when standard output
// cannot be written or something unforeseen stops it. Help and usage errors go to
// standard output and standard error respectively.
// `diff` exits with 0 when the two are equal and 1 when they differ.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "disk/disk.h"
#include "tools/text/terminal_colour.h"

namespace lorvena {

// `terminal` tells `--color=auto` which streams are terminals.
int run_tool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
             const Terminal& terminal = {});

// The same on `disk`, through which every file of the command is read and
// written.
int run_tool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, const Terminal& terminal,
             Disk& disk);

}  // namespace lorvena
