// Entry point of the authors' tool: compiles, checks, dumps and draws
// scenario descriptions with the installer's own compiler.
#include <iostream>

#include "tools/command_line.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return lorvena::run_tool(args, std::cout, std::cerr, lorvena::this_terminal());
}
