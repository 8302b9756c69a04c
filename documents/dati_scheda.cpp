// The train card of train 4316: the header boxes with the train's identity and
// consist, and the timetable from BORGO VESCIA to LORVENA P.F.
#include <array>
#include <string>

#include "disk/file_names.h"
#include "disk/text_document.h"
#include "documents/driver_documents.h"

namespace lorvena {
namespace {

constexpr std::array<std::string_view, 72> kTrainCard{
      "",
      "",
      "  ___________________   ________________  SCHEDA TRENO      _______________________      ",
      " |  Fascicolo linee  | |     Treno      |                  | Sigla di composizione |",
      " |       113         | |     4316       |                  |        V100% B        |",
      " |___________________| |________________| DA:BORGO VESCIA  |_______________________|            ",
      "                       | Termine Scheda | A: LORVENA P.F.              ",
      "  ___________________  |__LORVENA P.F.__|                   ________________________",
      " |  CLASSIFICAZIONE  | | MASSA BLOCCATA |                  |                 |      | ",
      " |        REG        | |  2Ale + 2 Le   |                  |   Ale 801/940   | RSC4 |",
      " |___________________| |________________|                  |_________________|______|",
      "  _____________________________________________________________________________________",
      " | Vel.| Vel.| Progr                           |                   |Bin. DX| SRS | SRS |",
      " | Lim.|Marc.|  Km.           LOCALITA'        |      ORARIO       |Vel Max|  SX |  DX |",
      " |_____|_____|_________________________________|___________________|_______|_____|_____|",
      " |  70 |     |   4.300  |BORGO VESCIA          | 17.42             |    /  | COD |     |",
      " |  85 |     |   4.900  |Imbocco gall.         |         -         |       |  :  |     |",
      " |     |     |   5.500  |Prato Altino          | 17.44      17.45  |       |  :  |     |",
      " |     |     |   6.700  |Cave di Sorbo         |       17.48       |    /  |  :  |     |",
      " |     |     |   7.650  |Molino Ferri          |       17.49       |       |  :  |     |",
      " |     |     |   9.000  |Valle Orsina          |       17.51       |       |  :  |     |",
      " |     |     |  10.500  |CAMPOLARGO            |       17.53       |    /  |  :  |     |",
      " |     |     |  11.450  |San Vitale Basso      |       17.55       |       |  :  |     |",
      " |     |     |  13.150  |Fontevecchia          |       17.57       |       |  :  |     |",
      " |     |     |  14.100  |Le Ginestre           |       17.59       |    /  |  :  |     |",
      " |     |     |  16.100  |Ponte Rusco           |       18.01       |       |  :  |     |",
      " |     |     |  19.000  |TORRE MALVINA         |       18.04       |       |  :  |     |",
      " |  95 |     |  20.000  |Cippo Km 20+000       |         -         |    /  |  :  |     |",
      " |     |     |  21.150  |Casale Brena          |       18.07       |       |  :  |     |",
      " | 105 |     |  22.000  |Cippo Km 22+000       |         -         |       |  :  |     |",
      " |  90 |     |  25.000  |Cippo Km 25+000       |         -         |    /  |  :  |     |",
      " |     |     |  26.850  |Fine Cod.             |         -         |       |NOCOD|     |",
      " |     |     |  27.600  |ROCCA DI SELVE        |       18.11       |       |     |     |",
      " |     |     |  30.600  |CASTEL FERRO DI MORSA | 18.13      18.14  |    /  |     |     |",
      " |     |     |  35.900  |MONTEFARO             |       18.18       |       |     |     |",
      " |  85 |     |  36.200  |Dev. U.               |         -         |       |     |     |",
      " |  95 |     |  38.000  |Cippo Km 38+000       |         -         |    /  |     |     |",
      " |     |     |  39.350  |Villa Olmi            |       18.20+      |       |     |     |",
      " |  75 |     |  43.000  |Cippo Km 43+000       |         -         |       |     |     |",
      " |     |     |  43.800  |PIANA DEL CERRO       | 18.24      18.25  |    /  |     |     |",
      " |  90 |     |  45.350  |Sbocco Galleria       |         -         |       |     |     |",
      " |     |     |  48.600  |COLLE ARDENZA         |       18.29       |       |     |     |",
      " |  75 |     |  52.800  |Imbocco Galleria      |         -         |    /  |     |     |",
      " |  95 |     |  53.500  |VALDORSO              |       18.33       |       |     |     |",
      " |     |     |  58.900  |MELARIA               |       18.37       |       |     |     |",
      " |  90 |     |  62.800  |ROVENZA               |       18.40       |    /  |     |     |",
      " |     |     |  67.900  |ULVIA                 |       18.44       |       |     |     |",
      " |     |     |  73.100  |QUARTO NERINO         |       18.48       |       |     |     |",
      " | 105 |     |  76.200  |Case Pratella         |       18.51       |    /  |     |     |",
      " |     |     |  80.000  |Lorvena Colli         |       18.53       |       |     |     |",
      " |  85 |     |  82.300  |Segn. di Protez.      |         -         |       |     |     |",
      " |     |     |  82.540  |MORENGO               |       18.55       |    /  |     |     |",
      " |  60 |     |  86.200  |LORVENA SCALO         |       18.58       |       |     |     |",
      " |  85 |     |  86.350  |DEV. U.               |       19.00       |       |     |     |",
      " |     |     |  87.800  |LORVENA P.F.          |                   |    /  |     |     |",
      " |_____|_____|__________|______________________|___________________|_______|_____|_____|",
      " NOTE",
      " Il + nella casella orario indica 1/2 minuto",
      "",
      " ",
      "",
      "",
      "",
      "",
      "",
      "",
      "",
      "",
      "",
      "",
      " ",
      kEndMarker,
};

}  // namespace

void dati_scheda(Disk& disk, const std::filesystem::path& dir, std::string_view scenario_name,
                 std::string_view train_number) {
  const std::string name = train_card_file_name(scenario_name, train_number);
  write_text_document(disk, dir, name, kTrainCard, Flush::kYes);
}

}  // namespace lorvena
