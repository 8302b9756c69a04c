// Timings of the scenario compile with the plan on: the run's own scenario
// and generated lines of 100, 300 and 1000 km, whole and by stage (reading
// both descriptions, the placement walk, packing and writing the files).
#include <benchmark/benchmark.h>

#include <filesystem>

#include "compiler/compiler.h"
#include "compiler/integrity_codes.h"
#include "compiler/packing.h"
#include "compiler/placement.h"
#include "compiler/readers.h"
#include "descriptions/dati_linea.h"
#include "descriptions/dati_treno.h"
#include "disk/file_names.h"
#include "disk/file_system.h"
#include "testing/scenario_generator.h"
#include "testing/test_files.h"

namespace lorvena {
namespace {

using testing::generate_scenario;
using testing::GeneratedScenario;

Scenario fresh_model() {
  Scenario m;
  m.scenario_name = "LORVENA PF";
  m.train_number = "4316";
  return m;
}

void write_pair(const GeneratedScenario& g, const ScratchDir& dir) {
  testing::write_generated_scenario(g, dir.path(), "LORVENA PF", "4316");
}

int64_t compiled_bytes(const Scenario& m, const ScratchDir& dir) {
  namespace fs = std::filesystem;
  return static_cast<int64_t>(fs::file_size(dir / plan_file_name(m.scenario_name)) +
                              fs::file_size(dir / table_file_name(m.scenario_name, m.train_number)) +
                              fs::file_size(dir / track_file_name(m.scenario_name, m.train_number)));
}

// Every iteration writes into a directory without compiled files, as a first
// run does: replacing a file would add the file system's flush of the new
// data that a rename over an existing file triggers.
void remove_compiled_files(const Scenario& m, const ScratchDir& dir) {
  SystemDisk disk;
  remove_file(disk, dir / plan_file_name(m.scenario_name));
  remove_file(disk, dir / table_file_name(m.scenario_name, m.train_number));
  remove_file(disk, dir / track_file_name(m.scenario_name, m.train_number));
}

// Time per compile and compiled bytes written per second.
void report_bytes(benchmark::State& state, int64_t bytes) {
  state.SetBytesProcessed(state.iterations() * bytes);
  state.counters["bytes_written"] = static_cast<double>(bytes);
}

// The model as the readers leave it, from a pair written into `dir`.
Scenario read_model(const GeneratedScenario& g, const ScratchDir& dir) {
  SystemDisk disk;
  Scenario m = fresh_model();
  write_pair(g, dir);
  start_compile(m, 1);
  memorizza_dati(disk, m, dir.path(), CompileMode::kCopies);
  return m;
}

void BM_Compile(benchmark::State& state) {
  SystemDisk disk;
  GeneratedScenario g = generate_scenario(static_cast<int32_t>(state.range(0)));
  ScratchDir dir;
  Scenario m = fresh_model();
  for (auto _ : state) {
    state.PauseTiming();
    remove_compiled_files(m, dir);
    write_pair(g, dir);
    state.ResumeTiming();
    memorizza_percorso(disk, m, dir.path(), 1, CompileMode::kCopies);
  }
  if (m.err_code != 0) state.SkipWithError("the generated pair recorded an error");
  report_bytes(state, compiled_bytes(m, dir));
}

// The run's own scenario: the descriptions its writers produce.
void BM_CompileRunScenario(benchmark::State& state) {
  SystemDisk disk;
  ScratchDir dir;
  Scenario m = fresh_model();
  for (auto _ : state) {
    state.PauseTiming();
    remove_compiled_files(m, dir);
    dati_linea(disk, dir.path(), m.scenario_name);
    dati_treno(disk, dir.path(), m.scenario_name, m.train_number);
    state.ResumeTiming();
    memorizza_percorso(disk, m, dir.path(), 1, CompileMode::kCopies);
  }
  if (m.err_code != 0) state.SkipWithError("the run's descriptions recorded an error");
  report_bytes(state, compiled_bytes(m, dir));
}

void BM_StageRead(benchmark::State& state) {
  SystemDisk disk;
  GeneratedScenario g = generate_scenario(static_cast<int32_t>(state.range(0)));
  ScratchDir dir;
  Scenario m = fresh_model();
  for (auto _ : state) {
    state.PauseTiming();
    write_pair(g, dir);
    start_compile(m, 1);
    state.ResumeTiming();
    memorizza_dati(disk, m, dir.path(), CompileMode::kCopies);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(g.line.size() + g.train.size()));
}

void BM_StageWalk(benchmark::State& state) {
  ScratchDir dir;
  Scenario base = read_model(generate_scenario(static_cast<int32_t>(state.range(0))), dir);
  Scenario m = base;
  for (auto _ : state) {
    state.PauseTiming();
    m.track = base.track;
    state.ResumeTiming();
    benchmark::DoNotOptimize(place_markers(m));
  }
}

// Packing alone: the pieces go to a sink that only counts them.
void BM_StagePack(benchmark::State& state) {
  ScratchDir dir;
  Scenario m = read_model(generate_scenario(static_cast<int32_t>(state.range(0))), dir);
  place_markers(m);
  stamp_codes(m);
  int64_t bytes = 0;
  ByteSink count = [&bytes](std::string_view piece) {
    benchmark::DoNotOptimize(piece.data());
    bytes += static_cast<int64_t>(piece.size());
  };
  for (auto _ : state) {
    bytes = 0;
    pack_plan(m.profile, count);
    pack_table(m, count);
    pack_track(m, count);
  }
  report_bytes(state, bytes);
}

void BM_StageWrite(benchmark::State& state) {
  SystemDisk disk;
  ScratchDir dir;
  Scenario m = read_model(generate_scenario(static_cast<int32_t>(state.range(0))), dir);
  place_markers(m);
  stamp_codes(m);
  for (auto _ : state) {
    state.PauseTiming();
    remove_compiled_files(m, dir);
    state.ResumeTiming();
    write_compiled_files(disk, m, dir.path(), Flush::kNo);
  }
  report_bytes(state, compiled_bytes(m, dir));
}

void lengths(benchmark::internal::Benchmark* b) {
  b->ArgName("L")->Arg(100000)->Arg(300000)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();
}

BENCHMARK(BM_CompileRunScenario)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Compile)->Apply(lengths);
BENCHMARK(BM_StageRead)->Apply(lengths);
BENCHMARK(BM_StageWalk)->Apply(lengths)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StagePack)->Apply(lengths);
BENCHMARK(BM_StageWrite)->Apply(lengths);

}  // namespace
}  // namespace lorvena

BENCHMARK_MAIN();
