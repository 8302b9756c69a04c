// What the editor asks about a description besides its diagnostics: hover
// (a record's format as `explain` gives it, a field's name, unit and range),
// completion of keywords and headers, the outline of sections, stations and
// signals, and the quick fixes the diagnostics propose ("did you mean").
#pragma once

#include <filesystem>

#include <nlohmann/json.hpp>

#include "descriptions/record_formats.h"
#include "tools/lsp/editor_text.h"

namespace lorvena {

enum class DocumentKind { kLine, kTrain, kOther };

DocumentKind kind_of(const std::filesystem::path& file);

// The section a 0-based line stands in, as the reader sees it.
Section section_at(const EditorText& text, DocumentKind kind, int64_t line);

// The LSP results; null or empty when there is nothing to say.
nlohmann::json hover(const EditorText& text, DocumentKind kind, const nlohmann::json& position);
nlohmann::json completion(const EditorText& text, DocumentKind kind, const nlohmann::json& position);
nlohmann::json document_symbols(const EditorText& text, DocumentKind kind);
nlohmann::json code_actions(const nlohmann::json& uri, const nlohmann::json& context);

}  // namespace lorvena
