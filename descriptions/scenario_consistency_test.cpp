// The line description, the train description and the train card read
// together: objects on distinct track cells, stations far enough apart, the
// card's places being the train's stations, boards agreeing with line speeds.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <map>

#include "descriptions/dati_linea.h"
#include "descriptions/dati_treno.h"
#include "disk/system_disk.h"
#include "documents/driver_documents.h"
#include "testing/description_fields.h"
#include "testing/document_lines.h"
#include "testing/test_files.h"

namespace lorvena {
namespace {

using testing::field_int;
using testing::split_fields;

int nearest(double x) { return static_cast<int>(std::nearbyint(x)); }

// Lines of a written document whose first field contains `keyword`.
std::vector<std::vector<std::string>> records(const std::vector<std::string>& lines, const std::string& keyword) {
  std::vector<std::vector<std::string>> found;
  for (const auto& line : lines) {
    auto fields = split_fields(line);
    if (fields[0].find(keyword) != std::string::npos) found.push_back(fields);
  }
  return found;
}

int number(const std::string& field) { return field_int(field).value_or(-1); }

std::string upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

std::string trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

class ScenarioDocuments : public ::testing::Test {
 protected:
  void SetUp() override {
    SystemDisk disk;
    dati_linea(disk, dir.path(), "LORVENA PF");
    dati_treno(disk, dir.path(), "LORVENA PF", "4316");
    dati_scheda(disk, dir.path(), "LORVENA PF", "4316");
    line = read("LORVENA PF_linea.txt");
    train = read("LORVENA PF_4316-.txt");
    card = read("LORVENA PF_4316_scheda_treno.txt");
  }
  std::vector<std::string> read(const char* name) const {
    return testing::crlf_lines(testing::read_bytes(dir / name));
  }

  ScratchDir dir;
  std::vector<std::string> line, train, card;
};

TEST_F(ScenarioDocuments, ObjectsStandOnDistinctCellsAndStationsKeepTheirDistance) {
  constexpr int kUpperCell = 2000;  // (93000 + 7000) / 50
  std::map<int, std::string> occupied;
  auto place = [&](int cell, const std::string& what, int chainage) {
    EXPECT_LE((chainage + 100) / 50.0, kUpperCell) << what;
    EXPECT_GT(cell, 1) << what;
    EXPECT_FALSE(occupied.count(cell)) << what << " on cell " << cell << " of " << occupied[cell];
    occupied[cell] = what;
  };
  for (const auto& f : records(line, "indicatori_v")) place(nearest(number(f[1]) / 50.0 + 1), "board " + f[1], number(f[1]));
  for (const auto& f : records(line, "cartello")) place(nearest(number(f[1]) / 50.0 + 1), "sign " + f[1], number(f[1]));
  int previous_fine = -1;
  for (const auto& f : records(train, "stazione")) {
    const int posizione = number(f[1]), tipo = number(f[2]), length = number(f[3]);
    EXPECT_EQ(posizione % 50, 0) << f[1];
    EXPECT_EQ(length % 100, 0) << f[1];
    EXPECT_LE((posizione + 800) / 50.0, kUpperCell) << f[1];
    const int inizio = nearest(posizione - length / 2.0), fine = nearest(posizione + length / 2.0);
    if (previous_fine >= 0) {
      EXPECT_GE(inizio - 350, previous_fine) << "station " << f[1];
    }
    previous_fine = fine;
    if (tipo < 25 && tipo != 5 && tipo != 6) place(nearest(fine / 50.0 - 1), "stop of " + f[1], posizione);
  }
  for (const auto& f : records(train, "segnale")) place(nearest(number(f[1]) / 50.0 + 1), "signal " + f[1], number(f[1]));
  EXPECT_EQ(occupied.size(), 17u + 6u + 16u + 43u);
}

TEST_F(ScenarioDocuments, CardPlacesAreTheTrainsStations) {
  ASSERT_EQ(card.size(), 71u);
  std::vector<std::pair<double, std::string>> places;  // km, name as on the card
  for (size_t n = 16; n <= 55; ++n) {
    const std::string& row = card[n - 1];
    const std::string name = trimmed(row.substr(25, 22));
    const bool label = name.rfind("Cippo", 0) == 0 || name == "Imbocco gall." || name == "Fine Cod." ||
                       upper(name) == "DEV. U." || name == "Sbocco Galleria" || name == "Imbocco Galleria" ||
                       name == "Segn. di Protez.";
    if (!label) places.emplace_back(std::stod(row.substr(14, 8)), name);
  }
  const auto stations = records(train, "stazione");
  ASSERT_EQ(places.size(), stations.size());
  for (size_t i = 0; i < stations.size(); ++i) {
    const std::string name = stations[i][17].substr(1);
    EXPECT_EQ(upper(name), upper(places[i].second));
    if (upper(name) != name) {
      EXPECT_EQ(name, places[i].second) << "a mixed-case station keeps its case";
    }
    EXPECT_LE(std::abs(places[i].first * 1000 - number(stations[i][1])), 500) << name;
  }
}

TEST_F(ScenarioDocuments, SpeedBoardsAgreeWithTheTrainsLineSpeeds) {
  std::map<int, int> speed;  // from chainage on
  for (const auto& f : records(train, "velocita")) speed[number(f[1])] = number(f[2]);
  auto speed_at = [&](int chainage) { return std::prev(speed.upper_bound(chainage))->second; };
  const auto boards = records(line, "indicatori_v");
  for (size_t i = 0; i < boards.size(); ++i) {
    // A board shows the top speed of the stretch it stands before; the first
    // one, ahead of the two tight curves at the start, asks 10 km/h less.
    const int top = number(boards[i][4]), ahead = speed_at(number(boards[i][1]) + 800);
    EXPECT_LE(ahead - top, i == 0 ? 10 : 0) << boards[i][1];
    EXPECT_GE(ahead - top, 0) << boards[i][1];
  }
}

}  // namespace
}  // namespace lorvena
