#include "tools/compiled/cell_kinds.h"

#include <array>
#include <string_view>
#include <utility>

#include "tools/text/messages.h"

namespace lorvena {
namespace {

using namespace cell_kind;

constexpr std::array<std::pair<uint8_t, std::string_view>, 12> kNames = {{
    {kNone, N_("none")},
    {kSignal, N_("signal")},
    {kSlowdownEnd, N_("slowdown end")},
    {kSlowdownStart, N_("slowdown start")},
    {kWarningBoard, N_("slowdown warning board")},
    {kApproach, N_("slowdown approach")},
    {kSpeedIndicator, N_("maximum-speed board")},
    {kStationStop, N_("station stop")},
    {kTunnelMarker, N_("tunnel marker")},
    {kMarker, N_("marker")},
    {kLowMarker, N_("marker below 1")},
    {kSignBoard, N_("sign board")},
}};

}  // namespace

std::string kind_name(uint8_t kind) {
  for (const auto& [code, name] : kNames)
    if (code == kind) return std::string(name);
  return "kind " + std::to_string(kind);
}

std::string kind_words(uint8_t kind) {
  for (const auto& [code, name] : kNames)
    if (code == kind) return std::string(tr(name));
  return trf("kind {0}", kind);
}

}  // namespace lorvena
