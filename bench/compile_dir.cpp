// Compiles the description pair in one directory, as the installer run does
// but without flushing (its copy has no flush either), and nothing else: the
// compile-only program of the whole-process timings.
#include <cstdio>
#include <exception>

#include "compiler/compiler.h"
#include "disk/system_disk.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: compile_dir DIR\n");
    return 2;
  }
  lorvena::Scenario model;
  model.scenario_name = "LORVENA PF";
  model.train_number = "4316";
  lorvena::SystemDisk disk;
  try {
    lorvena::memorizza_percorso(disk, model, argv[1], 1, lorvena::CompileMode::kCopies);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  if (model.err_code == 0) return 0;
  std::fprintf(stderr, "error %d at %d m\n", model.err_code, model.err_pos);
  return 1;
}
