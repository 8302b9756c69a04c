#include "tools/cell_kinds.h"

#include <array>
#include <string_view>
#include <utility>

namespace lorvena {
namespace {

constexpr std::array<std::pair<uint8_t, std::string_view>, 12> kNames = {{
    {0, "none"},
    {1, "signal"},
    {2, "slowdown end"},
    {3, "slowdown start"},
    {4, "slowdown warning board"},
    {5, "slowdown approach"},
    {6, "maximum-speed board"},
    {10, "station stop"},
    {11, "tunnel marker"},
    {12, "marker"},
    {13, "marker below 1"},
    {14, "sign board"},
}};

}  // namespace

std::string kind_name(uint8_t kind) {
  for (const auto& [code, name] : kNames)
    if (code == kind) return std::string(name);
  return "kind " + std::to_string(kind);
}

int kind_from_name(const std::string& name) {
  for (const auto& [code, known] : kNames)
    if (known == name) return code;
  if (name.rfind("kind ", 0) == 0) return std::stoi(name.substr(5));
  return -1;
}

}  // namespace lorvena
