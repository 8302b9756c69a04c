#include "tools/diagnosing/record_checks.h"

#include <map>

#include "compiler/model.h"
#include "tools/diagnosing/warning_texts.h"
#include "tools/text/messages.h"

namespace lorvena {
namespace {

bool is_time(const FieldFormat& f) { return f.unit == "h" || f.unit == "min" || (f.unit == "s" && f.name == "seconds"); }

std::string unit_text(const FieldFormat& f) { return f.unit.empty() ? "" : " " + std::string(f.unit); }

std::string range_text(const FieldFormat& f) { return trf("{0} to {1}", f.low, f.high) + unit_text(f); }

int64_t rounded_to_step(int64_t value, int32_t step) {
  return nearest(static_cast<double>(value) / step) * step;
}

class Checker {
 public:
  Checker(const DescriptionLint& lint, const TrackSize& size) : lint_(lint), size_(size) {}

  std::vector<Diagnostic> run() {
    for (const LintRecord& r : lint_.records) {
      if (!r.complete()) continue;
      for (size_t i = 0; i < r.fields.size(); ++i) field(r, i);
      record(r);
    }
    return std::move(out_);
  }

 private:
  void warn(const LintRecord& r, std::string_view code, const std::string& message) {
    out_.push_back(lint_.at(r.offset, Severity::kWarning, code, message));
  }
  // A warning about field `i`, placed at that field.
  void warn(const LintRecord& r, size_t i, std::string_view code, const std::string& message) {
    out_.push_back(lint_.at(field_offset(lint_, r, i), Severity::kWarning, code, message));
  }
  void note(const LintRecord& r, size_t i, std::string_view code, const std::string& message) {
    out_.push_back(lint_.at(field_offset(lint_, r, i), Severity::kNote, code, message));
  }

  std::string named(const LintRecord& r, size_t i) const {
    return record_label(r) + ": " + field_name(r, i);
  }

  void field(const LintRecord& r, size_t i) {
    const FieldFormat& f = r.format->fields[i];
    if (f.storage == Storage::kText) return;
    int64_t value = r.number(i);
    if (value < f.low || value > f.high) {
      if (f.range_error == 0) out_of_range(r, i);
      return;
    }
    if (f.step != 0 && f.step_error == 0 && value % f.step != 0)
      warn(r, i, warning::kOffStep,
           trf("{0} is {1}{2}, not a multiple of {3}{2}; it is taken as {4}{2}", named(r, i), value, unit_text(f),
               f.step, rounded_to_step(value, f.step)));
    if (f.chainage && size_.top >= 0 && value > size_.length && !beyond_track(r, size_))
      warn(r, i, warning::kPastEnd,
           trf("{0} is {1} m, past the end of the line ({2} m)", named(r, i), value, size_.length));
  }

  void out_of_range(const LintRecord& r, size_t i) {
    const FieldFormat& f = r.format->fields[i];
    std::string value = std::to_string(r.number(i)) + unit_text(f);
    if (is_time(f)) {
      std::string_view pattern = f.unit == "h"     ? N_("{0} is {1}; it should be {2}, the surplus runs into the next day")
                                 : f.unit == "min" ? N_("{0} is {1}; it should be {2}, the surplus runs into the next hour")
                                                   : N_("{0} is {1}; it should be {2}, the surplus runs into the next minute");
      return warn(r, i, warning::kTime, trf(pattern, named(r, i), value, range_text(f)));
    }
    warn(r, i, warning::kRange, trf("{0} is {1}; it should be {2}", named(r, i), value, range_text(f)));
  }

  void record(const LintRecord& r) {
    std::string_view k = r.format->heading;
    if (k == "pendenza" || k == "velocita" || k == "aderenza") in_order(r);
    if (k == "curva") curve(r);
    if (k == "montagna" && r.number(1) <= r.number(0))
      warn(r, warning::kRange, trf("montagna ends at {0} m, not after its start ({1} m): no cell gets its landscape",
                                   r.number(1), r.number(0)));
    if (k == "rallentamento") past_end(r, r.number(0) + r.number(2));
  }

  void past_end(const LintRecord& r, int64_t at) {
    if (size_.top < 0 || at <= size_.length || r.number(0) > size_.length) return;
    warn(r, warning::kPastEnd,
         trf("{0}: its end ({1} m) lies past the end of the line ({2} m)", record_word(r), at, size_.length));
  }

  // Rows filled up to the next one of their kind: each must lie further on.
  void in_order(const LintRecord& r) {
    const LintRecord*& before = previous_[r.format->heading];
    if (before != nullptr && r.number(0) <= before->number(0)) {
      warn(r, 0, warning::kOrder,
           trf("{0} at {1} m comes after one at {2} m: rows must be in increasing chainage; this one fills almost "
               "nothing",
               record_word(r), r.number(0), before->number(0)));
      note(*before, 0, warning::kOrder, std::string(tr("the row before it")));
    }
    before = &r;
  }

  void curve(const LintRecord& r) {
    int64_t end = r.number(0) + r.number(1);
    past_end(r, end);
    if (last_curve_ != nullptr && r.number(0) < curve_end_) {
      warn(r, 0, warning::kOrder,
           trf("curva at {0} m starts before the curve before it ends ({1} m): the plan bends from there on instead",
               r.number(0), curve_end_));
      note(*last_curve_, 0, warning::kOrder, std::string(tr("the curve before it")));
    }
    last_curve_ = &r;
    curve_end_ = end;
  }

  const DescriptionLint& lint_;
  const TrackSize& size_;
  std::vector<Diagnostic> out_;
  std::map<std::string_view, const LintRecord*> previous_;
  const LintRecord* last_curve_ = nullptr;
  int64_t curve_end_ = 0;
};

}  // namespace

std::vector<Diagnostic> check_values(const DescriptionLint& lint, const TrackSize& size) {
  return Checker(lint, size).run();
}

}  // namespace lorvena
