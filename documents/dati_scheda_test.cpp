#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <map>

#include "disk/system_disk.h"
#include "documents/driver_documents.h"
#include "testing/description_fields.h"
#include "testing/document_lines.h"
#include "testing/test_files.h"

namespace lorvena {
namespace {

class TrainCard : public ::testing::Test {
 protected:
  void SetUp() override {
    SystemDisk disk;
    dati_scheda(disk, dir.path(), "LORVENA PF", "4316");
    bytes = testing::read_bytes(dir / "LORVENA PF_4316_scheda_treno.txt");
    ASSERT_TRUE(testing::ends_every_line_with_crlf(bytes)) << "a line without CR LF";
    lines = testing::crlf_lines(bytes);
    ASSERT_EQ(lines.size(), 71u);
  }
  // Line n of the card, counted from 1.
  const std::string& line(size_t n) const { return lines[n - 1]; }

  ScratchDir dir;
  std::string bytes;
  std::vector<std::string> lines;
};

bool all_capitals(const std::string& text) {
  return std::none_of(text.begin(), text.end(), [](unsigned char c) { return std::islower(c); }) &&
         std::any_of(text.begin(), text.end(), [](unsigned char c) { return std::isupper(c); });
}

bool mixed_case(const std::string& text) {
  return std::any_of(text.begin(), text.end(), [](unsigned char c) { return std::islower(c); }) &&
         std::any_of(text.begin(), text.end(), [](unsigned char c) { return std::isupper(c); });
}

std::string trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

TEST_F(TrainCard, HeaderNotesAndEmptyLinesAreFixed) {
  const std::map<size_t, std::string> fixed{
      {1, ""},
      {2, ""},
      {3, "  ___________________   ________________  SCHEDA TRENO      _______________________      "},
      {4, " |  Fascicolo linee  | |     Treno      |                  | Sigla di composizione |"},
      {5, " |       113         | |     4316       |                  |        V100% B        |"},
      {9, " |  CLASSIFICAZIONE  | | MASSA BLOCCATA |                  |                 |      | "},
      {10, " |        REG        | |  2Ale + 2 Le   |                  |   Ale 801/940   | RSC4 |"},
      {11, " |___________________| |________________|                  |_________________|______|"},
      {12, "  " + std::string(85, '_')},
      {13, " | Vel.| Vel.| Progr                           |                   |Bin. DX| SRS | SRS |"},
      {14, " | Lim.|Marc.|  Km.           LOCALITA'        |      ORARIO       |Vel Max|  SX |  DX |"},
      {15, " |_____|_____|_________________________________|___________________|_______|_____|_____|"},
      {56, " |_____|_____|__________|______________________|___________________|_______|_____|_____|"},
      {57, " NOTE"},
      {58, " Il + nella casella orario indica 1/2 minuto"},
      {59, ""},
      {60, " "},
      {71, " "}};
  for (const auto& [n, text] : fixed) EXPECT_EQ(line(n), text) << "line " << n;
  for (size_t n = 61; n <= 70; ++n) EXPECT_EQ(line(n), "") << "line " << n;
  const std::map<size_t, size_t> lengths{{3, 89}, {4, 84}, {5, 84}, {6, 96},  {7, 71},  {8, 84},  {9, 86},
                                         {10, 85}, {11, 85}, {12, 87}, {13, 88}, {14, 88}, {15, 88}, {56, 88}};
  for (const auto& [n, length] : lengths) EXPECT_EQ(line(n).size(), length) << "line " << n;
  EXPECT_EQ(bytes.find("riferimento"), std::string::npos);
}

TEST_F(TrainCard, OriginAndCardEndBoxesNameTheirPlaces) {
  const std::string& from = line(6);
  EXPECT_EQ(from.substr(0, 41), " |___________________| |________________|");
  EXPECT_EQ(from.substr(41, 4), " DA:");
  const std::string origin = from.substr(45, 14);
  EXPECT_TRUE(all_capitals(origin)) << origin;
  EXPECT_NE(origin.front(), ' ');
  EXPECT_EQ(from.substr(59), "|_______________________|" + std::string(12, ' '));
  EXPECT_EQ(trimmed(origin), trimmed(line(16).substr(25, 22)));

  const std::string& to = line(7);
  EXPECT_EQ(to.substr(0, 45), std::string(23, ' ') + "| Termine Scheda | A: ");
  const std::string end_place = trimmed(to.substr(45));
  EXPECT_TRUE(all_capitals(end_place)) << end_place;
  EXPECT_EQ(line(8), "  ___________________  |__" + end_place + "__|" + std::string(19, ' ') + std::string(24, '_'));
  EXPECT_EQ(trimmed(line(55).substr(25, 22)), end_place);
}

// One timetable row: the cells as the card states them; an empty name means a
// place name from the scenario, in capitals or mixed case as `capitals` says.
struct Row {
  int lim;  // 0: blank
  const char* km;
  const char* name;
  bool capitals;
  const char* time;  // the whole 19-character time cell
  bool slash;
  const char* srs;
};

const char* const kDash = "         -         ";
const char* const kNoTime = "                   ";

TEST_F(TrainCard, TimetableRowsFollowTheCellLayout) {
  const Row rows[40] = {
      {70, "4.300", "", true, " 17.42             ", true, " COD "},
      {85, "4.900", "Imbocco gall.", false, kDash, false, "  :  "},
      {0, "5.500", "", false, " 17.44      17.45  ", false, "  :  "},
      {0, "6.700", "", false, "       17.48       ", true, "  :  "},
      {0, "7.650", "", false, "       17.49       ", false, "  :  "},
      {0, "9.000", "", false, "       17.51       ", false, "  :  "},
      {0, "10.500", "", true, "       17.53       ", true, "  :  "},
      {0, "11.450", "", false, "       17.55       ", false, "  :  "},
      {0, "13.150", "", false, "       17.57       ", false, "  :  "},
      {0, "14.100", "", false, "       17.59       ", true, "  :  "},
      {0, "16.100", "", false, "       18.01       ", false, "  :  "},
      {0, "19.000", "", true, "       18.04       ", false, "  :  "},
      {95, "20.000", "Cippo Km 20+000", false, kDash, true, "  :  "},
      {0, "21.150", "", false, "       18.07       ", false, "  :  "},
      {105, "22.000", "Cippo Km 22+000", false, kDash, false, "  :  "},
      {90, "25.000", "Cippo Km 25+000", false, kDash, true, "  :  "},
      {0, "26.850", "Fine Cod.", false, kDash, false, "NOCOD"},
      {0, "27.600", "", true, "       18.11       ", false, "     "},
      {0, "30.600", "", true, " 18.13      18.14  ", true, "     "},
      {0, "35.900", "", true, "       18.18       ", false, "     "},
      {85, "36.200", "Dev. U.", false, kDash, false, "     "},
      {95, "38.000", "Cippo Km 38+000", false, kDash, true, "     "},
      {0, "39.350", "", false, "       18.20+      ", false, "     "},
      {75, "43.000", "Cippo Km 43+000", false, kDash, false, "     "},
      {0, "43.800", "", true, " 18.24      18.25  ", true, "     "},
      {90, "45.350", "Sbocco Galleria", false, kDash, false, "     "},
      {0, "48.600", "", true, "       18.29       ", false, "     "},
      {75, "52.800", "Imbocco Galleria", false, kDash, true, "     "},
      {95, "53.500", "", true, "       18.33       ", false, "     "},
      {0, "58.900", "", true, "       18.37       ", false, "     "},
      {90, "62.800", "", true, "       18.40       ", true, "     "},
      {0, "67.900", "", true, "       18.44       ", false, "     "},
      {0, "73.100", "", true, "       18.48       ", false, "     "},
      {105, "76.200", "", false, "       18.51       ", true, "     "},
      {0, "80.000", "", false, "       18.53       ", false, "     "},
      {85, "82.300", "Segn. di Protez.", false, kDash, false, "     "},
      {0, "82.540", "", true, "       18.55       ", true, "     "},
      {60, "86.200", "", true, "       18.58       ", false, "     "},
      {85, "86.350", "DEV. U.", false, "       19.00       ", false, "     "},
      {0, "87.800", "", true, kNoTime, true, "     "},
  };
  for (size_t r = 0; r < 40; ++r) {
    const Row& want = rows[r];
    const std::string& row = line(16 + r);
    SCOPED_TRACE("row " + std::to_string(r + 1) + ": " + row);
    ASSERT_EQ(row.size(), 88u);
    // A blank, then bars around cells of widths 5, 5, 10, 22, 19, 7, 5, 5.
    std::vector<std::string> cells;
    size_t at = 1;
    for (size_t width : {5, 5, 10, 22, 19, 7, 5, 5}) {
      EXPECT_EQ(row[at], '|') << "bar at " << at;
      cells.push_back(row.substr(at + 1, width));
      at += width + 1;
    }
    EXPECT_EQ(row[0], ' ');
    EXPECT_EQ(row[at], '|');
    char lim[8];
    std::snprintf(lim, sizeof lim, "%4d ", want.lim);
    EXPECT_EQ(cells[0], want.lim ? std::string(lim) : std::string(5, ' '));
    EXPECT_EQ(cells[1], std::string(5, ' '));
    EXPECT_EQ(cells[2], std::string(8 - std::string(want.km).size(), ' ') + want.km + "  ");
    const std::string name = trimmed(cells[3]);
    EXPECT_EQ(cells[3].substr(0, name.size()), name) << "left-aligned";
    if (*want.name) {
      EXPECT_EQ(name, want.name);
    } else {
      EXPECT_TRUE(want.capitals ? all_capitals(name) : mixed_case(name)) << name;
    }
    EXPECT_EQ(cells[4], want.time);
    EXPECT_EQ(cells[5], want.slash ? "    /  " : "       ");
    EXPECT_EQ(cells[6], want.srs);
    EXPECT_EQ(cells[7], std::string(5, ' '));
  }
}

}  // namespace
}  // namespace lorvena
