#include "tools/diff/cell_params.h"

#include "compiler/model.h"

namespace lorvena {

std::array<std::string, 4> param_names(uint8_t kind) {
  switch (kind) {
    case cell_kind::kSignal: return {"aspects s1/d1", "aspects s2/d2", "aspects s3/d3", "rapp/sx/dx"};
    case cell_kind::kSlowdownEnd:
    case cell_kind::kSlowdownStart: return {"speed", "d_v", "f_tt", "param4"};
    case cell_kind::kWarningBoard: return {"speed", "d_v", "param3", "param4"};
    case cell_kind::kApproach: return {"approach step", "d_v step", "param3", "param4"};
    case cell_kind::kSpeedIndicator: return {"speeds a", "speeds b", "speeds c", "stripes"};
    case cell_kind::kStationStop: return {"station entry", "param2", "param3", "param4"};
    case cell_kind::kMarker: return {"value", "param2", "param3", "param4"};
    case cell_kind::kSignBoard: return {"sign entry", "param2", "param3", "param4"};
    default: return {"param1", "param2", "param3", "param4"};
  }
}

}  // namespace lorvena
