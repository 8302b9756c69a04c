// Every call that `compile`, `fmt`, `new` and `decompile` make to the disk,
// failed in turn and killed in turn, in a folder holding older files and in
// one without. Whatever happens, each file the command writes is exactly its
// old content (or absent) or exactly its new one, the author's descriptions
// are never changed by a command that only reads them, a failure ends with a
// non-zero status and the system's words, nothing is left open, only a kill
// leaves a temporary file, and the next run takes it away and finishes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "disk/file_names.h"
#include "disk/scratch_dir.h"
#include "disk/system_disk.h"
#include "testing/case_folders.h"
#include "testing/example_pair.h"
#include "testing/faulty_disk.h"
#include "testing/test_files.h"
#include "tools/command_line.h"

namespace lorvena {
namespace {

namespace fs = std::filesystem;
using testing::DiskFault;
using testing::DiskOp;
using testing::FaultyDisk;
using Files = std::map<std::string, std::string>;

const std::string kName = testing::kExampleName;
const std::string kTrain = testing::kExampleTrain;

Files files_in(const fs::path& dir) {
  Files files;
  for (const auto& entry : fs::recursive_directory_iterator(dir))
    if (entry.is_regular_file())
      files[fs::relative(entry.path(), dir).string()] = testing::read_bytes(entry.path());
  return files;
}

std::string example(const std::string& file) { return testing::read_bytes(testing::examples_dir() / file); }

// The example's records with their columns undone, as an author might type
// them: what fmt has to rewrite.
std::string untidy(std::string text) {
  for (size_t at = text.find("  "); at != std::string::npos; at = text.find("  ", at)) text.erase(at, 1);
  return text;
}

// One command of the walk: the folder it starts from, its arguments, and the
// files it may write (relative to the folder; every other file must stay).
struct ToolCase {
  std::string name;
  std::function<void(const fs::path&, bool seeded)> prepare;
  std::function<std::vector<std::string>(const fs::path&, bool seeded)> args;
  std::vector<std::string> written;
};

const std::string kLine = line_description_name(kName), kTrainFile = train_description_name(kName, kTrain);
const std::vector<std::string> kCompiled = {plan_file_name(kName), table_file_name(kName, kTrain),
                                            track_file_name(kName, kTrain)};

// The run of a command, its status and what it said on standard error.
struct Outcome {
  int status = -1;
  bool killed = false;
  std::string err;
};

Outcome run_on(Disk& disk, const std::vector<std::string>& args) {
  std::ostringstream out, err;
  Outcome outcome;
  try {
    outcome.status = run_tool(args, out, err, Terminal{}, disk);
  } catch (const testing::RunKilled&) {
    outcome.killed = true;
  }
  outcome.err = err.str();
  return outcome;
}

// The example's compiled files, made once.
const Files& compiled_example() {
  static const Files files = [] {
    ScratchDir dir;
    SystemDisk disk;
    Outcome made = run_on(disk, {"compile", testing::examples_dir().string(), kName, kTrain, "--out", dir.path().string()});
    EXPECT_EQ(made.status, 0) << made.err;
    return files_in(dir.path());
  }();
  return files;
}

void write_pair(const fs::path& dir, const std::string& line, const std::string& train) {
  fs::create_directories(dir);
  testing::write_bytes(dir / kLine, line);
  testing::write_bytes(dir / kTrainFile, train);
}

// An older version of a file the command writes.
std::string old_version(const std::string& name) { return "an older " + name + "\r\n"; }

std::vector<ToolCase> tool_cases() {
  auto pair_args = [](const std::string& command) {
    return [command](const fs::path& dir, bool) { return std::vector<std::string>{command, dir.string(), kName, kTrain}; };
  };
  ToolCase compile{"compile",
                   [](const fs::path& dir, bool seeded) {
                     write_pair(dir, example(kLine), example(kTrainFile));
                     if (!seeded) return;
                     fs::create_directory(dir / "out");
                     for (const std::string& f : kCompiled) testing::write_bytes(dir / "out" / f, old_version(f));
                   },
                   [](const fs::path& dir, bool) {
                     return std::vector<std::string>{"compile", dir.string(), kName, kTrain, "--out",
                                                     (dir / "out").string()};
                   },
                   {}};
  for (const std::string& f : kCompiled) compile.written.push_back("out/" + f);
  ToolCase fmt{"fmt",
               [](const fs::path& dir, bool) { write_pair(dir, untidy(example(kLine)), untidy(example(kTrainFile))); },
               pair_args("fmt"), {kLine, kTrainFile}};
  ToolCase made{"new",
                [](const fs::path& dir, bool seeded) {
                  if (seeded) write_pair(dir / "new", old_version(kLine), old_version(kTrainFile));
                },
                [](const fs::path& dir, bool seeded) {
                  std::vector<std::string> args{"new", (dir / "new").string(), kName, kTrain};
                  if (seeded) args.push_back("--force");
                  return args;
                },
                {"new/" + kLine, "new/" + kTrainFile}};
  ToolCase decompile{"decompile",
                     [](const fs::path& dir, bool seeded) {
                       fs::create_directory(dir / "compiled");
                       for (const auto& [name, bytes] : compiled_example()) testing::write_bytes(dir / "compiled" / name, bytes);
                       if (seeded) write_pair(dir / "out", old_version(kLine), old_version(kTrainFile));
                     },
                     [](const fs::path& dir, bool seeded) {
                       std::vector<std::string> args{"decompile", (dir / "compiled").string(), kName, kTrain,
                                                     "--out", (dir / "out").string()};
                       if (seeded) args.push_back("--force");
                       return args;
                     },
                     {"out/" + kLine, "out/" + kTrainFile}};
  return {compile, fmt, made, decompile};
}


// The number each operation fails with.
int failure_number(DiskOp op) {
  switch (op) {
    case DiskOp::kCreate: return EACCES;
    case DiskOp::kWrite: return ENOSPC;
    case DiskOp::kClose: return EDQUOT;
    case DiskOp::kRename:
    case DiskOp::kRenameNew: return EPERM;
    case DiskOp::kRemove: return EROFS;
    case DiskOp::kResolve: return ELOOP;
    default: return EIO;
  }
}

// Everything wrong with the folder after a failed or killed run.
std::string faults_in_folder(const Files& before, const Files& after, const Files& found, const ToolCase& c,
                             bool killed) {
  std::string wrong;
  Files rest = found;
  int temporaries = 0;
  for (const auto& [name, bytes] : found) {
    std::string target = testing::without_temporary_tail(name);
    if (target == name || std::find(c.written.begin(), c.written.end(), target) == c.written.end()) continue;
    rest.erase(name);
    ++temporaries;
    if (!killed) wrong += "temporary " + name + " left after a failure; ";
  }
  if (temporaries > 1) wrong += "more than one temporary; ";
  for (const std::string& name : c.written) {
    auto now = rest.find(name);
    auto old = before.find(name);
    bool is_old = old == before.end() ? now == rest.end() : now != rest.end() && now->second == old->second;
    bool is_new = now != rest.end() && now->second == after.at(name);
    if (!is_old && !is_new) wrong += name + " is neither old nor new; ";
    if (now != rest.end()) rest.erase(now);
  }
  for (const auto& [name, bytes] : before) {
    if (std::find(c.written.begin(), c.written.end(), name) != c.written.end()) continue;
    auto now = rest.find(name);
    if (now == rest.end() || now->second != bytes) wrong += name + " was changed; ";
    if (now != rest.end()) rest.erase(now);
  }
  for (const auto& [name, bytes] : rest) wrong += "stray file " + name + "; ";
  return wrong;
}

// What a clean run of a case writes and how often it calls each operation.
struct CleanRun {
  Files before, after;
  std::map<DiskOp, int> calls;
};

CleanRun clean_run(const ToolCase& c, bool seeded) {
  CleanRun clean;
  ScratchDir dir;
  c.prepare(dir.path(), seeded);
  clean.before = files_in(dir.path());
  SystemDisk real;
  FaultyDisk counting(real);
  Outcome run = run_on(counting, c.args(dir.path(), seeded));
  EXPECT_EQ(run.status, 0) << run.err;
  clean.after = files_in(dir.path());
  for (DiskOp op : testing::kDiskOps) clean.calls[op] = counting.calls(op);
  return clean;
}

// The operations in three groups, a test each, so that every test stays
// short on a busy machine: writing a file, placing it, looking.
const std::vector<std::vector<DiskOp>> kOpGroups = {
    {DiskOp::kCreate, DiskOp::kWrite, DiskOp::kSync, DiskOp::kClose},
    {DiskOp::kRename, DiskOp::kRenameNew, DiskOp::kRemove, DiskOp::kSyncDirectory, DiskOp::kMakeDirectory},
    {DiskOp::kOpenRead, DiskOp::kRead, DiskOp::kStatus, DiskOp::kResolve, DiskOp::kList}};
const std::vector<std::string> kGroupNames = {"Writing", "Placing", "Looking"};

struct ToolWalk {
  size_t command;  // in tool_cases()
  bool seeded;
  size_t group;  // in kOpGroups
};

void PrintTo(const ToolWalk& w, std::ostream* os) {
  *os << tool_cases()[w.command].name << " " << kGroupNames[w.group] << (w.seeded ? ", old files" : ", none");
}

class ToolFaultWalk : public ::testing::TestWithParam<ToolWalk> {};

TEST_P(ToolFaultWalk, EveryFailedOrKilledCallLeavesEachFileOldOrNew) {
  const auto [index, seeded, group] = GetParam();
  const ToolCase c = tool_cases()[index];
  const CleanRun clean = clean_run(c, seeded);
  SystemDisk real;
  testing::CaseFolders folders("64m");
  int faults = 0;
  for (DiskOp op : kOpGroups[group])
  for (int call = 1; call <= clean.calls.at(op); ++call) {
    for (bool kill : {false, true}) {
      SCOPED_TRACE(std::string(testing::op_name(op)) + " #" + std::to_string(call) + (kill ? " killed" : " failed"));
      const fs::path dir = folders.fresh();
      c.prepare(dir, seeded);
      const int number = kill ? 0 : failure_number(op);
      std::string wrong;
      Outcome run;
      {
        FaultyDisk disk(real, DiskFault{op, call, number});
        run = run_on(disk, c.args(dir, seeded));
        ASSERT_TRUE(disk.fault_index().has_value()) << "the run never made that call";
        if (!kill && (run.status != 2 && run.status != 3)) wrong += "exit status " + std::to_string(run.status) + "; ";
        if (!kill && run.err.find(std::strerror(number)) == std::string::npos) wrong += "no system words; ";
        if (!kill && disk.open_files() != 0) wrong += "a file left open; ";
        ASSERT_EQ(run.killed, kill);
      }
      wrong += faults_in_folder(clean.before, clean.after, files_in(dir), c, kill);
      ++faults;
      std::vector<std::string> again = c.args(dir, seeded);
      if (c.name == "new" || c.name == "decompile") again.push_back("--force");
      Outcome next = run_on(real, again);
      Files left = files_in(dir);
      for (const std::string& name : c.written)
        if (left[name] != clean.after.at(name)) wrong += "the next run did not write " + name + "; ";
      if (next.status != 0 || left.size() != clean.after.size())
        wrong += "the next run did not finish clean (status " + std::to_string(next.status) + ")";
      ASSERT_EQ(wrong, "") << run.err;
    }
  }
  EXPECT_GT(faults, 0) << "no call of these operations to fail";
  RecordProperty("faults", faults);
}

std::vector<ToolWalk> every_tool_walk() {
  std::vector<ToolWalk> walks;
  for (size_t command = 0; command < tool_cases().size(); ++command)
    for (bool seeded : {false, true})
      for (size_t group = 0; group < kOpGroups.size(); ++group)
        if (!(tool_cases()[command].name == "fmt" && seeded)) walks.push_back({command, seeded, group});
  return walks;
}

std::string tool_walk_name(const ::testing::TestParamInfo<ToolWalk>& info) {
  return tool_cases()[info.param.command].name + "_" + kGroupNames[info.param.group] +
         (info.param.seeded ? "_OldFiles" : "_NoFiles");
}

INSTANTIATE_TEST_SUITE_P(EachCommandAndOperation, ToolFaultWalk, ::testing::ValuesIn(every_tool_walk()),
                         tool_walk_name);

}  // namespace
}  // namespace lorvena
