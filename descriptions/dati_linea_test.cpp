#include "descriptions/dati_linea.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <regex>

#include "disk/system_disk.h"
#include "testing/description_fields.h"
#include "testing/document_lines.h"
#include "testing/test_files.h"

namespace lorvena {
namespace {

using testing::field_int;
using testing::split_fields;

class LineDescription : public ::testing::Test {
 protected:
  void SetUp() override {
    SystemDisk disk;
    dati_linea(disk, dir.path(), "LORVENA PF");
    bytes = testing::read_bytes(dir / "LORVENA PF_linea.txt");
    ASSERT_TRUE(testing::ends_every_line_with_crlf(bytes)) << "a line without CR LF";
    lines = testing::crlf_lines(bytes);
    ASSERT_EQ(lines.size(), 134u);
  }

  // The records between the header at index `header` and the next header.
  std::vector<std::string> records(size_t header, size_t count) const {
    return {lines.begin() + header + 1, lines.begin() + header + 1 + count};
  }

  ScratchDir dir;
  std::string bytes;
  std::vector<std::string> lines;
};

std::vector<int> ints(const std::string& line) {
  std::vector<int> values;
  const auto fields = split_fields(line);
  for (size_t i = 1; i < fields.size(); ++i) {
    const auto v = field_int(fields[i]);
    values.push_back(v ? *v : -99999);
  }
  return values;
}

TEST_F(LineDescription, HasItsSectionsAndGeneralBlock) {
  const std::map<size_t, std::string> headers{{0, "[generale]"}, {9, "[curve]"},      {79, "[pendenze]"},
                                              {102, "[montagne]"}, {108, "[cartelli]"}, {126, "[indicazioni]"},
                                              {133, "[fine]"}};
  for (size_t i = 0; i < lines.size(); ++i) {
    const bool is_header = headers.count(i) > 0;
    EXPECT_EQ(lines[i].find('[') != std::string::npos, is_header) << "line " << i;
    if (is_header) {
      EXPECT_EQ(lines[i], headers.at(i));
    }
    EXPECT_FALSE(lines[i].empty()) << "line " << i;
    EXPECT_NE(lines[i].back(), ' ') << "line " << i;
  }
  const std::vector<std::string> general{"lunghezza percorso,    93000",
                                         "progressiva chilometrica uno,    0,    0,    0",
                                         "progressiva chilometrica due,    0,    0,    0",
                                         "progressiva chilometrica tre,    0,    0,    0",
                                         "sfondo uno,    1",
                                         "sfondo due,    0",
                                         "sfondo tre,    0",
                                         "ripetizione segnali 4 codici,    0,    27000"};
  EXPECT_EQ(records(0, 8), general);
  const auto longest = std::max_element(lines.begin(), lines.end(),
                                        [](const auto& a, const auto& b) { return a.size() < b.size(); });
  EXPECT_EQ(longest->size(), 67u);
  EXPECT_EQ(bytes.find("riferimento"), std::string::npos);

  SystemDisk disk;
  dati_linea(disk, dir.path(), "LORVENA PF");
  EXPECT_EQ(testing::read_bytes(dir / "LORVENA PF_linea.txt"), bytes);
  EXPECT_EQ(testing::list_files(dir.path()), "LORVENA PF_linea.txt");
}

TEST_F(LineDescription, CurvesHaveTheirSidesClassesAndLengths) {
  const std::regex form(R"(curva([ds])([1-6]),  (\d+),  (\d+))");
  std::map<char, int> sides;
  std::map<int, int> classes, lengths;
  int previous_end = 0, previous_start = 0, last_end = 0;
  const auto curves = records(9, 69);
  for (const auto& line : curves) {
    std::smatch m;
    ASSERT_TRUE(std::regex_match(line, m, form)) << line;
    const int start = std::stoi(m[3]), length = std::stoi(m[4]);
    ++sides[m[1].str()[0]];
    ++classes[std::stoi(m[2])];
    ++lengths[length];
    EXPECT_GT(start, previous_start) << line;
    EXPECT_GE(start, previous_end) << line;
    previous_start = start;
    previous_end = last_end = start + length;
  }
  EXPECT_EQ(sides, (std::map<char, int>{{'d', 34}, {'s', 35}}));
  EXPECT_EQ(classes, (std::map<int, int>{{2, 4}, {3, 38}, {4, 23}, {5, 2}, {6, 2}}));
  EXPECT_EQ(lengths, (std::map<int, int>{{50, 1}, {100, 3}, {200, 1}, {300, 55}, {350, 2},
                                         {400, 1}, {450, 2}, {500, 3}, {1000, 1}}));
  EXPECT_EQ(curves[0], "curvad6,  1450,  100");
  EXPECT_EQ(curves[1], "curvas6,  1550,  100");
  EXPECT_EQ(curves.back(), "curvad2,  87300,  350");
  EXPECT_EQ(last_end, 87650);
  EXPECT_NE(std::find(curves.begin(), curves.end(), "curvas3,  83500,  1000"), curves.end());
  EXPECT_NE(std::find(curves.begin(), curves.end(), "curvas4,  86550,  50"), curves.end());
}

TEST_F(LineDescription, GradientsRiseInChainageWithinTheirRange) {
  const auto gradients = records(79, 22);
  EXPECT_EQ(gradients.front(), "pendenza,   0,    0");
  EXPECT_EQ(gradients.back(), "pendenza,  86150,   -1");
  const std::regex form(R"(pendenza,  (\d+),   (-?\d+))");
  int previous = 0, lowest = 0, highest = 0;
  std::string highest_row;
  for (size_t i = 1; i < gradients.size(); ++i) {
    std::smatch m;
    ASSERT_TRUE(std::regex_match(gradients[i], m, form)) << gradients[i];
    const int chainage = std::stoi(m[1]), value = std::stoi(m[2]);
    EXPECT_GT(chainage, previous) << gradients[i];
    previous = chainage;
    lowest = std::min(lowest, value);
    if (value > highest) highest_row = gradients[i];
    highest = std::max(highest, value);
  }
  EXPECT_EQ(lowest, -15);
  EXPECT_EQ(highest, 20);
  EXPECT_EQ(highest_row, "pendenza,  48950,   20");
  EXPECT_NE(std::find(gradients.begin(), gradients.end(), "pendenza,  53000,   -15"), gradients.end());
}

TEST_F(LineDescription, MountainsAreTheFiveTunnels) {
  EXPECT_EQ(records(102, 5), (std::vector<std::string>{
                                 "montagna,   1800,  3800,  11", "montagna,   6200,  10100,  11",
                                 "montagna,   44400,  45300,  11", "montagna,   52800,  53200,  11",
                                 "montagna,   86300,  86700,  12"}));
}

TEST_F(LineDescription, SpeedIndicatorsShowRisingSpeedsOnTheLeft) {
  const auto boards = records(108, 17);
  const std::regex both(R"(indicatori_vmax,  (\d+),  (\d+),  (\d+),  (\d+),  0,  (\d+),  (\d+),  (\d+),  0)");
  const std::regex left_only(R"(indicatori_vmax,  (\d+),  (\d+),  (\d+),  (\d+),  0,  ,  ,  ,  0)");
  int previous = 0, slowest = 1000, fastest = 0;
  for (size_t i = 0; i < boards.size(); ++i) {
    std::smatch m;
    ASSERT_TRUE(std::regex_match(boards[i], m, i < 6 ? both : left_only)) << boards[i];
    if (i < 6) {
      EXPECT_EQ(m.str(2) + m.str(3) + m.str(4), m.str(5) + m.str(6) + m.str(7)) << boards[i];
    }
    const int position = std::stoi(m[1]);
    EXPECT_GT(position, previous) << boards[i];
    previous = position;
    const int a = std::stoi(m[2]), b = std::stoi(m[3]), c = std::stoi(m[4]);
    EXPECT_TRUE(a <= b && b <= c) << boards[i];
    slowest = std::min(slowest, a);
    fastest = std::max(fastest, c);
  }
  EXPECT_EQ(slowest, 55);
  EXPECT_EQ(fastest, 105);
  EXPECT_EQ(boards[0], "indicatori_vmax,  500,  60,  70,  75,  0,  60,  70,  75,  0");
  EXPECT_EQ(boards[6], "indicatori_vmax,  35400,  80,  85,  85,  0,  ,  ,  ,  0");
  EXPECT_EQ(ints(boards.back())[0], 84600);
  for (const char* row : {"indicatori_vmax,  21900,  95,  105,  105,  0,  95,  105,  105,  0",
                          "indicatori_vmax,  52000,  55,  75,  75,  0,  ,  ,  ,  0"}) {
    EXPECT_NE(std::find(boards.begin(), boards.end(), row), boards.end()) << row;
  }
}

TEST_F(LineDescription, SignBoardsIncludeTheTunnelMouth) {
  const auto signs = records(126, 6);
  EXPECT_EQ(std::vector<std::string>(signs.begin(), signs.end() - 1),
            (std::vector<std::string>{"cartello_indicatore,  19950,   (Cippo Km.)( 20+000  )",
                                      "cartello_indicatore,  22050,   (Cippo Km.)( 22+000  )",
                                      "cartello_indicatore,  25000,   (Cippo Km.)( 25+000  )",
                                      "cartello_indicatore,  36200,   (DEV. U.)",
                                      "cartello_indicatore,  43000,   (Cippo Km.)( 43+000  )"}));
  const std::string prefix = "cartello_indicatore,  52750,   (IMBOCCO GALLERIA)(";
  const std::string& mouth = signs.back();
  ASSERT_EQ(mouth.size(), prefix.size() + 17) << mouth;
  EXPECT_EQ(mouth.substr(0, prefix.size()), prefix);
  EXPECT_EQ(mouth.back(), ')');
  const std::string place = mouth.substr(prefix.size(), 16);
  EXPECT_EQ(place.front(), ' ');
  EXPECT_EQ(place.back(), ' ');
  EXPECT_NE(place.find_first_not_of(' '), std::string::npos);
  EXPECT_EQ(place.find_first_of("(),\""), std::string::npos);
  // The board stands 50 m before the mountain it announces.
  EXPECT_EQ(ints(lines[106])[0], ints(mouth)[0] + 50);
}

}  // namespace
}  // namespace lorvena
