// The integrity codes: two sums of character codes over the train number and
// scenario name, stamped with two fixed values into reserved slots of the
// table and the track. A reserved slot already in use is a fatal error.
// The slots and the sums: docs/compiled-files.md.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "compiler/model.h"

namespace lorvena {

inline constexpr std::string_view kCodeFill = "aabbccddeeffgghhiillmmnnoo";

// Lower case in the Windows-1252 code page.
std::string lower_1252(std::string_view text);

// Both leave the summed text in m.code_text.
int32_t codice_gara_st(Scenario& m);
int16_t codice_gara_og(Scenario& m);

// Stamps 610, 5121 and the two codes; errore("1250") or errore("1251") when
// a reserved slot already holds a value. The track must have cell 1.
void stamp_codes(Scenario& m);

}  // namespace lorvena
