// Plain-ASCII text helpers shared by the tool's readers: the descriptions'
// keywords and headers, and the language server's message headers. Bytes
// above 127 are Windows-1252 or UTF-8 letters and are left as they are.
#pragma once

#include <string>
#include <string_view>

namespace lorvena {

// `s` with A-Z as a-z.
std::string ascii_lower(std::string_view s);

// `s` without the spaces and tabs at either end.
std::string_view trimmed(std::string_view s);

}  // namespace lorvena
