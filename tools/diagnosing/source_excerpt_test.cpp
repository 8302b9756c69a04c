#include "tools/diagnosing/source_excerpt.h"

#include <gtest/gtest.h>

#include "tools/diagnosing/diagnostic.h"
#include "tools/text/terminal_colour.h"

namespace lorvena {
namespace {

TEST(SourceExcerpt, TheCaretStandsUnderTheFieldWhateverTheLine) {
  struct {
    const char* what;
    std::string text;
    int64_t line, column;
    std::string expected;
  } cases[] = {
      {"a number in the middle", "[segnali]\r\nsegnale,    2400,   2, 4\r\n", 2, 13,
       " segnale,    2400,   2, 4\n             ^~~~\n"},
      {"the last field, blanks after it left out", "velocita, 0,   93  \n", 1, 16, " velocita, 0,   93  \n                ^~\n"},
      {"a one-character field, blanks after it left out", "sabbia, 7   , 1\n", 1, 9, " sabbia, 7   , 1\n         ^\n"},
      {"tabs copied, so any tab width lines up", "segnale,\t2400,\t2\n", 1, 10, " segnale,\t2400,\t2\n         \t^~~~\n"},
      {"CR line ends", "a\rb, 7\r", 2, 4, " b, 7\n    ^\n"},
      {"Windows-1252 shown as UTF-8", "stazione, 0, Citt\xE0\n", 1, 14, " stazione, 0, Citt\xC3\xA0\n              ^~~~~\n"},
      {"control bytes shown as '?'", "x, \x1b[2J\x9d, 1\n", 1, 4, " x, ?[2J?, 1\n    ^~~~~\n"},
      {"a column past the line's end", "sabbia,\n", 1, 20, " sabbia,\n        ^\n"},
      {"no such line", "one line\n", 5, 1, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(source_excerpt(c.text, c.line, c.column, false), c.expected);
  }
}

TEST(SourceExcerpt, DiagnosticsGetTheirLineOnlyFromTheirOwnFileAndColourOnlyWhenAsked) {
  std::string train = "[generale]\nsabbia,    x\n";
  std::vector<Diagnostic> list = {
      {Severity::kError, "E25", "d/T-.txt", 2, 12, "sabbia, 'x' is not a number"},
      {Severity::kWarning, "W-no-general", "d/other.txt", 1, 1, "no [generale] header"},
      {Severity::kNote, "", "d/T-.txt", 0, 0, "the whole file"},
  };
  SourceTexts sources = {{"d/T-.txt", train}};
  EXPECT_EQ(diagnostics_text(list, sources, false),
            "d/T-.txt:2:12: error: sabbia, 'x' is not a number [E25]\n"
            " sabbia,    x\n"
            "            ^\n"
            "d/other.txt:1:1: warning: no [generale] header [W-no-general]\n"
            "d/T-.txt: note: the whole file\n"
            "1 error, 1 warning\n");
  EXPECT_EQ(diagnostics_text(list, sources, true),
            "\x1b[1md/T-.txt:2:12:\x1b[0m \x1b[1;31merror:\x1b[0m sabbia, 'x' is not a number [\x1b[1;31mE25\x1b[0m]\n"
            " sabbia,    x\n"
            " \x1b[1;32m           ^\x1b[0m\n"
            "\x1b[1md/other.txt:1:1:\x1b[0m \x1b[1;35mwarning:\x1b[0m no [generale] header "
            "[\x1b[1;35mW-no-general\x1b[0m]\n"
            "\x1b[1md/T-.txt:\x1b[0m \x1b[1;36mnote:\x1b[0m the whole file\n"
            "1 error, 1 warning\n");
}

TEST(TerminalColour, AutoColoursATerminalUnlessNoColorIsSet) {
  struct {
    ColourChoice choice;
    bool terminal, no_color, coloured;
  } cases[] = {
      {ColourChoice::kAuto, true, false, true},    {ColourChoice::kAuto, false, false, false},
      {ColourChoice::kAuto, true, true, false},    {ColourChoice::kAlways, false, true, true},
      {ColourChoice::kNever, true, false, false},
  };
  for (const auto& c : cases) {
    Terminal t{c.terminal, c.terminal, c.no_color};
    EXPECT_EQ(use_colour(c.choice, c.terminal, t), c.coloured)
        << static_cast<int>(c.choice) << " terminal " << c.terminal << " NO_COLOR " << c.no_color;
  }
  EXPECT_EQ(colour_choice("always"), ColourChoice::kAlways);
  EXPECT_EQ(colour_choice("yes"), std::nullopt);
}

}  // namespace
}  // namespace lorvena
