// The diagnostics of a description pair as the editor shows them: `check`'s
// own (the same entry point, codes and places), each on the field it names
// (a whole line when it names no column), in the editor's UTF-16 positions.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "disk/disk.h"
#include "tools/diagnosing/diagnostic.h"
#include "tools/lsp/description_pair.h"
#include "tools/lsp/editor_text.h"

namespace lorvena {

struct PairDiagnostics {
  std::vector<Diagnostic> line;
  std::vector<Diagnostic> train;
};

// The texts in Windows-1252; nothing for a description that is not there.
PairDiagnostics diagnose_pair(const PairFiles& pair, const std::optional<std::string>& line_text,
                              const std::optional<std::string>& train_text);

// LSP Diagnostics of one description; each range covers the field at the
// diagnostic's place (the faulty field's column, as `check` gives it).
nlohmann::json lsp_diagnostics(const std::vector<Diagnostic>& list, const EditorText& text);

// The range of the field that starts at a 1-based line and byte column (up
// to its comma or the line end); the whole line for column 0.
nlohmann::json field_range(const EditorText& text, int64_t line, int64_t column);

}  // namespace lorvena
