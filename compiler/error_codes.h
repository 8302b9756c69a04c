// The compiler's error numbers, each with one name. The numbers are what the
// compiled scenario's users, the fuzz seeds and the authors' tool know: they
// never change. Their meanings for authors are in tools/diagnosing/error_texts.cpp.
#pragma once

#include <cstdint>

namespace lorvena::error {

enum Code : int32_t {
  kNone = 0,
  // Found while reading the descriptions.
  kLineLength = 1,            // line length below 0 or above 1000000 m
  kReferenceOffStep = 2,      // a kilometre reference off the 50 m step
  kCabStartOffStep = 3,       // cab-signalling start off the 50 m step
  kCabEndOffStep = 4,         // cab-signalling end off the 50 m step
  kCabCodeCount = 5,          // cab-signalling keyword with neither 4 nor 9
  kSignCellTaken = 6,         // sign board on an occupied cell
  kMarkerCellTaken = 7,       // "abbattimento" object on an occupied cell
  kStationOffStep = 8,        // station position off the 50 m step
  kPlatformOffStep = 9,       // platform length off the 100 m step
  kTooManyStations = 10,      // stations reach the sign texts' entries
  kBeyondLine = 15,           // a record beyond the end of the track
  kSignalCellTaken = 16,      // signal on an occupied cell
  kWarningBoardCellTaken = 17,
  kSlowdownStartCellTaken = 18,
  kSlowdownEndCellTaken = 19,
  kApproachCellTaken = 20,
  kIndicatorCellTaken = 21,   // maximum-speed indicator on an occupied cell
  kStationsTooClose = 22,     // less than 350 m from one station to the next
  kStationEndTooEarly = 24,   // a station area ending within the first cells
  kUnreadable = 25,           // a description that cannot be read (see readers)
  kLineMissing = 101,
  kNoGeneralHeader = 102,
  kCurveOrPlan = 103,         // a curve without a radius class, or the plan too long
  // Found by the placement walk.
  kNoCellBeforeSignal = 11,
  kNoCellBeforeSlowdown = 12,
  kNoCellAlongSlowdown = 13,
  // Fatal: a reserved slot of the integrity stamps is taken.
  kStampSlotTaken = 1250,
  kCodeSlotTaken = 1251,
};

}  // namespace lorvena::error
