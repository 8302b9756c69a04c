#include "compiler/model.h"

#include <cmath>

#include "sources/field_reader.h"

namespace lorvena {

int64_t nearest(double value) {
  double rounded = std::nearbyint(value);
  if (!(rounded > -9.0e15 && rounded < 9.0e15)) throw ReadFailure("value out of range");
  return static_cast<int64_t>(rounded);
}

int64_t track_upper_bound_for(int64_t length) {
  return nearest(static_cast<double>(length + 7000) / 50.0);
}

void size_model(Scenario& model, int32_t length) {
  int64_t total = int64_t{length} + 7000;
  model.track.assign(static_cast<size_t>(track_upper_bound_for(length) + 1), TrackCell{});
  model.profile = Profile{};
  if (model.write_profile != 0) {
    model.profile.x.assign(static_cast<size_t>(total + 1), 0.0);
    model.profile.y.assign(static_cast<size_t>(total + 1), 0.0);
  }
}

void clear_table(Scenario& model) { model.table.fill(TableEntry{}); }

}  // namespace lorvena
