#include "tools/text/script_json.h"

namespace lorvena {

std::string script_safe_json(std::string_view json) {
  std::string out;
  out.reserve(json.size() + json.size() / 16);
  for (size_t i = 0; i < json.size(); ++i) {
    char c = json[i];
    if (c == '<') {
      out += "\\u003c";
    } else if (c == '>') {
      out += "\\u003e";
    } else if (c == '&') {
      out += "\\u0026";
    } else if (c == '\xE2' && json.substr(i + 1, 1) == "\x80" && i + 2 < json.size() &&
               (json[i + 2] == '\xA8' || json[i + 2] == '\xA9')) {
      out += json[i + 2] == '\xA8' ? "\\u2028" : "\\u2029";  // UTF-8 E2 80 A8 / E2 80 A9
      i += 2;
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace lorvena
