// Compiles an author's description pair exactly as the installer does, but on
// copies held in memory, so the author's files are never deleted or changed;
// the compiled files are then written where the author wants them.
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
  // The compiled files the compile made, by the names the author's pair gives
  // them, with their bytes; only when the request has an `out`.
  std::vector<std::pair<std::string, std::string>> compiled;
  std::vector<std::filesystem::path> written;  // compiled files placed in `out`
};

// Reads the pair from `disk` (a description that is not there is compiled
// as missing), compiles it and, with an `out`, replaces the compiled files
// there and flushes the folder. A file that cannot be read or written is a
// FileSystemError, thrown before anything is written.
CompileResult compile_copies(Disk& disk, const CompileRequest& request);

// Compiles the two texts (a missing description for nothing) in memory,
// exactly as compile_copies does, and writes nothing.
CompileResult compile_texts(const CompileRequest& request, const std::optional<std::string>& line_text,
                            const std::optional<std::string>& train_text);

}  // namespace lorvena
