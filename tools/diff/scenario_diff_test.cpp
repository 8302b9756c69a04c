#include "tools/diff/scenario_diff.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <sstream>

#include "compiler/packing.h"
#include "disk/file_names.h"
#include "disk/system_disk.h"
#include "testing/example_pair.h"
#include "testing/test_files.h"
#include "testing/tool_run.h"
#include "tools/command_line.h"
#include "tools/diagnosing/author_compile.h"
#include "tools/diff/compiled_diff.h"

namespace lorvena {
namespace {

namespace fs = std::filesystem;
using testing::read_bytes;
using testing::tool;
using testing::ToolRun;
using testing::write_bytes;


// One text of a description replaced by another.
struct Edit {
  std::string file;  // "line" or "train"
  std::string from;
  std::string to;
};

const std::string kTrack = track_file_name(testing::kExampleName, testing::kExampleTrain);
const std::string kTable = table_file_name(testing::kExampleName, testing::kExampleTrain);
const std::string kPlan = plan_file_name(testing::kExampleName);
const std::string kAllEqual =
    "track VALDORNO_2417.dat: equal\ntable VALDORNO_2417.sim: equal\nplan VALDORNO_linea.dat: equal\n";

// The example pair, edited, compiled into `out` as the installer would (with
// the descriptions beside the compiled files when `descriptions`).
void compile_example(const fs::path& out, const std::vector<Edit>& edits, bool plan = true,
                     bool descriptions = false) {
  ScratchDir src;
  std::string line = line_description_name(testing::kExampleName);
  std::string train = train_description_name(testing::kExampleName, testing::kExampleTrain);
  std::string texts[2] = {read_bytes(testing::examples_dir() / line), read_bytes(testing::examples_dir() / train)};
  for (const Edit& e : edits) {
    std::string& text = texts[e.file == "line" ? 0 : 1];
    size_t at = text.find(e.from);
    ASSERT_NE(at, std::string::npos) << e.from;
    text.replace(at, e.from.size(), e.to);
  }
  write_bytes(src / line, texts[0]);
  write_bytes(src / train, texts[1]);
  SystemDisk disk;
  CompileResult r = compile_copies(disk, {src.path(), testing::kExampleName, testing::kExampleTrain, plan, out});
  ASSERT_EQ(r.model.err_code, 0);
  if (!descriptions) return;
  write_bytes(out / line, texts[0]);
  write_bytes(out / train, texts[1]);
}

// With the descriptions beside both compiled scenarios, each change is told
// by its record, with the author's own numbers, and the cells only counted.
TEST(DiffByRecord, TellsEachRecordAsTheAuthorWroteIt) {
  struct Case {
    Edit edit;
    std::string told;
  } cases[] = {
      {{"train", "segnale,    5400,", "segnale,    5500,"}, "VALDORNO_2417-.txt: segnale, line 24: 5400 -> 5500 m\n"},
      {{"train", "[rallentamenti]\r\n", "[rallentamenti]\r\nrallentamento,  9500,  50,  200,  0, 1, 0\r\n"},
       "VALDORNO_2417-.txt: rallentamento added at 9500 m, 50 km/h, 200 m, line 20\n"},
      {{"train", "0,   8,22, 0, Costalunga", "0,   8,25, 0, Costalunga"},
       "VALDORNO_2417-.txt: stazione, line 17 at 5800 m: minutes 22 min -> 25 min\n"},
      {{"train", "segnale,   10200,   2, 2, 3,  0, 0,    2,  1,1,0, 0\r\n", ""},
       "VALDORNO_2417-.txt: segnale removed at 10200 m, 0 s (line 26 of A)\n"},
  };
  for (const Case& c : cases) {
    ScratchDir a, b;
    compile_example(a.path(), {}, true, true);
    compile_example(b.path(), {c.edit}, true, true);
    SystemDisk disk;
    ScenarioDiff d = diff_scenarios(disk, a.path(), b.path(), std::nullopt, std::nullopt, false);
    EXPECT_TRUE(d.differ);
    std::string first = d.text.substr(0, d.text.find("track "));
    EXPECT_EQ(first.substr(0, 22), "descriptions: differ\n ") << d.text;
    EXPECT_NE(first.find(c.told), std::string::npos) << c.edit.to << "\n" << d.text;
    EXPECT_EQ(std::count(first.begin(), first.end(), '\n'), 2) << d.text;  // that change alone
    EXPECT_EQ(d.text.find("\n  cell"), std::string::npos) << d.text;
  }
}

// --cells lists the cells as well; without the descriptions they are all there is.
TEST(DiffByRecord, CellsUnderTheFlagOrWithoutDescriptions) {
  ScratchDir a, b, c;
  compile_example(a.path(), {}, true, true);
  compile_example(b.path(), {{"train", "segnale,    5400,", "segnale,    5500,"}}, true, true);
  compile_example(c.path(), {{"train", "segnale,    5400,", "segnale,    5500,"}});
  ToolRun run = tool({"diff", a.path().string(), b.path().string()});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.out.find("track VALDORNO_2417.dat: differs ("), std::string::npos) << run.out;
  ToolRun cells = tool({"diff", a.path().string(), b.path().string(), "--cells"});
  EXPECT_NE(cells.out.find("segnale, line 24: 5400 -> 5500 m"), std::string::npos) << cells.out;
  EXPECT_NE(cells.out.find("  cell 109 (5450 m): signal -> free"), std::string::npos) << cells.out;
  ToolRun plain = tool({"diff", a.path().string(), c.path().string()});
  EXPECT_EQ(plain.out.find("descriptions"), std::string::npos) << plain.out;
  EXPECT_NE(plain.out.find("  cell 109 (5450 m): signal -> free"), std::string::npos) << plain.out;
}

// Directories that hold only descriptions are compiled in memory, nothing
// written; one whose pair has an error is refused.
TEST(DiffByRecord, ComparesDescriptionsAloneByCompilingThem) {
  ScratchDir a, b, broken;
  std::string line = line_description_name(testing::kExampleName);
  std::string train = train_description_name(testing::kExampleName, testing::kExampleTrain);
  std::string line_text = read_bytes(testing::examples_dir() / line), train_text = read_bytes(testing::examples_dir() / train);
  std::string moved = train_text;
  moved.replace(moved.find("segnale,    5400,"), 17, "segnale,    5500,");
  for (const auto& [dir, text] : {std::pair{&a, train_text}, std::pair{&b, moved}, std::pair{&broken, train_text + "stazione, x\r\n"}}) {
    write_bytes(*dir / line, line_text);
    write_bytes(*dir / train, text);
  }
  ToolRun run = tool({"diff", a.path().string(), b.path().string(), "--cells"});
  EXPECT_EQ(run.status, 1) << run.err;
  EXPECT_EQ(run.out.substr(0, run.out.find("descriptions:")),
            "A: compiled from the descriptions VALDORNO 2417\nB: compiled from the descriptions VALDORNO 2417\n");
  EXPECT_NE(run.out.find("segnale, line 24: 5400 -> 5500 m"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("  cell 109 (5450 m): signal -> free"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("plan VALDORNO_linea.dat: equal\n"), std::string::npos) << run.out;
  EXPECT_EQ(std::distance(fs::directory_iterator(a.path()), {}), 2) << "nothing written";
  ToolRun same = tool({"diff", a.path().string(), a.path().string()});
  EXPECT_EQ(same.status, 0) << same.out << same.err;
  ToolRun refused = tool({"diff", a.path().string(), broken.path().string()});
  EXPECT_EQ(refused.status, 2);
  EXPECT_NE(refused.err.find("compile with error 25 (scenario_tool check tells it)"), std::string::npos) << refused.err;
}

// --json: the same changes as values, the cells' only counted unless --cells.
TEST(DiffByRecord, JsonHoldsTheRecordsAndUnderTheFlagTheCells) {
  ScratchDir a, b, c;
  compile_example(a.path(), {}, true, true);
  compile_example(b.path(), {{"train", "segnale,    5400,", "segnale,    5500,"}}, true, true);
  compile_example(c.path(), {}, false, true);
  ToolRun run = tool({"diff", a.path().string(), b.path().string(), "--json"});
  EXPECT_EQ(run.status, 1);
  nlohmann::json d = nlohmann::json::parse(run.out);
  EXPECT_EQ(d["differ"], true);
  ASSERT_EQ(d["descriptions"].size(), 1u) << d;
  EXPECT_EQ(d["descriptions"][0], (b / "VALDORNO_2417-.txt").string() + ": segnale, line 24: 5400 -> 5500 m");
  ASSERT_EQ(d["files"].size(), 3u) << d;
  const nlohmann::json& track = d["files"][0];
  EXPECT_EQ(track["kind"], "track");
  EXPECT_EQ(track["a"], (a / kTrack).string());
  EXPECT_EQ(track["equal"], false);
  EXPECT_GT(track["change_count"].get<int>(), 0);
  EXPECT_FALSE(track.contains("changes")) << track;
  EXPECT_EQ(d["files"][1]["kind"], "table");
  EXPECT_EQ(d["files"][1]["equal"], true);  // a signal has no entry
  EXPECT_EQ(d["files"][2]["kind"], "plan");
  EXPECT_EQ(d["files"][2]["equal"], true);
  EXPECT_EQ(d["plan_only_in"], nullptr);

  nlohmann::json cells = nlohmann::json::parse(tool({"diff", a.path().string(), b.path().string(), "--json", "--cells"}).out);
  const nlohmann::json& changes = cells["files"][0]["changes"];
  EXPECT_EQ(changes.size(), cells["files"][0]["change_count"].get<size_t>());
  EXPECT_TRUE(std::any_of(changes.begin(), changes.end(), [](const nlohmann::json& c) {
    return c.get<std::string>().starts_with("cell 109 (5450 m): signal -> free");
  })) << changes;

  nlohmann::json no_plan = nlohmann::json::parse(tool({"diff", a.path().string(), c.path().string(), "--json"}).out);
  EXPECT_EQ(no_plan["plan_only_in"], "A");
  EXPECT_EQ(no_plan["differ"], true);
}

class Diff : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    original_ = new ScratchDir();
    compile_example(original_->path(), {});
  }
  static void TearDownTestSuite() {
    delete original_;
    original_ = nullptr;
  }
  static std::string a() { return original_->path().string(); }
  static ScratchDir* original_;
};
ScratchDir* Diff::original_ = nullptr;

// Each case compiles the example with one record edited and compares it with
// the example as it is: every line named must be in the output.
TEST_F(Diff, TellsEachChangeOfTwoCompiledScenarios) {
  struct Case {
    std::string what;
    std::vector<Edit> edits;
    int status;
    std::vector<std::string> lines;
  };
  const std::vector<Case> cases = {
      {"nothing changed", {}, 0, {kAllEqual}},
      {"the first signal taken away",
       {{"train", "segnale,    2400,   2, 4, 0,  0, 0,    2,  2,0,0, 0", ""}},
       1,
       {"track VALDORNO_2417.dat: differs\n", "  cell 41 (2050 m): approach mark 84 -> 0\n",
        "  cell 47 (2350 m): approach mark 81 -> 0\n  cell 49 (2450 m): signal -> free\n",
        "table VALDORNO_2417.sim: equal\n"}},
      {"a signal's aspect", {{"train", "segnale,    2400,   2, 4,", "segnale,    2400,   2, 3,"}}, 1,
       {"  cell 49 (2450 m): aspects s1/d1 42 -> 32\ntable"}},
      {"a slowdown's speed", {{"train", "rallentamento,  7400,  30,", "rallentamento,  7400,  50,"}}, 1,
       {"  cell 125 (6250 m): speed 30 -> 50\n", "  cell 149 (7450 m): speed 30 -> 50\n"}},
      {"a line speed, over many cells", {{"train", "velocita,    1000,    90", "velocita,    1000,    100"}}, 1,
       {"track VALDORNO_2417.dat: differs\n  cells 20..169 (1000..8450 m): speed 90 -> 100 km/h\ntable"}},
      {"a station's time", {{"train", "8,15, 0, PIANELLO", "8,20, 0, PIANELLO"}}, 1,
       {"track VALDORNO_2417.dat: equal\n",
        "table VALDORNO_2417.sim: differs\n  entry 1 PIANELLO: time 08:15:00 -> 08:20:00\nplan"}},
      {"a sign text", {{"line", "( 10+000  )", "( 10+500  )"}}, 1,
       {"  entry 79 (Cippo Km.)( 10+000  ): nome \"(Cippo Km.)( 10+000  )\" -> \"(Cippo Km.)( 10+500  )\"\n"}},
      {"a curve 20 m longer", {{"line", "curvas4,  7000,  400", "curvas4,  7000,  420"}}, 1,
       {"table VALDORNO_2417.sim: equal\nplan VALDORNO_linea.dat: differs\n"
        "  plan points 7401..18998 m: differ (max 231.72 m)\n"}},
      {"a longer line",
       {{"line", "lunghezza percorso,    12000", "lunghezza percorso,    12500"}},
       1,
       {"track VALDORNO_2417.dat: differs\n  cells 378..390 (18900..19500 m): the end of the track, where the line "
        "length puts it: A's runs to 19000 m, B's to 19500 m with its last 3 cells empty\ntable",
        "  entry 84 (line): fine 12000 -> 12500\n",
        "plan VALDORNO_linea.dat: differs\n  plan points 18999..19500 m: the end of the plan, where the line length "
        "puts it: A's runs to 19000 m, B's to 19500 m with its last 2 points empty\n"}},
      {"a longer line and a line speed up to its old end",
       {{"line", "lunghezza percorso,    12000", "lunghezza percorso,    12500"},
        {"train", "velocita,    1000,    90", "velocita,    1000,    100"}},
       1,
       {"  cells 20..169 (1000..8450 m): speed 90 -> 100 km/h\n  cells 378..390 (18900..19500 m): the end of the "
        "track"}},
  };
  for (const Case& c : cases) {
    ScratchDir b;
    compile_example(b.path(), c.edits);
    ToolRun r = tool({"diff", a(), b.path().string()});
    EXPECT_EQ(r.status, c.status) << c.what << "\n" << r.out << r.err;
    EXPECT_EQ(r.err, "") << c.what;
    for (const std::string& line : c.lines) EXPECT_NE(r.out.find(line), std::string::npos) << c.what << "\n" << r.out;
    // The same change seen from the other side: the status does not depend on the order.
    EXPECT_EQ(tool({"diff", b.path().string(), a()}).status, c.status) << c.what;
  }
}

TEST_F(Diff, ComparesTwoFilesOfOneKind) {
  ScratchDir b;
  compile_example(b.path(), {{"train", "8,15, 0, PIANELLO", "8,20, 0, PIANELLO"}});
  ToolRun table = tool({"diff", (fs::path(a()) / kTable).string(), (b / kTable).string()});
  EXPECT_EQ(table.status, 1);
  EXPECT_EQ(table.out, "table VALDORNO_2417.sim: differs\n  entry 1 PIANELLO: time 08:15:00 -> 08:20:00\n");
  ToolRun track = tool({"diff", (fs::path(a()) / kTrack).string(), (b / kTrack).string()});
  EXPECT_EQ(track.status, 0);
  EXPECT_EQ(track.out, "track VALDORNO_2417.dat: equal\n");
}

// A directory with the plan left out, and one with two scenarios: the plan
// missing is a difference; two scenarios need --name and --train.
TEST_F(Diff, FindsTheScenarioInEachDirectory) {
  ScratchDir no_plan, two;
  compile_example(no_plan.path(), {}, false);
  ToolRun r = tool({"diff", a(), no_plan.path().string()});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("table VALDORNO_2417.sim: equal\nplan VALDORNO_linea.dat: only in A\n"), std::string::npos)
      << r.out;

  compile_example(two.path(), {});
  for (const std::string& file : {kTrack, kTable})
    fs::copy_file(two / file, two / (file.substr(0, 9) + "2418" + file.substr(13)));
  ToolRun ambiguous = tool({"diff", a(), two.path().string()});
  EXPECT_EQ(ambiguous.status, 2);
  EXPECT_NE(ambiguous.err.find(" holds more than one compiled scenario (VALDORNO_2417, VALDORNO_2418); choose one "
                               "with --name NAME --train TRAIN"),
            std::string::npos)
      << ambiguous.err;
  ScratchDir renamed;  // the same scenario under another train number
  for (const std::string& file : {kTrack, kTable})
    fs::copy_file(two / file, renamed / (file.substr(0, 9) + "2418" + file.substr(13)));
  fs::copy_file(two / kPlan, renamed / kPlan);
  ToolRun other = tool({"diff", a(), renamed.path().string()});
  EXPECT_EQ(other.status, 0) << other.err;
  EXPECT_EQ(other.out, "track VALDORNO_2417.dat -> VALDORNO_2418.dat: equal\n"
                       "table VALDORNO_2417.sim -> VALDORNO_2418.sim: equal\nplan VALDORNO_linea.dat: equal\n");

  ToolRun named = tool({"diff", a(), two.path().string(), "--name", "VALDORNO", "--train", "2417"});
  EXPECT_EQ(named.status, 0) << named.err;
  EXPECT_EQ(named.out, kAllEqual);
}

// What diff cannot compare: exit status 2, a message on standard error that
// names the file, and nothing on standard output.
TEST_F(Diff, RefusesWhatItCannotCompare) {
  ScratchDir bad, empty;
  fs::path track = fs::path(a()) / kTrack, table = fs::path(a()) / kTable, plan = fs::path(a()) / kPlan;
  std::string track_bytes_ = read_bytes(track), table_bytes_ = read_bytes(table), plan_bytes_ = read_bytes(plan);
  write_bytes(bad / kTrack, track_bytes_.substr(0, track_bytes_.size() - 1));
  write_bytes(bad / kTable, table_bytes_.substr(0, 2000));
  write_bytes(bad / kPlan, plan_bytes_ + std::string("\x05\x00", 2));
  write_bytes(bad / "notes.txt", "");
  struct Case {
    std::vector<std::string> args;
    std::string err_has;
  };
  const std::vector<Case> cases = {
      {{"diff", track.string(), table.string()},
       "a track (.dat) and " + table.string() + " a table (.sim): diff compares two files of one kind"},
      {{"diff", track.string(), (bad / kTrack).string()},
       (bad / kTrack).string() + ": not a compiled track: a track file holds 15-byte cells; this one has 5714 bytes"},
      {{"diff", (bad / kTable).string(), table.string()},
       (bad / kTable).string() + ": not a compiled table: the file ends inside a record"},
      {{"diff", plan.string(), (bad / kPlan).string()}, (bad / kPlan).string() + ": not a compiled plan: "},
      {{"diff", a(), bad.path().string()}, (bad / kTrack).string() + ": not a compiled track"},
      {{"diff", a(), empty.path().string()},
       "no compiled scenario (a NAME_TRAIN.sim with its NAME_TRAIN.dat) and no description pair in "},
      {{"diff", a(), track.string()}, " is a directory and " + track.string() + " is not"},
      {{"diff", a(), a(), "--name", "VALDORNO"}, "--name and --train go together"},
      {{"diff", a(), a(), "--name", "VALDORNO", "--train", "9"}, "and no description pair VALDORNO 9 in "},
      {{"diff", track.string(), track.string(), "--name", "V", "--train", "9"}, "choose a scenario in two directories"},
      {{"diff", (bad / "notes.txt").string(), track.string()}, "not a compiled file name"},
      {{"diff", (bad / "missing.sim").string(), table.string()}, "missing.sim"},
      {{"diff", a()}, "diff expects A B"},
  };
  for (const Case& c : cases) {
    ToolRun r = tool(c.args);
    std::string where = ::testing::PrintToString(c.args);
    EXPECT_EQ(r.status, 2) << where;
    EXPECT_NE(r.err.find(c.err_has), std::string::npos) << where << "\n" << r.err;
    EXPECT_EQ(r.out, "") << where;
  }
}

// A hundred scattered changes: the first 40 lines, then how many more.
TEST(DiffOutput, IsBoundedForHugeDifferences) {
  ScratchDir dir;
  Scenario a, b;
  a.track.resize(200);
  b.track.resize(200);
  for (size_t i = 0; i < 200; i += 2) b.track[i].param3 = static_cast<int16_t>(i + 1);
  write_bytes(dir / "a.dat", track_bytes(a));
  write_bytes(dir / "b.dat", track_bytes(b));
  ToolRun r = tool({"diff", (dir / "a.dat").string(), (dir / "b.dat").string()});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 1 + 40 + 1);
  EXPECT_NE(r.out.find("a.dat -> b.dat: differs\n  cell 0 (0 m): param3 0 -> 1\n  cell 2 (100 m): param3 0 -> 3\n"),
            std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("  cell 78 (3900 m): param3 0 -> 79\n  ... and 60 more\n"), std::string::npos) << r.out;
}

// The plan's elements: a point moved, computed or not, stored another way.
TEST(DiffOutput, PlanPointsByChainageRange) {
  auto column = [](std::vector<double> values, uint16_t tag) {
    std::vector<PlanValue> out;
    for (double v : values) out.push_back({tag, v});
    return out;
  };
  PlanColumns a{column({0, 0, 0, 0, 0, 0}, 5), column({0, 1, 2, 3, 4, 5}, 5)};
  struct Case {
    std::string what;
    PlanColumns b;
    std::vector<std::string> lines;
  };
  PlanColumns moved = a, emptied = a, integer = a, longer = a;
  moved.x[2].value = 0.3, moved.y[2].value = 2.4, moved.x[3].value = 0.01;
  emptied.x[4] = emptied.y[4] = emptied.x[5] = emptied.y[5] = PlanValue{0, 0};
  integer.y[1].tag = 2;
  longer.x.push_back({5, 0}), longer.y.push_back({5, 6});
  const std::vector<Case> cases = {
      {"equal", a, {}},
      {"moved", moved, {"plan points 2..3 m: differ (max 0.50 m)"}},
      {"emptied", emptied, {"plan points 4..5 m: computed -> empty"}},
      {"stored as an integer", integer, {"plan point 1 m: stored as double -> integer"}},
      {"longer", longer, {"plan point 6 m: the end of the plan, where the line length puts it: A's runs to 5 m, B's to 6 m"}},
  };
  for (const Case& c : cases) EXPECT_EQ(plan_changes(a, c.b), c.lines) << c.what;
  PlanColumns one = a;
  one.x[3].value = 1e-9;
  EXPECT_EQ(plan_changes(a, one), std::vector<std::string>{"plan point 3 m: differs by 1e-09 m"});
}

}  // namespace
}  // namespace lorvena
