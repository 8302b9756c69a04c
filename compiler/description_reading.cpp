#include "compiler/description_reading.h"

#include <optional>

#include "descriptions/translatable.h"
#include "disk/file_names.h"
#include "disk/file_system.h"

namespace lorvena {
namespace {

// The description's text; nothing when it cannot be read and the compile is
// to record that. In the installer's run the failure ends the run instead.
std::optional<std::string> description_text(Disk& disk, const std::filesystem::path& path, CompileMode mode) {
  if (mode == CompileMode::kInstallerRun) return read_file(disk, path);
  try {
    return read_file(disk, path);
  } catch (const FileSystemError&) {
    return std::nullopt;
  }
}

}  // namespace

bool next_keyword(FieldReader& in, std::string& field, int dividers) {
  if (in.at_end()) return false;
  field = in.read_text();
  for (int skipped = 0; skipped < dividers && contains(field, "-"); ++skipped) {
    if (in.at_end()) return false;
    field = in.read_text();
  }
  return true;
}

bool read_body(FieldReader& in, const std::function<Next(const std::string&)>& record) {
  std::string field;
  while (next_keyword(in, field, 2)) {
    Next next = record(field);
    if (next == Next::kEndBody) return true;
    if (next == Next::kStop) return false;
  }
  return true;
}

Next stop(Scenario& m, error::Code code) {
  m.record_error(code);
  return Next::kStop;
}

Next stop(Scenario& m, error::Code code, int32_t pos) {
  m.record_error(code, pos);
  return Next::kStop;
}

bool beyond_line(Scenario& m, int64_t c) {
  if (m.track.empty()) throw MissingLineLength(N_("no track: the line length is missing"));
  if (fit<int32_t>(c + 100) / 50.0 <= static_cast<double>(m.track_upper_bound())) return false;
  m.record_error(error::kBeyondLine, static_cast<int32_t>(c));
  return true;
}

void read_description(Disk& disk, Scenario& m, const std::filesystem::path& dir, const std::string& name,
                      CompileMode mode, const std::function<void(FieldReader&)>& parse) {
  std::filesystem::path path = join_path(dir, name);
  int32_t before = m.err_code;
  int32_t before_pos = m.err_pos;
  std::optional<std::string> text = description_text(disk, path, mode);
  bool failed = !text;
  if (failed) {
    m.stop_reason = N_("the file cannot be read");
    m.stop_cause = StopCause::kFileUnreadable;
  }
  FieldReader in(text ? std::string_view(*text) : std::string_view());
  try {
    if (text) parse(in);
  } catch (const MissingLineLength& e) {
    failed = true;
    m.stop_reason = e.what();
    m.stop_cause = StopCause::kNoLineLength;
  } catch (const ReadFailure& e) {
    failed = true;
    m.stop_reason = e.what();
    m.stop_cause = StopCause::kValueUnstorable;
  }
  if (failed) m.record_error(error::kUnreadable);
  if (failed || m.err_code != before || m.err_pos != before_pos) {
    m.stop_file = name;
    m.stop_offset = static_cast<int64_t>(in.offset());
  }
  remove_file(disk, path);
  if (failed) {
    remove_file(disk, join_path(dir, line_description_name(m.scenario_name)));
    remove_file(disk, join_path(dir, train_description_name(m.scenario_name, m.train_number)));
  }
}

}  // namespace lorvena
