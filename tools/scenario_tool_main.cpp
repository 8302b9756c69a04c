// Entry point of the authors' tool: compiles, checks, dumps and draws
// scenario descriptions with the installer's own compiler. What it prints
// must reach its reader: output that cannot be written fails the command.
#include <iostream>

#include "tools/command_line.h"
#include "tools/text/language.h"
#include "tools/text/messages.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  lorvena::set_language(lorvena::language_from_environment());
  int status = lorvena::run_tool(args, std::cout, std::cerr, lorvena::this_terminal());
  if (!std::cout.flush()) {
    std::cerr << "scenario_tool: " << lorvena::tr("cannot write standard output") << "\n";
    return 3;
  }
  if (!std::cerr.flush()) return status != 0 ? status : 3;
  return status;
}
