// The tool's texts in the author's language, looked up by their English text
// as gettext does: N_() marks a text where it is written (a table, a
// constant) for the catalogue, tr() translates it where it is used, trf()
// also fills its {0}, {1} ... with the values given. A text the catalogue
// does not hold stays English.
#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>

#include "descriptions/translatable.h"
#include "tools/text/language.h"

namespace lorvena {

// `english` in the current language.
std::string_view tr(std::string_view english);
// `english` in language `l`.
std::string_view translated(std::string_view english, Language l);

// `pattern` with {0}, {1} ... replaced by `values`, in that order; a brace
// that opens no such number stays as it is.
std::string filled(std::string_view pattern, std::span<const std::string> values);

namespace message_detail {
inline std::string as_text(std::string_view s) { return std::string(s); }
inline std::string as_text(const char* s) { return s; }
template <class N>
  requires std::is_integral_v<N>
std::string as_text(N n) {
  return std::to_string(n);
}
}  // namespace message_detail

// tr(pattern) with its {N} filled.
template <class... Values>
std::string trf(std::string_view pattern, const Values&... values) {
  const std::array<std::string, sizeof...(Values)> texts = {message_detail::as_text(values)...};
  return filled(tr(pattern), texts);
}

}  // namespace lorvena
