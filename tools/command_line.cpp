#include "tools/command_line.h"

#include <optional>

#include "files/file_system.h"
#include "files/system_disk.h"
#include "tools/author_compile.h"
#include "tools/compiled_decode.h"
#include "tools/draw.h"
#include "tools/dump.h"
#include "tools/report.h"
#include "tools/summary.h"

namespace lorvena {
namespace {

constexpr const char* kUsage =
    "usage:\n"
    "  scenario_tool compile DIR NAME TRAIN [--no-plan] [--out OUT] [--json]\n"
    "  scenario_tool check DIR NAME TRAIN\n"
    "  scenario_tool dump FILE [--csv|--json]\n"
    "  scenario_tool draw DIR NAME TRAIN --out FILE.svg\n";

class UsageError {
 public:
  explicit UsageError(std::string what) : what_(std::move(what)) {}
  const std::string& what() const { return what_; }

 private:
  std::string what_;
};

// Positional words and the options of one command.
struct Words {
  std::vector<std::string> positional;
  bool no_plan = false, json = false, csv = false;
  std::optional<std::string> out;
};

Words split(const std::vector<std::string>& args) {
  Words w;
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--no-plan") w.no_plan = true;
    else if (a == "--json") w.json = true;
    else if (a == "--csv") w.csv = true;
    else if (a == "--out") {
      if (i + 1 >= args.size()) throw UsageError("--out needs a path");
      w.out = args[++i];
    } else if (a.rfind("--", 0) == 0) throw UsageError("unknown option " + a);
    else w.positional.push_back(a);
  }
  return w;
}

CompileRequest request_from(const Words& w) {
  if (w.positional.size() != 3) throw UsageError("expected DIR NAME TRAIN");
  return {w.positional[0], w.positional[1], w.positional[2], !w.no_plan, std::nullopt};
}

int status(const ErrorReport& r) { return r.code == 0 ? 0 : 1; }

int compile_command(Disk& disk, const Words& w, std::ostream& out) {
  CompileRequest request = request_from(w);
  request.out = w.out ? std::filesystem::path(*w.out) : request.dir;
  ErrorReport report = make_report(compile_copies(disk, request));
  out << (w.json ? report_json(report) : report_text(report));
  return status(report);
}

int check_command(Disk& disk, const Words& w, std::ostream& out) {
  CompileResult result = compile_copies(disk, request_from(w));
  ErrorReport report = make_report(result);
  out << summary_text(summarize(result.model, result.markers));
  out << report_text(report);
  return status(report);
}

int dump_command(Disk& disk, const Words& w, std::ostream& out) {
  if (w.positional.size() != 1) throw UsageError("expected one FILE");
  if (w.csv && w.json) throw UsageError("--csv or --json, not both");
  std::filesystem::path file = w.positional[0];
  DumpFormat format = w.csv ? DumpFormat::kCsv : w.json ? DumpFormat::kJson : DumpFormat::kText;
  out << dump_compiled(file.filename().string(), read_file(disk, file), format);
  return 0;
}

int draw_command(Disk& disk, const Words& w, std::ostream& out) {
  if (!w.out) throw UsageError("draw needs --out FILE.svg");
  CompileRequest request = request_from(w);
  request.plan = true;
  CompileResult result = compile_copies(disk, request);
  ErrorReport report = make_report(result);
  out << report_text(report);
  if (result.model.track.empty()) {
    out << "nothing to draw: the line was not read\n";
    return 1;
  }
  replace_file(disk, *w.out, draw_svg(result.model), Flush::kYes);
  out << "drawn: " << *w.out << "\n";
  return status(report);
}

}  // namespace

int run_tool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  try {
    if (args.empty()) throw UsageError("no command");
    Words w = split(args);
    SystemDisk disk;
    if (args[0] == "compile") return compile_command(disk, w, out);
    if (args[0] == "check") return check_command(disk, w, out);
    if (args[0] == "dump") return dump_command(disk, w, out);
    if (args[0] == "draw") return draw_command(disk, w, out);
    throw UsageError("unknown command " + args[0]);
  } catch (const UsageError& e) {
    err << e.what() << "\n" << kUsage;
  } catch (const FileSystemError& e) {
    err << e.what() << "\n";
  } catch (const DecodeError& e) {
    err << e.what() << "\n";
  }
  return 2;
}

}  // namespace lorvena
