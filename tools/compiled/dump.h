// Decoded compiled files as text an author can diff: one cell, entry or plan
// point a line, as key=value text, CSV with a header line, or JSON (the members are those
// of docs/compiled-files.md).
#pragma once

#include <array>
#include <string>
#include <vector>

#include "compiler/model.h"
#include "tools/compiled/compiled_decode.h"

namespace lorvena {

enum class DumpFormat { kText, kCsv, kJson };

std::string dump_track(const std::vector<TrackCell>& cells, DumpFormat format);
std::string dump_table(const std::array<TableEntry, kTableSize>& table, DumpFormat format);
std::string dump_plan(const PlanColumns& plan, DumpFormat format);

// A compiled file's bytes, decoded by the kind its name gives.
std::string dump_compiled(const std::string& file_name, const std::string& bytes, DumpFormat format);

// The shortest decimal that reads back as `value` ("0", "2", "0.003",
// "1e-07"); "nan", "inf" or "-inf" for what is no number.
std::string shortest_number(double value);

// Seconds of the day as hh:mm:ss (a minus sign before a negative time).
std::string clock_time(int32_t seconds);

}  // namespace lorvena
