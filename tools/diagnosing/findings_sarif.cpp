#include "tools/diagnosing/findings_sarif.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <map>

#include <nlohmann/json.hpp>

#include "tools/diagnosing/error_texts.h"
#include "tools/diagnosing/warning_texts.h"
#include "tools/text/language.h"

namespace lorvena {
namespace {

using Json = nlohmann::ordered_json;

constexpr std::string_view kSchema =
    "https://docs.oasis-open.org/sarif/sarif/v2.1.0/errata01/os/schemas/sarif-schema-2.1.0.json";

std::string_view level(Severity s) { return severity_name(s); }

bool unreserved(unsigned char c) {
  return std::isalnum(c) != 0 || c == '-' || c == '.' || c == '_' || c == '~' || c == '/';
}

// The rule of a code: what it means and what to do, from the tool's own texts.
Json rule(const std::string& code) {
  Json r;
  r["id"] = code;
  std::string meaning, advice;
  std::string_view level_name = "warning";
  if (const WarningText* w = warning_text(code)) {
    meaning = w->meaning;
    advice = w->advice;
    if (is_tool_error(code)) level_name = "error";
  } else if (code.size() > 1 && code[0] == 'E') {
    ErrorText e = error_text(std::stoi(code.substr(1)));
    meaning = e.meaning;
    advice = e.advice;
    level_name = "error";
  }
  if (!meaning.empty()) r["shortDescription"]["text"] = meaning;
  if (!advice.empty()) r["fullDescription"]["text"] = advice;
  r["defaultConfiguration"]["level"] = level_name;
  r["help"]["text"] = "scenario_tool explain " + code;
  return r;
}

Json location(const Diagnostic& d) {
  Json physical;
  physical["artifactLocation"]["uri"] = path_uri(d.file);
  if (d.line > 0) {
    physical["region"]["startLine"] = d.line;
    physical["region"]["startColumn"] = std::max<int64_t>(d.column, 1);
  }
  Json where;
  where["physicalLocation"] = std::move(physical);
  return where;
}

}  // namespace

std::string path_uri(std::string_view path) {
  std::string slashed(path);
  for (char& c : slashed)
    if (c == '\\') c = '/';
  bool drive = slashed.size() >= 3 && std::isalpha(static_cast<unsigned char>(slashed[0])) != 0 && slashed[1] == ':' &&
               slashed[2] == '/';
  std::string out = drive ? "file:///" + slashed.substr(0, 2) : slashed.starts_with('/') ? "file://" : "";
  for (size_t i = drive ? 2 : 0; i < slashed.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(slashed[i]);
    if (unreserved(c)) {
      out += static_cast<char>(c);
      continue;
    }
    char buf[4];
    std::snprintf(buf, sizeof buf, "%%%02X", c);
    out += buf;
  }
  return out;
}

Json findings_sarif(const std::vector<Diagnostic>& list, std::string_view tool_version) {
  std::map<std::string, size_t> rule_index;
  Json rules = Json::array(), results = Json::array();
  for (const Diagnostic& d : list) {
    Json result;
    if (!d.code.empty()) {
      auto [it, added] = rule_index.emplace(d.code, rules.size());
      if (added) rules.push_back(rule(d.code));
      result["ruleId"] = d.code;
      result["ruleIndex"] = it->second;
    }
    result["level"] = level(d.severity);
    result["message"]["text"] = d.message;
    if (!d.file.empty()) result["locations"] = Json::array({location(d)});
    results.push_back(std::move(result));
  }
  Json driver;
  driver["name"] = "scenario_tool";
  driver["version"] = tool_version;
  driver["rules"] = std::move(rules);
  Json run;
  run["tool"]["driver"] = std::move(driver);
  // Columns count bytes of Windows-1252, one character each: the same as UTF-16 code units.
  run["columnKind"] = "utf16CodeUnits";
  if (language() == Language::kItalian) run["language"] = "it-IT";  // the texts' language; en-US when absent
  run["results"] = std::move(results);
  Json log;
  log["$schema"] = kSchema;
  log["version"] = "2.1.0";
  log["runs"] = Json::array({std::move(run)});
  return log;
}

}  // namespace lorvena
