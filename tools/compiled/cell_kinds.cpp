#include "tools/compiled/cell_kinds.h"

#include <array>
#include <string_view>
#include <utility>

namespace lorvena {
namespace {

using namespace cell_kind;

constexpr std::array<std::pair<uint8_t, std::string_view>, 12> kNames = {{
    {kNone, "none"},
    {kSignal, "signal"},
    {kSlowdownEnd, "slowdown end"},
    {kSlowdownStart, "slowdown start"},
    {kWarningBoard, "slowdown warning board"},
    {kApproach, "slowdown approach"},
    {kSpeedIndicator, "maximum-speed board"},
    {kStationStop, "station stop"},
    {kTunnelMarker, "tunnel marker"},
    {kMarker, "marker"},
    {kLowMarker, "marker below 1"},
    {kSignBoard, "sign board"},
}};

}  // namespace

std::string kind_name(uint8_t kind) {
  for (const auto& [code, name] : kNames)
    if (code == kind) return std::string(name);
  return "kind " + std::to_string(kind);
}

}  // namespace lorvena
