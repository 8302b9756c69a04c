// Compiles an author's description pair exactly as the installer does, but on
// copies in a scratch directory, so the author's files are never deleted or
// changed; the compiled files are then copied where the author wants them.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "compiler/model.h"
#include "disk/disk.h"

namespace lorvena {

// `name` and `train` as the author types them (UTF-8), which is how the
// description files are named on disk; the compile sees them in
// Windows-1252, as the installer does.
struct CompileRequest {
  std::filesystem::path dir;
  std::string name;
  std::string train;
  bool plan = true;                          // write_profile 1, or 0
  std::optional<std::filesystem::path> out;  // nothing written without it
};

struct RecordedError {
  int32_t code = 0;
  int32_t pos = 0;  // err_pos as it stood when the error was recorded
};

struct CompileResult {
  Scenario model;
  int markers = 0;
  std::string fatal;                 // "1250" or "1251" after a fatal error
  std::string line_text;             // the author's descriptions as they were read
  std::string train_text;
  bool line_found = false;
  bool train_found = false;
  std::vector<RecordedError> recorded;  // every error the compile recorded, in order
  std::vector<std::filesystem::path> written;  // compiled files placed in `out`
};

// Throws FileSystemError when the scratch directory or `out` cannot be written.
CompileResult compile_copies(Disk& disk, const CompileRequest& request);

// Compiles the two texts (a missing description for nothing) in a scratch
// directory of its own, exactly as compile_copies does, and places nothing.
CompileResult compile_texts(Disk& disk, const CompileRequest& request, const std::optional<std::string>& line_text,
                            const std::optional<std::string>& train_text);

}  // namespace lorvena
