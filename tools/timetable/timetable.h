// The timetable of a compiled scenario set against its fastest run: each
// station's chainage, scheduled time, earliest possible arrival and margin,
// as `scenario_tool timetable` prints it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "tools/timetable/running_time.h"

namespace lorvena {

// Whole seconds: the earliest time rounded up.
std::optional<int64_t> earliest_seconds(const RunStation& s);
// Scheduled minus earliest, in seconds; none without a time or a reach.
std::optional<int64_t> margin_seconds(const RunStation& s);

// "+2:30", "-0:45", "+1:02:03".
std::string margin_text(int64_t seconds);

// Why the run ends before its last station, or "".
std::string stall_text(const FastestRun& run);

std::string timetable_text(const Scenario& m, const FastestRun& run, const TrainModel& model = {});

}  // namespace lorvena
