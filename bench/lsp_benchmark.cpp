// The language server after an edit: the time from a change of the line
// description (a ranged change, as editors send it) to both files'
// diagnostics, on the installer's own pair and on a generated 1000 km pair,
// clean or with an error that takes a second compile to look past; and the
// resident memory of the process before and after 1,000 edits of the
// installer's pair.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <fstream>
#include <unistd.h>

#include "descriptions/dati_linea.h"
#include "descriptions/dati_treno.h"
#include "disk/file_names.h"
#include "disk/file_system.h"
#include "disk/scratch_dir.h"
#include "disk/system_disk.h"
#include "testing/scenario_generator.h"
#include "tools/lsp/document_uri.h"
#include "tools/lsp/lsp_server.h"
#include "tools/text/text_encoding.h"

namespace lorvena {
namespace {

using nlohmann::json;

constexpr const char* kName = "LORVENA PF";
constexpr const char* kTrain = "4316";

// The resident set in KiB, as the kernel counts it.
int64_t resident_kib() {
  std::ifstream statm("/proc/self/statm");
  int64_t size = 0, resident = 0;
  statm >> size >> resident;
  return resident * sysconf(_SC_PAGESIZE) / 1024;
}

// A server with the line description open; each edit adds or removes a line
// break at the end of the text, in turn.
class Session {
 public:
  // `mistake`: a curve with no radius class at the start of the curves.
  explicit Session(bool generated, bool mistake = false) {
    SystemDisk disk;
    if (generated) {
      testing::write_generated_scenario(testing::generate_scenario(1000000), dir_.path(), kName, kTrain);
    } else {
      dati_linea(disk, dir_.path(), kName);
      dati_treno(disk, dir_.path(), kName, kTrain);
    }
    std::string line = read_file(disk, dir_ / line_description_name(kName));
    uri_ = path_uri(dir_ / line_description_name(kName));
    std::string text = utf8_from_1252(line);
    if (mistake) text.insert(text.find('\n', text.find("[curve]")) + 1, "curvad,  100,  50\r\n");
    end_ = {{"line", std::count(text.begin(), text.end(), '\n')}, {"character", text.size() - text.rfind('\n') - 1}};
    send({{"id", 1}, {"method", "initialize"}, {"params", json::object()}});
    send({{"method", "textDocument/didOpen"},
          {"params", {{"textDocument", {{"uri", uri_}, {"languageId", "x"}, {"version", 0}, {"text", text}}}}}});
  }

  // One edit; the number of diagnostics published for it (both files).
  size_t edit() {
    ++version_;
    published_ = 0;
    json added = {{"line", end_["line"].get<int64_t>() + 1}, {"character", 0}};
    json range = version_ % 2 == 1 ? json{{"start", end_}, {"end", end_}} : json{{"start", end_}, {"end", added}};
    send({{"method", "textDocument/didChange"},
          {"params", {{"textDocument", {{"uri", uri_}, {"version", version_}}},
                      {"contentChanges", json::array({{{"range", range}, {"text", version_ % 2 == 1 ? "\n" : ""}}})}}}});
    return published_;
  }

 private:
  void send(json m) {
    m["jsonrpc"] = "2.0";
    server_.handle(m.dump());
  }

  ScratchDir dir_;
  SystemDisk disk_;
  std::ostringstream log_;
  size_t published_ = 0;
  LspServer server_{disk_,
                    [this](const json& m) {
                      if (m.value("method", "") == "textDocument/publishDiagnostics")
                        published_ += m["params"]["diagnostics"].size();
                    },
                    log_};
  std::string uri_;
  json end_;  // the end of the text as opened
  int version_ = 0;
};

void BM_EditInstallerPair(benchmark::State& state) {
  Session session(false);
  size_t found = 0;
  for (auto _ : state) found = session.edit();
  state.counters["diagnostics"] = static_cast<double>(found);
}
BENCHMARK(BM_EditInstallerPair)->Unit(benchmark::kMillisecond);

void BM_EditGenerated1000km(benchmark::State& state) {
  Session session(true);
  size_t found = 0;
  for (auto _ : state) found = session.edit();
  state.counters["diagnostics"] = static_cast<double>(found);
}
BENCHMARK(BM_EditGenerated1000km)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_EditInstallerPairWithError(benchmark::State& state) {
  Session session(false, true);
  size_t found = 0;
  for (auto _ : state) found = session.edit();
  state.counters["diagnostics"] = static_cast<double>(found);
}
BENCHMARK(BM_EditInstallerPairWithError)->Unit(benchmark::kMillisecond);

void BM_EditGenerated1000kmWithError(benchmark::State& state) {
  Session session(true, true);
  size_t found = 0;
  for (auto _ : state) found = session.edit();
  state.counters["diagnostics"] = static_cast<double>(found);
}
BENCHMARK(BM_EditGenerated1000kmWithError)->Unit(benchmark::kMillisecond)->Iterations(10);

// Resident memory at the start and after 1,000 edits of the installer's pair.
void BM_ResidentAfter1000Edits(benchmark::State& state) {
  for (auto _ : state) {
    Session session(false);
    session.edit();
    int64_t start = resident_kib();
    for (int i = 0; i < 1000; ++i) session.edit();
    int64_t end = resident_kib();
    state.counters["rss_start_kib"] = static_cast<double>(start);
    state.counters["rss_end_kib"] = static_cast<double>(end);
  }
}
BENCHMARK(BM_ResidentAfter1000Edits)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace
}  // namespace lorvena

BENCHMARK_MAIN();
