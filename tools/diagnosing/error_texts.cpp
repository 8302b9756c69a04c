#include "tools/diagnosing/error_texts.h"

#include "compiler/error_codes.h"
#include "tools/text/messages.h"

namespace lorvena {
namespace {

// The English meanings are compared by authors between versions: change none of them.
const std::vector<ErrorText>& english_texts() {
  using enum ErrorStage;
  static const std::vector<ErrorText> texts = {
      {error::kLineLength, kReading, false, N_("line length below 0 or above 1000000 m"),
       N_("write the line's length in metres, 0 to 1000000, in 'lunghezza percorso'")},
      {error::kReferenceOffStep, kReading, false, N_("a kilometre reference is not on a 50 m step"),
       N_("make inizio and fine of each 'progressiva chilometrica' record multiples of 50")},
      {error::kCabStartOffStep, kReading, false, N_("cab-signalling start is not a multiple of 50 m"),
       N_("make the first value of 'ripetizione segnali' a multiple of 50")},
      {error::kCabEndOffStep, kReading, false, N_("cab-signalling end is not a multiple of 50 m"),
       N_("make the second value of 'ripetizione segnali' a multiple of 50")},
      {error::kCabCodeCount, kReading, false, N_("cab-signalling keyword names neither 4 nor 9 codes"),
       N_("write 4 or 9 in the keyword, as in 'ripetizione segnali 4 codici'")},
      {error::kSignCellTaken, kReading, true, N_("sign board on an occupied cell"),
       N_("move the sign board, or the object in its cell, to another cell of 50 m")},
      {error::kMarkerCellTaken, kReading, true, N_("abbattimento marker on an occupied cell"),
       N_("move the abbattimento object, or the object in its cell, to another cell of 50 m")},
      {error::kStationOffStep, kReading, true, N_("station position is not a multiple of 50 m"),
       N_("write the station's position as a multiple of 50 m")},
      {error::kPlatformOffStep, kReading, true, N_("platform length is not a multiple of 100 m"),
       N_("write the platform length as a multiple of 100 m")},
      {error::kTooManyStations, kReading, false, N_("too many stations and sign boards (at most 78 together)"),
       N_("stations and sign boards share 78 entries of the table: leave out stations or sign boards")},
      {error::kNoCellBeforeSignal, kWalk, true, N_("no free cell for the marker before a signal behind a slowdown warning board"),
       N_("free one of the two cells just before the signal, or move the signal or the slowdown")},
      {error::kNoCellBeforeSlowdown, kWalk, true, N_("no free cell for a marker before a slowdown start"),
       N_("free a cell 250 to 350, 550 to 650 and 900 to 1000 m before the slowdown's start, or move the slowdown")},
      {error::kNoCellAlongSlowdown, kWalk, true, N_("no free cell for a marker along a slowdown or before the signal after it"),
       N_("free cells every 400 m along the slowdown and just before the first signal after its end, or move the slowdown")},
      {error::kBeyondLine, kReading, true, N_("record beyond the end of the track"),
       N_("place the record within the track, which runs 7000 m beyond the line's length; the rest of its description is read only then")},
      {error::kSignalCellTaken, kReading, true, N_("signal on an occupied cell"),
       N_("move the signal, or the object in its cell, to another cell of 50 m")},
      {error::kWarningBoardCellTaken, kReading, true, N_("slowdown warning board (1200 m before the start) on an occupied cell"),
       N_("move the slowdown, or the object 1200 m before its start")},
      {error::kSlowdownStartCellTaken, kReading, true, N_("slowdown start on an occupied cell"),
       N_("move the slowdown, or the object at its start")},
      {error::kSlowdownEndCellTaken, kReading, true, N_("slowdown end on an occupied cell"),
       N_("change the slowdown's length, or move the object at its end")},
      {error::kApproachCellTaken, kReading, true, N_("slowdown approach cell occupied"),
       N_("move the slowdown, or the object 1200 to 1350 m before its start, or set f_ta to 0")},
      {error::kIndicatorCellTaken, kReading, true, N_("maximum-speed indicator board on an occupied cell"),
       N_("move the maximum-speed board, or the object in its cell, to another cell of 50 m")},
      {error::kStationsTooClose, kReading, true, N_("stations closer than 350 m (end of one to start of the next)"),
       N_("leave at least 350 m from the end of one station's area to the start of the next, in increasing chainage")},
      {error::kStationEndTooEarly, kReading, false, N_("station area ends within the first 100 m"),
       N_("place the station further along the line")},
      {error::kUnreadable, kReading, false,
       N_("unreadable description: a missing file, a field that is not a number, a value out of range or a "
       "read past the end of the file"),
       N_("the diagnostic names the record and the field: write a number where one is expected, within the range of the field (explain KEYWORD), and give every record all its fields")},
      {error::kLineMissing, kReading, false, N_("line description missing"),
       N_("check the directory and the name: the line description is NAME_linea.txt")},
      {error::kNoGeneralHeader, kReading, false, N_("no [generale] header in the line description"),
       N_("put [generale] on the first line of the line description")},
      {error::kCurveOrPlan, kReading, false, N_("curve without a radius class 1 to 6, or a plan longer than 1000000 m"),
       N_("write the radius class 1 to 6 in the curve's keyword, as in curvad4")},
      {error::kStampSlotTaken, kFatal, true, N_("fatal: an object in the cell at chainage 50 m takes the slot of the integrity stamp"),
       N_("place nothing in the track's first cell: signals, boards and slowdowns at 50 m or later, abbattimento objects at 100 m or later")},
      {error::kCodeSlotTaken, kFatal, true, N_("fatal: an object in the cell at chainage 50 m takes the slot of the object code"),
       N_("place nothing in the track's first cell: signals, boards and slowdowns at 50 m or later, abbattimento objects at 100 m or later")},
  };
  return texts;
}

}  // namespace

const std::vector<ErrorText>& error_texts() {
  static const std::vector<ErrorText> italian = [] {
    std::vector<ErrorText> texts = english_texts();
    for (ErrorText& t : texts)
      t.meaning = translated(t.meaning, Language::kItalian), t.advice = translated(t.advice, Language::kItalian);
    return texts;
  }();
  return language() == Language::kItalian ? italian : english_texts();
}

ErrorText error_text(int32_t code) {
  for (const ErrorText& t : error_texts())
    if (t.code == code) return t;
  return {code, ErrorStage::kReading, false, tr(N_("unknown error")), ""};
}

}  // namespace lorvena
