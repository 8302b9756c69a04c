#include "tools/diagnosing/find_problems.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <regex>

#include "compiler/compiler.h"
#include "compiler/fatal_error.h"
#include "descriptions/dati_linea.h"
#include "descriptions/dati_treno.h"
#include "disk/file_names.h"
#include "disk/system_disk.h"
#include "testing/example_pair.h"
#include "testing/test_files.h"
#include "tools/diagnosing/error_texts.h"
#include "tools/diagnosing/warning_texts.h"
#include "tools/text/language.h"
#include "tools/text/text_encoding.h"

namespace lorvena {
namespace {

using testing::kExampleName;
using testing::kExampleTrain;

const std::string kLineName = line_description_name(kExampleName);
const std::string kTrainName = train_description_name(kExampleName, kExampleTrain);

struct Pair {
  std::optional<std::string> line;
  std::optional<std::string> train;
};

Pair example_pair() {
  return {testing::read_bytes(testing::examples_dir() / kLineName),
          testing::read_bytes(testing::examples_dir() / kTrainName)};
}

// What the installer's compiler makes of a pair: the compiled bytes and the
// error state, with no authors' tool around it.
struct Outcome {
  std::string files;
  int32_t err_code = 0, err_pos = 0;
  std::string fatal;
  bool operator==(const Outcome&) const = default;
};

std::string compiled_bytes(const std::filesystem::path& dir, bool plan) {
  std::string bytes;
  for (const std::string& name : {plan_file_name(kExampleName), table_file_name(kExampleName, kExampleTrain),
                                  track_file_name(kExampleName, kExampleTrain)}) {
    if (!plan && name == plan_file_name(kExampleName)) continue;
    std::filesystem::path path = dir / name;
    bytes += name + "=" + (std::filesystem::exists(path) ? testing::read_bytes(path) : "absent") + "\n";
  }
  return bytes;
}

Outcome plain_compile(const Pair& pair, bool plan) {
  ScratchDir dir;
  if (pair.line) testing::write_bytes(dir / kLineName, *pair.line);
  if (pair.train) testing::write_bytes(dir / kTrainName, *pair.train);
  Scenario m;
  m.scenario_name = kExampleName;
  m.train_number = kExampleTrain;
  Outcome o;
  try {
    SystemDisk disk;
    memorizza_percorso(disk, m, dir.path(), plan ? 1 : 0, CompileMode::kCopies);
  } catch (const FatalError& e) {
    o.fatal = e.number();
  }
  o.files = compiled_bytes(dir.path(), plan);
  o.err_code = m.err_code;
  o.err_pos = m.err_pos;
  return o;
}

struct Checked {
  Diagnosis diagnosis;
  Outcome outcome;
  std::string dir;
};

// The authors' tool on the pair: its diagnostics, and what it wrote.
Checked diagnose_pair(const Pair& pair, bool plan = true) {
  ScratchDir dir, out;
  if (pair.line) testing::write_bytes(dir / kLineName, *pair.line);
  if (pair.train) testing::write_bytes(dir / kTrainName, *pair.train);
  CompileRequest request{dir.path(), kExampleName, kExampleTrain, plan, out.path()};
  SystemDisk disk;
  CompileResult result = compile_copies(disk, request);
  Checked c{diagnose(request, result), {}, dir.path().string()};
  c.outcome.files = compiled_bytes(out.path(), plan);
  c.outcome.err_code = result.model.err_code;
  c.outcome.err_pos = result.model.err_pos;
  c.outcome.fatal = result.fatal;
  return c;
}

// "L3 E2, T22 E16, T21 note": the file (L line, T train, - none), the line and
// the code of each diagnostic; a note by its severity.
std::string brief(const Checked& c) {
  std::string out;
  for (const Diagnostic& d : c.diagnosis.list) {
    std::string file = std::filesystem::path(d.file).filename().string();
    std::string letter = file == kLineName ? "L" : file == kTrainName ? "T" : "-";
    out += (out.empty() ? "" : ", ") + letter + std::to_string(d.line) + " " +
           (d.severity == Severity::kNote ? "note" : d.code);
  }
  return out;
}

// Codes that `explain` knows, places inside the descriptions, UTF-8 messages.
void expect_known(const std::vector<Diagnostic>& list) {
  for (const Diagnostic& d : list) {
    EXPECT_TRUE(is_utf8(d.message)) << d.message;
    if (d.code.empty()) continue;
    bool error = d.code[0] == 'E' && !is_tool_error(d.code) &&
                 std::any_of(error_texts().begin(), error_texts().end(),
                             [&d](const ErrorText& e) { return error_code_name(e.code) == d.code; });
    EXPECT_TRUE(error || warning_text(d.code) != nullptr) << d.code;
    EXPECT_GE(d.line, 0);
    EXPECT_GE(d.column, d.line > 0 ? 1 : 0);
  }
}

// A text edit of one description of the example pair.
struct Edit {
  char file;  // 'L' or 'T'
  std::string from, to;
};

Pair edited(const std::vector<Edit>& edits) {
  Pair pair = example_pair();
  for (const Edit& e : edits) {
    std::string& text = e.file == 'L' ? *pair.line : *pair.train;
    size_t at = text.find(e.from);
    if (at == std::string::npos) throw std::runtime_error("no '" + e.from + "' in the example");
    text.replace(at, e.from.size(), e.to);
  }
  return pair;
}

std::string repeated(const std::function<std::string(int)>& line, int count) {
  std::string out;
  for (int i = 0; i < count; ++i) out += line(i);
  return out;
}

struct Mistake {
  const char* what;
  std::vector<Edit> edits;
  std::string expected;  // brief() of the diagnostics
};

const std::string kSignal2400 = "segnale,    2400,   2, 4, 0,  0, 0,    2,  2,0,0, 0";

// Mistakes a new author makes in the example pair, each with every diagnostic
// it must give, at its place.
const std::vector<Mistake>& mistakes() {
  static const std::vector<Mistake> table = {
      // Skipped in silence by the compile.
      {"misspelt keyword", {{'T', "segnale,    2400", "segnal,    2400"}}, "T22 E-misspelt-keyword"},
      {"misspelt station keyword", {{'T', "stazione,    5800", "stazion,    5800"}}, "T17 E-misspelt-keyword"},
      {"station keyword with a letter too many", {{'T', "stazione,    5800", "stazzione,    5800"}}, "T17 E-misspelt-keyword"},
      {"keyword two letters off", {{'T', "segnale,    2400", "segnl,    2400"}}, "T22 W-unknown-keyword"},
      {"misspelt [generale] in the train", {{'T', "[generale]", "[generali]"}}, "T1 W-unknown-section"},
      {"no [generale] in the train", {{'T', "[generale]\r\n", ""}}, "T1 W-no-general"},
      {"train records above [generale]", {{'T', "[generale]\r\nnumero vetture,    5\r\npercentuale",
                                           "numero vetture,    5\r\n[generale]\r\npercentuale"}},
       "T1 W-wrong-section"},
      {"no [generale] in the line", {{'L', "[generale]\r\n", ""}}, "L1 E102"},
      {"line length above [generale]", {{'L', "[generale]\r\nlunghezza percorso,    12000\r\n",
                                         "lunghezza percorso,    12000\r\n[generale]\r\n"}},
       "L1 E25"},
      {"general records above [generale]", {{'L', "[generale]\r\nlunghezza percorso,    12000\r\nprogressiva",
                                             "lunghezza percorso,    12000\r\n[generale]\r\nlunghezza percorso,    "
                                             "12000\r\nprogressiva"}},
       "L1 W-wrong-section"},
      {"clock written 8:12", {{'T', "orologio,    8              12            30 ", "orologio,    8:12"}}, "T5 E25"},
      {"two station names in UTF-8", {{'T', "Costalunga", "Citt\xC3\xA0"}, {'T', "PIANELLO", "PI\xC3\x80NELLO"}},
       "T16 W-encoding"},
      {"misspelt section read as a record", {{'T', "[segnali]", "[segnale]"}}, "T21 E25, T21 W-header-is-record"},
      {"station name with a comma", {{'T', "VALDORNO CENTRALE", "VALDORNO, CENTRALE"}}, "T18 W-text-comma"},
      {"sign text with a comma", {{'L', "(Cippo Km.)", "(Cippo, Km.)"}}, "L31 W-text-comma"},
      {"station name in UTF-8", {{'T', "Costalunga", "Citt\xC3\xA0"}}, "T17 W-encoding"},
      {"slowdown off the 50 m step", {{'T', "rallentamento,  7400", "rallentamento,  7425"}}, "T20 W-off-step"},
      {"gradient off the 50 m step", {{'L', "pendenza,  1500", "pendenza,  1525"}}, "L18 W-off-step"},
      {"speed not a multiple of 5", {{'T', "velocita,    1000,    90", "velocita,    1000,    93"}}, "T12 W-off-step"},
      {"speed limit past the end of the line", {{'T', "velocita,   11000", "velocita,   12500"}}, "T14 W-past-end"},
      {"signal past the end of the line", {{'T', "segnale,   10200", "segnale,   12500"}}, "T26 W-past-end"},
      // 5 km at 30 km/h: the last station cannot be kept.
      {"slowdown ending past the end of the line", {{'T', "7400,  30,  600", "7400,  30,  5000"}},
       "T18 W-timetable, T20 W-past-end"},
      {"curve ending past the end of the line", {{'L', "curvad3,  9300,  300", "curvad3,  9300,  3000"}}, "L15 W-past-end"},
      {"station minute 75", {{'T', "8,22, 0", "8,75, 0"}}, "T17 W-time"},
      {"clock hour 25", {{'T', "orologio,    8 ", "orologio,    25 "}}, "T5 W-time"},
      {"extra field after a signal", {{'T', kSignal2400, kSignal2400 + ", 7"}}, "T22 W-extra-field"},
      {"a number on a line of its own", {{'T', "[segnali]", "100\r\n[segnali]"}}, "T21 W-extra-field"},
      {"adhesion rows out of order", {{'T', "aderenza,   3000", "aderenza,   5000"}}, "T9 W-order, T8 note"},
      {"gradient rows out of order", {{'L', "pendenza,  3000", "pendenza,  7000"}}, "L20 W-order, L19 note"},
      {"overlapping curves", {{'L', "curvas3,  2600", "curvas3,  1400"}}, "L12 W-order, L11 note"},
      {"negative slowdown length", {{'T', "7400,  30,  600", "7400,  30,  -600"}}, "T20 W-range"},
      {"gradient before the start of the line", {{'L', "pendenza,  1500", "pendenza,  -1500"}},
       "L18 W-range, L18 W-order, L17 note"},
      {"mountain ending before its start", {{'L', "8000,  8600", "8000,  7600"}}, "L24 W-range"},
      {"mountain kind 25", {{'L', "8600,  2", "8600,  25"}}, "L24 W-range"},
      // In a tunnel the kind less 10 is the landscape, stored in a byte.
      {"tunnel kind 265: landscape 255", {{'L', "8600,  2", "8600,  265"}}, "L24 W-range"},
      {"adhesion of 120 %", {{'T', "aderenza,   4200,   100", "aderenza,   4200,   120"}}, "T9 W-range"},
      {"signal timing 300 s", {{'T', kSignal2400, "segnale,    2400,   2, 4, 0,  0, 0,    2,  2,0,0, 300"}}, "T22 W-range"},
      {"keyword of the general block in capitals", {{'L', "progressiva chilometrica uno", "Progressiva chilometrica uno"}},
       "L3 W-keyword-case"},
      {"gradient in the general block", {{'L', "[curve]", "pendenza, 100, 5\r\n[curve]"}}, "L10 W-wrong-section"},
      {"station in the line description", {{'L', "[fine]", "stazione, 100\r\n[fine]"}}, "L32 W-wrong-section"},
      {"blanks alone between two numbers", {{'T', "segnale,    2400,   2,", "segnale,    2400   2,"}}, "T22 W-missing-comma"},
      {"a number split by a blank", {{'T', kSignal2400, "segnale,    2400,   2, 4, 0,  0, 0,    2,  2,0,0, 1 0"}},
       "T22 W-missing-comma, T22 W-extra-field"},
      {"keyword holding '-'", {{'T', "segnale,    2400", "segnale-2,    2400"}}, "T22 W-divider-keyword"},
      {"unclosed quote", {{'T', "VALDORNO CENTRALE", "\"VALDORNO CENTRALE"}}, "T18 W-quote"},
      {"text after a closing quote", {{'T', "VALDORNO CENTRALE", "\"VALDORNO\" CENTRALE"}}, "T18 W-quote"},
      {"record taking its last value from an empty line",
       {{'T', kSignal2400 + "\r\n", "segnale,    2400,   2, 4, 0,  0, 0,    2,  2,0,0\r\n\r\n"}}, "T22 W-spans-lines"},
      {"a trailing comma is an empty last field", {{'T', kSignal2400, "segnale,    2400,   2, 4, 0,  0, 0,    2,  2,0,0,"}},
       ""},
      {"station stop point on a sign board", {{'L', "cartello_indicatore,  2950", "cartello_indicatore,  5850"}},
       "T17 W-overwritten, L30 note"},
      // Kind 25 and above do not stop, so take no stop cell.
      {"non-stop station where a sign board stands",
       {{'L', "cartello_indicatore,  2950", "cartello_indicatore,  5850"}, {'T', "5800, 22,", "5800, 25,"}}, ""},
      {"object in the first cell, stamps overwrite it", {{'T', "[fine]", "abbattimento, 50, 0\r\n[fine]"}},
       "T28 W-reserved-cell"},
      // What compiles but no train can drive, found in the compiled line.
      {"a stretch at 0 km/h", {{'T', "velocita,    8500,    80", "velocita,    8500,     0"}}, "T13 E-no-speed"},
      {"a speed that rounds to 0", {{'T', "velocita,    8500,    80", "velocita,    8500,     2"}},
       "T13 E-no-speed, T13 W-off-step"},
      {"adhesion 0 from a chainage on", {{'T', "aderenza,   4200,   100", "aderenza,   4200,     0"}}, "T9 E-no-adhesion"},
      {"a station stop at 0 km/h",
       {{'T', "velocita,       0,    70", "velocita,       0,     0"},
        {'T', "velocita,    1000,    90", "velocita,    1200,    90"}},
       "T11 E-no-speed, T16 E-stop-no-speed"},
      {"slowdown at 0 km/h", {{'T', "rallentamento,  7400,  30,", "rallentamento,  7400,   0,"}}, "T20 E-slowdown-stop"},
      {"slowdown faster than the line", {{'T', "rallentamento,  7400,  30,", "rallentamento,  7400,  120,"}},
       "T20 W-slowdown-speed"},
      {"a climb of 120 \u2030", {{'L', "pendenza,  3000,   12", "pendenza,  3000,   120"}}, "L19 W-gradient, T17 W-timetable"},
      // Down it, the brakes cannot slow the train for the slowdown at 7400 m either.
      {"a descent of 90 \u2030", {{'L', "pendenza,  6500,   -8", "pendenza,  6500,   -90"}},
       "L20 W-gradient, T20 W-slowdown-braking"},
      {"a tab in a station name", {{'T', "8,22, 0, Costalunga", "8,22, 0, Costa\tlunga"}}, "T17 W-name-control"},
      {"a time the train cannot keep", {{'T', "4,1,1,    0,   8,22, 0", "4,1,1,    0,   8,17, 0"}}, "T17 W-timetable"},
      {"a slowdown too close behind a fast stretch", {{'T', "velocita,    1000,    90", "velocita,    1000,    160"}},
       "T20 W-slowdown-braking"},
      {"no comma after a keyword", {{'T', "velocita,    8500,    80", "velocita    8500,    80"}}, "T13 E25"},
      {"no comma after the last record's keyword", {{'T', "[codici]", "abbattimento    9900, 9950, 5\r\n[codici]"}},
       "T27 W-missing-comma"},
      {"a comment line holding a comma", {{'T', "[vel_limite]", "[vel_limite]\r\n- limiti di velocita, in km/h"}},
       "T11 W-comment-comma"},
      {"a comment line whose comma starts a record",
       {{'T', "[codici]", "- da qui, abbattimento 9900\r\n[codici]"}}, "T27 E25, T27 W-comment-comma"},
      {"signal on a slowdown's warning board",
       {{'T', kSignal2400, "segnale,    6200,   2, 4, 0,  0, 0,    2,  2,0,0, 0\r\n" + kSignal2400}},
       "T22 E16, T20 note, T22 W-approach-overwritten"},
      // Errors reported at the wrong place, or with no place.
      {"kilometre reference off its step", {{'L', "progressiva chilometrica uno,    0", "progressiva chilometrica uno,    125"}},
       "L3 E2"},
      {"signal one field short", {{'T', kSignal2400, "segnale,    2400,   2, 4, 0,  0, 0,    2,  2,0,0"}}, "T22 E25"},
      {"last signal one field short", {{'T', "2,  1,1,0, 0\r\n[codici]", "2,  1,1,0\r\n[codici]"}}, "T26 E25"},
      {"record cut by the end of the file", {{'T', "[codici]\r\n[fine]\r\n", "segnale, 9000, 2"}}, "T27 E25"},
      {"sign board at 0 m", {{'L', "cartello_indicatore,  2950", "cartello_indicatore,  0"}}, "L30 E1250"},
      {"speed board at 0 m", {{'L', "indicatori_vmax,  500", "indicatori_vmax,  0"}}, "L26 E1250"},
      {"signal at 0 m", {{'T', "segnale,    2400", "segnale,    0"}}, "T22 E25, T22 E1250"},
      {"object at 50 m", {{'T', "[fine]", "abbattimento, 50, 3\r\n[fine]"}}, "T28 E1250"},
      {"slowdown at 0 m with a second value", {{'T', "rallentamento,  7400,  30,  600,  0, 1, 0", "rallentamento,  0,  0,  600,  0, 0, 4"}},
       "T20 E1251"},
      {"sign board moved onto a signal", {{'L', "cartello_indicatore,  2950", "cartello_indicatore,  2400"}},
       "T22 E16, L30 note"},
      {"speed board on another", {{'L', "indicatori_vmax,  3500", "indicatori_vmax,  500"}}, "L27 E21, L26 note"},
      {"signal on another", {{'T', "segnale,    4300,", "segnale,    2400,"}}, "T23 E16, T22 note"},
      {"signal on a slowdown start", {{'T', "segnale,    8400", "segnale,    7400"}}, "T25 E16, T20 note"},
      {"object on a signal", {{'T', "[codici]", "abbattimento, 2450, 5\r\n[codici]"}}, "T27 E7, T22 note"},
      {"warning board on a station stop", {{'T', "rallentamento,  7400", "rallentamento,  7050"}}, "T20 E17, T17 note"},
      {"slowdown end on a station stop", {{'T', "7400,  30,  600", "5000,  30,  850"}}, "T20 E19, T17 note"},
      {"approach cell on a station stop", {{'T', "rallentamento,  7400", "rallentamento,  7150"}}, "T20 E20, T17 note"},
      {"stations too close", {{'T', "stazione,    5800", "stazione,    1450"}}, "T17 E22, T16 note"},
      {"stations out of order", {{'T', "stazione,    5800", "stazione,    600"}}, "T17 E22, T16 note"},
      {"station off the 50 m step", {{'T', "stazione,    5800", "stazione,    5825"}}, "T17 E8"},
      {"platform off the 100 m step", {{'T', "5800, 22,  300", "5800, 22,  350"}}, "T17 E9"},
      {"station area in the first 100 m", {{'T', "stazione,    1000, 12,  300", "stazione,    50, 12,  100"}}, "T16 E24"},
      {"signal beyond the track", {{'T', "segnale,   10200", "segnale,   19500"}}, "T26 E15"},
      {"cab signalling off its step", {{'L', "codici,    0,", "codici,    25,"}}, "L9 E3"},
      {"cab signalling with no code count", {{'L', "ripetizione segnali 4 codici", "ripetizione segnali codici"}}, "L9 E5"},
      {"line too long", {{'L', "lunghezza percorso,    12000", "lunghezza percorso,    1200000"}}, "L2 E1"},
      {"line length in km: one warning, not one per record", {{'L', "lunghezza percorso,    12000", "lunghezza percorso,    12"}},
       "L2 W-length-in-km, L14 E15, T13 E15"},
      {"curve with no radius class", {{'L', "curvad4,", "curvad,"}}, "L11 E103"},
      {"sand not a number", {{'T', "sabbia,    150", "sabbia,    15o"}}, "T4 E25"},
      {"sand out of its range", {{'T', "sabbia,    150", "sabbia,    40000"}}, "T4 E25"},
      {"signal kind 9", {{'T', kSignal2400, "segnale,    2400,   9, 4, 0,  0, 0,    2,  2,0,0, 0"}}, "T22 E25"},
      {"speed of 1300 km/h", {{'T', "velocita,    1000,    90", "velocita,    1000,    1300"}}, "T12 E25"},
      {"mountain past the track", {{'L', "8000,  8600", "8000,  30000"}}, "L24 E25"},
      {"slowdown end past the track", {{'T', "7400,  30,  600", "7400,  30,  20000"}}, "T20 E25"},
      {"curve past the plan", {{'L', "curvad3,  9300,  300", "curvad3,  9300,  10000"}}, "L15 E25"},
      {"kilometre reference whose fine + 100 passes 32 bits",
       {{'L', "progressiva chilometrica uno,    0,    0,    0", "progressiva chilometrica uno,    0,    2147483548,    1"}},
       "L3 E25"},
      // A sign's text is checked where it is stored, a station's name as it is read.
      {"over-long sign text", {{'L', "(IMBOCCO GALLERIA)", std::string(65536, 'S')}}, "L30 E25"},
      {"over-long sign text on a speed board",
       {{'L', "2950,   (IMBOCCO GALLERIA)", "500,   " + std::string(65536, 'S')}}, "L30 E6, L26 note"},
      {"over-long sign text beyond the track",
       {{'L', "2950,   (IMBOCCO GALLERIA)", "19500,   " + std::string(65536, 'S')}}, "L30 E15"},
      {"over-long station name", {{'T', "Costalunga", std::string(65536, 'N')}}, "T17 E25"},
      {"mountain kind 300 without cells", {{'L', "8000,  8600,  2", "8000,  8000,  300"}}, "L24 W-range, L24 W-range"},
      {"mountain kind 300", {{'L', "8000,  8600,  2", "8000,  8600,  300"}}, "L24 E25"},
      {"slowdown speed beyond 16 bits", {{'T', "7400,  30,  600", "7400,  40000,  600"}}, "T20 E25"},
      // Each record told once, then set aside so that the next compile finds the next.
      {"two speeds beyond a byte, each stored at the next row",
       {{'T', "velocita,    1000,    90", "velocita,    1000,    1300"}, {'T', "velocita,    8500,    80", "velocita,    8500,    1400"}},
       "T12 E25, T13 E25"},
      {"a value beyond its field in each description",
       {{'L', "8000,  8600,  2", "8000,  8600,  300"}, {'T', "7400,  30,  600", "7400,  40000,  600"}}, "L24 E25, T20 E25"},
      {"no line length", {{'L', "lunghezza percorso,    12000\r\n", ""}}, "L0 E25"},
      {"no free cell before a slowdown",
       {{'T', "[segnali]", "abbattimento, 7100, 0\r\nabbattimento, 7150, 0\r\nabbattimento, 7200, 0\r\n[segnali]"}},
       "T20 E12"},
      {"no free cell before a signal behind a warning board",
       {{'T', "[segnali]", "abbattimento, 5350, 0\r\nabbattimento, 5400, 0\r\n[segnali]"}}, "T26 E11, T20 note"},
      {"too many stations",
       {{'T', "[rallentamenti]", repeated([](int i) { return "stazione, " + std::to_string(20000 + 1000 * i) +
                                                             ", 30, 100, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, S\r\n"; },
                                          76) + "[rallentamenti]"},
        {'L', "lunghezza percorso,    12000", "lunghezza percorso,    100000"}},
       "T92 E10, T93 E10, T94 E10"},
      // Four mistakes: four errors in one run.
      {"four mistakes at once",
       {{'L', "progressiva chilometrica uno,    0", "progressiva chilometrica uno,    125"},
        {'T', "segnale,    4300,", "segnale,    2400,"},
        {'T', "stazione,    5800", "stazione,    1450"},
        {'T', "sabbia,    150", "sabbia,    x"}},
       "L3 E2, T4 E25, T17 E22, T16 note, T23 E16, T22 note"},
  };
  return table;
}

// One test per mistake, so that ctest runs them side by side and each stays
// far inside its timeout on a busy machine.
class EachMistake : public ::testing::TestWithParam<size_t> {};

TEST_P(EachMistake, AtItsPlaceAndTheCompileUnchanged) {
  const Mistake& m = mistakes().at(GetParam());
  SCOPED_TRACE(m.what);
  Pair pair = edited(m.edits);
  Checked c = diagnose_pair(pair);
  EXPECT_EQ(brief(c), m.expected) << diagnostics_text(c.diagnosis.list);
  EXPECT_EQ(c.outcome, plain_compile(pair, true));
  expect_known(c.diagnosis.list);
}

INSTANTIATE_TEST_SUITE_P(Diagnosis, EachMistake, ::testing::Range<size_t>(0, mistakes().size()));

// The same mistakes told in Italian: every diagnostic at the same place with
// the same code, and its message translated, with no English word left in it.
class EachMistakeInItalian : public ::testing::TestWithParam<size_t> {};

TEST_P(EachMistakeInItalian, TheSamePlacesAndCodesEveryMessageTranslated) {
  const Mistake& m = mistakes().at(GetParam());
  SCOPED_TRACE(m.what);
  Pair pair = edited(m.edits);
  Checked english = diagnose_pair(pair);
  Checked italian = [&pair] {
    LanguageScope scope(Language::kItalian);
    return diagnose_pair(pair);
  }();
  EXPECT_EQ(brief(italian), m.expected) << diagnostics_text(italian.diagnosis.list);
  EXPECT_EQ(italian.outcome, english.outcome);
  ASSERT_EQ(italian.diagnosis.list.size(), english.diagnosis.list.size());
  static const std::regex kEnglish(R"(\b(the|is|of|at|and|with|not|before|after|its|cell|field|line)\b)");
  for (size_t i = 0; i < english.diagnosis.list.size(); ++i) {
    const Diagnostic &e = english.diagnosis.list[i], &t = italian.diagnosis.list[i];
    EXPECT_EQ(std::tie(t.severity, t.code, t.line, t.column), std::tie(e.severity, e.code, e.line, e.column));
    EXPECT_NE(t.message, e.message);
    std::smatch word;
    EXPECT_FALSE(std::regex_search(t.message, word, kEnglish)) << "'" << word.str() << "' in " << t.message;
  }
  expect_known(italian.diagnosis.list);
}

INSTANTIATE_TEST_SUITE_P(Diagnosis, EachMistakeInItalian, ::testing::Range<size_t>(0, mistakes().size()));

// The bytes of `text` from `line`, `column` on, to the end of that line.
std::string text_from(const std::string& text, int64_t line, int64_t column) {
  size_t at = 0;
  for (int64_t l = 1; l < line; ++l) at = text.find('\n', at) + 1;
  std::string rest = text.substr(at + static_cast<size_t>(column - 1));
  return rest.substr(0, rest.find_first_of("\r\n"));
}

TEST(Diagnosis, TheColumnIsThatOfTheFaultyField) {
  struct {
    const char* what;
    Edit edit;
    std::string_view code;
    std::string field;  // what the description holds at the diagnostic's column
  } cases[] = {
      {"a letter for a number", {'T', "sabbia,    150", "sabbia,    x"}, "E25", "x"},
      {"station minute 75", {'T', "8,22, 0", "8,75, 0"}, warning::kTime, "75, 0, Costalunga"},
      {"speed not a multiple of 5", {'T', "velocita,    1000,    90", "velocita,    1000,    93"}, warning::kOffStep, "93"},
      {"signal timing 300 s", {'T', kSignal2400, "segnale,    2400,   2, 4, 0,  0, 0,    2,  2,0,0, 300"},
       warning::kRange, "300"},
      {"times backwards", {'T', "8,22, 0, Costalunga", "8,05, 0, Costalunga"}, warning::kTimesBackwards,
       "8,05, 0, Costalunga"},
      {"platform off the 100 m step", {'T', "1000, 12,  300", "1000, 12,  350"}, "E9", "350"},
      {"gradient rows out of order", {'L', "pendenza,  3000", "pendenza,  7000"}, warning::kOrder, "6500"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Pair pair = edited({c.edit});
    Checked checked = diagnose_pair(pair);
    auto found = std::find_if(checked.diagnosis.list.begin(), checked.diagnosis.list.end(),
                              [&c](const Diagnostic& d) { return d.code == c.code; });
    ASSERT_NE(found, checked.diagnosis.list.end()) << diagnostics_text(checked.diagnosis.list);
    const std::string& text = c.edit.file == 'L' ? *pair.line : *pair.train;
    EXPECT_EQ(text_from(text, found->line, found->column).substr(0, c.field.size()), c.field)
        << diagnostic_line(*found);
  }
}

// Every input of the fuzz corpus (flags byte, line description, NUL, train
// description): the diagnostics come without a crash and beside the plain compile.
// The corpus is walked in kCorpusShards tests, input i in shard i % kCorpusShards,
// so that ctest runs them side by side.
constexpr int kCorpusShards = 4;
class FuzzCorpusShard : public ::testing::TestWithParam<int> {};

TEST_P(FuzzCorpusShard, LeavesTheCompileAsItIs) {
  std::filesystem::path fuzz = testing::examples_dir().parent_path() / "fuzz";
  int inputs = 0;
  int index = 0;
  for (const char* folder : {"corpus", "crashes"}) {
    if (!std::filesystem::exists(fuzz / folder)) continue;
    std::vector<std::filesystem::path> paths;
    for (const auto& entry : std::filesystem::directory_iterator(fuzz / folder)) paths.push_back(entry.path());
    std::sort(paths.begin(), paths.end());
    for (const auto& path : paths) {
      std::string name = path.filename().string();
      std::string input = testing::read_bytes(path);
      if (name[0] == '.' || input.empty()) continue;
      if (index++ % kCorpusShards != GetParam()) continue;
      SCOPED_TRACE(name);
      uint8_t flags = static_cast<uint8_t>(input[0]);
      std::string rest = input.substr(1);
      size_t split = rest.find('\0');
      std::string line = rest.substr(0, split);
      std::string train = split == std::string::npos ? "" : rest.substr(split + 1);
      Pair pair{flags & 2 ? std::nullopt : std::optional(line), flags & 4 ? std::nullopt : std::optional(train)};
      bool plan = (flags & 1) != 0;
      Checked c = diagnose_pair(pair, plan);
      EXPECT_EQ(c.outcome, plain_compile(pair, plan));
      // The compile's own errors come exactly with a compile that recorded one;
      // the tool's (E-no-speed ...) may come with any.
      auto compile_errors = std::count_if(c.diagnosis.list.begin(), c.diagnosis.list.end(), [](const Diagnostic& d) {
        return d.severity == Severity::kError && !is_tool_error(d.code);
      });
      EXPECT_EQ(c.outcome.err_code == 0 && c.outcome.fatal.empty(), compile_errors == 0)
          << diagnostics_text(c.diagnosis.list);
      expect_known(c.diagnosis.list);
      ++inputs;
    }
  }
  EXPECT_GT(inputs, 40 / kCorpusShards);
}

INSTANTIATE_TEST_SUITE_P(Diagnosis, FuzzCorpusShard, ::testing::Range(0, kCorpusShards));

// One mistake of each kind, each gives every diagnostic its line needs.
TEST(Diagnosis, MessagesNameBothRecordsTheGapAndTheField) {
  struct {
    std::vector<Edit> edits;
    std::string message;
  } cases[] = {
      {{{'L', "cartello_indicatore,  2950", "cartello_indicatore,  2400"}},
       "segnale at 2400 m: its cell is already taken by the cartello_indicatore at 2400 m (line 30)"},
      {{{'T', "stazione,    5800", "stazione,    1450"}},
       "stazione 'Costalunga' at 1450 m: its area starts at 1300 m, only 150 m after the end of the stazione "
       "'PIANELLO' at 1000 m (line 16), which ends at 1150 m; stations need 350 m between them"},
      {{{'L', "cartello_indicatore,  2950", "cartello_indicatore,  0"}},
       "cartello_indicatore at 0 m is placed in the first cell of the track, which the scenario reserves for its "
       "stamps; place it at 50 m or later. No compiled file is written"},
      {{{'T', "sabbia,    150", "sabbia,    15o"}}, "sabbia, field 1 (sand): '15o' is not a number"},
      {{{'T', "sabbia,    150", "sabbia,    40000"}},
       "sabbia, field 1 (sand): 40000 is out of the range the reader takes, -32768 to 32767"},
      {{{'T', kSignal2400, "segnale,    2400,   2, 4, 0,  0, 0,    2,  2,0,0"}},
       "segnale at 2400 m, field 11 (tempo), taken from line 23: 'segnale' is not a number; the record has 10 of "
       "its 11 values on its own line"},
      {{{'T', "[codici]\r\n[fine]\r\n", "segnale, 9000, 2"}},
       "segnale at 9000 m, the file ends inside the record: field 3 (s1) is missing"},
      {{{'T', "segnale,    2400", "segnale,    0"}},
       "segnale at 0 m: its approach marks reach 100 m before it, past the start of the line; place it at 350 m or later"},
      {{{'L', "progressiva chilometrica uno,    0", "progressiva chilometrica uno,    125"}},
       "progressiva chilometrica uno: inizio 125 m is not on the 50 m step"},
      // A keyword is named as written, in UTF-8.
      {{{'L', "progressiva chilometrica uno,    0", "progressiva chilometrica uno \xE8,    125"}},
       "progressiva chilometrica uno \xC3\xA8: inizio 125 m is not on the 50 m step"},
      {{{'T', "VALDORNO CENTRALE", "VALDORNO, CENTRALE"}},
       "stazione: the name ends at the comma, so 'VALDORNO' is kept and 'CENTRALE' is skipped; put the whole name "
       "in double quotes"},
      {{{'T', "Costalunga", "Citt\xC3\xA0"}, {'T', "PIANELLO", "PI\xC3\x80NELLO"}},
       "stazione: the name is UTF-8 text ('PI\xC3\x80NELLO'); descriptions are read as Windows-1252, so it is compiled "
       "as 'PI\xC3\x83\xE2\x82\xACNELLO'; convert the file: iconv -f UTF-8 -t WINDOWS-1252 VALDORNO_2417-.txt > "
       "converted.txt (1 text in UTF-8 in this file besides this one)"},
      {{{'T', "[aderenze]", "[aderenza]"}},
       "the header '[aderenza]' holds 'aderenza', so it is read as an aderenza record; its values come from what "
       "follows"},
      {{{'T', "8,15, 0, PIANELLO", "8:15, 0, PIANELLO"}},
       "stazione at 1000 m, field 14 (hours): '8:15' is not a number; write hours, minutes and seconds as three "
       "fields: 8, 15, 0"},
      {{{'T', "[generale]\r\nnumero vetture,    5\r\npercentuale", "numero vetture,    5\r\n[generale]\r\npercentuale"}},
       "numero vetture stands above [generale], before which nothing is read: it is skipped; move [generale] up to "
       "the line before it"},
      {{{'T', "[generale]\r\n", ""}},
       "no [generale] header: nothing in the train description is read; add [generale] on the line before this "
       "numero vetture record"},
      {{{'L', "[generale]\r\n", ""}},
       "no [generale] header in the line description: nothing in it is read; add [generale] on the line before this "
       "lunghezza percorso record"},
      {{{'T', "velocita,       0,    70\r\nvelocita,    1000,    90\r\nvelocita,    8500,    80\r\nvelocita,   11000,    60\r\n",
         ""}},
       "no velocita record: every cell's speed limit is 0; add 'velocita, 0, VALUE' after [generale], with a row "
       "wherever it changes"},
      {{{'L', "lunghezza percorso,    12000\r\n", ""}},
       "the line description's general block has no 'lunghezza percorso' record: nothing can be placed; add "
       "'lunghezza percorso, LENGTH' (in metres) after [generale]"},
      {{{'T', "rallentamento,  7400,  30,  600", "rallentamento,  -100,  30,  600"}},
       "rallentamento at -100 m: its start falls before the start of the line"},
      {{{'L', "8600,  2", "8600,  266"}}, "montagna at 8000 m: kind 266 gives landscape 256, which does not fit 0 to 255"},
      {{{'L', "progressiva chilometrica uno,    0,    0,    0", "progressiva chilometrica uno,    0,    2147483548,    1"}},
       "progressiva chilometrica uno: fine + 100 does not fit"},
      {{{'T', "[segnali]", "abbattimento, 7100, 0\r\nabbattimento, 7150, 0\r\nabbattimento, 7200, 0\r\n[segnali]"}},
       "rallentamento at 7400 m: no free cell for a marker before its start, which go 250 to 350, 550 to 650 and 900 "
       "to 1000 m before it; the cells there hold: abbattimento at 7200 m (line 23); abbattimento at 7150 m (line 22); "
       "abbattimento at 7100 m (line 21)"},
      {{{'T', "[segnali]", "abbattimento, 5350, 0\r\nabbattimento, 5400, 0\r\n[segnali]"}},
       "segnale at 5400 m: no free cell for the marker just before it, which a slowdown warning board within 1000 m "
       "after it needs; the two cells before it hold: abbattimento at 5400 m (line 22); abbattimento at 5350 m (line 21)"},
      {{{'T', "segnale,    2400", "segnal,    2400"}},
       "'segnal' is no keyword of the train description: it is skipped with the values after it, so the scenario "
       "lacks this segnale record; did you mean 'segnale'?"},
      {{{'T', kSignal2400, "segnale,    6200,   2, 4, 0,  0, 0,    2,  2,0,0, 0\r\n" + kSignal2400}},
       "segnale at 6200 m: its cell is already taken by the warning board at 6200 m of the rallentamento at 7400 m "
       "(line 20)"},
      {{{'T', "velocita,    8500,    80", "velocita    8500,    80"}},
       "velocita: no comma after the keyword: 'velocita    8500' is read as the keyword, so 8500 is not read as a "
       "value and each value after it is read one field later (field 2 (speed), taken from line 14: 'velocita' is "
       "not a number; the record has 1 of its 2 values on its own line); write 'velocita, 8500, ...'"},
      {{{'T', "[vel_limite]", "[vel_limite]\r\n- limiti di velocita, in km/h"}},
       "'in km/h' follows a comma in a comment line: the comma ends the comment's field, so this is read as a "
       "keyword (and skipped, being none); write the comment without commas"},
      {{{'T', "velocita,    8500,    80", "velocita,    8500,     0"}},
       "velocita at 8500 m: the speed limit is 0 km/h from 8500 m to 11000 m, and the train must pass there: give "
       "the stretch a speed above 0"},
      {{{'T', "4,1,1,    0,   8,22, 0", "4,1,1,    0,   8,17, 0"}},
       "stazione 'Costalunga' at 5800 m: the train needs 3:48 from PIANELLO (1000 m) to here, and its time "
       "08:17:00 gives it 2:00; it arrives at 08:18:48 at the earliest (`scenario_tool timetable`); give it a later "
       "time"},
  };
  for (const auto& c : cases) {
    Checked checked = diagnose_pair(edited(c.edits));
    ASSERT_FALSE(checked.diagnosis.list.empty());
    expect_known(checked.diagnosis.list);
    bool found = false;
    for (const Diagnostic& d : checked.diagnosis.list) found = found || d.message == c.message;
    EXPECT_TRUE(found) << "wanted: " << c.message << "\ngot:\n" << diagnostics_text(checked.diagnosis.list);
  }
}

TEST(Diagnosis, ANameOutsideAsciiFindsItsLineDescription) {
  // The author's files are named in UTF-8; the compile's copies in Windows-1252.
  const std::string name = "CITT\xC3\x80";
  Pair pair = edited({{'L', "cartello_indicatore,  2950", "cartello_indicatore,  3500"}});
  ScratchDir dir;
  testing::write_bytes(dir / line_description_name(name), *pair.line);
  testing::write_bytes(dir / train_description_name(name, kExampleTrain), *pair.train);
  CompileRequest request{dir.path(), name, kExampleTrain, true, std::nullopt};
  SystemDisk disk;
  Diagnosis d = diagnose(request, compile_copies(disk, request));
  ASSERT_EQ(d.list.size(), 2u) << diagnostics_text(d.list);
  EXPECT_EQ(d.list[0].file, (dir / line_description_name(name)).string());
  EXPECT_EQ(d.list[0].line, 30);
  EXPECT_EQ(d.list[0].code, "E6");
}

TEST(Diagnosis, MissingDescriptionsAreNamedWithThePathLookedFor) {
  Pair pair = example_pair();
  Checked no_train = diagnose_pair({pair.line, std::nullopt});
  ASSERT_EQ(no_train.diagnosis.list.size(), 1u);
  EXPECT_EQ(no_train.diagnosis.list[0].code, "E25");
  EXPECT_EQ(no_train.diagnosis.list[0].message,
            "the train description is missing: looked for " + no_train.dir + "/" + kTrainName);
  Checked no_line = diagnose_pair({std::nullopt, pair.train});
  ASSERT_EQ(no_line.diagnosis.list.size(), 1u);
  EXPECT_EQ(no_line.diagnosis.list[0].code, "E101");
  EXPECT_EQ(no_line.diagnosis.list[0].message,
            "the line description is missing: looked for " + no_line.dir + "/" + kLineName);
}

std::string with_line_ends(const std::string& crlf, const std::string& end) {
  std::string out;
  for (size_t i = 0; i < crlf.size(); ++i) {
    if (crlf.compare(i, 2, "\r\n") == 0) {
      out += end;
      ++i;
    } else {
      out += crlf[i];
    }
  }
  return out;
}

std::string tabs_for_blanks(std::string text) {
  for (size_t at = text.find(",    "); at != std::string::npos; at = text.find(",    ", at + 1))
    text.replace(at, 5, ",\t");
  return text;
}

TEST(Diagnosis, CleanVariantsGiveNeitherWarningNorError) {
  Pair example = example_pair();
  struct {
    const char* what;
    std::function<std::string(const std::string&)> change;
  } variants[] = {
      {"CR LF", [](const std::string& t) { return t; }},
      {"LF", [](const std::string& t) { return with_line_ends(t, "\n"); }},
      {"CR", [](const std::string& t) { return with_line_ends(t, "\r"); }},
      {"tabs", tabs_for_blanks},
      {"no line end at the end", [](const std::string& t) { return t.substr(0, t.size() - 2); }},
      {"Windows-1252 names",
       [](const std::string& t) {
         std::string out = t;
         for (const auto& [from, to] : {std::pair<std::string, std::string>{"Costalunga", "Citt\xE0 Alta"},
                                        {"PIANELLO", "PI\xC8VE"}, {"COSTALUNGA", "C\xD2STA"}}) {
           size_t at = out.find(from);
           if (at != std::string::npos) out.replace(at, from.size(), to);
         }
         return out;
       }},
  };
  for (const auto& v : variants) {
    SCOPED_TRACE(v.what);
    Pair pair{v.change(*example.line), v.change(*example.train)};
    Checked c = diagnose_pair(pair);
    EXPECT_EQ(diagnostics_text(c.diagnosis.list), "0 errors, 0 warnings\n");
    EXPECT_EQ(c.outcome, plain_compile(pair, true));
  }
}

TEST(Diagnosis, AByteOrderMarkOnlyWarns) {
  Pair pair = example_pair();
  for (std::string* text : {&*pair.line, &*pair.train}) *text = "\xEF\xBB\xBF" + *text;
  Checked c = diagnose_pair(pair);
  EXPECT_EQ(brief(c), "L1 W-encoding, T1 W-encoding");
  EXPECT_EQ(c.outcome, plain_compile(example_pair(), true));
}

TEST(Diagnosis, TheExamplesAndTheInstallersPairAreClean) {
  EXPECT_EQ(diagnostics_text(diagnose_pair(example_pair()).diagnosis.list), "0 errors, 0 warnings\n");
  EXPECT_EQ(diagnostics_text(diagnose_pair(example_pair(), false).diagnosis.list), "0 errors, 0 warnings\n");

  ScratchDir dir;
  SystemDisk disk;
  dati_linea(disk, dir.path(), "LORVENA PF");
  dati_treno(disk, dir.path(), "LORVENA PF", "4316");
  CompileRequest request{dir.path(), "LORVENA PF", "4316", true, std::nullopt};
  Diagnosis d = diagnose(request, compile_copies(disk, request));
  // The shipped pair's MORENGO (82550 m) is timed 17:54, after PIANA DEL CERRO's
  // 18:25; its bytes are pinned, so the warning stays and is the only one.
  ASSERT_EQ(d.list.size(), 1u) << diagnostics_text(d.list);
  EXPECT_EQ(d.list[0].code, warning::kTimesBackwards);
  EXPECT_EQ(d.list[0].line, 52);
  EXPECT_EQ(d.rounds, 1);
}

TEST(Diagnosis, WithoutThePlanCurvesAreNotRead) {
  // A curve with no radius class is an error only where curves are read.
  Pair pair = edited({{'L', "curvad4,", "curvad,"}});
  EXPECT_EQ(brief(diagnose_pair(pair, false)), "");
  EXPECT_EQ(brief(diagnose_pair(pair, true)), "L11 E103");
  EXPECT_EQ(diagnose_pair(pair, false).outcome, plain_compile(pair, false));
}

// With no station to stop them, sign texts run down into the stations'
// entries: the 80th takes entry 1 and the 81st entry 0, with no error.
TEST(Diagnosis, SignTextsInTheStationsEntriesAreWarned) {
  Pair pair = edited({{'L', "lunghezza percorso,    12000", "lunghezza percorso,    100000"},
                      {'L', "[fine]", repeated([](int i) {
                                         return "cartello_indicatore, " + std::to_string(20000 + 100 * i) + ", S\r\n";
                                       }, 79) + "[fine]"}});
  pair.train = "[generale]\r\n";
  Checked c = diagnose_pair(pair, false);
  EXPECT_EQ(brief(c), "L109 W-table-full, L110 W-table-full, T1 W-no-start-speed, T1 W-no-start-adhesion")
      << diagnostics_text(c.diagnosis.list);
  EXPECT_EQ(c.outcome, plain_compile(pair, false));
  expect_known(c.diagnosis.list);
}

TEST(Diagnosis, SearchEndsWithinTheBoundOfRounds) {
  // Every station after the 78th is one too many: one error, one round each,
  // up to the bound.
  std::string stations = repeated(
      [](int i) { return "stazione, " + std::to_string(1000 + 1000 * i) + ", 30, 100, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, S\r\n"; },
      78 + kMaxCompileRounds + 5);
  Pair pair{testing::read_bytes(testing::examples_dir() / kLineName), "[generale]\r\n" + stations};
  *pair.line = edited({{'L', "lunghezza percorso,    12000", "lunghezza percorso,    300000"}}).line.value();
  // Sign boards take two of the 78 entries.
  Checked c = diagnose_pair(pair, false);
  EXPECT_EQ(c.diagnosis.rounds, kMaxCompileRounds);
  EXPECT_EQ(count_of(c.diagnosis.list, Severity::kError), kMaxCompileRounds);
  EXPECT_EQ(c.diagnosis.list.back().message,
            "stopped looking for further errors after " + std::to_string(kMaxCompileRounds) + " compiles");
}

}  // namespace
}  // namespace lorvena
