// What the fastest run says of a scenario: station times the train cannot
// keep (W-timetable), and slowdowns it cannot brake for between the warning
// board and the start, from the line's speed (W-slowdown-braking).
#pragma once

#include <vector>

#include "compiler/model.h"
#include "tools/diagnosing/description_lint.h"
#include "tools/diagnosing/diagnostic.h"
#include "tools/timetable/running_time.h"

namespace lorvena {

// `m` is the compile of `train` and its line with no error recorded, `run` its fastest run.
std::vector<Diagnostic> check_timetable(const Scenario& m, const FastestRun& run, const DescriptionLint& train,
                                        const TrainModel& model = {});

std::vector<Diagnostic> check_slowdown_braking(const Scenario& m, const DescriptionLint& train,
                                               const TrainModel& model = {});

}  // namespace lorvena
