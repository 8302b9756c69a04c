#include "tools/author_compile.h"

#include "compiler/compiler.h"
#include "compiler/errore.h"
#include "files/file_system.h"
#include "files/scenario_files.h"
#include "files/scratch_dir.h"

namespace lorvena {
namespace fs = std::filesystem;

namespace {

// Copies the author's description into the scratch directory; a missing one
// stays missing so that the compiler reports it as the installer would.
std::string copy_description(Disk& disk, const fs::path& from_dir, const fs::path& to_dir,
                             const std::string& name) {
  fs::path source = join_path(from_dir, name);
  if (!file_exists(disk, source)) return {};
  std::string text = read_file(disk, source);
  replace_file(disk, join_path(to_dir, name), text, Flush::kNo);
  return text;
}

std::vector<std::string> compiled_names(const Scenario& m) {
  std::vector<std::string> names;
  if (m.write_profile != 0) names.push_back(plan_file_name(m.scenario_name));
  names.push_back(table_file_name(m.scenario_name, m.train_number));
  names.push_back(track_file_name(m.scenario_name, m.train_number));
  return names;
}

void place_compiled(Disk& disk, CompileResult& result, const fs::path& scratch, const fs::path& out) {
  std::error_code ec;
  fs::create_directories(out, ec);  // a failure shows in the first write
  for (const std::string& name : compiled_names(result.model)) {
    fs::path made = join_path(scratch, name);
    if (!file_exists(disk, made)) continue;
    fs::path target = join_path(out, name);
    replace_file(disk, target, read_file(disk, made), Flush::kYes);
    result.written.push_back(target);
  }
}

}  // namespace

CompileResult compile_copies(Disk& disk, const CompileRequest& request) {
  CompileResult result;
  result.model.scenario_name = request.name;
  result.model.train_number = request.train;
  ScratchDir scratch;
  result.line_text = copy_description(disk, request.dir, scratch.path(), line_description_name(request.name));
  result.train_text =
      copy_description(disk, request.dir, scratch.path(), train_description_name(request.name, request.train));
  try {
    result.markers =
        memorizza_percorso(disk, result.model, scratch.path(), request.plan ? 1 : 0, CompileMode::kCopies);
  } catch (const FatalError& fatal) {
    result.fatal = fatal.number();
    return result;
  }
  if (request.out) place_compiled(disk, result, scratch.path(), *request.out);
  return result;
}

}  // namespace lorvena
