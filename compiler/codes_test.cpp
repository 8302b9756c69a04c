#include "compiler/codes.h"

#include <gtest/gtest.h>

#include "compiler/errore.h"
#include "testing/compile_fixture.h"

namespace lorvena {
namespace {

Scenario identity(std::string train, std::string scenario) {
  Scenario m;
  m.table[kTrainEntry].nome = std::move(train);
  m.table[kScenarioEntry].nome = std::move(scenario);
  return m;
}

TEST(Codes, SumOverTheFirst25CharactersOfTheFilledText) {
  Scenario m = identity("ab", "");
  std::string summed = "ab" + std::string(kCodeFill.substr(0, 23));
  int32_t object = 0, station = 0;
  for (size_t q = 1; q <= 25; ++q) {
    object += static_cast<unsigned char>(summed[q - 1]);
    station += static_cast<unsigned char>(summed[q - 1]) * static_cast<int32_t>(q);
  }
  EXPECT_EQ(codice_gara_og(m), object);
  EXPECT_EQ(codice_gara_st(m), station);
  EXPECT_EQ(m.code_text, "ab" + std::string(kCodeFill));

  Scenario upper = identity("AB", "");
  EXPECT_EQ(codice_gara_og(upper), object);
  EXPECT_EQ(codice_gara_st(upper), station);
}

TEST(Codes, TheRunsOwnIdentity) {
  Scenario m = identity("4316", "LORVENA PF");
  EXPECT_EQ(codice_gara_og(m), 2303);
  EXPECT_EQ(codice_gara_st(m), 31704);
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
