// What changed between two description pairs, told record by record as the
// author wrote them: a record moved along the line ("segnale, line 24: 5400
// -> 5500 m"), added or removed with its chainage and values, or one whose
// values changed, each value named by the record table with its unit.
#pragma once

#include <string>
#include <vector>

namespace lorvena {

// One scenario's two descriptions: their names (as lines name them) and texts.
struct DescriptionTexts {
  std::string line_file;
  std::string line_text;
  std::string train_file;
  std::string train_text;
};

// One line a change, line description first, each in the order of B's lines.
std::vector<std::string> record_changes(const DescriptionTexts& a, const DescriptionTexts& b);

}  // namespace lorvena
