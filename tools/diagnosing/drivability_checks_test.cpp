// The drivability warnings on edits of the example pair: each mistake gives
// its code at its record's line, and the example itself gives none.
#include "tools/diagnosing/drivability_checks.h"

#include <gtest/gtest.h>

#include "disk/file_names.h"
#include "testing/example_pair.h"
#include "testing/test_files.h"

namespace lorvena {
namespace {

std::string example(char file) {
  std::string name = file == 'L' ? line_description_name(testing::kExampleName)
                                 : train_description_name(testing::kExampleName, testing::kExampleTrain);
  return testing::read_bytes(testing::examples_dir() / name);
}

// "L11 W-curve-side, ...": the file letter, line and code of each warning.
std::string brief(char file, const std::string& text) {
  DescriptionLint lint = file == 'L' ? lint_line(text, "line", true) : lint_train(text, "train");
  DescriptionLint line = lint_line(example('L'), "line", true);
  TrackSize size = track_size(line_length(line), true);
  DescriptionLint train = lint_train(example('T'), "train");
  std::vector<Diagnostic> list = file == 'L' ? check_line_drivability(lint, train) : check_train_drivability(lint, size);
  std::string out;
  for (const Diagnostic& d : list) out += (out.empty() ? "" : ", ") + std::string(1, file) + std::to_string(d.line) + " " + d.code;
  return out;
}

std::string without_lines(std::string text, const std::string& start) {
  for (size_t at = text.find(start); at != std::string::npos; at = text.find(start))
    text.erase(at, text.find('\n', at) + 1 - at);
  return text;
}

struct Mistake {
  const char* what;
  char file;
  std::string from, to;
  std::string expected;
};

TEST(DrivabilityChecks, EachMistakeAtItsRecord) {
  const std::vector<Mistake> table = {
      {"first speed limit at 1000 m", 'T', "velocita,       0,    70", "velocita,    1000,    70",
       "T11 W-no-start-speed"},
      {"first speed limit at 25 m: no cell before it", 'T', "velocita,       0,    70", "velocita,      25,    70",
       ""},
      {"first adhesion at 500 m", 'T', "aderenza,   0,    100", "aderenza,   500,    100", "T7 W-no-start-adhesion"},
      {"station time before the one before it", 'T', "8,22, 0", "8,10, 0", "T17 W-times-backwards"},
      {"clock after the first station's time", 'T', "orologio,    8              12", "orologio,    8              20",
       "T5 W-clock-late"},
      {"clock at the first station's time", 'T', "orologio,    8              12            30",
       "orologio,    8              15            0", ""},
      {"station area past the line's end", 'T', "stazione,   11500,  4,  400", "stazione,   11500,  8,  800",
       "T18 W-station-past-end"},
      {"station area up to the line's end", 'T', "stazione,   11500,  4,  400", "stazione,   11400,  8,  600", ""},
      {"kilometre reference zeroed by the ordering", 'L', "progressiva chilometrica uno,    0,    0,    0",
       "progressiva chilometrica uno,    0,    0,    10", "L3 W-reference-position, L3 W-reference-dropped"},
      {"kilometre reference kept by its fine", 'L', "progressiva chilometrica uno,    0,    0,    0",
       "progressiva chilometrica uno,    0,    5,    1", ""},
      {"two references tied for the largest inizio", 'L',
       "progressiva chilometrica uno,    0,    0,    0\r\nprogressiva chilometrica due,    0",
       "progressiva chilometrica uno,    7,    0,    0\r\nprogressiva chilometrica due,    7", "L3 W-reference-dropped"},
      {"line length in km", 'L', "lunghezza percorso,    12000", "lunghezza percorso,    12", "L2 W-length-in-km"},
      {"signal's approach marks on a station's", 'T', "segnale,    2400", "segnale,    1100",
       "T22 W-approach-overwritten"},
      {"signal's approach marks just before a station's", 'T', "segnale,    2400", "segnale,    1450", ""},
      {"curve with no side letter", 'L', "curvad4,  1200", "curva4,  1200", "L11 W-curve-side"},
      {"curve with an upper-case side letter", 'L', "curvad4,  1200", "CurvaS4,  1200", ""},
  };
  for (const Mistake& m : table) {
    SCOPED_TRACE(m.what);
    std::string text = example(m.file);
    size_t at = text.find(m.from);
    ASSERT_NE(at, std::string::npos);
    text.replace(at, m.from.size(), m.to);
    EXPECT_EQ(brief(m.file, text), m.expected);
  }
}

TEST(DrivabilityChecks, NoRowAtAllIsWarnedAtTheFileStart) {
  std::string train = without_lines(example('T'), "velocita");
  EXPECT_EQ(brief('T', train), "T1 W-no-start-speed");
  train = without_lines(train, "aderenza");
  EXPECT_EQ(brief('T', train), "T1 W-no-start-speed, T1 W-no-start-adhesion");
}

// Without [curve] the curves stand in the general block, which skips them.
TEST(DrivabilityChecks, AMissingHeaderIsNamed) {
  std::string text = example('L');
  text.erase(text.find("[curve]"), 9);
  DescriptionLint lint = lint_line(text, "line", true);
  ASSERT_FALSE(lint.warnings.empty());
  const Diagnostic& first = lint.warnings.front();
  EXPECT_EQ(first.code, "W-wrong-section");
  EXPECT_EQ(first.line, 10);
  EXPECT_NE(first.message.find("add a header such as [curve] before it"), std::string::npos) << first.message;
}

TEST(DrivabilityChecks, TheExamplePairIsClean) {
  EXPECT_EQ(brief('L', example('L')), "");
  EXPECT_EQ(brief('T', example('T')), "");
}

}  // namespace
}  // namespace lorvena
