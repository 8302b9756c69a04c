#include "tools/picture/draw.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <initializer_list>
#include <vector>

#include "tools/compiled/dump.h"
#include "tools/picture/label_placement.h"
#include "tools/picture/line_features.h"
#include "tools/picture/svg_writer.h"
#include "tools/text/text_encoding.h"

namespace lorvena {
namespace {

constexpr double kWidth = 1000;
constexpr double kLeft = 80;
constexpr double kRight = 980;
constexpr double kPlanMaxHeight = 420;
constexpr double kPanelHeight = 90;
constexpr double kBoardsHeight = 96;
constexpr double kObjectsHeight = 430;
constexpr double kGap = 24;  // between panels, room for a title

constexpr const char* kStationColour = "#1f4e9c";
constexpr const char* kSignalColour = "#c62828";
constexpr const char* kSlowdownColour = "#ef6c00";
constexpr const char* kTunnelColour = "#5d4037";
constexpr const char* kCurveColour = "#6a1b9a";
constexpr const char* kSignColour = "#666";

// Pieces joined (kept apart from operator+ chains, which GCC 12 warns about
// wrongly at -O2).
std::string cat(std::initializer_list<std::string> parts) {
  std::string out;
  for (const std::string& p : parts) out += p;
  return out;
}

// A text's box is its size times this across its lines (ascent and descent).
constexpr double kLineHeight = 1.2;

// The chainage as the line's boards write it: "12+350".
std::string board_chainage(int64_t metres) {
  std::string m = std::to_string(metres % 1000);
  return std::to_string(metres / 1000) + "+" + std::string(3 - m.size(), '0') + m;
}

// " +2": how many labels were left out nearest to a placed one.
std::string left_out_suffix(int count) { return count == 0 ? "" : " +" + std::to_string(count); }

// A label read upwards in `box`, its baseline along the box's right edge,
// cut to the box's height before its count of left-out labels.
void vertical_label(SvgWriter& svg, const LabelBox& box, const std::string& text, int left_out, double size,
                    const std::string& style) {
  std::string suffix = left_out_suffix(left_out);
  std::string shown = fitted_text(text, size, box.h - text_length(suffix, size)) + suffix;
  svg.text(box.x + box.w - 0.3 * size, box.y + box.h, shown, size, "start", -90, style);
}

void horizontal_label(SvgWriter& svg, const LabelBox& box, const std::string& text, double size,
                      const std::string& style) {
  svg.text(box.x, box.y + 0.95 * size, text, size, "start", 0, style);
}

// One lane of labels read upwards above marks along the chainage: each label
// as near its mark as the others let it, joined to it by a leader, the ones
// that find no room counted on the nearest placed one.
struct LaneLabel {
  double x;           // the mark
  double mark_top;    // where its leader starts
  std::string text;   // UTF-8
  std::string style;  // the text's
  std::string cls;    // the group's class
  std::string title;
};

void label_lane(SvgWriter& svg, const std::vector<LaneLabel>& labels, double top, double height, double size) {
  double thickness = kLineHeight * size;
  std::vector<std::vector<LabelBox>> candidates;
  std::vector<double> anchors;
  for (const LaneLabel& l : labels) {
    double edge = l.x + 0.3 * size;
    candidates.push_back(lane_candidates(edge, thickness, top, height, 2, 8 * thickness, kLeft - 30, kRight + 15));
    anchors.push_back(l.x);
  }
  std::vector<int> chosen = place_labels(candidates);
  std::vector<int> left_out = left_out_counts(anchors, chosen);
  for (size_t k = 0; k < labels.size(); ++k) {
    if (chosen[k] < 0) continue;
    const LabelBox& box = candidates[k][size_t(chosen[k])];
    const LaneLabel& l = labels[k];
    double foot = box.x + box.w - 0.3 * size - 0.35 * size;
    svg.open_group(l.cls, l.title);
    svg.path(cat({"M", fmt(l.x), " ", fmt(l.mark_top), " V", fmt(top + height + 8), " L", fmt(foot), " ",
                  fmt(top + height + 2)}),
             "fill:none;stroke:#999;stroke-width:0.7");
    vertical_label(svg, box, l.text, left_out[k], size, l.style);
    svg.close_group();
  }
}


class Drawing {
 public:
  Drawing(const Scenario& m, const LineFeatures& f) : m_(m), f_(f) {
    length_ = std::max<int64_t>(f.length, 50);
    has_plan_ = m.profile.origin_set && m.profile.next > 2;
    if (has_plan_) fit_plan();
  }

  std::string render() {
    double height = 50 + (has_plan_ ? plan_height_ + kGap : 0) + 8 + 3 * (kPanelHeight + kGap) + kBoardsHeight + kGap +
                    kObjectsHeight + 70;
    SvgWriter svg(kWidth, height);
    svg.text(kLeft, 28, utf8_from_1252(m_.scenario_name + "  " + m_.train_number), 20, "start", 0,
             "font-weight:bold");
    svg.text(kRight, 28, "lunghezza percorso " + std::to_string(f_.length) + " m", 13, "end");
    double y = 50;
    if (has_plan_) {
      plan(svg, y);
      y += plan_height_ + kGap;
    }
    y += 8;
    step_panel(svg, y, "pendenza (‰)", [](const TrackCell& c) { return c.gradient - 100.0; });
    y += kPanelHeight + kGap;
    step_panel(svg, y, "velocita (km/h)", [](const TrackCell& c) { return c.speed_limit * 5.0; });
    y += kPanelHeight + kGap;
    step_panel(svg, y, "aderenza (%)", [](const TrackCell& c) { return double(c.adhesion); });
    y += kPanelHeight + kGap;
    speed_boards(svg, y);
    y += kBoardsHeight + kGap;
    objects(svg, y);
    y += kObjectsHeight;
    axis(svg, y);
    legend(svg, y + 40);
    return svg.finish();
  }

 private:
  double at(double chainage) const { return kLeft + (kRight - kLeft) * chainage / double(length_); }

  // ---- the plan ----
  // The plan turned so that the line runs from left to right (start to end
  // of the line on one horizontal), scaled alike in both directions.
  void fit_plan() {
    const Plan& p = m_.profile;
    last_ = std::min<int64_t>(length_, p.next - 1);
    double cx = p.x[size_t(last_)] - p.x[0], cy = p.y[size_t(last_)] - p.y[0];
    double chord = std::hypot(cx, cy);
    if (chord < 1) cx = 0, cy = 1, chord = 1;
    ux_ = cx / chord, uy_ = cy / chord;
    double min_u = 1e300, max_u = -1e300, min_v = 1e300, max_v = -1e300;
    for (int64_t i = 0; i <= last_; ++i) {
      auto [u, v] = turned(i);
      min_u = std::min(min_u, u), max_u = std::max(max_u, u), min_v = std::min(min_v, v), max_v = std::max(max_v, v);
    }
    double box_w = kRight - kLeft - 60;
    scale_ = std::min(box_w / std::max(max_u - min_u, 1.0), (kPlanMaxHeight - 80) / std::max(max_v - min_v, 1.0));
    plan_height_ = std::clamp((max_v - min_v) * scale_ + 120, 160.0, kPlanMaxHeight);
    origin_u_ = min_u - (box_w / scale_ - (max_u - min_u)) / 2;
    mid_v_ = (min_v + max_v) / 2;
  }

  // Metre i of the plan in the turned frame: along the line, and to its left.
  std::pair<double, double> turned(int64_t i) const {
    const Plan& p = m_.profile;
    size_t k = size_t(std::clamp<int64_t>(i, 0, last_));
    double x = p.x[k] - p.x[0], y = p.y[k] - p.y[0];
    return {x * ux_ + y * uy_, -x * uy_ + y * ux_};
  }

  std::pair<double, double> point(int64_t metre) const {
    auto [u, v] = turned(metre);
    return {kLeft + 30 + (u - origin_u_) * scale_, plan_top_ + plan_height_ / 2 + 30 - (v - mid_v_) * scale_};
  }

  void plan(SvgWriter& svg, double top) {
    plan_top_ = top;
    svg.rect(kLeft, top, kRight - kLeft, plan_height_, "fill:#fafafa;stroke:#bbb");
    svg.text(kLeft + 6, top + 16, "pianta della linea", 13, "start", 0, "fill:#555");
    svg.path(plan_path(0, last_), "fill:none;stroke:#222;stroke-width:2");
    for (const Stretch& t : f_.tunnels)
      svg.path(plan_path(t.start, std::min<int64_t>(t.end, last_)),
               std::string("fill:none;stroke-width:7;stroke-linecap:butt;stroke:") + kTunnelColour, "plan-tunnel");
    for (int32_t s : f_.signals) {
      auto [x, y] = point(s);
      svg.rect(x - 3, y - 3, 6, 6, std::string("stroke:none;fill:") + kSignalColour, "plan-signal");
    }
    for (const StationMark& s : f_.stations) {
      auto [x, y] = point(s.chainage);
      svg.circle(x, y, 4.5, std::string("fill:white;stroke-width:2.2;stroke:") + kStationColour, "plan-station");
    }
    plan_labels(svg, top);
  }

  // The stations' names beside their circles: above or below, right or left,
  // farther out with a leader when nearer places are taken.
  void plan_labels(SvgWriter& svg, double top) {
    constexpr double kSize = 10;
    std::vector<std::vector<LabelBox>> candidates;
    std::vector<double> anchors;
    std::vector<std::string> names;
    double room = kLineHeight * kSize;
    for (const StationMark& s : f_.stations) {
      auto [x, y] = point(s.chainage);
      names.push_back(utf8_from_1252(s.name));
      double w = text_length(names.back() + " +99", kSize);
      std::vector<LabelBox> boxes;
      for (double d : {7.0, 20.0, 34.0, 50.0})
        for (auto [dx, dy] : {std::pair{1, -1}, {-1, -1}, {1, 1}, {-1, 1}})
          boxes.push_back({dx > 0 ? x + d * 0.7 : x - d * 0.7 - w, dy < 0 ? y - d - room : y + d, w, room});
      std::erase_if(boxes, [&](const LabelBox& b) {
        return b.x < kLeft + 2 || b.x + b.w > kRight - 2 || b.y < top + 2 || b.y + b.h > top + plan_height_ - 2;
      });
      candidates.push_back(std::move(boxes));
      anchors.push_back(s.chainage);
    }
    std::vector<LabelBox> title = {{kLeft + 6, top + 4, text_length("pianta della linea", 13), 16}};
    std::vector<int> chosen = place_labels(candidates, title);
    std::vector<int> left_out = left_out_counts(anchors, chosen);
    for (size_t k = 0; k < f_.stations.size(); ++k) {
      if (chosen[k] < 0) continue;
      const LabelBox& b = candidates[k][size_t(chosen[k])];
      auto [x, y] = point(f_.stations[k].chainage);
      double lx = std::clamp(x, b.x, b.x + b.w), ly = b.y + b.h / 2 < y ? b.y + b.h : b.y;
      if (std::hypot(lx - x, ly - y) > 12) svg.line(x, y, lx, ly, "stroke:#9fb3d9;stroke-width:0.7");
      horizontal_label(svg, b, names[k] + left_out_suffix(left_out[k]), kSize, std::string("fill:") + kStationColour);
    }
  }

  std::string plan_path(int64_t from, int64_t to) const {
    std::string d;
    int64_t step = std::max<int64_t>(1, length_ / 4000);
    for (int64_t i = std::max<int64_t>(from, 0); i <= to; i = (i == to ? to + 1 : std::min(i + step, to))) {
      auto [x, y] = point(i);
      d += (d.empty() ? "M" : " L") + fmt(x) + " " + fmt(y);
    }
    return d.empty() ? "M0 0" : d;
  }

  // ---- the values along the chainage ----
  void frame(SvgWriter& svg, double top, double height) {
    svg.rect(kLeft, top, kRight - kLeft, height, "fill:none;stroke:#bbb");
  }

  void step_panel(SvgWriter& svg, double top, const std::string& title,
                  const std::function<double(const TrackCell&)>& value) {
    frame(svg, top, kPanelHeight);
    svg.text(kLeft, top - 4, title, 12, "start", 0, "font-weight:bold;fill:#333");
    size_t cells = std::min<size_t>(m_.track.size(), size_t(length_ / 50) + 1);
    if (cells == 0) return;
    double lo = 0, hi = 0;
    for (size_t c = 0; c < cells; ++c) lo = std::min(lo, value(m_.track[c])), hi = std::max(hi, value(m_.track[c]));
    if (hi - lo < 1) hi = lo + 1;
    auto y_of = [&](double v) { return top + kPanelHeight - 6 - (v - lo) / (hi - lo) * (kPanelHeight - 26); };
    value_ticks(svg, lo, hi, y_of);
    std::string d = cat({"M", fmt(at(0)), " ", fmt(y_of(value(m_.track[0])))});
    for (size_t c = 1; c < cells; ++c) {
      double v = value(m_.track[c]);
      if (v == value(m_.track[c - 1])) continue;
      d += cat({" H", fmt(at(double(c) * 50)), " V", fmt(y_of(v))});
    }
    d += cat({" H", fmt(at(double(length_)))});
    if (lo < 0 && hi > 0) svg.line(kLeft, y_of(0), kRight, y_of(0), "stroke:#ccc;stroke-dasharray:4 3");
    svg.path(d, "fill:none;stroke:#00695c;stroke-width:1.6");
  }

  // Round values from `lo` to `hi` on the panel's left, with a faint line
  // across; a tick label that would touch another is left out.
  static void value_ticks(SvgWriter& svg, double lo, double hi, const std::function<double(double)>& y_of) {
    double step = nice_step((hi - lo) / 4);
    std::vector<double> values = {lo, hi};
    for (double v = std::ceil(lo / step) * step; v < hi; v += step) values.push_back(v);
    std::vector<std::vector<LabelBox>> boxes;
    for (double v : values) {
      double w = text_length(fmt_int(v), 11);
      boxes.push_back({{kLeft - 6 - w, y_of(v) - 5.5, w, 11 * kLineHeight}});
    }
    std::vector<int> chosen = place_labels(boxes);
    for (size_t k = 0; k < values.size(); ++k) {
      if (chosen[k] < 0) continue;
      svg.text(kLeft - 6, y_of(values[k]) + 4, fmt_int(values[k]), 11, "end");
      svg.line(kLeft - 3, y_of(values[k]), kRight, y_of(values[k]), "stroke:#eee");
    }
  }

  // 1, 2 or 5 times a power of ten, at least `raw`.
  static double nice_step(double raw) {
    double unit = std::pow(10.0, std::floor(std::log10(std::max(raw, 1e-9))));
    return raw <= unit ? unit : raw <= 2 * unit ? 2 * unit : raw <= 5 * unit ? 5 * unit : 10 * unit;
  }

  static std::string fmt_int(double v) { return std::to_string(int64_t(std::llround(v))); }

  void speed_boards(SvgWriter& svg, double top) {
    frame(svg, top, kBoardsHeight - 6);
    svg.text(kLeft, top - 4, "indicatori_vmax (km/h)", 12, "start", 0, "font-weight:bold;fill:#333");
    std::vector<LaneLabel> labels;
    for (const SpeedBoard& b : f_.speed_boards) {
      double x = at(b.chainage);
      std::string speeds = std::to_string(b.left[0]) + " " + std::to_string(b.left[1]) + " " +
                           std::to_string(b.left[2]);
      svg.line(x, top + kBoardsHeight - 6, x, top + kBoardsHeight - 16, "stroke:#333;stroke-width:1.5", "speed-board");
      labels.push_back({x, top + kBoardsHeight - 16, speeds, "fill:#222", "speed-board-label",
                        std::to_string(b.chainage) + " m: " + speeds});
    }
    label_lane(svg, labels, top + 4, kBoardsHeight - 32, 10);
  }

  // From the foot of the panel up: tunnels, curves, slowdowns, warning boards
  // and signals; above them a lane of labels for signals, slowdowns and sign
  // boards, and over it a lane for the stations.
  void objects(SvgWriter& svg, double top) {
    double base = top + kObjectsHeight - 10;
    frame(svg, top, kObjectsHeight - 4);
    for (const Stretch& t : f_.tunnels)
      svg.rect(at(t.start), base - 6, std::max(1.0, at(t.end) - at(t.start)), 6,
               std::string("stroke:none;fill:") + kTunnelColour, "tunnel");
    curves(svg, base - 12);
    std::vector<LaneLabel> lower;
    for (const Stretch& s : f_.slowdowns) {
      std::string title = "rallentamento " + std::to_string(s.start) + " m, " + std::to_string(s.speed) + " km/h";
      svg.rect(at(s.start), base - 40, std::max(2.0, at(s.end) - at(s.start)), 10,
               std::string("stroke:none;fill-opacity:0.6;fill:") + kSlowdownColour, "slowdown");
      lower.push_back({at(s.start), base - 40, std::to_string(s.speed) + " km/h",
                       std::string("font-weight:bold;fill:") + kSlowdownColour, "slowdown-label", title});
    }
    for (const Stretch& w : f_.warnings)
      svg.path(cat({"M", fmt(at(w.start)), " ", fmt(base - 52), " l-5 9 h10 z"}),
               std::string("stroke:none;fill:") + kSlowdownColour, "warning");
    for (int32_t s : f_.signals) {
      svg.line(at(s), base - 24, at(s), base - 44, std::string("stroke-width:2;stroke:") + kSignalColour, "signal");
      lower.push_back({at(s), base - 44, board_chainage(s), std::string("fill:") + kSignalColour, "signal-label",
                       "segnale " + std::to_string(s) + " m"});
    }
    for (const SignMark& s : f_.signs)
      lower.push_back({at(s.chainage), base - 24, utf8_from_1252(s.text), std::string("fill:") + kSignColour, "sign",
                       std::to_string(s.chainage) + " m"});
    std::sort(lower.begin(), lower.end(), [](const LaneLabel& a, const LaneLabel& b) { return a.x < b.x; });
    label_lane(svg, lower, base - 178, 110, 9);
    std::vector<LaneLabel> upper;
    for (const StationMark& s : f_.stations) {
      std::string label = utf8_from_1252(s.name);
      if (s.ora != 0) label += "  " + clock_time(s.ora);
      svg.open_group("station", label + ", " + std::to_string(s.chainage) + " m");
      svg.line(at(s.chainage), base, at(s.chainage), base - 60, std::string("stroke-width:1.4;stroke:") + kStationColour);
      svg.close_group();
      upper.push_back({at(s.chainage), base - 60, label, std::string("fill:") + kStationColour, "station-label",
                       std::to_string(s.chainage) + " m"});
    }
    label_lane(svg, upper, top + 8, base - 196 - top - 8, 11);
  }

  // A band of curves: right-hand ones above its middle, left-hand ones below.
  void curves(SvgWriter& svg, double bottom) {
    for (const Curve& c : f_.curves) {
      double x = at(c.start), w = std::max(1.0, at(c.end) - at(c.start));
      std::string title = std::string(c.right ? "curva a destra" : "curva a sinistra") + ", raggio " +
                          std::to_string(c.radius) + " m, " + std::to_string(c.start) + "-" + std::to_string(c.end) +
                          " m";
      svg.open_group("curve", title);
      svg.rect(x, c.right ? bottom - 8 : bottom - 4, w, 4, std::string("stroke:none;fill:") + kCurveColour);
      svg.close_group();
    }
  }

  void axis(SvgWriter& svg, double y) {
    double raw = double(length_) / 10;
    double unit = std::pow(10.0, std::floor(std::log10(std::max(raw, 1.0))));
    double step = raw / unit < 2 ? unit * 2 : raw / unit < 5 ? unit * 5 : unit * 10;
    svg.line(kLeft, y, kRight, y, "stroke:#333");
    for (double c = 0; c <= double(length_) + 0.5; c += step) {
      svg.line(at(c), y, at(c), y + 5, "stroke:#333");
      svg.text(at(c), y + 18, fmt_chainage(c), 11, "middle");
    }
    svg.text(kLeft - 6, y + 18, "km", 11, "end");
  }

  static std::string fmt_chainage(double metres) {
    if (std::fmod(metres, 1000.0) == 0) return std::to_string(int64_t(metres / 1000));
    return fmt(metres / 1000);
  }

  void legend(SvgWriter& svg, double y) {
    double x = kLeft;
    auto key = [&](const std::string& name, const std::string& colour) {
      svg.rect(x, y - 9, 14, 9, "stroke:none;fill:" + colour);
      svg.text(x + 18, y, name, 11);
      x += 30 + 7.0 * double(name.size());
    };
    key("stazione", kStationColour);
    key("segnale", kSignalColour);
    key("rallentamento / avviso", kSlowdownColour);
    key("galleria", kTunnelColour);
    key("curva", kCurveColour);
    key("cartello_indicatore", "#777");
  }

  const Scenario& m_;
  const LineFeatures& f_;
  int64_t length_ = 0;
  bool has_plan_ = false;
  int64_t last_ = 0;
  double ux_ = 0, uy_ = 1, scale_ = 1, origin_u_ = 0, mid_v_ = 0;
  double plan_top_ = 0, plan_height_ = 0;
};

}  // namespace

std::string draw_svg(const Scenario& m) {
  LineFeatures f = line_features(m);
  return Drawing(m, f).render();
}

}  // namespace lorvena
