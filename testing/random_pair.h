// A seeded generator of random description pairs for property tests: short
// lines with objects anywhere (chainages off the 50 m step, short, touching
// and overlapping slowdowns, signals of every split, tying references).
#pragma once

#include <cstdint>
#include <string>

namespace lorvena::testing {

struct RandomPair {
  std::string line;  // the line description text
  std::string train;
  bool plan = false;  // whether to compile it with the plan
};

// The same pair for the same seed, every time and on every platform. Many
// compile clean; some record an error (objects on one cell), which a test
// skips.
RandomPair random_pair(uint64_t seed);

}  // namespace lorvena::testing
