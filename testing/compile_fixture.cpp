#include "testing/compile_fixture.h"

#include "compiler/compiler.h"
#include "disk/file_names.h"

namespace lorvena::testing {

std::string line_text(std::string_view body, int length) {
  return "[generale]\r\nlunghezza percorso,    " + std::to_string(length) + "\r\n[curve]\r\n" +
         std::string(body) + "[fine]\r\n";
}

std::string train_text(std::string_view body) { return "[generale]\r\n" + std::string(body) + "[fine]\r\n"; }

CompileFixture::CompileFixture() {
  model.scenario_name = "LORVENA PF";
  model.train_number = "4316";
}

std::string CompileFixture::line_path() const {
  return (dir / line_description_name(model.scenario_name)).string();
}

std::string CompileFixture::train_path() const {
  return (dir / train_description_name(model.scenario_name, model.train_number)).string();
}

bool CompileFixture::exists(std::string_view name) const { return std::filesystem::exists(dir / name); }

int CompileFixture::compile(std::optional<std::string> line, std::optional<std::string> train, int32_t j) {
  if (line) write_bytes(line_path(), *line);
  if (train) write_bytes(train_path(), *train);
  return memorizza_percorso(disk, model, dir.path(), j, CompileMode::kCopies);
}

}  // namespace lorvena::testing
