// Generated description pairs of several lengths compile with no recorded
// error, place every marker the layout plans and fill the table as far as it
// allows.
#include <gtest/gtest.h>

#include "compiler/placement.h"
#include "testing/compile_fixture.h"
#include "testing/scenario_generator.h"

namespace lorvena {
namespace {

using testing::CompileFixture;
using testing::generate_scenario;

class GeneratedScenarioTest : public ::testing::TestWithParam<int32_t> {};

TEST_P(GeneratedScenarioTest, CompilesCleanAndPlacesEveryMarker) {
  int32_t length = GetParam();
  testing::GeneratedScenario g = generate_scenario(length);
  ASSERT_GT(g.blocks, 0);

  CompileFixture f;
  int placed = f.compile(g.line, g.train);

  EXPECT_EQ(f.model.err_code, 0) << "at " << f.model.err_pos << " m";
  EXPECT_EQ(placed, g.markers);
  EXPECT_EQ(f.model.table[kLineEntry].fine, length);
  for (int s = 1; s <= g.stations; ++s) EXPECT_EQ(f.model.table[s].nome, "POSTO " + std::to_string(s));
  EXPECT_EQ(f.model.table[g.stations + 1].nome, "");
  EXPECT_EQ(f.model.next_sign_slot, kFirstSignSlot - g.signs);

  int slowdowns = 0, signals = 0, markers = 0;
  for (const TrackCell& c : f.model.track) {
    slowdowns += c.kind == cell_kind::kSlowdownStart;
    signals += c.kind == cell_kind::kSignal;
    markers += c.kind == cell_kind::kMarker && c.param1 == kMarkerValue;
  }
  EXPECT_EQ(slowdowns, g.blocks);
  EXPECT_EQ(signals, 2 * g.blocks);
  EXPECT_EQ(markers, g.markers);
  EXPECT_GT(f.model.profile.next, int64_t{length} / 2) << "the curves drew the plan";
  EXPECT_TRUE(f.exists("LORVENA PF_linea.dat"));
  EXPECT_FALSE(f.exists("LORVENA PF_linea.txt"));
}

INSTANTIATE_TEST_SUITE_P(Lengths, GeneratedScenarioTest,
                         ::testing::Values(testing::kShortestGeneratedLine, 21750, 100000, 1000000));

TEST(GeneratedScenario, LongLinesFillTheTable) {
  testing::GeneratedScenario g = generate_scenario(1000000);
  EXPECT_EQ(g.stations + g.signs, 78);
  EXPECT_EQ(generate_scenario(1000000).train, g.train);
}

}  // namespace
}  // namespace lorvena
