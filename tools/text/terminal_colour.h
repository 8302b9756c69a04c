// Colours of the diagnostics on a terminal, as compilers use them, and the
// choice of `--color=auto|always|never`: auto colours only a terminal, and
// never when NO_COLOR is set and not empty.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace lorvena {

// SGR sequences: bold for the place, red errors, magenta warnings, cyan
// notes, a green caret.
inline constexpr std::string_view kPlaceColour = "\x1b[1m";
inline constexpr std::string_view kErrorColour = "\x1b[1;31m";
inline constexpr std::string_view kWarningColour = "\x1b[1;35m";
inline constexpr std::string_view kNoteColour = "\x1b[1;36m";
inline constexpr std::string_view kCaretColour = "\x1b[1;32m";

// `text` between `colour` and the reset, or `text` alone when `on` is false.
std::string painted(std::string_view text, std::string_view colour, bool on);

// What the tool's environment says of colour, read once at its start.
struct Terminal {
  bool out_is_terminal = false;
  bool err_is_terminal = false;
  bool no_color = false;  // NO_COLOR set and not empty
};

Terminal this_terminal();

enum class ColourChoice { kAuto, kAlways, kNever };

// "auto", "always" or "never"; nothing for any other word.
std::optional<ColourChoice> colour_choice(std::string_view word);

// Whether to colour a stream that is (`is_terminal`) or is not a terminal.
bool use_colour(ColourChoice choice, bool is_terminal, const Terminal& t);

}  // namespace lorvena
