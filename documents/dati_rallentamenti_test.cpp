#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "disk/system_disk.h"
#include "disk/text_document.h"
#include "documents/driver_documents.h"
#include "testing/document_lines.h"
#include "testing/test_files.h"

namespace lorvena {
namespace {


constexpr std::string_view kFileName = "LORVENA PF_4316_rallentamenti.txt";
constexpr std::string_view kRule =
    " |___|____________________________|____________|__________|_________|____________|";
constexpr std::string_view kEmptyRow =
    " |   |                            |            |          |         |            |";

std::string written_order(const ScratchDir& dir) {
  SystemDisk disk;
  dati_rallentamenti(disk, dir.path(), "LORVENA PF", "4316");
  return testing::read_bytes(dir / kFileName);
}

struct OrderLine {
  int line;       // from 1
  size_t length;  // the form's stated width, blanks included; 0 where none is stated
  std::string text;
};

std::vector<OrderLine> expected_lines() {
  std::vector<OrderLine> lines = {
      {1, 0, ""},
      {2, 42, "                               Modulo M. 3"},
      {3, 50, "                           ORDINE DI RALLENTAMENTO"},
      {4, 81, " " + std::string(80, '_')},
      {5, 23, "  Linea  xxxxxx xxxxxxx"},
      {6, 0, ""},
      {7, 81, "  Si ordina al macchinista del treno xxxxx di effettuare i seguenti rallentamenti"},
      {8, 81, "  " + std::string(79, '_')},
      {9, 82, " |   |                            |Inizio dopo |          |         |            |"},
      {10, 82, " | N.|      FRA LE STAZIONI       | il cippo   | Velocita'|Lunghezza|Prescrizioni|"},
      {11, 82, " |   |   (o nelle Stazioni di)    |chilometrico|          |   metri | specifiche |"},
      {12, 82, std::string(kRule)},
      {39, 82, std::string(kRule)},
      {40, 0, ""},
      {41, 37, "              Prescrizioni specifiche"},
      {42, 0, " A - Da rispettare con tutto il treno (per i treni viaggiatori)"},
      {43, 0, " B - Interessa anche la stazione di......."},
      {44, 0, " D - Rallentamneto N. ... e N. ...  sono contigui"},
      {45, 0, " C - Da rispettare dalle ore ....  alle ore ..... di tutti"},
      {46, 0, "     i giorni esclusi i seguenti:........."},
  };
  for (int n = 13; n <= 38; ++n) lines.push_back({n, 82, std::string(kEmptyRow)});
  return lines;
}

TEST(DatiRallentamenti, WritesTheBlankFormLineByLine) {
  ScratchDir dir;
  const std::string bytes = written_order(dir);
  ASSERT_TRUE(bytes.ends_with("\r\n"));
  const std::vector<std::string> lines = testing::crlf_lines(bytes);
  ASSERT_EQ(lines.size(), 46u);
  const std::vector<OrderLine> expected = expected_lines();
  ASSERT_EQ(expected.size(), 46u);
  for (const OrderLine& want : expected) {
    SCOPED_TRACE("line " + std::to_string(want.line));
    const std::string& got = lines[want.line - 1];
    EXPECT_EQ(got, want.text);
    if (want.length != 0) {
      EXPECT_EQ(got.size(), want.length);
    }
  }
}

TEST(DatiRallentamenti, KeepsTheTrainNumberAndTheEndMarkerOut) {
  ScratchDir dir;
  const std::string bytes = written_order(dir);
  EXPECT_EQ(bytes.find("4316"), std::string::npos);
  EXPECT_EQ(bytes.find(kEndMarker), std::string::npos);
  EXPECT_NE(bytes.find(" D - Rallentamneto N. "), std::string::npos);
}

TEST(DatiRallentamenti, ReplacesALongerFileCompletely) {
  ScratchDir fresh;
  const std::string expected = written_order(fresh);

  ScratchDir dir;
  testing::write_bytes(dir / kFileName, std::string(expected.size() * 3, 'z'));
  EXPECT_EQ(written_order(dir), expected);
  EXPECT_EQ(testing::list_files(dir.path()), kFileName);
}

TEST(DatiRallentamenti, NamesTheFileAfterTheScenarioAndTheTrain) {
  ScratchDir dir;
  SystemDisk disk;
  dati_rallentamenti(disk, dir.path(), "ALTRA", "12");
  EXPECT_EQ(testing::list_files(dir.path()), "ALTRA_12_rallentamenti.txt");
}

}  // namespace
}  // namespace lorvena
