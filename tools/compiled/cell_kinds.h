// Names of the track cells' kinds as authors read them in dumps and summaries
// (what each kind holds: docs/compiled-files.md).
#pragma once

#include <cstdint>
#include <string>

#include "compiler/model.h"

namespace lorvena {

// "signal", "slowdown start" ...; "kind N" for a number with no name.
std::string kind_name(uint8_t kind);
// The same in the language the tool speaks, for messages (kind_name stays in
// the data the tool writes).
std::string kind_words(uint8_t kind);

}  // namespace lorvena
