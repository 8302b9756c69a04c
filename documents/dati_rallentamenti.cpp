// The slowdown order: a blank form headed "ORDINE DI RALLENTAMENTO" with an
// empty table of slowdowns and the key to the specific prescriptions.
#include <array>
#include <string>

#include "disk/file_names.h"
#include "disk/text_document.h"
#include "documents/driver_documents.h"

namespace lorvena {
namespace {

constexpr std::string_view kRule =
    " |___|____________________________|____________|__________|_________|____________|";
constexpr std::string_view kEmptyRow =
    " |   |                            |            |          |         |            |";

std::array<std::string_view, 47> order_lines() {
  std::array<std::string_view, 47> lines{
      "",
      "                               Modulo M. 3",
      "                           ORDINE DI RALLENTAMENTO",
      " ________________________________________________________________________________",
      "  Linea  xxxxxx xxxxxxx",
      "",
      "  Si ordina al macchinista del treno xxxxx di effettuare i seguenti rallentamenti",
      "  _______________________________________________________________________________",
      " |   |                            |Inizio dopo |          |         |            |",
      " | N.|      FRA LE STAZIONI       | il cippo   | Velocita'|Lunghezza|Prescrizioni|",
      " |   |   (o nelle Stazioni di)    |chilometrico|          |   metri | specifiche |",
      kRule,
  };
  for (size_t i = 12; i < 38; ++i) lines[i] = kEmptyRow;
  lines[38] = kRule;
  lines[39] = "";
  lines[40] = "              Prescrizioni specifiche";
  lines[41] = " A - Da rispettare con tutto il treno (per i treni viaggiatori)";
  lines[42] = " B - Interessa anche la stazione di.......";
  lines[43] = " D - Rallentamneto N. ... e N. ...  sono contigui";
  lines[44] = " C - Da rispettare dalle ore ....  alle ore ..... di tutti";
  lines[45] = "     i giorni esclusi i seguenti:.........";
  lines[46] = kEndMarker;
  return lines;
}

}  // namespace

void dati_rallentamenti(Disk& disk, const std::filesystem::path& dir, std::string_view scenario_name,
                        std::string_view train_number) {
  const auto lines = order_lines();
  std::string name = slowdown_order_file_name(scenario_name, train_number);
  write_text_document(disk, dir, name, lines, Flush::kYes);
}

}  // namespace lorvena
