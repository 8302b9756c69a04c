// The generic installer's run on a disk that fails each of its calls in
// turn: the run ends with the run-time message and its status, every file it
// leaves is whole (its new content, or a description the compile had not yet
// deleted), no temporary stays, and the next run installs everything.
#include "app/packaged_run.h"

#include <gtest/gtest.h>

#include <map>

#include "app/platform_native.h"
#include "disk/file_names.h"
#include "disk/system_disk.h"
#include "testing/captured_stream.h"
#include "testing/example_pair.h"
#include "testing/faulty_disk.h"
#include "testing/test_files.h"

namespace lorvena {
namespace {

namespace fs = std::filesystem;
using Files = std::map<std::string, std::string>;
using testing::DiskFault;
using testing::DiskOp;
using testing::FaultyDisk;

Files files_in(const fs::path& dir) {
  Files files;
  for (const auto& entry : fs::directory_iterator(dir))
    files[entry.path().filename().string()] = testing::read_bytes(entry.path());
  return files;
}

// A program file: some bytes standing for the image, then the example's payload.
PackagedScenario example() {
  const std::string name = testing::kExampleName, train = testing::kExampleTrain;
  return {name, train, testing::read_bytes(testing::examples_dir() / line_description_name(name)),
          testing::read_bytes(testing::examples_dir() / train_description_name(name, train)),
          {{"orario.txt", "Partenza 7:10\r\n"}, {notes_file_name(name, train), "Note\r\n"}}};
}

struct Outcome {
  int status;
  std::string err;
};

Outcome run_packaged(Disk& disk, const fs::path& dir) {
  testing::CapturedStream out, err;
  NativePlatform platform(dir, out.stream(), err.stream());
  int status = run_packaged_installer(platform, disk, dir / "program");
  return {status, err.text()};
}

TEST(PackagedRun, EachFailedDiskCallEndsTheRunWithItsMessageAndLeavesWholeFiles) {
  const PackagedScenario scenario = example();
  const std::string program = std::string(4096, '\x90') + payload_bytes(scenario);
  ScratchDir clean_dir;
  testing::write_bytes(clean_dir / "program", program);
  SystemDisk real;
  FaultyDisk counting(real);
  ASSERT_EQ(run_packaged(counting, clean_dir.path()).status, kExitNormal);
  const Files clean = files_in(clean_dir.path());
  ASSERT_EQ(clean.size(), 6u) << testing::list_files(clean_dir.path());
  const Files descriptions = {
      {line_description_name(scenario.name), scenario.line_description},
      {train_description_name(scenario.name, scenario.train), scenario.train_description}};

  int faults = 0;
  for (DiskOp op : testing::kDiskOps) {
    for (int call = 1; call <= counting.calls(op); ++call) {
      SCOPED_TRACE(std::string(testing::op_name(op)) + " call " + std::to_string(call));
      ScratchDir dir;
      testing::write_bytes(dir / "program", program);
      FaultyDisk failing(real, DiskFault{op, call, EIO});
      Outcome run = run_packaged(failing, dir.path());
      ++faults;
      EXPECT_EQ(run.status, kExitRunTimeError);
      EXPECT_NE(run.err.find("Errore di run-time"), std::string::npos) << run.err;
      for (const auto& [name, bytes] : files_in(dir.path())) {
        bool whole = (clean.contains(name) && clean.at(name) == bytes) ||
                     (descriptions.contains(name) && descriptions.at(name) == bytes);
        EXPECT_TRUE(whole) << name << " is neither whole nor new";
      }
      SystemDisk again;
      EXPECT_EQ(run_packaged(again, dir.path()).status, kExitNormal);
      EXPECT_TRUE(files_in(dir.path()) == clean) << testing::list_files(dir.path());
    }
  }
  EXPECT_GT(faults, 20);
}

}  // namespace
}  // namespace lorvena
