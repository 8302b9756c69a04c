#include "tools/diagnosing/author_compile.h"

#include "compiler/compiler.h"
#include "compiler/fatal_error.h"
#include "disk/file_names.h"
#include "disk/file_system.h"
#include "disk/scratch_dir.h"
#include "tools/text/text_encoding.h"

namespace lorvena {
namespace fs = std::filesystem;

namespace {

// The author's description, or nothing when it is missing (the compiler then
// reports it as the installer would).
std::optional<std::string> read_description_file(Disk& disk, const fs::path& path) {
  if (!file_exists(disk, path)) return std::nullopt;
  return read_file(disk, path);
}

std::string in_1252(const std::string& utf8) { return exact_1252_from_utf8(utf8).value_or(utf8); }

class ErrorList : public ErrorObserver {
 public:
  explicit ErrorList(std::vector<RecordedError>& list) : list_(list) {}
  void recorded(int32_t code, int32_t pos) override { list_.push_back({code, pos}); }

 private:
  std::vector<RecordedError>& list_;
};

// Writes the texts into `scratch` under the names the compiler looks for, and
// compiles them there.
void compile_in(Disk& disk, CompileResult& result, const CompileRequest& request, const fs::path& scratch,
                const std::optional<std::string>& line, const std::optional<std::string>& train) {
  Scenario& m = result.model;
  m.scenario_name = in_1252(request.name);
  m.train_number = in_1252(request.train);
  result.line_found = line.has_value();
  result.train_found = train.has_value();
  result.line_text = line.value_or("");
  result.train_text = train.value_or("");
  if (line) replace_file(disk, join_path(scratch, line_description_name(m.scenario_name)), *line, Flush::kNo);
  if (train)
    replace_file(disk, join_path(scratch, train_description_name(m.scenario_name, m.train_number)), *train, Flush::kNo);
  ErrorList errors(result.recorded);
  m.observer = &errors;
  try {
    result.markers = memorizza_percorso(disk, m, scratch, request.plan ? 1 : 0, CompileMode::kCopies);
  } catch (const FatalError& fatal) {
    result.fatal = fatal.number();
  }
  m.observer = nullptr;
}

// The compiled files' names in the scratch directory (as the compiler names
// them) and in the author's directory (as the author names the pair).
std::vector<std::pair<std::string, std::string>> compiled_names(const Scenario& m, const CompileRequest& r) {
  std::vector<std::pair<std::string, std::string>> names;
  if (m.write_profile != 0) names.emplace_back(plan_file_name(m.scenario_name), plan_file_name(r.name));
  names.emplace_back(table_file_name(m.scenario_name, m.train_number), table_file_name(r.name, r.train));
  names.emplace_back(track_file_name(m.scenario_name, m.train_number), track_file_name(r.name, r.train));
  return names;
}

void place_compiled(Disk& disk, CompileResult& result, const CompileRequest& request, const fs::path& scratch) {
  const fs::path& out = *request.out;
  std::error_code ec;
  fs::create_directories(out, ec);  // a failure shows in the first write
  for (const auto& [made_name, target_name] : compiled_names(result.model, request)) {
    fs::path made = join_path(scratch, made_name);
    if (!file_exists(disk, made)) continue;
    fs::path target = join_path(out, target_name);
    replace_file(disk, target, read_file(disk, made), Flush::kYes);
    result.written.push_back(target);
  }
}

}  // namespace

CompileResult compile_copies(Disk& disk, const CompileRequest& request) {
  CompileResult result;
  ScratchDir scratch;
  compile_in(disk, result, request, scratch.path(),
             read_description_file(disk, join_path(request.dir, line_description_name(request.name))),
             read_description_file(disk, join_path(request.dir, train_description_name(request.name, request.train))));
  if (result.fatal.empty() && request.out) place_compiled(disk, result, request, scratch.path());
  return result;
}

CompileResult compile_texts(Disk& disk, const CompileRequest& request, const std::optional<std::string>& line_text,
                            const std::optional<std::string>& train_text) {
  CompileResult result;
  ScratchDir scratch;
  compile_in(disk, result, request, scratch.path(), line_text, train_text);
  return result;
}

}  // namespace lorvena
