// The tool's JSON as text, written by the JSON library: compact, and bytes
// that are no UTF-8 (a path's, on a system whose names are not UTF-8) shown
// as U+FFFD instead of making the output no JSON at all.
#pragma once

#include <string>

#include <nlohmann/json_fwd.hpp>

namespace lorvena {

std::string json_text(const nlohmann::ordered_json& value);

}  // namespace lorvena
