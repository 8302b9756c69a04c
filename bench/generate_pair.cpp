// Writes a generated description pair for a line of the given length into a
// directory, under the names the compile of "LORVENA PF" train 4316 reads.
#include <cstdio>
#include <cstdlib>
#include <exception>

#include "testing/scenario_generator.h"

int main(int argc, char** argv) {
  long length = argc == 3 ? std::strtol(argv[1], nullptr, 10) : 0;
  if (length < lorvena::testing::kShortestGeneratedLine || length > 1000000) {
    std::fprintf(stderr, "usage: generate_pair LENGTH DIR (LENGTH from %d to 1000000 m)\n",
                 lorvena::testing::kShortestGeneratedLine);
    return 2;
  }
  try {
    auto pair = lorvena::testing::generate_scenario(static_cast<int32_t>(length));
    lorvena::testing::write_generated_scenario(pair, argv[2], "LORVENA PF", "4316");
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  return 0;
}
