// JSON text made safe to embed in an HTML page's <script> element: no
// description's text can end the element, open a comment or otherwise
// change how the browser reads the page around it.
#pragma once

#include <string>
#include <string_view>

namespace lorvena {

// `json` is complete JSON text (as any writer dumps it); the result reads
// as the same value, with `<`, `>`, `&`, U+2028 and U+2029 written as
// \u escapes (they can only stand inside strings there).
std::string script_safe_json(std::string_view json);

}  // namespace lorvena
