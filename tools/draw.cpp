#include "tools/draw.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <initializer_list>
#include <vector>

#include "tools/dump.h"
#include "tools/line_features.h"
#include "tools/svg_writer.h"
#include "tools/text_encoding.h"

namespace lorvena {
namespace {

constexpr double kWidth = 1000;
constexpr double kLeft = 80;
constexpr double kRight = 980;
constexpr double kPlanMaxHeight = 420;
constexpr double kPanelHeight = 90;
constexpr double kBoardsHeight = 70;
constexpr double kObjectsHeight = 400;
constexpr double kGap = 24;  // between panels, room for a title

constexpr const char* kStationColour = "#1f4e9c";
constexpr const char* kSignalColour = "#c62828";
constexpr const char* kSlowdownColour = "#ef6c00";
constexpr const char* kTunnelColour = "#5d4037";

// Pieces joined (kept apart from operator+ chains, which GCC 12 warns about
// wrongly at -O2).
std::string cat(std::initializer_list<std::string> parts) {
  std::string out;
  for (const std::string& p : parts) out += p;
  return out;
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
      svg.text(x + 2, y - 9, utf8_from_1252(s.name), 10, "start", -60, std::string("fill:") + kStationColour);
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
  void frame(SvgWriter& svg, double top, double height, const std::string& title) {
    svg.rect(kLeft, top, kRight - kLeft, height, "fill:none;stroke:#bbb");
    svg.text(kLeft - 6, top + 12, title, 12, "end", 0, "font-weight:bold");
  }

  void step_panel(SvgWriter& svg, double top, const std::string& title,
                  const std::function<double(const TrackCell&)>& value) {
    frame(svg, top, kPanelHeight, "");
    svg.text(kLeft, top - 4, title, 12, "start", 0, "font-weight:bold;fill:#333");
    size_t cells = std::min<size_t>(m_.track.size(), size_t(length_ / 50) + 1);
    if (cells == 0) return;
    double lo = 0, hi = 0;
    for (size_t c = 0; c < cells; ++c) lo = std::min(lo, value(m_.track[c])), hi = std::max(hi, value(m_.track[c]));
    if (hi - lo < 1) hi = lo + 1;
    auto y_of = [&](double v) { return top + kPanelHeight - 6 - (v - lo) / (hi - lo) * (kPanelHeight - 26); };
    std::string d = cat({"M", fmt(at(0)), " ", fmt(y_of(value(m_.track[0])))});
    for (size_t c = 1; c < cells; ++c) {
      double v = value(m_.track[c]);
      if (v == value(m_.track[c - 1])) continue;
      d += cat({" H", fmt(at(double(c) * 50)), " V", fmt(y_of(v))});
    }
    d += cat({" H", fmt(at(double(length_)))});
    if (lo < 0 && hi > 0) svg.line(kLeft, y_of(0), kRight, y_of(0), "stroke:#ccc;stroke-dasharray:4 3");
    svg.path(d, "fill:none;stroke:#00695c;stroke-width:1.6");
    svg.text(kLeft - 6, y_of(hi) + 4, fmt_int(hi), 11, "end");
    svg.text(kLeft - 6, y_of(lo) + 4, fmt_int(lo), 11, "end");
  }

  static std::string fmt_int(double v) { return std::to_string(int64_t(std::llround(v))); }

  void speed_boards(SvgWriter& svg, double top) {
    frame(svg, top, kBoardsHeight - 6, "");
    svg.text(kLeft, top - 4, "indicatori_vmax (km/h)", 12, "start", 0, "font-weight:bold;fill:#333");
    for (const SpeedBoard& b : f_.speed_boards) {
      double x = at(b.chainage);
      std::string speeds = std::to_string(b.left[0]) + " " + std::to_string(b.left[1]) + " " +
                           std::to_string(b.left[2]);
      svg.open_group("speed-board", std::to_string(b.chainage) + " m: " + speeds);
      svg.line(x, top + kBoardsHeight - 6, x, top + kBoardsHeight - 20, "stroke:#333;stroke-width:1.5");
      svg.text(x + 3, top + kBoardsHeight - 22, speeds, 10, "start", -60);
      svg.close_group();
    }
  }

  void objects(SvgWriter& svg, double top) {
    double base = top + kObjectsHeight - 10;
    frame(svg, top, kObjectsHeight - 4, "");
    for (const Stretch& t : f_.tunnels)
      svg.rect(at(t.start), base - 6, std::max(1.0, at(t.end) - at(t.start)), 6,
               std::string("stroke:none;fill:") + kTunnelColour, "tunnel");
    for (const Stretch& s : f_.slowdowns) {
      svg.open_group("slowdown", "rallentamento " + std::to_string(s.start) + " m, " + std::to_string(s.speed) +
                                     " km/h");
      svg.rect(at(s.start), base - 30, std::max(2.0, at(s.end) - at(s.start)), 12,
               std::string("stroke:none;fill-opacity:0.6;fill:") + kSlowdownColour);
      svg.text(at(s.start), base - 34, std::to_string(s.speed), 11, "start", 0,
               std::string("font-weight:bold;fill:") + kSlowdownColour);
      svg.close_group();
    }
    for (const Stretch& w : f_.warnings) {
      double x = at(w.start);
      svg.path(cat({"M", fmt(x), " ", fmt(base - 40), " l-5 9 h10 z"}),
               std::string("stroke:none;fill:") + kSlowdownColour, "warning");
    }
    for (int32_t s : f_.signals)
      svg.line(at(s), base, at(s), base - 20, std::string("stroke-width:2;stroke:") + kSignalColour, "signal");
    std::vector<double> sign_x;
    for (const SignMark& s : f_.signs) sign_x.push_back(at(s.chainage));
    std::vector<double> sign_label = spread(sign_x, 11);
    for (size_t k = 0; k < f_.signs.size(); ++k) {
      double x = sign_x[k], lx = sign_label[k];
      svg.open_group("sign", std::to_string(f_.signs[k].chainage) + " m");
      svg.path(cat({"M", fmt(x), " ", fmt(base), " V", fmt(base - 44), " L", fmt(lx), " ", fmt(base - 52)}),
               "fill:none;stroke:#777;stroke-width:0.8");
      svg.text(lx + 3, base - 54, utf8_from_1252(f_.signs[k].text), 9, "start", -90, "fill:#666");
      svg.close_group();
    }
    std::vector<double> station_x;
    for (const StationMark& s : f_.stations) station_x.push_back(at(s.chainage));
    std::vector<double> station_label = spread(station_x, 13);
    for (size_t k = 0; k < f_.stations.size(); ++k) {
      const StationMark& s = f_.stations[k];
      double x = station_x[k], lx = station_label[k];
      std::string label = utf8_from_1252(s.name);
      if (s.ora != 0) label += "  " + clock_time(s.ora);
      svg.open_group("station", std::to_string(s.chainage) + " m");
      svg.path(cat({"M", fmt(x), " ", fmt(base), " V", fmt(base - 170), " L", fmt(lx), " ", fmt(base - 184)}),
               std::string("fill:none;stroke-width:1.1;stroke:") + kStationColour);
      svg.text(lx + 4, base - 188, label, 11, "start", -90, std::string("fill:") + kStationColour);
      svg.close_group();
    }
  }

  // Label places for marks at `xs` (in increasing order) at least `gap` apart,
  // each as near its mark as the others allow, inside the frame.
  static std::vector<double> spread(const std::vector<double>& xs, double gap) {
    std::vector<double> out(xs);
    for (size_t k = 1; k < out.size(); ++k) out[k] = std::max(out[k], out[k - 1] + gap);
    double limit = kRight - 8;
    for (size_t k = out.size(); k-- > 0;) {
      out[k] = std::min(out[k], limit);
      limit = out[k] - gap;
    }
    return out;
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
