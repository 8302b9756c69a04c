// What the drivability checks and the fastest run add to `check` on a
// generated 1000 km pair: the run alone, the timetable printed from it, and
// every check of the compiled line (cells, names, slowdown braking, the
// timetable's warnings), each on a compile made once beforehand. CPU time.
#include <benchmark/benchmark.h>

#include "disk/file_names.h"
#include "disk/scratch_dir.h"
#include "disk/system_disk.h"
#include "testing/scenario_generator.h"
#include "tools/diagnosing/author_compile.h"
#include "tools/diagnosing/cell_drivability.h"
#include "tools/diagnosing/description_lint.h"
#include "tools/diagnosing/timetable_checks.h"
#include "tools/timetable/timetable.h"

namespace lorvena {
namespace {

constexpr const char* kName = "LINEA LUNGA";
constexpr const char* kTrain = "1000";

struct Compiled {
  ScratchDir dir;
  CompileResult result;
  DescriptionLint line;
  DescriptionLint train;

  Compiled() {
    testing::write_generated_scenario(testing::generate_scenario(1000000), dir.path(), kName, kTrain);
    SystemDisk disk;
    result = compile_copies(disk, {dir.path(), kName, kTrain, false, std::nullopt});
    line = lint_line(result.line_text, line_description_name(kName), false);
    train = lint_train(result.train_text, train_description_name(kName, kTrain));
  }
};

Compiled& compiled() {
  static Compiled c;
  return c;
}

void FastestRun1000km(benchmark::State& state) {
  const Scenario& m = compiled().result.model;
  for (auto _ : state) benchmark::DoNotOptimize(fastest_run(m));
}

void Timetable1000km(benchmark::State& state) {
  const Scenario& m = compiled().result.model;
  for (auto _ : state) benchmark::DoNotOptimize(timetable_text(m, fastest_run(m)));
}

// All that `check` runs beyond what it ran before these checks.
void DrivingChecks1000km(benchmark::State& state) {
  Compiled& c = compiled();
  const Scenario& m = c.result.model;
  for (auto _ : state) {
    std::vector<Diagnostic> out = check_cells(m, c.line, c.train);
    for (const DescriptionLint* lint : {&c.line, &c.train}) benchmark::DoNotOptimize(check_names(*lint));
    benchmark::DoNotOptimize(check_slowdown_braking(m, c.train));
    benchmark::DoNotOptimize(check_timetable(m, fastest_run(m), c.train));
    benchmark::DoNotOptimize(out);
  }
}

BENCHMARK(FastestRun1000km)->Unit(benchmark::kMillisecond);
BENCHMARK(Timetable1000km)->Unit(benchmark::kMillisecond);
BENCHMARK(DrivingChecks1000km)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lorvena

BENCHMARK_MAIN();
