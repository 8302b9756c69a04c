// Every problem of an author's description pair, found in one run: the
// warnings of the lint and of the value and cell checks, and every error an
// author would have to fix. The compile records one error and stops reading
// there; the further errors come from compiling copies again with each
// failing record set aside (blanked, so every other record keeps its line and
// column) until nothing stops the reading or an error is tied to no record.
#pragma once

#include <vector>

#include "tools/diagnosing/author_compile.h"
#include "tools/diagnosing/diagnostic.h"

namespace lorvena {

inline constexpr int kMaxCompileRounds = 100;

struct Diagnosis {
  // In file order: errors and warnings, each followed by its notes.
  std::vector<Diagnostic> list;
  int rounds = 0;  // compiles looked at, the author's own first
};

// `first` is compile_copies(disk, request): the compile whose outcome is
// reported. The further compiles are made in memory, as compile_texts does.
Diagnosis diagnose(const CompileRequest& request, const CompileResult& first);

}  // namespace lorvena
