// Where each record of a description pair lands on the track, cell by cell,
// as the compile's storing routines place it; which record holds a cell when
// another one finds it taken; and the limits past which a record that could
// be read cannot be stored (the compile's error 25).
#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "tools/diagnosing/description_lint.h"

namespace lorvena {

struct CellWrite {
  int64_t cell = 0;
  uint8_t kind = 0;         // 0: the record only marks the cell's approach value
  int32_t taken_error = 0;  // the error when the cell is not free; 0: written whatever it holds
  int64_t param1 = 0;
  int64_t param2 = 0;
};

struct Placement {
  std::vector<CellWrite> writes;  // the cells it takes, in the order the compile checks them
  std::string unstorable;         // why the compile cannot store it (error 25), or ""
  // The compile finds it only when it stores the next record of its kind, or
  // at the end of the description (a speed limit's speed), or of the general
  // block (a kilometre reference's end).
  bool deferred = false;
};

struct TrackSize {
  int64_t top = -1;       // the track's highest cell; -1: no line length
  int64_t plan_top = -1;  // the plan's highest point; -1: no plan
  int64_t length = 0;
};

TrackSize track_size(std::optional<int64_t> length, bool plan);

// The line length the general block sets (the last length record read), if any.
std::optional<int64_t> line_length(const DescriptionLint& line);

Placement placement_of(const LintRecord& r, const TrackSize& size);

// Does the compile find the record beyond the track (error 15)?
bool beyond_track(const LintRecord& r, const TrackSize& size);

struct PlacedRecord {
  const DescriptionLint* lint = nullptr;
  const LintRecord* record = nullptr;
  Placement placement;
};

// Every complete record of both descriptions, line first, in reading order.
class TrackReplay {
 public:
  TrackReplay(const DescriptionLint& line, const DescriptionLint& train, const TrackSize& size);

  const std::vector<PlacedRecord>& records() const { return records_; }
  const PlacedRecord* find(const LintRecord* r) const;
  // The record that holds `cell` when `upto` comes to write its write number
  // `write` there, leaving out the records in `aside`. The compile checks a
  // slowdown's approach cells after writing its other cells, and every other
  // cell before writing any: only then do a record's own cells count.
  const PlacedRecord* occupant(int64_t cell, const LintRecord* upto, size_t write,
                               const std::set<const LintRecord*>& aside) const;

 private:
  std::vector<PlacedRecord> records_;
};

// Warnings for what lands where the author cannot mean it: an object in the
// first cell (its values overwritten by the scenario's stamps), a station
// stop point on another object's cell.
std::vector<Diagnostic> cell_warnings(const TrackReplay& replay);

// Warnings for sign texts that the table stores where stations belong: the
// texts fill the entries from 80 down, and only the stations' own count
// stops them (error 10), so without stations the 80th text takes entry 1,
// the first station's, and the 81st entry 0, which the table keeps empty.
std::vector<Diagnostic> table_warnings(const TrackReplay& replay);

// The area of a complete station record, as the compile sets it.
struct StationArea {
  int64_t inizio = 0;
  int64_t fine = 0;
};
StationArea station_area(const LintRecord& station);

// "50 m" or later: the first position on the 50 m step at which a record of
// this kind no longer lands in the first cell.
int64_t first_free_position(const LintRecord& r);

}  // namespace lorvena
