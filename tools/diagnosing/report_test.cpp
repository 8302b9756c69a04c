#include "tools/diagnosing/report.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "disk/file_names.h"
#include "disk/system_disk.h"
#include "testing/compile_fixture.h"
#include "tools/diagnosing/error_texts.h"

namespace lorvena {
namespace {

using testing::line_text;
using testing::read_bytes;
using testing::train_text;
using testing::write_bytes;

constexpr const char* kName = "LORVENA PF";
constexpr const char* kTrain = "4316";

struct Pair {
  std::optional<std::string> line;
  std::optional<std::string> train;
};

CompileResult compile_pair(const ScratchDir& dir, const Pair& pair, std::optional<std::filesystem::path> out = {}) {
  if (pair.line) write_bytes(dir / line_description_name(kName), *pair.line);
  if (pair.train) write_bytes(dir / train_description_name(kName, kTrain), *pair.train);
  SystemDisk disk;
  return compile_copies(disk, {dir.path(), kName, kTrain, true, out});
}

const std::string kSignal = "segnale,    2000,   2, 4, 0,  0, 0,    2,  2,0,0, 0\r\n";
const std::string kStation = "stazione,    1000, 12,  350,  0, 0, 0,  1,1,0,  4,1,1,    1,   8,15, 0, NORD\r\n";

struct Case {
  const char* what;
  Pair pair;
  int32_t code;
  int32_t pos;  // -1: not looked at
  std::string file;
  int64_t line, column;
};

TEST(Report, EachErrorClassGivesNumberMeaningAndPlace) {
  std::string train_file = train_description_name(kName, kTrain);
  std::string line_file = line_description_name(kName);
  const Case cases[] = {
      {"sign on an occupied cell, line description",
       {line_text("cartello_indicatore,  1000,   A\r\ncartello_indicatore,  1000,   B\r\n"), train_text("")},
       6, 1000, line_file, 5, 32},
      {"signal on an occupied cell", {line_text(""), train_text(kSignal + kSignal)}, 16, 2000, train_file, 3,
       static_cast<int64_t>(kSignal.size()) - 1},
      {"platform length, stopped in the middle of a record", {line_text(""), train_text(kStation)}, 9, 1000,
       train_file, 2, 28},
      {"unreadable number", {line_text(""), train_text("vetture, 5\r\nsabbia, abc\r\n")}, 25, -1, train_file, 3,
       12},
      {"no [generale] in the line description", {std::string("lunghezza percorso, 5000\r\n"), train_text("")},
       102, -1, line_file, 1, 25},
      {"no free cell before a slowdown start (placement walk)",
       {line_text(""), train_text("abbattimento, 700, 0\r\nabbattimento, 750, 0\r\nabbattimento, 800, 0\r\n"
                                  "rallentamento, 1000, 120, 300, 0, 0, 0\r\n")},
       12, 1050, "", 0, 0},
      {"line description missing", {std::nullopt, train_text("")}, 101, -1, "", 0, 0},
      {"nothing wrong", {line_text(""), train_text(kSignal)}, 0, -1, "", 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ScratchDir dir;
    ErrorReport r = make_report(compile_pair(dir, c.pair));
    EXPECT_EQ(r.code, c.code);
    EXPECT_FALSE(r.fatal);
    if (c.pos >= 0) {
      EXPECT_EQ(r.pos, c.pos);
    }
    EXPECT_EQ(r.file, c.file);
    EXPECT_EQ(r.at.line, c.line);
    EXPECT_EQ(r.at.column, c.column);
    std::string text = report_text(r);
    std::string first = c.code == 0 ? "no error\n"
                                    : "error " + std::to_string(c.code) + ": " +
                                          std::string(error_text(c.code).meaning) + "\n";
    EXPECT_EQ(text.substr(0, first.size()), first);
  }
}

TEST(Report, TextAndJsonOfARecordedError) {
  ScratchDir dir;
  ErrorReport r = make_report(compile_pair(dir, {line_text(""), train_text(kSignal + kSignal)}));
  EXPECT_EQ(report_text(r),
            "error 16: signal on an occupied cell\n"
            "chainage: 2000 m\n"
            "reading stopped: LORVENA PF_4316-.txt, line 3, column 52 (after the last field read)\n");
  std::string json = report_json(r);
  EXPECT_EQ(json.back(), '\n');
  EXPECT_EQ(nlohmann::json::parse(json),
            nlohmann::json::parse("{\"err_code\": 16, \"err_pos\": 2000, \"fatal\": false, \"fatal_code\": null, "
                                  "\"meaning\": \"signal on an occupied cell\", "
                                  "\"file\": \"LORVENA PF_4316-.txt\", \"line\": 3, \"column\": 52, \"files\": [], "
                                  "\"errors\": 0, \"warnings\": 0, \"diagnostics\": []}"));
}

TEST(Report, FatalErrorSaysSoAndKeepsTheErrorRecordedBeforeIt) {
  struct {
    const char* what;
    Pair pair;
    int32_t code, pos, fatal_code;
  } cases[] = {
      // A sign board at chainage 0 stands in cell 1, where the stamp goes.
      {"nothing recorded before", {line_text("cartello_indicatore,  0,   X\r\n"), train_text("")}, 0, 0, 1250},
      // A signal at 0 is written into cell 1 before its approach marks fall
      // before the line's start (error 25); then the stamp finds the cell taken.
      {"error 25 recorded before",
       {line_text("", 5000), train_text("segnale, 0, 2, 4, 0, 0, 0, 2, 2, 0, 0, 0\r\n")}, 25, 0, 1250},
      // Only the second value in cell 1: the code's slot.
      {"the code's slot", {line_text(""), train_text("rallentamento, 0, 0, 300, 0, 0, 7\r\n")}, 0, 0, 1251},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ScratchDir dir, out;
    ErrorReport r = make_report(compile_pair(dir, c.pair, out.path()));
    EXPECT_TRUE(r.fatal);
    EXPECT_EQ(r.code, c.code);
    EXPECT_EQ(r.pos, c.pos);
    EXPECT_EQ(r.fatal_code, c.fatal_code);
    EXPECT_EQ(report_status(r), 1);
    EXPECT_EQ(testing::list_files(out.path()), "");
    EXPECT_NE(report_text(r).find("error " + std::to_string(c.fatal_code) + ": fatal: "), std::string::npos);
    EXPECT_NE(report_text(r).find("fatal error: no compiled file written\n"), std::string::npos);
    nlohmann::json json = nlohmann::json::parse(report_json(r));
    EXPECT_EQ(json["err_code"], c.code) << json;
    EXPECT_EQ(json["err_pos"], c.pos) << json;
    EXPECT_EQ(json["fatal"], true) << json;
    EXPECT_EQ(json["fatal_code"], c.fatal_code) << json;
  }
}

TEST(Report, AuthorsFilesStayAsTheyWere) {
  // An unreadable field makes the compiler delete both descriptions: only the
  // copies may go.
  for (const std::string& train : {train_text(kSignal), train_text("sabbia, abc\r\n")}) {
    SCOPED_TRACE(train);
    ScratchDir dir;
    std::string line = line_text("pendenza,  1500,   8\r\n");
    CompileResult result = compile_pair(dir, {line, train}, dir.path());
    EXPECT_EQ(read_bytes(dir / line_description_name(kName)), line);
    EXPECT_EQ(read_bytes(dir / train_description_name(kName, kTrain)), train);
    // A recorded error still writes the compiled files, beside the descriptions.
    EXPECT_EQ(result.written.size(), 3u);
    EXPECT_TRUE(std::filesystem::exists(dir / track_file_name(kName, kTrain)));
  }
}

TEST(TextPosition, StepsBackOverTheLastDelimiter) {
  const std::string text = "ab,cd\r\nef\rgh\nij";
  struct {
    int64_t offset, line, column;
  } cases[] = {{0, 1, 1}, {3, 1, 3}, {7, 1, 6}, {10, 2, 3}, {13, 3, 3}, {15, 4, 3}, {99, 4, 3}};
  for (const auto& c : cases) {
    TextPosition at = text_position(text, c.offset);
    EXPECT_EQ(at.line, c.line) << c.offset;
    EXPECT_EQ(at.column, c.column) << c.offset;
  }
}

}  // namespace
}  // namespace lorvena
