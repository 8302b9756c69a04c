#include "tools/command_line.h"

#include <array>
#include <optional>
#include <tuple>

#include <nlohmann/json.hpp>

#include "disk/file_names.h"
#include "disk/file_system.h"
#include "disk/system_disk.h"
#include "tools/authoring/decompile.h"
#include "tools/authoring/format_pair.h"
#include "tools/authoring/new_pair.h"
#include "tools/authoring/pair_writing.h"
#include "tools/compiled/compiled_decode.h"
#include "tools/compiled/dump.h"
#include "tools/compiled/summary.h"
#include "tools/diagnosing/author_compile.h"
#include "tools/diagnosing/explain.h"
#include "tools/diagnosing/find_problems.h"
#include "tools/diagnosing/findings_sarif.h"
#include "tools/diagnosing/report.h"
#include "tools/diff/scenario_diff.h"
#include "tools/input/arguments.h"
#include "tools/input/description_pairs.h"
#include "tools/input/file_failures.h"
#include "tools/line_view/view.h"
#include "tools/packaging/package.h"
#include "tools/picture/draw.h"
#include "tools/text/json_text.h"
#include "tools/text/messages.h"
#include "tools/text/text_encoding.h"
#include "tools/timetable/timetable.h"
#ifdef LORVENA_EDITOR_SERVERS
#include <iostream>

#include "tools/lsp/lsp_server.h"
#include "tools/serve/live_view.h"
#endif

namespace lorvena {
namespace {

constexpr std::string_view kProgram = "scenario_tool";
constexpr int kExitUsage = 2;
constexpr int kExitInternal = 3;

struct Streams {
  std::ostream& out;
  std::ostream& err;
  Terminal terminal;
  Disk& disk;
};

// What a command found wrong before it could start: exit status 2.
class CannotStart : public std::runtime_error {
 public:
  explicit CannotStart(const std::string& what) : std::runtime_error(what) {}
};

struct Command {
  std::string_view name;
  std::string_view operands;  // as the usage shows them
  size_t operand_count;
  std::string_view summary;
  std::vector<OptionSpec> options;
  int (*run)(const Arguments&, Streams&);
  bool takes_one_file = false;  // FILE, either description of the pair, instead of DIR NAME TRAIN
};

// --- the pair a command works on --------------------------------------------

// NAME and TRAIN as typed (UTF-8) must have a Windows-1252 form: the compile
// sees them in that code page, as the installer does.
std::string checked_1252(const std::string& what, const std::string& utf8) {
  if (!exact_1252_from_utf8(utf8)) throw UsageError(trf("{0} '{1}' has a character that Windows-1252 cannot hold", what, utf8));
  return utf8;
}

std::string pairs_listed(Disk& disk, const std::filesystem::path& dir) {
  std::vector<DescriptionPair> pairs = pairs_in(disk, dir);
  if (pairs.empty()) return trf("no description pair in {0}\n", dir.string());
  std::string text = trf("description pairs in {0}:\n", dir.string());
  for (const DescriptionPair& p : pairs) text += "  " + p.name + " " + p.train + "\n";
  return text;
}

// Both descriptions must be there before anything is compiled or written.
void require_pair(Disk& disk, const CompileRequest& r) {
  std::filesystem::path line = join_path(r.dir, line_description_name(r.name));
  std::filesystem::path train = join_path(r.dir, train_description_name(r.name, r.train));
  bool has_line = file_exists(disk, line), has_train = file_exists(disk, train);
  if (has_line && has_train) return;
  std::string text = trf("no description pair {0} {1} in {2}\n", r.name, r.train, r.dir.string());
  text += "  " + line.string() + std::string(has_line ? tr(": found\n") : tr(": missing\n"));
  text += "  " + train.string() + std::string(has_train ? tr(": found\n") : tr(": missing\n"));
  throw CannotStart(text + pairs_listed(disk, r.dir));
}

// The pair one of its two descriptions belongs to, from that file's path.
DescriptionPair pair_of_file(Disk& disk, const std::filesystem::path& file) {
  if (!file_exists(disk, file)) throw CannotStart(trf("{0} does not exist\n", file.string()));
  std::filesystem::path dir = file.parent_path().empty() ? "." : file.parent_path();
  std::string base = file.filename().string(), line_tail = line_description_name("");
  std::vector<DescriptionPair> pairs = pairs_in(disk, dir);
  if (base.ends_with(line_tail)) {
    std::string name = base.substr(0, base.size() - line_tail.size()), trains;
    std::vector<DescriptionPair> mine;
    for (const DescriptionPair& p : pairs)
      if (p.name == name) mine.push_back(p), trains += " " + p.train;
    if (mine.size() == 1) return mine.front();
    if (mine.empty())
      throw CannotStart(trf("no train description {0} beside {1}\n", train_description_name(name, "TRAIN"), file.string()) +
                        pairs_listed(disk, dir));
    throw UsageError(trf("{0} has several trains in {1} ({2}): name one, as in 'check {1} {0} {3}'", name, dir.string(),
                         trains.substr(1), mine.front().train));
  }
  for (const DescriptionPair& p : pairs)
    if (train_description_name(p.name, p.train) == base) return p;
  size_t split = base.rfind('_');
  if (base.ends_with("-.txt") && split != std::string::npos && split > 0)
    throw CannotStart(trf("no line description {0} beside {1}\n", line_description_name(base.substr(0, split)),
                          file.string()) +
                      pairs_listed(disk, dir));
  throw UsageError(trf("{0} is neither a line description (NAME{1}) nor a train description (NAME_TRAIN-.txt)",
                       file.string(), line_tail));
}

// DIR NAME TRAIN, or the path of either description of the pair.
CompileRequest pair_request(Disk& disk, const Arguments& a) {
  if (a.operands.size() == 1) {
    std::filesystem::path file = a.operands[0];
    DescriptionPair p = pair_of_file(disk, file);
    std::filesystem::path dir = file.parent_path().empty() ? "." : file.parent_path();
    return {dir, p.name, p.train, true, std::nullopt};
  }
  CompileRequest r{a.operands[0], checked_1252("NAME", a.operands[1]), checked_1252("TRAIN", a.operands[2]), true,
                   std::nullopt};
  require_pair(disk, r);
  return r;
}

int status(const ErrorReport& r) { return report_status(r); }

// With --Werror a warning fails the command as an error does.
int strict_status(const Arguments& a, const ErrorReport& r) {
  int plain = status(r);
  if (plain != 0 || !a.has("--Werror")) return plain;
  for (const Diagnostic& d : r.diagnostics)
    if (d.severity == Severity::kWarning) return 1;
  return 0;
}

// --- the commands ------------------------------------------------------------

// Whether the diagnostics on standard error are painted (--color).
bool colour_on_err(const Arguments& a, const Streams& s) {
  const std::string word = a.value("--color").value_or("auto");
  const std::optional<ColourChoice> choice = colour_choice(word);
  if (!choice) throw UsageError(trf("--color takes auto, always or never, not '{0}'", word));
  return use_colour(*choice, s.terminal.err_is_terminal, s.terminal);
}

// The descriptions' texts by the names the diagnostics give them, for the
// source line under each.
SourceTexts source_texts(const CompileRequest& request, const CompileResult& result) {
  SourceTexts texts;
  if (result.line_found) texts[join_path(request.dir, line_description_name(request.name)).string()] = result.line_text;
  if (result.train_found)
    texts[join_path(request.dir, train_description_name(request.name, request.train)).string()] = result.train_text;
  return texts;
}

// How the diagnostics travel: on standard error, coloured or not, or in the
// JSON or SARIF the command prints.
struct DiagnosticsOutput {
  bool on_err = true;
  bool colour = false;
};

// The compile's report with every diagnostic of the pair.
ErrorReport diagnosed_report(const CompileRequest& request, const CompileResult& result,
                             DiagnosticsOutput to, Streams& s) {
  ErrorReport report = make_report(result);
  report.diagnostics = diagnose(request, result).list;
  if (to.on_err) s.err << diagnostics_text(report.diagnostics, source_texts(request, result), to.colour);
  return report;
}

// A file a command leaves for the author: its folder made when missing, the
// file replaced, the folder flushed.
void write_output(Disk& disk, const std::filesystem::path& file, std::string_view bytes) {
  std::filesystem::path folder = file.parent_path().empty() ? "." : file.parent_path();
  make_folders(disk, folder);
  replace_file(disk, file, bytes, Flush::kYes);
  sync_directory(disk, folder);
}

int compile_command(const Arguments& a, Streams& s) {
  Disk& disk = s.disk;
  CompileRequest request = pair_request(disk, a);
  request.plan = !a.has("--no-plan");
  request.out = a.value("--out").value_or(request.dir.string());
  DiagnosticsOutput to{!a.has("--json"), colour_on_err(a, s)};
  ErrorReport report = diagnosed_report(request, compile_copies(disk, request), to, s);
  s.out << (a.has("--json") ? report_json(report) : report_text(report));
  return strict_status(a, report);
}

enum class CheckFormat { kText, kJson, kSarif };

CheckFormat check_format(const Arguments& a) {
  std::string format = a.value("--format").value_or("text");
  if (format == "text") return CheckFormat::kText;
  if (format == "json") return CheckFormat::kJson;
  if (format == "sarif") return CheckFormat::kSarif;
  throw UsageError(trf("--format takes text, json or sarif, not '{0}'", format));
}

int check_command(const Arguments& a, Streams& s) {
  CheckFormat format = check_format(a);
  DiagnosticsOutput to{format == CheckFormat::kText, colour_on_err(a, s)};
  Disk& disk = s.disk;
  CompileRequest request = pair_request(disk, a);
  CompileResult result = compile_copies(disk, request);
  ErrorReport report = diagnosed_report(request, result, to, s);
  if (format == CheckFormat::kJson) s.out << report_json(report);
  if (format == CheckFormat::kSarif) s.out << json_text(findings_sarif(report.diagnostics, LORVENA_VERSION)) << "\n";
  if (format == CheckFormat::kText)
    s.out << summary_text(summarize(result.model, result.markers)) << report_text(report);
  return strict_status(a, report);
}

// The fastest run's times at each station; a pair whose compile recorded an
// error has no whole line to run on.
int timetable_command(const Arguments& a, Streams& s) {
  SystemDisk disk;
  CompileRequest request = pair_request(disk, a);
  request.plan = false;
  CompileResult result = compile_copies(disk, request);
  if (!result.recorded.empty() || !result.fatal.empty() || result.model.track.empty()) {
    s.out << report_text(make_report(result)) << tr("no timetable: the compile recorded an error; 'check' tells it\n");
    return 1;
  }
  s.out << timetable_text(result.model, fastest_run(result.model));
  return 0;
}

int dump_command(const Arguments& a, Streams& s) {
  if (a.has("--csv") && a.has("--json")) throw UsageError(std::string(tr("--csv or --json, not both")));
  std::filesystem::path file = a.operands[0];
  DumpFormat format = a.has("--csv") ? DumpFormat::kCsv : a.has("--json") ? DumpFormat::kJson : DumpFormat::kText;
  Disk& disk = s.disk;
  s.out << dump_compiled(file.filename().string(), read_file(disk, file), format);
  return 0;
}

int diff_command(const Arguments& a, Streams& s) {
  Disk& disk = s.disk;
  ScenarioDiff d =
      diff_scenarios(disk, a.operands[0], a.operands[1], a.value("--name"), a.value("--train"), a.has("--cells"));
  s.out << (a.has("--json") ? json_text(diff_value(d)) + "\n" : d.text);
  return d.differ ? 1 : 0;
}

int draw_command(const Arguments& a, Streams& s) {
  std::string svg = *a.value("--out");
  Disk& disk = s.disk;
  CompileRequest request = pair_request(disk, a);
  CompileResult result = compile_copies(disk, request);
  ErrorReport report = diagnosed_report(request, result, DiagnosticsOutput{true, colour_on_err(a, s)}, s);
  s.out << report_text(report);
  if (result.model.track.empty()) {
    s.out << tr("nothing to draw: the line was not read\n");
    return 1;
  }
  write_output(disk, svg, draw_svg(result.model));
  s.out << trf("drawn: {0}\n", svg);
  return status(report);
}

int view_command(const Arguments& a, Streams& s) {
  std::string page = *a.value("--out");
  Disk& disk = s.disk;
  CompileRequest request = pair_request(disk, a);
  CompileResult result = compile_copies(disk, request);
  ErrorReport report = diagnosed_report(request, result, DiagnosticsOutput{true, colour_on_err(a, s)}, s);
  s.out << report_text(report);
  if (result.model.track.empty()) {
    s.out << tr("nothing to view: the line was not read\n");
    return 1;
  }
  const std::vector<Diagnostic>& diagnostics = report.diagnostics;
  std::string line_file = join_path(request.dir, line_description_name(request.name)).string();
  std::string train_file = join_path(request.dir, train_description_name(request.name, request.train)).string();
  write_output(disk, page, view_html(result, diagnostics, line_file, train_file));
  s.out << trf("written: {0}\n", page);
  return status(report);
}

int explain_command(const Arguments& a, Streams& s) {
  if (a.has("--markdown")) {
    if (!a.operands.empty()) throw UsageError(std::string(tr("explain --markdown takes no TOPIC")));
    s.out << records_markdown();
    return 0;
  }
  if (a.operands.empty()) {
    s.out << explain_topics();
    return 0;
  }
  std::optional<std::string> text = explain(a.operands[0]);
  if (!text) throw UsageError(trf("nothing to explain for '{0}'; 'scenario_tool explain' lists the topics", a.operands[0]));
  s.out << *text;
  return 0;
}

#ifdef LORVENA_EDITOR_SERVERS
int lsp_command(const Arguments&, Streams& s) { return run_language_server(std::cin, s.out, s.err); }

int serve_command(const Arguments& a, Streams& s) {
  Disk& disk = s.disk;
  CompileRequest request = pair_request(disk, a);
  ServeOptions o{request.dir, request.name, request.train};
  o.host = a.value("--host").value_or(o.host);
  o.any_host = a.has("--any-host");
  if (!is_loopback(o.host) && !o.any_host)
    throw UsageError(trf("--host {0} is not a loopback address; add --any-host to listen there anyway", o.host));
  try {
    if (auto port = a.value("--port")) o.port = std::stoi(*port);
    if (auto stop = a.value("--stop-after")) o.stop_after = std::stod(*stop);
  } catch (const std::exception&) {
    throw UsageError(std::string(tr("--port and --stop-after take numbers")));
  }
  if (o.port < 0 || o.port > 65535) throw UsageError(std::string(tr("--port takes 0 to 65535")));
  return serve_live_view(o, s.out, s.err);
}
#endif
// The pair written for `new` and `decompile`, and a refusal that says how
// to write over it.
std::vector<std::filesystem::path> pair_written(const Arguments& a, Streams& s, const std::filesystem::path& dir,
                                                const std::string& name, const std::string& train,
                                                const std::string& line_text, const std::string& train_text) {
  try {
    Overwrite overwrite = a.has("--force") ? Overwrite::kYes : Overwrite::kNever;
    return write_pair(s.disk, dir, name, train, line_text, train_text, overwrite);
  } catch (const FileInTheWay& e) {
    throw CannotStart(told(e) + std::string(tr(": nothing written (--force writes over it)\n")));
  }
}

int new_command(const Arguments& a, Streams& s) {
  StarterPair pair = starter_pair();
  for (const std::filesystem::path& p : pair_written(a, s, a.operands[0], checked_1252("NAME", a.operands[1]),
                                                     checked_1252("TRAIN", a.operands[2]), pair.line, pair.train))
    s.out << trf("written: {0}\n", p.string());
  return 0;
}

int decompile_command(const Arguments& a, Streams& s) {
  Disk& disk = s.disk;
  std::filesystem::path dir = a.operands[0], out = *a.value("--out");
  CompiledInput in{checked_1252("NAME", a.operands[1]), checked_1252("TRAIN", a.operands[2]), "", "", std::nullopt};
  in.track = read_file(disk, join_path(dir, track_file_name(in.name, in.train)));
  in.table = read_file(disk, join_path(dir, table_file_name(in.name, in.train)));
  in.plan = read_file_if_there(disk, join_path(dir, plan_file_name(in.name)));
  Decompiled d = decompile(in);
  for (const std::filesystem::path& p : pair_written(a, s, out, in.name, in.train, d.line, d.train))
    s.out << trf("written: {0}\n", p.string());
  for (const std::string& m : d.mismatches) s.err << trf("not reproduced: {0}\n", m);
  s.out << (d.mismatches.empty() ? tr("compiles back to the same bytes\n") : tr("does not compile back to the same bytes\n"));
  return d.mismatches.empty() ? 0 : 1;
}

// A description fmt rewrites, or the refusal that leaves the author's edit.
void rewritten(Disk& disk, const std::filesystem::path& path, const std::string& before, const std::string& after) {
  try {
    rewrite_file(disk, path, before, after);
  } catch (const FileInTheWay& e) {
    throw CannotStart(told(e) + std::string(tr(": left as it is\n")));
  }
}

// Exit status 0 when nothing changes (or, with --check, nothing would), 1
// with --check when a file would change; refusals are CannotStart (2). A
// file converted from UTF-8 is told apart from one only laid out, and so is
// a conversion that gives the compiled table other names.
int fmt_command(const Arguments& a, Streams& s) {
  Disk& disk = s.disk;
  CompileRequest r = pair_request(disk, a);
  std::filesystem::path line = join_path(r.dir, line_description_name(r.name));
  std::filesystem::path train = join_path(r.dir, train_description_name(r.name, r.train));
  PairTexts original{read_file(disk, line), read_file(disk, train)};
  FormattedPair result;
  try {
    result = format_pair(r.name, r.train, original);
  } catch (const FormatRefused& e) {
    throw CannotStart(std::string(e.what()) + "\n");
  }
  bool check = a.has("--check");
  int changed = 0;
  PairTexts& formatted = result.texts;
  for (auto [path, before, after, converted] :
       {std::tuple{line, &original.line, &formatted.line, result.line_converted},
        std::tuple{train, &original.train, &formatted.train, result.train_converted}}) {
    if (*before == *after) {
      s.out << trf("unchanged: {0}\n", path.string());
      continue;
    }
    ++changed;
    if (!check) rewritten(disk, path, *before, *after);
    std::string names(result.names_change ? tr("; the compiled names change") : "");
    if (converted)
      s.out << trf(check ? N_("would convert: {0} (from UTF-8{1})\n") : N_("formatted: {0} (converted from UTF-8{1})\n"),
                   path.string(), names);
    else
      s.out << trf(check ? N_("would change: {0}\n") : N_("formatted: {0}\n"), path.string());
  }
  if (!check && changed > 0) sync_directory(disk, r.dir);
  return check && changed > 0 ? 1 : 0;
}

// NAME and TRAIN of a package go into file names on the player's system as
// they are: plain ASCII only.
std::string plain_for_package(const std::string& what, const std::string& text) {
  if (is_plain_name_part(text)) return text;
  throw UsageError(trf("{0} '{1}' cannot be packaged: it takes 1 to 64 ASCII letters, digits, blanks and "
                       "punctuation other than \\ / : * ? \" < > |",
                       what, text));
}

std::filesystem::path generic_installer(const Arguments& a) {
  if (std::optional<std::string> given = a.value("--installer")) return *given;
  return tool_directory() / kGenericInstallerName;
}

// The pair is checked first: errors, or warnings with --Werror, and nothing
// is written. Exit status 0 when packaged, 1 when the check refused it, 2
// when a file or the generic installer cannot be read or packaged.
int package_command(const Arguments& a, Streams& s) {
  Disk& disk = s.disk;
  plain_for_package("NAME", a.operands[1]);
  plain_for_package("TRAIN", a.operands[2]);
  std::filesystem::path out = *a.value("--out");
  CompileRequest request = pair_request(disk, a);
  CompileResult result = compile_copies(disk, request);
  ErrorReport report = diagnosed_report(request, result, DiagnosticsOutput{true, colour_on_err(a, s)}, s);
  s.out << report_text(report);
  if (int refused = strict_status(a, report)) {
    s.err << kProgram << ": "
          << (status(report) != 0 ? tr("not packaged: the pair has errors\n")
                                  : tr("not packaged: the pair has warnings and --Werror is given\n"));
    return refused;
  }
  PackagedScenario scenario{request.name, request.train, result.line_text, result.train_text, {}};
  std::filesystem::path installer = generic_installer(a);
  std::string program;
  try {
    if (a.lists.contains("--documents"))
      for (const std::string& file : a.lists.at("--documents")) add_document(scenario, file, read_file(disk, file));
    if (!file_exists(disk, installer))
      throw PackageRefused(trf("no generic installer {0} (it is built with the Windows program; --installer FILE "
                               "names another)",
                               installer.string()));
    program = packaged_program(read_file(disk, installer), scenario);
  } catch (const PackageRefused& e) {
    throw CannotStart(trf("not packaged: {0}\n", std::string(e.what())));
  }
  write_output(disk, out, program);
  s.out << trf("packaged: {0} ({1} bytes): {2} {3}, {4} document(s)\n", out.string(), program.size(), scenario.name,
               scenario.train, scenario.documents.size());
  return 0;
}

int help_command(const Arguments& a, Streams& s);

const std::vector<Command>& commands() {
  static const std::vector<Command> table = {
      {"compile", "DIR NAME TRAIN", 3,
       N_("Compiles DIR/NAME_linea.txt and DIR/NAME_TRAIN-.txt as the installer does and writes\n"
          "NAME_linea.dat, NAME_TRAIN.sim and NAME_TRAIN.dat. The descriptions are never changed."),
       {{"--no-plan", "", N_("leave out the plan of the line (NAME_linea.dat)")},
        {"--out", "DIR", N_("write the compiled files into DIR (default: the descriptions' DIR)")},
        {"--json", "", N_("print the report as one JSON object")},
        {"--Werror", "", N_("exit 1 when there is any warning")},
        {"--color", "WHEN", N_("colour the diagnostics: auto (on a terminal, unless NO_COLOR is set), always, never")}},
       compile_command},
      {"check", "DIR NAME TRAIN", 3,
       N_("Compiles the pair without writing anything and prints what the track holds.\n"
          "Instead of DIR NAME TRAIN, the path of either description finds its pair: check DIR/NAME_linea.txt."),
       {{"--Werror", "", N_("exit 1 when there is any warning")},
        {"--format", "FORMAT", N_("text (default); json: the report as one JSON object; sarif: the diagnostics as SARIF 2.1.0")},
        {"--color", "WHEN", N_("colour the diagnostics: auto (on a terminal, unless NO_COLOR is set), always, never")}},
       check_command, true},
      {"timetable", "DIR NAME TRAIN", 3,
       N_("Runs the train as fast as the line and the running-time model allow, stopping at each station\n"
          "with a time, and prints for each station its chainage, its time, the earliest arrival and the margin."),
       {}, timetable_command, true},
      {"dump", "FILE", 1,
       N_("Prints a compiled track (.dat), table (.sim) or plan (_linea.dat) as text, one record a line."),
       {{"--csv", "", N_("a header line and one CSV row a record")}, {"--json", "", N_("one JSON object a record")}},
       dump_command},
      {"diff", "A B", 2,
       N_("Compares two compiled scenarios (two directories) or two compiled files of one kind, field by field,\n"
          "and tells each change in words: exit status 0 when they are equal, 1 when they differ. When both\n"
          "directories hold the descriptions, the changes are told record by record from them."),
       {{"--name", "NAME", N_("the scenario to compare when a directory holds more than one")},
        {"--train", "TRAIN", N_("its train, with --name")},
        {"--cells", "", N_("list every changed cell and entry even when the descriptions tell the changes by record")},
        {"--json", "", N_("print the changes as one JSON object")}},
       diff_command},
      {"draw", "DIR NAME TRAIN", 3, N_("Compiles the pair and draws the line as one SVG picture."),
       {{"--out", "FILE.svg", N_("where to write the picture"), true},
        {"--color", "WHEN", N_("colour the diagnostics: auto (on a terminal, unless NO_COLOR is set), always, never")}},
       draw_command},
      {"view", "DIR NAME TRAIN", 3,
       N_("Compiles the pair and writes one HTML page that shows the line to zoom into, each object's record\n"
          "and the diagnostics at their chainage."),
       {{"--out", "FILE.html", N_("where to write the page"), true},
        {"--color", "WHEN", N_("colour the diagnostics: auto (on a terminal, unless NO_COLOR is set), always, never")}},
       view_command},
      {"explain", "[TOPIC]", 0,
       N_("Explains an error (16 or E16), a warning (W-off-step) or a record (segnale): what it means and what\n"
          "to do; a record's fields with their units and ranges. Without a TOPIC, lists the topics."),
       {{"--markdown", "", N_("print the record reference of docs/descriptions.md")}}, explain_command},
#ifdef LORVENA_EDITOR_SERVERS
      {"lsp", "", 0,
       N_("Serves editors over standard input and output (the Language Server Protocol): the diagnostics of\n"
          "`check` as the author types, hover, completion, the outline and quick fixes."),
       {}, lsp_command},
      {"serve", "DIR NAME TRAIN", 3,
       N_("Serves the line view of the pair on 127.0.0.1; whenever either description changes, the open page\n"
          "draws the new compile in place, keeping its km range, the picked diagnostic and the scroll."),
       {{"--port", "N", N_("the port (default 8417; 0: any free port)")},
        {"--host", "HOST", N_("the address to listen on (default 127.0.0.1)")},
        {"--any-host", "", N_("allow a --host that is not a loopback address")},
        {"--stop-after", "SECONDS", N_("stop by itself after so long")}},
       serve_command},
#endif
      {"new", "DIR NAME TRAIN", 3,
       N_("Writes a short valid description pair with a comment on each record, to start from, making DIR\n"
          "when it is missing. Refuses to write over an existing file."),
       {{"--force", "", N_("write over the pair's files when they are there")}}, new_command},
      {"fmt", "DIR NAME TRAIN", 3,
       N_("Rewrites the pair one way: keywords spelt alike, each run of records in aligned columns, CR LF\n"
          "line ends, Windows-1252 (UTF-8 is converted). Comments and lines that are not one whole record\n"
          "stay as they are. The layout never changes the compiled bytes; converting a UTF-8 file gives\n"
          "its names (stations, sign texts) their Windows-1252 bytes, and fmt says when that changes the\n"
          "compiled names. A pair with errors, or a character that Windows-1252 cannot hold, is refused\n"
          "with exit status 2 and nothing is written. A description that changes while fmt works is left\n"
          "as the author saved it (exit status 2); a link leads to the file that is rewritten, which keeps\n"
          "its permissions; a file with several hard links is refused."),
       {{"--check", "",
         N_("write nothing; exit status 1 when a file would change (\"would change\": its layout, \"would\n"
            "                  convert\": from UTF-8), 0 when not")}},
       fmt_command},
      {"decompile", "DIR NAME TRAIN", 3,
       N_("Writes the description pair of the compiled NAME_TRAIN.dat, NAME_TRAIN.sim and NAME_linea.dat\n"
          "(when there) into DIR2 and checks that it compiles back to the same bytes: exit status 1\n"
          "and each place that no description can produce when it does not. Refuses to write over an\n"
          "existing description."),
       {{"--out", "DIR2", N_("where to write the two descriptions (made when missing)"), true},
        {"--force", "", N_("write over the descriptions in DIR2 when they are there")}},
       decompile_command},
      {"package", "DIR NAME TRAIN", 3,
       N_("Checks the pair, then writes one Windows program that installs it as the LORVENA PF installer\n"
          "installs its own: the waiting window, the descriptions written and compiled beside the program,\n"
          "the documents written in Windows-1252 with CR LF. A pair with errors is refused (exit status 1);\n"
          "NAME and TRAIN take plain ASCII only. The program is made from the generic installer,\n"
          "scenario_installer.exe, looked for beside scenario_tool; no compiler is needed."),
       {{"--out", "FILE.exe", N_("where to write the program"), true},
        {"--documents", "FILE...", N_("plain text files for the player, written beside the program under their names"),
         false, true},
        {"--installer", "FILE", N_("the generic installer to start from (default: beside scenario_tool)")},
        {"--Werror", "", N_("refuse the pair when there is any warning")},
        {"--color", "WHEN", N_("colour the diagnostics: auto (on a terminal, unless NO_COLOR is set), always, never")}},
       package_command},
      {"help", "[COMMAND]", 0, N_("Prints this help, or one command's."), {}, help_command},
  };
  return table;
}

const Command* find_command(std::string_view name) {
  for (const Command& c : commands())
    if (c.name == name) return &c;
  return nullptr;
}

// --- help and usage ----------------------------------------------------------

std::string synopsis(const Command& c) {
  std::string text(kProgram);
  text.append(" ").append(c.name).append(" ").append(c.operands);
  for (const OptionSpec& o : c.options) {
    text.append(o.required ? " " : " [").append(o.name);
    if (!o.value_name.empty()) text.append(" ").append(o.value_name);
    if (!o.required) text.append("]");
  }
  return text;
}

std::string command_help(const Command& c) {
  std::string text = trf("usage: {0}\n\n", synopsis(c));
  text.append(tr(c.summary)).append("\n");
  if (c.options.empty()) return text;
  text.append("\n").append(tr("options:")).append("\n");
  for (const OptionSpec& o : c.options) {
    std::string left(o.name);
    if (!o.value_name.empty()) left.append(" ").append(o.value_name);
    left.resize(std::max<size_t>(left.size() + 2, 16), ' ');
    text.append("  ").append(left).append(tr(o.help)).append("\n");
  }
  return text;
}

std::string usage() {
  std::string text = trf("usage: {0}\n\n", std::string(kProgram) + " COMMAND [ARGUMENTS]");
  text.append(tr("commands:")).append("\n");
  for (const Command& c : commands()) text.append("  ").append(synopsis(c)).append("\n");
  text.append("\n").append(trf("{0} help COMMAND, or COMMAND --help, tells more of one command.\n", kProgram));
  text.append(trf("{0} --version prints the version.\n", kProgram));
  text.append(trf("{0} --lang it|en before or after a command chooses the language of its messages; by default\n"
                  "the locale's (LANGUAGE, LC_ALL, LC_MESSAGES, LANG), English when it names neither.\n",
                  kProgram));
  text.append(tr("\nExit status: 0 nothing recorded, 1 the compile recorded an error, 2 a wrong command line,\n"
                 "a description pair that is not there, or a file that cannot be read or written.\n"
                 "diff: 0 equal, 1 different, 2 as above or a file that is not a compiled file.\n"
                 "fmt --check: 0 nothing would change, 1 a file would change; fmt refuses a pair with errors (2).\n"
                 "3: standard output could not be written, or the tool stopped on a failure it did not foresee.\n"));
  return text;
}

int help_command(const Arguments& a, Streams& s) {
  if (a.operands.size() > 1) throw UsageError(std::string(tr("help takes at most one COMMAND")));
  if (a.operands.empty()) {
    s.out << usage();
    return 0;
  }
  const Command* c = find_command(a.operands[0]);
  if (c == nullptr) throw UsageError(trf("unknown command {0}", a.operands[0]));
  s.out << command_help(*c);
  return 0;
}

int run_command(const Command& c, std::span<const std::string> words, Streams& s) {
  Arguments a = parse_arguments(words, c.options);
  if (a.help) {
    s.out << command_help(c);
    return 0;
  }
  bool optional_operand = c.operands.starts_with("[");
  bool one_file = c.takes_one_file && a.operands.size() == 1;
  if (optional_operand ? a.operands.size() > 1 : a.operands.size() != c.operand_count && !one_file)
    throw UsageError(trf("{0} expects {1}", c.name, c.operands));
  return c.run(a, s);
}

// `--lang it|en` anywhere before a "--", taken out of the words; the
// language the tool was started in when there is none.
Language language_chosen(std::vector<std::string>& args) {
  Language chosen = language();
  for (size_t i = 0; i < args.size() && args[i] != "--";) {
    std::optional<std::string> word;
    if (args[i] == "--lang") {
      if (i + 1 == args.size()) throw UsageError(std::string(tr("--lang takes it or en")));
      word = args[i + 1];
      args.erase(args.begin() + static_cast<std::ptrdiff_t>(i), args.begin() + static_cast<std::ptrdiff_t>(i) + 2);
    } else if (args[i].starts_with("--lang=")) {
      word = args[i].substr(7);
      args.erase(args.begin() + static_cast<std::ptrdiff_t>(i));
    } else {
      ++i;
      continue;
    }
    std::optional<Language> l = language_named(*word);
    if (!l) throw UsageError(trf("--lang takes it or en, not '{0}'", *word));
    chosen = *l;
  }
  return chosen;
}

int dispatch(std::vector<std::string> args, Streams& s) {
  if (args.empty()) throw UsageError(std::string(tr("no command")));
  const std::string& first = args[0];
  if (first == "--help" || first == "-h") {
    s.out << usage();
    return 0;
  }
  if (first == "--version") {
    s.out << kProgram << " " << LORVENA_VERSION << "\n";
    return 0;
  }
  const Command* c = find_command(first);
  if (c == nullptr) throw UsageError(trf("unknown command {0}", first));
  return run_command(*c, std::span(args).subspan(1), s);
}

}  // namespace

int run_tool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, const Terminal& terminal) {
  SystemDisk disk;
  return run_tool(args, out, err, terminal, disk);
}

int run_tool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, const Terminal& terminal,
             Disk& disk) {
  Streams s{out, err, terminal, disk};
  LanguageScope scope(language());
  try {
    std::vector<std::string> words = args;
    set_language(language_chosen(words));
    return dispatch(std::move(words), s);
  } catch (const UsageError& e) {
    err << kProgram << ": " << e.what() << "\n" << trf("Try '{0} --help'.\n", kProgram);
  } catch (const CannotStart& e) {
    err << kProgram << ": " << e.what();
  } catch (const FileSystemError& e) {
    err << kProgram << ": " << told(e) << "\n";
  } catch (const DecodeError& e) {
    err << kProgram << ": " << e.what() << "\n";
  } catch (const FileInTheWay& e) {
    err << kProgram << ": " << told(e) << tr(": not written\n");
  } catch (const std::exception& e) {
    err << kProgram << ": " << e.what() << "\n";
    return kExitInternal;
  }
  return kExitUsage;
}

}  // namespace lorvena
