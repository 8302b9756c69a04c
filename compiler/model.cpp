#include "compiler/model.h"

#include <cmath>

#include "compiler/page_advice.h"
#include "descriptions/field_reader.h"
#include "descriptions/translatable.h"

namespace lorvena {

int64_t nearest(double value) {
  double rounded = std::nearbyint(value);
  if (!(rounded > -9.0e15 && rounded < 9.0e15)) throw ReadFailure(N_("value out of range"));
  return static_cast<int64_t>(rounded);
}

template <typename T>
T fit(int64_t value) {
  if (value < std::numeric_limits<T>::min() || value > std::numeric_limits<T>::max())
    throw ReadFailure(N_("value does not fit its member"));
  return static_cast<T>(value);
}
template uint8_t fit<uint8_t>(int64_t);
template int16_t fit<int16_t>(int64_t);
template int32_t fit<int32_t>(int64_t);

TrackCell& cell_at(Scenario& model, int64_t index) {
  if (index < 0 || index > model.track_upper_bound()) throw ReadFailure(N_("cell outside the track"));
  return model.track[static_cast<size_t>(index)];
}

TableEntry& entry_at(Scenario& model, int64_t index) {
  if (index < 0 || index >= kTableSize) throw ReadFailure(N_("entry outside the table"));
  return model.table[static_cast<size_t>(index)];
}

void store_name(TableEntry& entry, std::string text) {
  if (text.size() > kLongestName) throw ReadFailure(N_("text longer than 65535 bytes"));
  entry.nome = std::move(text);
}

int64_t track_upper_bound_for(int64_t length) {
  return nearest(static_cast<double>(length + 7000) / 50.0);
}

void size_model(Scenario& model, int32_t length) {
  int64_t total = int64_t{length} + 7000;
  model.track.assign(static_cast<size_t>(track_upper_bound_for(length) + 1), TrackCell{});
  model.profile = Plan{};
  if (model.write_profile != 0) {
    for (PlanColumn* column : {&model.profile.x, &model.profile.y}) {
      size_t points = static_cast<size_t>(total + 1);
      column->reserve(points);
      prepare_pages(column->data(), points * sizeof(double));
      column->resize(points);
    }
  }
}

void clear_table(Scenario& model) { model.table.fill(TableEntry{}); }

void start_compile(Scenario& model, int32_t write_profile) {
  model.write_profile = write_profile;
  model.err_code = error::kNone;
  model.stop_file.clear();
  model.stop_offset = -1;
  model.stop_reason.clear();
  model.stop_cause = StopCause::kNone;
  clear_table(model);
  model.track.clear();
  model.profile = Plan{};
  model.code_text.clear();
  model.mountain_start.assign(1, 0);
  model.mountain_end.assign(1, 0);
  model.mountain_tunnel.assign(1, 0);
  model.mountain_count = 0;
  model.next_sign_slot = kFirstSignSlot;
}

}  // namespace lorvena
