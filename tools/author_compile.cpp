#include "tools/author_compile.h"

#include "compiler/compiler.h"
#include "compiler/errore.h"
#include "files/file_system.h"
#include "files/scenario_files.h"
#include "files/scratch_dir.h"

namespace lorvena {
namespace fs = std::filesystem;

namespace {

// The author's description, or nothing when it is missing (the compiler then
// reports it as the installer would).
std::optional<std::string> read_description_file(const fs::path& dir, const std::string& name) {
  fs::path source = join_path(dir, name);
  if (!file_exists(source)) return std::nullopt;
  return read_file(source);
}

class ErrorList : public ErrorObserver {
 public:
  explicit ErrorList(std::vector<RecordedError>& list) : list_(list) {}
  void recorded(int32_t code, int32_t pos) override { list_.push_back({code, pos}); }

 private:
  std::vector<RecordedError>& list_;
};

// Writes the texts into `scratch` and compiles them there.
void compile_in(CompileResult& result, const fs::path& scratch, bool plan, const std::optional<std::string>& line,
                const std::optional<std::string>& train) {
  Scenario& m = result.model;
  result.line_found = line.has_value();
  result.train_found = train.has_value();
  result.line_text = line.value_or("");
  result.train_text = train.value_or("");
  if (line) replace_file(join_path(scratch, line_description_name(m.scenario_name)), *line);
  if (train) replace_file(join_path(scratch, train_description_name(m.scenario_name, m.train_number)), *train);
  ErrorList errors(result.recorded);
  m.observer = &errors;
  try {
    result.markers = memorizza_percorso(m, scratch, plan ? 1 : 0);
  } catch (const FatalError& fatal) {
    result.fatal = fatal.number();
  }
  m.observer = nullptr;
}

std::vector<std::string> compiled_names(const Scenario& m) {
  std::vector<std::string> names;
  if (m.write_profile != 0) names.push_back(plan_file_name(m.scenario_name));
  names.push_back(table_file_name(m.scenario_name, m.train_number));
  names.push_back(track_file_name(m.scenario_name, m.train_number));
  return names;
}

void place_compiled(CompileResult& result, const fs::path& scratch, const fs::path& out) {
  std::error_code ec;
  fs::create_directories(out, ec);  // a failure shows in the first write
  for (const std::string& name : compiled_names(result.model)) {
    fs::path made = join_path(scratch, name);
    if (!file_exists(made)) continue;
    fs::path target = join_path(out, name);
    replace_file(target, read_file(made));
    result.written.push_back(target);
  }
}

}  // namespace

CompileResult compile_copies(const CompileRequest& request) {
  CompileResult result;
  result.model.scenario_name = request.name;
  result.model.train_number = request.train;
  ScratchDir scratch;
  compile_in(result, scratch.path(), request.plan, read_description_file(request.dir, line_description_name(request.name)),
             read_description_file(request.dir, train_description_name(request.name, request.train)));
  if (result.fatal.empty() && request.out) place_compiled(result, scratch.path(), *request.out);
  return result;
}

CompileResult compile_texts(const std::string& name, const std::string& train, bool plan,
                            const std::optional<std::string>& line_text, const std::optional<std::string>& train_text) {
  CompileResult result;
  result.model.scenario_name = name;
  result.model.train_number = train;
  ScratchDir scratch;
  compile_in(result, scratch.path(), plan, line_text, train_text);
  return result;
}

}  // namespace lorvena
