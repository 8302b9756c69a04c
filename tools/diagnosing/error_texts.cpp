#include "tools/diagnosing/error_texts.h"

#include "compiler/error_codes.h"

namespace lorvena {

// The meanings are compared by authors between versions: change none of them.
const std::vector<ErrorText>& error_texts() {
  using enum ErrorStage;
  static const std::vector<ErrorText> texts = {
      {error::kLineLength, kReading, false, "line length below 0 or above 1000000 m",
       "write the line's length in metres, 0 to 1000000, in 'lunghezza percorso'"},
      {error::kReferenceOffStep, kReading, false, "a kilometre reference is not on a 50 m step",
       "make inizio and fine of each 'progressiva chilometrica' record multiples of 50"},
      {error::kCabStartOffStep, kReading, false, "cab-signalling start is not a multiple of 50 m",
       "make the first value of 'ripetizione segnali' a multiple of 50"},
      {error::kCabEndOffStep, kReading, false, "cab-signalling end is not a multiple of 50 m",
       "make the second value of 'ripetizione segnali' a multiple of 50"},
      {error::kCabCodeCount, kReading, false, "cab-signalling keyword names neither 4 nor 9 codes",
       "write 4 or 9 in the keyword, as in 'ripetizione segnali 4 codici'"},
      {error::kSignCellTaken, kReading, true, "sign board on an occupied cell",
       "move the sign board, or the object in its cell, to another cell of 50 m"},
      {error::kMarkerCellTaken, kReading, true, "abbattimento marker on an occupied cell",
       "move the abbattimento object, or the object in its cell, to another cell of 50 m"},
      {error::kStationOffStep, kReading, true, "station position is not a multiple of 50 m",
       "write the station's position as a multiple of 50 m"},
      {error::kPlatformOffStep, kReading, true, "platform length is not a multiple of 100 m",
       "write the platform length as a multiple of 100 m"},
      {error::kTooManyStations, kReading, false, "too many stations and sign boards (at most 78 together)",
       "stations and sign boards share 78 entries of the table: leave out stations or sign boards"},
      {error::kNoCellBeforeSignal, kWalk, true, "no free cell for the marker before a signal behind a slowdown warning board",
       "free one of the two cells just before the signal, or move the signal or the slowdown"},
      {error::kNoCellBeforeSlowdown, kWalk, true, "no free cell for a marker before a slowdown start",
       "free a cell 250 to 350, 550 to 650 and 900 to 1000 m before the slowdown's start, or move the slowdown"},
      {error::kNoCellAlongSlowdown, kWalk, true, "no free cell for a marker along a slowdown or before the signal after it",
       "free cells every 400 m along the slowdown and just before the first signal after its end, or move the slowdown"},
      {error::kBeyondLine, kReading, true, "record beyond the end of the track",
       "place the record within the track, which runs 7000 m beyond the line's length; the rest of its description is read only then"},
      {error::kSignalCellTaken, kReading, true, "signal on an occupied cell",
       "move the signal, or the object in its cell, to another cell of 50 m"},
      {error::kWarningBoardCellTaken, kReading, true, "slowdown warning board (1200 m before the start) on an occupied cell",
       "move the slowdown, or the object 1200 m before its start"},
      {error::kSlowdownStartCellTaken, kReading, true, "slowdown start on an occupied cell",
       "move the slowdown, or the object at its start"},
      {error::kSlowdownEndCellTaken, kReading, true, "slowdown end on an occupied cell",
       "change the slowdown's length, or move the object at its end"},
      {error::kApproachCellTaken, kReading, true, "slowdown approach cell occupied",
       "move the slowdown, or the object 1200 to 1350 m before its start, or set f_ta to 0"},
      {error::kIndicatorCellTaken, kReading, true, "maximum-speed indicator board on an occupied cell",
       "move the maximum-speed board, or the object in its cell, to another cell of 50 m"},
      {error::kStationsTooClose, kReading, true, "stations closer than 350 m (end of one to start of the next)",
       "leave at least 350 m from the end of one station's area to the start of the next, in increasing chainage"},
      {error::kStationEndTooEarly, kReading, false, "station area ends within the first 100 m",
       "place the station further along the line"},
      {error::kUnreadable, kReading, false,
       "unreadable description: a missing file, a field that is not a number, a value out of range or a "
       "read past the end of the file",
       "the diagnostic names the record and the field: write a number where one is expected, within the range of the field (explain KEYWORD), and give every record all its fields"},
      {error::kLineMissing, kReading, false, "line description missing",
       "check the directory and the name: the line description is NAME_linea.txt"},
      {error::kNoGeneralHeader, kReading, false, "no [generale] header in the line description",
       "put [generale] on the first line of the line description"},
      {error::kCurveOrPlan, kReading, false, "curve without a radius class 1 to 6, or a plan longer than 1000000 m",
       "write the radius class 1 to 6 in the curve's keyword, as in curvad4"},
      {error::kStampSlotTaken, kFatal, true, "fatal: an object in the cell at chainage 50 m takes the slot of the integrity stamp",
       "place nothing in the track's first cell: signals, boards and slowdowns at 50 m or later, abbattimento objects at 100 m or later"},
      {error::kCodeSlotTaken, kFatal, true, "fatal: an object in the cell at chainage 50 m takes the slot of the object code",
       "place nothing in the track's first cell: signals, boards and slowdowns at 50 m or later, abbattimento objects at 100 m or later"},
  };
  return texts;
}

ErrorText error_text(int32_t code) {
  for (const ErrorText& t : error_texts())
    if (t.code == code) return t;
  return {code, ErrorStage::kReading, false, "unknown error", ""};
}

}  // namespace lorvena
