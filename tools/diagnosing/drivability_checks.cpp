// Warnings on what leaves a scenario undrivable or plainly unintended: cells
// before the first speed limit or adhesion hold 0, station times that run
// backwards, and a curve keyword with no side letter, read as right-hand.
#include "tools/diagnosing/drivability_checks.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string>

#include "compiler/model.h"
#include "tools/diagnosing/warning_texts.h"
#include "tools/text/messages.h"

namespace lorvena {
namespace {

const LintRecord* first_of(const DescriptionLint& lint, std::string_view heading) {
  for (const LintRecord& r : lint.records)
    if (r.complete() && r.format->heading == heading) return &r;
  return nullptr;
}

// Rows fill the cells before them with the value of the row before, which
// for the first row is 0: without a row at 0 the train starts at 0.
void starts_at_zero(const DescriptionLint& lint, std::string_view heading, std::string_view code,
                    std::string_view what, std::vector<Diagnostic>& out) {
  const LintRecord* first = first_of(lint, heading);
  if (first == nullptr) {
    out.push_back(lint.at(0, Severity::kWarning, code,
                          trf("no {0} record: every cell's {1} is 0; add '{0}, 0, VALUE' after [generale], with a row "
                              "wherever it changes",
                              heading, tr(what))));
    return;
  }
  int64_t at = first->number(0);
  int64_t cells = nearest(static_cast<double>(at) / 50.0);
  if (cells <= 0) return;
  out.push_back(lint.at(field_offset(lint, *first, 0), Severity::kWarning, code,
                        trf(cells == 1 ? N_("the first {0} record is at {1} m: the {2} cell before it have {3} 0; add "
                                            "'{0}, 0, VALUE' before the other {0} records")
                                       : N_("the first {0} record is at {1} m: the {2} cells before it have {3} 0; add "
                                            "'{0}, 0, VALUE' before the other {0} records"),
                            heading, at, cells, tr(what))));
}

bool has_side(const std::string& keyword) {
  size_t at = 0;
  std::string lower;
  for (char c : keyword) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  at = lower.find("curva");
  std::string rest = at == std::string::npos ? lower : lower.substr(at + 5);
  return rest.find('d') != std::string::npos || rest.find('s') != std::string::npos;
}

int64_t seconds_of(const LintRecord& r, size_t hours) {
  return (r.number(hours) * 60 + r.number(hours + 1)) * 60 + r.number(hours + 2);
}

std::string clock_text(const LintRecord& r, size_t hours) {
  auto two = [](int64_t v) { return (v < 10 ? "0" : "") + std::to_string(v); };
  return std::to_string(r.number(hours)) + ":" + two(r.number(hours + 1)) + ":" + two(r.number(hours + 2));
}

constexpr size_t kStationHours = 13;

bool time_set(const LintRecord& r, size_t hours) {
  int64_t h = r.number(hours), m = r.number(hours + 1), sec = r.number(hours + 2);
  bool in_range = h >= 0 && h <= 23 && m >= 0 && m <= 59 && sec >= 0 && sec <= 59;
  return in_range && h + m + sec != 0;  // 0:00:00 is a station with no time
}

// Stations are met in the order they are written; their times should follow.
// Times out of range are warned as such and left out here.
void station_times(const DescriptionLint& lint, std::vector<Diagnostic>& out) {
  const LintRecord* clock = first_of(lint, "orologio");
  if (clock != nullptr && !time_set(*clock, 0)) clock = nullptr;
  const LintRecord* before = nullptr;
  for (const LintRecord& r : lint.records) {
    if (!r.complete() || r.format->heading != "stazione" || !time_set(r, kStationHours)) continue;
    if (before == nullptr && clock != nullptr && seconds_of(*clock, 0) > seconds_of(r, kStationHours))
      out.push_back(lint.at(field_offset(lint, *clock, 0), Severity::kWarning, warning::kClockLate,
                            trf("the clock starts at {0}, after the first station's time ({1}); set orologio to {1} "
                                "or earlier",
                                clock_text(*clock, 0), clock_text(r, kStationHours))));
    if (before != nullptr && seconds_of(r, kStationHours) < seconds_of(*before, kStationHours))
      out.push_back(lint.at(field_offset(lint, r, kStationHours), Severity::kWarning, warning::kTimesBackwards,
                            trf("this station's time {0} is before the time of the station before it ({1})",
                                clock_text(r, kStationHours), clock_text(*before, kStationHours))));
    before = &r;
  }
}

// Where a station's area ends: types 5 and 6 150 m past posizione, 7 and 8
// `length` past it, the others half the length past it (50 m more with flag4).
int64_t area_end(const LintRecord& r) {
  int64_t at = r.number(0), type = r.number(1), length = r.number(2);
  if (type == 5 || type == 6) return at + 150;
  if (type == 7 || type == 8) return at + length;
  return at + length / 2 + (r.number(5) != 0 ? 50 : 0);
}

void station_areas(const DescriptionLint& lint, const TrackSize& size, std::vector<Diagnostic>& out) {
  if (size.top < 0) return;
  for (const LintRecord& r : lint.records) {
    if (!r.complete() || r.format->heading != "stazione" || r.number(0) > size.length) continue;
    int64_t end = area_end(r);
    if (end <= size.length) continue;
    std::string message =
        r.number(1) < 25 ? trf("the station's area ends at {0} m and its stop cell at {1} m, past the end of the line "
                               "({2} m); move the station back or shorten its platform",
                               end, nearest(static_cast<double>(end) / 50.0 - 1) * 50, size.length)
                         : trf("the station's area ends at {0} m, past the end of the line ({1} m); move the station "
                               "back or shorten its platform",
                               end, size.length);
    out.push_back(lint.at(r.offset, Severity::kWarning, warning::kStationPastEnd, message));
  }
}

// The three kilometre references: `tre`, `due`, `uno` in that order, each
// (inizio, fine, posizione), 0 where no record gives it.
struct References {
  std::array<std::array<int64_t, 3>, 3> values{};
  std::array<const LintRecord*, 3> records{};
};

References references(const DescriptionLint& lint) {
  References refs;
  const std::array<std::string_view, 3> words = {"tre", "due", "uno"};
  for (const LintRecord& r : lint.records) {
    if (!r.complete() || r.format->heading != "progressiva chilometrica") continue;
    for (size_t i = 0; i < 3; ++i) {
      if (r.format->keyword.find(words[i]) == std::string_view::npos) continue;
      for (size_t v = 0; v < 3; ++v) refs.values[i][v] = r.number(v);
      refs.records[i] = &r;
    }
  }
  return refs;
}

// Whether the ordering of the references keeps them, or zeroes all nine.
bool references_kept(const References& refs) {
  const auto& v = refs.values;
  if (v[0][0] + v[1][0] + v[2][0] != 0) {
    int64_t top = std::max({v[0][0], v[1][0], v[2][0]});
    return std::count_if(v.begin(), v.end(), [top](const auto& t) { return t[0] == top; }) == 1;
  }
  return v[0][1] >= 1 || v[1][1] > 0 || v[2][1] > 0;
}

void kilometre_references(const DescriptionLint& lint, std::vector<Diagnostic>& out) {
  References refs = references(lint);
  for (const LintRecord* r : refs.records) {
    if (r == nullptr || r->number(2) == 0 || r->number(2) == 1) continue;
    out.push_back(lint.at(field_offset(lint, *r, 2), Severity::kWarning, warning::kReferencePosition,
                          trf("{0}: posizione is {1}; only 1 has an effect (fine gets 100 more), and no other value "
                              "is defined: write 0 or 1",
                              r->keyword, r->number(2))));
  }
  if (references_kept(refs)) return;
  const LintRecord* first = nullptr;  // the first written with a value the ordering drops
  for (size_t i = 0; i < 3; ++i) {
    const LintRecord* r = refs.records[i];
    bool values = refs.values[i][0] != 0 || refs.values[i][1] != 0 || refs.values[i][2] != 0;
    if (r != nullptr && values && (first == nullptr || r->offset < first->offset)) first = r;
  }
  if (first == nullptr) return;
  out.push_back(lint.at(first->offset, Severity::kWarning, warning::kReferenceDropped,
                        trf("{0}: the ordering of the kilometre references sets all nine values to 0, because no "
                            "inizio is strictly the largest (or, with every inizio 0, no fine is above 0); give the "
                            "references different inizio values",
                            first->keyword)));
}

int64_t farthest_chainage(const DescriptionLint& lint) {
  int64_t far = 0;
  for (const LintRecord& r : lint.records)
    if (r.complete() && !r.fields.empty() && r.format->section != Section::kLineGeneral &&
        r.format->fields.front().chainage)
      far = std::max(far, r.number(0));
  return far;
}

// A length under 1000 m with records far beyond it is a length in km.
void length_in_km(const DescriptionLint& line, const DescriptionLint& train, std::vector<Diagnostic>& out) {
  const LintRecord* length = first_of(line, "lunghezza percorso");
  if (length == nullptr || length->number(0) <= 0 || length->number(0) >= 1000) return;
  int64_t far = std::max(farthest_chainage(line), farthest_chainage(train));
  if (far <= length->number(0) * 10) return;
  out.push_back(line.at(field_offset(line, *length, 0), Severity::kWarning, warning::kLengthInKm,
                        trf("lunghezza percorso is {0} m, but records reach {1} m: the length is in metres; write {2} "
                            "if the line is {0} km long",
                            length->number(0), far, length->number(0) * 1000)));
}

// The cells whose approach byte a station or a signal writes.
std::vector<int64_t> approach_cells(const LintRecord& r) {
  std::vector<int64_t> cells;
  if (r.format->heading == "segnale") {
    int64_t j = nearest(static_cast<double>(r.number(0)) / 50.0 + 1);
    for (int64_t b = 1; b <= 4; ++b) cells.push_back(j - 2 * b);
  }
  if (r.format->heading == "stazione" && r.number(1) < 25 && r.number(1) != 5 && r.number(1) != 6) {
    double fine = static_cast<double>(area_end(r)) / 50.0;
    for (int64_t k = 1; k <= 4; ++k)
      if (fine - static_cast<double>(k) - 1 > 1) cells.push_back(nearest(fine - static_cast<double>(k) - 1));
  }
  return cells;
}

// Approach marks are written whatever the cell holds: the later record's win.
void approach_overlaps(const DescriptionLint& lint, std::vector<Diagnostic>& out) {
  std::vector<std::pair<const LintRecord*, std::vector<int64_t>>> earlier;
  for (const LintRecord& r : lint.records) {
    if (!r.complete()) continue;
    std::vector<int64_t> cells = approach_cells(r);
    if (cells.empty()) continue;
    for (const auto& [other, taken] : earlier) {
      if (other->format->heading == r.format->heading) continue;
      auto shared = std::find_first_of(cells.begin(), cells.end(), taken.begin(), taken.end());
      if (shared == cells.end()) continue;
      out.push_back(lint.at(r.offset, Severity::kWarning, warning::kApproachOverwritten,
                            trf("{0} at {1} m writes its approach mark into cell {2}, overwriting the mark of the "
                                "{3} at {4} m; move one of them",
                                record_word(r), r.number(0), *shared, record_word(*other), other->number(0))));
      break;
    }
    earlier.emplace_back(&r, std::move(cells));
  }
}

}  // namespace

std::vector<Diagnostic> check_line_drivability(const DescriptionLint& line, const DescriptionLint& train) {
  std::vector<Diagnostic> out;
  length_in_km(line, train, out);
  kilometre_references(line, out);
  for (const LintRecord& r : line.records) {
    if (!r.complete() || r.format->heading != "curva" || has_side(r.keyword)) continue;
    out.push_back(line.at(r.offset, Severity::kWarning, warning::kCurveSide,
                          trf("{0} has no side letter: it is read as a right-hand curve; write curvad (right) or "
                              "curvas (left) before the class digit",
                              r.keyword)));
  }
  return out;
}

std::vector<Diagnostic> check_train_drivability(const DescriptionLint& train, const TrackSize& size) {
  std::vector<Diagnostic> out;
  if (!train.general_found) return out;  // nothing is read, as W-no-general says
  starts_at_zero(train, "velocita", warning::kNoStartSpeed, N_("speed limit"), out);
  starts_at_zero(train, "aderenza", warning::kNoStartAdhesion, N_("adhesion"), out);
  station_times(train, out);
  station_areas(train, size, out);
  approach_overlaps(train, out);
  return out;
}

}  // namespace lorvena
