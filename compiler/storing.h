// The routines that turn one record into track cells (mountains, slowdowns,
// signals, maximum-speed indicators) and order the kilometre references.
// Each returns the error it recorded in the model, or error::kNone; cells
// written before an error stay written. A value that does not fit throws
// ReadFailure. What each cell holds afterwards: docs/compiled-files.md.
#pragma once

#include <cstdint>

#include "compiler/model.h"

namespace lorvena {

error::Code memo_montagna(Scenario& m, int32_t inizio, int32_t fine, int32_t& tipo);

error::Code memo_rallentamento(Scenario& m, int32_t x, int32_t v, int32_t l, int32_t f_tt, int32_t f_ta,
                               int32_t d_v);

struct SignalRecord {
  int32_t posizione, sx, s1, s2, s3, rapp, dx, d1, d2, d3, tempo;
};
error::Code memo_segnale(Scenario& m, SignalRecord& signal);

struct IndicatorRecord {
  int32_t posizione, vas, vbs, vcs, strisces, vad, vbd, vcd, strisced;
};
error::Code memo_indicatori_v_max(Scenario& m, const IndicatorRecord& board);

void progressive_ordina(Scenario& m);

}  // namespace lorvena
