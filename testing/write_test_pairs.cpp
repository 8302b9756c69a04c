// Writes the description pairs the browser tests look at into DIR: the
// installer's own scenario as it writes it (DIR/installer, "LORVENA PF" train
// 4316) and a generated 300 km line (DIR/generated, "LINEA LUNGA" train 300),
// or of KM km when given (the view's benchmark asks for 1000).
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>

#include "descriptions/dati_linea.h"
#include "descriptions/dati_treno.h"
#include "disk/system_disk.h"
#include "testing/scenario_generator.h"

int main(int argc, char** argv) {
  if (argc != 2 && argc != 3) {
    std::fprintf(stderr, "usage: write_test_pairs DIR [KM]\n");
    return 2;
  }
  try {
    std::filesystem::path dir = argv[1];
    std::filesystem::create_directories(dir / "installer");
    std::filesystem::create_directories(dir / "generated");
    lorvena::SystemDisk disk;
    lorvena::dati_linea(disk, dir / "installer", "LORVENA PF");
    lorvena::dati_treno(disk, dir / "installer", "LORVENA PF", "4316");
    int32_t metres = argc == 3 ? std::atoi(argv[2]) * 1000 : 300000;
    lorvena::testing::write_generated_scenario(lorvena::testing::generate_scenario(metres), dir / "generated",
                                               "LINEA LUNGA", "300");
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  return 0;
}
