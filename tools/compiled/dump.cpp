#include "tools/compiled/dump.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

#include <nlohmann/json.hpp>

#include "compiler/compiled_format.h"
#include "tools/compiled/cell_kinds.h"
#include "tools/compiled/table_entries.h"
#include "tools/text/json_text.h"
#include "tools/text/text_encoding.h"

namespace lorvena {
namespace {

struct Field {
  enum Type { kNumber, kText, kEmpty };
  std::string key;
  std::string value;  // as text and CSV show it
  Type type = kNumber;
  double number = 0;  // a number's value, for JSON
};
using Record = std::vector<Field>;

Field number(std::string key, int64_t value) {
  return {std::move(key), std::to_string(value), Field::kNumber, static_cast<double>(value)};
}
Field text(std::string key, std::string value) { return {std::move(key), std::move(value), Field::kText}; }

// A whole number as a JSON integer ("2", not "2.0"), any other as a double.
nlohmann::ordered_json json_number(double value) {
  constexpr double kInt64Limit = 9223372036854775808.0;  // 2^63
  if (value == std::trunc(value) && std::abs(value) < kInt64Limit) return static_cast<int64_t>(value);
  return value;
}

std::string csv_quoted(const std::string& value) {
  std::string out = "\"";
  for (char c : value) out += c == '"' ? std::string("\"\"") : std::string(1, c);
  return out + "\"";
}

std::string text_line(const Record& r) {
  std::string out;
  for (const Field& f : r) {
    if (!out.empty()) out += ' ';
    out += f.key + "=";
    if (f.type == Field::kText) out += csv_quoted(f.value);
    else if (f.type == Field::kEmpty) out += "empty";
    else out += f.value;
  }
  return out + "\n";
}

std::string csv_line(const Record& r) {
  std::string out;
  for (size_t i = 0; i < r.size(); ++i) {
    if (i) out += ',';
    out += r[i].type == Field::kText ? csv_quoted(r[i].value) : r[i].value;
  }
  return out + "\n";
}

std::string json_line(const Record& r) {
  nlohmann::ordered_json out = nlohmann::ordered_json::object();
  for (const Field& f : r) {
    if (f.type == Field::kText) out[f.key] = f.value;
    else if (f.type == Field::kEmpty) out[f.key] = nullptr;
    else out[f.key] = json_number(f.number);
  }
  return json_text(out);
}

std::string render(const std::string& what, const std::vector<Record>& records, DumpFormat format) {
  std::string out;
  if (format == DumpFormat::kJson) {
    // One record a line, so that line tools can pick records out.
    out = "{\"file\":" + json_text(what) + ",\"records\":[\n";
    for (size_t i = 0; i < records.size(); ++i) out += json_line(records[i]) + (i + 1 < records.size() ? ",\n" : "\n");
    return out + "]}\n";
  }
  if (format == DumpFormat::kCsv && !records.empty()) {
    for (size_t i = 0; i < records[0].size(); ++i) out += (i ? "," : "") + records[0][i].key;
    out += "\n";
  }
  for (const Record& r : records) out += format == DumpFormat::kCsv ? csv_line(r) : text_line(r);
  return out;
}

// Every plan value in one form, whatever its element: the shortest decimal
// that reads back as the same double. A value that is no number (only a
// damaged file holds one) is text, so that the JSON stays JSON.
Field plan_field(std::string key, const PlanValue& v) {
  if (v.tag == kTagEmpty) return {std::move(key), "", Field::kEmpty};
  std::string shown = shortest_number(v.value);
  return {std::move(key), shown, std::isfinite(v.value) ? Field::kNumber : Field::kText, v.value};
}

}  // namespace

// In fixed notation (never "1e-04"): the fewest digits that read back as the
// same double. A finite double needs at most 309 digits before the point and
// 1074 after it.
std::string shortest_number(double value) {
  char buf[1500];
  if (!std::isfinite(value)) return std::string(buf, std::to_chars(buf, buf + sizeof buf, value).ptr);
  return std::string(buf, std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed).ptr);
}

std::string clock_time(int32_t seconds) {
  int64_t s = seconds;
  std::string sign = s < 0 ? "-" : "";
  if (s < 0) s = -s;
  char buf[32];
  std::snprintf(buf, sizeof buf, "%02lld:%02lld:%02lld", static_cast<long long>(s / 3600),
                static_cast<long long>(s / 60 % 60), static_cast<long long>(s % 60));
  return sign + buf;
}

std::string dump_track(const std::vector<TrackCell>& cells, DumpFormat format) {
  std::vector<Record> records;
  for (size_t i = 0; i < cells.size(); ++i) {
    const TrackCell& c = cells[i];
    records.push_back({number("cell", static_cast<int64_t>(i)), number("chainage", static_cast<int64_t>(i) * 50),
                       number("kind", c.kind), text("kind_name", kind_name(c.kind)), number("param1", c.param1),
                       number("param2", c.param2), number("param3", c.param3), number("param4", c.param4),
                       number("timing", c.timing), number("approach", c.approach),
                       number("landscape", c.landscape), number("speed_kmh", c.speed_limit * 5),
                       number("gradient_permille", c.gradient - 100), number("adhesion", c.adhesion)});
  }
  return render("track", records, format);
}

std::string dump_table(const std::array<TableEntry, kTableSize>& table, DumpFormat format) {
  std::vector<Record> records;
  for (size_t i = 0; i < table.size(); ++i) {
    const TableEntry& e = table[i];
    std::string role = entry_role(i, e);
    records.push_back({number("entry", static_cast<int64_t>(i)), text("role", role), number("tipo", e.tipo),
                       number("inizio", e.inizio), number("fine", e.fine), number("posizione", e.posizione),
                       number("flag1", e.flag1), text("nome", utf8_from_1252(e.nome)), number("val1", e.val1),
                       number("val2", e.val2), number("val3", e.val3), number("val4", e.val4),
                       number("val5", e.val5), number("flag2", e.flag2), number("flag3", e.flag3),
                       number("flag4", e.flag4), number("flag5", e.flag5), number("ora", e.ora),
                       text("time", role == "station" ? clock_time(e.ora) : "")});
  }
  return render("table", records, format);
}

std::string dump_plan(const PlanColumns& plan, DumpFormat format) {
  std::vector<Record> records;
  for (size_t i = 0; i < plan.x.size() && i < plan.y.size(); ++i)
    records.push_back({number("metre", static_cast<int64_t>(i)), plan_field("x", plan.x[i]), plan_field("y", plan.y[i])});
  return render("plan", records, format);
}

std::string dump_compiled(const std::string& file_name, const std::string& bytes, DumpFormat format) {
  switch (compiled_kind(file_name)) {
    case CompiledKind::kTrack: return dump_track(decode_track(bytes), format);
    case CompiledKind::kTable: return dump_table(decode_table(bytes), format);
    case CompiledKind::kPlan: return dump_plan(decode_plan(bytes), format);
  }
  return {};
}

}  // namespace lorvena
