// The starting pair of `scenario_tool new`: a short invented line and train
// that compile clean, with a comment before each record saying what it and
// its fields are.
#pragma once

#include <string>

namespace lorvena {

struct StarterPair {
  std::string line;   // NAME_linea.txt, CR LF, Windows-1252 (plain ASCII)
  std::string train;  // NAME_TRAIN-.txt
};

StarterPair starter_pair();

}  // namespace lorvena
