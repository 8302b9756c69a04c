// Decompiling round trips: compile a pair, decompile the files, compile the
// decompiled pair, and every file must come back byte for byte; with and
// without the plan, on the example, the installer's pair, generated lines
// and the valid compiles of the fuzz corpus. Damaged files are named.
#include "tools/authoring/decompile.h"

#include <gtest/gtest.h>

#include <fstream>

#include "compiler/packing.h"
#include "descriptions/dati_linea.h"
#include "descriptions/dati_treno.h"
#include "disk/file_names.h"
#include "disk/scratch_dir.h"
#include "disk/system_disk.h"
#include "testing/example_pair.h"
#include "testing/random_pair.h"
#include "testing/scenario_generator.h"
#include "testing/test_files.h"
#include "testing/tool_run.h"
#include "tools/compiled/compiled_decode.h"
#include "tools/diagnosing/author_compile.h"

namespace lorvena {
namespace {

std::string plan_of(const Plan& p) {
  std::string bytes;
  pack_plan(p, [&](std::string_view piece) { bytes.append(piece); });
  return bytes;
}

// The compiled files of a pair, or nothing when the compile recorded an error.
std::optional<CompiledInput> compiled(const std::string& line, const std::string& train, bool plan,
                                      const std::string& name = "RIPA", const std::string& number = "77") {
  CompileResult r = compile_texts({".", name, number, plan, std::nullopt}, line, train);
  if (r.model.err_code != 0 || !r.fatal.empty() || r.model.track.empty()) return std::nullopt;
  CompiledInput in{name, number, track_bytes(r.model), table_bytes(r.model), std::nullopt};
  if (plan) in.plan = plan_of(r.model.profile);
  return in;
}

// Decompiles and compiles back: the mismatches, none when every byte is back.
std::vector<std::string> round_trip(const CompiledInput& in) {
  Decompiled d = decompile(in);
  std::optional<CompiledInput> again = compiled(d.line, d.train, in.plan.has_value(), in.name, in.train);
  if (!again) return {"the decompiled pair does not compile clean"};
  std::vector<std::string> m = d.mismatches;
  if (again->track != in.track || again->table != in.table || again->plan != in.plan) m.push_back("bytes differ");
  return m;
}

struct Pair {
  std::string name, line, train;
};

std::vector<Pair> pairs() {
  std::vector<Pair> list;
  std::filesystem::path ex = testing::examples_dir();
  list.push_back({"example", testing::read_bytes(ex / line_description_name(testing::kExampleName)),
                  testing::read_bytes(ex / train_description_name(testing::kExampleName, testing::kExampleTrain))});
  ScratchDir dir;
  SystemDisk disk;
  dati_linea(disk, dir.path(), "RIPA");
  dati_treno(disk, dir.path(), "RIPA", "77");
  list.push_back({"installer", testing::read_bytes(dir / line_description_name("RIPA")),
                  testing::read_bytes(dir / train_description_name("RIPA", "77"))});
  for (int32_t length : {testing::kShortestGeneratedLine, 20000, 120000}) {
    testing::GeneratedScenario g = testing::generate_scenario(length);
    list.push_back({"generated " + std::to_string(length), g.line, g.train});
  }
  return list;
}

TEST(Decompile, EveryPairComesBackByteForByteWithAndWithoutThePlan) {
  for (const Pair& p : pairs())
    for (bool plan : {true, false}) {
      std::optional<CompiledInput> in = compiled(p.line, p.train, plan);
      ASSERT_TRUE(in) << p.name;
      std::vector<std::string> m = round_trip(*in);
      EXPECT_TRUE(m.empty()) << p.name << " plan " << plan << ": " << (m.empty() ? "" : m.front());
    }
}

TEST(Decompile, TheValidCompilesOfTheFuzzCorpusComeBack) {
  std::filesystem::path corpus = std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() / "fuzz/corpus";
  int valid = 0, back = 0;
  for (const auto& f : std::filesystem::directory_iterator(corpus)) {
    std::string input = testing::read_bytes(f.path());
    size_t nul = input.find('\0', 1);
    if (input.empty() || (input[0] & 6) != 0 || nul == std::string::npos) continue;
    std::optional<CompiledInput> in =
        compiled(input.substr(1, nul - 1), input.substr(nul + 1), (input[0] & 1) != 0);
    if (!in) continue;
    ++valid;
    std::vector<std::string> m = round_trip(*in);
    if (m.empty()) ++back;
    else ADD_FAILURE() << f.path().filename() << ": " << m.front();
  }
  EXPECT_GT(valid, 0);
  std::cout << "fuzz corpus: " << back << " of " << valid << " valid compiles come back\n";
}

// The installer's pair decompiled through the command: in fmt's layout
// (fmt --check changes nothing), and no record past the line's end (check
// warns of none).
TEST(Decompile, WritesFmtsLayoutAndNothingPastTheEnd) {
  ScratchDir src, compiled, out;
  SystemDisk disk;
  dati_linea(disk, src.path(), "RIPA");
  dati_treno(disk, src.path(), "RIPA", "77");
  ASSERT_EQ(compile_copies(disk, {src.path(), "RIPA", "77", true, compiled.path()}).model.err_code, 0);
  testing::ToolRun d = testing::tool({"decompile", compiled.path().string(), "RIPA", "77", "--out", out.path().string()});
  ASSERT_EQ(d.status, 0) << d.err;
  testing::ToolRun fmt = testing::tool({"fmt", out.path().string(), "RIPA", "77", "--check"});
  EXPECT_EQ(fmt.status, 0) << fmt.out << fmt.err;
  testing::ToolRun check = testing::tool({"check", out.path().string(), "RIPA", "77"});
  EXPECT_EQ(check.out.find("W-past-end"), std::string::npos) << check.out;
  EXPECT_EQ(check.err.find("W-past-end"), std::string::npos) << check.err;
}

// Every random pair that compiles clean has a description (itself), so its
// files must come back whole: a "not reproduced" there is a false claim.
TEST(Decompile, RandomPairsThatCompileCleanComeBack) {
  constexpr uint64_t kFirstSeed = 1, kSeeds = 400;
  int clean = 0, back = 0;
  for (uint64_t seed = kFirstSeed; seed < kFirstSeed + kSeeds; ++seed) {
    testing::RandomPair p = testing::random_pair(seed);
    std::optional<CompiledInput> in = compiled(p.line, p.train, p.plan);
    if (!in) continue;
    ++clean;
    std::vector<std::string> m = round_trip(*in);
    if (m.empty()) ++back;
    else if (clean - back <= 10) ADD_FAILURE() << "seed " << seed << ": " << m.front();
  }
  std::cout << "random pairs: " << back << " of " << clean << " clean compiles come back (seeds " << kFirstSeed
            << " to " << kFirstSeed + kSeeds - 1 << ")\n";
  EXPECT_GE(clean, 150) << "too few random pairs compile clean to tell";
  EXPECT_EQ(back, clean);
}

TEST(Decompile, NamesThePlaceThatNoDescriptionGives) {
  const Pair example = pairs().front();
  std::optional<CompiledInput> clean = compiled(example.line, example.train, true);
  ASSERT_TRUE(clean);
  struct Case {
    size_t offset;
    char byte;
    bool table;
    std::string place;
  };
  // A cell of the unused kind 7 at cell 100; entry 0, which nothing writes.
  for (const Case& k : {Case{15 * 100, 7, false, "cell 100 (5000 m)"}, Case{0, 1, true, "entry 0"}}) {
    CompiledInput in = *clean;
    (k.table ? in.table : in.track)[k.offset] = k.byte;
    Decompiled d = decompile(in);
    ASSERT_FALSE(d.mismatches.empty()) << k.place;
    EXPECT_NE(d.mismatches.front().find(k.place), std::string::npos) << d.mismatches.front();
  }
  CompiledInput cut = *clean;
  cut.track.pop_back();
  EXPECT_THROW(decompile(cut), DecodeError);
}

}  // namespace
}  // namespace lorvena
