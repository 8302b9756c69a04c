#include "descriptions/dati_treno.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <map>
#include <set>

#include "disk/system_disk.h"
#include "testing/description_fields.h"
#include "testing/document_lines.h"
#include "testing/test_files.h"

namespace lorvena {
namespace {

using testing::field_int;
using testing::split_fields;

struct Station {
  std::vector<int> columns;  // the sixteen numbers, column 1 first
  std::string name;
  std::string line;
  int column(int n) const { return columns[n - 1]; }
};

struct Signal {
  int posizione, sx, s1, s2, s3, rapp, dx, d1, d2, d3, tempo;
  std::string line;
};

std::string format(const char* pattern, auto... values) {
  char text[160];
  std::snprintf(text, sizeof text, pattern, values...);
  return text;
}

class TrainDescription : public ::testing::Test {
 protected:
  void SetUp() override {
    SystemDisk disk;
    dati_treno(disk, dir.path(), "LORVENA PF", "4316");
    bytes = testing::read_bytes(dir / "LORVENA PF_4316-.txt");
    ASSERT_TRUE(testing::ends_every_line_with_crlf(bytes)) << "a line without CR LF";
    lines = testing::crlf_lines(bytes);
    ASSERT_EQ(lines.size(), 101u);
    for (size_t i = 26; i < 54; ++i) stations.push_back(station(lines[i]));
    for (size_t i = 56; i < 99; ++i) signals.push_back(signal(lines[i]));
  }

  static Station station(const std::string& line) {
    Station s{{}, {}, line};
    const auto fields = split_fields(line);
    EXPECT_EQ(fields.size(), 18u) << line;
    for (size_t i = 1; i < 17 && i < fields.size(); ++i) s.columns.push_back(field_int(fields[i]).value_or(-1));
    s.columns.resize(16, -1);
    if (fields.size() == 18 && !fields[17].empty()) s.name = fields[17].substr(1);
    return s;
  }

  static Signal signal(const std::string& line) {
    std::vector<int> v;
    for (const auto& field : split_fields(line)) v.push_back(field_int(field).value_or(-1));
    EXPECT_EQ(v.size(), 12u) << line;
    v.resize(12, -1);
    return {v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9], v[10], v[11], line};
  }

  const Station& station_at(int position) const {
    static const Station none;
    for (const auto& s : stations)
      if (s.column(1) == position) return s;
    ADD_FAILURE() << "no station at " << position;
    return none;
  }

  ScratchDir dir;
  std::string bytes;
  std::vector<std::string> lines;
  std::vector<Station> stations;
  std::vector<Signal> signals;
};

TEST_F(TrainDescription, HasItsSectionsGeneralBlockAndAdhesion) {
  const std::map<size_t, std::string> headers{{0, "[generale]"},      {5, "[aderenze]"}, {10, "[vel_limite]"},
                                              {25, "[stazioni]"},      {54, "[rallentamenti]"},
                                              {55, "[segnali]"},       {99, "[codici]"}, {100, "[fine]"}};
  for (size_t i = 0; i < lines.size(); ++i) {
    EXPECT_EQ(lines[i].find('[') != std::string::npos, headers.count(i) > 0) << "line " << i;
    if (headers.count(i)) {
      EXPECT_EQ(lines[i], headers.at(i));
    }
    EXPECT_FALSE(lines[i].empty()) << "line " << i;
    EXPECT_EQ(lines[i].back() == ' ', i == 4) << "line " << i;
    EXPECT_LE(lines[i].size(), 93u) << "line " << i;
  }
  EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const auto& l) { return l.size() == 93; }));
  const std::vector<std::string> start(lines.begin(), lines.begin() + 10);
  EXPECT_EQ(start, (std::vector<std::string>{"[generale]", "numero vetture,    4",
                                             "percentuale massa frenata,    105", "sabbia,    200",
                                             "orologio,    17              41            45 ", "[aderenze]",
                                             "aderenza,   0,    100", "aderenza,   63350,    85",
                                             "aderenza,   66850,    73", "aderenza,   70350,   100"}));
  EXPECT_EQ(bytes.find("riferimento"), std::string::npos);

  SystemDisk disk;
  dati_treno(disk, dir.path(), "LORVENA PF", "4316");
  EXPECT_EQ(testing::read_bytes(dir / "LORVENA PF_4316-.txt"), bytes);
  EXPECT_EQ(testing::list_files(dir.path()), "LORVENA PF_4316-.txt");
}

TEST_F(TrainDescription, LineSpeedsRiseInChainage) {
  std::map<int, std::set<int>> speeds;
  int previous = -1;
  for (size_t i = 11; i < 25; ++i) {
    const auto fields = split_fields(lines[i]);
    ASSERT_EQ(fields.size(), 3u) << lines[i];
    const int chainage = *field_int(fields[1]), speed = *field_int(fields[2]);
    EXPECT_EQ(lines[i], format("velocita,%8d,%6d", chainage, speed));
    EXPECT_GT(chainage, previous) << lines[i];
    previous = chainage;
    speeds[speed].insert(chainage);
  }
  EXPECT_EQ(lines[11], "velocita,       0,    85");
  EXPECT_EQ(lines[24], "velocita,   81200,    85");
  for (const auto& [speed, at] : speeds) EXPECT_TRUE(std::set<int>({75, 85, 90, 95, 105}).count(speed)) << speed;
  EXPECT_EQ(speeds[105], (std::set<int>{22000, 76200}));
  EXPECT_EQ(speeds[75], (std::set<int>{43000, 52800}));
}

TEST_F(TrainDescription, StationColumnsFollowTheirDistribution) {
  std::map<int, int> kinds, platforms;
  std::map<std::string, std::set<int>> codes_7_8, codes_10_12;
  std::map<int, std::set<int>> column_13, column_4;
  std::map<int, std::string> times;
  int previous = 0;
  for (const auto& s : stations) {
    const int position = s.column(1);
    EXPECT_EQ(s.line, format("stazione,%8d,%3d,%5d,%3d,%2d,%2d,%3d,%d,%d,%3d,%d,%d,%5d,%4d,%2d,%2d, ", position,
                             s.column(2), s.column(3), s.column(4), s.column(5), s.column(6), s.column(7),
                             s.column(8), s.column(9), s.column(10), s.column(11), s.column(12), s.column(13),
                             s.column(14), s.column(15), s.column(16)) +
                          s.name);
    EXPECT_GT(position, previous);
    previous = position;
    ++kinds[s.column(2)];
    ++platforms[s.column(3)];
    column_4[s.column(4)].insert(position);
    for (int zero : {5, 6, 9, 16}) EXPECT_EQ(s.column(zero), 0) << s.line;
    codes_7_8[format("%d,%d", s.column(7), s.column(8))].insert(position);
    codes_10_12[format("%d,%d,%d", s.column(10), s.column(11), s.column(12))].insert(position);
    column_13[s.column(13)].insert(position);
    if (s.column(14) || s.column(15)) times[position] = format("%02d:%02d", s.column(14), s.column(15));
    const bool with_codes = s.column(2) == 4 || s.column(2) == 12 || s.column(2) == 22;
    EXPECT_EQ(s.column(10) != 0, with_codes) << s.line;
    if (s.column(2) == 4 || (s.column(2) == 12 && position != 82550)) {
      EXPECT_EQ(s.column(7), 1) << s.line;
    }
  }
  EXPECT_EQ(stations.front().column(1), 4250);
  EXPECT_EQ(stations.back().column(1), 87900);
  EXPECT_EQ(kinds, (std::map<int, int>{{4, 2}, {12, 8}, {22, 6}, {26, 3}, {27, 6}, {28, 3}}));
  EXPECT_EQ(stations[26].column(2), 4);
  EXPECT_EQ(stations[27].column(2), 4);
  EXPECT_EQ(platforms, (std::map<int, int>{{300, 15}, {400, 13}}));
  EXPECT_EQ(column_4[1], (std::set<int>{82550, 87900}));
  EXPECT_EQ(column_4.size(), 2u);
  EXPECT_EQ(codes_7_8["1,1"].size(), 9u);
  EXPECT_EQ(codes_7_8["4,1"], std::set<int>{82550});
  EXPECT_EQ(codes_7_8["0,0"].size(), 18u);
  EXPECT_EQ(codes_10_12["4,1,1"].size(), 13u);
  EXPECT_EQ(codes_10_12["2,1,1"], (std::set<int>{82550, 87900}));
  EXPECT_EQ(codes_10_12["3,4,1"], std::set<int>{85850});
  EXPECT_EQ(codes_10_12["0,0,0"].size(), 12u);
  EXPECT_EQ(column_13[60], (std::set<int>{5550, 30850, 44000, 82550}));
  EXPECT_EQ(column_13[1], std::set<int>{4250});
  EXPECT_EQ(column_13[0].size(), 23u);
  EXPECT_EQ(times, (std::map<int, std::string>{{4250, "17:42"}, {5550, "17:45"}, {30850, "18:14"},
                                               {44000, "18:25"}, {82550, "17:54"}, {87900, "19:00"}}));
}

TEST_F(TrainDescription, StationQuotedRowsAndNames) {
  const std::map<int, std::string> quoted{
      {4250, "stazione,    4250, 12,  400,  0, 0, 0,  1,1,0,  4,1,1,    1,  17,42, 0, "},
      {5550, "stazione,    5550, 27,  300,  0, 0, 0,  0,0,0,  0,0,0,   60,  17,45, 0, "},
      {7150, "stazione,    7150, 26,  300,  0, 0, 0,  0,0,0,  0,0,0,    0,   0, 0, 0, "},
      {85850, "stazione,   85850,  4,  400,  0, 0, 0,  1,1,0,  3,4,1,    0,   0, 0, 0, "},
      {87900, "stazione,   87900,  4,  400,  1, 0, 0,  1,1,0,  2,1,1,    0,  19, 0, 0, "}};
  for (const auto& [position, numbers] : quoted) {
    const Station& s = station_at(position);
    EXPECT_EQ(s.line.substr(0, numbers.size()), numbers);
  }
  EXPECT_EQ(stations[26].column(1), 85850);
  int capitals = 0, mixed = 0;
  size_t shortest = std::string::npos, longest = 0;
  for (const auto& s : stations) {
    shortest = std::min(shortest, s.name.size());
    longest = std::max(longest, s.name.size());
    EXPECT_EQ(s.name.find_first_of(",\""), std::string::npos) << s.line;
    EXPECT_NE(s.name.front(), ' ') << s.line;
    const bool has_lower = std::any_of(s.name.begin(), s.name.end(), [](unsigned char c) { return std::islower(c); });
    const bool has_upper = std::any_of(s.name.begin(), s.name.end(), [](unsigned char c) { return std::isupper(c); });
    capitals += has_upper && !has_lower;
    mixed += has_upper && has_lower;
  }
  EXPECT_EQ(capitals, 26);
  EXPECT_EQ(mixed, 2);
  EXPECT_EQ(shortest, 5u);  // the names run from 5 to 21 characters, both ends used
  EXPECT_EQ(longest, 21u);
}

TEST_F(TrainDescription, SignalsRunInBlocksThenPairsAheadOfStations) {
  ASSERT_EQ(signals.size(), 43u);
  for (size_t i = 0; i < signals.size(); ++i) {
    const Signal& s = signals[i];
    EXPECT_EQ(s.line, format("segnale,%8d,%4d,%2d,%2d,%3d,%2d,%5d,%3d,%d,%d, %d", s.posizione, s.sx, s.s1, s.s2,
                             s.s3, s.rapp, s.dx, s.d1, s.d2, s.d3, s.tempo));
    if (i > 0) {
      EXPECT_GT(s.posizione, signals[i - 1].posizione) << s.line;
    }
    if (i > 0 && i < 20) {
      EXPECT_GE(s.posizione - signals[i - 1].posizione, 900) << s.line;
      EXPECT_LE(s.posizione - signals[i - 1].posizione, 1900) << s.line;
    }
    if (i >= 20 && i < 42 && i % 2 == 1) {
      EXPECT_GE(s.posizione - signals[i - 1].posizione, 1000) << s.line;
      EXPECT_LE(s.posizione - signals[i - 1].posizione, 1300) << s.line;
    }
  }
  EXPECT_EQ(signals[0].line, "segnale,    5300,   2, 4, 0,  0, 0,    2,  2,0,0, 0");
  EXPECT_EQ(signals[19].posizione, 26000);
  EXPECT_EQ(signals[20].posizione, 28950);
  EXPECT_EQ(signals[42].line, "segnale,   86900,   2, 2, 3,  0, 0,    2,  1,1,0, 0");
  for (const char* row : {"segnale,    8700,   2, 4, 1,  0, 0,    2,  3,1,0, 0",
                          "segnale,   47800,   2, 4, 1,  0, 0,    2,  1,1,0, 230"}) {
    EXPECT_TRUE(std::any_of(signals.begin(), signals.end(), [&](const Signal& s) { return s.line == row; })) << row;
  }
}

TEST_F(TrainDescription, SignalColumnsFollowTheirDistribution) {
  std::map<int, std::set<int>> s1, s2, d1;
  for (const Signal& s : signals) {
    EXPECT_EQ(s.sx, 2);
    EXPECT_EQ(s.dx, 2);
    EXPECT_EQ(s.s3 | s.rapp | s.d3, 0) << s.line;
    EXPECT_EQ(s.d2, s.s2 == 0 ? 0 : 1) << s.line;
    EXPECT_EQ(s.tempo, s.posizione == 47800 ? 230 : 0) << s.line;
    s1[s.s1].insert(s.posizione);
    s2[s.s2].insert(s.posizione);
    d1[s.d1].insert(s.posizione);
  }
  EXPECT_EQ(s1[4].size(), 35u);
  EXPECT_EQ(s1[3], (std::set<int>{26000, 29950, 43450, 46800}));
  EXPECT_EQ(s1[5], (std::set<int>{25100, 42150}));
  EXPECT_EQ(s1[2], (std::set<int>{81400, 86900}));
  EXPECT_EQ(s2[0].size(), 14u);
  for (int p : s2[0]) {
    EXPECT_TRUE(p == 5300 || p == 6300 || p == 7300 || (p >= 11600 && p <= 16600) || (p >= 20500 && p <= 24200)) << p;
  }
  for (int p : {5300, 6300, 7300, 11600, 16600, 20500, 24200}) EXPECT_TRUE(s2[0].count(p)) << p;
  EXPECT_EQ(s2[3], (std::set<int>{80400, 81400, 86900}));
  EXPECT_EQ(s2[1].size(), 26u);
  EXPECT_EQ(d1[3], (std::set<int>{8700, 17600, 25100}));
  EXPECT_EQ(d1[2].size(), 17u);
  EXPECT_EQ(d1[1].size(), 23u);
  EXPECT_GE(*d1[1].begin(), 28950);
}

}  // namespace
}  // namespace lorvena
