#include "compiler/placement.h"

#include <algorithm>
#include <initializer_list>
#include <optional>

namespace lorvena {
namespace {

using namespace cell_kind;

class Walk {
 public:
  explicit Walk(Scenario& m) : m_(m), top_(m.track_upper_bound()) {}

  int run() {
    for (int64_t i = 1; i <= top_ - 2; ++i) {
      if (kind(i) == kWarningBoard) signals_behind_board(i);
      if (kind(i) == kSlowdownStart) slowdown(i);
    }
    return placed_;
  }

 private:
  uint8_t kind(int64_t c) const { return m_.track[static_cast<size_t>(c)].kind; }
  bool free_cell(int64_t c) const { return c >= 0 && c <= top_ && is_free(m_.track[static_cast<size_t>(c)]); }

  void place(int64_t c) {
    TrackCell& cell = m_.track[static_cast<size_t>(c)];
    cell.kind = kMarker;
    cell.param1 = kMarkerValue;
    ++placed_;
  }

  void record(error::Code code, int64_t c) { m_.record_error(code, static_cast<int32_t>(50 * c)); }

  // The first free cell of `candidates` gets a marker; false when none is free.
  bool place_first_free(std::initializer_list<int64_t> candidates) {
    for (int64_t c : candidates) {
      if (!free_cell(c)) continue;
      place(c);
      return true;
    }
    return false;
  }

  // Every signal up to 20 cells behind a warning board gets a marker just
  // before it, or has an existing marker there lowered to 180.
  void signals_behind_board(int64_t i) {
    for (int64_t a = 1; a <= 20 && i - a >= 3; ++a) {
      int64_t k = i - a;
      if (kind(k) != kSignal) continue;
      if (place_first_free({k - 1, k - 2})) continue;
      if (!lower_marker(k - 1) && !lower_marker(k - 2)) record(error::kNoCellBeforeSignal, k);
    }
  }

  bool lower_marker(int64_t c) {
    TrackCell& cell = m_.track[static_cast<size_t>(c)];
    if (cell.kind != kMarker) return false;
    cell.param1 = minimo(kMarkerValue, cell.param1);
    return true;
  }

  void slowdown(int64_t i) {
    if (i > 7 && !place_first_free({i - 5, i - 6, i - 7})) record(error::kNoCellBeforeSlowdown, i);
    if (i > 13 && !place_first_free({i - 11, i - 12, i - 13})) record(error::kNoCellBeforeSlowdown, i);
    if (i > 20 && !place_first_free({i - 18, i - 19, i - 20})) record(error::kNoCellBeforeSlowdown, i);
    bool slow = m_.track[static_cast<size_t>(i)].param1 < 110;
    std::optional<int64_t> end = slow ? walk_slowdown(i) : find_end(i);
    if (end) marker_before_next_signal(*end);
  }

  // From the start cell to the slowdown's end cell, a marker every 8 cells,
  // moved by one cell to a free neighbour where needed. The end cell, or
  // nothing when the track ends first.
  std::optional<int64_t> walk_slowdown(int64_t i) {
    int64_t n = 0;
    int64_t p = i;
    do {
      if (p >= top_) return std::nullopt;
      ++p;
      ++n;
      if (n != 8) continue;
      if (free_cell(p)) n = 0, place(p);
      else if (free_cell(p - 1)) n = 1, place(p - 1);
      else if (free_cell(p + 1)) n = -1, place(p + 1);
      else record(error::kNoCellAlongSlowdown, p);
    } while (kind(p) != kSlowdownEnd);
    return p;
  }

  std::optional<int64_t> find_end(int64_t i) {
    for (int64_t p = i + 1; p <= top_; ++p)
      if (kind(p) == kSlowdownEnd) return p;
    return std::nullopt;
  }

  void marker_before_next_signal(int64_t p) {
    int64_t n = 0;
    for (int64_t s = p; s <= std::min(p + 12, top_); ++s) {
      if (kind(s) != kSignal) continue;
      n = s - 1;
      break;
    }
    if (n > 0 && !place_first_free({n, n - 1})) record(error::kNoCellAlongSlowdown, p);
  }

  Scenario& m_;
  int64_t top_;
  int placed_ = 0;
};

}  // namespace

int16_t minimo(int16_t x, int16_t y) { return x > y ? y : x; }

int place_markers(Scenario& m) { return Walk(m).run(); }

}  // namespace lorvena
