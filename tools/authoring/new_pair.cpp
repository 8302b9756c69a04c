// The starting pair of `scenario_tool new`. Comments are fields holding "-":
// the readers skip up to two of them in a row before a record (ten in the
// line's general block), so each record has at most two comment lines, with
// no comma and no double quote in them.
#include "tools/authoring/new_pair.h"

#include <string>
#include <vector>

namespace lorvena {
namespace {

std::string crlf(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& l : lines) text += l + "\r\n";
  return text;
}

const std::vector<std::string> kLine = {
    "-- Line description: one record a line; a keyword then its values in metres.",
    "-- Lines starting with two dashes are comments (at most two in a row).",
    "[generale]",
    "-- Line length in metres (at most 1000000).",
    "lunghezza percorso,    5000",
    "-- Kilometre references: start m; end m; 1 adds 100 m to the end. All 0: none.",
    "progressiva chilometrica uno,    0,    0,    0",
    "progressiva chilometrica due,    0,    0,    0",
    "progressiva chilometrica tre,    0,    0,    0",
    "-- Scenery selectors one to three.",
    "sfondo uno,    1",
    "sfondo due,    0",
    "sfondo tre,    0",
    "-- Cab signalling with 4 codes (or 9): from m; to m (multiples of 50; 0 = none).",
    "ripetizione segnali 4 codici,    0,    2000",
    "[curve]",
    "-- Curve: d right or s left; radius class 1 (wide) to 6 (tight); start m; length m.",
    "curvad4,  1500,  300",
    "[pendenze]",
    "-- Gradient from a chainage on: chainage m; per mille (negative falls).",
    "pendenza,   0,    0",
    "pendenza,  2000,   5",
    "pendenza,  3500,   0",
    "[cartelli]",
    "-- Maximum-speed board: position m; left track speeds A B C km/h and stripes;",
    "-- then the right track's four values (empty fields read 0).",
    "indicatori_vmax,  500,  60,  70,  75,  0,  60,  70,  75,  0",
    "[indicazioni]",
    "-- Sign board: position m; its text (quote it if it holds a comma).",
    "cartello_indicatore,  2500,   (Cippo Km.)(  2+500  )",
    "[fine]",
};

const std::vector<std::string> kTrain = {
    "-- Train description: the train on the line; chainages in metres.",
    "[generale]",
    "-- Number of coaches.",
    "numero vetture,    4",
    "-- Braked mass in per cent.",
    "percentuale massa frenata,    100",
    "-- Sand supply.",
    "sabbia,    150",
    "-- Start time: hours minutes seconds.",
    "orologio,    9              30            0",
    "[aderenze]",
    "-- Adhesion from a chainage on: chainage m; per cent.",
    "aderenza,   0,    100",
    "[vel_limite]",
    "-- Line speed from a chainage on: chainage m; km/h in steps of 5.",
    "velocita,       0,    60",
    "velocita,    1000,    80",
    "[stazioni]",
    "-- Station: position m; kind; platform m; 13 codes and flags; hours; minutes; seconds;",
    "-- then its name. Stations in rising order with 350 m between their areas.",
    "stazione,     800, 12,  300,  0, 0, 0,  1,1,0,  4,1,1,    1,   9,30, 0, BORGO AVENTE",
    "stazione,    4500,  4,  400,  1, 0, 0,  1,1,0,  2,1,1,    0,   9,36, 0, CASALE MIRTO",
    "[rallentamenti]",
    "[segnali]",
    "-- Signal: position m; sx s1 s2 s3 (left side kind and aspects); rapp (repetition);",
    "-- dx d1 d2 d3 (right side); tempo in seconds.",
    "segnale,    3000,   2, 4, 0,  0, 0,    2,  1,0,0, 0",
    "[codici]",
    "[fine]",
};

}  // namespace

StarterPair starter_pair() { return {crlf(kLine), crlf(kTrain)}; }

}  // namespace lorvena
