// The kept seeds of the decompile fuzz target (fuzz/decompile_corpus, made by
// fuzz/make_decompile_seeds.py) still reach what they were made for: whole
// compiles come back, a cut plan and a hand-set cell are named, and files
// that are not compiled files end in the decode error.
#include <gtest/gtest.h>

#include "fuzz/decompile_input.h"
#include "testing/test_files.h"
#include "tools/authoring/decompile.h"
#include "tools/compiled/compiled_decode.h"

namespace lorvena {
namespace {

TEST(DecompileCorpus, EverySeedReachesItsCase) {
  std::filesystem::path corpus =
      std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() / "fuzz/decompile_corpus";
  struct Case {
    const char* seed;
    const char* named;  // "": comes back byte for byte; nullptr: a decode error
  };
  const Case cases[] = {{"starter_without_plan", ""},
                        {"example_without_plan", ""},
                        {"starter_plan_first_2000_m", "plan (_linea.dat)"},
                        {"starter_cell_of_unused_kind", "cell 40 (2000 m)"},
                        {"starter_table_cut_short", nullptr},
                        {"starter_track_not_whole_cells", nullptr}};
  size_t files = std::distance(std::filesystem::directory_iterator(corpus), {});
  EXPECT_EQ(files, std::size(cases)) << "a seed without a case here";
  for (const Case& c : cases) {
    std::optional<CompiledInput> in = fuzz::decompile_input(testing::read_bytes(corpus / c.seed));
    ASSERT_TRUE(in) << c.seed;
    if (c.named == nullptr) {
      EXPECT_THROW(decompile(*in), DecodeError) << c.seed;
      continue;
    }
    Decompiled d = decompile(*in);
    std::string all;
    for (const std::string& m : d.mismatches) all += m + "\n";
    if (*c.named == '\0') EXPECT_EQ(all, "") << c.seed;
    else EXPECT_NE(all.find(c.named), std::string::npos) << c.seed << ": " << all;
  }
}

}  // namespace
}  // namespace lorvena
