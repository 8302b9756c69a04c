// Warnings on the values of the records a description holds: a value outside
// the range or off the step its field has in the record table, a chainage past
// the end of the line, a time past 23:59:59, rows out of chainage order.
#pragma once

#include <vector>

#include "tools/diagnosing/description_lint.h"
#include "tools/diagnosing/diagnostic.h"
#include "tools/diagnosing/record_cells.h"

namespace lorvena {

std::vector<Diagnostic> check_values(const DescriptionLint& lint, const TrackSize& size);

}  // namespace lorvena
