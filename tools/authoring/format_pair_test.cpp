// `scenario_tool fmt`: the compiled bytes before and after are the same (the
// example, the installer's pair, generated lines), a second fmt changes
// nothing, records are written one way while comments and odd lines stay,
// UTF-8 is converted or refused with its place, and --check only reports.
#include "tools/authoring/format_pair.h"

#include <gtest/gtest.h>

#include <iostream>

#include "compiler/packing.h"
#include "descriptions/dati_linea.h"
#include "descriptions/dati_treno.h"
#include "disk/file_names.h"
#include "disk/scratch_dir.h"
#include "disk/system_disk.h"
#include "testing/example_pair.h"
#include "testing/scenario_generator.h"
#include "testing/test_files.h"
#include "testing/tool_run.h"
#include "tools/diagnosing/author_compile.h"

namespace lorvena {
namespace {

using testing::tool;

// Every compiled byte of a pair, with the error it ends with.
std::string compiled(const PairTexts& p, bool plan) {
  CompileResult r = compile_texts({".", "RIPA", "77", plan, std::nullopt}, p.line, p.train);
  std::string bytes = std::to_string(r.model.err_code) + r.fatal + "|" + track_bytes(r.model) + table_bytes(r.model);
  if (plan) pack_plan(r.model.profile, [&](std::string_view piece) { bytes.append(piece); });
  return bytes;
}

PairTexts formatted(const PairTexts& p) {
  return format_pair("RIPA", "77", p).texts;
}

std::vector<std::pair<std::string, PairTexts>> pairs() {
  std::vector<std::pair<std::string, PairTexts>> list;
  std::filesystem::path ex = testing::examples_dir();
  list.push_back({"example", {testing::read_bytes(ex / line_description_name(testing::kExampleName)),
                              testing::read_bytes(ex / train_description_name(testing::kExampleName,
                                                                              testing::kExampleTrain))}});
  ScratchDir dir;
  SystemDisk disk;
  dati_linea(disk, dir.path(), "RIPA");
  dati_treno(disk, dir.path(), "RIPA", "77");
  list.push_back({"installer", {testing::read_bytes(dir / line_description_name("RIPA")),
                                testing::read_bytes(dir / train_description_name("RIPA", "77"))}});
  for (int32_t length : {testing::kShortestGeneratedLine, 20000, 120000}) {
    testing::GeneratedScenario g = testing::generate_scenario(length);
    list.push_back({"generated " + std::to_string(length), {g.line, g.train}});
  }
  return list;
}

bool only_crlf(const std::string& text) {
  for (size_t at = 0; at < text.size(); ++at) {
    if (text[at] == '\n' && (at == 0 || text[at - 1] != '\r')) return false;
    if (text[at] == '\r' && (at + 1 == text.size() || text[at + 1] != '\n')) return false;
  }
  return !text.empty() && text.ends_with("\r\n");
}

TEST(FormatPair, CompiledBytesStayTheSameAndASecondFormatChangesNothing) {
  for (const auto& [name, original] : pairs()) {
    PairTexts once = formatted(original);
    for (bool plan : {true, false})
      EXPECT_TRUE(compiled(once, plan) == compiled(original, plan)) << name << " plan " << plan;
    PairTexts twice = formatted(once);
    EXPECT_EQ(twice.line, once.line) << name;
    EXPECT_EQ(twice.train, once.train) << name;
    EXPECT_TRUE(only_crlf(once.line) && only_crlf(once.train)) << name;
    // The hand-written example is aligned loosely: formatting changes it.
    if (name == "example") {
      EXPECT_NE(once.line, original.line);
    }
  }
}

// The compile fuzzer's seeds: each pair that compiles without an error is
// formatted to the same compiled bytes, and a second format changes nothing;
// a pair with an error is refused.
TEST(FormatPair, TheFuzzCorpusIsFormattedOrRefused) {
  std::filesystem::path corpus = std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() / "fuzz/corpus";
  int clean = 0, refused = 0;
  for (const auto& f : std::filesystem::directory_iterator(corpus)) {
    std::string input = testing::read_bytes(f.path());
    size_t nul = input.find('\0', 1);
    if (input.empty() || (input[0] & 6) != 0 || nul == std::string::npos) continue;
    PairTexts pair{input.substr(1, nul - 1), input.substr(nul + 1)};
    std::string before = compiled(pair, true);
    if (!before.starts_with("0|")) {
      EXPECT_THROW(formatted(pair), FormatRefused) << f.path().filename();
      ++refused;
      continue;
    }
    PairTexts once = formatted(pair);
    EXPECT_TRUE(compiled(once, true) == before) << f.path().filename();
    PairTexts twice = formatted(once);
    EXPECT_TRUE(twice.line == once.line && twice.train == once.train) << f.path().filename();
    ++clean;
  }
  EXPECT_GT(clean, 0);
  EXPECT_GT(refused, 0);
  std::cout << "fuzz corpus: " << clean << " formatted, " << refused << " refused\n";
}

TEST(FormatPair, WritesRecordsOneWayAndKeepsEveryOtherLine) {
  struct Case {
    const char* what;
    std::string in, out;
  };
  const std::string head = "[generale]\r\nlunghezza percorso,  5000\r\n[curve]\r\n";
  const Case cases[] = {
      {"keyword spelling", "[generale]\nLunghezza  Percorso,5000\n", "[generale]\r\nlunghezza percorso,  5000\r\n"},
      {"a curve's side and class as read", head + "Curva Sinistra 5 e 2,100,200\r\n",
       head + "curvas2,  100,  200\r\n"},
      {"a run aligned across a comment, up to a header",
       head + "[pendenze]\r\npendenza,0,0\r\n-- steeper, now\r\npendenza , 1500 ,12\r\n[montagne]\r\npendenza, 4000, -8\r\n",
       head + "[pendenze]\r\npendenza,     0,   0\r\n-- steeper, now\r\npendenza,  1500,  12\r\n[montagne]\r\n"
              "pendenza,  4000,  -8\r\n"},
      {"comments, blank lines and LF or CR alone", "-- first  \n\n[generale]\rlunghezza percorso, 5000\n",
       "-- first  \r\n\r\n[generale]\r\nlunghezza percorso,  5000\r\n"},
      {"a record spanning lines stays", head + "[pendenze]\r\npendenza, 100\r\n 5\r\n",
       head + "[pendenze]\r\npendenza, 100\r\n 5\r\n"},
      {"an extra field keeps its line", head + "[pendenze]\r\npendenza, 100, 5, 7\r\n",
       head + "[pendenze]\r\npendenza, 100, 5, 7\r\n"},
      {"a quoted sign text stays as written", head + "[indicazioni]\r\ncartello_indicatore,2950,  \"(A, B)( C )\"  \r\n",
       head + "[indicazioni]\r\ncartello_indicatore,  2950,  \"(A, B)( C )\"\r\n"},
      {"empty number fields stay empty", head + "[cartelli]\r\nindicatori_vmax, 500, 60,70,75,0, , , ,0\r\n",
       head + "[cartelli]\r\nindicatori_vmax,  500,  60,  70,  75,  0,  ,  ,  ,  0\r\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(format_description(c.in, true), c.out) << c.what;
  EXPECT_EQ(format_description("[generale]\r\norologio,  8   12    30\r\nstazione,1000,12,300,0,0,0,1,1,0,4,1,1,1,8,15,0,  "
                               "PIANELLO  \r\n",
                               false),
            "[generale]\r\norologio,  8,  12,  30\r\nstazione,  1000,  12,  300,  0,  0,  0,  1,  1,  0,  4,  1,  1,  1,  "
            "8,  15,  0,  PIANELLO\r\n");
}

TEST(FormatPair, ConvertsUtf8ExactlyAndRefusesACharacterWindows1252CannotHold) {
  EXPECT_EQ(description_1252("\xEF\xBB\xBF-- Citt\xC3\xA0 \xE2\x82\xAC\r\n", "f"), "-- Citt\xE0 \x80\r\n");
  EXPECT_EQ(description_1252("-- Citt\xE0\r\n", "f"), "-- Citt\xE0\r\n");  // Windows-1252 already
  try {
    description_1252("[generale]\r\n-- \xC5\x81" "od\xC5\xBA\r\n", "X_linea.txt");
    ADD_FAILURE() << "no refusal";
  } catch (const FormatRefused& e) {
    EXPECT_NE(std::string(e.what()).find("X_linea.txt, line 2, column 4: '\xC5\x81' (U+0141)"), std::string::npos)
        << e.what();
  }
}

// The example pair copied into a scratch directory, its train's station
// names in UTF-8 when `utf8` is given.
struct ExampleCopy {
  ScratchDir dir;
  std::filesystem::path line = dir / line_description_name("VALDORNO");
  std::filesystem::path train = dir / train_description_name("VALDORNO", "2417");
  explicit ExampleCopy(const std::string& replace_costalunga = "") {
    std::filesystem::path ex = testing::examples_dir();
    testing::write_bytes(line, testing::read_bytes(ex / line_description_name("VALDORNO")));
    std::string t = testing::read_bytes(ex / train_description_name("VALDORNO", "2417"));
    if (!replace_costalunga.empty()) t.replace(t.find("Costalunga"), 10, replace_costalunga);
    testing::write_bytes(train, t);
  }
  testing::ToolRun fmt(bool check) {
    std::vector<std::string> args = {"fmt", dir.path().string(), "VALDORNO", "2417"};
    if (check) args.push_back("--check");
    return tool(args);
  }
};

TEST(FormatPair, CheckReportsWithoutWritingAndFmtWritesOnce) {
  ExampleCopy copy("Citt\xC3\xA0");
  std::string before = testing::read_bytes(copy.train);
  testing::ToolRun check = copy.fmt(true);
  EXPECT_EQ(check.status, 1) << check.err;
  EXPECT_NE(check.out.find("would convert: " + copy.train.string() + " (from UTF-8; the compiled names change)"),
            std::string::npos)
      << check.out;
  EXPECT_EQ(testing::read_bytes(copy.train), before);
  testing::ToolRun run = copy.fmt(false);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("formatted: " + copy.train.string() + " (converted from UTF-8; the compiled names change)"),
            std::string::npos)
      << run.out;
  std::string after = testing::read_bytes(copy.train);
  EXPECT_NE(after.find("Citt\xE0\r\n"), std::string::npos);
  testing::ToolRun again = copy.fmt(true);
  EXPECT_EQ(again.status, 0) << again.out << again.err;
  EXPECT_EQ(again.out.find("would change"), std::string::npos) << again.out;
}

// A UTF-8 comment converts without changing a compiled byte: told apart
// from a conversion that renames.
TEST(FormatPair, AConversionThatKeepsTheNamesSaysSo) {
  ExampleCopy copy("Costalunga\r\n-- citt\xC3\xA0 vecchia");
  testing::ToolRun check = copy.fmt(true);
  EXPECT_EQ(check.status, 1) << check.err;
  EXPECT_NE(check.out.find("would convert: " + copy.train.string() + " (from UTF-8)\n"), std::string::npos) << check.out;
}

TEST(FormatPair, RefusesAPairWithAnErrorOrAnUnconvertibleCharacterAndWritesNothing) {
  struct Case {
    std::string station;
    std::string message;
  };
  // A station record with "x" for its chainage: error 25 stops the reading.
  // "Łódź" has a letter Windows-1252 has no byte for. A quoted name holding
  // a lone LF would hold CR LF once every line ends alike: another name.
  const Case cases[] = {{"Costalunga\r\nstazione, x", "the pair compiles with error 25"},
                        {"\xC5\x81\xC3\xB3" "d\xC5\xBA", "(U+0141) has no Windows-1252 form"},
                        {"\"Costa\nlunga\"", "formatting would change the table"}};
  for (const Case& c : cases) {
    ExampleCopy copy(c.station);
    std::string line = testing::read_bytes(copy.line), train = testing::read_bytes(copy.train);
    for (bool check : {false, true}) {
      testing::ToolRun run = copy.fmt(check);
      EXPECT_EQ(run.status, 2) << c.message;
      EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    }
    EXPECT_EQ(testing::read_bytes(copy.line), line);
    EXPECT_EQ(testing::read_bytes(copy.train), train);
  }
}

}  // namespace
}  // namespace lorvena
