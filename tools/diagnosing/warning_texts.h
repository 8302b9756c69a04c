// The warnings of the authors' tool: what the descriptions' format accepts
// but an author almost never means; and its own errors ("E-" codes), what
// the compile accepts but leaves a scenario no train can drive. Each has a
// short stable code, a one-line meaning and what to do about it, in the
// language the tool speaks.
#pragma once

#include <string_view>
#include <vector>

namespace lorvena {

struct WarningText {
  std::string_view code;  // "W-off-step"
  std::string_view meaning;
  std::string_view advice;
};

const std::vector<WarningText>& warning_texts();

// The entry for `code`, or null.
const WarningText* warning_text(std::string_view code);

// An error the tool finds ("E-no-speed"), not one the compile records ("E16").
bool is_tool_error(std::string_view code);

namespace warning {
inline constexpr std::string_view kUnknownKeyword = "W-unknown-keyword";
inline constexpr std::string_view kKeywordCase = "W-keyword-case";
inline constexpr std::string_view kWrongSection = "W-wrong-section";
inline constexpr std::string_view kUnknownSection = "W-unknown-section";
inline constexpr std::string_view kHeaderIsRecord = "W-header-is-record";
inline constexpr std::string_view kNoGeneral = "W-no-general";
inline constexpr std::string_view kExtraField = "W-extra-field";
inline constexpr std::string_view kTextComma = "W-text-comma";
inline constexpr std::string_view kQuote = "W-quote";
inline constexpr std::string_view kMissingComma = "W-missing-comma";
inline constexpr std::string_view kSpansLines = "W-spans-lines";
inline constexpr std::string_view kDividerKeyword = "W-divider-keyword";
inline constexpr std::string_view kEncoding = "W-encoding";
inline constexpr std::string_view kOffStep = "W-off-step";
inline constexpr std::string_view kRange = "W-range";
inline constexpr std::string_view kPastEnd = "W-past-end";
inline constexpr std::string_view kTime = "W-time";
inline constexpr std::string_view kOrder = "W-order";
inline constexpr std::string_view kReservedCell = "W-reserved-cell";
inline constexpr std::string_view kOverwritten = "W-overwritten";
inline constexpr std::string_view kTableFull = "W-table-full";
inline constexpr std::string_view kNoStartSpeed = "W-no-start-speed";
inline constexpr std::string_view kNoStartAdhesion = "W-no-start-adhesion";
inline constexpr std::string_view kCurveSide = "W-curve-side";
inline constexpr std::string_view kTimesBackwards = "W-times-backwards";
inline constexpr std::string_view kClockLate = "W-clock-late";
inline constexpr std::string_view kStationPastEnd = "W-station-past-end";
inline constexpr std::string_view kReferenceDropped = "W-reference-dropped";
inline constexpr std::string_view kReferencePosition = "W-reference-position";
inline constexpr std::string_view kLengthInKm = "W-length-in-km";
inline constexpr std::string_view kApproachOverwritten = "W-approach-overwritten";
inline constexpr std::string_view kCommentComma = "W-comment-comma";
inline constexpr std::string_view kSlowdownSpeed = "W-slowdown-speed";
inline constexpr std::string_view kGradient = "W-gradient";
inline constexpr std::string_view kNameControl = "W-name-control";
inline constexpr std::string_view kTimetable = "W-timetable";
inline constexpr std::string_view kSlowdownBraking = "W-slowdown-braking";
inline constexpr std::string_view kMisspeltKeyword = "E-misspelt-keyword";
inline constexpr std::string_view kNoSpeed = "E-no-speed";
inline constexpr std::string_view kNoAdhesion = "E-no-adhesion";
inline constexpr std::string_view kSlowdownStop = "E-slowdown-stop";
inline constexpr std::string_view kStopNoSpeed = "E-stop-no-speed";
}  // namespace warning

}  // namespace lorvena
