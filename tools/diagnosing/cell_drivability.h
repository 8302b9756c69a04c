// The compiled line checked cell by cell, from its start to its end: a speed
// limit and an adhesion above 0 wherever the train must pass, slowdowns it
// can pass and that slow it, gradients it can climb and hold, stations it can
// stop at, names with no control characters. Each finding at its record.
#pragma once

#include <vector>

#include "compiler/model.h"
#include "tools/diagnosing/description_lint.h"
#include "tools/diagnosing/diagnostic.h"
#include "tools/timetable/running_time.h"

namespace lorvena {

// `m` is the compile of `line` and `train` with no error recorded.
std::vector<Diagnostic> check_cells(const Scenario& m, const DescriptionLint& line, const DescriptionLint& train,
                                    const TrainModel& model = {});

// Station names and sign texts holding a tab or another control character.
std::vector<Diagnostic> check_names(const DescriptionLint& lint);

}  // namespace lorvena
