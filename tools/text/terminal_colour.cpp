#include "tools/text/terminal_colour.h"

#include <cstdio>
#include <cstdlib>
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace lorvena {

std::string painted(std::string_view text, std::string_view colour, bool on) {
  if (!on) return std::string(text);
  return std::string(colour) + std::string(text) + "\x1b[0m";
}

Terminal this_terminal() {
  Terminal t;
#ifdef _WIN32
  // The Windows console shows escape sequences as text unless told
  // otherwise: colour there only when asked with --color=always.
  t.out_is_terminal = t.err_is_terminal = false;
#else
  t.out_is_terminal = isatty(STDOUT_FILENO) != 0;
  t.err_is_terminal = isatty(STDERR_FILENO) != 0;
#endif
  const char* no_color = std::getenv("NO_COLOR");
  t.no_color = no_color != nullptr && *no_color != '\0';
  return t;
}

std::optional<ColourChoice> colour_choice(std::string_view word) {
  if (word == "auto") return ColourChoice::kAuto;
  if (word == "always") return ColourChoice::kAlways;
  if (word == "never") return ColourChoice::kNever;
  return std::nullopt;
}

bool use_colour(ColourChoice choice, bool is_terminal, const Terminal& t) {
  switch (choice) {
    case ColourChoice::kAlways: return true;
    case ColourChoice::kNever: return false;
    case ColourChoice::kAuto: return is_terminal && !t.no_color;
  }
  return false;
}

}  // namespace lorvena
