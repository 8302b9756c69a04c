// The scenario notes: a letter from the author to the player about the train
// service and about reading the train card. Accented letters are written as
// single Windows-1252 bytes (\xE0, \xE8, \xE9, \xEC, \xF2, \xF9).
#include <array>
#include <string>

#include "disk/file_names.h"
#include "disk/text_document.h"
#include "documents/driver_documents.h"

namespace lorvena {
namespace {

// Two prose blocks, the author's name and two addresses, then the end marker.
// The prose is wrapped at 79 columns; a line that ends a sentence inside its
// block keeps the blank typed after the full stop.
constexpr std::array<std::string_view, 39> kNoteLines{
    "Il treno 4316 \xE8 un regionale, ma tra i macchinisti tutti lo chiamano \"il",
    "diretto\": fa soltanto tre fermate, mentre gli altri regionali della linea",
    "saltano appena qualche stazione. Dal cambio d'orario estivo il servizio \xE8",
    "affidato alle elettromotrici Ale 801/940 a quattro casse indicate sulla scheda",
    "treno; prima toccava alle vecchie elettromotrici a due casse, che per\xF2 non",
    "bastavano pi\xF9 a portare tutti i viaggiatori nei giorni di punta, e cos\xEC si \xE8",
    "deciso di sostituirle: le vecchie unit\xE0 sono passate ai servizi locali, dove",
    "bastano ancora. La corsa non presenta situazioni difficili ed \xE8 adatta anche a",
    "chi guida da poco. Lungo la linea ho aggiunto i cartelli indicatori di velocit\xE0",
    "massima, che prima non c'erano: in questo modo non serve conoscere a memoria i",
    "punti in cui la velocit\xE0 cambia; restano comunque validi i limiti scritti sulla",
    "scheda treno. Il tracciato \xE8 fedele a quello reale solo in alcuni tratti;",
    "altrove l'ho ricostruito come meglio ho potuto. Partito da Borgo Vescia, il",
    "treno ferma soltanto a Prato Altino (km 5.500), subito dopo la partenza, a",
    "Castel Ferro di Morsa (km 30.600) e a Piana del Cerro (km 43.800), a met\xE0",
    "percorso; poi corre senza fermate fino all'arrivo a Lorvena P.F. (km 87.800). ",
    "In una delle stazioni intermedie il treno viene instradato sul binario deviato",
    "per dare la precedenza a un altro treno, anche se secondo l'orario dovrebbe",
    "essere l'altro treno ad aspettare: nonostante questo, il 4316 dovrebbe comunque",
    "arrivare a destinazione in orario, purch\xE9 all'ingresso sul binario deviato si",
    "rispetti la velocit\xE0 imposta dai segnali. Buon viaggio e buon divertimento!",
    "",
    "La scheda treno allegata \xE8 diversa da quella che si vede di solito: l'ho fatta",
    "somigliare alla scheda che i macchinisti usano davvero ogni giorno su questa",
    "linea. Nei riquadri dell'intestazione trovate il fascicolo linea, il numero del",
    "treno, il codice di composizione, la classificazione, la localit\xE0 in cui",
    "termina la scheda, la massa frenata (indicata come composizione",
    "dell'elettromotrice e non in tonnellate), il mezzo di trazione in servizio e il",
    "sistema di ripetizione dei segnali in macchina. Leggetela prima di partire. Il",
    "resto \xE8 uguale alla scheda usuale, tranne la parte destra, dove compaiono la",
    "sezione codificata e la velocit\xE0 massima per il binario di destra; quest'ultima",
    "\xE8 stata omessa, perch\xE9 la marcia sul binario di destra richiede i moduli",
    "appositi: la linea non \xE8 attrezzata per la circolazione su entrambi i binari. ",
    "Per tutto il resto valgono le regole di sempre.",
    "",
    "Davide Orlessi",
    "davide.orlessi@example.org",
    "d.orlessi@example.com",
    kEndMarker,
};

}  // namespace

void dati_note(Disk& disk, const std::filesystem::path& dir, std::string_view scenario_name,
               std::string_view train_number) {
  std::string name = notes_file_name(scenario_name, train_number);
  write_text_document(disk, dir, name, kNoteLines, Flush::kYes);
}

}  // namespace lorvena
