// What both description readers share: the keyword loop's field reads with
// their divider skipping, the bounds check of a record, and the way a reading
// ends (the file deleted, error 25 for anything that could not be read).
#pragma once

#include <filesystem>
#include <cstdint>
#include <functional>
#include <limits>
#include <string>

#include "compiler/compile_mode.h"
#include "compiler/model.h"
#include "descriptions/field_reader.h"
#include "disk/disk.h"

namespace lorvena {

// Reads the next keyword field, skipping up to `dividers` fields that
// contain "-". False at the end of the file.
bool next_keyword(FieldReader& in, std::string& field, int dividers);

// What a record tells the reading: go on, end the body (a record beyond the
// line: the closing fills still run) or stop the reading (an error).
enum class Next { kGoOn, kEndBody, kStop };

// The one way a reader records an error and stops: `code`, at chainage `pos`
// when the error has one (else err_pos keeps its value).
Next stop(Scenario& m, error::Code code);
Next stop(Scenario& m, error::Code code, int32_t pos);

// Hands every keyword field of a body to `record`. False when a record
// stopped the reading.
bool read_body(FieldReader& in, const std::function<Next(const std::string&)>& record);

// True when a record at chainage c lies beyond the line (+100 m margin);
// records error 15 at c then.
bool beyond_line(Scenario& m, int64_t c);

// Thrown by a record that needs the track or the plan when the line
// description gave no line length: nothing can be placed.
class MissingLineLength : public ReadFailure {
 public:
  explicit MissingLineLength(const std::string& what) : ReadFailure(what) {}
};

// No bound for fill_cells: the fill goes on until `end`.
inline constexpr int64_t kNoFillBound = std::numeric_limits<int64_t>::max();

// Fills the cells from `cursor` up to, not including, `end` with the last
// value read (`store` writes it into one cell): a value holds from its
// record's chainage to the next record's, so each record first closes the
// stretch of the one before. The cell at `cursor` is written even when `end`
// is not past it, so records that repeat a chainage move the cursor on one
// cell each. `bound` is a cursor the fill stops at before writing: the
// speed's fill passes the track's upper bound, so such repeated records stop
// short of the last cell; the other fills pass kNoFillBound, and a cursor
// walked off the track throws ReadFailure from cell_at (error 25).
template <typename Store>
void fill_cells(Scenario& m, int64_t& cursor, int64_t end, int64_t bound, Store store) {
  do {
    if (cursor >= bound) return;
    store(cell_at(m, cursor++));
  } while (cursor < end);
}

// Reads the description `name` in `dir` with `parse`, then deletes it. A
// failure to read (a bad number, a value that does not fit, and outside the
// installer's run a file that cannot be opened or read) deletes both
// descriptions and records error 25. In the installer's run a file that
// cannot be opened or read throws FileSystemError. When `parse` records an
// error, the stop position is kept for reports.
void read_description(Disk& disk, Scenario& m, const std::filesystem::path& dir, const std::string& name,
                      CompileMode mode, const std::function<void(FieldReader&)>& parse);

}  // namespace lorvena
