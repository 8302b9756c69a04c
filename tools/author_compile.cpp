#include "tools/author_compile.h"

#include "compiler/compiler.h"
#include "compiler/errore.h"
#include "files/file_system.h"
#include "files/scenario_files.h"
#include "files/scratch_dir.h"
#include "tools/text_encoding.h"

namespace lorvena {
namespace fs = std::filesystem;

namespace {

// Copies the author's description into the scratch directory under the name
// the compiler looks for; a missing one stays missing so that the compiler
// reports it as the installer would.
std::string copy_description(Disk& disk, const fs::path& from, const fs::path& to) {
  if (!file_exists(disk, from)) return {};
  std::string text = read_file(disk, from);
  replace_file(disk, to, text, Flush::kNo);
  return text;
}

std::string in_1252(const std::string& utf8) { return exact_1252_from_utf8(utf8).value_or(utf8); }

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
  Scenario& m = result.model;
  m.scenario_name = in_1252(request.name);
  m.train_number = in_1252(request.train);
  ScratchDir scratch;
  result.line_text = copy_description(disk, join_path(request.dir, line_description_name(request.name)),
                                      join_path(scratch.path(), line_description_name(m.scenario_name)));
  result.train_text =
      copy_description(disk, join_path(request.dir, train_description_name(request.name, request.train)),
                       join_path(scratch.path(), train_description_name(m.scenario_name, m.train_number)));
  try {
    result.markers =
        memorizza_percorso(disk, result.model, scratch.path(), request.plan ? 1 : 0, CompileMode::kCopies);
  } catch (const FatalError& fatal) {
    result.fatal = fatal.number();
    return result;
  }
  if (request.out) place_compiled(disk, result, request, scratch.path());
  return result;
}

}  // namespace lorvena
