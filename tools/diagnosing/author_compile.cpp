#include "tools/diagnosing/author_compile.h"

#include "compiler/compiler.h"
#include "compiler/fatal_error.h"
#include "disk/file_names.h"
#include "disk/file_system.h"
#include "disk/memory_disk.h"
#include "tools/text/text_encoding.h"

namespace lorvena {
namespace fs = std::filesystem;

namespace {

// The compile's own folder on its memory disk.
const fs::path kScratch = "scratch";

std::string in_1252(const std::string& utf8) { return exact_1252_from_utf8(utf8).value_or(utf8); }

class ErrorList : public ErrorObserver {
 public:
  explicit ErrorList(std::vector<RecordedError>& list) : list_(list) {}
  void recorded(int32_t code, int32_t pos) override { list_.push_back({code, pos}); }

 private:
  std::vector<RecordedError>& list_;
};

// The compiled files' names as the compiler makes them and as the author
// names the pair.
std::vector<std::pair<std::string, std::string>> compiled_names(const Scenario& m, const CompileRequest& r) {
  return {{plan_file_name(m.scenario_name), plan_file_name(r.name)},
          {table_file_name(m.scenario_name, m.train_number), table_file_name(r.name, r.train)},
          {track_file_name(m.scenario_name, m.train_number), track_file_name(r.name, r.train)}};
}

// Only the descriptions' copies are read back, unless the compiled files are
// wanted too: a check keeps no bytes of a 20 MB plan.
MemoryDisk::Keeps kept_files(bool compiled_too, const std::string& name, const std::string& train) {
  if (compiled_too) return {};
  // Compared as the system holds names, made the way the compile makes its
  // paths: on Windows a name's bytes pass through the system's conversion.
  fs::path::string_type line = fs::path(line_description_name(name)).native();
  fs::path::string_type train_file = fs::path(train_description_name(name, train)).native();
  return [line, train_file](const fs::path& p) {
    fs::path::string_type file = p.filename().native();
    return file.starts_with(line) || file.starts_with(train_file);
  };
}

void collect_compiled(const MemoryDisk& memory, CompileResult& result, const CompileRequest& request) {
  for (const auto& [made_name, target_name] : compiled_names(result.model, request))
    if (const std::string* bytes = memory.bytes_of(join_path(kScratch, made_name)))
      result.compiled.emplace_back(target_name, *bytes);
}

// The compiled files take their places in `out`, then the folder is flushed.
void place_compiled(Disk& disk, CompileResult& result, const fs::path& out) {
  make_folders(disk, out);
  for (const auto& [name, bytes] : result.compiled) {
    fs::path target = join_path(out, name);
    replace_file(disk, target, bytes, Flush::kYes);
    result.written.push_back(target);
  }
  if (!result.written.empty()) sync_directory(disk, out);
}

}  // namespace

CompileResult compile_texts(const CompileRequest& request, const std::optional<std::string>& line,
                            const std::optional<std::string>& train) {
  CompileResult result;
  Scenario& m = result.model;
  m.scenario_name = in_1252(request.name);
  m.train_number = in_1252(request.train);
  result.line_found = line.has_value();
  result.train_found = train.has_value();
  result.line_text = line.value_or("");
  result.train_text = train.value_or("");
  MemoryDisk memory(kept_files(request.out.has_value(), m.scenario_name, m.train_number));
  if (line) replace_file(memory, join_path(kScratch, line_description_name(m.scenario_name)), *line, Flush::kNo);
  if (train)
    replace_file(memory, join_path(kScratch, train_description_name(m.scenario_name, m.train_number)), *train,
                 Flush::kNo);
  ErrorList errors(result.recorded);
  m.observer = &errors;
  try {
    result.markers = memorizza_percorso(memory, m, kScratch, request.plan ? 1 : 0, CompileMode::kCopies);
  } catch (const FatalError& fatal) {
    result.fatal = fatal.number();
  }
  m.observer = nullptr;
  if (request.out && result.fatal.empty()) collect_compiled(memory, result, request);
  return result;
}

CompileResult compile_copies(Disk& disk, const CompileRequest& request) {
  std::optional<std::string> line = read_file_if_there(disk, join_path(request.dir, line_description_name(request.name)));
  std::optional<std::string> train =
      read_file_if_there(disk, join_path(request.dir, train_description_name(request.name, request.train)));
  CompileResult result = compile_texts(request, line, train);
  if (request.out) place_compiled(disk, result, *request.out);
  return result;
}

}  // namespace lorvena
