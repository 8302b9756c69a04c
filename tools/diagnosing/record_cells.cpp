#include "tools/diagnosing/record_cells.h"

#include <functional>
#include <limits>

#include "compiler/model.h"
#include "descriptions/field_reader.h"
#include "tools/compiled/cell_kinds.h"
#include "tools/diagnosing/warning_texts.h"
#include "tools/text/messages.h"

namespace lorvena {
namespace {

using namespace cell_kind;

bool fits(int64_t v, int64_t low, int64_t high) { return v >= low && v <= high; }
bool fits16(int64_t v) { return fits(v, INT16_MIN, INT16_MAX); }

// nearest() of a value no cell index can hold: a cell far outside the track.
int64_t cell_of(double value) {
  try {
    return nearest(value);
  } catch (const ReadFailure&) {
    return std::numeric_limits<int64_t>::min();
  }
}

int64_t position_cell(int64_t p) { return cell_of(static_cast<double>(p) / 50.0 + 1.0); }

std::string metres(int64_t m) { return trf("{0} m", m); }

class Placer {
 public:
  Placer(const LintRecord& r, const TrackSize& size) : r_(r), size_(size) {}

  Placement run() {
    std::string_view k = r_.format->heading;
    // The bounds check adds its margin in 32 bits.
    if (r_.format->fields.front().chainage && r_.format->section != Section::kLineGeneral &&
        !fits(v(0) + (k == "stazione" ? 800 : 100), INT32_MIN, INT32_MAX)) {
      cannot(tr("its position plus the margin of the bounds check does not fit 32 bits"));
      return std::move(out_);
    }
    if (k == "segnale") signal();
    else if (k == "indicatori_vmax") indicator();
    else if (k == "cartello_indicatore") sign();
    else if (k == "montagna") mountain();
    else if (k == "rallentamento") slowdown();
    else if (k == "abbattimento") marker();
    else if (k == "stazione") station();
    else if (k == "velocita") speed();
    else if (k == "curva") curve();
    else if (k == "progressiva chilometrica") reference();
    return std::move(out_);
  }

 private:
  int64_t v(size_t i) const { return r_.number(i); }

  void cannot(std::string_view why) {
    if (out_.unstorable.empty()) out_.unstorable = why;
  }

  bool inside(int64_t cell) const { return fits(cell, 0, size_.top); }

  void take(int64_t cell, uint8_t kind, error::Code taken_error, int64_t p1 = 0, int64_t p2 = 0) {
    out_.writes.push_back({cell, kind, taken_error, p1, p2});
  }

  // The cell at `cell`, which the compile reaches through the track's bounds.
  bool reach(int64_t cell, std::string_view what) {
    if (inside(cell)) return true;
    cannot(cell < 0 ? trf("{0} falls before the start of the line", what)
                    : trf("{0} falls past the end of the track ({1})", what, metres(50 * size_.top)));
    return false;
  }

  void packed(std::string_view sum, int64_t value) {
    if (!fits16(value)) cannot(trf("{0} = {1} does not fit -32768 to 32767", sum, value));
  }

  void signal() {
    int64_t j = position_cell(v(0));
    if (!reach(j, tr("its cell"))) return;
    take(j, kSignal, error::kSignalCellTaken, v(2) * 10 + v(7), v(3) * 10 + v(8));
    packed("rapp·10 + sx·3 + dx", v(5) * 10 + v(1) * 3 + v(6));
    packed("s1·10 + d1", v(2) * 10 + v(7));
    packed("s2·10 + d2", v(3) * 10 + v(8));
    packed("s3·10 + d3", v(4) * 10 + v(9));
    for (int64_t b = 1; b <= 4; ++b) {
      if (!inside(j - 2 * b)) {
        cannot(trf("its approach marks reach {0} before it, past the start of the line; place it at 350 m or later",
                   metres(100 * b)));
        return;
      }
      int64_t mark = v(1) * 30 + v(6) * 10 + b;
      if (!fits(mark, 0, 255))
        return cannot(trf("its approach mark sx·30 + dx·10 + {0} = {1} does not fit 0 to 255", b, mark));
      take(j - 2 * b, kNone, error::kNone);
    }
  }

  void indicator() {
    int64_t j = position_cell(v(0));
    if (!reach(j, tr("its cell"))) return;
    int64_t p1 = cell_of(v(5) / 5.0 + v(1) * 20.0), p2 = cell_of(v(6) / 5.0 + v(2) * 20.0);
    take(j, kSpeedIndicator, error::kIndicatorCellTaken, p1, p2);
    packed("vad/5 + vas·20", p1);
    packed("vbd/5 + vbs·20", p2);
    packed("vcd/5 + vcs·20", cell_of(v(7) / 5.0 + v(3) * 20.0));
    packed("strisces·10 + strisced", v(4) * 10 + v(8));
  }

  // The text is stored after the cell's kind and slot: a taken cell is
  // error 6 whatever its length.
  void sign() {
    int64_t j = position_cell(v(0));
    if (!reach(j, tr("its cell"))) return;
    take(j, kSignBoard, error::kSignCellTaken, 1);
    size_t length = r_.fields.at(1).text.size();
    if (length > kLongestName)
      cannot(trf("its text is {0} bytes long; at most 65535 can be stored", length));
  }

  void mountain() {
    int64_t kind = v(2) > 10 ? v(2) - 10 : v(2);
    int64_t first = cell_of(v(0) / 50.0), last = cell_of(v(1) / 50.0 - 1.0);
    // The kind is stored cell by cell: a mountain without cells stores none.
    if (first <= last && !fits(kind, 0, 255))
      cannot(trf("kind {0} gives landscape {1}, which does not fit 0 to 255", v(2), kind));
    if (first <= last && (!inside(first) || !inside(last)))
      cannot(inside(first) ? trf("its cells from {0} to {1} reach past the end of the track ({2})", metres(v(0)),
                                 metres(v(1)), metres(50 * size_.top))
                           : trf("its cells from {0} to {1} reach before the start of the line", metres(v(0)),
                                 metres(v(1))));
  }

  void slowdown() {
    int64_t x = v(0), speed = v(1), length = v(2), d_v = v(5);
    int64_t second = d_v != 0 ? d_v : 0;
    if (!fits(x + length, INT32_MIN, INT32_MAX) || !fits(x - 1200, INT32_MIN, INT32_MAX))
      return cannot(tr("x + l or x - 1200 does not fit 32 bits"));
    if (x > 1500) {
      int64_t w = cell_of((x - 1200) / 50.0 + 1.0);
      if (!reach(w, tr("its warning board"))) return;
      take(w, kWarningBoard, error::kWarningBoardCellTaken, speed, second);
    }
    int64_t s = position_cell(x);
    if (!reach(s, tr("its start"))) return;
    take(s, kSlowdownStart, error::kSlowdownStartCellTaken, speed, second);
    int64_t e = position_cell(x + length);
    if (!reach(e, trf("its end ({0})", metres(x + length)))) return;
    take(e, kSlowdownEnd, error::kSlowdownEndCellTaken, speed, second);
    if (!fits16(speed)) cannot(trf("{0} {1} does not fit -32768 to 32767", tr("speed"), speed));
    if (!fits16(d_v)) cannot(trf("{0} {1} does not fit -32768 to 32767", "d_v", d_v));
    if (!fits16(v(3))) cannot(trf("{0} {1} does not fit -32768 to 32767", "f_tt", v(3)));
    if (v(4) == 0 || x <= 1500) return;
    int64_t h = cell_of((x - 1200) / 50.0);
    for (int64_t i = 0; i < 4; ++i) take(h - i, kApproach, error::kApproachCellTaken, i + 1, d_v != 0 ? i + 1 : 0);
  }

  void marker() {
    int64_t c = cell_of(v(0) / 50.0);
    if (!reach(c, tr("its cell"))) return;
    bool low = v(1) < 1;
    take(c, low ? kLowMarker : kMarker, error::kMarkerCellTaken, low ? 0 : v(1));
    if (!low && !fits16(v(1))) cannot(trf("{0} {1} does not fit -32768 to 32767", tr("value"), v(1)));
  }

  void station() {
    int64_t tipo = v(1);
    // In 32-bit steps, as the reader computes it.
    int64_t in_minutes = v(13) * 60 + v(14);
    int64_t ora = in_minutes * 60 + v(15);
    for (int64_t step : {v(13) * 60, in_minutes, in_minutes * 60, ora})
      if (!fits(step, INT32_MIN, INT32_MAX))
        return cannot(trf("its time {0}:{1}:{2} in seconds does not fit 32 bits", v(13), v(14), v(15)));
    StationArea area = station_area(r_);
    int64_t fine = area.fine;
    if (!fits(fine, INT32_MIN, INT32_MAX) || !fits(area.inizio, INT32_MIN, INT32_MAX))
      return cannot(trf("its area, {0} to {1}, does not fit", metres(area.inizio), metres(fine)));
    if (tipo >= 25) return;
    if (tipo != 5 && tipo != 6) {
      for (int k = 1; k <= 4; ++k) {
        double at = fine / 50.0 - k - 1;
        if (at > 1.0 && !reach(cell_of(at), trf("its approach marks (its area ends at {0})", metres(fine)))) return;
      }
    }
    double stop = fine / 50.0 - 1.0;
    if (stop > 1.0 && reach(cell_of(stop), trf("its stop point (its area ends at {0})", metres(fine))))
      take(cell_of(stop), kStationStop, error::kNone, 1);
  }

  void speed() {
    int64_t stored = cell_of(v(1) / 5.0);
    if (fits(stored, 0, 255)) return;
    out_.deferred = true;
    cannot(trf("speed {0} km/h cannot be stored: the line speed is kept in steps of 5 km/h in one byte, 0 to 1277 km/h",
               v(1)));
  }

  void curve() {
    if (size_.plan_top < 0) return;
    int64_t end = v(0) + v(1);
    if (!fits(end, INT32_MIN, INT32_MAX)) return cannot(tr("its end, start + length, does not fit 32 bits"));
    if (end > size_.plan_top)
      cannot(trf("it ends at {0}, past the end of the plan ({1}, the line's length and 7000 m)", metres(end),
                 metres(size_.plan_top)));
  }

  // The compile adds the 100 once the general block is read, and stops there.
  void reference() {
    if (v(2) != 1 || v(1) + 100 <= INT32_MAX) return;
    out_.deferred = true;
    cannot(tr("fine + 100 does not fit"));
  }

  const LintRecord& r_;
  const TrackSize& size_;
  Placement out_;
};

}  // namespace

TrackSize track_size(std::optional<int64_t> length, bool plan) {
  TrackSize size;
  if (!length || *length < 0 || *length > kMaxLineLength) return size;
  size.length = *length;
  size.top = track_upper_bound_for(*length);
  if (plan) size.plan_top = *length + 7000;
  return size;
}

std::optional<int64_t> line_length(const DescriptionLint& line) {
  std::optional<int64_t> length;
  for (const LintRecord& r : line.records)
    if (r.format->section == Section::kLineGeneral && r.format->heading == "lunghezza percorso" && r.complete())
      length = r.number(0);
  return length;
}

Placement placement_of(const LintRecord& r, const TrackSize& size) {
  if (!r.complete() || size.top < 0) return {};
  return Placer(r, size).run();
}

bool beyond_track(const LintRecord& r, const TrackSize& size) {
  if (r.fields.empty() || !r.format->fields.front().chainage || r.format->section == Section::kLineGeneral)
    return false;
  if (size.top < 0) return false;
  int64_t margin = r.format->heading == "stazione" ? 800 : 100;
  return static_cast<double>(r.number(0) + margin) / 50.0 > static_cast<double>(size.top);
}

TrackReplay::TrackReplay(const DescriptionLint& line, const DescriptionLint& train, const TrackSize& size) {
  for (const DescriptionLint* lint : {&line, &train})
    for (const LintRecord& r : lint->records)
      if (r.complete()) records_.push_back({lint, &r, placement_of(r, size)});
}

const PlacedRecord* TrackReplay::find(const LintRecord* r) const {
  for (const PlacedRecord& p : records_)
    if (p.record == r) return &p;
  return nullptr;
}

const PlacedRecord* TrackReplay::occupant(int64_t cell, const LintRecord* upto, size_t write,
                                          const std::set<const LintRecord*>& aside) const {
  const PlacedRecord* holder = nullptr;
  for (const PlacedRecord& p : records_) {
    if (aside.count(p.record) != 0) continue;
    const std::vector<CellWrite>& writes = p.placement.writes;
    bool own = p.record == upto;
    size_t count = writes.size();
    if (own) count = write < writes.size() && writes[write].kind == kApproach ? write : 0;
    for (size_t i = 0; i < count; ++i)
      if (writes[i].cell == cell && writes[i].kind != kNone) holder = &p;
    if (own) return holder;
  }
  return holder;
}

std::vector<Diagnostic> cell_warnings(const TrackReplay& replay) {
  std::vector<Diagnostic> out;
  for (const PlacedRecord& p : replay.records()) {
    for (size_t i = 0; i < p.placement.writes.size(); ++i) {
      const CellWrite& w = p.placement.writes[i];
      if (w.cell == 1 && w.kind != kNone && w.param1 == 0 && w.param2 == 0)
        out.push_back(p.lint->at(p.record->offset, Severity::kWarning, warning::kReservedCell,
                                 trf("{0} lands in the first cell of the track, which the scenario's stamps "
                                     "overwrite; place it at {1} m or later",
                                     record_name(*p.lint, *p.record), first_free_position(*p.record))));
      if (w.kind != kStationStop) continue;
      const PlacedRecord* other = replay.occupant(w.cell, p.record, i, {});
      if (other == nullptr) continue;
      out.push_back(p.lint->at(p.record->offset, Severity::kWarning, warning::kOverwritten,
                               trf("{0}: its stop point replaces the {1}", record_name(*p.lint, *p.record),
                                   record_name(*other->lint, *other->record))));
      out.push_back(other->lint->at(other->record->offset, Severity::kNote, warning::kOverwritten,
                                    std::string(tr("the object replaced by the station's stop point"))));
    }
  }
  return out;
}

std::vector<Diagnostic> table_warnings(const TrackReplay& replay) {
  std::vector<Diagnostic> out;
  int64_t entry = kFirstSignSlot;
  for (const PlacedRecord& p : replay.records()) {
    if (p.record->format->heading != "cartello_indicatore" || !p.placement.unstorable.empty()) continue;
    int64_t here = entry--;
    if (here > 1) continue;
    std::string_view pattern = here == 1 ? N_("{0}: its text goes into table entry {1}, the first station's entry; "
                                              "at most {2} sign texts fit above the stations")
                                         : N_("{0}: its text goes into table entry {1}, which the table keeps empty; "
                                              "at most {2} sign texts fit above the stations");
    out.push_back(p.lint->at(p.record->offset, Severity::kWarning, warning::kTableFull,
                             trf(pattern, record_name(*p.lint, *p.record), here, kFirstSignSlot - 1)));
  }
  return out;
}

StationArea station_area(const LintRecord& r) {
  int64_t pos = r.number(0), tipo = r.number(1), length = r.number(2);
  if (tipo == 5 || tipo == 6) return {pos - length, pos + 150};
  if (tipo == 7 || tipo == 8) return {pos - length, pos + length};
  return {cell_of(pos - length / 2.0), cell_of(pos + length / 2.0 + (r.number(5) != 0 ? 50 : 0))};
}

int64_t first_free_position(const LintRecord& r) {
  bool no_offset = r.format->heading == "abbattimento";
  for (int64_t p = 0;; p += 50) {
    int64_t cell = no_offset ? cell_of(p / 50.0) : position_cell(p);
    if (cell > 1) return p;
  }
}

}  // namespace lorvena
