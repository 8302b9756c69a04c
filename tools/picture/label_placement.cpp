#include "tools/picture/label_placement.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace lorvena {

namespace {

// Space kept between two labels, in picture units.
constexpr double kLabelGap = 1.5;

double glyph_width(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return c == 'I' ? 0.35 : (c == 'M' || c == 'W') ? 0.92 : 0.74;
  if (c >= '0' && c <= '9') return 0.64;
  if (c == ' ') return 0.33;
  if (std::string_view("il.,:;'|!()[]fjt").find(char(c)) != std::string_view::npos) return 0.42;
  if (c == 'm' || c == 'w') return 0.92;
  return 0.64;  // other lower case, signs, and each character beyond ASCII
}

bool continuation_byte(unsigned char c) { return (c & 0xC0) == 0x80; }

}  // namespace

bool boxes_overlap(const LabelBox& a, const LabelBox& b) {
  return a.x < b.x + b.w + kLabelGap && b.x < a.x + a.w + kLabelGap && a.y < b.y + b.h + kLabelGap &&
         b.y < a.y + a.h + kLabelGap;
}

std::vector<int> place_labels(const std::vector<std::vector<LabelBox>>& candidates, std::vector<LabelBox> taken) {
  std::vector<int> chosen(candidates.size(), -1);
  for (size_t k = 0; k < candidates.size(); ++k) {
    for (size_t c = 0; c < candidates[k].size(); ++c) {
      const LabelBox& box = candidates[k][c];
      if (std::any_of(taken.begin(), taken.end(), [&](const LabelBox& t) { return boxes_overlap(box, t); }))
        continue;
      chosen[k] = int(c);
      taken.push_back(box);
      break;
    }
  }
  return chosen;
}

std::vector<int> left_out_counts(const std::vector<double>& anchors, const std::vector<int>& chosen) {
  std::vector<int> counts(anchors.size(), 0);
  for (size_t k = 0; k < anchors.size(); ++k) {
    if (chosen[k] >= 0) continue;
    size_t nearest = anchors.size();
    for (size_t p = 0; p < anchors.size(); ++p)
      if (chosen[p] >= 0 &&
          (nearest == anchors.size() || std::abs(anchors[p] - anchors[k]) < std::abs(anchors[nearest] - anchors[k])))
        nearest = p;
    if (nearest < anchors.size()) ++counts[nearest];
  }
  return counts;
}

std::vector<LabelBox> lane_candidates(double anchor, double thickness, double top, double height, double step,
                                      double reach, double left, double right) {
  std::vector<LabelBox> boxes;
  auto add = [&](double edge) {
    if (edge - thickness >= left && edge <= right) boxes.push_back({edge - thickness, top, thickness, height});
  };
  add(anchor);
  for (double d = step; d <= reach; d += step) {
    add(anchor + d);
    add(anchor - d);
  }
  return boxes;
}

double text_length(std::string_view utf8, double size) {
  double em = 0;
  for (unsigned char c : utf8)
    if (!continuation_byte(c)) em += glyph_width(c);
  return em * size;
}

std::string fitted_text(std::string_view utf8, double size, double room) {
  if (text_length(utf8, size) <= room) return std::string(utf8);
  double ellipsis = 1.0 * size;
  std::string out;
  double used = 0;
  for (size_t i = 0; i < utf8.size();) {
    size_t n = 1;
    while (i + n < utf8.size() && continuation_byte(static_cast<unsigned char>(utf8[i + n]))) ++n;
    double w = glyph_width(static_cast<unsigned char>(utf8[i])) * size;
    if (used + w + ellipsis > room) break;
    out.append(utf8.substr(i, n));
    used += w;
    i += n;
  }
  return out + "…";
}

}  // namespace lorvena
