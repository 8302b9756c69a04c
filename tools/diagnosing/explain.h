// What the authors' tool says about an error number, a warning code or a
// record: `scenario_tool explain 16`, `explain E16`, `explain W-off-step`,
// `explain segnale`. The record reference is made from the record table, in
// the Markdown that docs/descriptions.md holds between its records markers.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace lorvena {

// Every record of the table, each as a "### heading" section with its fields
// and its errors.
std::string records_markdown();

// The explanation of `topic`, or nothing when the topic is unknown.
std::optional<std::string> explain(std::string_view topic);

// What can be explained: every error number, warning code and record.
std::string explain_topics();

}  // namespace lorvena
