#include "compiler/model.h"

#include <gtest/gtest.h>

namespace lorvena {
namespace {

TEST(Model, TrackSizeRoundsHalvesToEven) {
  struct Case {
    int64_t length;
    int64_t upper_bound;
  };
  const Case cases[] = {{25, 140}, {75, 142}, {93000, 2000}, {0, 140}, {1000000, 20140}};
  for (const Case& c : cases) EXPECT_EQ(track_upper_bound_for(c.length), c.upper_bound) << c.length;
}

TEST(Model, SizingAllocatesProfileOnlyWhenAsked) {
  Scenario model;
  model.write_profile = 0;
  size_model(model, 25);
  EXPECT_EQ(model.track.size(), 141u);
  EXPECT_TRUE(model.profile.x.empty());
  model.write_profile = 1;
  size_model(model, 25);
  EXPECT_EQ(model.profile.upper_bound(), 7025);
  EXPECT_EQ(model.profile.y.size(), 7026u);
}

TEST(Model, ClearTableEmptiesEveryEntry) {
  Scenario model;
  model.table[0].nome = "x";
  model.table[86].ora = 5;
  model.table[40].flag5 = 1;
  clear_table(model);
  for (const TableEntry& e : model.table) {
    EXPECT_EQ(e.nome, "");
    EXPECT_EQ(e.ora + e.inizio + e.fine + e.posizione + e.val1 + e.val5 + e.flag5 + e.tipo, 0);
  }
}

TEST(Model, NearestRoundsHalvesToEven) {
  EXPECT_EQ(nearest(0.5), 0);
  EXPECT_EQ(nearest(1.5), 2);
  EXPECT_EQ(nearest(2.5), 2);
  EXPECT_EQ(nearest(-2.5), -2);
  EXPECT_EQ(nearest(2.51), 3);
}

}  // namespace
}  // namespace lorvena
