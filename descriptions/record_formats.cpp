#include "descriptions/record_formats.h"

#include "descriptions/field_reader.h"

namespace lorvena {
namespace {

constexpr int64_t kAnyLong = INT32_MAX;
constexpr int64_t kLongest = 1000000;  // the longest line the compile takes

FieldFormat chainage(std::string_view name, std::string_view meaning, int32_t step_error = 0) {
  return {name, "m", Storage::kLong, 0, kLongest, 50, step_error, 0, true, meaning};
}
FieldFormat whole(std::string_view name, std::string_view unit, Storage storage, int64_t low, int64_t high,
                  std::string_view meaning) {
  return {name, unit, storage, low, high, 0, 0, 0, false, meaning};
}
FieldFormat code16(std::string_view name, std::string_view meaning) {
  return whole(name, "", Storage::kShort, INT16_MIN, INT16_MAX, meaning);
}
FieldFormat byte(std::string_view name, int64_t high, std::string_view meaning) {
  return whole(name, "", Storage::kByte, 0, high, meaning);
}
// A small number the reader takes as a 32-bit one.
FieldFormat small(std::string_view name, int64_t high, std::string_view meaning) {
  return whole(name, "", Storage::kLong, 0, high, meaning);
}
FieldFormat speed(std::string_view name, std::string_view meaning) {
  return {name, "km/h", Storage::kLong, 0, 300, 5, 0, 0, false, meaning};
}
FieldFormat text(std::string_view name, std::string_view meaning) {
  return {name, "bytes", Storage::kText, 0, 65535, 0, 0, 0, false, meaning};
}

std::vector<FieldFormat> reference_fields() {
  return {{"inizio", "m", Storage::kLong, -kAnyLong, kAnyLong, 50, 2, 0, false,
           "where the reference counting starts; the largest of the three references comes first"},
          {"fine", "m", Storage::kLong, -kAnyLong, kAnyLong, 50, 2, 0, false,
           "where it ends; 100 m are added when posizione is 1"},
          whole("posizione", "", Storage::kLong, -kAnyLong, kAnyLong, "1 lengthens the reference by 100 m")};
}

std::vector<RecordFormat> make_formats() {
  using S = Section;
  const std::vector<int32_t> only_25{25};
  return {
      // The line's general block.
      {"lunghezza percorso", S::kLineGeneral, {"percorso", "lunghezza"}, false, false, false,
       {{"L", "m", Storage::kLong, 0, kLongest, 0, 0, 1, false, "length of the line"}},
       {1, 25}, "the length of the line; the track reaches 7000 m beyond it", ""},
      {"progressiva chilometrica tre", S::kLineGeneral, {"progressiva", "tre"}, true, false, false,
       reference_fields(), {2, 25}, "the third kilometre reference", ""},
      {"progressiva chilometrica due", S::kLineGeneral, {"progressiva", "due"}, true, false, false,
       reference_fields(), {2, 25}, "the second kilometre reference", ""},
      {"progressiva chilometrica uno", S::kLineGeneral, {"progressiva", "uno"}, true, false, false,
       reference_fields(), {2, 25}, "the first kilometre reference", ""},
      {"sfondo uno", S::kLineGeneral, {"sfondo", "uno"}, true, false, false,
       {whole("scenery", "", Storage::kLong, -kAnyLong, kAnyLong, "scenery selector one")}, only_25,
       "scenery selector one", ""},
      {"sfondo due", S::kLineGeneral, {"sfondo", "due"}, true, false, false,
       {whole("scenery", "", Storage::kLong, -kAnyLong, kAnyLong, "scenery selector two")}, only_25,
       "scenery selector two", ""},
      {"sfondo tre", S::kLineGeneral, {"sfondo", "tre"}, true, false, false,
       {whole("scenery", "", Storage::kLong, -kAnyLong, kAnyLong, "scenery selector three")}, only_25,
       "scenery selector three", ""},
      {"ripetizione segnali 4 codici", S::kLineGeneral, {"segnali", "ripetizione"}, true, false, false,
       {chainage("start", "start of the cab-signalling section", 3),
        chainage("end", "its end; 0: no cab signalling", 4)},
       {3, 4, 5, 25}, "the cab-signalling section",
       "the keyword names the number of codes: \"4\" gives 4 codes, else \"9\" gives 9"},
      // The line's body.
      {"pendenza", S::kLineBody, {"pendenza"}, false, false, false,
       {chainage("chainage", "where the gradient starts"),
        whole("gradient", "per mille", Storage::kLong, -100, 155, "uphill positive, downhill negative")},
       {15, 25}, "a gradient, in force up to the next pendenza; rows in increasing chainage", ""},
      {"curva", S::kLineBody, {"curva"}, false, true, false,
       {chainage("start", "where the curve starts"),
        {"length", "m", Storage::kLong, 0, kLongest, 0, 0, 0, false, "length of the curve"}},
       {15, 103, 25}, "a curve of the plan; rows in increasing chainage",
       "the keyword carries the side, d (right) or s (left), and the radius class 1 to 6: curvad4"},
      {"montagna", S::kLineBody, {"montagna"}, false, false, false,
       {chainage("start", "where the landscape starts"), chainage("end", "where it ends"),
        whole("kind", "", Storage::kLong, 1, 20, "landscape 1 to 10; 11 to 20: landscape 1 to 10 with tunnel markers")},
       {15, 25}, "a mountain or tunnel stretch of landscape", ""},
      {"indicatori_vmax", S::kLineBody, {"indicatori_v"}, false, false, false,
       {chainage("posizione", "where the board stands"), speed("vas", "left track, first speed"),
        speed("vbs", "left track, second speed"), speed("vcs", "left track, third speed"),
        small("strisces", 9, "left track, stripes code"), speed("vad", "right track, first speed"),
        speed("vbd", "right track, second speed"), speed("vcd", "right track, third speed"),
        small("strisced", 9, "right track, stripes code")},
       {15, 21, 25, 1250, 1251}, "a maximum-speed indicator board; empty fields read 0", ""},
      {"cartello_indicatore", S::kLineBody, {"cartello", "indicat"}, false, false, false,
       {chainage("posizione", "where the board stands"),
        text("text", "the board's text, e.g. (Cippo Km.)( 10+000  ); in double quotes if it holds a comma")},
       {6, 15, 25, 1250}, "a trackside sign board", ""},
      // The train description.
      {"percentuale massa frenata", S::kTrain, {"frenata", "massa"}, false, false, false,
       {whole("percent", "%", Storage::kLong, 0, 300, "braked mass percentage")}, only_25,
       "the braked mass percentage", ""},
      {"numero vetture", S::kTrain, {"vetture"}, false, false, false,
       {whole("coaches", "", Storage::kLong, 1, 50, "number of coaches")}, only_25, "the number of coaches", ""},
      {"velocita", S::kTrain, {"velocit"}, false, false, false,
       {chainage("chainage", "where the limit starts"),
        speed("speed", "line speed limit; stored in steps of 5 km/h, at most 1275")},
       {15, 25}, "a line speed limit, in force up to the next velocita; rows in increasing chainage", ""},
      {"aderenza", S::kTrain, {"aderenza"}, false, false, false,
       {chainage("chainage", "where the adhesion starts"),
        whole("percent", "%", Storage::kLong, 0, 100, "adhesion percentage")},
       {15, 25}, "the adhesion, in force up to the next aderenza; rows in increasing chainage", ""},
      {"orologio", S::kTrain, {"orologio"}, false, false, true,
       {whole("hours", "h", Storage::kShort, 0, 23, "start time: hours"),
        whole("minutes", "min", Storage::kShort, 0, 59, "minutes"),
        whole("seconds", "s", Storage::kShort, 0, 59, "seconds")},
       only_25, "the start time of day; the three numbers may stand apart with blanks alone", ""},
      {"sabbia", S::kTrain, {"sabbia"}, false, false, false,
       {whole("sand", "", Storage::kShort, 0, INT16_MAX, "sand supply")}, only_25, "the sand supply", ""},
      {"segnale", S::kTrain, {"segnale"}, false, false, false,
       {chainage("posizione", "where the signal stands"), small("sx", 2, "left side: kind"),
        small("s1", 9, "left side: first aspect code"), small("s2", 9, "left side: second aspect code"),
        small("s3", 9, "left side: third aspect code"), small("rapp", 9, "repetition code"),
        small("dx", 2, "right side: kind"), small("d1", 9, "right side: first aspect code"),
        small("d2", 9, "right side: second aspect code"), small("d3", 9, "right side: third aspect code"),
        whole("tempo", "s", Storage::kLong, 0, 255, "timing, used when sx is 2; 1 to 100 become 101")},
       {11, 15, 16, 25, 1250, 1251}, "a signal", ""},
      {"rallentamento", S::kTrain, {"rallentamento"}, false, false, false,
       {chainage("x", "where the slowdown starts; its warning board stands 1200 m before"),
        speed("v", "slowdown speed; below 110 markers are placed along it"),
        {"l", "m", Storage::kLong, 0, kLongest, 50, 0, 0, false, "length of the slowdown"},
        whole("f_tt", "", Storage::kLong, INT16_MIN, INT16_MAX, "stored on its start and end"),
        whole("f_ta", "", Storage::kLong, 0, 1, "1: place the four approach cells before the warning board"),
        whole("d_v", "", Storage::kLong, INT16_MIN, INT16_MAX, "second value of its cells, when not 0")},
       {12, 13, 15, 17, 18, 19, 20, 25, 1250, 1251}, "a temporary slowdown", ""},
      {"abbattimento", S::kTrain, {"abbattimento"}, false, false, false,
       {chainage("chainage", "where the object stands"),
        whole("value", "", Storage::kLong, INT16_MIN, INT16_MAX, "below 1 and from 1 up are two kinds of object")},
       {7, 15, 25, 1250}, "an object on the track", ""},
      {"stazione", S::kTrain, {"stazione"}, false, false, false,
       {chainage("posizione", "stop position", 8), byte("tipo", 255, "station kind; from 25 up no stop point"),
        {"platform", "m", Storage::kLong, 0, kLongest, 100, 9, 0, false, "platform length"},
        byte("flag1", 255, "station attribute"), byte("flag5", 255, "long platform; cleared below 600 m"),
        byte("flag4", 255, "the station area ends 50 m further"), code16("val1", "station code"),
        code16("val2", "station code"), byte("flag2", 255, "station attribute"), code16("val3", "station code"),
        code16("val4", "station code"), code16("val5", "station code"),
        byte("flag3", 255, "station attribute (0, 1 or 60)"),
        whole("hours", "h", Storage::kLong, 0, 23, "timetable time: hours"),
        whole("minutes", "min", Storage::kLong, 0, 59, "minutes"),
        whole("seconds", "s", Storage::kLong, 0, 59, "seconds"),
        text("name", "the station's name to the end of the field; in double quotes if it holds a comma")},
       {8, 9, 10, 15, 22, 24, 25}, "a station or stop", ""},
  };
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

std::string_view section_name(Section section) {
  switch (section) {
    case Section::kLineGeneral: return "line description, general block";
    case Section::kLineBody: return "line description, body";
    case Section::kTrain: return "train description";
  }
  return "";
}

}  // namespace lorvena
