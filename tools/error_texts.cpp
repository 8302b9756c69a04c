#include "tools/error_texts.h"

namespace lorvena {

// These texts are compared by authors between versions: change none of them.
const std::vector<ErrorText>& error_texts() {
  using enum ErrorStage;
  static const std::vector<ErrorText> texts = {
      {1, kReading, false, "line length below 0 or above 1000000 m"},
      {2, kReading, false, "a kilometre reference is not on a 50 m step"},
      {3, kReading, false, "cab-signalling start is not a multiple of 50 m"},
      {4, kReading, false, "cab-signalling end is not a multiple of 50 m"},
      {5, kReading, false, "cab-signalling keyword names neither 4 nor 9 codes"},
      {6, kReading, true, "sign board on an occupied cell"},
      {7, kReading, true, "abbattimento marker on an occupied cell"},
      {8, kReading, true, "station position is not a multiple of 50 m"},
      {9, kReading, true, "platform length is not a multiple of 100 m"},
      {10, kReading, false, "too many stations and sign boards (at most 78 together)"},
      {11, kWalk, true, "no free cell for the marker before a signal behind a slowdown warning board"},
      {12, kWalk, true, "no free cell for a marker before a slowdown start"},
      {13, kWalk, true, "no free cell for a marker along a slowdown or before the signal after it"},
      {15, kReading, true, "record beyond the end of the track"},
      {16, kReading, true, "signal on an occupied cell"},
      {17, kReading, true, "slowdown warning board (1200 m before the start) on an occupied cell"},
      {18, kReading, true, "slowdown start on an occupied cell"},
      {19, kReading, true, "slowdown end on an occupied cell"},
      {20, kReading, true, "slowdown approach cell occupied"},
      {21, kReading, true, "maximum-speed indicator board on an occupied cell"},
      {22, kReading, true, "stations closer than 350 m (end of one to start of the next)"},
      {24, kReading, false, "station area ends within the first 100 m"},
      {25, kReading, false,
       "unreadable description: a missing file, a field that is not a number, a value out of range or a "
       "read past the end of the file"},
      {101, kReading, false, "line description missing"},
      {102, kReading, false, "no [generale] header in the line description"},
      {103, kReading, false, "curve without a radius class 1 to 6, or a plan longer than 1000000 m"},
      {1250, kFatal, true, "fatal: an object in the cell at chainage 50 m takes the slot of the integrity stamp"},
      {1251, kFatal, true, "fatal: an object in the cell at chainage 50 m takes the slot of the object code"},
  };
  return texts;
}

ErrorText error_text(int32_t code) {
  for (const ErrorText& t : error_texts())
    if (t.code == code) return t;
  return {code, ErrorStage::kReading, false, "unknown error"};
}

}  // namespace lorvena
