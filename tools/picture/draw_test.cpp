#include "tools/picture/draw.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <regex>

#include "disk/file_names.h"
#include "disk/system_disk.h"
#include "testing/example_pair.h"
#include "testing/test_files.h"
#include "tools/diagnosing/author_compile.h"

namespace lorvena {
namespace {

using testing::read_bytes;

int64_t count_of(const std::string& text, const std::string& word) {
  int64_t n = 0;
  for (size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) ++n;
  return n;
}

// Records of a description whose keyword field starts the line.
int64_t records(const std::string& description, const std::string& keyword) {
  return count_of("\n" + description, "\n" + keyword + ",");
}

std::string example_svg(CompileResult& result) {
  SystemDisk disk;
  result = compile_copies(disk, {testing::examples_dir(), testing::kExampleName, testing::kExampleTrain, true, {}});
  return draw_svg(result.model);
}

TEST(Draw, MarksOneStationAndOneSignalPerRecordOfTheInput) {
  CompileResult result;
  std::string svg = example_svg(result);
  int64_t stations = records(result.train_text, "stazione");
  int64_t signals = records(result.train_text, "segnale");
  ASSERT_EQ(stations, 3);
  ASSERT_EQ(signals, 5);
  EXPECT_EQ(count_of(svg, "class=\"station\""), stations);
  EXPECT_EQ(count_of(svg, "class=\"plan-station\""), stations);
  EXPECT_EQ(count_of(svg, "class=\"signal\""), signals);
  EXPECT_EQ(count_of(svg, "class=\"plan-signal\""), signals);
  EXPECT_EQ(count_of(svg, "class=\"plan-tunnel\""), 1);
  EXPECT_EQ(count_of(svg, "class=\"slowdown\""), 1);
  EXPECT_EQ(count_of(svg, "class=\"warning\""), 1);
  EXPECT_EQ(count_of(svg, "class=\"speed-board\""), 3);
  // The scenario's own words: names, times and sign texts as written.
  EXPECT_NE(svg.find(">VALDORNO CENTRALE  08:31:00<"), std::string::npos);
  EXPECT_NE(svg.find(">(Cippo Km.)( 10+000  )<"), std::string::npos);
  EXPECT_NE(svg.find(">60 70 75<"), std::string::npos);
  // The plan names its stations beside their circles; the legend names each colour.
  for (const char* name : {"PIANELLO", "Costalunga", "VALDORNO CENTRALE", "stazione", "segnale",
                           "rallentamento / avviso", "galleria", "curva", "cartello_indicatore"})
    EXPECT_EQ(count_of(svg, std::string(">") + name + "<"), 1) << name;
}

// Each step panel's values run from its lowest, 6 units above its foot, to its
// highest, 64 units higher, each tick at its height between them.
TEST(Draw, StepPanelsScaleTheirValuesToTheirHeight) {
  CompileResult result;
  std::string svg = example_svg(result);
  const struct {
    const char* value;
    const char* y;  // the tick's baseline, 4 below its value's height
  } ticks[] = {
      {"-8", "340.5"}, {"0", "314.9"}, {"5", "298.9"}, {"12", "276.5"},  // pendenza, the panel at 252.5
      {"0", "454.5"},  {"50", "419.0"}, {"90", "390.5"},                  // velocita, at 366.5
      {"0", "568.5"},  {"50", "536.5"}, {"100", "504.5"},                 // aderenza, at 480.5
  };
  for (const auto& t : ticks)
    EXPECT_NE(svg.find(std::string("y=\"") + t.y + "\" font-size=\"11.0\" text-anchor=\"end\" xml:space=\"preserve\">" +
                       t.value + "<"),
              std::string::npos)
        << t.value << " at " << t.y;
}

// The test command installs the browser before it runs the tests; a test
// never installs anything itself.
bool have_chromium() { return std::system("command -v chromium >/dev/null 2>&1") == 0; }
constexpr const char* kNoChromium = "chromium is missing: install Debian's package chromium";

std::string run(const std::string& command) {
  std::string out;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return out;
  char buf[4096];
  for (size_t n; (n = fread(buf, 1, sizeof buf, pipe)) > 0;) out.append(buf, n);
  pclose(pipe);
  return out;
}

TEST(Draw, ChromiumRendersTheSvg) {
  ASSERT_TRUE(have_chromium()) << kNoChromium;
  CompileResult result;
  ScratchDir dir;
  std::filesystem::path svg = dir / "line.svg", png = dir / "line.png";
  testing::write_bytes(svg, example_svg(result));
  std::string browser = "timeout -k 5 40 chromium --headless --no-sandbox --disable-gpu --hide-scrollbars "
                        "--user-data-dir='" + (dir / "profile").string() + "' ";
  std::string url = "'file://" + svg.string() + "'";
  // An SVG that is not well-formed XML comes back as a page holding a parsererror.
  std::string dom = run(browser + "--dump-dom " + url + " 2>/dev/null");
  EXPECT_NE(dom.find("<svg"), std::string::npos);
  EXPECT_EQ(dom.find("parsererror"), std::string::npos);
  EXPECT_EQ(count_of(dom, "class=\"station\""), 3);
  run(browser + "--window-size=1000,1300 --screenshot='" + png.string() + "' " + url + " 2>/dev/null");
  ASSERT_TRUE(std::filesystem::exists(png));
  std::string bytes = read_bytes(png);
  EXPECT_EQ(bytes.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
  EXPECT_GT(bytes.size(), 10000u);  // a blank page of that size is far smaller
}

TEST(Draw, BrokenXmlIsSeenByTheRenderCheck) {
  ASSERT_TRUE(have_chromium()) << kNoChromium;
  ScratchDir dir;
  std::filesystem::path svg = dir / "broken.svg";
  testing::write_bytes(svg, "<svg xmlns=\"http://www.w3.org/2000/svg\"><text>a & b</text></svg>");
  std::string dom = run("timeout -k 5 40 chromium --headless --no-sandbox --disable-gpu --user-data-dir='" +
                        (dir / "profile").string() + "' --dump-dom 'file://" + svg.string() + "' 2>/dev/null");
  EXPECT_NE(dom.find("parsererror"), std::string::npos);
}

}  // namespace
}  // namespace lorvena
