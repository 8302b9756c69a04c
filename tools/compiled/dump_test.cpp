#include "tools/compiled/dump.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <cstdlib>
#include <limits>
#include <sstream>

#include "compiler/compiled_format.h"
#include "disk/file_names.h"
#include "disk/system_disk.h"
#include "testing/example_pair.h"
#include "testing/test_files.h"
#include "tools/compiled/cell_kinds.h"
#include "tools/diagnosing/author_compile.h"
#include "tools/text/text_encoding.h"

namespace lorvena {
namespace {

using testing::read_bytes;

// The fields of one CSV line ("" doubles a quote inside a quoted field).
std::vector<std::string> csv_fields(const std::string& line) {
  std::vector<std::string> fields(1);
  bool quoted = false;
  for (size_t i = 0; i < line.size(); ++i) {
    char c = line[i];
    if (quoted && c == '"' && i + 1 < line.size() && line[i + 1] == '"') fields.back() += '"', ++i;
    else if (c == '"') quoted = !quoted;
    else if (c == ',' && !quoted) fields.emplace_back();
    else fields.back() += c;
  }
  return fields;
}

// The data lines of a CSV dump, header dropped, each split into fields.
std::vector<std::vector<std::string>> csv_rows(const std::string& dump) {
  std::istringstream in(dump);
  std::string line;
  std::getline(in, line);
  std::vector<std::vector<std::string>> rows;
  while (std::getline(in, line)) rows.push_back(csv_fields(line));
  return rows;
}

int64_t num(const std::string& field) { return std::stoll(field); }

class DumpRoundTrip : public ::testing::Test {
 protected:
  void SetUp() override {
    SystemDisk disk;
    result_ = compile_copies(disk, {testing::examples_dir(), testing::kExampleName, testing::kExampleTrain, true,
                              out_.path()});
    ASSERT_EQ(result_.model.err_code, 0);
    ASSERT_EQ(result_.written.size(), 3u);
  }
  std::string bytes_of(const std::string& name) { return read_bytes(out_.path() / name); }

  ScratchDir out_;
  CompileResult result_;
};

TEST_F(DumpRoundTrip, TrackReadBackAgreesWithTheModel) {
  std::string name = track_file_name(testing::kExampleName, testing::kExampleTrain);
  auto rows = csv_rows(dump_compiled(name, bytes_of(name), DumpFormat::kCsv));
  const auto& track = result_.model.track;
  ASSERT_EQ(rows.size(), track.size());
  for (size_t i = 0; i < rows.size(); ++i) {
    const auto& r = rows[i];
    const TrackCell& c = track[i];
    ASSERT_EQ(r.size(), 14u);
    EXPECT_EQ(num(r[0]), static_cast<int64_t>(i));
    EXPECT_EQ(num(r[2]), c.kind);
    EXPECT_EQ(r[3], kind_name(c.kind)) << i;
    std::vector<int64_t> read{num(r[4]),  num(r[5]),      num(r[6]),       num(r[7]),       num(r[8]),
                              num(r[9]),  num(r[10]),     num(r[11]) / 5,  num(r[12]) + 100, num(r[13])};
    std::vector<int64_t> model{c.param1, c.param2,   c.param3,    c.param4,   c.timing,
                               c.approach, c.landscape, c.speed_limit, c.gradient, c.adhesion};
    EXPECT_EQ(read, model) << "cell " << i;
  }
}

TEST_F(DumpRoundTrip, TableReadBackAgreesWithTheModel) {
  std::string name = table_file_name(testing::kExampleName, testing::kExampleTrain);
  auto rows = csv_rows(dump_compiled(name, bytes_of(name), DumpFormat::kCsv));
  ASSERT_EQ(rows.size(), 87u);
  int stations = 0;
  for (size_t i = 0; i < rows.size(); ++i) {
    const auto& r = rows[i];
    const TableEntry& e = result_.model.table[i];
    ASSERT_EQ(r.size(), 19u);
    std::vector<int64_t> read{num(r[2]),  num(r[3]),  num(r[4]),  num(r[5]),  num(r[6]),  num(r[8]),
                              num(r[9]),  num(r[10]), num(r[11]), num(r[12]), num(r[13]), num(r[14]),
                              num(r[15]), num(r[16]), num(r[17])};
    std::vector<int64_t> model{e.tipo, e.inizio, e.fine,  e.posizione, e.flag1, e.val1,  e.val2, e.val3,
                               e.val4, e.val5,   e.flag2, e.flag3,     e.flag4, e.flag5, e.ora};
    EXPECT_EQ(read, model) << "entry " << i;
    EXPECT_EQ(cp1252_from_utf8(r[7]), e.nome);
    if (r[1] != "station") continue;
    ++stations;
    int h = std::stoi(r[18].substr(0, 2)), m = std::stoi(r[18].substr(3, 2)), s = std::stoi(r[18].substr(6, 2));
    EXPECT_EQ((h * 60 + m) * 60 + s, e.ora);
  }
  EXPECT_EQ(stations, 3);
  EXPECT_EQ(rows[1][18], "08:15:00");
}

TEST_F(DumpRoundTrip, PlanReadBackAgreesWithTheModel) {
  std::string name = plan_file_name(testing::kExampleName);
  auto rows = csv_rows(dump_compiled(name, bytes_of(name), DumpFormat::kCsv));
  const Plan& p = result_.model.profile;
  ASSERT_EQ(rows.size(), p.x.size());
  for (size_t i = 0; i < rows.size(); ++i) {
    const auto& r = rows[i];
    ASSERT_EQ(r.size(), 3u);
    bool filled = static_cast<int64_t>(i) < p.next;
    if (!filled) {
      EXPECT_EQ(r[1] + r[2], "") << "metre " << i;  // an empty element
      continue;
    }
    EXPECT_EQ(std::strtod(r[1].c_str(), nullptr), p.x[i]) << "metre " << i;
    EXPECT_EQ(std::strtod(r[2].c_str(), nullptr), p.y[i]) << "metre " << i;
  }
}

// Every plan value in one form, whether the file holds it as a 16-bit
// integer or as a double: the shortest decimal that reads back exactly.
TEST(Dump, PlanValuesInTheirShortestExactForm) {
  struct Case {
    PlanValue value;
    std::string text, csv, json;
  };
  const std::vector<Case> cases = {
      {{kTagInteger, 1}, "x=1", "1", "\"x\": 1"},
      {{kTagDouble, 1}, "x=1", "1", "\"x\": 1"},
      {{kTagDouble, 0.003}, "x=0.003", "0.003", "\"x\": 0.003"},
      {{kTagDouble, 1201.9999989999999}, "x=1201.999999", "1201.999999", "\"x\": 1201.999999"},
      {{kTagDouble, 0.1 + 0.2}, "x=0.30000000000000004", "0.30000000000000004", "\"x\": 0.30000000000000004"},
      {{kTagDouble, -2.5e-8}, "x=-0.000000025", "-0.000000025", "\"x\": -0.000000025"},
      {{kTagDouble, 1e-4}, "x=0.0001", "0.0001", "\"x\": 0.0001"},
      {{kTagDouble, 1.5e17}, "x=150000000000000000", "150000000000000000", "\"x\": 150000000000000000"},
      {{kTagEmpty, 0}, "x=empty", "", "\"x\": null"},
      {{kTagDouble, std::numeric_limits<double>::quiet_NaN()}, "x=\"nan\"", "\"nan\"", "\"x\": \"nan\""},
      {{kTagDouble, -std::numeric_limits<double>::infinity()}, "x=\"-inf\"", "\"-inf\"", "\"x\": \"-inf\""},
  };
  for (const Case& c : cases) {
    PlanColumns plan{{c.value}, {PlanValue{kTagInteger, 0}}};
    std::string shown = ::testing::PrintToString(c.value.value);
    EXPECT_EQ(dump_plan(plan, DumpFormat::kText), "metre=0 " + c.text + " y=0\n") << shown;
    EXPECT_EQ(dump_plan(plan, DumpFormat::kCsv), "metre,x,y\n0," + c.csv + ",0\n") << shown;
    nlohmann::json json = nlohmann::json::parse(dump_plan(plan, DumpFormat::kJson));
    EXPECT_EQ(json["records"][0], nlohmann::json::parse("{\"metre\": 0, " + c.json + ", \"y\": 0}")) << shown;
  }
}

TEST(Dump, OneLineARecordInEveryFormat) {
  std::vector<TrackCell> cells(3);
  cells[1].kind = cell_kind::kSlowdownStart;
  cells[1].param1 = 30;
  std::string text = dump_track(cells, DumpFormat::kText);
  EXPECT_EQ(text.substr(0, text.find('\n')),
            "cell=0 chainage=0 kind=0 kind_name=\"none\" param1=0 param2=0 param3=0 param4=0 timing=0 approach=0 "
            "landscape=0 speed_kmh=0 gradient_permille=-100 adhesion=0");
  EXPECT_NE(text.find("cell=1 chainage=50 kind=3 kind_name=\"slowdown start\" param1=30 "), std::string::npos);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 3);
  std::string json = dump_track(cells, DumpFormat::kJson);
  EXPECT_EQ(std::count(json.begin(), json.end(), '\n'), 5);  // opening, three cells, closing
  std::string second = json.substr(json.find('\n', json.find('\n') + 1) + 1);
  nlohmann::json cell = nlohmann::json::parse(second.substr(0, second.find('\n') - 1));  // without its comma
  EXPECT_EQ(cell["cell"], 1);
  EXPECT_EQ(cell["chainage"], 50);
  EXPECT_EQ(cell["kind"], 3);
  EXPECT_EQ(cell["kind_name"], "slowdown start");
  EXPECT_EQ(nlohmann::json::parse(json)["records"][1], cell);
}

TEST(Dump, RejectsWhatIsNotACompiledFile) {
  EXPECT_THROW(dump_compiled("x.dat", std::string(14, '\0'), DumpFormat::kText), DecodeError);
  EXPECT_THROW(dump_compiled("x.sim", std::string(2957, '\0'), DumpFormat::kText), DecodeError);
  EXPECT_THROW(dump_compiled("x_linea.dat", std::string("\x07\x00", 2), DumpFormat::kText), DecodeError);
  EXPECT_THROW(dump_compiled("x.txt", "", DumpFormat::kText), DecodeError);
  EXPECT_EQ(clock_time(29700), "08:15:00");
  EXPECT_EQ(clock_time(-61), "-00:01:01");
}

}  // namespace
}  // namespace lorvena
