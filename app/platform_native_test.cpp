// The console program when its standard output or standard error cannot be
// written: the run still does its work, and the exit status says that what
// it had to show was not shown.
#include "app/platform_native.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <thread>

#include "app/form1.h"
#include "disk/system_disk.h"
#include "testing/captured_stream.h"
#include "testing/test_files.h"

namespace lorvena {
namespace {

namespace fs = std::filesystem;

constexpr const char* kSixFiles =
    "LORVENA PF_4316.dat|LORVENA PF_4316.sim|LORVENA PF_4316_note.txt|"
    "LORVENA PF_4316_rallentamenti.txt|LORVENA PF_4316_scheda_treno.txt|LORVENA PF_linea.dat";

// A stream whose every flush fails with ENOSPC.
class FullStream {
 public:
  FullStream() : file_(std::fopen("/dev/full", "w")) {}
  ~FullStream() {
    if (file_) std::fclose(file_);
  }
  FullStream(const FullStream&) = delete;
  FullStream& operator=(const FullStream&) = delete;
  std::FILE* stream() const { return file_; }

 private:
  std::FILE* file_;
};

TEST(ConsoleOutput, StatusSaysWhatCouldNotBeShown) {
  struct Case {
    const char* name;
    bool output_full;
    bool error_full;
    bool writable;  // else the run fails at its first file
    int status;
  };
  const Case cases[] = {
      {"everything shown", false, false, true, kExitNormal},
      {"Attendere lost, run completes", true, false, true, kExitNotShown},
      {"error message lost", false, true, false, kExitRunTimeError},
      {"both lost", true, true, false, kExitRunTimeError},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScratchDir dir;
    testing::CapturedStream out, err;
    FullStream full;
    ASSERT_NE(full.stream(), nullptr) << "cannot open /dev/full";
    fs::path program_dir = c.writable ? dir.path() : dir / "missing";
    NativePlatform platform(program_dir, c.output_full ? full.stream() : out.stream(),
                            c.error_full ? full.stream() : err.stream());
    SystemDisk disk;
    EXPECT_EQ(run_installer(platform, disk), c.status);
    EXPECT_EQ(testing::list_files(dir.path()), c.writable ? kSixFiles : "");
    if (!c.output_full) {
      EXPECT_EQ(out.text(), "Attendere\n");
    }
    if (!c.error_full && c.writable) {
      EXPECT_EQ(err.text(), c.output_full ? std::string(kNotShownNote) + "\n" : "");
    }
    if (!c.error_full && !c.writable) {
      EXPECT_NE(err.text(), "");
    }
  }
}

// Runs `program` with its standard output opened on `output` (or closed when
// empty) and its standard error on `error`; its exit status, or -1 when it
// did not end normally within half a minute (it is then killed).
int run_program(const fs::path& program, const std::string& output, const std::string& error = "/dev/null") {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (output.empty()) posix_spawn_file_actions_addclose(&actions, STDOUT_FILENO);
  else posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, output.c_str(), O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, error.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  std::string path = program.string();
  char* argv[] = {path.data(), nullptr};
  pid_t pid = 0;
  int spawned = posix_spawn(&pid, path.c_str(), &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return -1;
  int status = 0;
  for (int waited_ms = 0; waitpid(pid, &status, WNOHANG) == 0; waited_ms += 10) {
    if (waited_ms > 30000) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      return -1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::map<std::string, std::string> contents(const fs::path& dir) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::directory_iterator(dir))
    files[entry.path().filename().string()] = testing::read_bytes(entry.path());
  return files;
}

// With its standard output closed, a file the program opens may get its
// descriptor: the six files must still hold exactly what a normal run writes,
// and standard error carries the one line saying the messages were not shown.
TEST(ConsoleOutput, ProgramWithFullOrClosedOutputEndsNonZeroAndSaysSoOnStandardError) {
  const char* exe = std::getenv("LORVENA_PF_EXE");
  ASSERT_NE(exe, nullptr) << "LORVENA_PF_EXE is not set: run the tests through ctest";
  ScratchDir normal;
  fs::copy_file(exe, normal / "lorvena_pf");
  ASSERT_EQ(run_program(normal / "lorvena_pf", "/dev/null"), kExitNormal);
  for (const std::string& output : {std::string("/dev/full"), std::string()}) {
    SCOPED_TRACE(output.empty() ? "standard output closed" : "standard output on " + output);
    ScratchDir dir, said;
    fs::copy_file(exe, dir / "lorvena_pf");
    EXPECT_EQ(run_program(dir / "lorvena_pf", output, (said / "stderr").string()), kExitNotShown);
    EXPECT_EQ(testing::list_files(dir.path()), std::string(kSixFiles) + "|lorvena_pf");
    EXPECT_TRUE(contents(dir.path()) == contents(normal.path()));
    EXPECT_EQ(testing::read_bytes(said / "stderr"), std::string(kNotShownNote) + "\n");
  }
}

}  // namespace
}  // namespace lorvena
