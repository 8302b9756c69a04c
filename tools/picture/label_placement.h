// Where the labels of a picture go so that no two overlap: each label brings
// the boxes it may take, its mark's own place first; a label that finds none
// free is left out, and counted at the nearest label that was placed.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lorvena {

struct LabelBox {
  double x = 0, y = 0, w = 0, h = 0;  // the box's top left corner and size
};

bool boxes_overlap(const LabelBox& a, const LabelBox& b);

// For each label in turn, the index of the first of its candidate boxes that
// meets neither a box in `taken` nor one chosen before it, or -1.
std::vector<int> place_labels(const std::vector<std::vector<LabelBox>>& candidates, std::vector<LabelBox> taken = {});

// For each label, how many left-out labels (chosen -1) have it as the placed
// label nearest to their anchor; 0 for the left-out ones themselves.
std::vector<int> left_out_counts(const std::vector<double>& anchors, const std::vector<int>& chosen);

// A vertical label's boxes in a lane: `thickness` wide, filling the lane from
// `top` down `height`, first at `anchor` (the box's right edge), then shifted
// by `step` to either side as far as `reach`, kept within [left, right].
std::vector<LabelBox> lane_candidates(double anchor, double thickness, double top, double height, double step,
                                      double reach, double left, double right);

// The drawn length of a UTF-8 text at a font size, a little generous for the
// sans-serif fonts the pictures ask for.
double text_length(std::string_view utf8, double size);

// The longest start of `utf8` (whole characters) that `text_length` finds
// within `room`, with "…" when it was cut.
std::string fitted_text(std::string_view utf8, double size, double room);

}  // namespace lorvena
