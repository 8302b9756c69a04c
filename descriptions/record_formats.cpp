#include "descriptions/record_formats.h"

#include "descriptions/field_reader.h"
#include "descriptions/translatable.h"

#include <utility>

namespace lorvena {
namespace {

constexpr int64_t kLongest = 1000000;  // the longest line the compile takes
constexpr int64_t kAnyLow = INT32_MIN;
constexpr int64_t kAnyHigh = INT32_MAX;

using S = Section;

// A chainage on the line; the compile rounds it to its cell (a warning off
// the 50 m step) unless `step_error` says it refuses it.
FieldFormat chainage(std::string_view name, std::string_view limits, std::string_view meaning,
                     int32_t step_error = 0) {
  return {name, "m", Storage::kLong, limits, 0, kLongest, 50, step_error, 0, true, meaning};
}
FieldFormat value(std::string_view name, std::string_view unit, Storage storage, std::string_view limits,
                  int64_t low, int64_t high, std::string_view meaning) {
  return {name, unit, storage, limits, low, high, 0, 0, 0, false, meaning};
}
// A value with no range of its own beyond its storage.
FieldFormat plain(std::string_view name, std::string_view unit, Storage storage, std::string_view meaning) {
  return value(name, unit, storage, "", kAnyLow, kAnyHigh, meaning);
}
FieldFormat speed(std::string_view name, std::string_view limits, std::string_view meaning) {
  return {name, "km/h", Storage::kLong, limits, 0, 300, 5, 0, 0, false, meaning};
}
FieldFormat text(std::string_view name, std::string_view meaning) {
  return {name, "", Storage::kText, N_("up to 65535 bytes, Windows-1252"), 0, 65535, 0, 0, 0, false, meaning};
}

std::vector<FieldFormat> reference_fields() {
  return {{"inizio", "m", Storage::kLong, "", kAnyLow, kAnyHigh, 50, 2, 0, false,
           N_("entry `inizio`; it decides the ordering (see below the records); what it marks on the line is not "
           "defined here")},
          {"fine", "m", Storage::kLong, "", kAnyLow, kAnyHigh, 50, 2, 0, false,
           N_("entry `fine`; 100 more when `posizione` is 1; what it marks on the line is not defined here")},
          plain("posizione", "", Storage::kLong,
                N_("entry `posizione`; 1 adds 100 m to `fine`; any other effect, and that of other values, is not "
                "defined here"))};
}

const std::vector<ErrorNote> kReferenceErrors = {
    {{2},
     N_("after the ordering, an `inizio` or `fine` of entries 81 to 83 is not a multiple of 50; checked when the "
     "train description has been read to its end")},
    {{25}, ""}};

std::vector<RecordFormat> make_formats() {
  constexpr std::string_view kOnTrack = N_("on the track");
  std::vector<RecordFormat> f;
  // The line's general block.
  f.push_back({"lunghezza percorso", "lunghezza percorso", S::kLineGeneral, {"percorso", "lunghezza"}, false, false,
               false, "", N_("the line's length; required: without it nothing is placed (error 25)"),
               {{N_("length"), "m", Storage::kLong, "", 0, kLongest, 0, 0, 1, false,
                 N_("the line length *L*, in metres (12 km: 12000); chainages count from 0 at the start of the line, "
                 "and the track runs on 7000 m past *L* so that the train can run beyond the end; stored in entry "
                 "84 `fine`; sizes the track (cells 0 to "
                 "`nearest((L + 7000) / 50)`, all cleared) and the plan (metres 0 to *L* + 7000); a second record "
                 "sizes them afresh")}},
               {{{1}, N_("length below 0 or above 1000000: the reading stops and nothing is compiled or written")},
                {{25}, N_("not a number, or outside 32 bits; also a line description with no length in its general block")}},
               ""});
  using Variant = std::pair<std::string_view, std::string_view>;  // keyword word, keyword as written
  for (auto [word, keyword] : {Variant{"tre", "progressiva chilometrica tre"}, Variant{"due", "progressiva chilometrica due"},
                               Variant{"uno", "progressiva chilometrica uno"}})
    f.push_back({keyword, "progressiva chilometrica", S::kLineGeneral, {"progressiva", word}, true, false, false, "",
                 N_("a kilometre-reference triplet, optional (a missing one stays 0); `tre` goes to entry 81, `due` to "
                 "82, `uno` to 83, then the three are ordered (see below the records)"),
                 reference_fields(), kReferenceErrors, ""});
  for (auto [word, keyword] : {Variant{"uno", "sfondo uno"}, Variant{"due", "sfondo due"}, Variant{"tre", "sfondo tre"}})
    f.push_back({keyword, "sfondo", S::kLineGeneral, {"sfondo", word}, true, false, false, "",
                 N_("a scenery selector, optional (a missing one stays 0)"),
                 {plain(N_("value"), "", Storage::kLong,
                        N_("`sfondo uno` in entry 85 `inizio`, `sfondo due` in `posizione`, `sfondo tre` in `fine`; which "
                        "scenery a value selects is not defined here"))},
                 {{{25}, ""}}, ""});
  f.push_back({"ripetizione segnali 4 codici", "ripetizione segnali", S::kLineGeneral, {"segnali", "ripetizione"},
               true, false, false, N_("and a `4` or a `9`"),
               N_("the stretch with cab signalling (signal repetition), optional: with 4 codes (a `4` anywhere in the "
               "keyword, tested first) or 9 codes; entry 86 `posizione` = 4 or 9"),
               {chainage("inizio", "", N_("where cab signalling starts; entry 86 `inizio`"), 3),
                chainage("fine", "", N_("where it ends; entry 86 `fine`; 0 means no cab signalling (`posizione` "
                                           "becomes 0)"), 4)},
               {{{3}, N_("`inizio` not a multiple of 50")},
                {{4}, N_("`fine` not a multiple of 50")},
                {{5}, N_("neither `4` nor `9` in the keyword; checked in this order, each ends the reading with the plan "
                      "left empty")},
                {{25}, ""}},
               ""});
  // The line's body.
  f.push_back({"pendenza", "pendenza", S::kLineBody, {"pendenza"}, false, false, false, "",
               N_("the gradient from a chainage on, up to the next `pendenza`; rows in increasing chainage; optional: "
               "cells before the first row and without any row have gradient 0"),
               {chainage(N_("chainage"), kOnTrack, N_("where this gradient starts: cell `nearest(chainage / 50)`")),
                value(N_("gradient"), "‰", Storage::kLong, "", -100, 155,
                      N_("the gradient in per mille, signed (which sign climbs is not defined here); the cells' "
                      "`gradient` byte = gradient + 100, low byte only (other values wrap around)"))},
               {{{15}, N_("chainage beyond the line")}, {{25}, ""}}, ""});
  f.push_back({"curvad4", "curva", S::kLineBody, {"curva"}, false, true, false,
               N_("and a digit 1 to 6; read only when the plan is written"),
               N_("a curve of the plan: the first of the digits 1 to 6 found in the keyword (1 tested first) is the "
               "class, with a curvature of 0.0001, 0.0002, 0.0004, 0.001, 0.002, 0.003 a metre for classes 1 to 6 "
               "(a radius of about 10000, 5000, 2500, 1000, 500, 333 m); an `s` anywhere in the keyword, any case, "
               "makes the curvature negative (`curvas`), otherwise it is positive (`curvad`): `d` is a right-hand "
               "curve and `s` a left-hand one as the chainage rises (the plan starts at (0, 0) heading +y, and a "
               "positive curvature turns the heading towards +x); rows in increasing chainage; optional: without "
               "curves the plan is a straight line"),
               {chainage(N_("start"), kOnTrack, N_("the plan runs straight up to this metre")),
                {N_("length"), "m", Storage::kLong, N_("start + length at most *L* + 7000 and below 1000000"), 0, kLongest, 0, 0,
                 0, false,
                 N_("metres start + 1 to start + length turn with the class's curvature; a curve that starts before "
                 "the end of the previous one runs from that end")}},
               {{{103}, N_("no digit 1 to 6 in the keyword, or the plan would reach metre 1000000")},
                {{15}, N_("start beyond the line")},
                {{25}, N_("the curve runs past metre *L* + 7000, or a field is not a number")}},
               ""});
  f.push_back({"montagna", "montagna", S::kLineBody, {"montagna"}, false, false, false, "",
               N_("a mountain or tunnel stretch of the landscape, optional (cells outside every stretch have "
               "landscape 0)"),
               {chainage("inizio", kOnTrack, N_("its first cell is `nearest(inizio / 50)`")),
                chainage("fine", N_("`nearest(fine / 50 − 1)` on the track"), N_("its last cell is `nearest(fine / 50 − 1)`")),
                value("tipo", "", Storage::kLong, N_("0 to 265"), 1, 20,
                      N_("the landscape kind, 1 to 10, or 11 to 20 for the same kinds with a tunnel; what each kind "
                      "shows is not defined here; the cells' `landscape`: `tipo`, or above 10 `tipo` − 10 with a tunnel (every 4th cell of the "
                      "mountain, counting from its first, gets a tunnel marker if it holds nothing); a mountain that "
                      "starts at most 150 m after the end of the previous one read gets landscape 3"))},
               {{{15}, N_("`inizio` beyond the line")},
                {{25}, N_("`fine` beyond the track, `tipo` out of range on a mountain with cells")}},
               ""});
  f.push_back({"indicatori_vmax", "indicatori_vmax", S::kLineBody, {"indicatori_v"}, false, false, false, "",
               N_("a maximum-speed indicator board (kind 6), with three speeds and a stripes code for each of the left "
               "and right tracks; what distinguishes the speeds A, B and C and what a stripes code shows are not "
               "defined here; optional"),
               {chainage("posizione", kOnTrack, N_("the board's cell, `nearest(posizione / 50 + 1)`")),
                speed("vas", N_("`param1` must fit 16 bits"), N_("speed A, left track: `param1` = `nearest(vad / 5 + vas × 20)`")),
                speed("vbs", N_("`param2` must fit 16 bits"), N_("speed B, left track: `param2` = `nearest(vbd / 5 + vbs × 20)`")),
                speed("vcs", N_("`param3` must fit 16 bits"), N_("speed C, left track: `param3` = `nearest(vcd / 5 + vcs × 20)`")),
                value("strisces", "", Storage::kLong, N_("`param4` must fit 16 bits"), 0, 9,
                      N_("stripes, left track: `param4` = `strisces × 10 + strisced`")),
                speed("vad", N_("see `vas`"), N_("speed A, right track, in `param1`")),
                speed("vbd", N_("see `vbs`"), N_("speed B, right track, in `param2`")),
                speed("vcd", N_("see `vcs`"), N_("speed C, right track, in `param3`")),
                value("strisced", "", Storage::kLong, N_("see `strisces`"), 0, 9, N_("stripes, right track, in `param4`"))},
               {{{21}, N_("the cell is occupied")},
                {{15}, N_("posizione beyond the line")},
                {{25}, N_("a value that does not fit 16 bits")},
                {{1250, 1251}, N_("placed in the track's first cell")}},
               N_("Speeds that are multiples of 5 below 500 km/h read back exactly.")});
  f.push_back({"cartello_indicatore", "cartello_indicatore", S::kLineBody, {"cartello", "indicat"}, false, false,
               false, "", N_("a trackside sign board (kind 14) with a free text; optional"),
               {chainage("posizione", kOnTrack, N_("the board's cell, `nearest(posizione / 50 + 1)`")),
                text(N_("text"),
                     N_("the board's text, e.g. `(IMBOCCO GALLERIA)(   COSTALUNGA   )`; stored as the `nome` of table "
                     "entry 80 for the first board, 79 for the next, …; the cell's `param1` is that entry; in double "
                     "quotes when it holds a comma"))},
               {{{6}, N_("the cell is occupied")},
                {{15}, N_("posizione beyond the line")},
                {{10}, N_("later, when the train description's stations and the sign boards together pass 78")},
                {{25},
                 N_("a text longer than 65535 bytes, or an 82nd sign board, for which the table has no entry left; see "
                 "the notes below")},
                {{1250}, N_("placed in the track's first cell")}},
               ""});
  // The train description.
  f.push_back({"percentuale massa frenata", "frenata massa", S::kTrain, {"frenata", "massa"}, false, false, false, "",
               N_("the braked mass, e.g. `percentuale massa frenata`; optional (without it, 0)"),
               {value(N_("percentage"), "%", Storage::kLong, "", 0, 300,
                      N_("the train's braked mass percentage; entry 84 `inizio`"))}, {{{25}, ""}}, ""});
  f.push_back({"numero vetture", "vetture", S::kTrain, {"vetture"}, false, false, false, "",
               N_("the number of coaches, e.g. `numero vetture`; optional (without it, 0)"),
               {value(N_("coaches"), "", Storage::kLong, "", 1, 50, N_("the train's number of coaches; entry 84 `posizione`"))},
               {{{25}, ""}}, ""});
  f.push_back({"velocita", "velocita", S::kTrain, {"velocit"}, false, false, false, "",
               N_("the line speed limit from a chainage on, up to the next `velocita`; rows in increasing chainage; "
               "needed at 0: the cells before the first row have speed limit 0"),
               {chainage(N_("chainage"), kOnTrack, N_("where this speed starts: cell `nearest(chainage / 50)`")),
                speed(N_("speed"), N_("−2 to 1277"),
                      N_("the speed limit in km/h; the cells' `speed_limit` byte = `nearest(speed / 5)`: steps of "
                      "5 km/h"))},
               {{{15}, N_("chainage beyond the line")},
                {{25}, N_("also a speed outside −2 to 1277, found when the next `velocita` is stored or at the end")}},
               ""});
  f.push_back({"aderenza", "aderenza", S::kTrain, {"aderenza"}, false, false, false, "",
               N_("the adhesion from a chainage on, up to the next `aderenza`; rows in increasing chainage; needed "
               "at 0: the cells before the first row have adhesion 0"),
               {chainage(N_("chainage"), kOnTrack, N_("where this adhesion starts: cell `nearest(chainage / 50)`")),
                value(N_("adhesion"), "%", Storage::kLong, N_("0 to 255 are kept exactly"), 0, 100,
                      N_("the adhesion in percent; the cells' `adhesion` byte, low byte only (other values wrap "
                      "around)"))},
               {{{15}, N_("chainage beyond the line")}, {{25}, ""}}, ""});
  f.push_back({"orologio", "orologio", S::kTrain, {"orologio"}, false, false, true, "",
               N_("the clock: the time of day the scenario starts at, three fields (7:55 is `7, 55, 0`), which may "
               "stand apart with blanks alone; optional (without it, 0:00:00)"),
               {value(N_("hours"), "h", Storage::kShort, "", 0, 23, N_("the starting time's hours; entry 86 `val3`")),
                value(N_("minutes"), "min", Storage::kShort, "", 0, 59, N_("its minutes; entry 86 `val4`")),
                value(N_("seconds"), "s", Storage::kShort, "", 0, 59, N_("its seconds; entry 86 `val5`"))},
               {{{25}, ""}}, ""});
  f.push_back({"sabbia", "sabbia", S::kTrain, {"sabbia"}, false, false, false, "",
               N_("the train's sand supply; optional (without it, 0)"),
               {value(N_("sand"), "", Storage::kShort, "", 0, INT16_MAX,
                      N_("the amount of sand; its unit is not defined here; entry 86 `val1`"))},
               {{{25}, ""}}, ""});
  f.push_back({"segnale", "segnale", S::kTrain, {"segnale"}, false, false, false, "",
               N_("a signal (kind 1): a left-side kind and three aspect or speed codes, a repetition code, a right-side "
               "kind and three codes, and a timing; what each code value shows is not defined here, only where it "
               "is stored"),
               {chainage("posizione", N_("on the track, at least 325"),
                         N_("the signal's cell *j* = `nearest(posizione / 50 + 1)`; cells *j* − 2, *j* − 4, *j* − 6, "
                         "*j* − 8 get the approach marks `sx × 30 + dx × 10` + 1, 2, 3, 4")),
                value("sx", "", Storage::kLong, N_("approach marks must fit a byte"), 0, 2,
                      N_("the left-side kind: `param4` += `sx × 3`; the timing is kept only when `sx` is 2")),
                value("s1", "", Storage::kLong, N_("`param1` must fit 16 bits"), 0, 9,
                      N_("the left side's first aspect or speed code: `param1` = `s1 × 10 + d1`")),
                value("s2", "", Storage::kLong, N_("`param2` must fit 16 bits"), 0, 9,
                      N_("the left side's second code: `param2` = `s2 × 10 + d2`")),
                value("s3", "", Storage::kLong, N_("`param3` must fit 16 bits"), 0, 9,
                      N_("the left side's third code: `param3` = `s3 × 10 + d3`")),
                value("rapp", "", Storage::kLong, N_("`param4` must fit 16 bits"), 0, 9,
                      N_("the repetition code: `param4` = `rapp × 10 + sx × 3 + dx`")),
                value("dx", "", Storage::kLong, N_("see `sx`"), 0, 2,
                      N_("the right-side kind: `param4` += `dx`; approach marks += `dx × 10`")),
                value("d1", "", Storage::kLong, N_("see `s1`"), 0, 9, N_("the right side's first code, in `param1`")),
                value("d2", "", Storage::kLong, N_("see `s2`"), 0, 9, N_("the right side's second code, in `param2`")),
                value("d3", "", Storage::kLong, N_("see `s3`"), 0, 9, N_("the right side's third code, in `param3`")),
                value("tempo", "s", Storage::kLong, "", 0, 255,
                      N_("a time in seconds, used when `sx` is 2; the cell's `timing` when `sx` is 2: 0 stays 0, 1 to 100 become 101, the low byte is kept "
                      "(300 gives 44); 0 for any other `sx`"))},
               {{{16}, N_("the cell is occupied")},
                {{15}, N_("posizione beyond the line")},
                {{25}, N_("posizione below 325 m, where the approach cells would fall before cell 0, or a value that "
                       "does not fit")},
                {{11, 13}, N_("from the placement walk: no free cell for a marker before the signal")},
                {{1250, 1251}, N_("placed in the track's first cell")}},
               ""});
  f.push_back({"rallentamento", "rallentamento", S::kTrain, {"rallentamento"}, false, false, false, "",
               N_("a temporary slowdown: start `x`, speed `v`, length `l`"),
               {chainage("x", kOnTrack,
                         N_("its start (kind 3) in cell `nearest(x / 50 + 1)`; above 1500 m also its warning board "
                         "(kind 4), 1200 m before, in cell `nearest((x − 1200) / 50 + 1)`")),
                value("v", "km/h", Storage::kLong, N_("16-bit"), 0, 300,
                      N_("its speed: `param1` of the start, the end and the warning board; below 110 km/h markers are "
                      "placed along it")),
                {"l", "m", Storage::kLong, N_("the end on the track"), 50, kLongest, 50, 0, 0, false,
                 N_("its length: the end (kind 2) in cell `nearest((x + l) / 50 + 1)`")},
                value("f_tt", "", Storage::kLong, N_("16-bit"), INT16_MIN, INT16_MAX,
                      N_("`param3` of the start and the end; its meaning is not defined here")),
                value("f_ta", "", Storage::kLong, "", 0, 1,
                      N_("not 0 (and x above 1500 m): the four cells just before the warning board, from cell "
                      "`nearest((x − 1200) / 50)` back, become approach cells (kind 5) with `param1` 1 to 4")),
                value("d_v", "", Storage::kLong, N_("16-bit"), INT16_MIN, INT16_MAX,
                      N_("not 0: `param2` of the start, the end and the warning board, and `param2` = 1 to 4 of the "
                      "approach cells; what it changes beyond that is not defined here"))},
               {{{17}, N_("the warning board's cell is occupied")},
                {{18}, N_("the start's cell is occupied")},
                {{19}, N_("the end's cell is occupied, checked in this order before anything is written")},
                {{20}, N_("an approach cell is occupied, with start, end and board already written")},
                {{15}, N_("x beyond the line")},
                {{25}, ""},
                {{12, 13},
                 N_("from the placement walk: no free cell for a marker before the start, along a slowdown slower than "
                 "110 km/h or before the next signal")},
                {{11}, N_("a signal in the 20 cells before the warning board has no free cell for its marker")},
                {{1250, 1251}, N_("placed in the track's first cell")}},
               ""});
  f.push_back({"abbattimento", "abbattimento", S::kTrain, {"abbattimento"}, false, false, false, "",
               N_("a marker cell of one of two kinds (by its value); what it does when the train passes it is not "
               "defined here"),
               {chainage(N_("chainage"), kOnTrack,
                         N_("the marker's cell, `nearest(chainage / 50)`: the cell at its chainage, not one past")),
                value("n", "", Storage::kLong, N_("16-bit when 1 or more"), INT16_MIN, INT16_MAX,
                      N_("1 or more: a marker (kind 12) with `param1` = n, which the placement walk may lower to 180; "
                      "below 1: kind 13, with no value"))},
               {{{7}, N_("the cell is occupied")},
                {{15}, N_("chainage beyond the line")},
                {{25}, ""},
                {{1250}, N_("placed in the track's first cell")}},
               ""});
  f.push_back(
      {"stazione", "stazione", S::kTrain, {"stazione"}, false, false, false, "",
       N_("a station or stop, stored in the next table entry (1, 2, …), in rising chainage; the train's stations "
       "follow the line as the chainage rises"),
       {chainage("posizione", N_("(`posizione` + 800) / 50 at most the track's last cell"),
                 N_("the stop position; entry `posizione`"), 8),
        value("tipo", "", Storage::kByte, "", 0, 255,
              N_("the station kind; entry `tipo`; beyond the area and cells it gives, what a kind means is not "
              "defined here: 5 and 6: area from `posizione − length` to `posizione + 150`; 7 and 8: from "
              "`posizione − length` to `posizione + length`; others: `length` centred on `posizione`; below 25: a "
              "stop cell (kind 10, `param1` = the entry) in cell `nearest(fine / 50 − 1)` and, except 5 and 6, "
              "approach marks 81 to 84 in the four cells before it; 25 and above: neither")),
        {N_("length"), "m", Storage::kLong, "", 0, kLongest, 100, 9, 0, false,
         N_("the platform length, which sets the area: entry `inizio` and `fine`")},
        plain("flag1", "", Storage::kByte, N_("entry `flag1`; its meaning is not defined here")),
        plain("flag5", "", Storage::kByte, N_("the long-platform flag, entry `flag5`; cleared when the length is below 600 m and for the first station")),
        plain("flag4", "", Storage::kByte,
              N_("the end-extension flag, entry `flag4`; not 0: the area ends 50 m further (types other than 5 to 8); cleared for types 5 to 8 "
              "and, after its area is set, for the first station")),
        plain("val1", "", Storage::kShort, N_("entry `val1`; its meaning is not defined here")),
        plain("val2", "", Storage::kShort, N_("entry `val2`; its meaning is not defined here")),
        plain("flag2", "", Storage::kByte, N_("entry `flag2`; its meaning is not defined here")),
        plain("val3", "", Storage::kShort, N_("entry `val3`; its meaning is not defined here")),
        plain("val4", "", Storage::kShort, N_("entry `val4`; its meaning is not defined here")),
        plain("val5", "", Storage::kShort, N_("entry `val5`; its meaning is not defined here")),
        plain("flag3", "", Storage::kByte, N_("entry `flag3`; its meaning is not defined here")),
        value(N_("hours"), "h", Storage::kLong, "", 0, 23,
              N_("the timetable time at this station (0, 0, 0: none); entry `ora` = (hours × 60 + minutes) × 60 + "
              "seconds, which must fit 32 bits at each step")),
        value(N_("minutes"), "min", Storage::kLong, "", 0, 59, N_("see hours")),
        value(N_("seconds"), "s", Storage::kLong, "", 0, 59, N_("see hours")),
        text(N_("name"), N_("the station's name, entry `nome`; in double quotes when it holds a comma"))},
       {{{15}, N_("posizione beyond the line: the body ends")},
        {{8}, N_("posizione not a multiple of 50")},
        {{9}, N_("length not a multiple of 100")},
        {{24}, N_("a stop cell at or before cell 1: the area ends within the first 100 m")},
        {{22}, N_("the area starts less than 350 m after the previous station's area ends")},
        {{10}, N_("stations and sign boards together more than 78")},
        {{25}, ""}},
       N_("The entry keeps what was read when a later check stops the reading.")});
  return f;
}

}  // namespace

const std::vector<RecordFormat>& record_formats() {
  static const std::vector<RecordFormat> formats = make_formats();
  return formats;
}

bool keyword_matches(const RecordFormat& format, std::string_view field) {
  for (std::string_view word : format.words)
    if (!(format.case_sensitive ? contains(field, word) : contains_ci(field, word))) return false;
  return true;
}

const RecordFormat* match_keyword(Section section, std::string_view field, bool plan) {
  for (const RecordFormat& format : record_formats()) {
    if (format.section != section || (format.plan_only && !plan)) continue;
    if (keyword_matches(format, field)) return &format;
  }
  return nullptr;
}

std::vector<int32_t> error_codes(const RecordFormat& format) {
  std::vector<int32_t> codes;
  for (const ErrorNote& e : format.errors) codes.insert(codes.end(), e.codes.begin(), e.codes.end());
  return codes;
}

std::string_view section_name(Section section) {
  switch (section) {
    case Section::kLineGeneral: return N_("line description, general block");
    case Section::kLineBody: return N_("line description, body");
    case Section::kTrain: return N_("train description");
  }
  return "";
}

std::string_view storage_name(Storage storage) {
  switch (storage) {
    case Storage::kLong: return N_("32-bit");
    case Storage::kShort: return N_("16-bit");
    case Storage::kByte: return N_("byte");
    case Storage::kText: return N_("text");
  }
  return "";
}

int64_t storage_low(Storage storage) {
  switch (storage) {
    case Storage::kShort: return INT16_MIN;
    case Storage::kByte: return 0;
    default: return INT32_MIN;
  }
}

int64_t storage_high(Storage storage) {
  switch (storage) {
    case Storage::kShort: return INT16_MAX;
    case Storage::kByte: return 255;
    case Storage::kText: return 65535;
    default: return INT32_MAX;
  }
}

}  // namespace lorvena
