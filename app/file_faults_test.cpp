// The whole run on the real disk against a file system that fails it: a
// program directory that cannot be written, a disk that fills up part way
// through a file, a file that cannot be put in its place. Whatever fails,
// each file is left with its old content, its complete new content or not at
// all, and no temporary file stays behind.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <vector>

#include "app/form1.h"
#include "app/platform_native.h"
#include "descriptions/dati_linea.h"
#include "descriptions/dati_treno.h"
#include "disk/system_disk.h"
#include "testing/captured_stream.h"
#include "testing/file_size_limit.h"
#include "testing/test_files.h"
#include "testing/tmpfs_mount.h"

namespace lorvena {
namespace {

namespace fs = std::filesystem;
using testing::read_bytes;
using testing::TmpfsMount;

// Every file the run writes, in the order it writes them.
const std::vector<std::string> kWriteOrder = {
    "LORVENA PF_linea.txt",          "LORVENA PF_4316-.txt",         "LORVENA PF_4316_note.txt",
    "LORVENA PF_4316_rallentamenti.txt", "LORVENA PF_4316_scheda_treno.txt", "LORVENA PF_linea.dat",
    "LORVENA PF_4316.sim",           "LORVENA PF_4316.dat"};

struct RunResult {
  int status;
  std::string err;
};

RunResult run_in(const fs::path& dir) {
  testing::CapturedStream out, err;
  NativePlatform platform(dir, out.stream(), err.stream());
  SystemDisk disk;
  int status = run_installer(platform, disk);
  return {status, err.text()};
}

// The complete content of every file the run writes, from a run that did
// not fail (the descriptions, which the run deletes, written on their own).
std::map<std::string, std::string> complete_files() {
  ScratchDir run, descriptions;
  EXPECT_EQ(run_in(run.path()).status, kExitNormal);
  SystemDisk disk;
  dati_linea(disk, descriptions.path(), "LORVENA PF");
  dati_treno(disk, descriptions.path(), "LORVENA PF", "4316");
  std::map<std::string, std::string> files;
  for (const ScratchDir* dir : {&run, &descriptions})
    for (const auto& entry : fs::directory_iterator(dir->path()))
      files[entry.path().filename().string()] = read_bytes(entry.path());
  EXPECT_EQ(files.size(), kWriteOrder.size());
  return files;
}

std::string old_content(const std::string& name) { return "contenuto precedente di " + name + "\r\n"; }

// Lays an old version of every file; one the disk has no room for stays absent.
void write_old_files(const fs::path& dir) {
  for (const std::string& name : kWriteOrder) {
    testing::write_bytes(dir / name, old_content(name));
    if (read_bytes(dir / name) != old_content(name)) fs::remove(dir / name);
  }
}

// Every file in `dir` that is neither a complete file of the run nor (when
// old files were laid) its old content: a temporary file, or one cut short.
std::string files_cut_or_stray(const fs::path& dir, const std::map<std::string, std::string>& complete,
                               bool old_laid) {
  std::string bad;
  for (const auto& entry : fs::directory_iterator(dir)) {
    std::string name = entry.path().filename().string();
    auto it = complete.find(name);
    std::string content = read_bytes(entry.path());
    bool whole = it != complete.end() && content == it->second;
    bool old = old_laid && it != complete.end() && content == old_content(name);
    if (!whole && !old) bad += name + " (" + std::to_string(content.size()) + " bytes) ";
  }
  return bad;
}

// The file whose writing failed, from the message the run ended with.
std::string failed_file(const std::string& message) {
  for (const std::string& name : kWriteOrder)
    if (message.find("\"" + name + "\"") != std::string::npos) return name;
  return "?";
}

// The player reads the file and the folder, what happened and what to do;
// the system's number and text come last, on their own line.
TEST(FileFaults, ReadOnlyDirectoryEndsTheRunAtTheFirstWriter) {
  ScratchDir dir;
  TmpfsMount read_only(dir.path(), "ro");
  if (!read_only.mounted()) GTEST_SKIP() << "cannot mount a read-only file system: " << read_only.why();
  RunResult run = run_in(dir.path());
  EXPECT_EQ(run.status, kExitRunTimeError);
  EXPECT_EQ(run.err, "Errore di run-time durante la scrittura del file \"LORVENA PF_linea.txt\" nella cartella \"" +
                         dir.path().string() +
                         "\".\nIl programma non ha il permesso di scrivere in questa cartella: spostalo in una "
                         "cartella tua e avvialo di nuovo.\nErrore di sistema 30: Read-only file system\n");
  EXPECT_EQ(testing::list_files(dir.path()), "");
}

TEST(FileFaults, FullDiskMessageSaysToFreeSpace) {
  ScratchDir dir;
  TmpfsMount disk(dir.path(), "size=4096");
  if (!disk.mounted()) GTEST_SKIP() << "cannot mount a small file system: " << disk.why();
  testing::write_bytes(dir / "filler", std::string(4096, 'x'));
  RunResult run = run_in(dir.path());
  EXPECT_EQ(run.status, kExitRunTimeError);
  EXPECT_EQ(run.err, "Errore di run-time durante la scrittura del file \"LORVENA PF_linea.txt\" nella cartella \"" +
                         dir.path().string() +
                         "\".\nIl disco è pieno: libera un po' di spazio e avvia di nuovo il programma.\n"
                         "Errore di sistema 28: No space left on device\n");
  EXPECT_EQ(testing::list_files(dir.path()), "filler");
}

// A file that cannot take its place (a folder holds its name): the run ends
// there, the folder and what it holds are untouched, no temporary stays.
TEST(FileFaults, RenameFailureLeavesTheTargetAndNoTemporary) {
  for (const std::string& name : {std::string("LORVENA PF_4316_note.txt"), std::string("LORVENA PF_4316.sim")}) {
    SCOPED_TRACE(name);
    ScratchDir dir;
    fs::create_directory(dir / name);
    testing::write_bytes(dir / name / "inside", "kept");
    RunResult run = run_in(dir.path());
    EXPECT_EQ(run.status, kExitRunTimeError);
    EXPECT_EQ(failed_file(run.err), name) << run.err;
    EXPECT_NE(run.err.find("\nErrore di sistema 21: Is a directory\n"), std::string::npos) << run.err;
    EXPECT_EQ(testing::read_bytes(dir / name / "inside"), "kept");
    for (const auto& entry : fs::directory_iterator(dir.path()))
      EXPECT_NE(entry.path().extension(), ".tmp") << entry.path();
  }
}

// Works wherever the tests run, as root too: the directory path names a file.
TEST(FileFaults, DirectoryThatIsAFileEndsTheRunAtTheFirstWriter) {
  ScratchDir dir;
  testing::write_bytes(dir / "lorvena", "not a directory");
  RunResult run = run_in(dir / "lorvena");
  EXPECT_EQ(run.status, kExitRunTimeError);
  EXPECT_EQ(failed_file(run.err), kWriteOrder.front()) << run.err;
  EXPECT_EQ(testing::list_files(dir.path()), "lorvena");
}

// A file system of a few pages: the run stops at whichever file no longer
// fits, with every file whole, old or absent.
TEST(FileFaults, FullDiskLeavesNoFileCutShort) {
  const std::map<std::string, std::string> complete = complete_files();
  std::set<std::string> failed;
  for (int pages : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12, 16, 100, 300, 490, 495, 500, 505, 510, 520, 600}) {
    for (bool old_laid : {false, true}) {
      ScratchDir dir;
      TmpfsMount disk(dir.path(), "size=" + std::to_string(pages * 4096));
      if (!disk.mounted()) GTEST_SKIP() << "cannot mount a small file system: " << disk.why();
      if (old_laid) write_old_files(dir.path());
      RunResult run = run_in(dir.path());
      SCOPED_TRACE(std::to_string(pages) + " pages" + (old_laid ? ", old files" : ""));
      EXPECT_TRUE(run.status == kExitNormal || run.status == kExitRunTimeError) << run.status;
      if (run.status == kExitRunTimeError) failed.insert(failed_file(run.err));
      EXPECT_EQ(files_cut_or_stray(dir.path(), complete, old_laid), "");
    }
  }
  // The sizes reach the descriptions, the documents and the compiled files.
  EXPECT_GE(failed.size(), 6u);
  EXPECT_EQ(failed.count("?"), 0u);
  EXPECT_EQ(failed.count(kWriteOrder.front()), 1u);
  EXPECT_EQ(failed.count("LORVENA PF_linea.dat"), 1u);
}

// The same fault with no mount needed: the first file of the run larger than
// the cap fails part way through its writing.
TEST(FileFaults, WriteFailingPartWayLeavesNoFileCutShort) {
  const std::map<std::string, std::string> complete = complete_files();
  std::set<size_t> caps = {0};
  for (const auto& [name, content] : complete) caps.insert(content.size() - 1);
  for (size_t cap : caps) {
    std::string expected = "?";
    for (const std::string& name : kWriteOrder)
      if (complete.at(name).size() > cap) {
        expected = name;
        break;
      }
    for (bool old_laid : {false, true}) {
      SCOPED_TRACE("cap " + std::to_string(cap) + (old_laid ? ", old files" : ""));
      ScratchDir dir;
      if (old_laid) write_old_files(dir.path());
      RunResult run{};
      {
        testing::ScopedFileSizeCap limit(cap);
        run = run_in(dir.path());
      }
      EXPECT_EQ(run.status, kExitRunTimeError);
      EXPECT_EQ(failed_file(run.err), expected) << run.err;
      EXPECT_EQ(files_cut_or_stray(dir.path(), complete, old_laid), "");
    }
  }
}

}  // namespace
}  // namespace lorvena
