#include "compiler/integrity_codes.h"

#include <gtest/gtest.h>

#include "compiler/fatal_error.h"
#include "testing/compile_fixture.h"

namespace lorvena {
namespace {

Scenario identity(std::string train, std::string scenario) {
  Scenario m;
  m.table[kTrainEntry].nome = std::move(train);
  m.table[kScenarioEntry].nome = std::move(scenario);
  return m;
}

// The sums worked out by hand from the character codes: the object code adds
// the first 25 characters of train number + scenario name + fill, lower-cased;
// the station code weighs each by its position.
TEST(Codes, SumOverTheFirst25CharactersOfTheFilledText) {
  struct Case {
    std::string train, scenario;
    int16_t object;
    int32_t station;
  };
  const Case cases[] = {
      {"ab", "", 2557, 33957},  // "ab" and the fill's first 23 characters
      {"AB", "", 2557, 33957},  // upper case sums as lower case
      {"4316", "LORVENA PF", 2303, 31704},
      {"4316", "lorvena pf", 2303, 31704},
      {"abcdefghijklmnopqrstuvwxyz", "zz", 2725, 36725},  // the 26th character and on do not count
      {"4316", "\xC0\xC8", 2588, 34148},                 // accented capitals lower to E0 and E8
  };
  for (const Case& c : cases) {
    Scenario m = identity(c.train, c.scenario);
    EXPECT_EQ(codice_gara_og(m), c.object) << c.train << c.scenario;
    EXPECT_EQ(codice_gara_st(m), c.station) << c.train << c.scenario;
    EXPECT_EQ(m.code_text, lower_1252(c.train + c.scenario) + std::string(kCodeFill));
  }
}

TEST(Codes, LowerCaseInTheSingleByteCharacterSet) {
  EXPECT_EQ(lower_1252("\xC0\xC9\xD7\xDE\x8A Z"), "\xE0\xE9\xD7\xFE\x9A z");
}

TEST(Codes, StampsFillTheReservedSlots) {
  Scenario m = identity("4316", "LORVENA PF");
  size_model(m, 1000);
  stamp_codes(m);
  EXPECT_EQ(m.table[85].val1, 610);
  EXPECT_EQ(m.track[1].param1, 5121);
  EXPECT_EQ(m.table[85].ora, 31704);
  EXPECT_EQ(m.track[1].param2, 2303);
}

TEST(Codes, ReservedSlotInUseIsFatalBeforeAnyCompiledFile) {
  struct Case {
    std::string train;
    std::string number;
  };
  const Case cases[] = {
      {"abbattimento, 50, 5\r\n", "1250"},            // an object in cell 1
      {"rallentamento, 0, 0, 0, 0, 0, 5\r\n", "1251"},  // cell 1 with a second value only
  };
  for (const Case& c : cases) {
    testing::CompileFixture f;
    try {
      f.compile(testing::line_text(""), testing::train_text(c.train));
      ADD_FAILURE() << "no fatal error for " << c.number;
    } catch (const FatalError& e) {
      EXPECT_EQ(e.number(), c.number);
      EXPECT_EQ(std::string(e.what()), " Errore n. " + c.number);
    }
    EXPECT_EQ(testing::list_files(f.dir.path()), "");
  }
}

}  // namespace
}  // namespace lorvena
