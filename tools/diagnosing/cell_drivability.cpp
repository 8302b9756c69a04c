#include "tools/diagnosing/cell_drivability.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>

#include "tools/diagnosing/record_cells.h"
#include "tools/diagnosing/warning_texts.h"
#include "tools/text/messages.h"

namespace lorvena {
namespace {

std::string metres(int64_t m) { return trf("{0} m", m); }

std::string permille(double value) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.0f", std::floor(value));
  return std::string(buf) + " \u2030";
}

struct Run {
  int64_t first = 0;  // cells
  int64_t last = 0;
};

class CellChecker {
 public:
  CellChecker(const Scenario& m, const DescriptionLint& line, const DescriptionLint& train, const TrainModel& model)
      : m_(m), line_(line), train_(train), model_(model), data_(train_data(m)) {
    int64_t length = m.table[kLineEntry].fine;
    last_cell_ = std::min<int64_t>((length + 49) / 50 - 1, m.track_upper_bound());
  }

  std::vector<Diagnostic> run() {
    if (last_cell_ < 0) return {};
    zero_runs("velocita", [](const TrackCell& c) { return c.speed_limit == 0; }, warning::kNoSpeed,
              [](const TrackCell&) { return std::string(tr("the speed limit is 0 km/h")); },
              tr("give the stretch a speed above 0"));
    zero_runs("aderenza", [](const TrackCell& c) { return c.adhesion == 0; }, warning::kNoAdhesion,
              [](const TrackCell&) { return std::string(tr("the adhesion is 0")); },
              tr("with no grip the train can neither pull nor brake there; give the stretch an adhesion above 0"));
    slowdowns();
    gradients();
    station_stops();
    return std::move(out_);
  }

 private:
  const TrackCell& cell(int64_t c) const { return m_.track[static_cast<size_t>(c)]; }

  // The record of `heading` whose value a cell holds: the last one starting at or before it.
  const LintRecord* governing(const DescriptionLint& lint, std::string_view heading, int64_t c) const {
    const LintRecord* found = nullptr;
    for (const LintRecord& r : lint.records)
      if (r.complete() && r.format->heading == heading && nearest(static_cast<double>(r.number(0)) / 50.0) <= c)
        found = &r;
    return found;
  }

  std::vector<Run> runs(const std::function<bool(const TrackCell&)>& test, int64_t from, int64_t to) const {
    std::vector<Run> out;
    for (int64_t c = from; c <= to; ++c) {
      if (!test(cell(c))) continue;
      if (!out.empty() && out.back().last == c - 1) out.back().last = c;
      else out.push_back({c, c});
    }
    return out;
  }

  std::string stretch(const Run& r) const {
    if (r.last >= last_cell_)
      return trf("from {0} to the end of the line ({1})", metres(50 * r.first), metres(m_.table[kLineEntry].fine));
    return trf("from {0} to {1}", metres(50 * r.first), metres(50 * (r.last + 1)));
  }

  // Cells before the first record of their kind are told by W-no-start-speed
  // and W-no-start-adhesion; here, the stretches a record leaves at 0.
  void zero_runs(std::string_view heading, const std::function<bool(const TrackCell&)>& test, std::string_view code,
                 const std::function<std::string(const TrackCell&)>& what, std::string_view advice) {
    for (const Run& r : runs(test, 0, last_cell_)) {
      const LintRecord* record = governing(train_, heading, r.first);
      if (record == nullptr) continue;
      std::string stored = record->number(1) != 0 ? trf(" ({0} is stored as 0)", record->number(1)) : "";
      out_.push_back(train_.at(field_offset(train_, *record, 1), Severity::kError, code,
                               trf("{0}: {1}{2} {3}, and the train must pass there: {4}", record_label(*record),
                                   what(cell(r.first)), stored, stretch(r), advice)));
    }
  }

  int64_t line_speed(int64_t c) const { return cell(std::clamp<int64_t>(c, 0, m_.track_upper_bound())).speed_limit * 5; }

  void slowdowns() {
    for (const LintRecord& r : train_.records) {
      if (!r.complete() || r.format->heading != "rallentamento") continue;
      int64_t v = r.number(1);
      if (v <= 0) {
        out_.push_back(train_.at(field_offset(train_, r, 1), Severity::kError, warning::kSlowdownStop,
                                 trf("{0}: its speed is {1} km/h: the train must stand at its start and can never "
                                     "pass it; give the slowdown a speed above 0",
                                     record_label(r), v)));
        continue;
      }
      int64_t first = nearest(static_cast<double>(r.number(0)) / 50.0);
      int64_t last = std::max(first, nearest(static_cast<double>(r.number(0) + r.number(2)) / 50.0) - 1);
      int64_t lowest = -1, where = first;
      for (int64_t c = std::max<int64_t>(first, 0); c <= std::min(last, m_.track_upper_bound()); ++c)
        if (lowest < 0 || line_speed(c) < lowest) lowest = line_speed(c), where = c;
      if (lowest < 0 || v <= lowest) continue;
      out_.push_back(train_.at(field_offset(train_, r, 1), Severity::kWarning, warning::kSlowdownSpeed,
                               trf("{0}: its speed {1} km/h is above the line's speed limit there ({2} km/h at {3}), "
                                   "so it slows nothing there; give it a speed below the line's",
                                   record_label(r), v, lowest, metres(50 * where))));
    }
  }

  // The steepest gradient a train can start on, and be held on by its
  // brakes, at each cell's adhesion: one warning a gradient record, at its
  // first cell past either bound.
  void gradients() {
    std::vector<const LintRecord*> rows;
    for (const LintRecord& r : line_.records)
      if (r.complete() && r.format->heading == "pendenza") rows.push_back(&r);
    for (size_t k = 0; k < rows.size(); ++k) {
      int64_t first = std::max<int64_t>(0, nearest(static_cast<double>(rows[k]->number(0)) / 50.0));
      int64_t last = k + 1 < rows.size() ? nearest(static_cast<double>(rows[k + 1]->number(0)) / 50.0) - 1 : last_cell_;
      for (int64_t c = first; c <= std::min(last, last_cell_); ++c)
        if (steep(*rows[k], c)) break;
    }
  }

  bool steep(const LintRecord& r, int64_t c) {
    const TrackCell& here = cell(c);
    if (here.adhesion == 0) return false;  // E-no-adhesion says more
    double gradient = static_cast<double>(here.gradient) - 100;
    double climb = steepest_climb(model_, data_, here.adhesion);
    double descent = steepest_descent(model_, data_, here.adhesion);
    if (gradient <= climb && -gradient <= descent) return false;
    std::string why =
        gradient > 0 ? trf("{0} is steeper than the train can start on there: at most {1} with adhesion {2} %",
                           permille(gradient), permille(climb), here.adhesion)
                     : trf("{0} down is steeper than the train's brakes hold it on: at most {1} with braked mass {2} % "
                           "and adhesion {3} %",
                           permille(-gradient), permille(descent), static_cast<int64_t>(data_.braked_percent),
                           here.adhesion);
    out_.push_back(line_.at(field_offset(line_, r, 1), Severity::kWarning, warning::kGradient,
                            trf("{0}: {1} (at {2}; the bounds of the running-time model, see `explain W-gradient`)",
                                record_label(r), why, metres(50 * c))));
    return true;
  }

  void station_stops() {
    for (const LintRecord& r : train_.records) {
      if (!r.complete() || r.format->heading != "stazione") continue;
      bool has_stop = r.number(1) < 25;
      int64_t at = has_stop ? 50 * nearest(static_cast<double>(station_area(r).fine) / 50.0 - 1) : r.number(0);
      int64_t c = at / 50;
      if (c < 0 || c > m_.track_upper_bound() || cell(c).speed_limit != 0) continue;
      out_.push_back(train_.at(r.offset, Severity::kError, warning::kStopNoSpeed,
                               trf(has_stop ? N_("{0}: its stop cell at {1} lies where the speed limit is 0 km/h: the "
                                                 "train cannot get there; give that stretch a speed above 0")
                                            : N_("{0}: its position at {1} lies where the speed limit is 0 km/h: the "
                                                 "train cannot get there; give that stretch a speed above 0"),
                                   record_label(r), metres(at))));
    }
  }

  const Scenario& m_;
  const DescriptionLint& line_;
  const DescriptionLint& train_;
  TrainModel model_;
  TrainData data_;
  int64_t last_cell_ = -1;
  std::vector<Diagnostic> out_;
};

std::string control_name(unsigned char c) {
  if (c == '\t') return std::string(tr("a tab"));
  char buf[8];
  std::snprintf(buf, sizeof buf, "0x%02X", c);
  return trf("the control character {0}", buf);
}

}  // namespace

std::vector<Diagnostic> check_cells(const Scenario& m, const DescriptionLint& line, const DescriptionLint& train,
                                    const TrainModel& model) {
  if (m.track.empty()) return {};
  return CellChecker(m, line, train, model).run();
}

std::vector<Diagnostic> check_names(const DescriptionLint& lint) {
  std::vector<Diagnostic> out;
  for (const LintRecord& r : lint.records) {
    if (!r.complete() || r.fields.empty() || r.format->fields.back().storage != Storage::kText) continue;
    const ReadField& f = r.fields.back();
    // A line end comes only into a quoted text left open, which W-quote tells.
    auto bad = std::find_if(f.text.begin(), f.text.end(), [](char c) {
      auto u = static_cast<unsigned char>(c);
      return (u < 0x20 && c != '\r' && c != '\n') || u == 0x7F;
    });
    if (bad == f.text.end()) continue;
    std::string_view what = r.format->heading == "stazione" ? N_("{0}: its name holds {1}: write a blank instead")
                                                             : N_("{0}: its text holds {1}: write a blank instead");
    int64_t at = f.offset + (bad - f.text.begin()) + (lint.text.substr(static_cast<size_t>(f.offset), 1) == "\"" ? 1 : 0);
    std::string label = record_word(r);
    if (r.format->fields.front().chainage) label += trf(" at {0} m", r.number(0));
    out.push_back(lint.at(at, Severity::kWarning, warning::kNameControl,
                          trf(what, label, control_name(static_cast<unsigned char>(*bad)))));
  }
  return out;
}

}  // namespace lorvena
