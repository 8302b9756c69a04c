#include "tools/diagnosing/find_problems.h"

#include <algorithm>
#include <map>
#include <set>

#include "compiler/error_codes.h"
#include "compiler/placement.h"
#include "disk/file_names.h"
#include "disk/file_system.h"
#include "tools/compiled/cell_kinds.h"
#include "tools/diagnosing/description_lint.h"
#include "tools/diagnosing/cell_drivability.h"
#include "tools/diagnosing/drivability_checks.h"
#include "tools/diagnosing/error_texts.h"
#include "tools/diagnosing/record_cells.h"
#include "tools/diagnosing/record_checks.h"
#include "tools/diagnosing/timetable_checks.h"
#include "tools/diagnosing/warning_texts.h"
#include "tools/text/messages.h"

namespace lorvena {
namespace {

using Records = std::set<const LintRecord*>;

struct Finding {
  Diagnostic primary;
  std::vector<Diagnostic> notes;
};

std::string metres(int64_t m) { return trf("{0} m", m); }

// A text with `records` replaced by blanks, line ends kept.
std::string blanked(std::string text, const DescriptionLint& lint, const Records& records) {
  for (const LintRecord& r : lint.records) {
    if (records.count(&r) == 0) continue;
    for (int64_t i = r.offset; i < r.blank_end && i < static_cast<int64_t>(text.size()); ++i)
      if (text[static_cast<size_t>(i)] != '\r' && text[static_cast<size_t>(i)] != '\n') text[static_cast<size_t>(i)] = ' ';
  }
  return text;
}

bool is_walk_error(int32_t code) {
  return code == error::kNoCellBeforeSignal || code == error::kNoCellBeforeSlowdown ||
         code == error::kNoCellAlongSlowdown;
}

class Diagnoser {
 public:
  Diagnoser(const CompileRequest& request, const CompileResult& first)
      : request_(request),
        first_(first),
        line_name_(line_description_name(request.name)),
        train_name_(train_description_name(request.name, request.train)),
        line_(lint_line(first.line_text, path_of(line_name_), request.plan)),
        train_(lint_train(first.train_text, path_of(train_name_))),
        size_(track_size(line_length(line_), request.plan)),
        replay_(line_, train_, size_) {}

  Diagnosis run() {
    Diagnosis out;
    const CompileResult* round = &first_;
    CompileResult later;
    for (out.rounds = 1;; ++out.rounds) {
      size_t aside = aside_.size();
      bool go_on = take(*round);
      if (!go_on || aside_.size() == aside) break;
      if (out.rounds == kMaxCompileRounds) {
        bounded_ = true;
        break;
      }
      later = compile_texts(probe(), text_for(line_, first_.line_found), text_for(train_, first_.train_found));
      round = &later;
    }
    warnings();
    out.list = assemble();
    if (bounded_)
      out.list.push_back({Severity::kNote, "", "", 0, 0,
                          trf("stopped looking for further errors after {0} compiles", kMaxCompileRounds)});
    return out;
  }

 private:
  std::string path_of(const std::string& name) const { return join_path(request_.dir, name).string(); }

  // The further compiles only look: their compiled files are not kept.
  CompileRequest probe() const {
    CompileRequest r = request_;
    r.out.reset();
    return r;
  }

  std::optional<std::string> text_for(const DescriptionLint& lint, bool found) const {
    if (!found) return std::nullopt;
    return blanked(std::string(lint.text), lint, aside_);
  }

  // ---- one compile's errors ----

  // False when an error that stopped the reading is tied to no record.
  bool take(const CompileResult& round) {
    before_ = aside_;
    bool go_on = true;
    bool stop_seen = false;
    for (const RecordedError& e : round.recorded) {
      if (is_walk_error(e.code)) walk_error(e, round);
      else if (e.code == error::kBeyondLine) beyond(e);
      else if (e.code == error::kReferenceOffStep) references();
      else if (!stop_seen) go_on = stopped(e.code, round), stop_seen = true;
    }
    if (!round.fatal.empty()) fatal(std::stoi(round.fatal));
    return go_on;
  }

  // The description a compile stopped in, as the compile names its copy.
  const DescriptionLint& stopped_in(const Scenario& m) const {
    return m.stop_file == line_description_name(m.scenario_name) ? line_ : train_;
  }

  Diagnostic at(const DescriptionLint& lint, const LintRecord& r, Severity severity, int32_t code,
                std::string message) const {
    return lint.at(r.offset, severity, error_code_name(code), std::move(message));
  }

  // An error about one field, placed at that field.
  void field_error(const DescriptionLint& lint, const LintRecord& r, size_t field, int32_t code, std::string message) {
    add(lint.at(field_offset(lint, r, field), Severity::kError, error_code_name(code), std::move(message)));
  }

  void add(Diagnostic d, std::vector<Diagnostic> notes = {}) {
    std::string key = d.code + "|" + d.file + "|" + std::to_string(d.line) + "|" + std::to_string(d.column);
    if (!seen_.insert(key).second) return;
    findings_.push_back({std::move(d), std::move(notes)});
  }

  void error_at(const DescriptionLint& lint, const LintRecord& r, int32_t code, std::string message,
                std::vector<Diagnostic> notes = {}) {
    add(at(lint, r, Severity::kError, code, std::move(message)), std::move(notes));
  }

  void file_error(const std::string& file, int32_t code, std::string message) {
    add({Severity::kError, error_code_name(code), file, 0, 0, std::move(message)});
  }

  Diagnostic note_at(const DescriptionLint& lint, const LintRecord& r, int32_t code, std::string message) const {
    return at(lint, r, Severity::kNote, code, std::move(message));
  }

  // The error that stopped the reading, at the record where it stopped.
  bool stopped(int32_t code, const CompileResult& round) {
    const Scenario& m = round.model;
    switch (code) {
      case error::kLineMissing:
        file_error(path_of(line_name_), code, trf("the line description is missing: looked for {0}", path_of(line_name_)));
        return false;
      case error::kNoGeneralHeader:
        no_general_header();
        return false;
      case error::kUnreadable:
        return unreadable(round);
      default:
        break;
    }
    const DescriptionLint& lint = stopped_in(m);
    const LintRecord* r = record_at(lint, m.stop_offset);
    if (r == nullptr) {
      file_error(lint.file, code, std::string(error_text(code).meaning));
      return false;
    }
    if (code == error::kLineLength) {
      field_error(lint, *r, 0, code, trf("lunghezza percorso: {0} is outside 0 to 1000000 m", metres(r->number(0))));
      return false;
    }
    if (code == error::kCurveOrPlan && !curve_class(lint, *r)) return false;
    record_error(code, lint, *r, round);
    aside_.insert(r);
    return true;
  }

  // The one record the compile cannot do without. Written above [generale],
  // it is named there, and the warning on the records above says no more.
  void no_line_length() {
    std::string message(tr("the line description's general block has no 'lunghezza percorso' record: nothing can be "
                           "placed; add 'lunghezza percorso, LENGTH' (in metres) after [generale]"));
    const std::optional<RecordAbove>& above = line_.first_above_general;
    if (!above || above->keyword != "lunghezza percorso")
      return file_error(line_.file, error::kUnreadable, message);
    add(line_.at(above->offset, Severity::kError, error_code_name(error::kUnreadable),
                 std::string(tr("lunghezza percorso stands above [generale], before which nothing is read, so the line "
                                "has no length and nothing can be placed; move [generale] up to the line before it"))));
  }

  // Placed at the first record, where the header is missing, when there is one.
  void no_general_header() {
    std::string message(tr("no [generale] header in the line description: nothing in it is read"));
    if (!line_.first_above_general) return file_error(line_.file, error::kNoGeneralHeader, message);
    const RecordAbove& first = *line_.first_above_general;
    add(line_.at(first.offset, Severity::kError, error_code_name(error::kNoGeneralHeader),
                 message + trf("; add [generale] on the line before this {0} record", first.keyword)));
  }

  bool curve_class(const DescriptionLint& lint, const LintRecord& r) {
    bool has_class = std::any_of(r.keyword.begin(), r.keyword.end(), [](char c) { return c >= '1' && c <= '6'; });
    if (has_class) {
      error_at(lint, r, error::kCurveOrPlan, trf("{0}: the plan would pass 1000000 m", record_label(r)));
      return false;
    }
    error_at(lint, r, error::kCurveOrPlan,
             trf("curva: {0} names no radius class; write a digit 1 to 6 in the keyword, e.g. curvad4", in_quotes(r.keyword)));
    aside_.insert(&r);
    return true;
  }

  void record_error(int32_t code, const DescriptionLint& lint, const LintRecord& r, const CompileResult& round) {
    switch (code) {
      case error::kCabStartOffStep:
        return field_error(lint, r, 0, code, trf("{0}: inizio {1} is not a multiple of 50 m", record_word(r), metres(r.number(0))));
      case error::kCabEndOffStep:
        return field_error(lint, r, 1, code, trf("{0}: fine {1} is not a multiple of 50 m", record_word(r), metres(r.number(1))));
      case error::kCabCodeCount:
        return error_at(lint, r, code, trf("{0} names neither 4 nor 9 codes: write \"4\" or \"9\" in it, as in "
                                           "'ripetizione segnali 4 codici'", in_quotes(r.keyword)));
      case error::kStationOffStep:
        return field_error(lint, r, 0, code, trf("stazione at {0}: the position is not a multiple of 50 m", metres(r.number(0))));
      case error::kPlatformOffStep:
        return field_error(lint, r, 2, code, trf("stazione at {0}: the platform length {1} is not a multiple of 100 m",
                                                 metres(r.number(0)), metres(r.fields.size() > 2 ? r.number(2) : 0)));
      case error::kTooManyStations: return too_many_stations(lint, r, round);
      case error::kStationsTooClose: return stations_too_close(lint, r);
      case error::kStationEndTooEarly:
        return error_at(lint, r, code, trf("{0}: its area ends at {1}, so its stop point would lie within the first "
                                           "100 m of the line", record_label(r), metres(station_area(r).fine)));
      case error::kSignCellTaken:
      case error::kMarkerCellTaken:
      case error::kSignalCellTaken:
      case error::kWarningBoardCellTaken:
      case error::kSlowdownStartCellTaken:
      case error::kSlowdownEndCellTaken:
      case error::kApproachCellTaken:
      case error::kIndicatorCellTaken:
        return conflict(code, lint, r);
      default:
        return error_at(lint, r, code, record_label(r) + ": " + std::string(error_text(code).meaning));
    }
  }

  static std::string taken_part(int32_t code, const LintRecord& r) {
    switch (code) {
      case error::kWarningBoardCellTaken: return std::string(tr("the cell of its warning board, 1200 m before it,"));
      case error::kSlowdownStartCellTaken: return std::string(tr("the cell of its start"));
      case error::kSlowdownEndCellTaken: return trf("the cell of its end ({0})", metres(r.number(0) + r.number(2)));
      case error::kApproachCellTaken: return std::string(tr("one of its four approach cells, 1200 to 1350 m before it,"));
      default: return std::string(tr("its cell"));
    }
  }

  // A record whose cell another one holds: both are named.
  void conflict(int32_t code, const DescriptionLint& lint, const LintRecord& r) {
    std::string message = trf("{0}: {1} is already taken", record_label(r), taken_part(code, r));
    const PlacedRecord* placed = replay_.find(&r);
    const PlacedRecord* holder = nullptr;
    int64_t taken_cell = -1;
    for (size_t i = 0; placed != nullptr && holder == nullptr && i < placed->placement.writes.size(); ++i) {
      const CellWrite& w = placed->placement.writes[i];
      if (w.taken_error == code) holder = replay_.occupant(w.cell, &r, i, before_), taken_cell = w.cell;
    }
    if (holder == nullptr) return error_at(lint, r, code, message);
    if (holder->record == &r) return error_at(lint, r, code, message + std::string(tr(" by its own warning board")));
    std::string part = holder_part(*holder, taken_cell);
    std::string holder_name = record_name(*holder->lint, *holder->record);
    message += part.empty() ? trf(" by the {0}", holder_name) : trf(" by the {0} of the {1}", part, holder_name);
    std::string note = part.empty() ? trf("the {0} already in that cell", record_label(*holder->record))
                                    : trf("the {0}, whose {1} takes that cell", record_label(*holder->record), part);
    error_at(lint, r, code, message, {note_at(*holder->lint, *holder->record, code, note)});
  }

  // "warning board at 6200 m": the part of a slowdown that holds `cell`,
  // when it is not the slowdown's start.
  static std::string holder_part(const PlacedRecord& holder, int64_t cell) {
    for (const CellWrite& w : holder.placement.writes) {
      if (w.cell != cell) continue;
      std::string at = metres(50 * (cell - 1));
      if (w.kind == cell_kind::kWarningBoard) return trf("warning board at {0}", at);
      if (w.kind == cell_kind::kApproach) return trf("approach cell at {0}", at);
      if (w.kind == cell_kind::kSlowdownEnd) return trf("end at {0}", at);
      return "";
    }
    return "";
  }

  void too_many_stations(const DescriptionLint& lint, const LintRecord& r, const CompileResult& round) {
    int32_t signs = kFirstSignSlot - round.model.next_sign_slot;
    error_at(lint, r, error::kTooManyStations,
             trf("{0} is one station too many: with the {1} sign boards of the line at most {2} stations fit "
                 "(stations and sign boards together at most 78)", record_label(r), signs, 78 - signs));
  }

  const LintRecord* station_before(const LintRecord& r) const {
    const LintRecord* before = nullptr;
    for (const LintRecord& x : train_.records) {
      if (&x == &r) break;
      if (x.complete() && x.format->heading == "stazione" && before_.count(&x) == 0 && !beyond_track(x, size_))
        before = &x;
    }
    return before;
  }

  void stations_too_close(const DescriptionLint& lint, const LintRecord& r) {
    const LintRecord* before = station_before(r);
    StationArea here = station_area(r);
    if (before == nullptr)
      return error_at(lint, r, error::kStationsTooClose,
                      record_label(r) + ": " + std::string(error_text(error::kStationsTooClose).meaning));
    StationArea there = station_area(*before);
    int64_t gap = here.inizio - there.fine;
    std::string message =
        gap < 0 ? trf("{0}: its area starts at {1}, before the end of the {2}, which ends at {3}; stations must come "
                      "in increasing chainage, 350 m apart",
                      record_label(r), metres(here.inizio), record_name(lint, *before), metres(there.fine))
                : trf("{0}: its area starts at {1}, only {4} after the end of the {2}, which ends at {3}; stations "
                      "need 350 m between them",
                      record_label(r), metres(here.inizio), record_name(lint, *before), metres(there.fine), metres(gap));
    error_at(lint, r, error::kStationsTooClose, message,
             {note_at(lint, *before, error::kStationsTooClose,
                      trf("the {0}, whose area ends at {1}", record_label(*before), metres(there.fine)))});
  }

  // Error 25: the field that cannot be read, or the value that cannot be stored.
  bool unreadable(const CompileResult& round) {
    const Scenario& m = round.model;
    const DescriptionLint& lint = stopped_in(m);
    bool found = &lint == &line_ ? round.line_found : round.train_found;
    if (!found) {
      file_error(lint.file, error::kUnreadable, trf("the train description is missing: looked for {0}", lint.file));
      return false;
    }
    const LintRecord* r = record_at(lint, m.stop_offset);
    if (r != nullptr && r->problem && r->problem->stop == m.stop_offset) {
      std::string label = record_word(*r);
      if (!r->fields.empty() && r->format->fields.front().chainage && !r->problem->shifted)
        label += trf(" at {0}", metres(r->number(0)));
      field_error(lint, *r, r->problem->field, error::kUnreadable,
                  label + (r->problem->shifted ? ": " : ", ") + r->problem->reason);
      aside_.insert(r);
      return true;
    }
    const PlacedRecord* placed = r != nullptr ? replay_.find(r) : nullptr;
    if (placed != nullptr && !placed->placement.unstorable.empty() && !placed->placement.deferred) {
      error_at(lint, *r, error::kUnreadable, record_label(*r) + ": " + placed->placement.unstorable);
      aside_.insert(r);
      return true;
    }
    if (const PlacedRecord* late = deferred_before(lint, m.stop_offset)) {
      error_at(lint, *late->record, error::kUnreadable, record_label(*late->record) + ": " + late->placement.unstorable);
      aside_.insert(late->record);
      return true;
    }
    if (m.stop_cause == StopCause::kNoLineLength) {
      no_line_length();
      return false;
    }
    std::string reason = m.stop_reason.empty() ? "" : " (" + std::string(tr(m.stop_reason)) + ")";
    if (r == nullptr) {
      file_error(lint.file, error::kUnreadable, std::string(tr("the description cannot be read")) + reason);
      return false;
    }
    error_at(lint, *r, error::kUnreadable, trf("{0}: cannot be stored", record_label(*r)) + reason);
    aside_.insert(r);
    return true;
  }

  const PlacedRecord* deferred_before(const DescriptionLint& lint, int64_t stop) const {
    const PlacedRecord* found = nullptr;
    for (const PlacedRecord& p : replay_.records())
      if (p.lint == &lint && p.record->end <= stop && p.placement.deferred && aside_.count(p.record) == 0) {
        found = &p;
        break;
      }
    return found;
  }

  void beyond(const RecordedError& e) {
    for (const DescriptionLint* lint : {&line_, &train_}) {
      for (const LintRecord& r : lint->records) {
        if (!r.complete() || before_.count(&r) != 0 || !beyond_track(r, size_) || r.number(0) != e.pos) continue;
        int64_t margin = r.format->heading == "stazione" ? 800 : 100;
        error_at(*lint, r, error::kBeyondLine,
                 trf("{0} lies beyond the end of the track: the line is {1} long and {2} may stand up to {3}; the "
                     "rest of the description is not read",
                     record_label(r), metres(size_.length), with_article(r.format->heading),
                     metres(50 * size_.top - margin)));
        aside_.insert(&r);
        return;
      }
    }
    file_error("", error::kBeyondLine, std::string(error_text(error::kBeyondLine).meaning) + trf(" at {0}", metres(e.pos)));
  }

  void references() {
    for (const LintRecord& r : line_.records) {
      if (!r.complete() || r.format->heading != "progressiva chilometrica") continue;
      for (size_t i = 0; i < 2; ++i)
        if (r.number(i) % 50 != 0)
          field_error(line_, r, i, error::kReferenceOffStep,
                   trf("{0}: {1} {2} is not on the 50 m step", record_word(r), r.format->fields[i].name,
                       metres(r.number(i))));
    }
  }

  // ---- the placement walk ----

  const PlacedRecord* placed_at(std::string_view keyword, int64_t cell, size_t write) const {
    for (const PlacedRecord& p : replay_.records())
      if (p.record->format->heading == keyword && before_.count(p.record) == 0 &&
          p.placement.writes.size() > write && p.placement.writes[write].cell == cell)
        return &p;
    return nullptr;
  }

  // What the cells hold after the walk: the records there, or the walk's own markers.
  std::string holds(const Scenario& m, const std::vector<int64_t>& cells) const {
    std::string out;
    for (int64_t c : cells) {
      if (c < 0 || c > m.track_upper_bound()) continue;
      const TrackCell& cell = m.track[static_cast<size_t>(c)];
      std::string what = kind_words(cell.kind);
      if (const PlacedRecord* p = replay_.occupant(c, nullptr, 0, before_)) what = record_name(*p->lint, *p->record);
      else if (cell.kind == cell_kind::kMarker) what = tr("a marker the compile placed");
      out += (out.empty() ? "" : "; ") + what;
    }
    return out;
  }

  // The groups of three cells before a slowdown start at `cell` of which none
  // got the walk's marker.
  std::vector<int64_t> failed_groups(const Scenario& m, int64_t cell) const {
    std::vector<int64_t> cells;
    for (int64_t first : {5, 11, 18}) {
      if (cell <= first + 2) continue;
      bool marked = false;
      for (int64_t k = first; k <= first + 2; ++k) {
        const TrackCell& c = m.track[static_cast<size_t>(cell - k)];
        marked = marked || (c.kind == cell_kind::kMarker && c.param1 == kMarkerValue);
      }
      if (!marked)
        for (int64_t k = first; k <= first + 2; ++k) cells.push_back(cell - k);
    }
    return cells;
  }

  // The index of a slowdown's start among its cells: after its warning board, if it has one.
  static size_t start_write(const PlacedRecord& slowdown) {
    return slowdown.placement.writes.size() > 1 && slowdown.placement.writes[0].kind == cell_kind::kWarningBoard ? 1 : 0;
  }

  void walk_error(const RecordedError& e, const CompileResult& round) {
    int64_t cell = e.pos / 50;
    const Scenario& m = round.model;
    if (e.code == error::kNoCellBeforeSignal) return signal_marker(e.code, cell, m);
    const PlacedRecord* slowdown = nullptr;
    for (const PlacedRecord& p : replay_.records()) {
      if (p.record->format->heading != "rallentamento" || before_.count(p.record) != 0) continue;
      size_t s = start_write(p);
      if (p.placement.writes.size() < s + 2) continue;
      int64_t start = p.placement.writes[s].cell, end = p.placement.writes[s + 1].cell;
      bool here = e.code == error::kNoCellBeforeSlowdown ? start == cell : start < cell && cell <= end;
      if (here) slowdown = &p;
      if (here) break;
    }
    if (slowdown == nullptr)
      return file_error("", e.code, std::string(error_text(e.code).meaning) + trf(" at {0}", metres(e.pos)));
    const LintRecord& r = *slowdown->record;
    if (e.code == error::kNoCellBeforeSlowdown)
      return error_at(*slowdown->lint, r, e.code,
                      trf("{0}: no free cell for a marker before its start, which go 250 to 350, 550 to 650 and 900 "
                          "to 1000 m before it; the cells there hold: {1}",
                          record_label(r), holds(m, failed_groups(m, cell))));
    error_at(*slowdown->lint, r, e.code,
             trf("{0}: no free cell for the marker placed every 400 m along a slowdown below 110 km/h, or just "
                 "before the first signal after its end; the cells there hold: {1}",
                 record_label(r), holds(m, {cell - 1, cell, cell + 1})));
  }

  void signal_marker(int32_t code, int64_t cell, const Scenario& m) {
    const PlacedRecord* signal = placed_at("segnale", cell, 0);
    if (signal == nullptr)
      return file_error("", code, std::string(error_text(code).meaning) + trf(" at {0}", metres(50 * cell)));
    std::vector<Diagnostic> notes;
    for (const PlacedRecord& p : replay_.records()) {
      if (p.record->format->heading != "rallentamento" || before_.count(p.record) != 0 || start_write(p) == 0) continue;
      int64_t board = p.placement.writes[0].cell;
      if (board <= cell || board > cell + 20) continue;
      notes.push_back(note_at(*p.lint, *p.record, code,
                              trf("the {0}, whose warning board stands {1} after the signal", record_label(*p.record),
                                  metres(50 * (board - cell)))));
      break;
    }
    error_at(*signal->lint, *signal->record, code,
             trf("{0}: no free cell for the marker just before it, which a slowdown warning board within 1000 m "
                 "after it needs; the two cells before it hold: {1}",
                 record_label(*signal->record), holds(m, {cell - 1, cell - 2})),
             notes);
  }

  // ---- fatal errors ----

  void fatal(int32_t code) {
    const PlacedRecord* holder = nullptr;
    for (const PlacedRecord& p : replay_.records()) {
      if (before_.count(p.record) != 0) continue;
      for (const CellWrite& w : p.placement.writes)
        if (w.cell == 1 && w.kind != cell_kind::kNone) holder = &p;
    }
    if (holder == nullptr)
      return file_error("", code, std::string(error_text(code).meaning) + std::string(tr("; no compiled file is written")));
    const LintRecord& r = *holder->record;
    error_at(*holder->lint, r, code,
             trf("{0} is placed in the first cell of the track, which the scenario reserves for its stamps; place it "
                 "at {1} or later. No compiled file is written",
                 record_label(r), metres(first_free_position(r))));
  }

  // ---- warnings and the list ----

  void warnings() {
    std::vector<Diagnostic> all;
    for (const DescriptionLint* lint : {&line_, &train_}) {
      if (lint == &line_ ? !first_.line_found : !first_.train_found) continue;
      all.insert(all.end(), lint->warnings.begin(), lint->warnings.end());
      std::vector<Diagnostic> checked = check_values(*lint, size_);
      all.insert(all.end(), checked.begin(), checked.end());
      std::vector<Diagnostic> drivable = lint == &line_ ? check_line_drivability(*lint, train_) : check_train_drivability(*lint, size_);
      all.insert(all.end(), drivable.begin(), drivable.end());
      std::vector<Diagnostic> names = check_names(*lint);
      all.insert(all.end(), names.begin(), names.end());
    }
    std::vector<Diagnostic> cells = cell_warnings(replay_);
    all.insert(all.end(), cells.begin(), cells.end());
    std::vector<Diagnostic> table = table_warnings(replay_);
    all.insert(all.end(), table.begin(), table.end());
    std::vector<Diagnostic> driven = driving_checks();
    all.insert(all.end(), driven.begin(), driven.end());
    for (Diagnostic& d : all) {
      bool said = d.code == warning::kPastEnd || d.code == warning::kRange || d.code == warning::kWrongSection;
      if (said && error_at_place(d)) continue;  // the error on the record's line says more
      if (d.severity == Severity::kNote && !warning_findings_.empty()) {
        warning_findings_.back().notes.push_back(std::move(d));
        continue;
      }
      warning_findings_.push_back({std::move(d), {}});
    }
  }

  // The compiled line cell by cell and the fastest run along it: only for a
  // compile that read everything, as a partly read track is 0 past the error.
  std::vector<Diagnostic> driving_checks() const {
    if (!first_.recorded.empty() || !first_.fatal.empty() || !first_.line_found || !first_.train_found) return {};
    std::vector<Diagnostic> out = check_cells(first_.model, line_, train_);
    if (count_of(out, Severity::kError) > 0) return out;  // where no train passes, the run says no more
    std::vector<Diagnostic> braking = check_slowdown_braking(first_.model, train_);
    out.insert(out.end(), braking.begin(), braking.end());
    std::vector<Diagnostic> times = check_timetable(first_.model, fastest_run(first_.model), train_);
    out.insert(out.end(), times.begin(), times.end());
    return out;
  }

  bool error_at_place(const Diagnostic& d) const {
    return std::any_of(findings_.begin(), findings_.end(), [&d](const Finding& f) {
      return f.primary.file == d.file && f.primary.line == d.line;
    });
  }

  // A line length written in km puts every later record past the end: the
  // one warning at the length names the cause, and of the errors only each
  // description's first (where its reading stops) stays listed.
  static void drop_length_cascade(std::vector<Finding>& all) {
    auto is_km = [](const Finding& f) { return f.primary.code == warning::kLengthInKm; };
    if (std::none_of(all.begin(), all.end(), is_km)) return;
    std::map<std::string, int64_t> first_error;  // file -> line of its first E15
    for (const Finding& f : all) {
      if (f.primary.code != "E15") continue;
      auto [it, added] = first_error.emplace(f.primary.file, f.primary.line);
      if (!added) it->second = std::min(it->second, f.primary.line);
    }
    size_t before = all.size();
    std::erase_if(all, [&first_error](const Finding& f) {
      if (f.primary.code == warning::kPastEnd) return true;
      return f.primary.code == "E15" && first_error[f.primary.file] != f.primary.line;
    });
    Finding& km = *std::find_if(all.begin(), all.end(), is_km);
    size_t left_out = before - all.size();
    km.primary.message += trf(left_out == 1 ? N_("; {0} more warning or error on a record past the end is left out")
                                            : N_("; {0} more warnings and errors on the records past the end are left out"),
                              left_out);
  }

  int file_rank(const std::string& file) const {
    if (file == line_.file) return 1;
    if (file == train_.file) return 2;
    return 0;
  }

  std::vector<Diagnostic> assemble() {
    std::vector<Finding> all = findings_;
    all.insert(all.end(), warning_findings_.begin(), warning_findings_.end());
    drop_length_cascade(all);
    std::stable_sort(all.begin(), all.end(), [this](const Finding& a, const Finding& b) {
      const Diagnostic& x = a.primary;
      const Diagnostic& y = b.primary;
      return std::make_tuple(file_rank(x.file), x.line, x.column, x.severity) <
             std::make_tuple(file_rank(y.file), y.line, y.column, y.severity);
    });
    std::vector<Diagnostic> out;
    for (Finding& f : all) {
      out.push_back(std::move(f.primary));
      for (Diagnostic& n : f.notes) out.push_back(std::move(n));
    }
    return out;
  }

  const CompileRequest& request_;
  const CompileResult& first_;
  std::string line_name_, train_name_;
  DescriptionLint line_, train_;
  TrackSize size_;
  TrackReplay replay_;
  Records aside_;   // records set aside so far
  Records before_;  // those set aside before the compile being looked at
  std::set<std::string> seen_;
  std::vector<Finding> findings_;
  std::vector<Finding> warning_findings_;
  bool bounded_ = false;
};

}  // namespace

Diagnosis diagnose(const CompileRequest& request, const CompileResult& first) {
  return Diagnoser(request, first).run();
}

}  // namespace lorvena
