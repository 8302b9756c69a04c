// The scenario model: the per-50-metre track, the 87-entry scenario table,
// the per-metre plan of the line and the compiler's error state. As they
// are written to disk, member by member: docs/compiled-files.md.
#pragma once

#include <array>
#include <limits>
#include <memory>
#include <new>
#include <utility>
#include <cstdint>
#include <string>
#include <vector>

#include "compiler/error_codes.h"

namespace lorvena {

struct TrackCell {
  uint8_t kind = 0;
  int16_t param1 = 0;
  int16_t param2 = 0;
  int16_t param3 = 0;
  int16_t param4 = 0;
  uint8_t timing = 0;
  uint8_t approach = 0;
  uint8_t landscape = 0;
  uint8_t speed_limit = 0;
  uint8_t gradient = 0;
  uint8_t adhesion = 0;
};

// Kind codes of a track cell.
namespace cell_kind {
inline constexpr uint8_t kNone = 0;
inline constexpr uint8_t kSignal = 1;
inline constexpr uint8_t kSlowdownEnd = 2;
inline constexpr uint8_t kSlowdownStart = 3;
inline constexpr uint8_t kWarningBoard = 4;
inline constexpr uint8_t kApproach = 5;
inline constexpr uint8_t kSpeedIndicator = 6;
inline constexpr uint8_t kStationStop = 10;
inline constexpr uint8_t kTunnelMarker = 11;
inline constexpr uint8_t kMarker = 12;
inline constexpr uint8_t kLowMarker = 13;
inline constexpr uint8_t kSignBoard = 14;
}  // namespace cell_kind

inline bool is_free(const TrackCell& cell) {
  return cell.kind == cell_kind::kNone || cell.kind == cell_kind::kTunnelMarker;
}

struct TableEntry {
  uint8_t tipo = 0;
  int32_t inizio = 0;
  int32_t fine = 0;
  int32_t posizione = 0;
  uint8_t flag1 = 0;
  std::string nome;
  int16_t val1 = 0;
  int16_t val2 = 0;
  int16_t val3 = 0;
  int16_t val4 = 0;
  int16_t val5 = 0;
  uint8_t flag2 = 0;
  uint8_t flag3 = 0;
  uint8_t flag4 = 0;
  uint8_t flag5 = 0;
  int32_t ora = 0;
};

inline constexpr int kTableSize = 87;
inline constexpr int kFirstSignSlot = 80;
inline constexpr int kLineEntry = 84;      // braked mass, line length, coaches
inline constexpr int kScenarioEntry = 85;  // scenery, scenario name, stamps
inline constexpr int kTrainEntry = 86;     // cab signalling, train number, sand, clock
inline constexpr int32_t kMaxLineLength = 1000000;

// Leaves the elements a vector grows by uninitialised (a value given
// explicitly is still stored): the plan's points are each written before
// they are read, so zeroing megabytes first would be wasted work.
template <typename T>
struct UninitialisedAllocator : std::allocator<T> {
  template <typename U>
  struct rebind {
    using other = UninitialisedAllocator<U>;
  };
  template <typename U, typename... Args>
  void construct(U* at, Args&&... args) {
    if constexpr (sizeof...(Args) == 0)
      ::new (static_cast<void*>(at)) U;
    else
      ::new (static_cast<void*>(at)) U(std::forward<Args>(args)...);
  }
};

using PlanColumn = std::vector<double, UninitialisedAllocator<double>>;

// The plan of the line, one point a metre. Points 0 and 1 are the fixed
// origin (0, 0) and (0, 1); points 2 up to `next` - 1 are computed; the rest
// were never filled, hold no defined value and are written as empty elements.
struct Plan {
  PlanColumn x;
  PlanColumn y;
  bool origin_set = false;
  int64_t next = 2;

  int64_t upper_bound() const { return static_cast<int64_t>(x.size()) - 1; }
};

// Told of every error a compile records, in the order recorded; the model
// itself keeps only the last. The authors' tool sets one to list them all;
// the installer's run sets none.
class ErrorObserver {
 public:
  virtual ~ErrorObserver() = default;
  virtual void recorded(int32_t code, int32_t pos) = 0;
};

// Why the reading of a description stopped with error 25.
enum class StopCause {
  kNone,
  kFileUnreadable,    // the file could not be opened or read
  kValueUnstorable,   // a value that does not fit where it goes
  kNoLineLength,      // a record needs the track or plan, and no line length was read
};

struct Scenario {
  std::string scenario_name;
  std::string train_number;

  std::vector<TrackCell> track;
  std::array<TableEntry, kTableSize> table;
  Plan profile;
  int32_t write_profile = 0;
  std::string code_text;

  int32_t err_code = 0;
  int32_t err_pos = 0;
  // Where the reader that recorded the last error stopped: the description's
  // file name and the byte offset in it (for authors' reports).
  std::string stop_file;
  int64_t stop_offset = -1;
  // Why a description could not be read (error 25), in a few words, and
  // the kind of cause for code that acts on it.
  std::string stop_reason;
  StopCause stop_cause = StopCause::kNone;
  ErrorObserver* observer = nullptr;

  std::vector<int32_t> mountain_start{0};  // used from index 1
  std::vector<int32_t> mountain_end{0};
  std::vector<uint8_t> mountain_tunnel{0};  // 1 where the mountain carries tunnel markers
  int32_t mountain_count = 0;

  // The next free `table` entry for a sign text, counting down from 80; the
  // train reader's stations may not reach it.
  int32_t next_sign_slot = kFirstSignSlot;

  int64_t track_upper_bound() const { return static_cast<int64_t>(track.size()) - 1; }
  // The one way an error is recorded: the last one recorded stands. Without
  // a chainage, err_pos keeps the one recorded before. Returns `code`.
  error::Code record_error(error::Code code) {
    err_code = code;
    if (observer != nullptr) observer->recorded(code, err_pos);
    return code;
  }
  error::Code record_error(error::Code code, int32_t pos) {
    err_pos = pos;
    return record_error(code);
  }
};

// Nearest whole number, halves to even (every ratio-to-integer conversion).
// Throws ReadFailure for a value no integer can hold.
int64_t nearest(double value);

// `value` as the member type T; throws ReadFailure when it does not fit.
template <typename T>
T fit(int64_t value);

// The longest name or sign text an entry can hold: it is written with a
// 16-bit length.
inline constexpr size_t kLongestName = 65535;

// Stores `text` as the entry's `nome`. A longer text throws ReadFailure
// before anything is stored: the entry keeps the name it had.
void store_name(TableEntry& entry, std::string text);

// The cell or entry at `index`; throws ReadFailure outside the array.
TrackCell& cell_at(Scenario& model, int64_t index);
TableEntry& entry_at(Scenario& model, int64_t index);

inline uint8_t low_byte(int64_t value) { return static_cast<uint8_t>(value & 0xFF); }

// The highest track index for a line of `length` metres.
int64_t track_upper_bound_for(int64_t length);

// Sizes `track` (all cells zero) and, when `write_profile` is set, `profile`.
void size_model(Scenario& model, int32_t length);

void clear_table(Scenario& model);

// Everything one compile builds, reset at once before it starts: the table
// cleared, no track, no plan, no mountains, no error (err_pos keeps its
// value), the sign texts from entry 80 down. The identity strings stay.
void start_compile(Scenario& model, int32_t write_profile);

}  // namespace lorvena
