// The source line under a diagnostic, as compilers print it: the line
// indented by a space, then a caret line with '^' under the first byte of
// the faulty field and '~' under the rest of it, up to its comma.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace lorvena {

// `text` is a description (Windows-1252); the excerpt is UTF-8, two lines
// each ending in "\n", or empty when `text` has no line `line`. Control
// bytes show as '?', so a description cannot drive the terminal; tabs stay,
// and the caret line copies them, so the caret stands under its field
// whatever the tab width. `colour` paints the caret line green.
std::string source_excerpt(std::string_view text, int64_t line, int64_t column, bool colour);

}  // namespace lorvena
