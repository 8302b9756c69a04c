// Names of the track cells' kinds as authors read them in dumps and summaries.
#pragma once

#include <cstdint>
#include <string>

namespace lorvena {

// "signal", "slowdown start" ...; "kind N" for a number with no name.
std::string kind_name(uint8_t kind);

// The number for a name kind_name gives; -1 for none.
int kind_from_name(const std::string& name);

}  // namespace lorvena
