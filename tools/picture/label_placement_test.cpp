#include "tools/picture/label_placement.h"

#include <gtest/gtest.h>

namespace lorvena {
namespace {

// Forty labels crowding one lane 200 units wide: the placed ones never meet,
// every label is either placed or counted once at a placed one.
TEST(LabelPlacement, CrowdedLaneLeavesNoOverlapAndCountsEveryLabelLeftOut) {
  std::vector<std::vector<LabelBox>> candidates;
  std::vector<double> anchors;
  for (int k = 0; k < 40; ++k) {
    double x = 100 + k * 2.5;
    candidates.push_back(lane_candidates(x, 12, 0, 80, 2, 30, 0, 200));
    anchors.push_back(x);
  }
  std::vector<int> chosen = place_labels(candidates);
  std::vector<LabelBox> placed;
  for (size_t k = 0; k < chosen.size(); ++k)
    if (chosen[k] >= 0) placed.push_back(candidates[k][size_t(chosen[k])]);
  ASSERT_GT(placed.size(), 3u);
  ASSERT_LT(placed.size(), 40u);
  for (size_t a = 0; a < placed.size(); ++a)
    for (size_t b = a + 1; b < placed.size(); ++b) EXPECT_FALSE(boxes_overlap(placed[a], placed[b])) << a << " " << b;
  std::vector<int> counts = left_out_counts(anchors, chosen);
  int total = 0;
  for (size_t k = 0; k < counts.size(); ++k) {
    if (chosen[k] < 0) {
      EXPECT_EQ(counts[k], 0);
    }
    total += counts[k];
  }
  EXPECT_EQ(total + int(placed.size()), 40);
}

// Two boxes meet when less than the 1.5-unit gap lies between them, on each
// axis and whichever of the two comes first.
TEST(LabelPlacement, BoxesMeetWithinTheGapOnBothAxes) {
  const LabelBox a{0, 0, 10, 10};
  struct Case {
    LabelBox b;
    bool meet;
  };
  const Case cases[] = {
      {{0, 0, 10, 10}, true},     {{5, 5, 2, 2}, true},        // the same box, one inside
      {{11, 0, 10, 10}, true},    {{11.5, 0, 10, 10}, false},  // to the right
      {{0, 11, 10, 10}, true},    {{0, 11.5, 10, 10}, false},  // below
      {{11, 11, 10, 10}, true},   {{11, 11.5, 10, 10}, false}, // diagonally
      {{-11, 0, 10, 10}, true},   {{0, -11.5, 10, 10}, false}, // to the left, above
      {{0, 30, 10, 10}, false},   {{30, 0, 10, 10}, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(boxes_overlap(a, c.b), c.meet) << c.b.x << "," << c.b.y;
    EXPECT_EQ(boxes_overlap(c.b, a), c.meet) << c.b.x << "," << c.b.y;
  }
}

TEST(LabelPlacement, ALabelTakesItsOwnPlaceWhenFreeAndAvoidsTakenBoxes) {
  std::vector<std::vector<LabelBox>> candidates = {lane_candidates(50, 10, 0, 40, 2, 20, 0, 100)};
  EXPECT_EQ(place_labels(candidates), std::vector<int>{0});
  std::vector<int> chosen = place_labels(candidates, {{35, 0, 20, 40}});
  ASSERT_GE(chosen[0], 0);
  EXPECT_FALSE(boxes_overlap(candidates[0][size_t(chosen[0])], {35, 0, 20, 40}));
  EXPECT_EQ(place_labels(candidates, {{0, 0, 100, 40}}), std::vector<int>{-1});
  // A box that reaches the lane's edge exactly is inside it, on either side.
  for (double anchor : {10.0, 100.0}) {
    std::vector<LabelBox> at_edge = lane_candidates(anchor, 10, 0, 40, 4, 8, 0, 100);
    ASSERT_EQ(at_edge.size(), 3u) << anchor;
    EXPECT_EQ(at_edge[0].x, anchor - 10) << anchor;
  }
}

TEST(LabelPlacement, TextsAreCutToTheirRoomOnWholeCharacters) {
  EXPECT_EQ(fitted_text("PIANELLO", 10, 200), "PIANELLO");
  EXPECT_EQ(fitted_text("PIANELLO", 10, text_length("PIANELLO", 10)), "PIANELLO");  // just room for it
  std::string cut = fitted_text("CITTÀ DI SOPRA", 10, 50);
  EXPECT_LE(text_length(cut, 10), 50);
  EXPECT_EQ(cut.substr(cut.size() - 3), "…");
  EXPECT_TRUE(cut.find("\xC3") == std::string::npos || cut.find("À") != std::string::npos);
}

}  // namespace
}  // namespace lorvena
