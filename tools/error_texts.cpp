#include "tools/error_texts.h"

#include "compiler/error_codes.h"

namespace lorvena {

// These texts are compared by authors between versions: change none of them.
const std::vector<ErrorText>& error_texts() {
  using enum ErrorStage;
  static const std::vector<ErrorText> texts = {
      {error::kLineLength, kReading, false, "line length below 0 or above 1000000 m"},
      {error::kReferenceOffStep, kReading, false, "a kilometre reference is not on a 50 m step"},
      {error::kCabStartOffStep, kReading, false, "cab-signalling start is not a multiple of 50 m"},
      {error::kCabEndOffStep, kReading, false, "cab-signalling end is not a multiple of 50 m"},
      {error::kCabCodeCount, kReading, false, "cab-signalling keyword names neither 4 nor 9 codes"},
      {error::kSignCellTaken, kReading, true, "sign board on an occupied cell"},
      {error::kMarkerCellTaken, kReading, true, "abbattimento marker on an occupied cell"},
      {error::kStationOffStep, kReading, true, "station position is not a multiple of 50 m"},
      {error::kPlatformOffStep, kReading, true, "platform length is not a multiple of 100 m"},
      {error::kTooManyStations, kReading, false, "too many stations and sign boards (at most 78 together)"},
      {error::kNoCellBeforeSignal, kWalk, true, "no free cell for the marker before a signal behind a slowdown warning board"},
      {error::kNoCellBeforeSlowdown, kWalk, true, "no free cell for a marker before a slowdown start"},
      {error::kNoCellAlongSlowdown, kWalk, true, "no free cell for a marker along a slowdown or before the signal after it"},
      {error::kBeyondLine, kReading, true, "record beyond the end of the track"},
      {error::kSignalCellTaken, kReading, true, "signal on an occupied cell"},
      {error::kWarningBoardCellTaken, kReading, true, "slowdown warning board (1200 m before the start) on an occupied cell"},
      {error::kSlowdownStartCellTaken, kReading, true, "slowdown start on an occupied cell"},
      {error::kSlowdownEndCellTaken, kReading, true, "slowdown end on an occupied cell"},
      {error::kApproachCellTaken, kReading, true, "slowdown approach cell occupied"},
      {error::kIndicatorCellTaken, kReading, true, "maximum-speed indicator board on an occupied cell"},
      {error::kStationsTooClose, kReading, true, "stations closer than 350 m (end of one to start of the next)"},
      {error::kStationEndTooEarly, kReading, false, "station area ends within the first 100 m"},
      {error::kUnreadable, kReading, false,
       "unreadable description: a missing file, a field that is not a number, a value out of range or a "
       "read past the end of the file"},
      {error::kLineMissing, kReading, false, "line description missing"},
      {error::kNoGeneralHeader, kReading, false, "no [generale] header in the line description"},
      {error::kCurveOrPlan, kReading, false, "curve without a radius class 1 to 6, or a plan longer than 1000000 m"},
      {error::kStampSlotTaken, kFatal, true, "fatal: an object in the cell at chainage 50 m takes the slot of the integrity stamp"},
      {error::kCodeSlotTaken, kFatal, true, "fatal: an object in the cell at chainage 50 m takes the slot of the object code"},
  };
  return texts;
}

ErrorText error_text(int32_t code) {
  for (const ErrorText& t : error_texts())
    if (t.code == code) return t;
  return {code, ErrorStage::kReading, false, "unknown error"};
}

}  // namespace lorvena
