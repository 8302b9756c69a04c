// Warnings on what leaves a scenario undrivable or plainly unintended though
// every record reads: no speed limit or adhesion from the start, station
// times going backwards, a clock set late, a station area past the line's
// end, a curve with no side letter.
#pragma once

#include <vector>

#include "tools/diagnosing/description_lint.h"
#include "tools/diagnosing/diagnostic.h"
#include "tools/diagnosing/record_cells.h"

namespace lorvena {

// `train` for the chainages a line length in km falls short of.
std::vector<Diagnostic> check_line_drivability(const DescriptionLint& line, const DescriptionLint& train);
std::vector<Diagnostic> check_train_drivability(const DescriptionLint& train, const TrackSize& size);

}  // namespace lorvena
