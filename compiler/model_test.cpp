#include "compiler/model.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "testing/compile_fixture.h"

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

// Every file a compile leaves in its directory, by name.
std::map<std::string, std::string> files_in(const std::filesystem::path& dir) {
  std::map<std::string, std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(dir))
    files[entry.path().filename().string()] = testing::read_bytes(entry.path());
  return files;
}

// A process that compiles many times (a language server does) must get what
// a fresh process gets: nothing of one compile may leak into the next. The
// mountains are close together, so a count left over changes their kinds.
TEST(Model, RepeatedCompilesInOneProcessMatchFreshCompiles) {
  const std::string a = testing::line_text("montagna, 100, 1000, 1\r\nmontagna, 1100, 2000, 12\r\n");
  const std::string b = testing::line_text("montagna, 3000, 3500, 2\r\n", 6000);
  const std::string train = testing::train_text("velocita, 0, 85\r\naderenza, 0, 90\r\n");
  testing::CompileFixture fresh_a, fresh_b, repeated;
  fresh_a.compile(a, train);
  fresh_b.compile(b, train);
  ASSERT_EQ(fresh_a.model.err_code, 0);
  ASSERT_EQ(fresh_b.model.err_code, 0);
  const auto expected_a = files_in(fresh_a.dir.path());
  const auto expected_b = files_in(fresh_b.dir.path());
  ASSERT_NE(expected_a, expected_b);

  const std::pair<const std::string*, const std::map<std::string, std::string>*> order[] = {
      {&a, &expected_a}, {&b, &expected_b}, {&a, &expected_a}};
  for (int n = 0; n < 3; ++n) {
    repeated.compile(*order[n].first, train);
    EXPECT_EQ(repeated.model.err_code, 0) << "compile " << n + 1;
    EXPECT_EQ(repeated.model.mountain_count, n == 1 ? 1 : 2) << "compile " << n + 1;
    EXPECT_TRUE(files_in(repeated.dir.path()) == *order[n].second) << "compile " << n + 1;
  }
}

}  // namespace
}  // namespace lorvena
