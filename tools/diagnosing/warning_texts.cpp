#include "tools/diagnosing/warning_texts.h"

#include "tools/text/messages.h"

namespace lorvena {

namespace {

// The codes are what authors filter on: change none of them.
const std::vector<WarningText>& english_texts() {
  using namespace warning;
  static const std::vector<WarningText> texts = {
      {kUnknownKeyword, N_("a field that is no keyword of its place: it is skipped, and the values after it too"),
       N_("correct the keyword (see `explain` for the records), or start a comment with '-'")},
      {kKeywordCase, N_("a keyword of the line's general block in the wrong case: these keywords are tested as written"),
       N_("write the keyword in lower case, as in 'progressiva chilometrica uno'")},
      {kWrongSection, N_("a record where it is not read: above [generale] (warned once, at the first such record), a "
                      "line record in the train description, a body record in the line's general block, or the "
                      "other way round"),
       N_("move the record to its description and place, below [generale] (see `explain KEYWORD`)")},
      {kUnknownSection, N_("a header that is no known header; headers only divide, but a misspelt [generale] hides "
                        "everything after it"),
       N_("correct the header's name")},
      {kHeaderIsRecord, N_("a header whose name holds a keyword, so it is read as that record, its values taken from "
                        "what follows"),
       N_("correct the header's name, e.g. [segnali] instead of [segnale]")},
      {kNoGeneral, N_("the train description has no [generale] header: nothing in it is read"),
       N_("put [generale] on the first line, before the first record")},
      {kExtraField, N_("a field after a complete record on its line: it is skipped as an unknown keyword"),
       N_("remove the field, or check the record's fields with `explain KEYWORD`")},
      {kTextComma, N_("a name or sign text cut at a comma: only what stands before the comma is kept"),
       N_("put the whole text in double quotes")},
      {kQuote, N_("a text in double quotes with characters after its closing quote (skipped), or with no closing "
               "quote on its line (it runs on to the next quote in the file)"),
       N_("close the quote at the end of the text")},
      {kMissingComma, N_("two numbers with only blanks between them: they are read as two fields"),
       N_("separate the fields with a comma")},
      {kSpansLines, N_("a record whose values continue on a later line: usually a record one field short, which "
                    "takes its last value from the line after it"),
       N_("give the record all its fields on its own line")},
      {kDividerKeyword, N_("a keyword field holding '-': it is skipped as a comment, and the record with it"),
       N_("remove the '-' from the keyword")},
      {kEncoding, N_("a description saved as UTF-8 (a byte order mark, or a text that is UTF-8): descriptions are "
                  "read as Windows-1252, so such names are compiled as other characters"),
       N_("convert the file to Windows-1252: iconv -f UTF-8 -t WINDOWS-1252 FILE > NEW (after a byte order mark, "
       "tail -c +4 FILE | iconv -f UTF-8 -t WINDOWS-1252 > NEW), or save it as Windows-1252 in the editor")},
      {kOffStep, N_("a chainage or length off its step: the compile rounds it to the nearest cell of 50 m"),
       N_("write a multiple of the step")},
      {kRange, N_("a value outside the range the record means: the compile takes it, but it cannot mean what it "
               "says (a negative length, a speed that is no multiple of 5 ...)"),
       N_("see the record's ranges with `explain KEYWORD`")},
      {kPastEnd, N_("a record past the end of the line, inside the 7000 m the track runs on beyond it"),
       N_("check the chainage against the line's length")},
      {kTime, N_("a time with hours past 23, or minutes or seconds past 59: the surplus runs into the next hour "
              "or day"),
       N_("write the time as hours 0-23, minutes and seconds 0-59")},
      {kOrder, N_("gradients, speed limits and adhesions must come in increasing chainage, curves one after the "
               "other: a row out of order fills nothing (or bends the plan elsewhere)"),
       N_("sort the rows by chainage")},
      {kReservedCell, N_("an object in the first cell of the track, whose values the scenario's stamps overwrite"),
       N_("place it further along the line")},
      {kOverwritten, N_("a station's stop point falls on a cell that holds another object, which it replaces"),
       N_("move the object or the station")},
      {kTableFull, N_("a sign text stored in table entry 1 or 0: the first station's entry, or the one the table "
                   "keeps empty; the compile stops only at a station (error 10)"),
       N_("keep the sign boards to 79 at most, fewer with stations")},
      {kNoStartSpeed, N_("no velocita record at 0: the cells before the first one (every cell, without one) have "
                      "speed limit 0 km/h, and the train cannot move there"),
       N_("add 'velocita, 0, SPEED' as the first velocita record")},
      {kNoStartAdhesion, N_("no aderenza record at 0: the cells before the first one (every cell, without one) have "
                         "adhesion 0"),
       N_("add 'aderenza, 0, VALUE' as the first aderenza record")},
      {kCurveSide, N_("a curva keyword with no side letter (curva4): it is read as a right-hand curve"),
       N_("write curvad4 for a right-hand curve or curvas4 for a left-hand one")},
      {kTimesBackwards, N_("a station whose time is before the time of the station written before it"),
       N_("check the stations' hours, minutes and seconds, and their order")},
      {kClockLate, N_("the clock (orologio) starts after the first station's time"),
       N_("set orologio to the first station's time or earlier")},
      {kStationPastEnd, N_("a station whose area (or stop cell) runs past the end of the line"),
       N_("move the station back or shorten its platform")},
      {kReferenceDropped, N_("kilometre references whose values the ordering sets to 0: no inizio is strictly the "
                          "largest, or every inizio is 0 and no fine is above 0"),
       N_("give the references different inizio values, or a fine above 0")},
      {kReferencePosition, N_("a kilometre reference whose posizione is neither 0 nor 1: 1 adds 100 to its fine, and "
                           "the effect of other values is not defined"),
       N_("write 0 or 1")},
      {kLengthInKm, N_("a line length under 1000 m with records far beyond it: the length is written in km, but it "
                    "is read in metres, and every record past it ends the reading"),
       N_("write the length in metres (20 km: 20000)")},
      {kApproachOverwritten, N_("a signal and a station whose approach marks fall on the same cell: the one written "
                             "later overwrites the other's mark"),
       N_("move the signal or the station so that their approach cells are apart")},
      {kCommentComma, N_("a comment line holding a comma: the comma ends the comment's field, and what follows it is "
                      "read as a keyword (skipped, or read as a record when it holds one)"),
       N_("write the comment without commas, or start each part after a comma with '-'")},
      {kSlowdownSpeed, N_("a slowdown whose speed is above the line's speed limit along it: it slows nothing there"),
       N_("give the slowdown a speed below the line's speed limit")},
      {kGradient, N_("a gradient steeper than the train can start on (a climb) or be held on by its brakes (a "
                  "descent), by the running-time model: a climb up to the traction or the driven axles' grip "
                  "(traction 0.6 m/s², adhesion coefficient 0.30 at 100 % adhesion, ×1.2 with sand, half "
                  "the weight driven: 61 ‰ at 100 %), a descent up to the brakes or the grip of every axle "
                  "(0.007 m/s² a percent of braked mass: 75 ‰ at 105 %)"),
       N_("make the gradient gentler, or check its sign: a positive gradient climbs as the chainage rises")},
      {kNameControl, N_("a station name or sign text holding a tab or another control character"),
       N_("write blanks instead")},
      {kTimetable, N_("a station time that the train's fastest run cannot keep: it arrives later, or never gets there"),
       N_("give the station a later time, or raise the speed limits before it; `scenario_tool timetable` shows the "
       "run")},
      {kSlowdownBraking, N_("a slowdown the train cannot brake for between its warning board and its start (1200 m) "
                         "from the line's speed at the board"),
       N_("lower the line's speed before the warning board, or move the slowdown")},
      {kMisspeltKeyword, N_("a keyword one letter off a keyword of its place: the record is skipped with all its "
                         "values, so the scenario lacks what the author wrote"),
       N_("correct the keyword as the message proposes")},
      {kNoSpeed, N_("a stretch of the line where the speed limit is 0 km/h: the train cannot pass it"),
       N_("give the stretch a speed limit above 0 (a velocita row at its start)")},
      {kNoAdhesion, N_("a stretch of the line where the adhesion is 0: the train can neither pull nor brake there"),
       N_("give the stretch an adhesion above 0 (an aderenza row at its start)")},
      {kSlowdownStop, N_("a slowdown whose speed is 0 km/h or less: the train can never pass it"),
       N_("give the slowdown a speed above 0")},
      {kStopNoSpeed, N_("a station whose stop lies where the speed limit is 0 km/h: the train cannot get there"),
       N_("give the stretch a speed limit above 0, or move the station")},
  };
  return texts;
}

}  // namespace

const std::vector<WarningText>& warning_texts() {
  static const std::vector<WarningText> italian = [] {
    std::vector<WarningText> texts = english_texts();
    for (WarningText& t : texts)
      t.meaning = translated(t.meaning, Language::kItalian), t.advice = translated(t.advice, Language::kItalian);
    return texts;
  }();
  return language() == Language::kItalian ? italian : english_texts();
}

bool is_tool_error(std::string_view code) { return code.starts_with("E-"); }

const WarningText* warning_text(std::string_view code) {
  for (const WarningText& t : warning_texts())
    if (t.code == code) return &t;
  return nullptr;
}

}  // namespace lorvena
