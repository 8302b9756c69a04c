#include "tools/line_view/view.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <regex>
#include <sstream>

#include "disk/system_disk.h"
#include "testing/example_pair.h"
#include "testing/test_files.h"
#include "tools/command_line.h"
#include "tools/text/script_json.h"

namespace lorvena {
namespace {

CompileResult example() {
  SystemDisk disk;
  return compile_copies(disk, {testing::examples_dir(), testing::kExampleName, testing::kExampleTrain, true, {}});
}

// The data the page is made from, as its script reads it.
nlohmann::json page_data(const std::string& page) {
  const std::string open = "id=\"line-data\">";
  size_t from = page.find(open) + open.size();
  return nlohmann::json::parse(page.substr(from, page.find("</script>", from) - from));
}

// The embedded data reads as the same JSON with every character that could
// change how the page around it is parsed written as a \u escape.
TEST(View, EmbeddedJsonEscapesWhatAPageCouldRead) {
  struct Case {
    std::string json, safe;
  } cases[] = {
      {R"({"a":"<!--<script>"})", R"({"a":"\u003c!--\u003cscript\u003e"})"},
      {R"(["</script>","]]>","a&b"])", R"(["\u003c/script\u003e","]]\u003e","a\u0026b"])"},
      {"[\"\xE2\x80\xA8|\xE2\x80\xA9\"]", R"(["\u2028|\u2029"])"},
      {"[\"\xE2\x80\xA6\xE2\x80\"]", "[\"\xE2\x80\xA6\xE2\x80\"]"},  // other and cut sequences stay
      {R"({"plain":[1,2.5,null]})", R"({"plain":[1,2.5,null]})"},
  };
  for (const Case& c : cases) EXPECT_EQ(script_safe_json(c.json), c.safe) << c.json;
}

// Everything the page needs is inside it: no element loads a file or an
// address, and the data cannot end its script element early.
TEST(View, ThePageIsSelfContained) {
  CompileResult result = example();
  result.model.table[1].nome = "A</script><b>";  // a hostile station name
  std::string page = view_html(result, {}, "VALDORNO_linea.txt", "VALDORNO_2417-.txt");
  EXPECT_FALSE(std::regex_search(page, std::regex(R"((src|href)\s*=\s*["']?(https?:|//|[a-z]))")));
  EXPECT_EQ(page.find("<link"), std::string::npos);
  EXPECT_EQ(page.find("A</script>"), std::string::npos);
  EXPECT_NE(page.find("A\\u003c/script\\u003e\\u003cb\\u003e"), std::string::npos);
  EXPECT_NE(page.find("const Labels"), std::string::npos);  // the placement script is built in
}

// Each object carries the record it comes from: keyword, values, file and line.
TEST(View, ObjectsPointAtTheirRecordsAndDiagnosticsAtTheirChainage) {
  CompileResult result = example();
  Diagnostic warning{Severity::kWarning, "W-time", "examples/VALDORNO_2417-.txt", 17, 1, "minute 75"};
  std::string page = view_html(result, {warning}, "examples/VALDORNO_linea.txt", "examples/VALDORNO_2417-.txt");
  std::smatch m;
  ASSERT_TRUE(std::regex_search(page, m, std::regex(R"("name":"Costalunga","time":"08:22:00","rec":(\d+))")));
  // The station's index finds its record: [file, line, keyword, format, values].
  nlohmann::json data = page_data(page);
  const nlohmann::json& record = data["records"][std::stoul(m[1])];
  EXPECT_EQ(record[0], 1);
  EXPECT_EQ(record[1], 17);
  EXPECT_EQ(record[2], "stazione");
  EXPECT_EQ(record[4][0], "5800");
  // Its format names the fields and units of the record table.
  const nlohmann::json& format = data["formats"][record[3].get<size_t>()];
  EXPECT_EQ(format["keyword"], "stazione");
  EXPECT_EQ(format["fields"][0], nlohmann::json::array({"posizione", "m"}));
  EXPECT_EQ(format["fields"][1], nlohmann::json::array({"tipo", ""}));
  EXPECT_NE(page.find(R"("files":["examples/VALDORNO_linea.txt","examples/VALDORNO_2417-.txt"])"), std::string::npos);
  EXPECT_NE(page.find("\"code\":\"W-time\",\"file\":\"examples/VALDORNO_2417-.txt\",\"line\":17,\"column\":1,"
                      "\"message\":\"minute 75\",\"at\":5800}"),
            std::string::npos);
  EXPECT_NE(page.find("\"curves\":[{\"start\":1200,\"end\":1500,\"right\":true,\"radius\":1000,\"rec\":"),
            std::string::npos);
}

// The cells' values as runs of [value, cells] in the units of the
// descriptions, a gradient's byte read from -100 to 155 per mille.
TEST(View, CellValuesGoAsRunsInTheirUnits) {
  CompileResult result = example();
  result.model.track[0].gradient = 0;
  result.model.track[1].gradient = 255;
  nlohmann::json cells = page_data(view_html(result, {}, "VALDORNO_linea.txt", "VALDORNO_2417-.txt"))["cells"];
  EXPECT_EQ(cells["gradient"][0], nlohmann::json::array({-100, 1}));
  EXPECT_EQ(cells["gradient"][1], nlohmann::json::array({155, 1}));
  EXPECT_EQ(cells["gradient"][2], nlohmann::json::array({0, 28}));
  EXPECT_EQ(cells["speed"][0], nlohmann::json::array({70, 20}));
}

TEST(View, TheCommandWritesThePage) {
  ScratchDir dir;
  std::ostringstream out, err;
  std::string page = (dir / "line.html").string();
  EXPECT_EQ(run_tool({"view", testing::examples_dir().string(), "VALDORNO", "2417", "--out", page}, out, err), 0)
      << err.str();
  EXPECT_NE(out.str().find("written: " + page), std::string::npos);
  EXPECT_EQ(testing::read_bytes(page).substr(0, 15), "<!DOCTYPE html>");
}

}  // namespace
}  // namespace lorvena
