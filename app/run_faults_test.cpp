// Every call the installer's run makes to the disk, failed in turn and killed
// in turn, in a folder holding older copies of the six files and in an empty
// one. Whatever happens, each file the run leaves is exactly its old content
// (or absent) or exactly its new one, a failure ends the run with a message
// that names the file and a non-zero status, only a kill leaves a temporary
// file, and the next normal run leaves the six new files.
#include <gtest/gtest.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/form1.h"
#include "app/platform_native.h"
#include "descriptions/dati_linea.h"
#include "descriptions/dati_treno.h"
#include "disk/system_disk.h"
#include "testing/captured_stream.h"
#include "testing/case_folders.h"
#include "testing/faulty_disk.h"
#include "testing/test_files.h"

namespace lorvena {
namespace {

namespace fs = std::filesystem;
using testing::DiskFault;
using testing::DiskOp;
using testing::FaultyDisk;
using testing::without_temporary_tail;
using Files = std::map<std::string, std::string>;

const std::vector<std::string> kOutputs = {
    "LORVENA PF_4316_note.txt", "LORVENA PF_4316_rallentamenti.txt", "LORVENA PF_4316_scheda_treno.txt",
    "LORVENA PF_linea.dat",     "LORVENA PF_4316.sim",               "LORVENA PF_4316.dat"};
const std::vector<std::string> kDescriptions = {"LORVENA PF_linea.txt", "LORVENA PF_4316-.txt"};

// The number each operation fails with: between them, the three kinds of
// message a player can read (a folder that cannot be written, a full disk,
// anything else).
int failure_number(DiskOp op) {
  switch (op) {
    case DiskOp::kCreate: return EACCES;
    case DiskOp::kWrite: return ENOSPC;
    case DiskOp::kSync: return EIO;
    case DiskOp::kClose: return EDQUOT;
    case DiskOp::kRename: return EPERM;
    case DiskOp::kRemove: return EROFS;
    case DiskOp::kOpenRead: return ENOENT;
    case DiskOp::kRead: return EIO;
    case DiskOp::kSyncDirectory: return EIO;
    case DiskOp::kStatus: return EIO;
    case DiskOp::kResolve: return ELOOP;
    case DiskOp::kRenameNew:
    case DiskOp::kList:
    case DiskOp::kMakeDirectory: return EIO;
  }
  return EIO;
}

Files files_in(const fs::path& dir) {
  Files files;
  for (const auto& entry : fs::directory_iterator(dir))
    files[entry.path().filename().string()] = testing::read_bytes(entry.path());
  return files;
}

struct Outcome {
  int status = -1;
  bool killed = false;
  std::string err;
};

Outcome run_on(Disk& disk, const fs::path& dir) {
  testing::CapturedStream out, err;
  NativePlatform platform(dir, out.stream(), err.stream());
  Outcome outcome;
  try {
    outcome.status = run_installer(platform, disk);
  } catch (const testing::RunKilled&) {
    outcome.killed = true;
  }
  outcome.err = err.text();
  return outcome;
}

// An older version of a file: the new bytes with the first one changed and
// more after them.
std::string altered(const std::string& bytes) {
  std::string old = bytes;
  old[0] = static_cast<char>(old[0] ^ 0x5A);
  return old + "-old";
}

// What a clean run writes and how often it calls each operation, in an
// empty folder and in one holding older copies of the six files.
struct CleanRun {
  Files outputs;
  Files descriptions;
  std::map<DiskOp, int> calls;
  std::map<DiskOp, int> seeded_calls;
  std::vector<testing::JournalEntry> journal;
};

CleanRun clean_run() {
  CleanRun clean;
  ScratchDir dir, seeded, descriptions;
  SystemDisk real;
  FaultyDisk counting(real);
  EXPECT_EQ(run_on(counting, dir.path()).status, kExitNormal);
  clean.outputs = files_in(dir.path());
  for (DiskOp op : testing::kDiskOps) clean.calls[op] = counting.calls(op);
  clean.journal = counting.journal();
  for (const std::string& name : kOutputs) testing::write_bytes(seeded / name, altered(clean.outputs.at(name)));
  FaultyDisk counting_seeded(real);
  EXPECT_EQ(run_on(counting_seeded, seeded.path()).status, kExitNormal);
  for (DiskOp op : testing::kDiskOps) clean.seeded_calls[op] = counting_seeded.calls(op);
  dati_linea(real, descriptions.path(), kScenarioName);
  dati_treno(real, descriptions.path(), kScenarioName, kTrainNumber);
  clean.descriptions = files_in(descriptions.path());
  return clean;
}

// The outputs renamed into place before the fault struck.
std::set<std::string> renamed_before_fault(const FaultyDisk& disk) {
  std::set<std::string> renamed;
  const auto& journal = disk.journal();
  for (size_t i = 0; i < *disk.fault_index(); ++i)
    if (journal[i].op == DiskOp::kRename) renamed.insert(without_temporary_tail(journal[i].path.filename().string()));
  return renamed;
}

// Everything wrong with `dir` after a run that `disk` failed or killed.
std::string faults_in_folder(const fs::path& dir, const FaultyDisk& disk, const CleanRun& clean, bool seeded) {
  std::string wrong;
  Files found = files_in(dir);
  std::set<std::string> renamed = renamed_before_fault(disk);
  for (const std::string& name : kOutputs) {
    const std::string& fresh = clean.outputs.at(name);
    bool present = found.count(name) > 0;
    if (renamed.count(name) > 0) {
      if (!present || found[name] != fresh) wrong += name + " is not its new content; ";
    } else if (seeded) {
      if (!present || found[name] != altered(fresh)) wrong += name + " is not its old content; ";
    } else if (present) {
      wrong += name + " appeared before its rename; ";
    }
    found.erase(name);
  }
  for (const std::string& name : kDescriptions) {
    if (found.count(name) > 0 && found[name] != clean.descriptions.at(name)) wrong += name + " is cut; ";
    found.erase(name);
  }
  int temporaries = 0;
  for (const auto& [name, bytes] : found) {
    std::string target = without_temporary_tail(name);
    const Files& owner = clean.outputs.count(target) ? clean.outputs : clean.descriptions;
    bool temporary = target != name && owner.count(target) > 0;
    if (!temporary) wrong += "stray file " + name + "; ";
    else if (!disk.killed()) wrong += "temporary " + name + " left after a failure; ";
    else if (owner.at(target).compare(0, bytes.size(), bytes) != 0) wrong += name + " is not a start of its file; ";
    temporaries += temporary ? 1 : 0;
  }
  if (temporaries > 1) wrong += "more than one temporary; ";
  return wrong;
}

// The file a failed call concerned, as the message must name it: the
// target of a temporary, the folder for the folder's flush.
std::string named_in_message(const FaultyDisk& disk) {
  const testing::JournalEntry& call = disk.journal()[*disk.fault_index()];
  if (call.op == DiskOp::kSyncDirectory) return "\"" + call.path.string() + "\"";
  // A folder is listed for the file about to be written, which the call before names.
  if (call.op == DiskOp::kList) return "\"" + disk.journal()[*disk.fault_index() - 1].path.filename().string() + "\"";
  return "\"" + without_temporary_tail(call.path.filename().string()) + "\"";
}

std::string message_faults(const Outcome& run, const FaultyDisk& disk, int number) {
  if (run.status != kExitRunTimeError) return "exit status " + std::to_string(run.status);
  std::string wrong;
  if (run.err.find(named_in_message(disk)) == std::string::npos) wrong += "does not name " + named_in_message(disk);
  if (run.err.find(".tmp") != std::string::npos) wrong += "names a temporary file; ";
  std::string system_line = "\nErrore di sistema " + std::to_string(number) + ": " + std::strerror(number) + "\n";
  if (run.err.find(system_line) == std::string::npos) wrong += "no line \"" + system_line + "\"; ";
  if (disk.open_files() != 0) wrong += std::to_string(disk.open_files()) + " file(s) left open; ";
  return wrong;
}

void seed(const fs::path& dir, const CleanRun& clean) {
  for (const std::string& name : kOutputs) testing::write_bytes(dir / name, altered(clean.outputs.at(name)));
}

// One operation in one kind of folder: each of its calls failed, then
// killed. The walks are separate tests so that they run side by side, and
// an operation with many calls is walked in parts of a few calls each, so
// that every test stays short on a busy machine.
struct FaultWalk {
  DiskOp op;
  bool seeded;
  int part = 0;  // of parts_of(op), each a run of consecutive calls
};

int parts_of(DiskOp op) {
  switch (op) {
    case DiskOp::kWrite: return 8;
    case DiskOp::kClose: return 3;
    case DiskOp::kCreate:
    case DiskOp::kSync:
    case DiskOp::kRename: return 2;
    default: return 1;
  }
}

void PrintTo(const FaultWalk& walk, std::ostream* os) {
  *os << testing::op_name(walk.op) << " part " << walk.part + 1 << (walk.seeded ? ", old files" : ", empty folder");
}

class RunFaultWalk : public ::testing::TestWithParam<FaultWalk> {};

TEST_P(RunFaultWalk, EveryFailedOrKilledCallLeavesEachFileOldOrNew) {
  const auto [op, seeded, part] = GetParam();
  const CleanRun clean = clean_run();
  ASSERT_EQ(clean.outputs.size(), kOutputs.size());
  const int calls = (seeded ? clean.seeded_calls : clean.calls).at(op);
  ASSERT_GT(calls, 0) << "a clean run never makes that call";
  SystemDisk real;
  testing::CaseFolders folders("256m");
  int faults = 0;
  const int first = calls * part / parts_of(op) + 1;
  const int last = calls * (part + 1) / parts_of(op);
  ASSERT_LE(first, last) << "fewer calls than parts";
  for (int call = first; call <= last; ++call) {
    for (bool kill : {false, true}) {
      SCOPED_TRACE(std::string(testing::op_name(op)) + " #" + std::to_string(call) + (kill ? " killed" : " failed"));
      const fs::path dir = folders.fresh();
      if (seeded) seed(dir, clean);
      int number = kill ? 0 : failure_number(op);
      Outcome run;
      std::string wrong;
      {
        FaultyDisk disk(real, DiskFault{op, call, number});
        run = run_on(disk, dir);
        ASSERT_TRUE(disk.fault_index().has_value()) << "the run never made that call";
        ASSERT_EQ(run.killed, kill);
        if (!kill) wrong += message_faults(run, disk, number);
        else if (!run.err.empty()) wrong += "a message after the kill: " + run.err;
        wrong += faults_in_folder(dir, disk, clean, seeded);
      }
      ++faults;
      Outcome next = run_on(real, dir);
      if (next.status != kExitNormal || files_in(dir) != clean.outputs)
        wrong += "the next run did not leave the six new files (status " + std::to_string(next.status) + ")";
      ASSERT_EQ(wrong, "") << run.err;
    }
  }
  RecordProperty("faults", faults);
}

// The operations only the authors' tool calls (the durable-order test checks
// that the run never does).
bool tool_only(DiskOp op) {
  return op == DiskOp::kRenameNew || op == DiskOp::kMakeDirectory;
}

// Every operation the run makes; a link is followed only where there is a
// file to replace, so only among old files.
std::vector<FaultWalk> every_walk() {
  std::vector<FaultWalk> walks;
  for (bool seeded : {true, false})
    for (DiskOp op : testing::kDiskOps)
      for (int part = 0; part < parts_of(op) && !tool_only(op) && (seeded || op != DiskOp::kResolve); ++part)
        walks.push_back({op, seeded, part});
  return walks;
}

std::string walk_name(const ::testing::TestParamInfo<FaultWalk>& info) {
  std::string name;
  for (char c : testing::op_name(info.param.op))
    if (std::isalnum(static_cast<unsigned char>(c))) name += c;
  if (parts_of(info.param.op) > 1) name += std::to_string(info.param.part + 1);
  return name + (info.param.seeded ? "_OldFiles" : "_EmptyFolder");
}

INSTANTIATE_TEST_SUITE_P(EachOperation, RunFaultWalk, ::testing::ValuesIn(every_walk()), walk_name);

// The order that makes a replacement durable: each of the six files the run
// leaves is written, flushed and closed before its rename, and the folder is
// flushed once after the last rename. The two descriptions, which the run
// deletes again, are never flushed.
TEST(RunFaults, FlushesEachOutputBeforeItsRenameAndTheFolderAfterTheLast) {
  const CleanRun clean = clean_run();
  std::map<std::string, std::vector<DiskOp>> calls_on;
  size_t last_rename = 0;
  size_t folder_flush = 0;
  for (size_t i = 0; i < clean.journal.size(); ++i) {
    const testing::JournalEntry& call = clean.journal[i];
    if (call.op == DiskOp::kSyncDirectory) folder_flush = i;
    if (call.op == DiskOp::kRename) last_rename = i;
    // Repeated writes or reads of one file count as one step.
    std::vector<DiskOp>& steps = calls_on[without_temporary_tail(call.path.filename().string())];
    if (steps.empty() || steps.back() != call.op) steps.push_back(call.op);
  }
  const std::vector<DiskOp> output = {DiskOp::kStatus, DiskOp::kCreate, DiskOp::kWrite, DiskOp::kSync, DiskOp::kClose,
                                      DiskOp::kRename};
  const std::vector<DiskOp> description = {DiskOp::kStatus,   DiskOp::kCreate, DiskOp::kWrite, DiskOp::kClose,
                                           DiskOp::kRename,   DiskOp::kOpenRead, DiskOp::kRead, DiskOp::kClose,
                                           DiskOp::kRemove};
  for (const std::string& name : kOutputs) EXPECT_EQ(calls_on[name], output) << name;
  for (const std::string& name : kDescriptions) EXPECT_EQ(calls_on[name], description) << name;
  EXPECT_EQ(clean.calls.at(DiskOp::kSyncDirectory), 1);
  for (DiskOp op : testing::kDiskOps) {
    if (!tool_only(op)) continue;
    EXPECT_EQ(clean.calls.at(op) + clean.seeded_calls.at(op), 0) << testing::op_name(op);
  }
  EXPECT_GT(folder_flush, last_rename);
}

}  // namespace
}  // namespace lorvena
