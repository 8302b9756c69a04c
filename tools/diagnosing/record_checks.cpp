#include "tools/diagnosing/record_checks.h"

#include <map>

#include "compiler/model.h"
#include "tools/diagnosing/warning_texts.h"

namespace lorvena {
namespace {

bool is_time(const FieldFormat& f) { return f.unit == "h" || f.unit == "min" || (f.unit == "s" && f.name == "seconds"); }

std::string unit_text(const FieldFormat& f) { return f.unit.empty() ? "" : " " + std::string(f.unit); }

std::string range_text(const FieldFormat& f) {
  return std::to_string(f.low) + " to " + std::to_string(f.high) + unit_text(f);
}

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
           named(r, i) + " is " + std::to_string(value) + unit_text(f) + ", not a multiple of " +
               std::to_string(f.step) + unit_text(f) + "; it is taken as " +
               std::to_string(rounded_to_step(value, f.step)) + unit_text(f));
    if (f.chainage && size_.top >= 0 && value > size_.length && !beyond_track(r, size_))
      warn(r, i, warning::kPastEnd,
           named(r, i) + " is " + std::to_string(value) + " m, past the end of the line (" +
               std::to_string(size_.length) + " m)");
  }

  void out_of_range(const LintRecord& r, size_t i) {
    const FieldFormat& f = r.format->fields[i];
    std::string message = named(r, i) + " is " + std::to_string(r.number(i)) + unit_text(f);
    if (is_time(f)) return warn(r, i, warning::kTime, message + "; it should be " + range_text(f) +
                                                       ", the surplus runs into the next " +
                                                       (f.unit == "h" ? "day" : f.unit == "min" ? "hour" : "minute"));
    warn(r, i, warning::kRange, message + "; it should be " + range_text(f));
  }

  void record(const LintRecord& r) {
    std::string_view k = r.format->heading;
    if (k == "pendenza" || k == "velocita" || k == "aderenza") in_order(r);
    if (k == "curva") curve(r);
    if (k == "montagna" && r.number(1) <= r.number(0))
      warn(r, warning::kRange, "montagna ends at " + std::to_string(r.number(1)) + " m, not after its start (" +
                                   std::to_string(r.number(0)) + " m): no cell gets its landscape");
    if (k == "rallentamento") past_end(r, r.number(0) + r.number(2), "its end");
  }

  void past_end(const LintRecord& r, int64_t at, const std::string& what) {
    if (size_.top < 0 || at <= size_.length || r.number(0) > size_.length) return;
    warn(r, warning::kPastEnd, record_word(r) + ": " + what + " (" + std::to_string(at) +
                                   " m) lies past the end of the line (" + std::to_string(size_.length) + " m)");
  }

  // Rows filled up to the next one of their kind: each must lie further on.
  void in_order(const LintRecord& r) {
    const LintRecord*& before = previous_[r.format->heading];
    if (before != nullptr && r.number(0) <= before->number(0)) {
      warn(r, 0, warning::kOrder, record_word(r) + " at " + std::to_string(r.number(0)) +
                                   " m comes after one at " + std::to_string(before->number(0)) +
                                   " m: rows must be in increasing chainage; this one fills almost nothing");
      note(*before, 0, warning::kOrder, "the row before it");
    }
    before = &r;
  }

  void curve(const LintRecord& r) {
    int64_t end = r.number(0) + r.number(1);
    past_end(r, end, "its end");
    if (last_curve_ != nullptr && r.number(0) < curve_end_) {
      warn(r, 0, warning::kOrder, "curva at " + std::to_string(r.number(0)) + " m starts before the curve before it ends (" +
                                   std::to_string(curve_end_) + " m): the plan bends from there on instead");
      note(*last_curve_, 0, warning::kOrder, "the curve before it");
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
