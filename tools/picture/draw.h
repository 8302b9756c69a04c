// One SVG picture of a compiled line for its author: the plan with stations,
// signals and tunnels; under it, against the chainage, the gradient, the line
// speed limit, the adhesion, the maximum-speed boards and the objects along
// the line. Labels are the scenario's own texts and keywords.
#pragma once

#include <string>

#include "compiler/model.h"

namespace lorvena {

// Marks carry a class each: "plan-station", "plan-signal", "plan-tunnel" on
// the plan, "station", "signal", "slowdown", "warning", "sign", "speed-board"
// along the chainage.
std::string draw_svg(const Scenario& m);

}  // namespace lorvena
