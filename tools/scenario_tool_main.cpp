// Entry point of the authors' tool: compiles, checks, dumps and draws
// scenario descriptions with the installer's own compiler. What it prints
// must reach its reader: output that cannot be written fails the command.
#include <cerrno>
#include <cstring>
#include <iostream>

#include "tools/command_line.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  int status = lorvena::run_tool(args, std::cout, std::cerr, lorvena::this_terminal());
  errno = 0;
  if (!std::cout.flush()) {
    int number = errno;
    std::cerr << "scenario_tool: cannot write standard output"
              << (number != 0 ? std::string(": ") + std::strerror(number) : std::string()) << "\n";
    return 3;
  }
  if (!std::cerr.flush()) return status != 0 ? status : 3;
  return status;
}
